#pragma once
// JPEG files through libjpeg-turbo: the writer with the picture's stored JPEG settings, and
// the reader with the 1:1, 1:2, 1:4 and 1:8 decodes of the JPEG scaling window.
#include <QByteArray>
#include <QIODevice>
#include <QImage>
#include <QSize>
#include <QString>

namespace px {

struct JpegWriteOptions {
    int quality = 90;  // 1..100; the tables are kept baseline-compatible at every quality
    // "JpgPerformance" 1 (best speed): the fast integer DCT. 0 (best quality): the accurate one.
    bool bestSpeed = false;
    // "JpgPixelFormat" 1 (8 bit). A JPEG file holds 8 bits per sample and no palette, so the
    // setting names the depth a decoder shows the picture in; the file written is the same as
    // with 24 bit.
    bool eightBit = false;
    bool greyScale = false;  // "JpgColr" 1: one grey component instead of three colour ones
    // "JpgCompress" in the automatic save: the whole file is encoded in memory first and then
    // handed to the device in one write, so a failed encode leaves the device untouched.
    // Streaming gives the same bytes.
    bool compressFirst = false;
    // "JpgEncoding" (progressive display) only concerns how a decoder shows a progressive file
    // while it arrives; written files are baseline whatever it says, so it is not taken here.
};

// Writes image (RGB32 and ARGB32 directly, any other format converted; alpha is not stored)
// to device as a baseline JFIF file. False with *error (a short English reason) when the
// picture is empty or too large for JPEG (65500 pixels a side) or the device fails.
bool WriteJpeg(const QImage& image, QIODevice& device, const JpegWriteOptions& options = {},
               QString* error = nullptr);

// Caps on what a file may make the reader allocate or do; the defaults are the program's.
struct JpegReadLimits {
    qint64 maxPixels = qint64(1) << 28;       // of the full-size picture the file declares
    qint64 maxMemoryBytes = qint64(1) << 31;  // decoded picture plus the decoder's buffers
    int maxScans = 500;                       // progressive files; real ones have about ten
};

struct JpegReadResult {
    QImage image;      // Format_RGB32; null when the file could not be read
    QString error;     // why image is null
    // The file is damaged (cut short, corrupt entropy data) but a picture was decoded: the
    // first problem libjpeg reported. Rows past the damage hold the decoder's filler.
    QString warning;
    QSize fullSize;    // the picture's size at 1:1, once the header was read
};

// Decodes a whole JPEG file at 1/scaleDenominator of its size (1, 2, 4 or 8; the result is
// ceil(width / scale) x ceil(height / scale)). Grey, colour, CMYK and YCCK files give RGB32.
JpegReadResult ReadJpeg(const QByteArray& data, int scaleDenominator = 1, const JpegReadLimits& limits = {});

} // namespace px
