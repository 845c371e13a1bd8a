#pragma once
// The two record players behind MetafilePlayer.h: their headers, their own sizes and the
// playing of their records onto a GdiCanvas. Shared helpers for the objects both formats
// create (pens, brushes, bitmaps, regions) live here too.
#include "files/GdiCanvas.h"
#include "files/MetafileBytes.h"
#include "files/MetafilePlayer.h"

#include <QByteArray>
#include <QRect>
#include <QString>

namespace px::gdi {

// ---- Windows metafiles ----------------------------------------------------------------------

struct WmfHeader {
    bool placeable = false;
    QRectF frame;            // logical units the picture covers (bounding box or window)
    double unitsPerInch = 96;
    qint64 recordsStart = 0;
    int objectCount = 0;
    QSize size;              // own size in pixels at 96 dots per inch
};

// Reads the header (and for a plain metafile the first window extent). False with *error.
bool ReadWmfHeader(const QByteArray& data, const MetafileLimits& limits, WmfHeader* header, QString* error);

// Plays the records with the header's frame mapped onto target. Empty on success, else the
// reason the playing stopped.
QString PlayWmf(const QByteArray& data, const WmfHeader& header, QPainter& painter, const QRectF& target,
                const MetafileLimits& limits, bool textAllowed);

// ---- Enhanced metafiles ---------------------------------------------------------------------

// A rectangle as stored, edges kept apart (32-bit extremes would overflow QRect's sizes).
struct EdgeRect {
    qint64 left = 0, top = 0, right = 0, bottom = 0;
};

struct EmfHeader {
    EdgeRect bounds;         // device units, inclusive
    EdgeRect frame;          // 0.01 mm, inclusive
    bool hasFrame = false;
    QSize deviceSize;        // the reference device in pixels
    QSizeF deviceMillimeters;  // and in millimetres
    int handleCount = 0;
    QSize size;
};

bool ReadEmfHeader(const QByteArray& data, EmfHeader* header, QString* error);

QString PlayEmf(const QByteArray& data, const EmfHeader& header, QPainter& painter, const QRectF& target,
                const MetafileLimits& limits, bool textAllowed);

// ---- Shared helpers -------------------------------------------------------------------------

QColor ColorFromRef(quint32 colorRef);
// Object table entries as the create records give them.
GdiObject PenFromLog(quint32 style, double width, quint32 color);
GdiObject BrushFromLog(quint32 style, quint32 color, quint32 hatch);
// A pattern brush: black where the pattern could not be read (a null image).
GdiObject PatternBrush(const QImage& pattern);
// An object we do not draw with (a palette): it only holds its slot.
GdiObject PlaceholderObject();
// The fields of a logical font up to its face name, which the formats store differently.
// wideFields: enhanced metafiles store the sizes and weight in 32 bits, Windows metafiles in 16.
GdiObject ReadFontFields(RecordBytes& r, bool wideFields);
// The stock objects of enhanced metafiles (index without the high bit); Empty when unknown.
GdiObject StockObject(quint32 index);

struct DibImage {
    QImage image;
    bool topDown = false;
};
// A device-independent bitmap: header and colour table in bmi, pixels in bits (empty bits:
// the pixels follow the colour table inside bmi).
DibImage DecodeDib(const QByteArray& bmi, const QByteArray& bits, qint64 maxPixels, bool alpha = false);
// A device-dependent bitmap of the old Windows metafile records: width, height, bytes per
// row, planes and bits per pixel, followed at bitsOffset by the rows from the top.
QImage DecodeBitmap16(RecordBytes& r, qint64 headerOffset, qint64 bitsOffset, qint64 maxPixels);
// The source rectangle of a DIB record in picture rows from the top: the records count rows
// of a bottom-up bitmap from its last row.
QRectF DibSourceRect(const DibImage& dib, double x, double y, double w, double h);

// Region data of enhanced metafiles: a 32-byte header and its rectangles.
std::optional<QRegion> ReadRegionData(RecordBytes& r, qint64 offset, qint64 size);

} // namespace px::gdi
