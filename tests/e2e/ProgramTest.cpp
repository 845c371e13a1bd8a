// The real program on the fixture's X server: one-shot grabs from the command line, the
// single instance, the desktop capture shown in the window, bitmaps handed over, and exit.
#include "ProgramHarness.h"
#include "XTestEnv.h"

#include "app/ProgramOptions.h"
#include "files/PictureFiles.h"
#include "platform/RegFile.h"
#include "platform/Registry.h"
#include "platform/X11Screen.h"

#include <QBuffer>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <map>

using namespace px;

namespace {

using namespace px::xtest;


class ProgramTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        const QString err = xtest::useTestDisplay();
        ASSERT_TRUE(err.isEmpty()) << err.toStdString();
    }
    ProgramHome home;
};

TEST_F(ProgramTest, GrabCommand_WritesTheScreenAsBmpAndPng)
{
    xtest::PatternWindow pattern(kScreen);
    ASSERT_TRUE(pattern.isShown()) << pattern.error().toStdString();

    const auto xwd = xtest::run(QStringLiteral("xwd"), {QStringLiteral("-root"), QStringLiteral("-silent")});
    ASSERT_EQ(xwd.exitCode, 0);
    const QImage xwdImage = xtest::decodeXwd(xwd.out);
    ASSERT_EQ(xwdImage.size(), kScreen.size());

    for (const char* ext : {"bmp", "png"}) {
        const QString out = home.dir.filePath(QStringLiteral("shot.") + QLatin1String(ext));
        const auto r = home.runPixmora({QStringLiteral("--grab"), QStringLiteral("desktop"), QStringLiteral("--output"), out});
        ASSERT_EQ(r.exitCode, 0) << ext << ": " << r.err.toStdString();
        const QImage written(out);
        ASSERT_EQ(written.size(), kScreen.size()) << ext;
        const QImage rgb = written.convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(xtest::comparePattern(rgb, {0, 0}, kScreen).count, 0) << ext;
        EXPECT_EQ(rgb, xwdImage.convertToFormat(QImage::Format_RGB32)) << ext;
    }
    // The other types by their extension, with the stored (here: default) format settings.
    for (const char* ext : {"jpg", "gif", "tif", "pxg"}) {
        const QString out = home.dir.filePath(QStringLiteral("shot.") + QLatin1String(ext));
        const auto r = home.runPixmora({QStringLiteral("--grab"), QStringLiteral("desktop"), QStringLiteral("--output"), out});
        ASSERT_EQ(r.exitCode, 0) << ext << ": " << r.err.toStdString();
        const PictureReadResult back = ReadPictureFile(out);
        EXPECT_TRUE(back.error.isEmpty()) << ext << ": " << back.error.toStdString();
        EXPECT_EQ(back.image.size(), kScreen.size()) << ext;
    }
}

TEST_F(ProgramTest, GrabCommand_FailsWithAReasonAndWritesNothing)
{
    struct Case {
        QStringList args;
        QString mustNotExist;
    };
    const QString missingDir = home.dir.filePath(QStringLiteral("no/such/folder/x.png"));
    const QString badExt = home.dir.filePath(QStringLiteral("x.xyz"));
    for (const Case& c : {Case{{QStringLiteral("--grab"), QStringLiteral("desktop"), QStringLiteral("--output"), missingDir}, missingDir},
                          Case{{QStringLiteral("--grab"), QStringLiteral("desktop"), QStringLiteral("--output"), badExt}, badExt},
                          Case{{QStringLiteral("--grab"), QStringLiteral("screen"), QStringLiteral("--output"), badExt}, badExt}}) {
        const auto r = home.runPixmora(c.args);
        EXPECT_NE(r.exitCode, 0) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.startsWith("pixmora: ")) << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(c.mustNotExist));
    }
}

TEST_F(ProgramTest, SecondStart_HandsOverAndEnds)
{
    RunningPixmora first(home);
    const std::uint32_t window = first.waitForWindow();
    ASSERT_NE(window, 0u);

    const auto second = home.runPixmora({QStringLiteral("--show")}, 10000);
    EXPECT_EQ(second.exitCode, 0) << second.err.toStdString();
    EXPECT_TRUE(first.isRunning()) << first.output();
    const auto windows = xtest::run(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                                                 QStringLiteral("--name"), QStringLiteral("^Pixmora 5.0$")});
    EXPECT_EQ(windows.out.trimmed().split('\n').size(), 1);
}

TEST_F(ProgramTest, DesktopCapture_ShowsTheScreenAtFullSizeInTheWindow)
{
    home.writeOptions({{QStringLiteral("ScanTool"), 5}, {QStringLiteral("ScanSound"), 0}, {QStringLiteral("EndDlg"), 0}});
    RunningPixmora program(home);
    const std::uint32_t window = program.waitForWindow();
    ASSERT_NE(window, 0u);

    xtest::PatternWindow pattern(kScreen);
    ASSERT_TRUE(pattern.isShown()) << pattern.error().toStdString();
    const auto capture = home.runPixmora({QStringLiteral("--capture")});
    ASSERT_EQ(capture.exitCode, 0) << capture.err.toStdString();

    // The window comes back showing the captured screen 1:1 from its top-left corner.
    const std::optional<QPoint> offset = waitForShiftedPattern(window);
    ASSERT_TRUE(offset.has_value()) << "the captured screen never appeared in the window";
    X11Screen screen;
    const auto info = screen.windowInfo(window);
    ASSERT_TRUE(info.has_value());
    EXPECT_TRUE(info->frame.contains(*offset)) << offset->x() << "," << offset->y();
}

TEST_F(ProgramTest, DesktopCapture_SavesCopiesAndHandsThePictureToTheEditor)
{
    const QString shots = home.dir.filePath(QStringLiteral("shots"));
    ASSERT_TRUE(QDir().mkpath(shots));
    // The "editor" records its arguments and copies the file it was handed.
    const QString received = home.dir.filePath(QStringLiteral("received.bmp"));
    const QString arguments = home.dir.filePath(QStringLiteral("arguments"));
    const QString editor = home.dir.filePath(QStringLiteral("recording editor.sh"));
    {
        QFile script(editor);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(QStringLiteral("#!/bin/sh\necho \"$#\" > '%1.tmp'\ncp \"$1\" '%2'\nmv '%1.tmp' '%1'\n")
                         .arg(arguments, received).toUtf8());
    }
    QFile::setPermissions(editor, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    home.writeOptions({{QStringLiteral("ScanTool"), 5}, {QStringLiteral("ScanSound"), 0}, {QStringLiteral("EndDlg"), 0},
                       {QStringLiteral("PersSave"), 1}, {QStringLiteral("FileTyp"), 8}, {QStringLiteral("ScanToClipboard"), 1},
                       {QStringLiteral("ExtGrafikEditor"), 1}, {QStringLiteral("PXVisAScan"), 1}, {QStringLiteral("SaveHist"), 1}},
                      {{QStringLiteral("OutDir"), shots}, {QStringLiteral("FileName"), QStringLiteral("Scan")},
                       {QStringLiteral("ExtGrEdtPath"), editor}});
    xtest::PatternWindow pattern(kScreen);
    ASSERT_TRUE(pattern.isShown()) << pattern.error().toStdString();
    RunningPixmora program(home);
    const std::uint32_t window = program.waitForWindow();
    ASSERT_NE(window, 0u);
    const auto capture = home.runPixmora({QStringLiteral("--capture")});
    ASSERT_EQ(capture.exitCode, 0) << capture.err.toStdString();

    const QString saved = shots + QStringLiteral("/Scan1.png");
    const QDeadlineTimer deadline(15000);
    while (!deadline.hasExpired() && !(QFile::exists(saved) && QFile::exists(arguments)))
        QThread::msleep(50);
    QImage picture;
    ASSERT_TRUE(picture.load(saved, "PNG")) << program.output();
    picture = picture.convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(picture.size(), kScreen.size());
    // The program hid itself before grabbing: a corner far from its window shows the pattern.
    for (const QPoint p : {QPoint(1900, 1060), QPoint(1500, 900), QPoint(1919, 1079)})
        EXPECT_EQ(picture.pixel(p), patternPixel(p.x(), p.y())) << p.x() << "," << p.y();

    // The editor got exactly one argument, a file holding the picture.
    QFile argumentFile(arguments);
    ASSERT_TRUE(argumentFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(argumentFile.readAll().trimmed(), QByteArray("1"));
    EXPECT_EQ(QImage(received, "BMP").convertToFormat(QImage::Format_RGB32), picture);

    // Another program reads the picture from the clipboard.
    const auto out = run(QStringLiteral("xclip"), {QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-t"),
                                                   QStringLiteral("image/png"), QStringLiteral("-o")});
    QImage copied;
    ASSERT_TRUE(out.exitCode == 0 && copied.loadFromData(out.out, "PNG")) << out.err.toStdString();
    EXPECT_EQ(copied.convertToFormat(QImage::Format_RGB32), picture);

    // At exit the file written heads the stored recent-files list.
    sendDeleteWindow(window);
    ASSERT_TRUE(program.waitForExit());
    const RegLoadResult stored = loadRegistryFile(home.registryPath());
    EXPECT_EQ(stored.registry.readString(kProgramKey + QStringLiteral("\\GUI\\Recent"), QStringLiteral("History0")),
              std::optional<QString>(saved));
}

TEST_F(ProgramTest, SendBitmap_RefusesNonBitmapsAndShowsBitmaps)
{
    home.writeOptions({{QStringLiteral("EndDlg"), 0}});
    RunningPixmora program(home);
    const std::uint32_t window = program.waitForWindow();
    ASSERT_NE(window, 0u);

    const QString junk = home.dir.filePath(QStringLiteral("junk.bmp"));
    {
        QFile f(junk);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("BM\x10\x00 truncated");
    }
    const auto refused = home.runPixmora({QStringLiteral("--send-bitmap"), junk});
    EXPECT_NE(refused.exitCode, 0);
    EXPECT_TRUE(refused.err.contains("not a valid BMP")) << refused.err.toStdString();

    const QString sent = sendPatternPiece(home);
    ASSERT_TRUE(sent.isEmpty()) << sent.toStdString();
    EXPECT_TRUE(waitForShiftedPattern(window).has_value()) << "the bitmap never appeared in the window";
    EXPECT_TRUE(program.isRunning()) << program.output();
}

TEST_F(ProgramTest, Clipboard_PastesWhatOtherProgramsCopyAndCopiesForThem)
{
    home.writeOptions({{QStringLiteral("EndDlg"), 0}});
    RunningPixmora program(home);
    const std::uint32_t window = program.waitForWindow();
    ASSERT_NE(window, 0u);

    const QImage piece = patternImage(QRect(2200, 1700, 240, 160));
    const QString png = home.dir.filePath(QStringLiteral("piece.png"));
    ASSERT_TRUE(piece.save(png, "PNG"));
    const auto put = run(QStringLiteral("xclip"), {QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-t"),
                                                   QStringLiteral("image/png"), QStringLiteral("-i"), png});
    ASSERT_EQ(put.exitCode, 0) << put.err.toStdString();

    // Ctrl+V in Pixmora shows the other program's picture.
    const auto paste = run(QStringLiteral("xdotool"), {QStringLiteral("windowactivate"), QStringLiteral("--sync"),
                                                       QString::number(window), QStringLiteral("key"), QStringLiteral("ctrl+v")});
    ASSERT_EQ(paste.exitCode, 0) << paste.err.toStdString();
    ASSERT_TRUE(waitForShiftedPattern(window).has_value()) << "the pasted picture never appeared";

    // Ctrl+C hands it back: another program reads the same pixels as PNG.
    run(QStringLiteral("xclip"), {QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-i"),
                                  QStringLiteral("/dev/null")});
    const auto copy = run(QStringLiteral("xdotool"), {QStringLiteral("windowactivate"), QStringLiteral("--sync"),
                                                      QString::number(window), QStringLiteral("key"), QStringLiteral("ctrl+c")});
    ASSERT_EQ(copy.exitCode, 0) << copy.err.toStdString();
    QImage copied;
    const QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired()) {
        const auto out = run(QStringLiteral("xclip"), {QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-t"),
                                                       QStringLiteral("image/png"), QStringLiteral("-o")});
        if (out.exitCode == 0 && copied.loadFromData(out.out, "PNG"))
            break;
        QThread::msleep(100);
    }
    EXPECT_EQ(copied.convertToFormat(QImage::Format_RGB32), piece);
}

TEST_F(ProgramTest, Exit_WritesEveryOptionToTheRegistryFile)
{
    home.writeOptions({{QStringLiteral("EndDlg"), 0}, {QStringLiteral("ScanDelay"), 400}});
    RunningPixmora program(home);
    const std::uint32_t window = program.waitForWindow();
    ASSERT_NE(window, 0u);
    sendDeleteWindow(window);
    ASSERT_TRUE(program.waitForExit());
    EXPECT_EQ(program.process.exitCode(), 0);

    const RegLoadResult saved = loadRegistryFile(home.registryPath());
    ASSERT_TRUE(saved.problem.isEmpty()) << saved.problem.toStdString();
    for (const OptionRow& row : OptionTable())
        EXPECT_TRUE(saved.registry.value(optionsKey(), QString::fromLatin1(row.name)).has_value()) << row.name;
    EXPECT_EQ(saved.registry.readInteger(optionsKey(), QStringLiteral("ScanDelay")), 400);
}

TEST_F(ProgramTest, Exit_AnsweredNo_KeepsTheProgramRunning)
{
    RunningPixmora program(home);
    const std::uint32_t window = program.waitForWindow();
    ASSERT_NE(window, 0u);
    sendDeleteWindow(window);
    const std::uint32_t question = program.waitForWindow(QStringLiteral("^Bestätigung$"));
    ASSERT_NE(question, 0u) << "no confirmation was asked";
    const auto key = xtest::run(QStringLiteral("xdotool"),
                                {QStringLiteral("windowactivate"), QStringLiteral("--sync"), QString::number(question),
                                 QStringLiteral("key"), QStringLiteral("Escape")});
    ASSERT_EQ(key.exitCode, 0) << key.err.toStdString();
    EXPECT_FALSE(program.waitForExit(1500));
    EXPECT_TRUE(program.isRunning());
    EXPECT_FALSE(QFile::exists(home.registryPath()));
}

} // namespace
