#pragma once
// One capture without any window, for scripts: pixmora --grab desktop|window [--delay MS]
// --output FILE. The file is written atomically in the format its extension names.
#include "app/CommandLine.h"
#include "platform/Screen.h"

#include <QString>

namespace px {

struct GrabResult {
    bool ok = false;
    QString error;   // one line, for the terminal
};

GrabResult RunGrabCommand(Screen& screen, GrabTarget target, int delayMs, const QString& outputFile);

// Writes a picture as BMP or PNG by the file's extension, through a temporary file in the
// target folder that is renamed into place.
GrabResult WriteGrabbedPicture(const QImage& image, const QString& outputFile);

} // namespace px
