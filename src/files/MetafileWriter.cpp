#include "files/MetafileWriter.h"

#include "files/LittleEndian.h"

#include <algorithm>

namespace px {

namespace {

bool setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}

constexpr quint32 kSrcCopy = 0x00CC0020;     // raster operation: copy the source
constexpr quint32 kDibRgbColors = 0;         // colour usage: the DIB holds colours, not indices
constexpr quint32 kPixelsPerMetre96 = 3780;  // 96 dots per inch
constexpr qint64 kMaxWmfCoordinate = 32767;  // Windows metafile coordinates are signed 16-bit

// The picture as a 24-bit bottom-up device-independent bitmap: its 40-byte information
// header, then the rows from the bottom picture row up, each padded to 4 bytes.
struct Dib {
    qint64 width = 0;
    qint64 height = 0;
    qint64 stride() const { return (width * 3 + 3) / 4 * 4; }
    qint64 bitsSize() const { return stride() * height; }
    static constexpr qint64 headerSize = 40;
    qint64 size() const { return headerSize + bitsSize(); }
};

void appendDibHeader(QByteArray& out, const Dib& dib)
{
    put32(out, Dib::headerSize);
    put32(out, quint32(dib.width));
    put32(out, quint32(dib.height));  // positive: bottom-up
    put16(out, 1);                    // planes
    put16(out, 24);                   // bits per pixel
    put32(out, 0);                    // uncompressed
    put32(out, quint32(dib.bitsSize()));
    put32(out, kPixelsPerMetre96);
    put32(out, kPixelsPerMetre96);
    put32(out, 0);  // no colour table
    put32(out, 0);
}

bool writeAll(QIODevice& device, const QByteArray& bytes, QString* error)
{
    if (device.write(bytes) != bytes.size())
        return setError(error, device.errorString().isEmpty() ? QStringLiteral("write error") : device.errorString());
    return true;
}

// Streams the DIB rows after the already written header, a block of rows at a time, so a
// large picture is never held twice in memory.
bool writeDibRows(const QImage& picture, const Dib& dib, QIODevice& device, QString* error)
{
    const QImage src = picture.convertToFormat(QImage::Format_RGB32);
    const qint64 stride = dib.stride();
    const qint64 rowsPerBlock = std::max<qint64>(1, (1 << 20) / stride);
    QByteArray block;
    for (qint64 first = 0; first < dib.height; first += rowsPerBlock) {
        const qint64 rows = std::min(rowsPerBlock, dib.height - first);
        block.fill('\0', rows * stride);  // also zeroes the row padding
        auto* dst = reinterpret_cast<uchar*>(block.data());
        for (qint64 r = 0; r < rows; ++r) {
            const auto* line = reinterpret_cast<const QRgb*>(src.constScanLine(int(dib.height - 1 - (first + r))));
            uchar* p = dst + r * stride;
            for (qint64 x = 0; x < dib.width; ++x, p += 3) {
                p[0] = uchar(qBlue(line[x]));
                p[1] = uchar(qGreen(line[x]));
                p[2] = uchar(qRed(line[x]));
            }
        }
        if (!writeAll(device, block, error))
            return false;
    }
    return true;
}

// One Windows-metafile record header: size in 16-bit words, then the function number.
void appendWmfRecordHead(QByteArray& out, quint32 sizeInWords, quint16 function)
{
    put32(out, sizeInWords);
    put16(out, function);
}

// The 0.01 mm extent of a pixel count at 96 dots per inch, rounded to the nearest unit.
qint64 hundredthsOfMillimetre(qint64 pixels)
{
    return (pixels * 2540 + 48) / 96;
}

void appendRect(QByteArray& out, qint64 left, qint64 top, qint64 right, qint64 bottom)
{
    put32(out, quint32(left));
    put32(out, quint32(top));
    put32(out, quint32(right));
    put32(out, quint32(bottom));
}

} // namespace

bool WriteWmf(const QImage& image, QIODevice& device, QString* error)
{
    if (image.isNull())
        return setError(error, QStringLiteral("no picture to write"));
    const Dib dib{image.width(), image.height()};
    if (dib.width > kMaxWmfCoordinate || dib.height > kMaxWmfCoordinate)
        return setError(error, QStringLiteral("picture of %1 x %2 pixels too large for a Windows metafile "
                                              "(at most %3 pixels each way)")
                                   .arg(dib.width)
                                   .arg(dib.height)
                                   .arg(kMaxWmfCoordinate));

    constexpr quint32 kHeaderWords = 9;
    constexpr quint32 kWindowRecordWords = 5;
    constexpr quint32 kStretchDibHeadWords = 14;  // size, function, rop, usage, eight coordinates
    constexpr quint32 kEofWords = 3;
    const qint64 stretchWords = kStretchDibHeadWords + dib.size() / 2;  // DIB rows are 4-byte padded
    const qint64 totalWords = kHeaderWords + 2 * kWindowRecordWords + stretchWords + kEofWords;
    if (totalWords > 0xFFFFFFFFLL)
        return setError(error, QStringLiteral("picture too large for a Windows metafile"));

    QByteArray head;
    // Placeable header: bounding box in units of 1/96 inch, i.e. in pixels.
    put32(head, 0x9AC6CDD7);
    put16(head, 0);  // handle, always 0 in a file
    put16(head, 0);
    put16(head, 0);
    put16(head, quint16(dib.width));
    put16(head, quint16(dib.height));
    put16(head, 96);
    put32(head, 0);
    quint16 checksum = 0;
    for (int i = 0; i < 20; i += 2)
        checksum ^= quint16(uchar(head[i]) | uchar(head[i + 1]) << 8);
    put16(head, checksum);

    // Standard header: a memory metafile of version 3.0 with no objects.
    put16(head, 1);
    put16(head, kHeaderWords);
    put16(head, 0x0300);
    put32(head, quint32(totalWords));
    put16(head, 0);
    put32(head, quint32(std::max<qint64>(stretchWords, kWindowRecordWords)));
    put16(head, 0);

    // Window origin and extent: the picture's own pixels. Parameters are stored y first.
    appendWmfRecordHead(head, kWindowRecordWords, 0x020B);  // set window origin
    put16(head, 0);
    put16(head, 0);
    appendWmfRecordHead(head, kWindowRecordWords, 0x020C);  // set window extent
    put16(head, quint16(dib.height));
    put16(head, quint16(dib.width));

    // Stretch DIB: the whole picture to the whole window.
    appendWmfRecordHead(head, quint32(stretchWords), 0x0F43);
    put32(head, kSrcCopy);
    put16(head, quint16(kDibRgbColors));
    put16(head, quint16(dib.height));  // source height, width, y, x
    put16(head, quint16(dib.width));
    put16(head, 0);
    put16(head, 0);
    put16(head, quint16(dib.height));  // destination height, width, y, x
    put16(head, quint16(dib.width));
    put16(head, 0);
    put16(head, 0);
    appendDibHeader(head, dib);

    QByteArray tail;
    appendWmfRecordHead(tail, kEofWords, 0x0000);

    return writeAll(device, head, error) && writeDibRows(image, dib, device, error) && writeAll(device, tail, error);
}

bool WriteEmf(const QImage& image, const QString& description, QIODevice& device, QString* error)
{
    if (image.isNull())
        return setError(error, QStringLiteral("no picture to write"));
    const Dib dib{image.width(), image.height()};

    // The description block: the creator name (empty here) and the description, each ending
    // in a zero, then one more zero; UTF-16LE, padded to a 4-byte boundary.
    QByteArray text;
    quint32 textChars = 0;
    if (!description.isEmpty()) {
        const QString block = QString(QChar(0)) + description + QChar(0) + QChar(0);
        textChars = quint32(block.size());
        for (const QChar c : block)
            put16(text, c.unicode());
        while (text.size() % 4)
            text.append('\0');
    }

    constexpr quint32 kHeaderFixedSize = 108;  // base header with both extensions
    constexpr quint32 kStretchHeadSize = 80;
    constexpr quint32 kEofSize = 20;
    const qint64 headerSize = kHeaderFixedSize + text.size();
    const qint64 stretchSize = kStretchHeadSize + dib.size();
    const qint64 totalSize = headerSize + stretchSize + kEofSize;
    if (totalSize > 0xFFFFFFFFLL || hundredthsOfMillimetre(std::max(dib.width, dib.height)) > 0x7FFFFFFF)
        return setError(error, QStringLiteral("picture too large for an enhanced metafile"));

    QByteArray head;
    put32(head, 1);  // header record
    put32(head, quint32(headerSize));
    appendRect(head, 0, 0, dib.width - 1, dib.height - 1);  // bounds, inclusive, in pixels
    appendRect(head, 0, 0, hundredthsOfMillimetre(dib.width), hundredthsOfMillimetre(dib.height));
    put32(head, 0x464D4520);  // " EMF"
    put32(head, 0x10000);
    put32(head, quint32(totalSize));
    put32(head, 3);  // records: header, stretch, end
    put16(head, 1);  // handles: only the reserved index 0
    put16(head, 0);
    put32(head, textChars);
    put32(head, textChars ? kHeaderFixedSize : 0);
    put32(head, 0);  // palette entries
    // Reference device: a 1920 x 1080 screen at 96 dots per inch.
    put32(head, 1920);
    put32(head, 1080);
    put32(head, 508);
    put32(head, 286);
    put32(head, 0);  // no pixel format, no OpenGL
    put32(head, 0);
    put32(head, 0);
    put32(head, 508000);
    put32(head, 285750);
    head.append(text);

    // Stretch DIB bits: the whole picture to (0,0) at its own size.
    put32(head, 0x51);
    put32(head, quint32(stretchSize));
    appendRect(head, 0, 0, dib.width - 1, dib.height - 1);
    put32(head, 0);  // destination x, y
    put32(head, 0);
    put32(head, 0);  // source x, y, width, height
    put32(head, 0);
    put32(head, quint32(dib.width));
    put32(head, quint32(dib.height));
    put32(head, kStretchHeadSize);  // information header offset and size
    put32(head, Dib::headerSize);
    put32(head, quint32(kStretchHeadSize + Dib::headerSize));  // bits offset and size
    put32(head, quint32(dib.bitsSize()));
    put32(head, kDibRgbColors);
    put32(head, kSrcCopy);
    put32(head, quint32(dib.width));  // destination width, height
    put32(head, quint32(dib.height));
    appendDibHeader(head, dib);

    QByteArray tail;
    put32(tail, 14);  // end of file
    put32(tail, kEofSize);
    put32(tail, 0);   // no palette entries
    put32(tail, 16);  // where they would start
    put32(tail, kEofSize);

    return writeAll(device, head, error) && writeDibRows(image, dib, device, error) && writeAll(device, tail, error);
}

} // namespace px
