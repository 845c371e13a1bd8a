#include "files/MetafilePlayer.h"

#include "files/MetafileRecords.h"

#include <QGuiApplication>
#include <QtEndian>

#include <cmath>

namespace px {

namespace {

quint32 u32At(const QByteArray& d, qint64 at) { return qFromLittleEndian<quint32>(d.constData() + at); }
quint16 u16At(const QByteArray& d, qint64 at) { return qFromLittleEndian<quint16>(d.constData() + at); }

// Text needs the font database of a GUI application; a command-line run has none.
bool textAllowed()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

struct Headers {
    MetafileFormat format = MetafileFormat::None;
    gdi::WmfHeader wmf;
    gdi::EmfHeader emf;
    QSize size;
};

bool readHeaders(const QByteArray& data, const MetafileLimits& limits, Headers* h, QString* error)
{
    h->format = DetectMetafileFormat(data);
    switch (h->format) {
    case MetafileFormat::None:
        *error = QStringLiteral("not a metafile");
        return false;
    case MetafileFormat::Enhanced:
        if (!gdi::ReadEmfHeader(data, &h->emf, error))
            return false;
        h->size = h->emf.size;
        return true;
    case MetafileFormat::Placeable:
    case MetafileFormat::Plain:
        if (!gdi::ReadWmfHeader(data, limits, &h->wmf, error))
            return false;
        h->size = h->wmf.size;
        return true;
    }
    return false;
}

} // namespace

MetafileFormat DetectMetafileFormat(const QByteArray& data)
{
    if (data.size() >= 4 && u32At(data, 0) == 0x9AC6CDD7u)
        return MetafileFormat::Placeable;
    if (data.size() >= 44 && u32At(data, 0) == 1 && u32At(data, 40) == 0x464D4520u)
        return MetafileFormat::Enhanced;
    if (data.size() >= 18) {
        const quint16 type = u16At(data, 0), words = u16At(data, 2), version = u16At(data, 4);
        if ((type == 1 || type == 2) && words == 9 && (version == 0x0100 || version == 0x0300))
            return MetafileFormat::Plain;
    }
    return MetafileFormat::None;
}

QSize MetafileSize(const QByteArray& data, QString* error)
{
    Headers h;
    QString reason;
    if (!readHeaders(data, MetafileLimits{}, &h, &reason)) {
        if (error)
            *error = reason;
        return {};
    }
    return h.size;
}

bool PlayMetafile(const QByteArray& data, QPainter& painter, const QRectF& target, QString* error,
                  const MetafileLimits& limits)
{
    auto fail = [&](const QString& reason) {
        if (error)
            *error = reason;
        return false;
    };
    if (!painter.isActive())
        return fail(QStringLiteral("painter not active"));
    if (!std::isfinite(target.x()) || !std::isfinite(target.y()) || !std::isfinite(target.width())
        || !std::isfinite(target.height()) || target.width() == 0 || target.height() == 0)
        return fail(QStringLiteral("empty target rectangle"));
    Headers h;
    QString reason;
    if (!readHeaders(data, limits, &h, &reason))
        return fail(reason);
    if (h.format == MetafileFormat::Enhanced)
        reason = gdi::PlayEmf(data, h.emf, painter, target, limits, textAllowed());
    else
        reason = gdi::PlayWmf(data, h.wmf, painter, target, limits, textAllowed());
    if (!reason.isEmpty())
        return fail(reason);
    return true;
}

MetafileReadResult ReadMetafile(const QByteArray& data, const MetafileLimits& limits)
{
    MetafileReadResult result;
    Headers h;
    if (!readHeaders(data, limits, &h, &result.error))
        return result;
    result.format = h.format;
    result.size = h.size;
    if (h.size.width() <= 0 || h.size.height() <= 0) {
        result.error = QStringLiteral("empty picture");
        return result;
    }
    if (qint64(h.size.width()) * h.size.height() > limits.maxPixels) {
        result.error = QStringLiteral("picture too large");
        return result;
    }
    QImage image(h.size, QImage::Format_ARGB32);
    if (image.isNull()) {
        result.error = QStringLiteral("not enough memory for the picture");
        return result;
    }
    image.fill(Qt::white);
    QString reason;
    bool ok;
    {
        QPainter painter(&image);
        ok = PlayMetafile(data, painter, QRectF(QPointF(0, 0), QSizeF(h.size)), &reason, limits);
    }
    if (!ok) {
        result.error = reason;
        return result;
    }
    result.image = image;
    return result;
}

} // namespace px
