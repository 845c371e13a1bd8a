// The real program on the fixture's X server: one-shot grabs from the command line, the
// single instance, the desktop capture shown in the window, bitmaps handed over, and exit.
#include "XTestEnv.h"

#include "app/ProgramOptions.h"
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

constexpr QRect kScreen(0, 0, 1920, 1080);
const QString kProgram = QStringLiteral(PIXMORA_PROGRAM);

// A private home for one program run: settings, runtime folder (socket) and data.
class ProgramHome {
public:
    ProgramHome()
    {
        for (const char* sub : {"config", "runtime", "data", "cache"})
            QDir().mkpath(dir.filePath(QString::fromLatin1(sub)));
        QFile::setPermissions(dir.filePath(QStringLiteral("runtime")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), xtest::fixtureValue(QStringLiteral("DISPLAY")));
        env.insert(QStringLiteral("HOME"), dir.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir.filePath(QStringLiteral("runtime")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), dir.filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("XDG_CACHE_HOME"), dir.filePath(QStringLiteral("cache")));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        return env;
    }
    QString registryPath() const { return dir.filePath(QStringLiteral("config/Orlek/Pixmora/5.0/registry.reg")); }
    void writeOptions(const std::map<QString, qint32>& values) const
    {
        Registry reg;
        for (const auto& [name, value] : values)
            reg.writeInteger(optionsKey(), name, value);
        ASSERT_TRUE(saveRegistryFile(reg, registryPath()));
    }
    xtest::RunResult runPixmora(const QStringList& args, int timeoutMs = 15000) const
    {
        QProcess p;
        p.setProcessEnvironment(environment());
        p.start(kProgram, args);
        xtest::RunResult r;
        if (!p.waitForFinished(timeoutMs)) {
            p.kill();
            p.waitForFinished();
            return r;
        }
        r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.out = p.readAllStandardOutput();
        r.err = p.readAllStandardError();
        return r;
    }

    QTemporaryDir dir;
};

// The running main window, found by its title.
class RunningPixmora {
public:
    explicit RunningPixmora(const ProgramHome& home)
    {
        process.setProcessEnvironment(home.environment());
        process.start(kProgram, {});
        process.waitForStarted();
    }
    ~RunningPixmora()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(5000);
        }
    }
    // The main window's id once it is mapped, 0 after the timeout.
    std::uint32_t waitForWindow(const QString& title = QStringLiteral("^Pixmora 5.0$"), int timeoutMs = 15000)
    {
        const QDeadlineTimer deadline(timeoutMs);
        while (!deadline.hasExpired()) {
            const auto r = xtest::run(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                                                   QStringLiteral("--name"), title});
            const QList<QByteArray> ids = r.out.trimmed().split('\n');
            if (r.exitCode == 0 && !ids.isEmpty() && !ids.first().isEmpty())
                return ids.first().toUInt();
            QThread::msleep(50);
        }
        return 0;
    }
    bool waitForExit(int timeoutMs = 15000) { return process.waitForFinished(timeoutMs); }
    bool isRunning() const { return process.state() == QProcess::Running; }
    // What the program printed, for failure messages.
    std::string output()
    {
        return (process.readAllStandardError() + process.readAllStandardOutput()).toStdString()
            + " (exit " + std::to_string(process.exitCode()) + ", status " + std::to_string(int(process.exitStatus()))
            + ", error " + process.errorString().toStdString() + ")";
    }

    QProcess process;
};

// Asks a window to close the way a window manager's close button does.
void sendDeleteWindow(std::uint32_t window)
{
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    ASSERT_FALSE(xcb_connection_has_error(c));
    auto atom = [c](const char* name) {
        xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(strlen(name)), name), nullptr);
        const xcb_atom_t a = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(r);
        return a;
    };
    xcb_client_message_event_t ev{};
    ev.response_type = XCB_CLIENT_MESSAGE;
    ev.format = 32;
    ev.window = window;
    ev.type = atom("WM_PROTOCOLS");
    ev.data.data32[0] = atom("WM_DELETE_WINDOW");
    ev.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(c, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&ev));
    xcb_flush(c);
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    xcb_disconnect(c);
}

// Looks in area of the screen for the test picture shown at an offset other than none: the
// screen point p shows patternPixel(p - offset) over a whole block. Returns the offset.
std::optional<QPoint> findShiftedPattern(const QImage& screen, const QRect& area, int block = 48)
{
    for (int y = area.top(); y + block <= area.bottom(); y += block / 2) {
        for (int x = area.left(); x + block <= area.right(); x += block / 2) {
            const QRgb c = screen.pixel(x, y);
            const int px = qRed(c) | ((qBlue(c) & 15) << 8);
            const int py = qGreen(c) | ((qBlue(c) >> 4) << 8);
            const QPoint offset(x - px, y - py);
            if (offset.isNull())
                continue;
            bool all = true;
            for (int dy = 0; dy < block && all; ++dy)
                for (int dx = 0; dx < block && all; ++dx)
                    all = (screen.pixel(x + dx, y + dy) & 0xffffff)
                        == (xtest::patternPixel(x + dx - offset.x(), y + dy - offset.y()) & 0xffffff);
            if (all)
                return offset;
        }
    }
    return std::nullopt;
}

// Polls the screen until the window shows the test picture shifted; the offset or nothing.
std::optional<QPoint> waitForShiftedPattern(std::uint32_t window, int timeoutMs = 15000)
{
    X11Screen screen;
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        if (const auto info = screen.windowInfo(window)) {
            const QImage shot = screen.grab(kScreen);
            if (const auto offset = findShiftedPattern(shot, info->frame.intersected(kScreen)))
                return offset;
        }
        QThread::msleep(100);
    }
    return std::nullopt;
}

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

    // A piece of the test picture from far away on the pattern, so that it is found only
    // where the window shows it.
    QImage piece(300, 200, QImage::Format_RGB32);
    for (int y = 0; y < piece.height(); ++y)
        for (int x = 0; x < piece.width(); ++x)
            piece.setPixel(x, y, xtest::patternPixel(x + 2000, y + 1500));
    const QString bmp = home.dir.filePath(QStringLiteral("piece.bmp"));
    ASSERT_TRUE(piece.save(bmp, "BMP"));
    const auto sent = home.runPixmora({QStringLiteral("--send-bitmap"), bmp});
    ASSERT_EQ(sent.exitCode, 0) << sent.err.toStdString();
    EXPECT_TRUE(waitForShiftedPattern(window).has_value()) << "the bitmap never appeared in the window";
    EXPECT_TRUE(program.isRunning()) << program.output();
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
