#pragma once
// The drawing state both metafile formats share (a Windows device context) and the drawing
// operations their records call, carried out on a QPainter. Logical coordinates go through the
// world transform and the mapping mode to device units, and a base transform takes device units
// to the painter's coordinates. All geometry is mapped here and drawn in the painter's own
// coordinates, without anti-aliasing, as the Windows graphics device interface draws.
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRegion>
#include <QString>
#include <QTransform>

#include <optional>
#include <vector>

namespace px::gdi {

// Mapping modes.
enum MapMode { MM_TEXT = 1, MM_LOMETRIC, MM_HIMETRIC, MM_LOENGLISH, MM_HIENGLISH, MM_TWIPS, MM_ISOTROPIC, MM_ANISOTROPIC };

// Text alignment bits.
inline constexpr int TA_UPDATECP = 1;
inline constexpr int TA_RIGHT = 2;
inline constexpr int TA_CENTER = 6;
inline constexpr int TA_BOTTOM = 8;
inline constexpr int TA_BASELINE = 24;

// Text output options.
inline constexpr int ETO_OPAQUE = 2;
inline constexpr int ETO_CLIPPED = 4;

// Clip region combination modes.
enum RegionMode { RGN_AND = 1, RGN_OR, RGN_XOR, RGN_DIFF, RGN_COPY };

// Coordinates in the painter's space are kept inside this range: far outside any picture we
// render, small enough for the painter's rasteriser.
inline constexpr double kCoordLimit = 4194304.0;

struct Pen {
    int style = 0;        // PS_SOLID; the low four bits are the line style
    double width = 0;     // logical units; 0 is one device pixel
    QColor color = Qt::black;
    bool isNull() const { return (style & 0xF) == 5; }
};

struct Brush {
    enum Style { Solid, Null, Hatched, Pattern };
    Style style = Solid;
    QColor color = Qt::white;
    int hatch = 0;
    QImage pattern;
};

struct Font {
    double height = 0;    // logical units; negative: character height, positive: cell height
    double width = 0;
    int escapement = 0;   // tenths of a degree, counterclockwise
    int weight = 0;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    QString face;
};

// An entry of the object table. Palettes and other objects we do not draw with still occupy
// their slot, so that the numbering of later objects stays right.
struct GdiObject {
    enum Kind { Empty, PenObject, BrushObject, FontObject, RegionObject, Other };
    Kind kind = Empty;
    Pen pen;
    Brush brush;
    Font font;
    QRegion region;       // logical units (only integer rectangles are stored in region records)
};

struct DcState {
    int mapMode = MM_TEXT;
    QPointF windowOrg{0, 0};
    QSizeF windowExt{1, 1};
    QPointF viewportOrg{0, 0};
    QSizeF viewportExt{1, 1};
    QTransform world;
    Pen pen;
    Brush brush;
    Font font;
    QColor bkColor = Qt::white;
    int bkMode = 2;       // OPAQUE
    QColor textColor = Qt::black;
    int textAlign = 0;
    int polyFillMode = 1; // ALTERNATE
    int arcDirection = 1; // counterclockwise
    QPointF position;     // current position, logical units
    std::optional<QRegion> clip;  // painter coordinates; none: no clipping
};

// Raster operations of the bitmap and pattern records (the high word of the ROP code).
enum : int {
    ROP_BLACKNESS = 0x00, ROP_NOTSRCERASE = 0x11, ROP_NOTSRCCOPY = 0x33, ROP_SRCERASE = 0x44,
    ROP_DSTINVERT = 0x55, ROP_PATINVERT = 0x5A, ROP_SRCINVERT = 0x66, ROP_SRCAND = 0x88,
    ROP_DEST = 0xAA, ROP_MERGEPAINT = 0xBB, ROP_MERGECOPY = 0xC0, ROP_SRCCOPY = 0xCC,
    ROP_SRCPAINT = 0xEE, ROP_PATCOPY = 0xF0, ROP_PATPAINT = 0xFB, ROP_WHITENESS = 0xFF,
};

class GdiCanvas {
public:
    // deviceToPainter: device units to the painter's coordinates. deviceDpi: device units per
    // inch, for the metric mapping modes.
    GdiCanvas(QPainter& painter, const QTransform& deviceToPainter, QSizeF deviceDpi, bool textAllowed);
    ~GdiCanvas();
    GdiCanvas(const GdiCanvas&) = delete;
    GdiCanvas& operator=(const GdiCanvas&) = delete;

    DcState& dc() { return dc_; }
    // Makes a pen, brush or font the current one; a region becomes the clip region. Other
    // objects change nothing.
    void selectObject(const GdiObject& o);

    // Mapping. Requests GDI would refuse (zero extents, singular transforms) are ignored.
    void setMapMode(int mode);
    void setWindowOrg(QPointF p) { setOrigin(dc_.windowOrg, p); }
    void setWindowExt(QSizeF s) { setExtent(dc_.windowExt, s); }
    void setViewportOrg(QPointF p) { setOrigin(dc_.viewportOrg, p); }
    void setViewportExt(QSizeF s) { setExtent(dc_.viewportExt, s); }
    void offsetWindowOrg(QPointF d) { setWindowOrg(dc_.windowOrg + d); }
    void offsetViewportOrg(QPointF d) { setViewportOrg(dc_.viewportOrg + d); }
    void scaleWindowExt(double xNum, double xDenom, double yNum, double yDenom)
    {
        scaleExtent(dc_.windowExt, xNum, xDenom, yNum, yDenom);
    }
    void scaleViewportExt(double xNum, double xDenom, double yNum, double yDenom)
    {
        scaleExtent(dc_.viewportExt, xNum, xDenom, yNum, yDenom);
    }
    void setWorldTransform(const QTransform& t);
    void modifyWorldTransform(const QTransform& t, int mode);
    QTransform logicalToPainter() const;
    QPointF toPainter(QPointF logical) const;

    bool saveDc();
    bool restoreDc(int which);

    // Clipping, given in logical units (device units for the region forms).
    void intersectClipRect(const QRectF& r);
    void excludeClipRect(const QRectF& r);
    void offsetClip(QPointF d);
    void selectClipRegion(const std::optional<QRegion>& logicalRegion, int mode);
    void selectDeviceClipRegion(const std::optional<QRegion>& deviceRegion, int mode);

    // Drawing.
    void moveTo(QPointF p);
    void lineTo(QPointF p);
    void polyline(const QPolygonF& points);
    void polylineTo(const QPolygonF& points);
    void polygon(const QPolygonF& points);
    void polyPolygon(const std::vector<QPolygonF>& polygons);
    void polyPolyline(const std::vector<QPolygonF>& polylines);
    void polyBezier(const QPolygonF& points, bool fromCurrent);
    void rectangle(const QRectF& box);
    void roundRect(const QRectF& box, QSizeF corner);
    void ellipse(const QRectF& box);
    enum class ArcKind { Arc, ArcTo, Pie, Chord };
    void arc(ArcKind kind, const QRectF& box, QPointF start, QPointF end);
    void angleArc(QPointF center, double radius, double startDeg, double sweepDeg);
    void setPixel(QPointF p, const QColor& c);
    void fillRegion(const QRegion& logical, const Brush& brush);
    void frameRegion(const QRegion& logical, const Brush& brush, QSizeF frame);
    void invertRegion(const QRegion& logical);

    // Text. dx: advances of the characters in logical units (empty: the font's own).
    void text(QPointF reference, const QString& s, int options, const QRectF& rect,
              const std::vector<double>& dx);
    // Bitmaps: src is the part of image to use; dest the logical rectangle it fills.
    void bitmap(const QRectF& dest, const QImage& image, const QRectF& src, quint32 rop);
    void patBlt(const QRectF& dest, quint32 rop);
    // Blending of a bitmap with alpha (premultiplied or plain, as image's format says).
    void alphaBlend(const QRectF& dest, const QImage& image, const QRectF& src, double opacity);

    // Paths (enhanced metafiles).
    void beginPath();
    void endPath() { pathOpen_ = false; }
    void abortPath();
    void closeFigure();
    void fillPath();
    void strokePath();
    void strokeAndFillPath();
    void selectClipPath(int mode);

private:
    void setOrigin(QPointF& field, QPointF p);
    void setExtent(QSizeF& field, QSizeF s);
    void scaleExtent(QSizeF& field, double xNum, double xDenom, double yNum, double yDenom);
    QTransform pageTransform() const;
    void transformChanged() { cacheValid_ = false; }
    QPainterPath mapPath(const QPainterPath& logical) const;
    // Polygons (closed) or polylines in painter coordinates; parts of fewer than two points are left out.
    QPainterPath polyPath(const std::vector<QPolygonF>& parts, bool closed) const;
    QPointF clampPoint(QPointF p) const;
    QRectF deviceBox(const QRectF& logicalBox) const;
    QPen makePen() const;
    QBrush makeBrush(const Brush& b) const;
    Qt::FillRule fillRule() const;
    void prepare(QPainter& p) const;
    void draw(const QPainterPath& path, bool fill, bool stroke);
    void drawClosedShape(const QPainterPath& painterPath);
    // A rectangle, its corners rounded by an ellipse of size corner (logical units) when given.
    void drawBox(const QRectF& box, std::optional<QSizeF> corner);
    void applyClip(const QRegion& painterRegion, int mode);
    QRegion mapRegion(const QRegion& logical) const;
    bool ellipseBox(const QRectF& box, QRectF* out) const;
    QPainterPath arcPath(ArcKind kind, const QRectF& box, QPointF start, QPointF end, QPointF* endPoint) const;
    double penWidthInPainter() const;
    void drawPlaced(const QRectF& dest, const QImage& pixels, QPainter::CompositionMode mode, double opacity);

    QPainter& painter_;
    QTransform base_;
    QTransform painterOwn_;
    std::optional<QPainterPath> callerClip_;   // the painter's own clip when we started
    mutable std::optional<QRegion> appliedClip_;
    mutable bool clipKnown_ = false;
    QSizeF dpi_;
    bool textAllowed_;
    DcState dc_;
    std::vector<DcState> saved_;
    QPainterPath path_;
    bool pathOpen_ = false;
    mutable bool cacheValid_ = false;
    mutable QTransform cache_;
};

} // namespace px::gdi
