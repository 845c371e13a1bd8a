#include "files/TiffReader.h"

#include <QSysInfo>
#include <QtEndian>

#include <tiffio.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <mutex>
#include <utility>

namespace px {

namespace {

constexpr int kMaxMessages = 8;  // a broken file can repeat a message per strip

// Where libtiff's messages go while one file is read on this thread.
struct MessageSink {
    QStringList errors;
    QStringList warnings;

    void add(QStringList& list, const char* module, const char* format, va_list args)
    {
        if (list.size() >= kMaxMessages)
            return;
        char text[512];
        std::vsnprintf(text, sizeof text, format, args);
        QString message = QString::fromUtf8(text).trimmed();
        if (module && *module)
            message = QString::fromUtf8(module) + QStringLiteral(": ") + message;
        list.append(message);
    }
};

thread_local MessageSink* tlSink = nullptr;

// Messages libtiff reports without a file handle end up here: kept for the reader that runs
// on this thread, dropped otherwise; never printed.
void globalError(const char* module, const char* format, va_list args)
{
    if (tlSink)
        tlSink->add(tlSink->errors, module, format, args);
}

void globalWarning(const char* module, const char* format, va_list args)
{
    if (tlSink)
        tlSink->add(tlSink->warnings, module, format, args);
}

int handleError(TIFF*, void* sink, const char* module, const char* format, va_list args)
{
    auto* s = static_cast<MessageSink*>(sink);
    s->add(s->errors, module, format, args);
    return 1;  // handled: libtiff's own handlers stay silent
}

int handleWarning(TIFF*, void* sink, const char* module, const char* format, va_list args)
{
    auto* s = static_cast<MessageSink*>(sink);
    s->add(s->warnings, module, format, args);
    return 1;
}

void installGlobalHandlers()
{
    static std::once_flag once;
    std::call_once(once, [] {
        TIFFSetErrorHandler(globalError);
        TIFFSetWarningHandler(globalWarning);
        TIFFSetErrorHandlerExt(nullptr);
        TIFFSetWarningHandlerExt(nullptr);
    });
}

// The file as libtiff's client I/O: read-only, held in memory.
struct MemoryFile {
    const char* data;
    quint64 size;
    quint64 pos = 0;
};

tmsize_t readProc(thandle_t handle, void* buffer, tmsize_t size)
{
    auto* f = static_cast<MemoryFile*>(handle);
    if (size <= 0 || f->pos >= f->size)
        return 0;
    const quint64 n = std::min<quint64>(quint64(size), f->size - f->pos);
    std::memcpy(buffer, f->data + f->pos, n);
    f->pos += n;
    return tmsize_t(n);
}

tmsize_t writeProc(thandle_t, void*, tmsize_t)
{
    return 0;
}

toff_t seekProc(thandle_t handle, toff_t offset, int whence)
{
    auto* f = static_cast<MemoryFile*>(handle);
    quint64 base = 0;
    switch (whence) {
    case SEEK_SET: break;
    case SEEK_CUR: base = f->pos; break;
    case SEEK_END: base = f->size; break;
    default: return toff_t(-1);
    }
    if (whence == SEEK_SET) {
        f->pos = offset;  // past the end is allowed; reads there return nothing
        return f->pos;
    }
    // Relative offsets arrive as two's complement in the unsigned toff_t.
    const qint64 delta = qint64(offset);
    if (delta < 0) {
        const quint64 back = quint64(-(delta + 1)) + 1;
        if (back > base)
            return toff_t(-1);
        f->pos = base - back;
    } else {
        if (quint64(delta) > std::numeric_limits<quint64>::max() - base)
            return toff_t(-1);
        f->pos = base + quint64(delta);
    }
    return f->pos;
}

int closeProc(thandle_t)
{
    return 0;
}

toff_t sizeProc(thandle_t handle)
{
    return static_cast<MemoryFile*>(handle)->size;
}

// Handing libtiff the buffer as a mapping spares it copying uncompressed strips.
int mapProc(thandle_t handle, void** base, toff_t* size)
{
    auto* f = static_cast<MemoryFile*>(handle);
    *base = const_cast<char*>(f->data);
    *size = f->size;
    return 1;
}

void unmapProc(thandle_t, void*, toff_t) {}

struct TiffCloser {
    void operator()(TIFF* tif) const { TIFFClose(tif); }
};

struct OptionsDeleter {
    void operator()(TIFFOpenOptions* o) const { TIFFOpenOptionsFree(o); }
};

bool hasAlpha(TIFF* tif)
{
    uint16_t count = 0;
    uint16_t* kinds = nullptr;
    if (!TIFFGetField(tif, TIFFTAG_EXTRASAMPLES, &count, &kinds) || !kinds)
        return false;
    for (uint16_t i = 0; i < count; ++i)
        if (kinds[i] == EXTRASAMPLE_ASSOCALPHA || kinds[i] == EXTRASAMPLE_UNASSALPHA)
            return true;
    return false;
}

QString firstOr(const QStringList& messages, const QString& fallback)
{
    return messages.isEmpty() ? fallback : messages.first();
}

} // namespace

TiffReadResult ReadTiff(const QByteArray& data, const TiffReadLimits& limits)
{
    TiffReadResult result;
    installGlobalHandlers();
    MessageSink sink;
    MessageSink* const previousSink = tlSink;
    tlSink = &sink;
    struct Restore {
        MessageSink* previous;
        ~Restore() { tlSink = previous; }
    } restore{previousSink};

    auto finish = [&](const QString& error) {
        result.error = error;
        // Errors libtiff recovered from are kept with its warnings.
        result.warnings = sink.errors + sink.warnings;
        if (!error.isEmpty())
            result.image = QImage();
        return result;
    };

    if (data.size() < 8)
        return finish(QStringLiteral("not a TIFF file (too short)"));

    std::unique_ptr<TIFFOpenOptions, OptionsDeleter> options(TIFFOpenOptionsAlloc());
    if (!options)
        return finish(QStringLiteral("out of memory"));
    TIFFOpenOptionsSetMaxSingleMemAlloc(options.get(), tmsize_t(limits.maxBytes));
    TIFFOpenOptionsSetErrorHandlerExtR(options.get(), handleError, &sink);
    TIFFOpenOptionsSetWarningHandlerExtR(options.get(), handleWarning, &sink);

    MemoryFile file{data.constData(), quint64(data.size())};
    std::unique_ptr<TIFF, TiffCloser> tif(TIFFClientOpenExt("TIFF", "r", &file, readProc, writeProc, seekProc,
                                                           closeProc, sizeProc, mapProc, unmapProc,
                                                           options.get()));
    if (!tif)
        return finish(firstOr(sink.errors, QStringLiteral("not a TIFF file")));

    uint32_t width = 0, height = 0;
    TIFFGetField(tif.get(), TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tif.get(), TIFFTAG_IMAGELENGTH, &height);
    if (width == 0 || height == 0)
        return finish(QStringLiteral("the image has no pixels (%1 x %2)").arg(width).arg(height));
    const qint64 pixels = qint64(width) * qint64(height);
    if (pixels > limits.maxPixels || pixels * 4 > limits.maxBytes || width > uint32_t(std::numeric_limits<int>::max() / 4)
        || height > uint32_t(std::numeric_limits<int>::max()))
        return finish(QStringLiteral("picture too large (%1 x %2 pixels)").arg(width).arg(height));

    uint16_t bitsPerSample = 1, samplesPerPixel = 1;
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_BITSPERSAMPLE, &bitsPerSample);
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_SAMPLESPERPIXEL, &samplesPerPixel);
    // Both are 16-bit fields of the file; their product can exceed an int.
    result.bitsPerPixel = int(std::min<qint64>(qint64(bitsPerSample) * samplesPerPixel, std::numeric_limits<int>::max()));

    char reason[1024] = {};
    if (!TIFFRGBAImageOK(tif.get(), reason))
        return finish(QStringLiteral("unsupported TIFF image: %1").arg(QString::fromUtf8(reason)));

    // libtiff delivers each pixel as the word A<<24 | B<<16 | G<<8 | R with premultiplied alpha,
    // which in little-endian memory is Qt's premultiplied RGBA byte order.
    QImage raster(int(width), int(height), QImage::Format_RGBA8888_Premultiplied);
    if (raster.isNull() || raster.bytesPerLine() != qsizetype(width) * 4)
        return finish(QStringLiteral("out of memory for %1 x %2 pixels").arg(width).arg(height));
    auto* words = reinterpret_cast<uint32_t*>(raster.bits());
    if (!TIFFReadRGBAImageOriented(tif.get(), width, height, words, ORIENTATION_TOPLEFT, 1))
        return finish(firstOr(sink.errors, QStringLiteral("the image data cannot be read")));
    if constexpr (QSysInfo::ByteOrder == QSysInfo::BigEndian) {
        for (qint64 i = 0; i < pixels; ++i)
            words[i] = qbswap(words[i]);
    }
    // Converted in place where Qt can: the raster may be large.
    result.image = std::move(raster).convertToFormat(hasAlpha(tif.get()) ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (result.image.isNull())
        return finish(QStringLiteral("out of memory for %1 x %2 pixels").arg(width).arg(height));
    return finish(QString());
}

} // namespace px
