#include "picture/ClipboardPicture.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QStringList>

#include <algorithm>

namespace px {

namespace {

const QString kPng = QStringLiteral("image/png");
const QString kBmp = QStringLiteral("image/bmp");

QClipboard* clipboard()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::clipboard() : nullptr;
}

QByteArray encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, format))
        return QByteArray();
    return bytes;
}

// The picture formats a mime object offers, the lossless ones we prefer first.
QStringList pictureFormats(const QMimeData& mime)
{
    QStringList preferred;
    QStringList others;
    for (const QString& f : mime.formats()) {
        if (f == kPng || f == kBmp)
            preferred.append(f);
        else if (f.startsWith(QLatin1String("image/")))
            others.append(f);
    }
    std::sort(preferred.begin(), preferred.end(), [](const QString& a, const QString&) { return a == kPng; });
    return preferred + others;
}

} // namespace

bool CopyPictureToClipboard(const QImage& image, QString* error)
{
    auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (image.isNull())
        return fail(QStringLiteral("There is no picture to copy."));
    QClipboard* clip = clipboard();
    if (!clip)
        return fail(QStringLiteral("No clipboard is available."));

    const QByteArray bmp = encoded(image, "BMP");
    if (bmp.isEmpty())
        return fail(QStringLiteral("The picture could not be encoded for the clipboard."));
    auto* mime = new QMimeData;
    mime->setImageData(image);
    mime->setData(kBmp, bmp);
    clip->setMimeData(mime, QClipboard::Clipboard);

    // The window system may refuse the selection (another client, a lost connection): then the
    // clipboard does not hand our picture back.
    const QMimeData* now = clip->mimeData(QClipboard::Clipboard);
    if (!now || !now->hasImage())
        return fail(QStringLiteral("The clipboard did not accept the picture."));
    return true;
}

bool ClipboardHasPicture()
{
    QClipboard* clip = clipboard();
    const QMimeData* mime = clip ? clip->mimeData(QClipboard::Clipboard) : nullptr;
    if (!mime)
        return false;
    return mime->hasImage() || !pictureFormats(*mime).isEmpty();
}

std::optional<QImage> PictureFromClipboard()
{
    QClipboard* clip = clipboard();
    const QMimeData* mime = clip ? clip->mimeData(QClipboard::Clipboard) : nullptr;
    if (!mime)
        return std::nullopt;
    for (const QString& format : pictureFormats(*mime)) {
        QImage image;
        if (image.loadFromData(mime->data(format)) && !image.isNull())
            return image;
    }
    // A picture put there by this process, or one Qt converts from a format it knows by name.
    if (mime->hasImage()) {
        const QImage image = qvariant_cast<QImage>(mime->imageData());
        if (!image.isNull())
            return image;
    }
    return std::nullopt;
}

} // namespace px
