// The `pixmora` command. The window-less commands (--help, --version, --grab, --convert) run
// here, without loading the window part of the program, so that a conversion or grab in a
// script starts quickly. Everything else becomes the window program beside this executable,
// in this same process.
#include "app/OneShotCommands.h"
#include "platform/ProgramFolder.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <unistd.h>

int main(int argc, char** argv)
{
    const px::CommandLineRequest request = px::ParseCommandLine(px::CommandLineArguments(argc, argv));
    if (const std::optional<int> exitCode = px::RunOneShotCommand(argc, argv, request))
        return *exitCode;

    const QString window = px::programFile(QStringLiteral("pixmora-window"));
    execv(QFile::encodeName(window).constData(), argv);
    const int reason = errno;
    px::PrintLine(stderr, QStringLiteral("pixmora: cannot start %1: %2")
                              .arg(window, QString::fromLocal8Bit(std::strerror(reason))));
    return 1;
}
