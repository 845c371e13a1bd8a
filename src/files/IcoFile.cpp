#include "files/IcoFile.h"

#include "files/LittleEndian.h"
#include "files/PngWriter.h"

#include <QBuffer>
#include <QImageReader>
#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace px {

namespace {


bool setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}

const char kPngSignature[] = "\x89PNG\r\n\x1a\n";

struct Entry {
    QImage image;
    QString error;
    int depth = 0;  // stored bits per pixel, to prefer the richer of two images of one size
};

Entry readPngEntry(const QByteArray& bytes, qint64 maxPixels)
{
    Entry e;
    const auto* d = reinterpret_cast<const uchar*>(bytes.constData());
    if (bytes.size() < 24 || std::memcmp(d + 12, "IHDR", 4) != 0) {
        e.error = QStringLiteral("PNG icon image truncated");
        return e;
    }
    const qint64 w = qFromBigEndian<quint32>(d + 16), h = qFromBigEndian<quint32>(d + 20);
    if (w == 0 || h == 0 || w * h > maxPixels) {
        e.error = QStringLiteral("PNG icon image of a bad size");
        return e;
    }
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    reader.setAllocationLimit(int(std::min<qint64>(4096, w * h * 8 / (1024 * 1024) + 1)));
    QImage image = reader.read();
    if (image.isNull()) {
        e.error = QStringLiteral("PNG icon image unreadable");
        return e;
    }
    e.image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    e.depth = 32;
    return e;
}

Entry readDibEntry(const QByteArray& bytes, qint64 maxPixels)
{
    Entry e;
    DibReadOptions options;
    options.iconHalfHeight = true;
    options.alphaInFourthByte = true;
    options.maxPixels = maxPixels;
    const DibReadResult dib = ReadDib(bytes, 0, options);
    if (!dib.error.isEmpty()) {
        e.error = dib.error;
        return e;
    }
    e.image = dib.image;
    e.depth = dib.bitCount;
    // Without alpha, the AND mask after the colour rows marks the transparent pixels. A mask
    // the file leaves out makes the icon opaque.
    const qint64 w = dib.image.width(), h = dib.image.height();
    const qint64 stride = (w + 31) / 32 * 4;
    if (dib.alphaUsed || dib.pixelEnd <= 0 || dib.pixelEnd + stride * h > bytes.size())
        return e;
    const auto* mask = reinterpret_cast<const uchar*>(bytes.constData()) + dib.pixelEnd;
    QImage image = e.image.convertToFormat(QImage::Format_ARGB32);
    bool any = false;
    for (qint64 r = 0; r < h; ++r) {
        const uchar* bits = mask + r * stride;
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(int(dib.topDown ? r : h - 1 - r)));
        for (qint64 x = 0; x < w; ++x)
            if (bits[x / 8] & (0x80 >> (x % 8))) {
                line[x] &= 0x00FFFFFFu;
                any = true;
            }
    }
    if (any)
        e.image = image;
    return e;
}

} // namespace

namespace {

// The file header and the one directory entry of a single-image icon whose data follows at 22.
void appendDirectory(QByteArray& out, qint64 width, qint64 height, quint32 dataBytes)
{
    put16(out, 0);  // reserved
    put16(out, 1);  // icon
    put16(out, 1);  // one image
    out.append(char(width < 256 ? width : 0));
    out.append(char(height < 256 ? height : 0));
    out.append('\0');  // no palette
    out.append('\0');
    put16(out, 1);   // planes
    put16(out, 32);  // bits per pixel
    put32(out, dataBytes);
    put32(out, 22);
}

// An icon larger than the directory can say (past 256 pixels) is stored as a PNG entry, as
// large icons are: its own header carries the true size for every reader, where a bitmap
// entry would be read as 256 x 256 by programs that trust the directory.
bool writePngIcon(const QImage& image, QIODevice& device, QString* error)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!WritePng(image, buffer, PngOptions{6, image.hasAlphaChannel()}, error))
        return false;
    QByteArray out;
    appendDirectory(out, image.width(), image.height(), quint32(png.size()));
    if (device.write(out) != out.size() || device.write(png) != png.size())
        return setError(error, device.errorString());
    return true;
}

} // namespace

bool WriteIco(const QImage& image, QIODevice& device, QString* error)
{
    if (image.isNull())
        return setError(error, QStringLiteral("no picture to write"));
    if (image.width() > 256 || image.height() > 256)
        return writePngIcon(image, device, error);
    const qint64 w = image.width(), h = image.height();
    const qint64 colourBytes = w * 4 * h;
    const qint64 maskStride = (w + 31) / 32 * 4;
    const qint64 maskBytes = maskStride * h;
    const qint64 imageBytes = 40 + colourBytes + maskBytes;
    if (22 + imageBytes > 0xFFFFFFFFLL || 2 * h > 0x7FFFFFFF)
        return setError(error, QStringLiteral("picture too large for an icon file"));

    const bool alpha = image.hasAlphaChannel();
    const QImage src = image.convertToFormat(alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);

    QByteArray out;
    out.reserve(int(22 + imageBytes));
    appendDirectory(out, w, h, quint32(imageBytes));

    put32(out, 40);
    put32(out, quint32(w));
    put32(out, quint32(2 * h));  // colour rows and mask rows together
    put16(out, 1);
    put16(out, 32);
    put32(out, 0);  // BI_RGB
    put32(out, quint32(colourBytes + maskBytes));
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);

    const qsizetype colourStart = out.size();
    out.resize(colourStart + colourBytes + maskBytes, '\0');
    auto* colour = reinterpret_cast<uchar*>(out.data()) + colourStart;
    uchar* mask = colour + colourBytes;
    for (qint64 r = 0; r < h; ++r) {
        const QRgb* line = reinterpret_cast<const QRgb*>(src.constScanLine(int(h - 1 - r)));
        uchar* dst = colour + r * w * 4;
        uchar* bits = mask + r * maskStride;
        for (qint64 x = 0; x < w; ++x, dst += 4) {
            dst[0] = uchar(qBlue(line[x]));
            dst[1] = uchar(qGreen(line[x]));
            dst[2] = uchar(qRed(line[x]));
            dst[3] = uchar(alpha ? qAlpha(line[x]) : 255);
            if (alpha && qAlpha(line[x]) == 0)
                bits[x / 8] |= uchar(0x80 >> (x % 8));
        }
    }
    if (device.write(out) != out.size())
        return setError(error, device.errorString());
    return true;
}

IcoReadResult ReadIco(const QByteArray& file, qint64 maxPixels)
{
    IcoReadResult result;
    const auto* d = reinterpret_cast<const uchar*>(file.constData());
    const qint64 size = file.size();
    if (size < 6 || qFromLittleEndian<quint16>(d) != 0) {
        result.error = QStringLiteral("not an icon file");
        return result;
    }
    const quint16 type = qFromLittleEndian<quint16>(d + 2);
    if (type != 1 && type != 2) {
        result.error = QStringLiteral("not an icon file");
        return result;
    }
    const qint64 count = std::min<qint64>(qFromLittleEndian<quint16>(d + 4), (size - 6) / 16);
    if (count <= 0) {
        result.error = QStringLiteral("icon directory empty or truncated");
        return result;
    }

    QString firstError;
    QList<int> depths;
    for (qint64 i = 0; i < count; ++i) {
        const uchar* entry = d + 6 + 16 * i;
        const qint64 length = qFromLittleEndian<quint32>(entry + 8);
        const qint64 offset = qFromLittleEndian<quint32>(entry + 12);
        Entry e;
        if (offset < 6 || offset >= size || length == 0) {
            e.error = QStringLiteral("icon entry points outside the file");
        } else {
            // A length running past the end is cut at the end; the decoder then finds out
            // whether what is there suffices.
            const QByteArray bytes = QByteArray::fromRawData(file.constData() + offset, std::min(length, size - offset));
            e = bytes.startsWith(kPngSignature) ? readPngEntry(bytes, maxPixels) : readDibEntry(bytes, maxPixels);
        }
        if (e.image.isNull()) {
            if (firstError.isEmpty())
                firstError = e.error;
            continue;
        }
        result.images.append(e.image);
        depths.append(e.depth);
    }
    if (result.images.isEmpty()) {
        result.error = firstError;
        return result;
    }
    result.chosen = 0;
    for (int i = 1; i < result.images.size(); ++i) {
        const QImage& a = result.images[i];
        const QImage& best = result.images[result.chosen];
        const qint64 area = qint64(a.width()) * a.height(), bestArea = qint64(best.width()) * best.height();
        if (area > bestArea || (area == bestArea && depths[i] > depths[result.chosen]))
            result.chosen = i;
    }
    result.image = result.images[result.chosen];
    return result;
}

} // namespace px
