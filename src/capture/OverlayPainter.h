#pragma once
// Drawing on the capture overlay's backing picture in NOT-XOR mode: every pixel a stroke touches
// becomes NOT(source XOR destination), so drawing the same thing a second time gives the old
// pixels back exactly. The overlay never repaints the frozen screen; it draws and erases on top
// of it and repaints only the returned dirty region. Antialiasing stays off (a blended pixel
// could not be inverted back).
#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRegion>
#include <optional>

namespace px {

struct OverlayPen {
    int width = 1;       // pixels
    bool solid = true;   // false: dotted
};

// The pen the overlay uses: "SBorder" on = solid, off = dotted; "SBForce" 0/1/2 = 1/2/3
// pixels, any other value 1 pixel.
OverlayPen OverlayPenFor(int sBorder, int sBForce);

class OverlayPainter {
public:
    // canvas must be a 32-bit picture without alpha (Format_RGB32); it is drawn on in place.
    explicit OverlayPainter(QImage& canvas);

    // The outline of the tool's shape between start and end (both corners, drawn with right
    // and bottom edges exclusive), in black NOT-XOR; fill, when given, paints the interior in
    // that colour, NOT-XOR as well. Rectangle, triangle (TriangleFor), rounded rectangle
    // (40-by-40 corners) and ellipse; object mode draws nothing. Returns the pixels it may
    // have touched.
    QRegion DrawShape(int tool, const QPoint& start, const QPoint& end, const OverlayPen& pen,
                      const std::optional<QColor>& fill) const;

    // A vertical and a horizontal line through pos across the whole canvas, grey NOT-XOR.
    QRegion DrawCross(const QPoint& pos, const OverlayPen& pen) const;

private:
    QRegion DrawRectangle(const QPoint& start, const QPoint& end, const OverlayPen& pen,
                          const std::optional<QColor>& fill) const;

    QImage& m_canvas;
};

} // namespace px
