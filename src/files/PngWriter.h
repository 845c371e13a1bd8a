#pragma once
// PNG output through libpng. Screenshots are mostly flat areas and sharp edges: the "Sub"
// row filter with a fast zlib level compresses them nearly as well as the exhaustive filter
// search, at a fraction of the time.
#include <QIODevice>
#include <QImage>
#include <QString>

namespace px {

struct PngOptions {
    int compressionLevel = 1;  // zlib level 0..9
    bool alpha = false;        // write the alpha channel (ARGB pictures); else RGB
};

// Writes image (any format; converted to 32-bit as needed) to device. False with *error on a
// libpng or device error.
bool WritePng(const QImage& image, QIODevice& device, const PngOptions& options = {}, QString* error = nullptr);

} // namespace px
