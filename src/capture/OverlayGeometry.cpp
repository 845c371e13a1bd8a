#include "capture/OverlayGeometry.h"

#include "app/PaletteColors.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygon>
#include <QRegion>

#include <algorithm>
#include <cstdlib>

namespace px {

CaptureRegion CaptureRegionFor(const QPoint& start, const QPoint& end)
{
    const QPoint topLeft(std::min(start.x(), end.x()), std::min(start.y(), end.y()));
    const int w = std::abs(end.x() - start.x());
    const int h = std::abs(end.y() - start.y());
    // A drag along one axis only marks nothing: no picture at all rather than a 30-by-0 strip.
    if (w == 0 || h == 0)
        return {QRect(topLeft, QSize(0, 0)), QSize(0, 0)};
    return {QRect(topLeft, QSize(w, h)), QSize(w, h)};
}

TrianglePoints TriangleFor(const QPoint& start, const QPoint& end)
{
    const int apexX = (start.x() + end.x()) / 2;
    return {QPoint(start.x(), end.y()), QPoint(end.x(), end.y()), QPoint(apexX, start.y())};
}

namespace {

// The shape as a region of picture coordinates; nullopt for the tools that keep the whole
// rectangle.
std::optional<QRegion> ShapeRegion(int tool, bool dragDownwards, int w, int h)
{
    switch (tool) {
    case ToolTriangle: {
        QPolygon triangle;
        if (dragDownwards)
            triangle << QPoint(w / 2, 0) << QPoint(w, h) << QPoint(0, h);
        else
            triangle << QPoint(w / 2, h) << QPoint(w, 0) << QPoint(0, 0);
        return QRegion(triangle);
    }
    case ToolRoundRect: {
        // Corner ellipses of kRoundCorner by kRoundCorner, i.e. radii of half that.
        QPainterPath path;
        path.addRoundedRect(QRectF(0, 0, w, h), kRoundCorner / 2.0, kRoundCorner / 2.0);
        return QRegion(path.toFillPolygon().toPolygon());
    }
    case ToolEllipse:
        return QRegion(QRect(0, 0, w, h), QRegion::Ellipse);
    default:
        return std::nullopt;
    }
}

void FillRegion(QImage& picture, const QRegion& region, const QColor& color)
{
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setClipRegion(region);
    painter.fillRect(picture.rect(), color);
}

// QPainter cannot open indexed and 1-bit pictures.
bool Paintable(QImage::Format format)
{
    return format != QImage::Format_Invalid && format != QImage::Format_Indexed8 && format != QImage::Format_Mono
        && format != QImage::Format_MonoLSB;
}

} // namespace

void MaskOutsideShape(QImage& picture, int tool, bool dragDownwards, const std::optional<QColor>& background)
{
    if (!background || picture.isNull())
        return;
    const std::optional<QRegion> shape = ShapeRegion(tool, dragDownwards, picture.width(), picture.height());
    if (!shape)
        return;
    const QRegion outside = QRegion(picture.rect()).subtracted(*shape);
    if (outside.isEmpty())
        return;
    if (Paintable(picture.format())) {
        FillRegion(picture, outside, *background);
        return;
    }
    // Paint on a true-colour copy and bring it back to the picture's own format, mapping onto
    // its own colour table (plus the background where there is room) so that no colour of the
    // picture is requantised.
    const QImage::Format format = picture.format();
    QList<QRgb> table = picture.colorTable();
    const int maxColours = format == QImage::Format_Indexed8 ? 256 : 2;
    if (!table.contains(background->rgb()) && table.size() < maxColours)
        table.append(background->rgb());
    QImage work = picture.convertToFormat(QImage::Format_ARGB32);
    FillRegion(work, outside, *background);
    picture = work.convertToFormat(format, table);
}

std::optional<QColor> ShapeBackgroundColor(int shapeColorBg, const QColor& buttonFace, const QColor& infoBackground)
{
    const int index = shapeColorBg & 0x7F;
    if (index == 5)
        return infoBackground;
    return PaletteColor(index, buttonFace);
}

QPoint LoupePlacement(const QPoint& pointer, const QSize& screen, const QPoint& current)
{
    // The real screen height is used: deriving it from a short list of old screen widths gave 0
    // for every other width (1366, 1920, ...) and put the loupe above the top of the screen.
    const int w = screen.width();
    const int h = screen.height();
    const int cx = w / 2;
    const int cy = h / 2;
    const int px = pointer.x();
    const int py = pointer.y();
    // 188 and 238 keep the 176-by-225 loupe 12 and 13 pixels off the right and bottom edges.
    const int farX = w - 188;
    const int farY = h - 238;
    if (px < cx && py < cy)
        return {farX, farY};
    if (px > cx && py > cy)
        return {10, 10};
    if (px > cx && py < cy)
        return {10, farY};
    if (px < cx && py > cy)
        return {farX, 10};
    return current;
}

QRect LoupeSourceRect(const QPoint& pointer, int lFaktor)
{
    // The pointer sits at the square's (exclusive) lower-right corner.
    const int s = lFaktor > 0 ? 170 / lFaktor : 170;
    return QRect(pointer.x() - s, pointer.y() - s, s, s);
}

QRect CoordHintRect(const QPoint& screenPoint, const QSize& textSize)
{
    return QRect(screenPoint.x() + 19, screenPoint.y() - 10, textSize.width() + 8, textSize.height());
}

} // namespace px
