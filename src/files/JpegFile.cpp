#include "files/JpegFile.h"

#include <QSysInfo>

#include <algorithm>
#include <climits>
#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE and size_t declared first
#include <cstring>
#include <memory>
#include <vector>

#include <jpeglib.h>

namespace px {

namespace {

// libjpeg reports a fatal error through error_exit, which must not return: it jumps back to
// the setjmp of the function that drives the codec. Everything the jump passes over is plain
// data (libjpeg's own frames and our callbacks); the state lives in a job object owned by the
// caller, so nothing is left half-destroyed.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];       // the fatal error, when there is one
    char firstWarning[JMSG_LENGTH_MAX];  // the first recoverable problem in the data
};

ErrorManager* errorManager(j_common_ptr cinfo)
{
    return reinterpret_cast<ErrorManager*>(cinfo->err);
}

[[noreturn]] void failWith(j_common_ptr cinfo, const char* text)
{
    ErrorManager* err = errorManager(cinfo);
    std::snprintf(err->message, sizeof err->message, "%s", text);
    std::longjmp(err->jump, 1);
}

[[noreturn]] void onErrorExit(j_common_ptr cinfo)
{
    ErrorManager* err = errorManager(cinfo);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

void onEmitMessage(j_common_ptr cinfo, int level)
{
    if (level >= 0)
        return;  // trace output
    ErrorManager* err = errorManager(cinfo);
    if (cinfo->err->num_warnings++ == 0)
        (*cinfo->err->format_message)(cinfo, err->firstWarning);
}

void onOutputMessage(j_common_ptr) {}  // nothing goes to stderr

void initErrorManager(ErrorManager& err)
{
    jpeg_std_error(&err.pub);
    err.pub.error_exit = onErrorExit;
    err.pub.emit_message = onEmitMessage;
    err.pub.output_message = onOutputMessage;
    err.message[0] = '\0';
    err.firstWarning[0] = '\0';
}

// ---- writing ----

constexpr size_t kOutputChunk = 64 * 1024;

// Destination manager that hands the encoded bytes to a QIODevice in chunks, or collects them
// in memory when the file is to be compressed completely before it is written.
struct Destination {
    jpeg_destination_mgr pub;
    QIODevice* device = nullptr;  // null: collect into memory
    QByteArray memory;
    QString deviceError;
    std::vector<JOCTET> buffer = std::vector<JOCTET>(kOutputChunk);
};

Destination* destination(j_compress_ptr cinfo)
{
    return reinterpret_cast<Destination*>(cinfo->dest);
}

void flushChunk(j_compress_ptr cinfo, size_t length)
{
    Destination* dest = destination(cinfo);
    const char* bytes = reinterpret_cast<const char*>(dest->buffer.data());
    if (!dest->device) {
        dest->memory.append(bytes, qsizetype(length));
        return;
    }
    if (dest->device->write(bytes, qint64(length)) != qint64(length)) {
        dest->deviceError = dest->device->errorString();
        if (dest->deviceError.isEmpty())
            dest->deviceError = QStringLiteral("the file could not be written");
        failWith(reinterpret_cast<j_common_ptr>(cinfo), "write failed");
    }
}

void onInitDestination(j_compress_ptr cinfo)
{
    Destination* dest = destination(cinfo);
    dest->pub.next_output_byte = dest->buffer.data();
    dest->pub.free_in_buffer = dest->buffer.size();
}

boolean onEmptyOutputBuffer(j_compress_ptr cinfo)
{
    // libjpeg calls this with the whole buffer full, whatever free_in_buffer says.
    flushChunk(cinfo, destination(cinfo)->buffer.size());
    onInitDestination(cinfo);
    return TRUE;
}

void onTermDestination(j_compress_ptr cinfo)
{
    Destination* dest = destination(cinfo);
    flushChunk(cinfo, dest->buffer.size() - dest->pub.free_in_buffer);
}

struct WriteJob {
    ErrorManager err;
    Destination dest;
    jpeg_compress_struct cinfo;
    bool created = false;
    std::vector<JSAMPROW> rows;
};

// Pixels in memory are 32-bit words 0xAARRGGBB; libjpeg reads their bytes in memory order and
// skips the fourth.
constexpr J_COLOR_SPACE kWordInput = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? JCS_EXT_BGRX : JCS_EXT_XRGB;

bool encode(WriteJob& job, int width, int height, const JpegWriteOptions& options)
{
    if (setjmp(job.err.jump))
        return false;
    job.cinfo.err = &job.err.pub;
    jpeg_create_compress(&job.cinfo);
    job.created = true;

    job.dest.pub.init_destination = onInitDestination;
    job.dest.pub.empty_output_buffer = onEmptyOutputBuffer;
    job.dest.pub.term_destination = onTermDestination;
    job.cinfo.dest = &job.dest.pub;

    job.cinfo.image_width = JDIMENSION(width);
    job.cinfo.image_height = JDIMENSION(height);
    job.cinfo.input_components = 4;
    job.cinfo.in_color_space = kWordInput;
    jpeg_set_defaults(&job.cinfo);
    if (options.greyScale)
        jpeg_set_colorspace(&job.cinfo, JCS_GRAYSCALE);
    jpeg_set_quality(&job.cinfo, std::clamp(options.quality, 1, 100), TRUE);
    job.cinfo.dct_method = options.bestSpeed ? JDCT_IFAST : JDCT_ISLOW;

    jpeg_start_compress(&job.cinfo, TRUE);
    while (job.cinfo.next_scanline < job.cinfo.image_height) {
        const JDIMENSION done = job.cinfo.next_scanline;
        if (jpeg_write_scanlines(&job.cinfo, job.rows.data() + done, job.cinfo.image_height - done) == 0)
            failWith(reinterpret_cast<j_common_ptr>(&job.cinfo), "the encoder stopped");
    }
    jpeg_finish_compress(&job.cinfo);
    return true;
}

bool fail(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}

// ---- reading ----

struct ProgressGuard {
    jpeg_progress_mgr pub;
    int maxScans = 0;
};

void onProgress(j_common_ptr cinfo)
{
    if (!cinfo->is_decompressor)
        return;
    const auto* guard = reinterpret_cast<const ProgressGuard*>(cinfo->progress);
    // A progressive file can repeat scans without end, each one a pass over the whole picture.
    if (reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > guard->maxScans)
        failWith(cinfo, "the file has too many scans");
}

struct ReadJob {
    ErrorManager err;
    ProgressGuard progress;
    jpeg_decompress_struct cinfo;
    bool created = false;
    QImage image;
    QSize fullSize;
    std::vector<JSAMPLE> cmykRows;
};

constexpr J_COLOR_SPACE kWordOutput = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? JCS_EXT_BGRA : JCS_EXT_ARGB;
constexpr int kRowsPerRead = 16;

// One CMYK sample pair to a colour channel. Files with an Adobe marker store the inks
// inverted (0 is full ink), as Photoshop writes them; others store them plainly.
inline int inkToChannel(int colourInk, int blackInk, bool inverted)
{
    if (!inverted) {
        colourInk = 255 - colourInk;
        blackInk = 255 - blackInk;
    }
    return (colourInk * blackInk + 127) / 255;
}

void convertCmykRow(const JSAMPLE* cmyk, QRgb* out, int width, bool inverted)
{
    for (int x = 0; x < width; ++x, cmyk += 4) {
        const int k = cmyk[3];
        out[x] = qRgb(inkToChannel(cmyk[0], k, inverted), inkToChannel(cmyk[1], k, inverted),
                      inkToChannel(cmyk[2], k, inverted));
    }
}

bool decode(ReadJob& job, const QByteArray& data, int scale, const JpegReadLimits& limits)
{
    if (setjmp(job.err.jump))
        return false;
    j_common_ptr common = reinterpret_cast<j_common_ptr>(&job.cinfo);
    job.cinfo.err = &job.err.pub;
    jpeg_create_decompress(&job.cinfo);
    job.created = true;
    if (data.isEmpty())
        failWith(common, "the file is empty");
    jpeg_mem_src(&job.cinfo, reinterpret_cast<const unsigned char*>(data.constData()),
                 static_cast<unsigned long>(data.size()));
    job.progress.pub.progress_monitor = onProgress;
    job.progress.maxScans = limits.maxScans;
    job.cinfo.progress = &job.progress.pub;

    jpeg_read_header(&job.cinfo, TRUE);
    job.fullSize = QSize(int(job.cinfo.image_width), int(job.cinfo.image_height));
    if (qint64(job.cinfo.image_width) * job.cinfo.image_height > limits.maxPixels)
        failWith(common, "the picture is too large");

    bool cmyk = false;
    switch (job.cinfo.jpeg_color_space) {
    case JCS_GRAYSCALE:
    case JCS_YCbCr:
    case JCS_RGB:
        job.cinfo.out_color_space = kWordOutput;
        break;
    case JCS_CMYK:
    case JCS_YCCK:
        job.cinfo.out_color_space = JCS_CMYK;
        cmyk = true;
        break;
    default:
        failWith(common, "the colour components of the file are not supported");
    }
    job.cinfo.scale_num = 1;
    job.cinfo.scale_denom = static_cast<unsigned int>(scale);
    jpeg_calc_output_dimensions(&job.cinfo);

    const int width = int(job.cinfo.output_width);
    const int height = int(job.cinfo.output_height);
    qint64 memory = qint64(width) * height * 4;
    if (cmyk)
        memory += qint64(width) * 4 * kRowsPerRead;
    if (job.cinfo.progressive_mode) {
        // The whole file's coefficients are held until the last scan has been read.
        for (int c = 0; c < job.cinfo.num_components; ++c) {
            const jpeg_component_info& comp = job.cinfo.comp_info[c];
            memory += qint64(comp.width_in_blocks) * comp.height_in_blocks * qint64(sizeof(JBLOCK));
        }
    }
    if (memory > limits.maxMemoryBytes)
        failWith(common, "the picture needs too much memory");
    job.cinfo.mem->max_memory_to_use = long(std::min<qint64>(limits.maxMemoryBytes - memory, LONG_MAX));

    job.image = QImage(width, height, QImage::Format_RGB32);
    if (job.image.isNull())
        failWith(common, "not enough memory for the picture");
    if (cmyk)
        job.cmykRows.resize(size_t(width) * 4 * kRowsPerRead);

    jpeg_start_decompress(&job.cinfo);
    if (int(job.cinfo.output_width) != width || int(job.cinfo.output_height) != height
        || job.cinfo.output_components != 4)
        failWith(common, "the decoder chose an unexpected layout");

    JSAMPROW rows[kRowsPerRead];
    while (job.cinfo.output_scanline < job.cinfo.output_height) {
        const int first = int(job.cinfo.output_scanline);
        const int count = std::min(kRowsPerRead, height - first);
        for (int i = 0; i < count; ++i)
            rows[i] = cmyk ? job.cmykRows.data() + size_t(i) * width * 4 : job.image.scanLine(first + i);
        const int read = int(jpeg_read_scanlines(&job.cinfo, rows, JDIMENSION(count)));
        if (read <= 0)
            failWith(common, "the decoder stopped");
        if (cmyk)
            for (int i = 0; i < read; ++i)
                convertCmykRow(rows[i], reinterpret_cast<QRgb*>(job.image.scanLine(first + i)), width,
                               job.cinfo.saw_Adobe_marker);
    }
    // The picture is complete; what follows its last scan does not change it, so the file is
    // not read to its end marker.
    return true;
}

} // namespace

bool WriteJpeg(const QImage& image, QIODevice& device, const JpegWriteOptions& options, QString* error)
{
    if (image.isNull() || image.width() <= 0 || image.height() <= 0)
        return fail(error, QStringLiteral("the picture is empty"));
    if (image.width() > JPEG_MAX_DIMENSION || image.height() > JPEG_MAX_DIMENSION)
        return fail(error, QStringLiteral("the picture is larger than a JPEG file can hold (%1 pixels a side)")
                               .arg(JPEG_MAX_DIMENSION));
    const bool direct = image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32;
    const QImage src = direct ? image : image.convertToFormat(QImage::Format_RGB32);
    if (src.isNull())
        return fail(error, QStringLiteral("not enough memory for the picture"));

    auto job = std::make_unique<WriteJob>();
    initErrorManager(job->err);
    job->dest.device = options.compressFirst ? nullptr : &device;
    job->rows.resize(size_t(src.height()));
    for (int y = 0; y < src.height(); ++y)
        job->rows[size_t(y)] = const_cast<JSAMPROW>(src.constScanLine(y));  // libjpeg only reads them

    bool ok = encode(*job, src.width(), src.height(), options);
    if (job->created)
        jpeg_destroy_compress(&job->cinfo);
    if (!ok)
        return fail(error, job->dest.deviceError.isEmpty() ? QString::fromLatin1(job->err.message)
                                                           : job->dest.deviceError);
    if (options.compressFirst && device.write(job->dest.memory) != job->dest.memory.size()) {
        const QString reason = device.errorString();
        return fail(error, reason.isEmpty() ? QStringLiteral("the file could not be written") : reason);
    }
    return true;
}

JpegReadResult ReadJpeg(const QByteArray& data, int scaleDenominator, const JpegReadLimits& limits)
{
    JpegReadResult result;
    if (scaleDenominator != 1 && scaleDenominator != 2 && scaleDenominator != 4 && scaleDenominator != 8) {
        result.error = QStringLiteral("unsupported scale 1:%1").arg(scaleDenominator);
        return result;
    }
    auto job = std::make_unique<ReadJob>();
    initErrorManager(job->err);
    const bool ok = decode(*job, data, scaleDenominator, limits);
    if (job->created)
        jpeg_destroy_decompress(&job->cinfo);
    result.fullSize = job->fullSize;
    if (!ok) {
        result.error = QString::fromLatin1(job->err.message);
        return result;
    }
    result.image = std::move(job->image);
    if (job->err.pub.num_warnings > 0)
        result.warning = QString::fromLatin1(job->err.firstWarning);
    return result;
}

} // namespace px
