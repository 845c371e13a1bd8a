// The `pixmora` command. The window-less commands (--help, --version, --grab, --convert) run
// here, without loading the window part of the program, so that a conversion or grab in a
// script starts quickly. Everything else becomes the window program beside this executable,
// in this same process.
#include "app/OneShotCommands.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <string>
#include <unistd.h>

int main(int argc, char** argv)
{
    const px::CommandLineRequest request = px::ParseCommandLine(px::CommandLineArguments(argc, argv));
    if (const std::optional<int> exitCode = px::RunOneShotCommand(argc, argv, request))
        return *exitCode;

    char self[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0 || length >= ssize_t(sizeof self - 1)) {
        std::fprintf(stderr, "pixmora: cannot find the program folder: %s\n", std::strerror(errno));
        return 1;
    }
    std::string window(self, std::size_t(length));
    window = window.substr(0, window.rfind('/') + 1) + "pixmora-window";
    execv(window.c_str(), argv);
    std::fprintf(stderr, "pixmora: cannot start %s: %s\n", window.c_str(), std::strerror(errno));
    return 1;
}
