#include "files/BmpFile.h"

#include "files/ColorReduction.h"
#include "files/LittleEndian.h"

#include <QtEndian>

#include <algorithm>

namespace px {

namespace {


QImage asRgb32(const QImage& image)
{
    return image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32);
}

// Components of 15/16-bit pixels widened back to 8 bits by repeating their high bits, so
// that full intensity stays full.
uint widen5(uint v) { return (v << 3) | (v >> 2); }
uint widen6(uint v) { return (v << 2) | (v >> 4); }

bool setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}

} // namespace

BmpPixelFormat BmpPixelFormatFromOption(int value)
{
    return value >= 0 && value <= 7 ? BmpPixelFormat(value) : BmpPixelFormat::Bit24;
}

int BmpBitsPerPixel(BmpPixelFormat format)
{
    switch (format) {
    case BmpPixelFormat::Bit1: return 1;
    case BmpPixelFormat::Bit4: return 4;
    case BmpPixelFormat::Bit8: return 8;
    case BmpPixelFormat::Bit15:
    case BmpPixelFormat::Bit16: return 16;
    case BmpPixelFormat::Bit24: return 24;
    case BmpPixelFormat::Device:
    case BmpPixelFormat::Bit32: return 32;
    }
    return 32;
}

QImage ConvertToBmpPixelFormat(const QImage& image, BmpPixelFormat format)
{
    if (image.isNull())
        return {};
    const int bits = BmpBitsPerPixel(format);
    if (bits <= 8)
        return ReduceToPalette(image, 1 << bits).convertToFormat(QImage::Format_RGB32);
    QImage out = asRgb32(image).copy();
    if (format == BmpPixelFormat::Bit15 || format == BmpPixelFormat::Bit16) {
        const bool six = format == BmpPixelFormat::Bit16;
        for (int y = 0; y < out.height(); ++y) {
            QRgb* line = reinterpret_cast<QRgb*>(out.scanLine(y));
            for (int x = 0; x < out.width(); ++x) {
                const QRgb c = line[x];
                line[x] = qRgb(int(widen5(uint(qRed(c)) >> 3)),
                               int(six ? widen6(uint(qGreen(c)) >> 2) : widen5(uint(qGreen(c)) >> 3)),
                               int(widen5(uint(qBlue(c)) >> 3)));
            }
        }
    }
    return out;
}

QImage ToMonochrome(const QImage& image)
{
    if (image.isNull())
        return {};
    QImage out = asRgb32(image).copy();
    for (int y = 0; y < out.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const QRgb c = line[x];
            const int luma = (299 * qRed(c) + 587 * qGreen(c) + 114 * qBlue(c)) / 1000;
            line[x] = luma >= 128 ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
        }
    }
    return out;
}

BmpBitmap ApplyBmpOptions(const QImage& image, BmpPixelFormat pixelFormat, bool monochrome, BmpOptionOrder order)
{
    if (!monochrome)
        return {ConvertToBmpPixelFormat(image, pixelFormat), pixelFormat};
    if (order == BmpOptionOrder::PixelFormatFirst)
        return {ToMonochrome(ConvertToBmpPixelFormat(image, pixelFormat)), BmpPixelFormat::Bit1};
    return {ConvertToBmpPixelFormat(ToMonochrome(image), pixelFormat), pixelFormat};
}

bool WriteBmp(const QImage& image, BmpPixelFormat format, QIODevice& device, QString* error)
{
    if (image.isNull())
        return setError(error, QStringLiteral("no picture to write"));
    const int bits = BmpBitsPerPixel(format);
    const qint64 w = image.width(), h = image.height();
    const qint64 stride = (w * bits + 31) / 32 * 4;
    const qint64 paletteEntries = bits <= 8 ? qint64(1) << bits : 0;
    const qint64 maskBytes = format == BmpPixelFormat::Bit16 ? 12 : 0;
    const qint64 pixelOffset = 14 + 40 + maskBytes + paletteEntries * 4;
    const qint64 fileSize = pixelOffset + stride * h;
    if (fileSize > 0xFFFFFFFFLL || w > 0x7FFFFFFF || h > 0x7FFFFFFF)
        return setError(error, QStringLiteral("picture too large for a BMP file"));

    const QImage rgb = asRgb32(image);
    QImage indexed;
    if (bits <= 8) {
        indexed = ReduceToPalette(rgb, int(paletteEntries));
        if (indexed.isNull())
            return setError(error, QStringLiteral("not enough memory"));
    }

    QByteArray head;
    head.reserve(int(pixelOffset));
    head.append("BM", 2);
    put32(head, quint32(fileSize));
    put32(head, 0);
    put32(head, quint32(pixelOffset));
    put32(head, 40);
    put32(head, quint32(w));
    put32(head, quint32(h));  // positive: rows stored bottom-up
    put16(head, 1);
    put16(head, quint16(bits));
    put32(head, maskBytes ? 3u : 0u);  // BI_BITFIELDS for 5-6-5, else BI_RGB
    put32(head, quint32(stride * h));
    put32(head, quint32(std::max(0, image.dotsPerMeterX())));
    put32(head, quint32(std::max(0, image.dotsPerMeterY())));
    put32(head, 0);  // all palette entries are used
    put32(head, 0);
    if (maskBytes) {
        put32(head, 0xF800);
        put32(head, 0x07E0);
        put32(head, 0x001F);
    }
    if (paletteEntries) {
        const QList<QRgb> table = indexed.colorTable();
        for (qint64 i = 0; i < paletteEntries; ++i) {
            const QRgb c = i < table.size() ? table[int(i)] : qRgb(0, 0, 0);
            head.append(char(qBlue(c)));
            head.append(char(qGreen(c)));
            head.append(char(qRed(c)));
            head.append('\0');
        }
    }
    if (device.write(head) != head.size())
        return setError(error, device.errorString());

    // Rows go out in blocks of about a megabyte.
    const qint64 rowsPerBlock = std::max<qint64>(1, (1 << 20) / stride);
    QByteArray block;
    for (qint64 y = h - 1; y >= 0;) {
        const qint64 n = std::min(rowsPerBlock, y + 1);
        block.fill('\0', stride * n);
        for (qint64 k = 0; k < n; ++k, --y) {
            auto* dst = reinterpret_cast<uchar*>(block.data()) + k * stride;
            if (bits <= 8) {
                const uchar* src = indexed.constScanLine(int(y));
                const int perByte = 8 / bits;
                for (qint64 x = 0; x < w; ++x)
                    dst[x / perByte] |= uchar(src[x] << ((perByte - 1 - x % perByte) * bits));
                continue;
            }
            const QRgb* src = reinterpret_cast<const QRgb*>(rgb.constScanLine(int(y)));
            switch (format) {
            case BmpPixelFormat::Bit15:
            case BmpPixelFormat::Bit16:
                for (qint64 x = 0; x < w; ++x) {
                    const uint r = uint(qRed(src[x])), g = uint(qGreen(src[x])), b = uint(qBlue(src[x]));
                    const quint16 v = format == BmpPixelFormat::Bit16 ? quint16((r >> 3) << 11 | (g >> 2) << 5 | b >> 3)
                                                                      : quint16((r >> 3) << 10 | (g >> 3) << 5 | b >> 3);
                    qToLittleEndian(v, dst + 2 * x);
                }
                break;
            case BmpPixelFormat::Bit24:
                for (qint64 x = 0; x < w; ++x, dst += 3) {
                    dst[0] = uchar(qBlue(src[x]));
                    dst[1] = uchar(qGreen(src[x]));
                    dst[2] = uchar(qRed(src[x]));
                }
                break;
            default:
                // 32 bits: blue, green, red and the reserved byte. Windows ignores that byte,
                // but other readers take it for alpha; 255 shows the picture opaque in all.
                for (qint64 x = 0; x < w; ++x, dst += 4) {
                    dst[0] = uchar(qBlue(src[x]));
                    dst[1] = uchar(qGreen(src[x]));
                    dst[2] = uchar(qRed(src[x]));
                    dst[3] = 0xFF;
                }
                break;
            }
        }
        if (device.write(block) != block.size())
            return setError(error, device.errorString());
    }
    return true;
}

BmpReadResult ReadBmp(const QByteArray& file, qint64 maxPixels)
{
    BmpReadResult result;
    if (file.size() < 18 || !file.startsWith("BM")) {
        result.error = QStringLiteral("not a BMP file");
        return result;
    }
    DibReadOptions options;
    options.maxPixels = maxPixels;
    // An offset field that points into the headers is wrong; the pixels then follow the
    // colour table as usual.
    const quint32 offset = qFromLittleEndian<quint32>(file.constData() + 10);
    if (offset >= 18)
        options.pixelOffset = offset;
    const DibReadResult dib = ReadDib(file, 14, options);
    if (!dib.error.isEmpty()) {
        result.error = dib.error;
        return result;
    }
    result.image = dib.image;
    switch (dib.bitCount) {
    case 1: result.format = BmpPixelFormat::Bit1; break;
    case 2:
    case 4: result.format = BmpPixelFormat::Bit4; break;
    case 8: result.format = BmpPixelFormat::Bit8; break;
    case 16: result.format = dib.is555 ? BmpPixelFormat::Bit15 : BmpPixelFormat::Bit16; break;
    case 24: result.format = BmpPixelFormat::Bit24; break;
    default: result.format = BmpPixelFormat::Bit32; break;
    }
    return result;
}

} // namespace px
