// Bitmap and pattern records: raster operations and the placement of bitmaps.
#include "files/GdiCanvas.h"
#include "files/GdiMath.h"

#include <algorithm>
#include <cmath>

namespace px::gdi {

void GdiCanvas::patBlt(const QRectF& dest, quint32 rop)
{
    if (pathOpen_)
        return;
    const int code = int((rop >> 16) & 0xFF);
    QBrush brush;
    QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
    switch (code) {
    case ROP_DEST: return;
    case ROP_BLACKNESS: brush = QBrush(Qt::black); break;
    case ROP_WHITENESS: brush = QBrush(Qt::white); break;
    case ROP_DSTINVERT: brush = QBrush(Qt::black); mode = QPainter::RasterOp_NotDestination; break;
    case ROP_PATINVERT: brush = makeBrush(dc_.brush); mode = QPainter::RasterOp_SourceXorDestination; break;
    case ROP_PATPAINT: brush = makeBrush(dc_.brush); mode = QPainter::RasterOp_SourceOrDestination; break;
    default: brush = makeBrush(dc_.brush); break;
    }
    if (brush.style() == Qt::NoBrush)
        return;
    QPainterPath path;
    if (axisAligned(logicalToPainter())) {
        const QRectF r = deviceBox(dest);
        if (r.isNull())
            return;
        path.addRect(r.adjusted(0, 0, 1, 1));
    } else {
        QPainterPath logical;
        logical.addRect(dest.normalized());
        path = mapPath(logical);
    }
    prepare(painter_);
    painter_.setCompositionMode(mode);
    painter_.fillPath(path, brush);
    painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void GdiCanvas::bitmap(const QRectF& dest, const QImage& image, const QRectF& src, quint32 rop)
{
    if (pathOpen_)
        return;
    const int code = int((rop >> 16) & 0xFF);
    // Operations whose result does not depend on the source are pattern operations.
    if ((((code >> 2) ^ code) & 0x33) == 0) {
        patBlt(dest, rop);
        return;
    }
    if (image.isNull())
        return;
    const QRect part = src.normalized().toAlignedRect().intersected(image.rect());
    if (part.isEmpty() || dest.width() == 0 || dest.height() == 0)
        return;
    QImage pixels = image.copy(part).convertToFormat(QImage::Format_RGB32);
    if (pixels.isNull())
        return;

    QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
    switch (code) {
    case ROP_SRCPAINT: mode = QPainter::RasterOp_SourceOrDestination; break;
    case ROP_SRCAND: mode = QPainter::RasterOp_SourceAndDestination; break;
    case ROP_SRCINVERT: mode = QPainter::RasterOp_SourceXorDestination; break;
    case ROP_SRCERASE: mode = QPainter::RasterOp_SourceAndNotDestination; break;
    case ROP_NOTSRCCOPY: mode = QPainter::RasterOp_NotSource; break;
    case ROP_NOTSRCERASE: mode = QPainter::RasterOp_NotSourceAndNotDestination; break;
    case ROP_MERGEPAINT: mode = QPainter::RasterOp_NotSourceOrDestination; break;
    case ROP_MERGECOPY: {
        // Source and pattern: the pattern's colour masks the source's bits.
        const QRgb mask = dc_.brush.color.rgb() | 0xFF000000u;
        for (int y = 0; y < pixels.height(); ++y) {
            QRgb* line = reinterpret_cast<QRgb*>(pixels.scanLine(y));
            for (int x = 0; x < pixels.width(); ++x)
                line[x] &= mask;
        }
        break;
    }
    default: break;
    }

    drawPlaced(dest, pixels, mode, 1.0);
}

void GdiCanvas::alphaBlend(const QRectF& dest, const QImage& image, const QRectF& src, double opacity)
{
    if (pathOpen_ || image.isNull())
        return;
    const QRect part = src.normalized().toAlignedRect().intersected(image.rect());
    if (part.isEmpty() || dest.width() == 0 || dest.height() == 0)
        return;
    drawPlaced(dest, image.copy(part), QPainter::CompositionMode_SourceOver, std::clamp(opacity, 0.0, 1.0));
}

void GdiCanvas::drawPlaced(const QRectF& dest, const QImage& pixels, QPainter::CompositionMode mode, double opacity)
{
    if (pixels.isNull())
        return;
    const QTransform t = logicalToPainter();
    QTransform placement;
    const double iw = pixels.width(), ih = pixels.height();
    if (axisAligned(t)) {
        // Corners rounded to whole pixels keep a bitmap drawn at its own size pixel-exact.
        const QPointF a = toPainter(dest.topLeft()), b = toPainter(dest.bottomRight());
        const double l = roundHalfUp(a.x()), tp = roundHalfUp(a.y());
        const double w = roundHalfUp(b.x()) - l, h = roundHalfUp(b.y()) - tp;
        if (w == 0 || h == 0)
            return;
        placement = QTransform(w / iw, 0, 0, h / ih, l, tp);
    } else {
        placement = QTransform(dest.width() / iw, 0, 0, dest.height() / ih, dest.x(), dest.y()) * t;
    }
    if (!finiteTransform(placement))
        return;
    // Far outside the picture a placement is not drawn: the painter needs sane coordinates.
    const QRectF reach = placement.mapRect(QRectF(0, 0, iw, ih));
    if (reach.width() > 4 * kCoordLimit || reach.height() > 4 * kCoordLimit
        || std::abs(reach.x()) > 2 * kCoordLimit || std::abs(reach.y()) > 2 * kCoordLimit)
        return;
    prepare(painter_);
    painter_.setWorldTransform(placement * painterOwn_);
    painter_.setCompositionMode(mode);
    painter_.setOpacity(opacity);
    painter_.drawImage(QPointF(0, 0), pixels);
    painter_.setOpacity(1.0);
    painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter_.setWorldTransform(painterOwn_);
}

} // namespace px::gdi
