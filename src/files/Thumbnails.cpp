// Thumbnail box checks, picture placement and the two thumbnail makers.
#include "files/Thumbnails.h"

#include "files/JpegFile.h"
#include "files/PictureFiles.h"

#include <QFile>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>

namespace px {

namespace {

// Nearest integer with halves to even, independent of the floating-point rounding mode.
// Values past the int range (an extreme ratio) are held at its end; the caller refits them.
int RoundHalfEven(double value)
{
    value = std::min(value, static_cast<double>(std::numeric_limits<int>::max()));
    const double lower = std::floor(value);
    const double fraction = value - lower;
    double result = lower;
    if (fraction > 0.5)
        result = lower + 1.0;
    else if (fraction == 0.5)
        result = std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
    return static_cast<int>(result);
}

} // namespace

QString ThumbnailBoxError(int boxWidth, int boxHeight)
{
    if (boxWidth <= 0)
        return QStringLiteral("Ungültige Breite");
    if (boxHeight <= 0)
        return QStringLiteral("Ungültige Höhe");
    return {};
}

QRect ThumbnailPictureRect(int pictureWidth, int pictureHeight, int boxWidth, int boxHeight)
{
    if (pictureWidth <= 0 || pictureHeight <= 0 || boxWidth <= 0 || boxHeight <= 0)
        return {};

    const double ratio = static_cast<double>(pictureWidth) / pictureHeight;
    // A landscape picture is fitted to the box width first, any other to the box height;
    // when the scaled side then overflows the box, the other side is fitted instead, which
    // always fits.
    int drawnWidth = boxWidth;
    int drawnHeight = std::max(1, RoundHalfEven(boxWidth / ratio));
    if (ratio <= 1.0 || drawnHeight > boxHeight) {
        drawnHeight = boxHeight;
        drawnWidth = std::max(1, RoundHalfEven(ratio * boxHeight));
        if (drawnWidth > boxWidth) {
            drawnWidth = boxWidth;
            drawnHeight = std::max(1, RoundHalfEven(boxWidth / ratio));
        }
    }

    const int left = (boxWidth - drawnWidth) / 2;
    const int top = (boxHeight - drawnHeight) / 2;
    return QRect(left, top, drawnWidth, drawnHeight);
}

namespace {

// Files larger than this are not read into memory for a thumbnail.
constexpr qint64 kMaxThumbnailSourceBytes = qint64(1) << 30;

QString readError(const QString& path, const QString& why)
{
    return QStringLiteral("cannot read %1: %2").arg(path, why);
}

// The JPEG decoded at the smallest of 1:1, 1:2, 1:4 and 1:8 that still has at least as many
// pixels as the thumbnail draws in each direction: the decoder skips the detail that the
// downscale would throw away anyway.
QImage readJpegFor(const QString& path, int boxWidth, int boxHeight, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = readError(path, file.errorString());
        return {};
    }
    if (file.size() > kMaxThumbnailSourceBytes) {
        *error = readError(path, QStringLiteral("the file is too large"));
        return {};
    }
    const QByteArray data = file.readAll();

    // A decode that stops after the header (no picture is small enough) tells the full size.
    JpegReadLimits headerOnly;
    headerOnly.maxPixels = 0;
    const QSize full = ReadJpeg(data, 1, headerOnly).fullSize;
    int scale = 1;
    if (full.width() > 0 && full.height() > 0) {
        const QRect drawn = ThumbnailPictureRect(full.width(), full.height(), boxWidth, boxHeight);
        for (int s : {8, 4, 2}) {
            if ((full.width() + s - 1) / s >= drawn.width() && (full.height() + s - 1) / s >= drawn.height()) {
                scale = s;
                break;
            }
        }
    }
    const JpegReadResult r = ReadJpeg(data, scale);
    if (r.image.isNull()) {
        *error = readError(path, r.error.isEmpty() ? QStringLiteral("no picture") : r.error);
        return {};
    }
    return r.image;
}

// The box filled with the colour and the picture smoothly stretched into its place.
QImage drawThumbnail(const QImage& picture, int boxWidth, const QColor& fillColour, int boxHeight)
{
    QImage box(boxWidth, boxHeight, QImage::Format_RGB32);
    if (box.isNull())
        return box;
    box.fill(fillColour.rgb());
    const QRect place = ThumbnailPictureRect(picture.width(), picture.height(), boxWidth, boxHeight);
    if (place.isEmpty())
        return box;
    const QImage scaled = picture.size() == place.size()
                              ? picture
                              : picture.scaled(place.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QPainter painter(&box);
    painter.drawImage(place.topLeft(), scaled);
    painter.end();
    return box;
}

QString writeThumbnail(int fileTypeIndex, const QImage& picture, const QString& targetPath, int boxWidth,
                       const QColor& fillColour, int boxHeight)
{
    const QImage box = drawThumbnail(picture, boxWidth, fillColour, boxHeight);
    if (box.isNull())
        return QStringLiteral("cannot write %1: the box of %2 x %3 pixels is too large")
            .arg(targetPath)
            .arg(boxWidth)
            .arg(boxHeight);
    const PictureWriteResult r =
        WritePictureFile(fileTypeIndex, box, 0, PictureWriteSettings{}, WriteOccasion::SaveAs, targetPath);
    if (r.ok)
        return {};
    return r.error.startsWith(QLatin1String("cannot write")) ? r.error
                                                           : QStringLiteral("cannot write %1: %2").arg(targetPath, r.error);
}

} // namespace

QString MakeJpegThumbnail(const QString& sourcePath, const QString& targetPath, int boxWidth,
                          const QColor& fillColour, int boxHeight)
{
    const QString boxError = ThumbnailBoxError(boxWidth, boxHeight);
    if (!boxError.isEmpty())
        return boxError;
    QString error;
    const QImage picture = readJpegFor(sourcePath, boxWidth, boxHeight, &error);
    if (picture.isNull())
        return error;
    return writeThumbnail(1, picture, targetPath, boxWidth, fillColour, boxHeight);
}

QString MakeBitmapThumbnail(const QString& sourcePath, const QString& targetPath, int boxWidth,
                            const QColor& fillColour, int boxHeight)
{
    const QString boxError = ThumbnailBoxError(boxWidth, boxHeight);
    if (!boxError.isEmpty())
        return boxError;
    const PictureReadResult read = ReadPictureFile(sourcePath);
    if (read.image.isNull())
        return readError(sourcePath, read.error.isEmpty() ? QStringLiteral("no picture") : read.error);
    return writeThumbnail(0, read.image, targetPath, boxWidth, fillColour, boxHeight);
}

} // namespace px
