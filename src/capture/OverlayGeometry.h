#pragma once
// The window-free geometry of the capture overlay: the region a drag marks, the triangle as
// drawn, the masking of non-rectangular shapes, and where the loupe and the coordinate hint go.
// All points are screen pixels of the primary monitor (the overlay covers it from 0,0).
#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <optional>

namespace px {

// The capture tools the overlay handles ("ScanTool" 0..4).
enum ShapeTool : int { ToolRectangle = 0, ToolTriangle = 1, ToolRoundRect = 2, ToolEllipse = 3, ToolObject = 4 };

// Rounded rectangles have 40-by-40 corner ellipses.
constexpr int kRoundCorner = 40;

// The region of a drag from start to end: source = the rectangle between the two corners
// (right and bottom edges exclusive), picture size |end.x - start.x| by |end.y - start.y|; a
// drag with no width or no height gives an empty region (0 by 0).
struct CaptureRegion {
    QRect source;
    QSize size;
};
CaptureRegion CaptureRegionFor(const QPoint& start, const QPoint& end);

// The triangle as the overlay draws it while dragging: (start.x, end.y), (end.x, end.y) and the
// apex ((start.x + end.x) div 2, start.y).
struct TrianglePoints {
    QPoint left, right, apex;
};
TrianglePoints TriangleFor(const QPoint& start, const QPoint& end);

// Paints background over everything outside the tool's shape in picture (which keeps its
// size): triangle with the apex at the top middle and the base along the bottom edge when the
// drag went downwards, else apex at the bottom middle and base along the top; rounded
// rectangle with 40-by-40 corners; ellipse filling the picture. Rectangle and object: nothing.
// No background (an index above 11) paints nothing.
void MaskOutsideShape(QImage& picture, int tool, bool dragDownwards, const std::optional<QColor>& background);

// "ShapeColorBg": only the low 7 bits of the index count; indexes above 11 give no colour.
std::optional<QColor> ShapeBackgroundColor(int shapeColorBg, const QColor& buttonFace, const QColor& infoBackground);

// The loupe window (176 by 225) goes to the corner opposite the pointer's quarter of the
// screen; a pointer exactly on a centre line leaves it at current. screen is the real size of
// the primary screen.
QPoint LoupePlacement(const QPoint& pointer, const QSize& screen, const QPoint& current);
constexpr QSize kLoupeWindowSize(176, 225);
constexpr int kLoupePicture = 172;

// The screen square the loupe magnifies: corners (x - s, y - s) and (x, y), s = 170 div lFaktor
// (170 when lFaktor is 0 or negative).
QRect LoupeSourceRect(const QPoint& pointer, int lFaktor);

// Where the coordinate hint goes for a pointer at screen point (already moved down by the
// cursor's height): left = x + 19, top = y - 10, width = text width + 8, height = text height.
QRect CoordHintRect(const QPoint& screenPoint, const QSize& textSize);

} // namespace px
