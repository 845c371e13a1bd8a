#pragma once
// Running the real program for end-to-end tests: a private home (settings, runtime folder),
// the running main window, closing it as a window manager does, and finding the test pattern
// shown shifted inside a window.
#include "XTestEnv.h"

#include "app/ProgramOptions.h"
#include "platform/RegFile.h"
#include "platform/Registry.h"
#include "platform/X11Screen.h"

#include <QDeadlineTimer>
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QThread>
#include <QPoint>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>
#include <map>
#include <optional>
#include <string>

namespace px::xtest {

constexpr QRect kScreen(0, 0, 1920, 1080);
inline const QString kProgram = QStringLiteral(PIXMORA_PROGRAM);

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
    void writeOptions(const std::map<QString, qint32>& values, const std::map<QString, QString>& texts = {}) const
    {
        Registry reg;
        for (const auto& [name, value] : values)
            reg.writeInteger(optionsKey(), name, value);
        for (const auto& [name, text] : texts)
            reg.writeString(optionsKey(), name, text);
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

// Hands the running program a piece of the test picture from far away on the pattern (so that
// it is found only where a window shows it) with "--send-bitmap". What went wrong, or "".
inline QString sendPatternPiece(const ProgramHome& home)
{
    const QString bmp = home.dir.filePath(QStringLiteral("piece.bmp"));
    if (!xtest::patternImage(QRect(2000, 1500, 300, 200)).save(bmp, "BMP"))
        return QStringLiteral("cannot write ") + bmp;
    const xtest::RunResult sent = home.runPixmora({QStringLiteral("--send-bitmap"), bmp});
    if (sent.exitCode != 0)
        return QStringLiteral("--send-bitmap failed: ") + QString::fromLocal8Bit(sent.err);
    return QString();
}

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
inline void sendDeleteWindow(std::uint32_t window)
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
inline std::optional<QPoint> findShiftedPattern(const QImage& screen, const QRect& area, int block = 48)
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
inline std::optional<QPoint> waitForShiftedPattern(std::uint32_t window, int timeoutMs = 15000)
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

} // namespace px::xtest
