// Checks shared by the picture-file fuzz targets.
#pragma once

#include <QBuffer>
#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace px::fuzz {

// The fuzzer's bytes, not copied.
inline QByteArray FuzzInput(const std::uint8_t* data, std::size_t size)
{
    return QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
}

// A read gives a picture or a reason, never both and never neither.
template <typename ReadResult>
void RequirePictureOrReason(const ReadResult& read)
{
    if (read.image.isNull() == read.error.isEmpty())
        std::abort();
}

// The bytes write(QIODevice&) puts out; a write that reports failure ends the run.
template <typename Write>
QByteArray WrittenOrAbort(Write&& write)
{
    QByteArray written;
    QBuffer buffer(&written);
    buffer.open(QIODevice::WriteOnly);
    if (!write(buffer))
        std::abort();
    return written;
}

} // namespace px::fuzz
