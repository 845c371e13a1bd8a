#pragma once
// Reading Windows metafiles: enhanced (EMF), placeable and plain Windows metafiles (WMF),
// chosen by the data's content whatever the file is called. The records are played onto a
// QPainter by our own record player; a metafile is shown at its own size.
#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QSize>
#include <QString>

namespace px {

enum class MetafileFormat { None, Enhanced, Placeable, Plain };

// The format the data holds, judged by its first bytes only (None for anything else).
MetafileFormat DetectMetafileFormat(const QByteArray& data);

// Limits for outside data: no rendering larger than this, no more records played than this.
struct MetafileLimits {
    qint64 maxPixels = qint64(1) << 26;   // of the rendered picture and of every embedded bitmap
    int maxRecords = 1 << 20;
};

struct MetafileReadResult {
    QImage image;        // the metafile played at its own size on white; null on error
    QSize size;          // its own size in pixels (96 dots per inch)
    MetafileFormat format = MetafileFormat::None;
    QString error;       // empty on success; a short reason otherwise
};

// Plays the metafile at its own size onto a white ARGB picture of that size.
MetafileReadResult ReadMetafile(const QByteArray& data, const MetafileLimits& limits = {});

// The metafile's own size in pixels (96 dots per inch), or an invalid size with *error set.
QSize MetafileSize(const QByteArray& data, QString* error = nullptr);

// Plays the metafile onto any painter, scaled into target. False with *error set when the
// data is not a metafile or is damaged; records played before the damage stay drawn.
bool PlayMetafile(const QByteArray& data, QPainter& painter, const QRectF& target,
                  QString* error = nullptr, const MetafileLimits& limits = {});

} // namespace px
