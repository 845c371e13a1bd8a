#include "capture/OverlayPainter.h"

#include "capture/OverlayGeometry.h"

#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <cstdlib>

namespace px {

namespace {

// The grey of the cross lines.
const QColor kCrossColor(128, 128, 128);

// How far a stroke of this pen may reach beyond the line it follows.
int Reach(const OverlayPen& pen)
{
    return pen.width + 1;
}

// The box a shape between two corners is drawn in: left/top inclusive, right/bottom exclusive,
// at least one pixel so that a click still shows where the drag starts.
QRect ShapeBox(const QPoint& start, const QPoint& end)
{
    const int left = std::min(start.x(), end.x());
    const int top = std::min(start.y(), end.y());
    const int width = std::max(std::abs(end.x() - start.x()), 1);
    const int height = std::max(std::abs(end.y() - start.y()), 1);
    return QRect(left, top, width, height);
}

// Four strips of the given thickness along the inside and outside of box's edges; the whole
// box when the strips would cover it anyway. Only the outline of a big shape changes, so only
// the strips need repainting.
QRegion EdgeStrips(const QRect& box, int thickness)
{
    const QRect outer = box.adjusted(-thickness, -thickness, thickness, thickness);
    if (box.width() <= 2 * thickness || box.height() <= 2 * thickness)
        return QRegion(outer);
    const int band = 2 * thickness;
    QRegion region;
    region += QRect(outer.left(), outer.top(), outer.width(), band);
    region += QRect(outer.left(), outer.bottom() - band + 1, outer.width(), band);
    region += QRect(outer.left(), outer.top(), band, outer.height());
    region += QRect(outer.right() - band + 1, outer.top(), band, outer.height());
    return region;
}

QPen MakePen(const QColor& color, const OverlayPen& pen)
{
    QPen result(color, std::max(pen.width, 1), pen.solid ? Qt::SolidLine : Qt::DotLine, Qt::SquareCap,
                Qt::MiterJoin);
    result.setCosmetic(true);
    return result;
}

// Straight horizontal and vertical strokes are done here rather than by QPainter: it hands a
// full-height line to its worker threads span by span, which costs most of a millisecond per
// line, while this loop takes microseconds. Each pixel of rect (clipped to the canvas) becomes
// NOT(colour XOR pixel). A dotted stroke leaves gaps: dotAxis 1 counts along x, 2 along y,
// from dotOrigin, in dots of dotUnit pixels followed by gaps of two dots (the dot pattern
// QPainter uses for the curved shapes).
struct Dots {
    int axis = 0; // 0 solid
    int origin = 0;
    int unit = 1;
    bool On(int x, int y) const
    {
        if (axis == 0)
            return true;
        const int period = 3 * unit;
        int offset = ((axis == 1 ? x : y) - origin) % period;
        if (offset < 0)
            offset += period;
        return offset < unit;
    }
};

QRect NotXorRect(QImage& canvas, const QRect& rect, QRgb colour, const Dots& dots)
{
    const QRect area = rect.intersected(canvas.rect());
    if (area.isEmpty())
        return {};
    const QRgb source = colour | 0xff000000u;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(canvas.scanLine(y));
        for (int x = area.left(); x <= area.right(); ++x)
            if (dots.On(x, y))
                line[x] = ~(source ^ line[x]) | 0xff000000u;
    }
    return area;
}

// The band of a stroke of this width along line position c: [c - a, c - a + width - 1].
int BandStart(int c, int width)
{
    return c - (width - 1) / 2;
}

void PrepareNotXor(QPainter& painter)
{
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
}

} // namespace

OverlayPen OverlayPenFor(int sBorder, int sBForce)
{
    OverlayPen pen;
    pen.solid = sBorder != 0;
    pen.width = (sBForce >= 0 && sBForce <= 2) ? sBForce + 1 : 1;
    return pen;
}

OverlayPainter::OverlayPainter(QImage& canvas) : m_canvas(canvas) {}

QRegion OverlayPainter::DrawShape(int tool, const QPoint& start, const QPoint& end, const OverlayPen& pen,
                                  const std::optional<QColor>& fill) const
{
    if (tool < ToolRectangle || tool > ToolEllipse || m_canvas.isNull())
        return {};
    if (tool == ToolRectangle)
        return DrawRectangle(start, end, pen, fill);

    QPainter painter(&m_canvas);
    PrepareNotXor(painter);
    painter.setPen(MakePen(Qt::black, pen));
    painter.setBrush(fill ? QBrush(*fill) : QBrush(Qt::NoBrush));

    const QRect box = ShapeBox(start, end);
    // QPainter's aliased outline of a rectangle covers one pixel more to the right and bottom
    // than its size says; one less makes the outline sit on the box's last column and row.
    const QRectF outline(box.left(), box.top(), box.width() - 1, box.height() - 1);
    const int reach = Reach(pen);

    switch (tool) {
    case ToolTriangle: {
        const TrianglePoints t = TriangleFor(start, end);
        const QPolygon polygon({t.left, t.right, t.apex});
        painter.drawPolygon(polygon);
        return QRegion(polygon.boundingRect().adjusted(-reach, -reach, reach, reach));
    }
    case ToolRoundRect: {
        const qreal radius = kRoundCorner / 2.0;
        painter.drawRoundedRect(outline, radius, radius, Qt::AbsoluteSize);
        return fill ? QRegion(box.adjusted(-reach, -reach, reach, reach))
                    : EdgeStrips(box, reach + kRoundCorner / 2);
    }
    case ToolEllipse:
        painter.drawEllipse(outline);
        return QRegion(box.adjusted(-reach, -reach, reach, reach));
    default:
        return {};
    }
}

QRegion OverlayPainter::DrawRectangle(const QPoint& start, const QPoint& end, const OverlayPen& pen,
                                      const std::optional<QColor>& fill) const
{
    // The outline runs along the box's first and last column and row; top and bottom bands take
    // the full width, the side bands only the rows between them, so no pixel is inverted twice.
    const QRect box = ShapeBox(start, end);
    const int w = std::max(pen.width, 1);
    const QRgb black = qRgb(0, 0, 0);
    const int left = BandStart(box.left(), w);
    const int right = BandStart(box.right(), w) + w - 1;
    const int topBandEnd = BandStart(box.top(), w) + w - 1;
    const int bottomBandStart = BandStart(box.bottom(), w);
    const int top = BandStart(box.top(), w);
    const int bottom = bottomBandStart + w - 1;
    const Dots alongX{pen.solid ? 0 : 1, box.left(), w};
    const Dots alongY{pen.solid ? 0 : 2, box.top(), w};

    QRegion dirty;
    if (bottomBandStart <= topBandEnd + 1) {
        dirty += NotXorRect(m_canvas, QRect(QPoint(left, top), QPoint(right, bottom)), black, alongX);
        return dirty;
    }
    dirty += NotXorRect(m_canvas, QRect(QPoint(left, top), QPoint(right, topBandEnd)), black, alongX);
    dirty += NotXorRect(m_canvas, QRect(QPoint(left, bottomBandStart), QPoint(right, bottom)), black, alongX);

    const int rowsTop = topBandEnd + 1;
    const int rowsBottom = bottomBandStart - 1;
    const int leftBandEnd = left + w - 1;
    const int rightBandStart = BandStart(box.right(), w);
    if (rightBandStart <= leftBandEnd + 1) {
        dirty += NotXorRect(m_canvas, QRect(QPoint(left, rowsTop), QPoint(right, rowsBottom)), black, alongY);
        return dirty;
    }
    dirty += NotXorRect(m_canvas, QRect(QPoint(left, rowsTop), QPoint(leftBandEnd, rowsBottom)), black, alongY);
    dirty += NotXorRect(m_canvas, QRect(QPoint(rightBandStart, rowsTop), QPoint(right, rowsBottom)), black, alongY);
    if (fill)
        dirty += NotXorRect(m_canvas, QRect(QPoint(leftBandEnd + 1, rowsTop), QPoint(rightBandStart - 1, rowsBottom)),
                            fill->rgb(), Dots{});
    return dirty;
}

QRegion OverlayPainter::DrawCross(const QPoint& pos, const OverlayPen& pen) const
{
    if (m_canvas.isNull())
        return {};
    const int w = std::max(pen.width, 1);
    const QRgb grey = kCrossColor.rgb();
    const int columnStart = BandStart(pos.x(), w);
    const int columnEnd = columnStart + w - 1;
    const int rowStart = BandStart(pos.y(), w);
    const int rowEnd = rowStart + w - 1;
    const int width = m_canvas.width();
    const int height = m_canvas.height();
    const Dots alongX{pen.solid ? 0 : 1, 0, w};
    const Dots alongY{pen.solid ? 0 : 2, 0, w};

    // The vertical line takes the crossing; the horizontal one stops either side of it.
    QRegion dirty;
    dirty += NotXorRect(m_canvas, QRect(QPoint(columnStart, 0), QPoint(columnEnd, height - 1)), grey, alongY);
    dirty += NotXorRect(m_canvas, QRect(QPoint(0, rowStart), QPoint(columnStart - 1, rowEnd)), grey, alongX);
    dirty += NotXorRect(m_canvas, QRect(QPoint(columnEnd + 1, rowStart), QPoint(width - 1, rowEnd)), grey, alongX);
    return dirty;
}

} // namespace px
