// The conversion routines: read the source by its type, turn icons into bitmaps and bitmaps
// into icons where the routine says so, write the target atomically. Every routine works in
// memory; a two-step routine hands its intermediate bitmap over directly instead of through a
// shared temporary file.
#include "files/GraphicConvert.h"

#include "files/BmpFile.h"
#include "files/ConversionTable.h"
#include "files/GifFile.h"
#include "files/IcoFile.h"
#include "files/IconConvert.h"
#include "files/JpegFile.h"
#include "files/MetafilePlayer.h"
#include "files/MetafileWriter.h"
#include "files/PictureFiles.h"
#include "files/PngReader.h"
#include "files/TiffReader.h"
#include "platform/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <optional>

namespace px {

namespace {

// No picture file of ours comes near this; larger files are not read into memory.
constexpr qint64 kMaxSourceBytes = qint64(1) << 30;

enum class FileType { Bmp, Pxg, Jpeg, Gif, Png, Ico, Wmf, Emf, Tif, None };

FileType fileTypeOf(const QString& extensionWithDot)
{
    const QString ext = extensionWithDot.toLower();
    if (ext == QLatin1String(".bmp") || ext == QLatin1String(".dib"))
        return FileType::Bmp;
    if (ext == QLatin1String(".pxg"))
        return FileType::Pxg;
    if (ext == QLatin1String(".jpg") || ext == QLatin1String(".jpeg"))
        return FileType::Jpeg;
    if (ext == QLatin1String(".gif"))
        return FileType::Gif;
    if (ext == QLatin1String(".png"))
        return FileType::Png;
    if (ext == QLatin1String(".ico"))
        return FileType::Ico;
    if (ext == QLatin1String(".wmf"))
        return FileType::Wmf;
    if (ext == QLatin1String(".emf"))
        return FileType::Emf;
    if (ext == QLatin1String(".tif") || ext == QLatin1String(".tiff"))
        return FileType::Tif;
    return FileType::None;
}

QString extensionOf(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix();
    return suffix.isEmpty() ? QString() : QLatin1Char('.') + suffix;
}

bool isBitmapData(FileType type) { return type == FileType::Bmp || type == FileType::Pxg; }

// The picture as read, with the depth a bitmap or TIFF file declared.
struct SourcePicture {
    QImage image;
    std::optional<BmpPixelFormat> bmpFormat;  // bitmap files only
    int bitsPerPixel = 0;                     // bitmap and TIFF files; 0 otherwise
};

bool readSource(const QString& path, FileType type, SourcePicture* picture, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    if (file.size() > kMaxSourceBytes) {
        *error = QStringLiteral("cannot read %1: the file is too large").arg(path);
        return false;
    }
    QString why;
    if (type == FileType::Png) {
        // Decoded straight from the file: no copy of the whole file in memory.
        const PngReadResult r = ReadPng(file);
        picture->image = r.image;
        why = r.error;
    }
    const QByteArray data = type == FileType::Png ? QByteArray() : file.readAll();
    file.close();

    switch (type) {
    case FileType::Bmp:
    case FileType::Pxg: {
        const BmpReadResult r = ReadBmp(data);
        picture->image = r.image;
        why = r.error;
        picture->bmpFormat = r.format;
        picture->bitsPerPixel = BmpBitsPerPixel(r.format);
        break;
    }
    case FileType::Jpeg: {
        const JpegReadResult r = ReadJpeg(data);
        picture->image = r.image;
        why = r.error;
        break;
    }
    case FileType::Gif: {
        const GifReadResult r = ReadGif(data);
        picture->image = r.image;
        why = r.error;
        break;
    }
    case FileType::Png:
        break;  // read above
    case FileType::Ico: {
        const IcoReadResult r = ReadIco(data);
        picture->image = r.image;
        why = r.error;
        break;
    }
    case FileType::Wmf:
    case FileType::Emf: {
        // Enhanced or placeable by the content, whatever the extension says.
        const MetafileReadResult r = ReadMetafile(data);
        picture->image = r.image;
        why = r.error;
        break;
    }
    case FileType::Tif: {
        const TiffReadResult r = ReadTiff(data);
        picture->image = r.image;
        why = r.error;
        picture->bitsPerPixel = r.bitsPerPixel;
        break;
    }
    case FileType::None:
        why = QStringLiteral("no reader for this file type");
        break;
    }
    if (why.isEmpty() && picture->image.isNull())
        why = QStringLiteral("the file holds no picture");
    if (!why.isEmpty()) {
        *error = QStringLiteral("cannot read %1: %2").arg(path, why);
        return false;
    }
    return true;
}

// The writers' own file-type indexes.
int writerIndexOf(FileType type)
{
    switch (type) {
    case FileType::Bmp: return 0;
    case FileType::Jpeg: return 1;
    case FileType::Gif: return 2;
    case FileType::Wmf: return 3;
    case FileType::Emf: return 4;
    case FileType::Ico: return 5;
    case FileType::Pxg: return 6;
    case FileType::Tif: return 7;
    case FileType::Png: return 8;
    case FileType::None: break;
    }
    return -1;
}

bool writeTarget(const QString& path, FileType type, const QImage& image, const SourcePicture& source,
                 bool keepBitmapDepth, QString* error)
{
    QString why;
    bool ok = false;
    if (type == FileType::Bmp || type == FileType::Pxg) {
        // A copy between bitmap files keeps the source's pixel format; other bitmaps are
        // 24 bits, the default of the bitmap writer. WriteBmp converts as it writes, so the
        // picture is not copied first.
        const BmpPixelFormat format = keepBitmapDepth && source.bmpFormat
                                          ? *source.bmpFormat
                                          : BmpPixelFormatFromOption(PictureWriteSettings{}.bmpPixForm);
        ok = writeFileAtomically(path, [&](QIODevice& file, QString* e) { return WriteBmp(image, format, file, e); },
                                 &why);
    } else if (type == FileType::Emf) {
        // Written without a description, unlike a picture saved from the main window.
        ok = writeFileAtomically(path, [&](QIODevice& file, QString* e) { return WriteEmf(image, QString(), file, e); },
                                 &why);
    } else {
        // The TIFF writer takes the depth of the bitmap it is given; other pictures are 24 bits.
        const int declaredBits = type == FileType::Tif && source.bitsPerPixel > 0 ? source.bitsPerPixel : 0;
        const PictureWriteResult r =
            WritePictureFile(writerIndexOf(type), image, declaredBits, PictureWriteSettings{}, WriteOccasion::SaveAs, path);
        ok = r.ok;
        why = r.error;
    }
    if (!ok) {
        if (why.isEmpty())
            why = QStringLiteral("the writer failed");
        *error = why.startsWith(QLatin1String("cannot write")) ? why
                                                               : QStringLiteral("cannot write %1: %2").arg(path, why);
    }
    return ok;
}

// Runs one conversion. asRoutine: the pair has a routine of its own, which makes an icon
// source an opaque bitmap first and an icon target opaque. Otherwise the picture is taken as
// read; only an icon going to a type without transparency is drawn on white first.
void convert(const QString& sourcePath, FileType sourceType, FileType targetType, bool asRoutine,
             GraphicConversion* result)
{
    SourcePicture source;
    QString error;
    if (!readSource(sourcePath, sourceType, &source, &error)) {
        result->status = GraphicConversion::Status::Failed;
        result->error = error;
        return;
    }
    QImage image = source.image;
    const bool targetHoldsAlpha = targetType == FileType::Png || targetType == FileType::Ico;
    if (sourceType == FileType::Ico && (asRoutine || !targetHoldsAlpha))
        image = IconToBitmap(image);
    if (targetType == FileType::Ico && asRoutine)
        image = BitmapToIcon(image);
    const bool keepDepth = isBitmapData(sourceType) && isBitmapData(targetType);
    if (!writeTarget(result->targetPath, targetType, image, source, keepDepth, &error)) {
        result->status = GraphicConversion::Status::Failed;
        result->error = error;
        return;
    }
    result->status = GraphicConversion::Status::Converted;
    result->error.clear();
}

} // namespace

GraphicConversion ConvertGraphicFile(const QString& sourcePath, const QString& targetFolder,
                                     const QString& sourceExt, const QString& targetExt)
{
    GraphicConversion result;
    const QString named = QDir(targetFolder).filePath(QFileInfo(sourcePath).fileName());
    result.targetPath = ConversionTargetPath(named, sourceExt, targetExt);
    if (ConversionPairCode(sourceExt, targetExt) < 0) {
        result.status = GraphicConversion::Status::NoRoutine;
        result.error = QString::fromUtf8(kNoConversionRoutineMessage);
        return result;
    }
    convert(sourcePath, fileTypeOf(sourceExt), fileTypeOf(targetExt), true, &result);
    return result;
}

GraphicConversion ConvertPictureFile(const QString& sourcePath, const QString& targetPath)
{
    GraphicConversion result;
    result.targetPath = targetPath;
    const QString sourceExt = extensionOf(sourcePath);
    const QString targetExt = extensionOf(targetPath);
    if (ConversionPairCode(sourceExt, targetExt) >= 0) {
        convert(sourcePath, fileTypeOf(sourceExt), fileTypeOf(targetExt), true, &result);
        return result;
    }
    const FileType sourceType = fileTypeOf(sourceExt);
    const FileType targetType = fileTypeOf(targetExt);
    if (sourceType == FileType::None || targetType == FileType::None) {
        result.status = GraphicConversion::Status::NoRoutine;
        const auto name = [](const QString& ext) {
            return ext.isEmpty() ? QStringLiteral("files without an extension") : ext + QStringLiteral(" files");
        };
        result.error = sourceType == FileType::None
                           ? QStringLiteral("no conversion from %1: they cannot be read").arg(name(sourceExt))
                           : QStringLiteral("no conversion to %1: they cannot be written").arg(name(targetExt));
        return result;
    }
    convert(sourcePath, sourceType, targetType, false, &result);
    return result;
}

bool IsMetafilePath(const QString& path)
{
    const FileType type = fileTypeOf(extensionOf(path));
    return type == FileType::Wmf || type == FileType::Emf;
}

} // namespace px
