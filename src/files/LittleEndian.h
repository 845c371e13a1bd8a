#pragma once
// Appending little-endian integers to a byte buffer, as the Windows file formats store them.
#include <QByteArray>
#include <QtEndian>

namespace px {

inline void put16(QByteArray& b, quint16 v)
{
    char c[2];
    qToLittleEndian(v, c);
    b.append(c, 2);
}

inline void put32(QByteArray& b, quint32 v)
{
    char c[4];
    qToLittleEndian(v, c);
    b.append(c, 4);
}

} // namespace px
