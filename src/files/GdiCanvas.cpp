#include "files/GdiCanvas.h"
#include "files/GdiMath.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace px::gdi {

namespace {

// More saved states than this are refused (each one holds a clip region).
constexpr std::size_t kMaxSavedStates = 1024;
// Region rectangles beyond this are replaced by their bounding box: combining very many
// rectangles one by one would be slow.
constexpr int kMaxRegionRects = 4096;

QRect everything()
{
    const int l = int(kCoordLimit);
    return QRect(-l, -l, 2 * l, 2 * l);
}

// The line styles of one-pixel pens, in pixels on and off.
QList<qreal> dashPattern(int style)
{
    switch (style & 0xF) {
    case 1: return {18, 6};
    case 2: return {3, 3};
    case 3: return {9, 6, 3, 6};
    case 4: return {9, 3, 3, 3, 3, 3};
    case 8: return {1, 1};
    default: return {};
    }
}

} // namespace

GdiCanvas::GdiCanvas(QPainter& painter, const QTransform& deviceToPainter, QSizeF deviceDpi, bool textAllowed)
    : painter_(painter), base_(deviceToPainter), dpi_(deviceDpi), textAllowed_(textAllowed)
{
    painter_.save();
    painterOwn_ = painter_.worldTransform();
    callerClip_ = painter_.hasClipping() ? std::optional<QPainterPath>(painter_.clipPath()) : std::nullopt;
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setRenderHint(QPainter::TextAntialiasing, false);
    painter_.setRenderHint(QPainter::SmoothPixmapTransform, false);
    if (!(dpi_.width() > 0) || !(dpi_.height() > 0) || !finite(dpi_.width()) || !finite(dpi_.height()))
        dpi_ = QSizeF(96, 96);
}

GdiCanvas::~GdiCanvas()
{
    painter_.restore();
}

void GdiCanvas::selectObject(const GdiObject& o)
{
    switch (o.kind) {
    case GdiObject::PenObject: dc_.pen = o.pen; break;
    case GdiObject::BrushObject: dc_.brush = o.brush; break;
    case GdiObject::FontObject: dc_.font = o.font; break;
    case GdiObject::RegionObject: selectClipRegion(o.region, RGN_COPY); break;
    default: break;
    }
}

// ---- Mapping --------------------------------------------------------------------------------

void GdiCanvas::setMapMode(int mode)
{
    if (mode < MM_TEXT || mode > MM_ANISOTROPIC)
        return;
    dc_.mapMode = mode;
    transformChanged();
}

// The window and viewport take only what GDI would: finite origins, and extents that are
// finite and not zero either way.
void GdiCanvas::setOrigin(QPointF& field, QPointF p)
{
    if (!finite(p.x()) || !finite(p.y()))
        return;
    field = p;
    transformChanged();
}

void GdiCanvas::setExtent(QSizeF& field, QSizeF s)
{
    if (s.width() == 0 || s.height() == 0 || !finite(s.width()) || !finite(s.height()))
        return;
    field = s;
    transformChanged();
}

void GdiCanvas::scaleExtent(QSizeF& field, double xNum, double xDenom, double yNum, double yDenom)
{
    if (xDenom == 0 || yDenom == 0)
        return;
    setExtent(field, QSizeF(field.width() * xNum / xDenom, field.height() * yNum / yDenom));
}

void GdiCanvas::setWorldTransform(const QTransform& t)
{
    if (!finiteTransform(t) || t.determinant() == 0 || !finite(t.determinant()))
        return;
    dc_.world = t;
    transformChanged();
}

void GdiCanvas::modifyWorldTransform(const QTransform& t, int mode)
{
    switch (mode) {
    case 1: dc_.world = QTransform(); transformChanged(); break;
    case 2: setWorldTransform(t * dc_.world); break;   // the new transform acts first
    case 3: setWorldTransform(dc_.world * t); break;
    case 4: setWorldTransform(t); break;
    default: break;
    }
}

QTransform GdiCanvas::pageTransform() const
{
    double sx = 1, sy = 1;
    auto metric = [&](double unitsPerInch) {
        sx = dpi_.width() / unitsPerInch;
        sy = -dpi_.height() / unitsPerInch;
    };
    switch (dc_.mapMode) {
    case MM_LOMETRIC: metric(254); break;
    case MM_HIMETRIC: metric(2540); break;
    case MM_LOENGLISH: metric(100); break;
    case MM_HIENGLISH: metric(1000); break;
    case MM_TWIPS: metric(1440); break;
    case MM_ISOTROPIC:
    case MM_ANISOTROPIC:
        sx = dc_.viewportExt.width() / dc_.windowExt.width();
        sy = dc_.viewportExt.height() / dc_.windowExt.height();
        if (dc_.mapMode == MM_ISOTROPIC) {
            const double m = std::min(std::abs(sx), std::abs(sy));
            sx = std::copysign(m, sx);
            sy = std::copysign(m, sy);
        }
        break;
    default: break;
    }
    return QTransform(sx, 0, 0, sy, dc_.viewportOrg.x() - dc_.windowOrg.x() * sx,
                      dc_.viewportOrg.y() - dc_.windowOrg.y() * sy);
}

QTransform GdiCanvas::logicalToPainter() const
{
    if (!cacheValid_) {
        cache_ = dc_.world * pageTransform() * base_;
        if (!finiteTransform(cache_))
            cache_ = base_;
        cacheValid_ = true;
    }
    return cache_;
}

QPointF GdiCanvas::clampPoint(QPointF p) const
{
    auto c = [](double v) { return finite(v) ? std::clamp(v, -kCoordLimit, kCoordLimit) : 0.0; };
    return QPointF(c(p.x()), c(p.y()));
}

QPointF GdiCanvas::toPainter(QPointF logical) const
{
    return clampPoint(logicalToPainter().map(logical));
}

QPainterPath GdiCanvas::mapPath(const QPainterPath& logical) const
{
    QPainterPath p = logicalToPainter().map(logical);
    for (int i = 0; i < p.elementCount(); ++i) {
        const QPainterPath::Element e = p.elementAt(i);
        const QPointF c = clampPoint(QPointF(e.x, e.y));
        if (c.x() != e.x || c.y() != e.y)
            p.setElementPositionAt(i, c.x(), c.y());
    }
    return p;
}

// A logical box in the painter's pixels as GDI fills it: corners rounded, right and bottom
// edges outside. Returned in the form QPainter needs to cover exactly those pixels with an
// aliased one-pixel outline. Null for an empty box.
QRectF GdiCanvas::deviceBox(const QRectF& logicalBox) const
{
    const QPointF a = toPainter(logicalBox.topLeft());
    const QPointF b = toPainter(logicalBox.bottomRight());
    const double l = roundHalfUp(std::min(a.x(), b.x())), r = roundHalfUp(std::max(a.x(), b.x()));
    const double t = roundHalfUp(std::min(a.y(), b.y())), btm = roundHalfUp(std::max(a.y(), b.y()));
    if (r - l < 1 || btm - t < 1)
        return {};
    return QRectF(l, t, r - l - 1, btm - t - 1);
}

// ---- Saved states ---------------------------------------------------------------------------

bool GdiCanvas::saveDc()
{
    if (saved_.size() >= kMaxSavedStates)
        return false;
    saved_.push_back(dc_);
    return true;
}

bool GdiCanvas::restoreDc(int which)
{
    const qint64 count = qint64(saved_.size());
    const qint64 index = which < 0 ? count + which : qint64(which) - 1;
    if (which == 0 || index < 0 || index >= count)
        return false;
    dc_ = saved_[std::size_t(index)];
    saved_.resize(std::size_t(index));
    transformChanged();
    return true;
}

// ---- Clipping -------------------------------------------------------------------------------

void GdiCanvas::applyClip(const QRegion& region, int mode)
{
    const QRegion current = dc_.clip.value_or(QRegion(everything()));
    switch (mode) {
    case RGN_AND: dc_.clip = current.intersected(region); break;
    case RGN_OR: dc_.clip = current.united(region); break;
    case RGN_XOR: dc_.clip = current.xored(region); break;
    case RGN_DIFF: dc_.clip = current.subtracted(region); break;
    case RGN_COPY: dc_.clip = region; break;
    default: break;
    }
}

QRegion GdiCanvas::mapRegion(const QRegion& logical) const
{
    QRegion out;
    if (logical.rectCount() > kMaxRegionRects) {
        const QRectF box = deviceBox(QRectF(logical.boundingRect()).adjusted(0, 0, 1, 1));
        return box.isNull() ? QRegion() : QRegion(box.adjusted(0, 0, 1, 1).toRect());
    }
    for (const QRect& r : logical) {
        // QRect's right edge is inside; the logical region's rectangles end one unit further.
        const QRectF box = deviceBox(QRectF(r.x(), r.y(), r.width(), r.height()));
        if (!box.isNull())
            out += box.adjusted(0, 0, 1, 1).toRect();
    }
    return out;
}

void GdiCanvas::intersectClipRect(const QRectF& r)
{
    const QRectF box = deviceBox(r);
    applyClip(box.isNull() ? QRegion() : QRegion(box.adjusted(0, 0, 1, 1).toRect()), RGN_AND);
}

void GdiCanvas::excludeClipRect(const QRectF& r)
{
    const QRectF box = deviceBox(r);
    if (!box.isNull())
        applyClip(QRegion(box.adjusted(0, 0, 1, 1).toRect()), RGN_DIFF);
}

void GdiCanvas::offsetClip(QPointF d)
{
    if (!dc_.clip)
        return;
    const QPointF shift = toPainter(d) - toPainter(QPointF(0, 0));
    dc_.clip->translate(int(roundHalfUp(shift.x())), int(roundHalfUp(shift.y())));
}

void GdiCanvas::selectClipRegion(const std::optional<QRegion>& logicalRegion, int mode)
{
    if (!logicalRegion) {
        if (mode == RGN_COPY)
            dc_.clip.reset();
        return;
    }
    applyClip(mapRegion(*logicalRegion), mode);
}

void GdiCanvas::selectDeviceClipRegion(const std::optional<QRegion>& deviceRegion, int mode)
{
    if (!deviceRegion) {
        if (mode == RGN_COPY)
            dc_.clip.reset();
        return;
    }
    QRegion out;
    if (axisAligned(base_) && deviceRegion->rectCount() <= kMaxRegionRects) {
        for (const QRect& r : *deviceRegion) {
            const QRectF m = base_.mapRect(QRectF(r.x(), r.y(), r.width(), r.height()));
            const QPointF a = clampPoint(m.topLeft()), b = clampPoint(m.bottomRight());
            out += QRect(QPoint(int(roundHalfUp(a.x())), int(roundHalfUp(a.y()))),
                         QPoint(int(roundHalfUp(b.x())) - 1, int(roundHalfUp(b.y())) - 1));
        }
    } else {
        const QRectF m = base_.mapRect(QRectF(deviceRegion->boundingRect()));
        const QPointF a = clampPoint(m.topLeft()), b = clampPoint(m.bottomRight());
        out = QRegion(QRectF(a, b).toAlignedRect());
    }
    applyClip(out, mode);
}

// ---- Pens, brushes, painter set-up ----------------------------------------------------------

double GdiCanvas::penWidthInPainter() const
{
    const QTransform page = dc_.world * pageTransform();
    const double scale = std::sqrt(std::abs(page.determinant()));
    const double device = dc_.pen.width * (finite(scale) ? scale : 1.0);
    if (!(device > 1))
        return 0;  // one device pixel: a cosmetic pen
    const double baseScale = std::sqrt(std::abs(base_.determinant()));
    return std::min(device * (finite(baseScale) ? baseScale : 1.0), 65536.0);
}

QPen GdiCanvas::makePen() const
{
    if (dc_.pen.isNull())
        return QPen(Qt::NoPen);
    const double width = penWidthInPainter();
    QPen pen(dc_.pen.color);
    if (width == 0) {
        pen.setWidth(0);
        pen.setCosmetic(true);
        pen.setCapStyle(Qt::FlatCap);
        pen.setJoinStyle(Qt::MiterJoin);
        const QList<qreal> dashes = dashPattern(dc_.pen.style);
        if (!dashes.isEmpty())
            pen.setDashPattern(dashes);
        return pen;
    }
    pen.setWidthF(width);
    switch (dc_.pen.style & 0x0F00) {
    case 0x100: pen.setCapStyle(Qt::SquareCap); break;
    case 0x200: pen.setCapStyle(Qt::FlatCap); break;
    default: pen.setCapStyle(Qt::RoundCap); break;
    }
    switch (dc_.pen.style & 0xF000) {
    case 0x1000: pen.setJoinStyle(Qt::BevelJoin); break;
    case 0x2000: pen.setJoinStyle(Qt::MiterJoin); break;
    default: pen.setJoinStyle(Qt::RoundJoin); break;
    }
    return pen;
}

QBrush GdiCanvas::makeBrush(const Brush& b) const
{
    switch (b.style) {
    case Brush::Null: return QBrush(Qt::NoBrush);
    case Brush::Hatched: {
        static constexpr Qt::BrushStyle hatches[] = {Qt::HorPattern, Qt::VerPattern, Qt::FDiagPattern,
                                                     Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
        if (b.hatch >= 0 && b.hatch < 6)
            return QBrush(b.color, hatches[b.hatch]);
        return QBrush(b.color);
    }
    case Brush::Pattern:
        if (!b.pattern.isNull())
            return QBrush(b.pattern);
        return QBrush(b.color);
    case Brush::Solid: break;
    }
    return QBrush(b.color);
}

Qt::FillRule GdiCanvas::fillRule() const
{
    return dc_.polyFillMode == 2 ? Qt::WindingFill : Qt::OddEvenFill;
}

void GdiCanvas::prepare(QPainter& p) const
{
    p.setWorldTransform(painterOwn_);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (!clipKnown_ || appliedClip_ != dc_.clip) {
        if (callerClip_)
            p.setClipPath(*callerClip_);
        else
            p.setClipping(false);
        if (dc_.clip)
            p.setClipRegion(*dc_.clip, callerClip_ ? Qt::IntersectClip : Qt::ReplaceClip);
        appliedClip_ = dc_.clip;
        clipKnown_ = true;
    }
    p.setBackgroundMode(dc_.bkMode == 2 ? Qt::OpaqueMode : Qt::TransparentMode);
    p.setBackground(dc_.bkColor);
}

void GdiCanvas::draw(const QPainterPath& shape, bool fill, bool stroke)
{
    if (pathOpen_) {
        path_.addPath(shape);
        return;
    }
    prepare(painter_);
    QPainterPath p = shape;
    p.setFillRule(fillRule());
    painter_.setPen(stroke ? makePen() : QPen(Qt::NoPen));
    painter_.setBrush(fill ? makeBrush(dc_.brush) : QBrush(Qt::NoBrush));
    painter_.drawPath(p);
}

// ---- Lines and shapes -----------------------------------------------------------------------

void GdiCanvas::moveTo(QPointF p)
{
    dc_.position = p;
    if (pathOpen_)
        path_.moveTo(toPainter(p));
}

void GdiCanvas::lineTo(QPointF p)
{
    polylineTo(QPolygonF{p});
}

void GdiCanvas::polyline(const QPolygonF& points)
{
    if (points.size() < 2)
        return;
    QPainterPath path(toPainter(points[0]));
    for (int i = 1; i < points.size(); ++i)
        path.lineTo(toPainter(points[i]));
    draw(path, false, true);
}

void GdiCanvas::polylineTo(const QPolygonF& points)
{
    if (points.isEmpty())
        return;
    const QPointF start = toPainter(dc_.position);
    QPainterPath path(start);
    for (const QPointF& p : points)
        path.lineTo(toPainter(p));
    dc_.position = points.back();
    if (pathOpen_ && !path_.isEmpty() && path_.currentPosition() == start) {
        path_.connectPath(path);
        return;
    }
    draw(path, false, true);
}

void GdiCanvas::polygon(const QPolygonF& points)
{
    if (points.size() < 2)
        return;
    polyPolygon({points});
}

QPainterPath GdiCanvas::polyPath(const std::vector<QPolygonF>& parts, bool closed) const
{
    QPainterPath path;
    for (const QPolygonF& part : parts) {
        if (part.size() < 2)
            continue;
        path.moveTo(toPainter(part[0]));
        for (int i = 1; i < part.size(); ++i)
            path.lineTo(toPainter(part[i]));
        if (closed)
            path.closeSubpath();
    }
    return path;
}

void GdiCanvas::polyPolygon(const std::vector<QPolygonF>& polygons)
{
    const QPainterPath path = polyPath(polygons, true);
    if (!path.isEmpty())
        draw(path, true, true);
}

void GdiCanvas::polyPolyline(const std::vector<QPolygonF>& polylines)
{
    const QPainterPath path = polyPath(polylines, false);
    if (!path.isEmpty())
        draw(path, false, true);
}

void GdiCanvas::polyBezier(const QPolygonF& points, bool fromCurrent)
{
    int i = 0;
    QPointF start;
    if (fromCurrent) {
        start = toPainter(dc_.position);
    } else {
        if (points.size() < 4)
            return;
        start = toPainter(points[0]);
        i = 1;
    }
    QPainterPath path(start);
    for (; i + 2 < points.size(); i += 3) {
        path.cubicTo(toPainter(points[i]), toPainter(points[i + 1]), toPainter(points[i + 2]));
        if (fromCurrent)
            dc_.position = points[i + 2];
    }
    if (path.elementCount() < 2)
        return;
    if (fromCurrent && pathOpen_ && !path_.isEmpty() && path_.currentPosition() == start) {
        path_.connectPath(path);
        return;
    }
    draw(path, false, true);
}

void GdiCanvas::drawClosedShape(const QPainterPath& painterPath)
{
    if (!painterPath.isEmpty())
        draw(painterPath, true, true);
}

void GdiCanvas::rectangle(const QRectF& box)
{
    drawBox(box, std::nullopt);
}

void GdiCanvas::roundRect(const QRectF& box, QSizeF corner)
{
    drawBox(box, corner);
}

void GdiCanvas::drawBox(const QRectF& box, std::optional<QSizeF> corner)
{
    const QTransform t = logicalToPainter();
    QPainterPath path;
    if (axisAligned(t)) {
        const QRectF r = deviceBox(box);
        if (r.isNull())
            return;
        if (corner) {
            const double rx = std::min(std::abs(corner->width() * t.m11()) / 2, r.width() / 2);
            const double ry = std::min(std::abs(corner->height() * t.m22()) / 2, r.height() / 2);
            path.addRoundedRect(r, finite(rx) ? rx : 0, finite(ry) ? ry : 0);
        } else {
            path.addRect(r);
        }
    } else {
        QPainterPath logical;
        if (corner)
            logical.addRoundedRect(box.normalized(), std::abs(corner->width()) / 2, std::abs(corner->height()) / 2);
        else
            logical.addRect(box.normalized());
        path = mapPath(logical);
    }
    drawClosedShape(path);
}

bool GdiCanvas::ellipseBox(const QRectF& box, QRectF* out) const
{
    const QTransform t = logicalToPainter();
    if (axisAligned(t)) {
        *out = deviceBox(box);
        return !out->isNull();
    }
    *out = box.normalized();
    return out->width() > 0 && out->height() > 0;
}

void GdiCanvas::ellipse(const QRectF& box)
{
    QRectF r;
    if (!ellipseBox(box, &r))
        return;
    QPainterPath path;
    path.addEllipse(r);
    drawClosedShape(axisAligned(logicalToPainter()) ? path : mapPath(path));
}

// The arc of the ellipse in box from the radial through start to the radial through end, in
// the arc direction. Built in the painter's space when the mapping keeps axes (the usual
// case, where the direction is that seen on the picture), else in logical units.
QPainterPath GdiCanvas::arcPath(ArcKind kind, const QRectF& box, QPointF start, QPointF end, QPointF* endPoint) const
{
    QRectF r;
    if (!ellipseBox(box, &r))
        return {};
    const bool inPainter = axisAligned(logicalToPainter());
    if (inPainter) {
        start = toPainter(start);
        end = toPainter(end);
    }
    const QPointF c = r.center();
    const double a = r.width() / 2, b = r.height() / 2;
    if (!(a > 0) || !(b > 0))
        return {};
    auto angle = [&](QPointF p) {
        return std::atan2(-(p.y() - c.y()) / b, (p.x() - c.x()) / a) * 180.0 / M_PI;
    };
    const double startAngle = angle(start);
    double sweep = angle(end) - startAngle;
    if (dc_.arcDirection == 2) {
        while (sweep >= 0)
            sweep -= 360;
    } else {
        while (sweep <= 0)
            sweep += 360;
    }
    QPainterPath path;
    if (kind == ArcKind::Pie) {
        path.moveTo(c);
        path.arcTo(r, startAngle, sweep);
        path.closeSubpath();
    } else {
        path.arcMoveTo(r, startAngle);
        path.arcTo(r, startAngle, sweep);
        if (kind == ArcKind::Chord)
            path.closeSubpath();
    }
    const double endRad = (startAngle + sweep) * M_PI / 180.0;
    QPointF last(c.x() + a * std::cos(endRad), c.y() - b * std::sin(endRad));
    if (inPainter) {
        bool invertible = false;
        const QTransform inverse = logicalToPainter().inverted(&invertible);
        last = invertible ? inverse.map(last) : dc_.position;
        *endPoint = last;
        return path;
    }
    *endPoint = last;
    return mapPath(path);
}

void GdiCanvas::arc(ArcKind kind, const QRectF& box, QPointF start, QPointF end)
{
    QPointF last;
    QPainterPath path = arcPath(kind, box, start, end, &last);
    if (path.isEmpty())
        return;
    if (kind == ArcKind::ArcTo) {
        QPainterPath withLine(toPainter(dc_.position));
        withLine.lineTo(path.elementAt(0).x, path.elementAt(0).y);
        withLine.connectPath(path);
        dc_.position = last;
        draw(withLine, false, true);
        return;
    }
    draw(path, kind != ArcKind::Arc, true);
}

void GdiCanvas::angleArc(QPointF center, double radius, double startDeg, double sweepDeg)
{
    if (!finite(radius) || !finite(startDeg) || !finite(sweepDeg))
        return;
    sweepDeg = std::clamp(sweepDeg, -360.0, 360.0);
    startDeg = std::fmod(startDeg, 360.0);
    const QRectF box(center.x() - radius, center.y() - radius, 2 * radius, 2 * radius);
    QPainterPath logical(dc_.position);
    logical.arcTo(box, startDeg, sweepDeg);
    const double endRad = (startDeg + sweepDeg) * M_PI / 180.0;
    dc_.position = QPointF(center.x() + radius * std::cos(endRad), center.y() - radius * std::sin(endRad));
    draw(mapPath(logical), false, true);
}

void GdiCanvas::setPixel(QPointF p, const QColor& c)
{
    if (pathOpen_)
        return;
    prepare(painter_);
    const QPointF d = toPainter(p);
    painter_.fillRect(QRectF(std::floor(d.x()), std::floor(d.y()), 1, 1), c);
}

void GdiCanvas::fillRegion(const QRegion& logical, const Brush& brush)
{
    if (pathOpen_)
        return;
    QPainterPath path;
    path.addRegion(mapRegion(logical));
    prepare(painter_);
    painter_.fillPath(path, makeBrush(brush));
}

void GdiCanvas::frameRegion(const QRegion& logical, const Brush& brush, QSizeF frame)
{
    const QRegion r = mapRegion(logical);
    const QTransform t = logicalToPainter();
    auto thickness = [](double v) { return finite(v) ? int(std::clamp(roundHalfUp(std::abs(v)), 1.0, 4096.0)) : 1; };
    const int fw = thickness(frame.width() * t.m11());
    const int fh = thickness(frame.height() * t.m22());
    const QRegion inner = r.intersected(r.translated(fw, 0)).intersected(r.translated(-fw, 0))
                              .intersected(r.translated(0, fh)).intersected(r.translated(0, -fh));
    QPainterPath path;
    path.addRegion(r.subtracted(inner));
    if (pathOpen_)
        return;
    prepare(painter_);
    painter_.fillPath(path, makeBrush(brush));
}

void GdiCanvas::invertRegion(const QRegion& logical)
{
    if (pathOpen_)
        return;
    QPainterPath path;
    path.addRegion(mapRegion(logical));
    prepare(painter_);
    painter_.setCompositionMode(QPainter::RasterOp_NotDestination);
    painter_.fillPath(path, Qt::black);
    painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

// ---- Paths ----------------------------------------------------------------------------------

void GdiCanvas::beginPath()
{
    path_ = QPainterPath();
    pathOpen_ = true;
}

void GdiCanvas::abortPath()
{
    path_ = QPainterPath();
    pathOpen_ = false;
}

void GdiCanvas::closeFigure()
{
    if (pathOpen_)
        path_.closeSubpath();
}

void GdiCanvas::fillPath()
{
    pathOpen_ = false;
    const QPainterPath p = std::exchange(path_, QPainterPath());
    draw(p, true, false);
}

void GdiCanvas::strokePath()
{
    pathOpen_ = false;
    const QPainterPath p = std::exchange(path_, QPainterPath());
    draw(p, false, true);
}

void GdiCanvas::strokeAndFillPath()
{
    pathOpen_ = false;
    const QPainterPath p = std::exchange(path_, QPainterPath());
    draw(p, true, true);
}

void GdiCanvas::selectClipPath(int mode)
{
    pathOpen_ = false;
    QPainterPath p = std::exchange(path_, QPainterPath());
    p.setFillRule(fillRule());
    // Only the part over the painter's device matters; a path reaching far beyond it would
    // make a region of very many scan lines.
    if (const QPaintDevice* device = painter_.device()) {
        bool invertible = false;
        const QTransform toPainter = painterOwn_.inverted(&invertible);
        if (invertible) {
            const QRectF area = toPainter.mapRect(QRectF(0, 0, device->width(), device->height()));
            QPainterPath visible;
            visible.addRect(area.adjusted(-2, -2, 2, 2));
            p = p.intersected(visible);
        }
    }
    const QPolygon polygon = p.toFillPolygon().toPolygon();
    applyClip(polygon.size() < 3 ? QRegion() : QRegion(polygon, fillRule()), mode);
}

} // namespace px::gdi
