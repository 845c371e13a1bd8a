// PNG files from outside: any bytes must decode to a picture or a reason, never both, never a
// crash or an unbounded allocation; a picture that decodes has the size its header promised.
#include "files/PngReader.h"

#include <QBuffer>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QBuffer buffer(&input);
    buffer.open(QIODevice::ReadOnly);
    const px::PngReadResult read = px::ReadPng(buffer, qint64(1) << 22);
    if (read.image.isNull() == read.error.isEmpty())
        std::abort();
    if (!read.image.isNull() && qint64(read.image.width()) * read.image.height() > (qint64(1) << 22))
        std::abort();
    return 0;
}
