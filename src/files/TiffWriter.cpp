#include "files/TiffWriter.h"

#include <QList>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace px {

namespace {

// Field types of an image file directory entry.
constexpr quint16 kShort = 3;
constexpr quint16 kLong = 4;
constexpr quint16 kRational = 5;
constexpr quint16 kAscii = 2;

constexpr char kSoftware[] = "Tarvel sys";  // written as its 10 characters, without a zero
constexpr int kSoftwareLength = 10;
constexpr quint32 kResolutionNumerator = 877;
constexpr quint32 kResolutionDenominator = 10;

constexpr qint64 kChunkBytes = 1 << 20;  // strip data is handed to the device in pieces of this size

// The 16 standard colours of a 4-bit picture, in their usual order.
const QList<QRgb>& standardColours16()
{
    static const QList<QRgb> colours = {
        qRgb(0x00, 0x00, 0x00), qRgb(0x80, 0x00, 0x00), qRgb(0x00, 0x80, 0x00), qRgb(0x80, 0x80, 0x00),
        qRgb(0x00, 0x00, 0x80), qRgb(0x80, 0x00, 0x80), qRgb(0x00, 0x80, 0x80), qRgb(0xC0, 0xC0, 0xC0),
        qRgb(0x80, 0x80, 0x80), qRgb(0xFF, 0x00, 0x00), qRgb(0x00, 0xFF, 0x00), qRgb(0xFF, 0xFF, 0x00),
        qRgb(0x00, 0x00, 0xFF), qRgb(0xFF, 0x00, 0xFF), qRgb(0x00, 0xFF, 0xFF), qRgb(0xFF, 0xFF, 0xFF),
    };
    return colours;
}

class LittleEndianBuffer {
public:
    void u16(quint32 v)
    {
        bytes_.append(char(v & 0xFF));
        bytes_.append(char((v >> 8) & 0xFF));
    }
    void u32(quint32 v)
    {
        u16(v & 0xFFFF);
        u16(v >> 16);
    }
    void raw(const char* data, qsizetype size) { bytes_.append(data, size); }
    // One directory entry. A SHORT value stands in the low two bytes of the value field;
    // values that do not fit a SHORT are written as LONG so that large sizes stay correct.
    void entry(quint16 tag, quint16 type, quint32 count, quint32 value)
    {
        if (type == kShort && count == 1 && value > 0xFFFF)
            type = kLong;
        u16(tag);
        u16(type);
        u32(count);
        if (type == kShort && count == 1) {
            u16(value);
            u16(0);
        } else {
            u32(value);
        }
    }
    const QByteArray& bytes() const { return bytes_; }
    void clear() { bytes_.clear(); }

private:
    QByteArray bytes_;
};

// Collects the strip's rows in one reused buffer and hands it to the device whenever it is
// full, so that large pictures need neither a second full copy nor many small writes.
class StripSink {
public:
    explicit StripSink(QIODevice& device, qsizetype rowBytes)
        : device_(device), chunk_(std::max<qsizetype>(kChunkBytes, rowBytes), Qt::Uninitialized)
    {
    }
    // Room for the next row, which the caller fills and then commits.
    uchar* nextRow(qsizetype rowBytes)
    {
        if (used_ + rowBytes > chunk_.size() && !flush())
            return nullptr;
        return reinterpret_cast<uchar*>(chunk_.data()) + used_;
    }
    void commit(qsizetype rowBytes) { used_ += rowBytes; }
    bool flush()
    {
        const bool ok = used_ == 0 || device_.write(chunk_.constData(), used_) == used_;
        used_ = 0;
        return ok;
    }
    static bool writeAll(QIODevice& device, const QByteArray& bytes)
    {
        return bytes.isEmpty() || device.write(bytes) == bytes.size();
    }

private:
    QIODevice& device_;
    QByteArray chunk_;
    qsizetype used_ = 0;
};

// A copy in ARGB32 or RGB32 (whose colour bytes are read alike), converting only when needed.
QImage trueColour(const QImage& image)
{
    if (image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32)
        return image;
    return image.convertToFormat(QImage::Format_ARGB32);
}

// The same colours without alpha, so that transparency plays no part in a colour reduction.
QImage opaque(const QImage& image)
{
    QImage out = trueColour(image);
    if (out.format() == QImage::Format_RGB32)
        return out;
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            line[x] |= 0xFF000000u;
    }
    out.reinterpretAsFormat(QImage::Format_RGB32);
    return out;
}

// An 8-bit indexed copy whose colour table has at most `colours` entries.
QImage indexed(const QImage& image, int colours)
{
    if (image.format() == QImage::Format_Indexed8 && image.colorCount() <= colours)
        return image;
    const QImage rgb = opaque(image);
    // Qt keeps the picture's own colours when there are at most 256 of them.
    QImage out = rgb.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
    if (out.colorCount() > colours)
        out = rgb.convertToFormat(QImage::Format_Indexed8, standardColours16(), Qt::ThresholdDither);
    return out;
}

struct Layout {
    quint32 rowBytes = 0;
    quint64 stripBytes = 0;
};

bool fail(QString* error, const QString& message)
{
    if (error)
        *error = message;
    return false;
}

} // namespace

bool WriteTiff(const QImage& image, int bitsPerPixel, QIODevice& device, QString* error)
{
    if (image.isNull())
        return fail(error, QStringLiteral("empty picture"));
    int n = bitsPerPixel;
    switch (bitsPerPixel) {
    case 0: n = 24; break;                  // the device format is 32 bits, written as RGB
    case 15: case 16: case 32: n = 24; break;  // no layout of their own: written as RGB
    case 1: case 4: case 8: case 24: break;
    default: return fail(error, QStringLiteral("unsupported pixel format (%1 bits)").arg(bitsPerPixel));
    }
    if (!device.isWritable())
        return fail(error, QStringLiteral("the file is not open for writing"));

    const quint32 w = quint32(image.width());
    const quint32 h = quint32(image.height());
    Layout layout;
    switch (n) {
    case 1: layout.rowBytes = (w + 7) / 8; break;
    case 4: layout.rowBytes = (w + 1) / 2; break;  // every column is kept, odd widths too
    case 8: layout.rowBytes = w; break;
    default: layout.rowBytes = w * 3; break;
    }
    layout.stripBytes = quint64(layout.rowBytes) * h;
    const quint32 colourCount = n == 4 ? 16 : n == 8 ? 256 : 0;
    const quint64 colourMapBytes = quint64(colourCount) * 3 * 2;
    const quint32 entryCount = n == 1 ? 14 : 15;
    const quint64 ifdBytes = 2 + quint64(entryCount) * 12 + 4;
    const quint64 fileBytes = 8 + colourMapBytes + 8 + 8 + (n == 24 ? 6 : 0) + kSoftwareLength
        + layout.stripBytes + ifdBytes;
    // Every offset in the file is a 32-bit number.
    if (fileBytes > 0xFFFFFFFFull)
        return fail(error, QStringLiteral("picture too large for a TIFF file (%1 x %2)").arg(w).arg(h));

    // All offsets follow from the sizes, so the header can carry the directory's offset at
    // once and the file is written front to back.
    quint32 strip = 0, xres = 0, yres = 0, software = 0, bitsPerSample = 0, ifd = 0;
    const quint32 stripBytes = quint32(layout.stripBytes);
    if (n == 1) {
        strip = 8;
        xres = strip + stripBytes;
        yres = xres + 8;
        software = yres + 8;
        ifd = software + kSoftwareLength;
    } else if (n == 24) {
        xres = 8;
        yres = 16;
        bitsPerSample = 24;
        software = 30;
        strip = 40;
        ifd = strip + stripBytes;
    } else {
        xres = 8 + quint32(colourMapBytes);
        yres = xres + 8;
        software = yres + 8;
        strip = software + kSoftwareLength;
        ifd = strip + stripBytes;
    }

    LittleEndianBuffer head;
    head.raw("II", 2);
    head.u16(42);
    head.u32(ifd);

    QImage pixels;
    if (n == 4 || n == 8) {
        pixels = indexed(image, int(colourCount));
        // Three arrays, all red, all green, all blue; each component is stored times 256.
        const QList<QRgb> table = pixels.colorTable();
        for (int channel = 0; channel < 3; ++channel)
            for (quint32 i = 0; i < colourCount; ++i) {
                const QRgb c = i < quint32(table.size()) ? table[qsizetype(i)] : 0;
                const int component = channel == 0 ? qRed(c) : channel == 1 ? qGreen(c) : qBlue(c);
                head.u16(quint32(component) << 8);
            }
    } else {
        pixels = trueColour(image);
    }
    auto resolutionsAndSoftware = [&] {
        head.u32(kResolutionNumerator);
        head.u32(kResolutionDenominator);
        head.u32(kResolutionNumerator);
        head.u32(kResolutionDenominator);
        if (n == 24) {
            head.u16(8);
            head.u16(8);
            head.u16(8);
        }
        head.raw(kSoftware, kSoftwareLength);
    };
    if (n != 1)
        resolutionsAndSoftware();
    if (!StripSink::writeAll(device, head.bytes()))
        return fail(error, QStringLiteral("write failed: %1").arg(device.errorString()));
    head.clear();

    // The strip: rows from the top of the picture to the bottom, without padding.
    const qsizetype rowBytes = qsizetype(layout.rowBytes);
    StripSink sink(device, rowBytes);
    for (quint32 y = 0; y < h; ++y) {
        uchar* out = sink.nextRow(rowBytes);
        if (!out)
            return fail(error, QStringLiteral("write failed: %1").arg(device.errorString()));
        const uchar* line = pixels.constScanLine(int(y));
        if (n == 1) {
            std::memset(out, 0, layout.rowBytes);
            const auto* rgb = reinterpret_cast<const QRgb*>(line);
            for (quint32 x = 0; x < w; ++x)
                if (qGray(rgb[x]) >= 128)  // black is zero
                    out[x >> 3] |= uchar(0x80 >> (x & 7));
        } else if (n == 4) {
            std::memset(out, 0, layout.rowBytes);
            for (quint32 x = 0; x < w; ++x)
                out[x >> 1] |= uchar((line[x] & 0x0F) << ((x & 1) ? 0 : 4));
        } else if (n == 8) {
            std::memcpy(out, line, w);
        } else {
            const auto* rgb = reinterpret_cast<const QRgb*>(line);
            for (quint32 x = 0; x < w; ++x) {
                out[3 * x] = uchar(qRed(rgb[x]));
                out[3 * x + 1] = uchar(qGreen(rgb[x]));
                out[3 * x + 2] = uchar(qBlue(rgb[x]));
            }
        }
        sink.commit(rowBytes);
    }
    if (!sink.flush())
        return fail(error, QStringLiteral("write failed: %1").arg(device.errorString()));

    if (n == 1)
        resolutionsAndSoftware();
    head.u16(entryCount);
    head.entry(254, kLong, 1, 0);       // NewSubfileType
    head.entry(256, kShort, 1, w);      // ImageWidth
    head.entry(257, kShort, 1, h);      // ImageLength
    if (n == 24)
        head.entry(258, kShort, 3, bitsPerSample);  // BitsPerSample: offset of 8, 8, 8
    else
        head.entry(258, kShort, 1, quint32(n));
    head.entry(259, kShort, 1, 1);      // Compression: none
    head.entry(262, kShort, 1, n == 1 ? 1 : n == 24 ? 2 : 3);  // black is zero, RGB, palette
    head.entry(273, kLong, 1, strip);   // StripOffsets
    head.entry(277, kShort, 1, n == 24 ? 3 : 1);  // SamplesPerPixel
    head.entry(278, kLong, 1, h);       // RowsPerStrip
    head.entry(279, kLong, 1, stripBytes);  // StripByteCounts
    head.entry(282, kRational, 1, xres);
    head.entry(283, kRational, 1, yres);
    if (n == 24)
        head.entry(284, kShort, 1, 1);  // PlanarConfiguration: chunky
    head.entry(296, kShort, 1, 2);      // ResolutionUnit: inch
    head.entry(305, kAscii, kSoftwareLength, software);
    if (n == 4 || n == 8)
        head.entry(320, kShort, 3 * colourCount, 8);  // ColorMap
    head.u32(0);                        // no further directory
    if (!StripSink::writeAll(device, head.bytes()))
        return fail(error, QStringLiteral("write failed: %1").arg(device.errorString()));
    return true;
}

} // namespace px
