// The program block: command line, single instance, settings, splash and the main window.
#include "app/Startup.h"
#include "platform/ProgramInfo.h"

#include "app/CommandLine.h"
#include "app/OneShotCommands.h"
#include "app/ErrorReport.h"
#include "app/GuiSettings.h"
#include "app/MainForm.h"
#include "app/SplashForm.h"
#include "platform/Autostart.h"
#include "platform/InstanceChannel.h"
#include "platform/ProcessLauncher.h"
#include "platform/RegFile.h"
#include "platform/SoundPlayer.h"
#include "platform/X11Screen.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QMessageBox>
#include <QThread>
#include <QTimer>

#include <cstdio>
#include <memory>

namespace px {

namespace {

constexpr int kSplashPauseMs = 3500;

// Anything a command lets escape is shown with its class and message; the program goes on.
class TApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& error) {
            QMessageBox::critical(nullptr, kProgramTitle, ErrorReportText(error));
        } catch (...) {
            QMessageBox::critical(nullptr, kProgramTitle,
                                  ErrorReportText(QStringLiteral("unknown"), QStringLiteral("-")));
        }
        return false;
    }
};

// Reads the file --send-bitmap hands over; only a readable BMP file is sent.
std::optional<QByteArray> readBitmapFile(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    if (file.size() > qint64(kMaxPayload)) {
        *error = QStringLiteral("%1 is too large to send").arg(path);
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    QImage probe;
    if (!bytes.startsWith("BM") || !probe.loadFromData(bytes, "BMP")) {
        *error = QStringLiteral("%1 is not a valid BMP file; nothing was sent").arg(path);
        return std::nullopt;
    }
    return bytes;
}

std::unique_ptr<Screen> openScreen()
{
    auto x11 = std::make_unique<X11Screen>();
    if (x11->isOpen())
        return x11;
    // Without an X server (the offscreen platform) captures see an empty screen.
    return std::make_unique<FakeScreen>();
}

} // namespace

int RunPixmora(int argc, char** argv)
{
    const CommandLineRequest request = ParseCommandLine(CommandLineArguments(argc, argv));
    if (const std::optional<int> exitCode = RunOneShotCommand(argc, argv, request))
        return *exitCode;

    QByteArray bitmap;
    if (request.action == CommandAction::SendBitmap) {
        QString error;
        const auto bytes = readBitmapFile(request.file, &error);
        if (!bytes) {
            PrintLine(stderr, QStringLiteral("pixmora: ") + error);
            return 1;
        }
        bitmap = *bytes;
    }
    const std::optional<InstanceMessage> message = MessageForRunningInstance(request, bitmap);

    TApplication app(argc, argv);
    QApplication::setApplicationName(kProgramTitle);
    QApplication::setQuitOnLastWindowClosed(false);  // the tray keeps the program alive

    InstanceChannel channel;
    QString channelError;
    const auto role = channel.sendOrListen(message ? std::vector{*message} : std::vector<InstanceMessage>{},
                                           &channelError);
    if (role == InstanceChannel::Role::Forwarded)
        return 0;
    if (role == InstanceChannel::Role::Failed)
        PrintLine(stderr, QStringLiteral("pixmora: running without the single-instance channel: ") + channelError);

    Autostart autostart;
    autostart.consumeRunOnce();

    const QString registryPath = defaultRegistryPath();
    RegLoadResult loaded = loadRegistryFile(registryPath);

    std::unique_ptr<TSplashForm> splash;
    if (ReadIntroFlag(loaded.registry)) {
        splash = std::make_unique<TSplashForm>();
        splash->show();
        splash->repaint();
        QApplication::processEvents();
        QThread::msleep(kSplashPauseMs);
    }

    std::unique_ptr<Screen> screen = openScreen();
    std::unique_ptr<SoundPlayer> sound = makeSystemSoundPlayer();
    std::unique_ptr<ProcessLauncher> launcher = makeSystemProcessLauncher();

    MainFormServices services;
    services.registry = &loaded.registry;
    services.registryPath = registryPath;
    services.screen = screen.get();
    services.sound = sound.get();
    services.launcher = launcher.get();
    services.autostart = &autostart;
    services.executablePath = QCoreApplication::applicationFilePath();

    TMainForm form(services);
    // Only the numbers other programs may send are taken from the socket: the first-show
    // follow-up, for one, is the window's own business.
    QObject::connect(&channel, &InstanceChannel::messageReceived, &form, [&form](const InstanceMessage& m) {
        if (isKnownMessage(m.number))
            form.handleInstanceMessage(m);
    });
    form.show();
    splash.reset();

    if (!loaded.problem.isEmpty())
        QTimer::singleShot(0, &form, [&form, &loaded] {
            form.showMessage(form.Msg(QStringLiteral("showmsg_settings_moved_aside")) + loaded.problem
                             + QStringLiteral(" (") + loaded.movedAsideTo + QLatin1Char(')'));
        });
    // The first instance handles its own command line like a handed-over request.
    if (message && message->number != msg::ShowProgram)
        QTimer::singleShot(0, &form, [&form, m = *message] { form.handleInstanceMessage(m); });

    return app.exec();
}

} // namespace px
