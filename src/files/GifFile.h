#pragma once
// GIF pictures: our own GIF89a writer (global colour table, LZW or run-length code stream,
// no transparency) and a reader for the first picture of a GIF file through giflib.
#include "files/ColorReduction.h"

#include <QByteArray>
#include <QIODevice>
#include <QImage>
#include <QString>

namespace px {

// The values of "GifComp".
enum class GifCompression {
    Lzw = 0,
    RunLength = 1,
};

struct GifOptions {
    ColorReduction reduction = ColorReduction::None;
    DitherMode dither = DitherMode::Nearest;
    GifCompression compression = GifCompression::Lzw;
};

// The options as the settings "GifColOpt", "GifDith" and "GifComp" store them.
GifOptions GifOptionsFromSettings(int gifColOpt, int gifDith, int gifComp);

// Reduces image to at most 256 colours as options say and writes it to device. False with
// *error for an empty or oversized picture (GIF sizes are 16-bit) or a device error.
bool WriteGif(const QImage& image, QIODevice& device, const GifOptions& options = {}, QString* error = nullptr);

// The GIF file of an already indexed picture (Format_Indexed8 with 1..256 table entries; every
// pixel below the table size). Empty for any other picture.
QByteArray EncodeGif(const QImage& indexed, GifCompression compression);

struct GifReadResult {
    QImage image;   // Format_RGB32, or Format_ARGB32 when the picture has a transparent colour
    QString error;  // why the file could not be read; empty on success
};

// The first picture of a GIF file (the whole file in data). Outside data: a broken, truncated
// or implausible file gives an error, never a crash and never an unbounded allocation.
GifReadResult ReadGif(const QByteArray& data);

} // namespace px
