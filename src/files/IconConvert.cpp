// Bitmap-to-icon and icon-to-bitmap exchange.
#include "files/IconConvert.h"

#include <QPainter>

namespace px {

QImage BitmapToIcon(const QImage& bitmap, std::optional<QRgb> maskColour)
{
    if (bitmap.isNull())
        return {};
    QImage icon = bitmap.convertToFormat(QImage::Format_ARGB32);
    const QRgb mask = maskColour ? (*maskColour & RGB_MASK) : 0;
    for (int y = 0; y < icon.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(icon.scanLine(y));
        for (int x = 0; x < icon.width(); ++x) {
            const QRgb colour = line[x] & RGB_MASK;
            // A masked pixel is cleared as a masked image-list entry clears it: black, alpha 0.
            line[x] = maskColour && colour == mask ? 0u : (colour | 0xFF000000u);
        }
    }
    return icon;
}

QImage IconToBitmap(const QImage& icon)
{
    if (icon.isNull())
        return {};
    if (!icon.hasAlphaChannel())
        return icon.convertToFormat(QImage::Format_RGB32);
    QImage bitmap(icon.size(), QImage::Format_RGB32);
    bitmap.fill(Qt::white);
    QPainter painter(&bitmap);
    painter.drawImage(0, 0, icon);
    painter.end();
    return bitmap;
}

} // namespace px
