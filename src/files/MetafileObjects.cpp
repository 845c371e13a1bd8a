// The objects both metafile formats create: pens, brushes, stock objects, bitmaps, regions.
#include "files/MetafileRecords.h"

#include "files/DibReader.h"
#include "platform/WinTypes.h"

#include <algorithm>
#include <cmath>

namespace px::gdi {

QColor ColorFromRef(quint32 colorRef)
{
    // The high byte says how a palette device would pick the colour; the value is the same.
    return colorFromTColor(colorRef & 0x00FFFFFFu);
}

GdiObject PenFromLog(quint32 style, double width, quint32 color)
{
    GdiObject o;
    o.kind = GdiObject::PenObject;
    o.pen.style = int(style & 0xFFFFu);
    o.pen.width = std::isfinite(width) ? std::abs(width) : 0;
    o.pen.color = ColorFromRef(color);
    return o;
}

GdiObject BrushFromLog(quint32 style, quint32 color, quint32 hatch)
{
    GdiObject o;
    o.kind = GdiObject::BrushObject;
    Brush& brush = o.brush;
    brush.color = ColorFromRef(color);
    switch (style) {
    case 1: brush.style = Brush::Null; break;
    case 2:
        brush.style = Brush::Hatched;
        brush.hatch = int(std::min<quint32>(hatch, 6));
        break;
    default: brush.style = Brush::Solid; break;
    }
    return o;
}

GdiObject PatternBrush(const QImage& pattern)
{
    GdiObject o;
    o.kind = GdiObject::BrushObject;
    o.brush.color = Qt::black;
    if (!pattern.isNull()) {
        o.brush.style = Brush::Pattern;
        o.brush.pattern = pattern;
    }
    return o;
}

GdiObject PlaceholderObject()
{
    GdiObject o;
    o.kind = GdiObject::Other;
    return o;
}

GdiObject ReadFontFields(RecordBytes& r, bool wideFields)
{
    auto field = [&]() -> qint32 { return wideFields ? r.s32() : qint32(r.s16()); };
    GdiObject o;
    o.kind = GdiObject::FontObject;
    o.font.height = field();
    o.font.width = field();
    o.font.escapement = field();
    field();  // orientation
    o.font.weight = field();
    o.font.italic = r.u8();
    o.font.underline = r.u8();
    o.font.strikeOut = r.u8();
    r.skip(5);  // character set, precisions, quality, pitch and family
    return o;
}

GdiObject StockObject(quint32 index)
{
    GdiObject o;
    auto brush = [&](QColor c, Brush::Style style = Brush::Solid) {
        o.kind = GdiObject::BrushObject;
        o.brush.style = style;
        o.brush.color = c;
    };
    auto pen = [&](QColor c, int style = 0) {
        o.kind = GdiObject::PenObject;
        o.pen.style = style;
        o.pen.width = 0;
        o.pen.color = c;
    };
    switch (index) {
    case 0: brush(Qt::white); break;
    case 1: brush(QColor(0xC0, 0xC0, 0xC0)); break;
    case 2: brush(QColor(0x80, 0x80, 0x80)); break;
    case 3: brush(QColor(0x40, 0x40, 0x40)); break;
    case 4: brush(Qt::black); break;
    case 5: brush(Qt::black, Brush::Null); break;
    case 6: pen(Qt::white); break;
    case 7: pen(Qt::black); break;
    case 8: pen(Qt::black, 5); break;
    case 10: case 11: case 16:
        o.kind = GdiObject::FontObject;
        o.font.face = QStringLiteral("Courier New");
        break;
    case 12: case 13: case 14: case 17:
        o.kind = GdiObject::FontObject;
        o.font.face = QStringLiteral("Arial");
        break;
    case 18: brush(Qt::white); break;
    case 19: pen(Qt::black); break;
    default: break;
    }
    return o;
}

DibImage DecodeDib(const QByteArray& bmi, const QByteArray& bits, qint64 maxPixels, bool alpha)
{
    DibReadOptions options;
    options.maxPixels = std::min(maxPixels, kMaxDibPixels);
    options.alphaInFourthByte = alpha;
    DibReadResult read;
    if (bits.isEmpty()) {
        read = ReadDib(bmi, 0, options);
    } else {
        options.pixelOffset = bmi.size();
        read = ReadDib(bmi + bits, 0, options);
    }
    DibImage dib;
    if (read.error.isEmpty()) {
        dib.image = read.image;
        dib.topDown = read.topDown;
    }
    return dib;
}

QRectF DibSourceRect(const DibImage& dib, double x, double y, double w, double h)
{
    if (dib.topDown)
        return QRectF(x, y, w, h);
    return QRectF(x, dib.image.height() - y - h, w, h);
}

QImage DecodeBitmap16(RecordBytes& r, qint64 headerOffset, qint64 bitsOffset, qint64 maxPixels)
{
    r.seek(headerOffset);
    r.s16();  // type
    const qint64 width = r.s16(), height = r.s16(), rowBytes = r.s16();
    const int planes = r.u8(), bpp = r.u8();
    if (!r.ok() || width <= 0 || height <= 0 || planes != 1 || width * height > maxPixels)
        return {};
    if (bpp != 1 && bpp != 24 && bpp != 32)
        return {};
    if (rowBytes < (width * bpp + 7) / 8)
        return {};
    const QByteArray bits = r.slice(bitsOffset, rowBytes * height);
    if (bits.isEmpty())
        return {};
    QImage image(int(width), int(height), QImage::Format_RGB32);
    if (image.isNull())
        return {};
    const auto* d = reinterpret_cast<const uchar*>(bits.constData());
    for (int y = 0; y < height; ++y) {
        const uchar* row = d + qint64(y) * rowBytes;
        QRgb* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            if (bpp == 1) {
                out[x] = (row[x / 8] >> (7 - x % 8)) & 1 ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
            } else {
                const uchar* p = row + qint64(x) * (bpp / 8);
                out[x] = qRgb(p[2], p[1], p[0]);
            }
        }
    }
    return image;
}

std::optional<QRegion> ReadRegionData(RecordBytes& r, qint64 offset, qint64 size)
{
    constexpr int kMaxRects = 4096;
    // Region coordinates are kept well inside int so that rectangle arithmetic cannot overflow.
    auto c = [](qint32 v) { return std::clamp<qint32>(v, -(1 << 28), 1 << 28); };
    if (size < 32)
        return std::nullopt;
    r.seek(offset);
    r.u32();  // header size
    r.u32();  // type
    qint64 count = r.u32();
    r.u32();  // size of the rectangles
    const qint32 bl = r.s32(), bt = r.s32(), br = r.s32(), bb = r.s32();
    if (!r.ok())
        return std::nullopt;
    count = std::min(count, (size - 32) / 16);
    if (count > kMaxRects)
        return QRegion(rectFromLTRB(c(bl), c(bt), c(br), c(bb)));
    QRegion region;
    for (qint64 i = 0; i < count; ++i) {
        const qint32 l = c(r.s32()), t = c(r.s32()), rt = c(r.s32()), b = c(r.s32());
        if (!r.ok())
            break;
        if (rt > l && b > t)
            region += rectFromLTRB(l, t, rt, b);
    }
    return region;
}

} // namespace px::gdi
