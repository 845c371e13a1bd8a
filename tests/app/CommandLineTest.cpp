// Parsing the program's arguments and the messages a second start sends.
#include "app/CommandLine.h"

#include <gtest/gtest.h>

using namespace px;

namespace {

const QString kCwd = "/home/user/pics";

CommandLineRequest ok(CommandAction action, const QString& file = {},
                      GrabTarget target = GrabTarget::Desktop, int delay = 0)
{
    CommandLineRequest r;
    r.action = action;
    r.file = file;
    r.grabTarget = target;
    r.grabDelayMs = delay;
    return r;
}

} // namespace

TEST(CommandLine, AcceptedForms)
{
    using A = CommandAction;
    struct Case { QStringList args; CommandLineRequest expected; };
    const Case cases[] = {
        {{}, ok(A::Start)},
        {{"shot.png"}, ok(A::Open, "/home/user/pics/shot.png")},
        {{"../a/./b.jpg"}, ok(A::Open, "/home/user/a/b.jpg")},
        {{"/tmp/x.bmp"}, ok(A::Open, "/tmp/x.bmp")},
        {{"--", "-dash.png"}, ok(A::Open, "/home/user/pics/-dash.png")},
        {{"--capture"}, ok(A::Capture)},
        {{"--show"}, ok(A::Show)},
        {{"--help"}, ok(A::Help)},
        {{"--version"}, ok(A::Version)},
        {{"--send-bitmap", "in.bmp"}, ok(A::SendBitmap, "/home/user/pics/in.bmp")},
        {{"--send-bitmap=/tmp/in.bmp"}, ok(A::SendBitmap, "/tmp/in.bmp")},
        {{"--grab", "desktop", "--output", "x.png"}, ok(A::Grab, "/home/user/pics/x.png")},
        {{"--output", "/tmp/w.bmp", "--grab", "window", "--delay", "500"},
         ok(A::Grab, "/tmp/w.bmp", GrabTarget::Window, 500)},
        {{"--grab=window", "--delay=0", "--output=w.bmp"},
         ok(A::Grab, "/home/user/pics/w.bmp", GrabTarget::Window, 0)},
        {{"--grab", "desktop", "--delay", "600000", "--output", "x.png"},
         ok(A::Grab, "/home/user/pics/x.png", GrabTarget::Desktop, 600000)},
    };
    for (const Case& c : cases) {
        const CommandLineRequest r = ParseCommandLine(c.args, kCwd);
        EXPECT_EQ(r, c.expected) << c.args.join(' ').toStdString() << " -> " << r.error.toStdString();
    }
}

TEST(CommandLine, ConvertTakesSourceAndTargetBothMadeAbsolute)
{
    struct Case { QStringList args; QString source, target; };
    const Case cases[] = {
        {{"--convert", "a.bmp", "b.jpg"}, "/home/user/pics/a.bmp", "/home/user/pics/b.jpg"},
        {{"--convert=../a.PNG", "/tmp/out/b.gif"}, "/home/user/a.PNG", "/tmp/out/b.gif"},
        {{"--convert", "a.bmp", "--", "-b.jpg"}, "/home/user/pics/a.bmp", "/home/user/pics/-b.jpg"},
        {{"--convert", "x/./a.ico", "a.ico"}, "/home/user/pics/x/a.ico", "/home/user/pics/a.ico"},
    };
    for (const Case& c : cases) {
        const CommandLineRequest r = ParseCommandLine(c.args, kCwd);
        CommandLineRequest expected;
        expected.action = CommandAction::Convert;
        expected.file = c.source;
        expected.target = c.target;
        EXPECT_EQ(r, expected) << c.args.join(' ').toStdString() << " -> " << r.error.toStdString();
    }
}

TEST(CommandLine, MistakesGiveOneLineOfText)
{
    const QStringList cases[] = {
        {"--frobnicate"},
        {"-x"},
        {"--capture=yes"},
        {"--send-bitmap"},
        {"--send-bitmap", "--capture"},
        {"--send-bitmap="},
        {"--grab"},
        {"--grab", "screen", "--output", "x.png"},
        {"--grab", "desktop"},
        {"--grab", "desktop", "--output"},
        {"--grab", "desktop", "--delay", "-5", "--output", "x.png"},
        {"--grab", "desktop", "--delay", "soon", "--output", "x.png"},
        {"--grab", "desktop", "--delay", "+5", "--output", "x.png"},
        {"--grab", "desktop", "--delay", "600001", "--output", "x.png"},
        {"--grab", "desktop", "--delay", "99999999999", "--output", "x.png"},
        {"--grab", "desktop", "--delay", "1", "--delay", "2", "--output", "x.png"},
        {"--grab", "desktop", "--output", "a.png", "--output", "b.png"},
        {"--grab", "desktop", "--output", "a.png", "extra.png"},
        {"--delay", "100"},
        {"--output", "x.png"},
        {"a.png", "b.png"},
        {"a.png", "--capture"},
        {"--capture", "--show"},
        {"--show", "--show"},
        {"--help", "--version"},
        {""},
        {"--convert"},
        {"--convert", "a.bmp"},
        {"--convert=a.bmp"},
        {"--convert", "a.bmp", "b.jpg", "c.png"},
        {"--convert", "a.bmp", "b.jpg", "--output", "c.png"},
        {"--convert", "a.bmp", "b.jpg", "--capture"},
        {"--convert", "a.bmp", "--convert", "b.bmp", "c.jpg"},
        {"--convert", "a.bmp", ""},
        {"--convert", "", "b.jpg"},
    };
    for (const QStringList& args : cases) {
        const CommandLineRequest r = ParseCommandLine(args, kCwd);
        EXPECT_EQ(r.action, CommandAction::Error) << args.join(' ').toStdString();
        EXPECT_FALSE(r.error.isEmpty()) << args.join(' ').toStdString();
        EXPECT_FALSE(r.error.contains('\n')) << r.error.toStdString();
    }
}

TEST(CommandLine, ASecondStartHandsItsRequestOver)
{
    const QByteArray bmp("BM\x10\0\0\0", 6);
    struct Case { QStringList args; std::optional<InstanceMessage> expected; };
    const Case cases[] = {
        {{}, InstanceMessage{0x806E, 0, {}}},
        {{"--show"}, InstanceMessage{0x806E, 0, {}}},
        {{"--capture"}, InstanceMessage{0x8067, 0, {}}},
        {{"bild ü.png"}, InstanceMessage{0x8066, 0, QString("/home/user/pics/bild ü.png").toUtf8()}},
        {{"--send-bitmap", "a.bmp"}, InstanceMessage{0x004A, 1, bmp}},
        {{"--grab", "desktop", "--output", "x.png"}, std::nullopt},
        {{"--convert", "a.bmp", "b.jpg"}, std::nullopt},
        {{"--help"}, std::nullopt},
        {{"--version"}, std::nullopt},
        {{"--bogus"}, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MessageForRunningInstance(ParseCommandLine(c.args, kCwd), bmp), c.expected)
            << c.args.join(' ').toStdString();
}

TEST(CommandLine, HelpListsEveryFormAndVersionNamesTheBuild)
{
    const QString help = CommandLineHelpText();
    for (const char* form : {"pixmora [FILE]", "--capture", "--show", "--send-bitmap", "--grab",
                             "desktop|window", "--delay", "--output", "--convert SOURCE TARGET", "--help",
                             "--version"})
        EXPECT_TRUE(help.contains(form)) << form;
    EXPECT_TRUE(VersionText().startsWith("Pixmora 5.0")) << VersionText().toStdString();
    EXPECT_TRUE(VersionText().contains("5.0.98.31")) << VersionText().toStdString();
}
