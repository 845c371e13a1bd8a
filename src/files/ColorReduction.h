#pragma once
// Turning a true-colour picture into an indexed one of at most 256 colours: the palettes the
// GIF colour-reduction setting offers, our own median-cut quantiser for pictures that keep
// their own colours, and nearest-colour or error-diffusion mapping. Usable by every writer
// that needs a palette.
#include <QImage>
#include <QList>
#include <QRgb>

namespace px {

// The values of "GifColOpt".
enum class ColorReduction {
    None = 0,             // the picture's own colours (quantised when there are more than 256)
    WindowsSystem = 1,    // the 20 Windows system colours
    WindowsHalftone = 2,  // a 256-colour halftone palette
    WindowsGray = 3,      // the 4 Windows grey levels
    Monochrome = 4,       // black and white
    Grayscale = 5,        // 256 grey shades
    Netscape = 6,         // the 216-colour web palette
};

// The values of "GifDith".
enum class DitherMode {
    Nearest = 0,
    ErrorDiffusion = 1,  // Floyd-Steinberg
};

// Any stored value outside 0..6 means no reduction; any non-zero dither value means diffusion.
ColorReduction ColorReductionFromSetting(int gifColOpt);
DitherMode DitherModeFromSetting(int gifDith);

// The fixed palette of a reduction; empty for ColorReduction::None.
QList<QRgb> FixedPalette(ColorReduction reduction);

// At most maxColors (1..256) colours that represent image well; deterministic. Alpha is ignored.
QList<QRgb> MedianCutPalette(const QImage& image, int maxColors = 256);

// Maps every pixel of image to the nearest palette entry (alpha ignored), optionally spreading
// the error over the neighbours. The result is Format_Indexed8 with palette as colour table.
// An empty palette or a null image gives a null image.
QImage MapToPalette(const QImage& image, const QList<QRgb>& palette, DitherMode dither);

// A palette of at most maxColors (1..256) for the bitmap writers: a picture with no more
// colours than that keeps them exactly; otherwise a median cut chooses them and every pixel
// takes the nearest. Format_Indexed8; deterministic; a null image gives a null image.
QImage ReduceToPalette(const QImage& image, int maxColors);

// The whole reduction: the fixed palette, or for None the picture's own colours when there
// are at most 256 of them (kept exactly, in order of first appearance) and a median-cut palette
// otherwise. The grey reductions map the picture's luminance. Null image in, null image out.
QImage ReduceColors(const QImage& image, ColorReduction reduction, DitherMode dither);

} // namespace px
