#pragma once
// Helpers shared by the picture file tests: sample pictures, the bytes a writer produces,
// little-endian byte building for hand-made files, pixel comparisons, and ImageMagick as the
// independent reader and writer.
#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QtEndian>

#include "ToolRun.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <initializer_list>

namespace px::bmptest {

// Odd sizes catch row padding and bit packing mistakes; far more than 256 colours.
inline QImage colourful(int w = 37, int h = 23)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb(x * 7 & 255, y * 11 & 255, (x * y + 40) & 255));
    return img;
}

// A picture of a few flat colours, like most screenshots.
inline QImage flat(int colours, int w = 29, int h = 13)
{
    static const QRgb table[] = {0xFF000000, 0xFFFFFFFF, 0xFFC00000, 0xFF00A000, 0xFF0000FF, 0xFF808080,
                                 0xFFFFFF00, 0xFF00FFFF, 0xFF123456, 0xFFFEDCBA, 0xFF7F7F00, 0xFF3C1E0F,
                                 0xFFA0A0A4, 0xFF400040, 0xFF008080, 0xFFF0F0F0};
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, table[(x / 3 + y * 5) % colours]);
    return img;
}

// Appends little-endian numbers: bytes({le16(1), le32(40)}) style building of fixtures.
struct Bytes {
    QByteArray data;
    Bytes& u8(int v) { data.append(char(v)); return *this; }
    Bytes& u16(int v) { char c[2]; qToLittleEndian(quint16(v), c); data.append(c, 2); return *this; }
    Bytes& u32(qint64 v) { char c[4]; qToLittleEndian(quint32(v), c); data.append(c, 4); return *this; }
    Bytes& raw(std::initializer_list<int> v) { for (int b : v) u8(b); return *this; }
    Bytes& raw(const QByteArray& b) { data.append(b); return *this; }
};

// The bytes write(QIODevice&, QString* error) puts into memory; a refused write fails the
// test with the writer's reason.
template <typename Write>
QByteArray writtenBytes(Write write)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QString error;
    EXPECT_TRUE(write(buffer, &error)) << error.toStdString();
    return buffer.data();
}

inline bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

inline QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

using testtools::ToolRun;
using testtools::runTool;

inline QImage imageMagickRead(const QString& path)
{
    const ToolRun t = runTool("convert", {path, "-depth", "8", "PNG32:-"});
    if (t.exitCode != 0)
        return {};
    return QImage::fromData(t.out, "PNG").convertToFormat(QImage::Format_ARGB32);
}

// Mean absolute difference over the red, green and blue samples: 0 for equal pictures, huge
// for pictures of different sizes.
inline double meanDifference(const QImage& a, const QImage& b)
{
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    if (x.size() != y.size())
        return 1e9;
    double sum = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int col = 0; col < x.width(); ++col) {
            const QRgb p = x.pixel(col, row), q = y.pixel(col, row);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * x.width() * x.height());
}

// Equal pictures, compared as 8-bit ARGB; on a difference says where.
inline ::testing::AssertionResult samePixels(const QImage& actual, const QImage& expected)
{
    if (actual.size() != expected.size())
        return ::testing::AssertionFailure() << "size " << actual.width() << "x" << actual.height() << " instead of "
                                             << expected.width() << "x" << expected.height();
    const QImage a = actual.convertToFormat(QImage::Format_ARGB32), e = expected.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != e.pixel(x, y))
                return ::testing::AssertionFailure() << "pixel (" << x << "," << y << ") is " << std::hex << a.pixel(x, y)
                                                     << " instead of " << e.pixel(x, y);
    return ::testing::AssertionSuccess();
}

} // namespace px::bmptest
