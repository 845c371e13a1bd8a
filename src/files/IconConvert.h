#pragma once
// Exchange between bitmaps and icons: an icon is an ARGB picture whose transparent pixels
// have alpha 0; a bitmap is opaque.
#include <QImage>
#include <QRgb>
#include <optional>

namespace px {

// An icon of the bitmap's own size (Format_ARGB32). Pixels whose colour equals maskColour
// (alpha ignored) become fully transparent; every other pixel is opaque. Without a mask
// colour the whole icon is opaque. A null bitmap gives a null icon.
QImage BitmapToIcon(const QImage& bitmap, std::optional<QRgb> maskColour = std::nullopt);

// An opaque bitmap (Format_RGB32) of the icon's size: the icon drawn onto a white bitmap, so
// transparent parts are white and half-transparent ones are blended with white.
QImage IconToBitmap(const QImage& icon);

} // namespace px
