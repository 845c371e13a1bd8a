#pragma once
// Helpers shared by the TIFF tests: writing to memory, reading a file's directory entries
// by hand, and running the independent command-line tools.
#include "files/TiffWriter.h"

#include "ToolRun.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QMap>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QtEndian>

namespace px::tifftest {

inline QByteArray encode(const QImage& image, int bits)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QString error;
    if (!WriteTiff(image, bits, buffer, &error))
        return QByteArray("failed: ") + error.toUtf8();
    return bytes;
}

inline quint16 u16At(const QByteArray& b, qint64 at)
{
    return qFromLittleEndian<quint16>(b.constData() + at);
}

inline quint32 u32At(const QByteArray& b, qint64 at)
{
    return qFromLittleEndian<quint32>(b.constData() + at);
}

struct Entry {
    quint16 type = 0;
    quint32 count = 0;
    quint32 value = 0;   // SHORT values read from the low two bytes
    qint64 position = 0; // where the entry starts in the file
};

// The first directory's entries by tag, in file order of the tags (empty if out of bounds).
struct Directory {
    quint32 offset = 0;
    QList<quint16> tags;
    QMap<quint16, Entry> entries;
    quint32 next = 0xFFFFFFFF;
};

inline Directory readDirectory(const QByteArray& b)
{
    Directory d;
    if (b.size() < 8)
        return d;
    d.offset = u32At(b, 4);
    if (qint64(d.offset) + 2 > b.size())
        return d;
    const quint16 count = u16At(b, d.offset);
    if (qint64(d.offset) + 2 + qint64(count) * 12 + 4 > b.size())
        return d;
    for (quint16 i = 0; i < count; ++i) {
        const qint64 at = qint64(d.offset) + 2 + qint64(i) * 12;
        Entry e;
        e.type = u16At(b, at + 2);
        e.count = u32At(b, at + 4);
        e.value = e.type == 3 && e.count == 1 ? u16At(b, at + 8) : u32At(b, at + 8);
        e.position = at;
        d.tags.append(u16At(b, at));
        d.entries.insert(u16At(b, at), e);
    }
    d.next = u32At(b, qint64(d.offset) + 2 + qint64(count) * 12);
    return d;
}

using testtools::ToolRun;
using testtools::runTool;

} // namespace px::tifftest
