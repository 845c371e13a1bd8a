#pragma once
// The commands that run without any window and end at once: --help, --version, --grab and
// --convert, and the report of a malformed command line. They live apart from the window
// part of the program so that the `pixmora` executable can run them without loading it.
#include "app/CommandLine.h"

#include <QString>
#include <QStringList>
#include <cstdio>
#include <optional>

namespace px {

// The program's arguments without the program name.
QStringList CommandLineArguments(int argc, char** argv);

// One line on a standard stream, in the locale's encoding.
void PrintLine(std::FILE* stream, const QString& text);

// Runs the request when it is one of the commands above and returns the exit status;
// nullopt for every request the window part handles.
std::optional<int> RunOneShotCommand(int& argc, char** argv, const CommandLineRequest& request);

} // namespace px
