// Windows metafiles (placeable and plain): the header and the record player. Parameters of
// the records are 16-bit words stored in reverse order of the drawing calls' arguments.
#include "files/MetafileRecords.h"

#include "platform/TextDecoding.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <vector>

namespace px::gdi {

namespace {

constexpr quint32 kPlaceableKey = 0x9AC6CDD7u;
constexpr int kPlaceableSize = 22;
constexpr int kHeaderSize = 18;
// Objects beyond this many are refused whatever the header says.
constexpr int kMaxObjects = 65535;

enum : quint16 {
    META_EOF = 0x0000, META_SAVEDC = 0x001E, META_REALIZEPALETTE = 0x0035, META_SETPALENTRIES = 0x0037,
    META_CREATEPALETTE = 0x00F7, META_SETBKMODE = 0x0102, META_SETMAPMODE = 0x0103, META_SETROP2 = 0x0104,
    META_SETRELABS = 0x0105, META_SETPOLYFILLMODE = 0x0106, META_SETSTRETCHBLTMODE = 0x0107,
    META_SETTEXTCHAREXTRA = 0x0108, META_RESTOREDC = 0x0127, META_INVERTREGION = 0x012A,
    META_PAINTREGION = 0x012B, META_SELECTCLIPREGION = 0x012C, META_SELECTOBJECT = 0x012D,
    META_SETTEXTALIGN = 0x012E, META_RESIZEPALETTE = 0x0139, META_DIBCREATEPATTERNBRUSH = 0x0142,
    META_SETLAYOUT = 0x0149, META_DELETEOBJECT = 0x01F0, META_CREATEPATTERNBRUSH = 0x01F9,
    META_SETBKCOLOR = 0x0201, META_SETTEXTCOLOR = 0x0209, META_SETTEXTJUSTIFICATION = 0x020A,
    META_SETWINDOWORG = 0x020B, META_SETWINDOWEXT = 0x020C, META_SETVIEWPORTORG = 0x020D,
    META_SETVIEWPORTEXT = 0x020E, META_OFFSETWINDOWORG = 0x020F, META_OFFSETVIEWPORTORG = 0x0211,
    META_LINETO = 0x0213, META_MOVETO = 0x0214, META_OFFSETCLIPRGN = 0x0220, META_FILLREGION = 0x0228,
    META_SETMAPPERFLAGS = 0x0231, META_SELECTPALETTE = 0x0234, META_CREATEPENINDIRECT = 0x02FA,
    META_CREATEFONTINDIRECT = 0x02FB, META_CREATEBRUSHINDIRECT = 0x02FC, META_POLYGON = 0x0324,
    META_POLYLINE = 0x0325, META_SCALEWINDOWEXT = 0x0410, META_SCALEVIEWPORTEXT = 0x0412,
    META_EXCLUDECLIPRECT = 0x0415, META_INTERSECTCLIPRECT = 0x0416, META_ELLIPSE = 0x0418,
    META_FLOODFILL = 0x0419, META_RECTANGLE = 0x041B, META_SETPIXEL = 0x041F, META_FRAMEREGION = 0x0429,
    META_ANIMATEPALETTE = 0x0436, META_TEXTOUT = 0x0521, META_POLYPOLYGON = 0x0538,
    META_EXTFLOODFILL = 0x0548, META_ROUNDRECT = 0x061C, META_PATBLT = 0x061D, META_ESCAPE = 0x0626,
    META_CREATEREGION = 0x06FF, META_ARC = 0x0817, META_PIE = 0x081A, META_CHORD = 0x0830,
    META_BITBLT = 0x0922, META_DIBBITBLT = 0x0940, META_EXTTEXTOUT = 0x0A32, META_STRETCHBLT = 0x0B23,
    META_DIBSTRETCHBLT = 0x0B41, META_SETDIBTODEV = 0x0D33, META_STRETCHDIB = 0x0F43,
};

quint32 u32At(const QByteArray& d, qint64 at) { return qFromLittleEndian<quint32>(d.constData() + at); }
quint16 u16At(const QByteArray& d, qint64 at) { return qFromLittleEndian<quint16>(d.constData() + at); }

// One record: its whole bytes (size and function first) and its function number.
struct Record {
    RecordBytes bytes;
    quint16 function = 0;
    qint64 words = 0;
};

// Walks the records from start. The callback returns false to stop early. Returns an empty
// string when the end record or the end of the data was reached, else the damage found.
template <typename F>
QString walkRecords(const QByteArray& data, qint64 start, const MetafileLimits& limits, F&& onRecord)
{
    qint64 pos = start;
    int count = 0;
    const qint64 size = data.size();
    while (pos < size) {
        if (size - pos < 6) {
            // A few stray bytes after the last record: nothing more to play.
            return {};
        }
        const qint64 words = u32At(data, pos);
        const quint16 function = u16At(data, pos + 4);
        if (function == META_EOF)
            return {};
        if (words < 3)
            return QStringLiteral("record size too small");
        if (words > (size - pos) / 2)
            return QStringLiteral("record runs past the end of the data");
        if (++count > limits.maxRecords)
            return QStringLiteral("too many records");
        Record r{RecordBytes(data.constData() + pos, words * 2), function, words};
        r.bytes.seek(6);
        if (!onRecord(r))
            return {};
        pos += words * 2;
    }
    return {};
}

class WmfPlayer {
public:
    WmfPlayer(GdiCanvas& canvas, const WmfHeader& header, const MetafileLimits& limits)
        : c_(canvas), limits_(limits),
          capacity_(header.objectCount > 0 ? std::min(header.objectCount, kMaxObjects) : kMaxObjects)
    {
    }

    void play(Record& rec);

private:
    QPointF point(RecordBytes& r)  // stored as y, x
    {
        const double y = r.s16();
        const double x = r.s16();
        return QPointF(x, y);
    }
    QRectF box(RecordBytes& r)  // stored as bottom, right, top, left
    {
        const double b = r.s16(), rt = r.s16(), t = r.s16(), l = r.s16();
        return QRectF(QPointF(l, t), QPointF(rt, b));
    }
    QPolygonF points(RecordBytes& r, qint64 count)
    {
        QPolygonF poly;
        if (count < 0 || !r.has(count * 4)) {
            r.fail();
            return poly;
        }
        poly.reserve(count);
        for (qint64 i = 0; i < count; ++i) {
            const double x = r.s16();
            const double y = r.s16();
            poly.append(QPointF(x, y));
        }
        return poly;
    }
    void create(const GdiObject& o)
    {
        // Each new object takes the lowest free slot of the table.
        if (!free_.empty()) {
            const int slot = *free_.begin();
            free_.erase(free_.begin());
            objects_[std::size_t(slot)] = o;
        } else if (int(objects_.size()) < capacity_) {
            objects_.push_back(o);
        }
    }
    const GdiObject* object(int index) const
    {
        if (index < 0 || std::size_t(index) >= objects_.size() || objects_[std::size_t(index)].kind == GdiObject::Empty)
            return nullptr;
        return &objects_[std::size_t(index)];
    }
    void destroy(int index)
    {
        if (!object(index))
            return;
        objects_[std::size_t(index)] = GdiObject();
        free_.insert(index);
    }
    void select(int index)
    {
        if (const GdiObject* o = object(index))
            c_.selectObject(*o);
    }
    QString text(RecordBytes& r, qint64 count)
    {
        const QByteArray bytes = r.slice(r.pos(), count);
        r.skip(count + (count & 1));
        return decodeCp1252(bytes);
    }
    void playText(RecordBytes& r);
    void playExtText(RecordBytes& r);
    void playBitmap(Record& rec);
    GdiObject readFont(RecordBytes& r);
    GdiObject readRegion(RecordBytes& r);

    GdiCanvas& c_;
    const MetafileLimits& limits_;
    int capacity_;
    std::vector<GdiObject> objects_;
    std::set<int> free_;
};

void WmfPlayer::playText(RecordBytes& r)
{
    const qint64 count = r.s16();
    if (count < 0 || !r.has(count))
        return;
    const QString s = text(r, count);
    const QPointF at = point(r);
    if (r.ok())
        c_.text(at, s, 0, QRectF(), {});
}

void WmfPlayer::playExtText(RecordBytes& r)
{
    const QPointF at = point(r);
    const qint64 count = r.s16();
    const int options = r.u16();
    QRectF rect;
    if (options & (ETO_OPAQUE | ETO_CLIPPED)) {
        const double l = r.s16(), t = r.s16(), rt = r.s16(), b = r.s16();
        rect = QRectF(QPointF(l, t), QPointF(rt, b));
    }
    if (!r.ok() || count < 0 || !r.has(count))
        return;
    const QString s = text(r, count);
    std::vector<double> dx;
    if (r.remaining() >= count * 2) {
        for (qint64 i = 0; i < count; ++i)
            dx.push_back(r.s16());
    }
    c_.text(at, s, options, rect, dx);
}

GdiObject WmfPlayer::readFont(RecordBytes& r)
{
    GdiObject o = ReadFontFields(r, false);
    QByteArray face = r.slice(r.pos(), std::min<qint64>(32, std::max<qint64>(0, r.remaining())));
    face.truncate(face.indexOf('\0') < 0 ? face.size() : face.indexOf('\0'));
    o.font.face = decodeCp1252(face);
    return o;
}

GdiObject WmfPlayer::readRegion(RecordBytes& r)
{
    GdiObject o;
    o.kind = GdiObject::RegionObject;
    r.skip(10);  // chain, object type, object count, region size
    const int scans = r.s16();
    r.s16();  // largest scan
    const double l = r.s16(), t = r.s16(), rt = r.s16(), b = r.s16();
    if (!r.ok())
        return o;
    if (scans <= 0) {
        o.region = QRegion(QRectF(QPointF(l, t), QPointF(rt, b)).normalized().toRect());
        return o;
    }
    int rects = 0;
    for (int s = 0; s < scans && r.ok(); ++s) {
        const int count = r.u16();
        const int top = r.s16(), bottom = r.s16();
        for (int i = 0; i + 1 < count && r.ok(); i += 2) {
            const int left = r.s16(), right = r.s16();
            if (right > left && bottom > top && ++rects <= 4096)
                o.region += QRect(left, top, right - left, bottom - top);
        }
        r.u16();  // the count again
    }
    if (rects > 4096)
        o.region = QRegion(QRectF(QPointF(l, t), QPointF(rt, b)).normalized().toRect());
    return o;
}

void WmfPlayer::playBitmap(Record& rec)
{
    RecordBytes& r = rec.bytes;
    const quint16 f = rec.function;
    // The bitmap forms without a bitmap are pattern operations: one extra reserved word and
    // nothing after it.
    const bool noBitmap = rec.words == qint64(f >> 8) + 3;
    if (f == META_SETDIBTODEV) {
        r.u16();  // colour usage
        const qint64 scanCount = r.u16(), firstScan = r.u16();
        const double ySrc = r.s16(), xSrc = r.s16();
        const double h = r.s16(), w = r.s16();
        const QPointF at = point(r);
        QByteArray packed = r.slice(r.pos(), std::max<qint64>(0, r.remaining()));
        if (!r.ok())
            return;
        DibImage dib = DecodeDib(packed, {}, limits_.maxPixels);
        if (dib.image.isNull() && scanCount > 0 && packed.size() >= 40 && u32At(packed, 0) >= 40) {
            // Only scanCount rows are stored while the header may give the whole height.
            const qint32 height = qint32(u32At(packed, 8));
            const qint32 rows = height < 0 ? -qint32(scanCount) : qint32(scanCount);
            qToLittleEndian<qint32>(rows, packed.data() + 8);
            dib = DecodeDib(packed, {}, limits_.maxPixels);
        }
        // The stored rows start at firstScan, counted from the bottom.
        c_.bitmap(QRectF(at.x(), at.y(), w, h), dib.image, DibSourceRect(dib, xSrc, ySrc - double(firstScan), w, h),
                  0x00CC0020u);
        return;
    }
    const quint32 rop = r.u32();
    QRectF dest;
    DibImage dib;
    if (f == META_STRETCHDIB) {
        r.u16();  // colour usage
        const double srcH = r.s16(), srcW = r.s16(), ySrc = r.s16(), xSrc = r.s16();
        const double h = r.s16(), w = r.s16();
        const QPointF at = point(r);
        dib = DecodeDib(r.slice(r.pos(), r.remaining()), {}, limits_.maxPixels);
        if (!r.ok())
            return;
        c_.bitmap(QRectF(at.x(), at.y(), w, h), dib.image, DibSourceRect(dib, xSrc, ySrc, srcW, srcH), rop);
        return;
    }
    const bool stretch = f == META_DIBSTRETCHBLT || f == META_STRETCHBLT;
    double srcH = 0, srcW = 0;
    if (stretch) {
        srcH = r.s16();
        srcW = r.s16();
    }
    const double ySrc = r.s16(), xSrc = r.s16();
    if (noBitmap)
        r.u16();
    const double h = r.s16(), w = r.s16();
    const QPointF at = point(r);
    if (!r.ok())
        return;
    dest = QRectF(at.x(), at.y(), w, h);
    if (!stretch) {
        srcW = w;
        srcH = h;
    }
    if (noBitmap) {
        c_.patBlt(dest, rop);
        return;
    }
    QImage image;
    if (f == META_DIBBITBLT || f == META_DIBSTRETCHBLT)
        image = DecodeDib(r.slice(r.pos(), r.remaining()), {}, limits_.maxPixels).image;
    else
        image = DecodeBitmap16(r, r.pos(), r.pos() + 10, limits_.maxPixels);
    // The source of these forms is a device context: its rows count from the top.
    c_.bitmap(dest, image, QRectF(xSrc, ySrc, srcW, srcH), rop);
}

void WmfPlayer::play(Record& rec)
{
    RecordBytes& r = rec.bytes;
    DcState& dc = c_.dc();
    switch (rec.function) {
    case META_SETBKCOLOR: { const quint32 v = r.u32(); if (r.ok()) dc.bkColor = ColorFromRef(v); break; }
    case META_SETTEXTCOLOR: { const quint32 v = r.u32(); if (r.ok()) dc.textColor = ColorFromRef(v); break; }
    case META_SETBKMODE: { const int v = r.u16(); if (r.ok()) dc.bkMode = v; break; }
    case META_SETPOLYFILLMODE: { const int v = r.u16(); if (r.ok()) dc.polyFillMode = v; break; }
    case META_SETTEXTALIGN: { const int v = r.u16(); if (r.ok()) dc.textAlign = v; break; }
    case META_SETMAPMODE: { const int v = r.u16(); if (r.ok()) c_.setMapMode(v); break; }
    case META_SETWINDOWORG: { const QPointF p = point(r); if (r.ok()) c_.setWindowOrg(p); break; }
    case META_SETWINDOWEXT: { const QPointF p = point(r); if (r.ok()) c_.setWindowExt(QSizeF(p.x(), p.y())); break; }
    case META_SETVIEWPORTORG: { const QPointF p = point(r); if (r.ok()) c_.setViewportOrg(p); break; }
    case META_SETVIEWPORTEXT: { const QPointF p = point(r); if (r.ok()) c_.setViewportExt(QSizeF(p.x(), p.y())); break; }
    case META_OFFSETWINDOWORG: { const QPointF p = point(r); if (r.ok()) c_.offsetWindowOrg(p); break; }
    case META_OFFSETVIEWPORTORG: { const QPointF p = point(r); if (r.ok()) c_.offsetViewportOrg(p); break; }
    case META_SCALEWINDOWEXT:
    case META_SCALEVIEWPORTEXT: {
        const double yDenom = r.s16(), yNum = r.s16(), xDenom = r.s16(), xNum = r.s16();
        if (!r.ok())
            break;
        if (rec.function == META_SCALEWINDOWEXT)
            c_.scaleWindowExt(xNum, xDenom, yNum, yDenom);
        else
            c_.scaleViewportExt(xNum, xDenom, yNum, yDenom);
        break;
    }
    case META_SAVEDC: c_.saveDc(); break;
    case META_RESTOREDC: { const int v = r.s16(); if (r.ok()) c_.restoreDc(v); break; }
    case META_MOVETO: { const QPointF p = point(r); if (r.ok()) c_.moveTo(p); break; }
    case META_LINETO: { const QPointF p = point(r); if (r.ok()) c_.lineTo(p); break; }
    case META_EXCLUDECLIPRECT: { const QRectF b = box(r); if (r.ok()) c_.excludeClipRect(b); break; }
    case META_INTERSECTCLIPRECT: { const QRectF b = box(r); if (r.ok()) c_.intersectClipRect(b); break; }
    case META_OFFSETCLIPRGN: { const QPointF p = point(r); if (r.ok()) c_.offsetClip(p); break; }
    case META_RECTANGLE: { const QRectF b = box(r); if (r.ok()) c_.rectangle(b); break; }
    case META_ELLIPSE: { const QRectF b = box(r); if (r.ok()) c_.ellipse(b); break; }
    case META_ROUNDRECT: {
        const double h = r.s16(), w = r.s16();
        const QRectF b = box(r);
        if (r.ok())
            c_.roundRect(b, QSizeF(w, h));
        break;
    }
    case META_ARC:
    case META_PIE:
    case META_CHORD: {
        const QPointF end = point(r), start = point(r);
        const QRectF b = box(r);
        if (!r.ok())
            break;
        const auto kind = rec.function == META_ARC ? GdiCanvas::ArcKind::Arc
                          : rec.function == META_PIE ? GdiCanvas::ArcKind::Pie : GdiCanvas::ArcKind::Chord;
        c_.arc(kind, b, start, end);
        break;
    }
    case META_POLYGON:
    case META_POLYLINE: {
        const qint64 n = r.s16();
        const QPolygonF poly = points(r, n);
        if (!r.ok())
            break;
        if (rec.function == META_POLYGON)
            c_.polygon(poly);
        else
            c_.polyline(poly);
        break;
    }
    case META_POLYPOLYGON: {
        const qint64 n = r.u16();
        std::vector<qint64> counts;
        for (qint64 i = 0; i < n && r.ok(); ++i)
            counts.push_back(r.u16());
        std::vector<QPolygonF> polys;
        for (qint64 count : counts)
            polys.push_back(points(r, count));
        if (r.ok())
            c_.polyPolygon(polys);
        break;
    }
    case META_SETPIXEL: {
        const quint32 color = r.u32();
        const QPointF p = point(r);
        if (r.ok())
            c_.setPixel(p, ColorFromRef(color));
        break;
    }
    case META_TEXTOUT: playText(r); break;
    case META_EXTTEXTOUT: playExtText(r); break;
    case META_PATBLT: {
        const quint32 rop = r.u32();
        const double h = r.s16(), w = r.s16();
        const QPointF at = point(r);
        if (r.ok())
            c_.patBlt(QRectF(at.x(), at.y(), w, h), rop);
        break;
    }
    case META_BITBLT:
    case META_STRETCHBLT:
    case META_DIBBITBLT:
    case META_DIBSTRETCHBLT:
    case META_STRETCHDIB:
    case META_SETDIBTODEV:
        playBitmap(rec);
        break;

    // Objects.
    case META_CREATEPENINDIRECT: {
        const quint32 style = r.u16();
        const double width = r.s16();
        r.s16();
        const quint32 color = r.u32();
        create(PenFromLog(style, width, color));
        break;
    }
    case META_CREATEBRUSHINDIRECT: {
        const quint32 style = r.u16();
        const quint32 color = r.u32();
        const quint32 hatch = r.u16();
        create(BrushFromLog(style, color, hatch));
        break;
    }
    case META_DIBCREATEPATTERNBRUSH:
    case META_CREATEPATTERNBRUSH: {
        QImage pattern;
        if (rec.function == META_DIBCREATEPATTERNBRUSH) {
            r.u32();  // brush style, colour usage
            pattern = DecodeDib(r.slice(r.pos(), std::max<qint64>(0, r.remaining())), {}, limits_.maxPixels).image;
        } else {
            pattern = DecodeBitmap16(r, 6, 6 + 32, limits_.maxPixels);
        }
        create(PatternBrush(pattern));
        break;
    }
    case META_CREATEFONTINDIRECT: create(readFont(r)); break;
    case META_CREATEREGION: create(readRegion(r)); break;
    case META_CREATEPALETTE: create(PlaceholderObject()); break;
    case META_SELECTOBJECT: { const int i = r.u16(); if (r.ok()) select(i); break; }
    case META_DELETEOBJECT: { const int i = r.u16(); if (r.ok()) destroy(i); break; }
    case META_SELECTCLIPREGION: {
        const int i = r.u16();
        if (!r.ok())
            break;
        const GdiObject* o = object(i);
        if (o && o->kind == GdiObject::RegionObject)
            c_.selectClipRegion(o->region, RGN_COPY);
        else
            c_.selectClipRegion(std::nullopt, RGN_COPY);
        break;
    }
    case META_FILLREGION:
    case META_FRAMEREGION: {
        const GdiObject* region = object(r.u16());
        const GdiObject* brush = object(r.u16());
        const double h = r.s16(), w = r.s16();
        if (!region || region->kind != GdiObject::RegionObject || !brush || brush->kind != GdiObject::BrushObject)
            break;
        if (rec.function == META_FILLREGION)
            c_.fillRegion(region->region, brush->brush);
        else if (r.ok())
            c_.frameRegion(region->region, brush->brush, QSizeF(w, h));
        break;
    }
    case META_PAINTREGION:
    case META_INVERTREGION: {
        const GdiObject* region = object(r.u16());
        if (!r.ok() || !region || region->kind != GdiObject::RegionObject)
            break;
        if (rec.function == META_PAINTREGION)
            c_.fillRegion(region->region, dc.brush);
        else
            c_.invertRegion(region->region);
        break;
    }
    default:
        // Palettes, escapes, flood fills and records we do not know are skipped.
        break;
    }
}

} // namespace

bool ReadWmfHeader(const QByteArray& data, const MetafileLimits& limits, WmfHeader* header, QString* error)
{
    auto fail = [&](const char* reason) {
        *error = QString::fromLatin1(reason);
        return false;
    };
    WmfHeader h;
    qint64 at = 0;
    if (data.size() >= 4 && u32At(data, 0) == kPlaceableKey) {
        if (data.size() < kPlaceableSize + kHeaderSize)
            return fail("metafile header truncated");
        const auto s16 = [&](qint64 o) { return double(qint16(u16At(data, o))); };
        const QRectF box = QRectF(QPointF(s16(6), s16(8)), QPointF(s16(10), s16(12))).normalized();
        const double inch = u16At(data, 14);
        if (inch == 0)
            return fail("placeable metafile without units per inch");
        if (box.width() <= 0 || box.height() <= 0)
            return fail("empty bounding box");
        h.placeable = true;
        h.frame = box;
        h.unitsPerInch = inch;
        h.size = QSize(std::max(1, int(std::lround(box.width() * 96 / inch))),
                       std::max(1, int(std::lround(box.height() * 96 / inch))));
        at = kPlaceableSize;
    }
    if (data.size() - at < kHeaderSize)
        return fail("metafile header truncated");
    const quint16 type = u16At(data, at), words = u16At(data, at + 2);
    if ((type != 1 && type != 2) || words != 9)
        return fail("not a Windows metafile");
    h.objectCount = u16At(data, at + 10);
    h.recordsStart = at + 2 * qint64(words);

    if (!h.placeable) {
        // A plain metafile's size is its first window extent.
        bool found = false;
        const QString damage = walkRecords(data, h.recordsStart, limits, [&](Record& rec) {
            if (rec.function != META_SETWINDOWEXT)
                return true;
            const double y = rec.bytes.s16(), x = rec.bytes.s16();
            if (rec.bytes.ok() && x != 0 && y != 0) {
                h.frame = QRectF(0, 0, std::abs(x), std::abs(y));
                h.size = QSize(int(std::abs(x)), int(std::abs(y)));
                found = true;
            }
            return !found;
        });
        if (!found)
            return fail(damage.isEmpty() ? "metafile without a window extent" : qPrintable(damage));
    }
    *header = h;
    return true;
}

QString PlayWmf(const QByteArray& data, const WmfHeader& header, QPainter& painter, const QRectF& target,
                const MetafileLimits& limits, bool textAllowed)
{
    const QRectF f = header.frame;
    const QTransform base(target.width() / f.width(), 0, 0, target.height() / f.height(),
                          target.x() - f.x() * target.width() / f.width(),
                          target.y() - f.y() * target.height() / f.height());
    const double dpi = header.placeable ? header.unitsPerInch : 96;
    GdiCanvas canvas(painter, base, QSizeF(dpi, dpi), textAllowed);
    // Until the records say otherwise the window is the frame and fills the picture; a window
    // the records set is mapped onto the frame.
    canvas.setMapMode(MM_ANISOTROPIC);
    canvas.setWindowOrg(f.topLeft());
    canvas.setWindowExt(f.size());
    canvas.setViewportOrg(f.topLeft());
    canvas.setViewportExt(f.size());
    WmfPlayer player(canvas, header, limits);
    return walkRecords(data, header.recordsStart, limits, [&](Record& rec) {
        player.play(rec);
        return true;
    });
}

} // namespace px::gdi
