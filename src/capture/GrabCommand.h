#pragma once
// One capture without any window, for scripts: pixmora --grab desktop|window [--delay MS]
// --output FILE. The file is written atomically in the format its extension names.
#include "app/CommandLine.h"
#include "files/PictureFiles.h"
#include "platform/Screen.h"

#include <QString>

namespace px {

struct GrabResult {
    bool ok = false;
    QString error;   // one line, for the terminal
};

GrabResult RunGrabCommand(Screen& screen, GrabTarget target, int delayMs, const QString& outputFile,
                          const PictureWriteSettings& settings);

// Writes a picture in the format its file's extension names (.bmp, .jpg/.jpeg, .gif, .ico,
// .pxg, .tif/.tiff, .png) with the stored format settings, as the automatic save applies them.
GrabResult WriteGrabbedPicture(const QImage& image, const QString& outputFile, const PictureWriteSettings& settings);

} // namespace px
