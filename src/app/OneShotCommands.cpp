// The window-less commands: help, version, the one-shot grab and the file conversion.
#include "app/OneShotCommands.h"

#include "app/FileWriteSettings.h"
#include "app/ProgramOptions.h"
#include "capture/GrabCommand.h"
#include "files/GraphicConvert.h"
#include "files/PictureFiles.h"
#include "platform/RegFile.h"
#include "platform/Registry.h"
#include "platform/X11Screen.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <memory>
#include <vector>

namespace px {

QStringList CommandLineArguments(int argc, char** argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    return args;
}

void PrintLine(std::FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fputc('\n', stream);
}

namespace {

// The format settings the user stored, read without changing anything: a command-line grab
// leaves even an unreadable settings file where it is.
PictureWriteSettings StoredWriteSettings()
{
    RegParseResult stored = readRegistryFile(defaultRegistryPath());
    const Registry registry = stored.ok ? std::move(stored.registry) : Registry();
    PictureWriteSettings s = WriteSettingsOf(LoadOptions(registry).options);
    s.pngCompression = 1;  // screen content compresses well already at the fastest level
    return s;
}

int runGrab(int& argc, char** argv, const CommandLineRequest& request)
{
    QCoreApplication app(argc, argv);
    X11Screen screen;
    if (!screen.isOpen()) {
        PrintLine(stderr, QStringLiteral("pixmora: ") + screen.openError());
        return 1;
    }
    // One grab in a fresh process: the socket is quicker than setting up shared memory.
    screen.setSharedMemoryEnabled(false);
    const GrabResult result = RunGrabCommand(screen, request.grabTarget, request.grabDelayMs, request.file,
                                             StoredWriteSettings());
    if (!result.ok) {
        PrintLine(stderr, QStringLiteral("pixmora: ") + result.error);
        return 1;
    }
    return 0;
}

// --convert: no window, no single-instance check. Only a metafile source draws text, which
// needs a QGuiApplication; it gets the offscreen platform (no display is opened). Every other
// conversion runs without an application object, which keeps the process start short.
int runConvert(int argc, char** argv, const CommandLineRequest& request)
{
    std::vector<char*> arguments(argv, argv + argc);
    char platformOption[] = "-platform";
    char platformName[] = "offscreen";
    arguments.push_back(platformOption);
    arguments.push_back(platformName);
    arguments.push_back(nullptr);
    int argumentCount = argc + 2;
    std::unique_ptr<QGuiApplication> app;
    if (IsMetafilePath(request.file)) {
        // Qt's notes about the session (no runtime folder, fonts) would mix into the one line
        // this command prints; only its serious messages pass.
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
            if (type == QtCriticalMsg || type == QtFatalMsg)
                PrintLine(stderr, text);
        });
        app = std::make_unique<QGuiApplication>(argumentCount, arguments.data());
    }

    const GraphicConversion result = ConvertPictureFile(request.file, request.target);
    if (result.status != GraphicConversion::Status::Converted) {
        PrintLine(stderr, QStringLiteral("pixmora: ") + result.error);
        return 1;
    }
    return 0;
}

} // namespace

std::optional<int> RunOneShotCommand(int& argc, char** argv, const CommandLineRequest& request)
{
    switch (request.action) {
    case CommandAction::Error:
        PrintLine(stderr, QStringLiteral("pixmora: %1\nTry 'pixmora --help'.").arg(request.error));
        return 2;
    case CommandAction::Help:
        PrintLine(stdout, CommandLineHelpText());
        return 0;
    case CommandAction::Version:
        PrintLine(stdout, VersionText());
        return 0;
    case CommandAction::Grab:
        return runGrab(argc, argv, request);
    case CommandAction::Convert:
        return runConvert(argc, argv, request);
    default:
        return std::nullopt;
    }
}

} // namespace px
