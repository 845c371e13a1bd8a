#pragma once
// Reading and writing picture files by type: the writer of a file-type index with the
// settings it applies, and the reader an extension chooses. Every write goes to a temporary
// file beside the target that is renamed into place.
#include "files/BmpFile.h"

#include <QImage>
#include <QString>

namespace px {

// The settings the writers apply ("BmpPixForm", "BmpMonochrome", "JpgPixelFormat", "JpgColr",
// "JpgPerformance", "JpgCompress", "GifComp", "GifDith", "GifColOpt").
struct PictureWriteSettings {
    int bmpPixForm = 6;
    bool bmpMonochrome = false;
    int jpgPixelFormat = 0;
    int jpgColr = 0;
    int jpgPerformance = 0;
    bool jpgCompress = false;
    int gifComp = 0;
    int gifDith = 0;
    int gifColOpt = 0;
    int pngCompression = 6;  // zlib level; libpng's default unless a caller needs speed
};

// Save As sets the BMP pixel format before the monochrome flag; the automatic save the other
// way round, and only it compresses JPEG data explicitly.
enum class WriteOccasion { SaveAs, AutoSave };

struct PictureWriteResult {
    bool ok = false;
    QString error;
    // A BMP or PXG write changes the picture itself to the written pixel format; the caller
    // keeps this image and its declared bits (0 = unchanged).
    QImage keptImage;
    int declaredBits = 0;
};

PictureWriteResult WritePictureFile(int fileTypeIndex, const QImage& image, int declaredBits,
                                    const PictureWriteSettings& settings, WriteOccasion occasion,
                                    const QString& path);

// What a file holds once read.
enum class PictureFileKind { Bmp, Jpeg, Gif, Png, Ico, Pxg, Tif, Wmf, Emf, Unknown };

struct PictureReadResult {
    QImage image;
    QString error;            // empty on success; a short reason otherwise
    PictureFileKind kind = PictureFileKind::Unknown;
    int bitsPerPixel = 0;     // of the file, where the format has one
    BmpPixelFormat bmpFormat = BmpPixelFormat::Device;  // bitmap files: their pixel format
};

// Chooses the reader by the file's extension (".bmp", ".jpg"/".jpeg", ".gif", ".png",
// ".ico", ".pxg", ".tif"/".tiff", ".wmf", ".emf"). Metafiles are told apart by their content
// and come back rendered at their own size. jpegScale is 1, 2, 4 or 8 (the JPEG decode at 1:scale).
PictureReadResult ReadPictureFile(const QString& path, int jpegScale = 1);
PictureFileKind PictureFileKindForExtension(const QString& extensionWithDot);

} // namespace px
