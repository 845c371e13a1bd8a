// Enhanced metafiles: the header and the record player. Every record starts with its type
// and its size in bytes; offsets inside a record count from the record's start.
#include "files/MetafileRecords.h"

#include "platform/TextDecoding.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace px::gdi {

namespace {

constexpr quint32 kEmfSignature = 0x464D4520u;  // " EMF"
constexpr int kEmfHeaderMin = 88;

enum : quint32 {
    EMR_HEADER = 1, EMR_POLYBEZIER = 2, EMR_POLYGON = 3, EMR_POLYLINE = 4, EMR_POLYBEZIERTO = 5,
    EMR_POLYLINETO = 6, EMR_POLYPOLYLINE = 7, EMR_POLYPOLYGON = 8, EMR_SETWINDOWEXTEX = 9,
    EMR_SETWINDOWORGEX = 10, EMR_SETVIEWPORTEXTEX = 11, EMR_SETVIEWPORTORGEX = 12, EMR_EOF = 14,
    EMR_SETPIXELV = 15, EMR_SETMAPMODE = 17, EMR_SETBKMODE = 18, EMR_SETPOLYFILLMODE = 19,
    EMR_SETTEXTALIGN = 22, EMR_SETTEXTCOLOR = 24, EMR_SETBKCOLOR = 25, EMR_OFFSETCLIPRGN = 26,
    EMR_MOVETOEX = 27, EMR_EXCLUDECLIPRECT = 29, EMR_INTERSECTCLIPRECT = 30, EMR_SCALEVIEWPORTEXTEX = 31,
    EMR_SCALEWINDOWEXTEX = 32, EMR_SAVEDC = 33, EMR_RESTOREDC = 34, EMR_SETWORLDTRANSFORM = 35,
    EMR_MODIFYWORLDTRANSFORM = 36, EMR_SELECTOBJECT = 37, EMR_CREATEPEN = 38, EMR_CREATEBRUSHINDIRECT = 39,
    EMR_DELETEOBJECT = 40, EMR_ANGLEARC = 41, EMR_ELLIPSE = 42, EMR_RECTANGLE = 43, EMR_ROUNDRECT = 44,
    EMR_ARC = 45, EMR_CHORD = 46, EMR_PIE = 47, EMR_CREATEPALETTE = 49, EMR_LINETO = 54, EMR_ARCTO = 55,
    EMR_SETARCDIRECTION = 57, EMR_BEGINPATH = 59, EMR_ENDPATH = 60, EMR_CLOSEFIGURE = 61, EMR_FILLPATH = 62,
    EMR_STROKEANDFILLPATH = 63, EMR_STROKEPATH = 64, EMR_SELECTCLIPPATH = 67, EMR_ABORTPATH = 68,
    EMR_FILLRGN = 71, EMR_FRAMERGN = 72, EMR_INVERTRGN = 73, EMR_PAINTRGN = 74, EMR_EXTSELECTCLIPRGN = 75,
    EMR_BITBLT = 76, EMR_STRETCHBLT = 77, EMR_SETDIBITSTODEVICE = 80, EMR_STRETCHDIBITS = 81,
    EMR_EXTCREATEFONTINDIRECTW = 82, EMR_EXTTEXTOUTA = 83, EMR_EXTTEXTOUTW = 84, EMR_POLYBEZIER16 = 85,
    EMR_POLYGON16 = 86, EMR_POLYLINE16 = 87, EMR_POLYBEZIERTO16 = 88, EMR_POLYLINETO16 = 89,
    EMR_POLYPOLYLINE16 = 90, EMR_POLYPOLYGON16 = 91, EMR_CREATEMONOBRUSH = 93,
    EMR_CREATEDIBPATTERNBRUSHPT = 94, EMR_EXTCREATEPEN = 95, EMR_ALPHABLEND = 114,
    EMR_TRANSPARENTBLT = 116,
};

constexpr int ETO_GLYPH_INDEX = 0x10;
constexpr int ETO_PDY = 0x2000;

quint32 u32At(const QByteArray& d, qint64 at) { return qFromLittleEndian<quint32>(d.constData() + at); }
qint32 s32At(const QByteArray& d, qint64 at) { return qint32(u32At(d, at)); }

class EmfPlayer {
public:
    EmfPlayer(GdiCanvas& canvas, const EmfHeader& header, const MetafileLimits& limits)
        : c_(canvas), limits_(limits), handleCount_(header.handleCount)
    {
    }

    void play(quint32 type, RecordBytes& r);

private:
    QPointF point32(RecordBytes& r)
    {
        const double x = r.s32();
        const double y = r.s32();
        return QPointF(x, y);
    }
    QRectF box(RecordBytes& r)
    {
        const double l = r.s32(), t = r.s32(), rt = r.s32(), b = r.s32();
        return QRectF(QPointF(l, t), QPointF(rt, b));
    }
    QPolygonF points(RecordBytes& r, qint64 count, bool small)
    {
        QPolygonF poly;
        if (count < 0 || !r.has(count * (small ? 4 : 8))) {
            r.fail();
            return poly;
        }
        poly.reserve(count);
        for (qint64 i = 0; i < count; ++i) {
            if (small) {
                const double x = r.s16();
                const double y = r.s16();
                poly.append(QPointF(x, y));
            } else {
                poly.append(point32(r));
            }
        }
        return poly;
    }
    QTransform xform(RecordBytes& r)
    {
        const double m11 = r.f32(), m12 = r.f32(), m21 = r.f32(), m22 = r.f32(), dx = r.f32(), dy = r.f32();
        return QTransform(m11, m12, m21, m22, dx, dy);
    }
    GdiObject* slot(quint32 index)
    {
        if (index == 0 || index >= quint32(handleCount_))
            return nullptr;
        if (index >= objects_.size())
            objects_.resize(index + 1);
        return &objects_[index];
    }
    void store(quint32 index, const GdiObject& o)
    {
        if (GdiObject* s = slot(index))
            *s = o;
    }
    void select(quint32 index)
    {
        if (index & 0x80000000u)
            c_.selectObject(StockObject(index & 0x7FFFFFFFu));
        else if (index < objects_.size())
            c_.selectObject(objects_[index]);
    }
    const GdiObject* brushAt(quint32 index)
    {
        if (index & 0x80000000u) {
            stockBrush_ = StockObject(index & 0x7FFFFFFFu);
            return stockBrush_.kind == GdiObject::BrushObject ? &stockBrush_ : nullptr;
        }
        if (index < objects_.size() && objects_[index].kind == GdiObject::BrushObject)
            return &objects_[index];
        return nullptr;
    }
    // A bitmap given by offsets inside the record (empty when absent or damaged).
    DibImage dib(RecordBytes& r, quint32 offBmi, quint32 cbBmi, quint32 offBits, quint32 cbBits, bool alpha = false)
    {
        if (cbBmi == 0)
            return {};
        const QByteArray bmi = r.slice(offBmi, cbBmi);
        const QByteArray bits = r.slice(offBits, cbBits);
        if (!r.ok() || bits.isEmpty())
            return {};
        return DecodeDib(bmi, bits, limits_.maxPixels, alpha);
    }
    void polyRecord(quint32 type, RecordBytes& r);
    void polyPolyRecord(quint32 type, RecordBytes& r);
    void textRecord(quint32 type, RecordBytes& r);
    void bltRecord(quint32 type, RecordBytes& r);
    void dibRecord(quint32 type, RecordBytes& r);
    void regionRecord(quint32 type, RecordBytes& r);

    GdiCanvas& c_;
    const MetafileLimits& limits_;
    int handleCount_;
    std::vector<GdiObject> objects_;
    GdiObject stockBrush_;
};

void EmfPlayer::polyRecord(quint32 type, RecordBytes& r)
{
    const bool small = type >= EMR_POLYBEZIER16;
    box(r);
    const qint64 count = r.u32();
    const QPolygonF poly = points(r, count, small);
    if (!r.ok())
        return;
    switch (small ? type - (EMR_POLYBEZIER16 - EMR_POLYBEZIER) : type) {
    case EMR_POLYBEZIER: c_.polyBezier(poly, false); break;
    case EMR_POLYGON: c_.polygon(poly); break;
    case EMR_POLYLINE: c_.polyline(poly); break;
    case EMR_POLYBEZIERTO: c_.polyBezier(poly, true); break;
    case EMR_POLYLINETO: c_.polylineTo(poly); break;
    default: break;
    }
}

void EmfPlayer::polyPolyRecord(quint32 type, RecordBytes& r)
{
    const bool small = type == EMR_POLYPOLYLINE16 || type == EMR_POLYPOLYGON16;
    box(r);
    const qint64 n = r.u32();
    const qint64 total = r.u32();
    if (!r.ok() || !r.has(n * 4) || !r.has(n * 4 + total * (small ? 4 : 8)))
        return;
    std::vector<qint64> counts;
    qint64 sum = 0;
    for (qint64 i = 0; i < n; ++i) {
        counts.push_back(r.u32());
        sum += counts.back();
    }
    if (sum > total)
        return;
    std::vector<QPolygonF> polys;
    for (qint64 count : counts)
        polys.push_back(points(r, count, small));
    if (!r.ok())
        return;
    if (type == EMR_POLYPOLYGON || type == EMR_POLYPOLYGON16)
        c_.polyPolygon(polys);
    else
        c_.polyPolyline(polys);
}

void EmfPlayer::textRecord(quint32 type, RecordBytes& r)
{
    box(r);
    r.u32();  // graphics mode
    r.f32();
    r.f32();  // scales
    const QPointF at = point32(r);
    const qint64 count = r.u32();
    const quint32 offString = r.u32();
    const int options = int(r.u32());
    const QRectF rect = box(r);
    const quint32 offDx = r.u32();
    if (!r.ok())
        return;
    const bool wide = type == EMR_EXTTEXTOUTW;
    const QByteArray bytes = r.slice(offString, count * (wide ? 2 : 1));
    if (!r.ok())
        return;
    // Glyph indices name glyphs of a font we may not have: only the background is drawn.
    QString s;
    if (!(options & ETO_GLYPH_INDEX))
        s = wide ? decodeUtf16LE(bytes) : decodeCp1252(bytes);
    std::vector<double> dx;
    const int step = (options & ETO_PDY) ? 2 : 1;
    RecordBytes advances = r;
    advances.seek(offDx);
    if (offDx != 0 && advances.ok() && advances.has(count * 4 * step)) {
        for (qint64 i = 0; i < count; ++i) {
            dx.push_back(advances.s32());
            if (step == 2)
                advances.s32();
        }
    }
    c_.text(at, s, options, rect, dx);
}

// BitBlt, StretchBlt, AlphaBlend and TransparentBlt share one layout; the bitmap's rows
// count from the top.
void EmfPlayer::bltRecord(quint32 type, RecordBytes& r)
{
    box(r);
    const double x = r.s32(), y = r.s32(), w = r.s32(), h = r.s32();
    const quint32 rop = r.u32();
    const double xSrc = r.s32(), ySrc = r.s32();
    xform(r);
    r.u32();  // background colour of the source
    r.u32();  // colour usage
    const quint32 offBmi = r.u32(), cbBmi = r.u32(), offBits = r.u32(), cbBits = r.u32();
    double wSrc = w, hSrc = h;
    if (type != EMR_BITBLT) {
        wSrc = r.s32();
        hSrc = r.s32();
    }
    if (!r.ok())
        return;
    const QRectF dest(x, y, w, h);
    if (type == EMR_BITBLT && cbBmi == 0) {
        c_.patBlt(dest, rop);
        return;
    }
    if (type == EMR_ALPHABLEND) {
        // The raster operation field holds the blend function: constant alpha and whether the
        // source has its own (premultiplied) alpha.
        const double constant = ((rop >> 16) & 0xFF) / 255.0;
        const bool sourceAlpha = (rop >> 24) & 1;
        DibImage image = dib(r, offBmi, cbBmi, offBits, cbBits, sourceAlpha);
        if (image.image.isNull())
            return;
        QImage pixels = image.image;
        if (sourceAlpha && pixels.format() == QImage::Format_ARGB32)
            pixels.reinterpretAsFormat(QImage::Format_ARGB32_Premultiplied);
        c_.alphaBlend(dest, pixels, QRectF(xSrc, ySrc, wSrc, hSrc), constant);
        return;
    }
    DibImage image = dib(r, offBmi, cbBmi, offBits, cbBits);
    if (type == EMR_TRANSPARENTBLT) {
        // The raster operation field holds the colour that stays transparent.
        if (image.image.isNull())
            return;
        const QRgb key = ColorFromRef(rop).rgb();
        QImage pixels = image.image.convertToFormat(QImage::Format_ARGB32);
        for (int row = 0; row < pixels.height(); ++row) {
            QRgb* line = reinterpret_cast<QRgb*>(pixels.scanLine(row));
            for (int col = 0; col < pixels.width(); ++col)
                if ((line[col] | 0xFF000000u) == key)
                    line[col] = 0;
        }
        c_.alphaBlend(dest, pixels, QRectF(xSrc, ySrc, wSrc, hSrc), 1.0);
        return;
    }
    c_.bitmap(dest, image.image, QRectF(xSrc, ySrc, wSrc, hSrc), rop);
}

// StretchDIBits and SetDIBitsToDevice: the source rectangle counts rows of a bottom-up bitmap
// from its last row.
void EmfPlayer::dibRecord(quint32 type, RecordBytes& r)
{
    box(r);
    const double x = r.s32(), y = r.s32(), xSrc = r.s32(), ySrc = r.s32(), wSrc = r.s32(), hSrc = r.s32();
    const quint32 offBmi = r.u32(), cbBmi = r.u32(), offBits = r.u32(), cbBits = r.u32();
    r.u32();  // colour usage
    if (type == EMR_STRETCHDIBITS) {
        const quint32 rop = r.u32();
        const double w = r.s32(), h = r.s32();
        if (!r.ok())
            return;
        const QRectF dest(x, y, w, h);
        const DibImage image = dib(r, offBmi, cbBmi, offBits, cbBits);
        c_.bitmap(dest, image.image, DibSourceRect(image, xSrc, ySrc, wSrc, hSrc), rop);
        return;
    }
    const double firstScan = r.u32();
    const qint64 scans = r.u32();
    if (!r.ok())
        return;
    DibImage image = dib(r, offBmi, cbBmi, offBits, cbBits);
    if (image.image.isNull() && scans > 0 && cbBmi >= 40) {
        // Only the scans given are stored while the header may give the whole height.
        QByteArray bmi = r.slice(offBmi, cbBmi);
        if (bmi.size() < 40)
            return;
        const qint32 height = s32At(bmi, 8);
        qToLittleEndian<qint32>(height < 0 ? -qint32(scans) : qint32(scans), bmi.data() + 8);
        const QByteArray bits = r.slice(offBits, cbBits);
        if (r.ok())
            image = DecodeDib(bmi, bits, limits_.maxPixels);
    }
    c_.bitmap(QRectF(x, y, wSrc, hSrc), image.image, DibSourceRect(image, xSrc, ySrc - firstScan, wSrc, hSrc),
              0x00CC0020u);
}

void EmfPlayer::regionRecord(quint32 type, RecordBytes& r)
{
    if (type == EMR_EXTSELECTCLIPRGN) {
        const qint64 cb = r.u32();
        const int mode = int(r.u32());
        if (!r.ok())
            return;
        const std::optional<QRegion> region = cb > 0 ? ReadRegionData(r, 16, std::min(cb, r.size() - 16)) : std::nullopt;
        c_.selectDeviceClipRegion(region, mode);
        return;
    }
    box(r);
    const qint64 cb = r.u32();
    const GdiObject* brush = nullptr;
    QSizeF stroke;
    if (type == EMR_FILLRGN || type == EMR_FRAMERGN)
        brush = brushAt(r.u32());
    if (type == EMR_FRAMERGN) {
        const double sw = r.s32(), sh = r.s32();
        stroke = QSizeF(sw, sh);
    }
    if (!r.ok())
        return;
    const qint64 at = r.pos();
    const std::optional<QRegion> region = ReadRegionData(r, at, std::min(cb, r.size() - at));
    if (!region)
        return;
    switch (type) {
    case EMR_FILLRGN: if (brush) c_.fillRegion(*region, brush->brush); break;
    case EMR_FRAMERGN: if (brush) c_.frameRegion(*region, brush->brush, stroke); break;
    case EMR_INVERTRGN: c_.invertRegion(*region); break;
    case EMR_PAINTRGN: c_.fillRegion(*region, c_.dc().brush); break;
    default: break;
    }
}

void EmfPlayer::play(quint32 type, RecordBytes& r)
{
    DcState& dc = c_.dc();
    switch (type) {
    case EMR_POLYBEZIER: case EMR_POLYGON: case EMR_POLYLINE: case EMR_POLYBEZIERTO: case EMR_POLYLINETO:
    case EMR_POLYBEZIER16: case EMR_POLYGON16: case EMR_POLYLINE16: case EMR_POLYBEZIERTO16:
    case EMR_POLYLINETO16:
        polyRecord(type, r);
        break;
    case EMR_POLYPOLYLINE: case EMR_POLYPOLYGON: case EMR_POLYPOLYLINE16: case EMR_POLYPOLYGON16:
        polyPolyRecord(type, r);
        break;
    case EMR_SETWINDOWEXTEX: { const QPointF p = point32(r); if (r.ok()) c_.setWindowExt(QSizeF(p.x(), p.y())); break; }
    case EMR_SETWINDOWORGEX: { const QPointF p = point32(r); if (r.ok()) c_.setWindowOrg(p); break; }
    case EMR_SETVIEWPORTEXTEX: { const QPointF p = point32(r); if (r.ok()) c_.setViewportExt(QSizeF(p.x(), p.y())); break; }
    case EMR_SETVIEWPORTORGEX: { const QPointF p = point32(r); if (r.ok()) c_.setViewportOrg(p); break; }
    case EMR_SCALEVIEWPORTEXTEX:
    case EMR_SCALEWINDOWEXTEX: {
        const double xNum = r.s32(), xDenom = r.s32(), yNum = r.s32(), yDenom = r.s32();
        if (!r.ok())
            break;
        if (type == EMR_SCALEWINDOWEXTEX)
            c_.scaleWindowExt(xNum, xDenom, yNum, yDenom);
        else
            c_.scaleViewportExt(xNum, xDenom, yNum, yDenom);
        break;
    }
    case EMR_SETPIXELV: {
        const QPointF p = point32(r);
        const quint32 color = r.u32();
        if (r.ok())
            c_.setPixel(p, ColorFromRef(color));
        break;
    }
    case EMR_SETMAPMODE: { const int v = int(r.u32()); if (r.ok()) c_.setMapMode(v); break; }
    case EMR_SETBKMODE: { const int v = int(r.u32()); if (r.ok()) dc.bkMode = v; break; }
    case EMR_SETPOLYFILLMODE: { const int v = int(r.u32()); if (r.ok()) dc.polyFillMode = v; break; }
    case EMR_SETTEXTALIGN: { const int v = int(r.u32()); if (r.ok()) dc.textAlign = v; break; }
    case EMR_SETARCDIRECTION: { const int v = int(r.u32()); if (r.ok() && (v == 1 || v == 2)) dc.arcDirection = v; break; }
    case EMR_SETTEXTCOLOR: { const quint32 v = r.u32(); if (r.ok()) dc.textColor = ColorFromRef(v); break; }
    case EMR_SETBKCOLOR: { const quint32 v = r.u32(); if (r.ok()) dc.bkColor = ColorFromRef(v); break; }
    case EMR_OFFSETCLIPRGN: { const QPointF p = point32(r); if (r.ok()) c_.offsetClip(p); break; }
    case EMR_MOVETOEX: { const QPointF p = point32(r); if (r.ok()) c_.moveTo(p); break; }
    case EMR_LINETO: { const QPointF p = point32(r); if (r.ok()) c_.lineTo(p); break; }
    case EMR_EXCLUDECLIPRECT: { const QRectF b = box(r); if (r.ok()) c_.excludeClipRect(b); break; }
    case EMR_INTERSECTCLIPRECT: { const QRectF b = box(r); if (r.ok()) c_.intersectClipRect(b); break; }
    case EMR_SAVEDC: c_.saveDc(); break;
    case EMR_RESTOREDC: { const int v = r.s32(); if (r.ok()) c_.restoreDc(v); break; }
    case EMR_SETWORLDTRANSFORM: { const QTransform t = xform(r); if (r.ok()) c_.setWorldTransform(t); break; }
    case EMR_MODIFYWORLDTRANSFORM: {
        const QTransform t = xform(r);
        const int mode = int(r.u32());
        if (r.ok())
            c_.modifyWorldTransform(t, mode);
        break;
    }
    case EMR_SELECTOBJECT: { const quint32 i = r.u32(); if (r.ok()) select(i); break; }
    case EMR_DELETEOBJECT: {
        const quint32 i = r.u32();
        if (GdiObject* s = r.ok() ? slot(i) : nullptr)
            *s = GdiObject();
        break;
    }
    case EMR_CREATEPEN: {
        const quint32 ih = r.u32(), style = r.u32();
        const double width = r.s32();
        r.s32();
        const quint32 color = r.u32();
        if (r.ok())
            store(ih, PenFromLog(style, width, color));
        break;
    }
    case EMR_EXTCREATEPEN: {
        const quint32 ih = r.u32();
        r.skip(16);  // pattern bitmap of the pen
        const quint32 style = r.u32(), width = r.u32(), brushStyle = r.u32(), color = r.u32();
        // Cosmetic pens are one pixel wide; a pen with a null brush draws nothing.
        const bool geometric = style & 0x00010000u;
        if (r.ok())
            store(ih, PenFromLog(brushStyle == 1 ? 5 : style, geometric ? double(width) : 0, color));
        break;
    }
    case EMR_CREATEBRUSHINDIRECT: {
        const quint32 ih = r.u32(), style = r.u32(), color = r.u32(), hatch = r.u32();
        if (r.ok())
            store(ih, BrushFromLog(style, color, hatch));
        break;
    }
    case EMR_CREATEDIBPATTERNBRUSHPT:
    case EMR_CREATEMONOBRUSH: {
        const quint32 ih = r.u32();
        r.u32();  // colour usage
        const quint32 offBmi = r.u32(), cbBmi = r.u32(), offBits = r.u32(), cbBits = r.u32();
        if (r.ok())
            store(ih, PatternBrush(dib(r, offBmi, cbBmi, offBits, cbBits).image));
        break;
    }
    case EMR_EXTCREATEFONTINDIRECTW: {
        const quint32 ih = r.u32();
        GdiObject o = ReadFontFields(r, true);
        const QByteArray face = r.slice(r.pos(), 64);
        if (!r.ok())
            break;
        QString name = decodeUtf16LE(face);
        if (const qsizetype nul = name.indexOf(QChar(0)); nul >= 0)
            name.truncate(nul);
        o.font.face = name;
        store(ih, o);
        break;
    }
    case EMR_CREATEPALETTE: {
        const quint32 ih = r.u32();
        if (r.ok())
            store(ih, PlaceholderObject());
        break;
    }
    case EMR_ANGLEARC: {
        const QPointF center = point32(r);
        const double radius = r.u32();
        const double start = r.f32(), sweep = r.f32();
        if (r.ok())
            c_.angleArc(center, radius, start, sweep);
        break;
    }
    case EMR_ELLIPSE: { const QRectF b = box(r); if (r.ok()) c_.ellipse(b); break; }
    case EMR_RECTANGLE: { const QRectF b = box(r); if (r.ok()) c_.rectangle(b); break; }
    case EMR_ROUNDRECT: {
        const QRectF b = box(r);
        const QPointF corner = point32(r);
        if (r.ok())
            c_.roundRect(b, QSizeF(corner.x(), corner.y()));
        break;
    }
    case EMR_ARC: case EMR_CHORD: case EMR_PIE: case EMR_ARCTO: {
        const QRectF b = box(r);
        const QPointF start = point32(r), end = point32(r);
        if (!r.ok())
            break;
        const auto kind = type == EMR_ARC ? GdiCanvas::ArcKind::Arc
                          : type == EMR_CHORD ? GdiCanvas::ArcKind::Chord
                          : type == EMR_PIE ? GdiCanvas::ArcKind::Pie : GdiCanvas::ArcKind::ArcTo;
        c_.arc(kind, b, start, end);
        break;
    }
    case EMR_BEGINPATH: c_.beginPath(); break;
    case EMR_ENDPATH: c_.endPath(); break;
    case EMR_CLOSEFIGURE: c_.closeFigure(); break;
    case EMR_FILLPATH: c_.fillPath(); break;
    case EMR_STROKEPATH: c_.strokePath(); break;
    case EMR_STROKEANDFILLPATH: c_.strokeAndFillPath(); break;
    case EMR_ABORTPATH: c_.abortPath(); break;
    case EMR_SELECTCLIPPATH: { const int mode = int(r.u32()); if (r.ok()) c_.selectClipPath(mode); break; }
    case EMR_FILLRGN: case EMR_FRAMERGN: case EMR_INVERTRGN: case EMR_PAINTRGN: case EMR_EXTSELECTCLIPRGN:
        regionRecord(type, r);
        break;
    case EMR_EXTTEXTOUTA:
    case EMR_EXTTEXTOUTW:
        textRecord(type, r);
        break;
    case EMR_BITBLT: case EMR_STRETCHBLT: case EMR_ALPHABLEND: case EMR_TRANSPARENTBLT:
        bltRecord(type, r);
        break;
    case EMR_STRETCHDIBITS:
    case EMR_SETDIBITSTODEVICE:
        dibRecord(type, r);
        break;
    default:
        // Comments (EMF+ among them: their drawing is repeated by ordinary records), palettes
        // and records we do not know are skipped.
        break;
    }
}

} // namespace

bool ReadEmfHeader(const QByteArray& data, EmfHeader* header, QString* error)
{
    auto fail = [&](const char* reason) {
        *error = QString::fromLatin1(reason);
        return false;
    };
    if (data.size() < kEmfHeaderMin || u32At(data, 0) != EMR_HEADER || u32At(data, 40) != kEmfSignature)
        return fail("not an enhanced metafile");
    const quint32 headerSize = u32At(data, 4);
    if (headerSize < kEmfHeaderMin || headerSize > quint32(data.size()))
        return fail("metafile header truncated");
    EmfHeader h;
    h.bounds = EdgeRect{s32At(data, 8), s32At(data, 12), s32At(data, 16), s32At(data, 20)};
    const qint64 fl = s32At(data, 24), ft = s32At(data, 28), fr = s32At(data, 32), fb = s32At(data, 36);
    h.handleCount = int(qFromLittleEndian<quint16>(data.constData() + 56));
    h.deviceSize = QSize(s32At(data, 72), s32At(data, 76));
    h.deviceMillimeters = QSizeF(s32At(data, 80), s32At(data, 84));
    if (headerSize >= 108) {
        // The same size in micrometres, more precise where a writer gives it.
        const double um = s32At(data, 100), vm = s32At(data, 104);
        if (um > 0 && vm > 0)
            h.deviceMillimeters = QSizeF(um / 1000, vm / 1000);
    }
    qint64 w = 0, ht = 0;
    if (fr > fl && fb > ft) {
        h.frame = EdgeRect{fl, ft, fr, fb};
        h.hasFrame = true;
        w = std::llround(double(fr - fl) * 96 / 2540);
        ht = std::llround(double(fb - ft) * 96 / 2540);
        w = std::max<qint64>(w, 1);
        ht = std::max<qint64>(ht, 1);
    } else {
        const qint64 bl = s32At(data, 8), bt = s32At(data, 12), br = s32At(data, 16), bb = s32At(data, 20);
        w = br - bl + 1;
        ht = bb - bt + 1;
        if (br < bl || bb < bt)
            return fail("empty picture frame");
    }
    if (w > INT32_MAX / 2 || ht > INT32_MAX / 2)
        return fail("picture frame too large");
    h.size = QSize(int(w), int(ht));
    *header = h;
    return true;
}

QString PlayEmf(const QByteArray& data, const EmfHeader& header, QPainter& painter, const QRectF& target,
                const MetafileLimits& limits, bool textAllowed)
{
    // The frame in the reference device's pixels is the part of the picture mapped onto target.
    QSizeF perUnit(96.0 / 2540, 96.0 / 2540);  // device pixels per 0.01 mm
    const QSizeF mm = header.deviceMillimeters;
    if (header.deviceSize.width() > 0 && header.deviceSize.height() > 0 && mm.width() > 0 && mm.height() > 0)
        perUnit = QSizeF(header.deviceSize.width() / (mm.width() * 100), header.deviceSize.height() / (mm.height() * 100));
    const EdgeRect& b = header.bounds;
    const QRectF bounds(QPointF(double(b.left), double(b.top)), QPointF(double(b.right) + 1, double(b.bottom) + 1));
    QRectF frame = bounds;
    if (header.hasFrame) {
        const EdgeRect& f = header.frame;
        frame = QRectF(QPointF(double(f.left) * perUnit.width(), double(f.top) * perUnit.height()),
                       QPointF(double(f.right) * perUnit.width(), double(f.bottom) * perUnit.height()));
        // A frame rounded to 0.01 mm misses whole pixels by up to 0.02 of a pixel; where the
        // bounds lie that close, they are the exact figure the writer meant.
        const double slack = 0.05;
        if (bounds.width() > 0 && bounds.height() > 0 && std::abs(frame.left() - bounds.left()) <= slack
            && std::abs(frame.top() - bounds.top()) <= slack && std::abs(frame.right() - bounds.right()) <= slack
            && std::abs(frame.bottom() - bounds.bottom()) <= slack)
            frame = bounds;
    }
    if (!(frame.width() > 0) || !(frame.height() > 0))
        return QStringLiteral("empty picture frame");
    const QTransform base(target.width() / frame.width(), 0, 0, target.height() / frame.height(),
                          target.x() - frame.x() * target.width() / frame.width(),
                          target.y() - frame.y() * target.height() / frame.height());
    QSizeF dpi(96, 96);
    if (header.deviceSize.width() > 0 && header.deviceSize.height() > 0 && mm.width() > 0 && mm.height() > 0)
        dpi = QSizeF(header.deviceSize.width() * 25.4 / mm.width(), header.deviceSize.height() * 25.4 / mm.height());
    GdiCanvas canvas(painter, base, dpi, textAllowed);
    EmfPlayer player(canvas, header, limits);

    qint64 pos = 0;
    int count = 0;
    const qint64 size = data.size();
    while (pos < size) {
        if (size - pos < 8)
            return {};
        const quint32 type = u32At(data, pos);
        const qint64 recordSize = u32At(data, pos + 4);
        if (recordSize < 8)
            return QStringLiteral("record size too small");
        if (recordSize > size - pos)
            return QStringLiteral("record runs past the end of the data");
        if (++count > limits.maxRecords)
            return QStringLiteral("too many records");
        if (type == EMR_EOF)
            return {};
        if (pos > 0) {
            RecordBytes r(data.constData() + pos, recordSize);
            r.seek(8);
            player.play(type, r);
        }
        pos += recordSize;
    }
    return {};
}

} // namespace px::gdi
