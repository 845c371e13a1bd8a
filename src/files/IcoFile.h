#pragma once
// Windows icon files (.ico). The writer makes one icon of the picture's own size; the reader
// decodes every image of the directory, bitmap and PNG entries alike.
#include "files/DibReader.h"

#include <QByteArray>
#include <QIODevice>
#include <QImage>
#include <QList>
#include <QString>

namespace px {

// Writes one 32-bit icon of the picture's own width and height, with no mask colour: an
// opaque picture stays opaque (alpha 255, empty AND mask); a picture with alpha keeps it and
// its fully transparent pixels are also set in the AND mask. A side of 256 is entered as 0 in
// the directory, as the format has it; a picture larger than 256 on either side is stored as
// a PNG entry, whose own header carries the true size.
bool WriteIco(const QImage& image, QIODevice& device, QString* error = nullptr);

struct IcoReadResult {
    QImage image;         // the chosen image: the largest, the deepest among equals, else the first
    QString error;        // short English reason; empty on success
    QList<QImage> images; // every readable image, in directory order
    int chosen = -1;      // index of image in images
};

// Reads a whole icon (or cursor) file. Entries that cannot be read are left out; the file
// fails only when no entry can be read.
IcoReadResult ReadIco(const QByteArray& file, qint64 maxPixels = kMaxDibPixels);

} // namespace px
