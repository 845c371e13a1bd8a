#pragma once
// The program's command line, parsed into a request without side effects (nothing is read,
// opened or sent here). Forms:
//   pixmora [FILE]                     open FILE
//   pixmora --capture                  start a capture
//   pixmora --show                     bring the program forward
//   pixmora --send-bitmap FILE.bmp     hand a BMP file's bytes to the running program
//   pixmora --grab desktop|window [--delay MS] --output FILE
//                                      one capture without any window, written to FILE
//   pixmora --convert SOURCE TARGET    convert a picture file by the two extensions
//   pixmora --help | --version
// Value options also take the form --name=value; "--" ends the options, so a file whose name
// starts with '-' can still be opened.
#include "platform/InstanceMessage.h"

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QStringList>
#include <optional>

namespace px {

enum class CommandAction {
    Start,       // no arguments: plain start
    Open,        // FILE
    Capture,     // --capture
    Show,        // --show
    SendBitmap,  // --send-bitmap FILE
    Grab,        // --grab TARGET [--delay MS] --output FILE
    Convert,     // --convert SOURCE TARGET
    Help,        // --help
    Version,     // --version
    Error,       // see error
};

enum class GrabTarget { Desktop, Window };

// Largest --delay accepted, in milliseconds (ten minutes).
constexpr int kMaxGrabDelayMs = 600000;

struct CommandLineRequest {
    CommandAction action = CommandAction::Start;
    // Open: the file to open; SendBitmap: the BMP file; Grab: the output file; Convert: the
    // source file. Always absolute and cleaned.
    QString file;
    QString target;  // Convert: the file to write, absolute and cleaned
    GrabTarget grabTarget = GrabTarget::Desktop;
    int grabDelayMs = 0;
    QString error;  // Error: one line saying what is wrong
    bool operator==(const CommandLineRequest&) const = default;
};

// arguments: the program's arguments without the program name. Relative file names are
// resolved against workingDirectory.
CommandLineRequest ParseCommandLine(const QStringList& arguments,
                                    const QString& workingDirectory = QDir::currentPath());

// The message a second start hands to the running program: Start and Show bring it forward
// (0x806E), Open sends 0x8066 with the absolute path, Capture 0x8067, SendBitmap WM_COPYDATA
// identifier 1 with bitmapFileBytes (read from the file by the caller). Nothing for the
// other actions.
std::optional<InstanceMessage> MessageForRunningInstance(const CommandLineRequest& request,
                                                         const QByteArray& bitmapFileBytes = {});

QString CommandLineHelpText();
// "Pixmora 5.0" and the build number.
QString VersionText();

} // namespace px
