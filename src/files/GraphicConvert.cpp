// The conversion routines: read the source by its type, turn icons into bitmaps and bitmaps
// into icons where the routine says so, write the target atomically. Every routine works in
// memory; a two-step routine hands its intermediate bitmap over directly instead of through a
// shared temporary file.
#include "files/GraphicConvert.h"

#include "files/BmpFile.h"
#include "files/ConversionTable.h"
#include "files/FileTypes.h"
#include "files/IconConvert.h"
#include "files/MetafileWriter.h"
#include "files/PictureFiles.h"
#include "platform/AtomicFile.h"

#include <QDir>
#include <QFileInfo>


namespace px {

namespace {

QString extensionOf(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix();
    return suffix.isEmpty() ? QString() : QLatin1Char('.') + suffix;
}

// Every extension of the file-type index has a writer (the PCX extension has no index).
bool hasWriter(const QString& extensionWithDot) { return FileTypeIndexForExtension(extensionWithDot) >= 0; }

bool isBitmapData(PictureFileKind kind) { return kind == PictureFileKind::Bmp || kind == PictureFileKind::Pxg; }

bool writeTarget(const QString& path, const QString& targetExt, const QImage& image, const PictureReadResult& source,
                 bool keepBitmapDepth, QString* error)
{
    const PictureFileKind type = PictureFileKindForExtension(targetExt);
    QString why;
    bool ok = false;
    if (isBitmapData(type)) {
        // A copy between bitmap files keeps the source's pixel format; other bitmaps are
        // 24 bits, the default of the bitmap writer. WriteBmp converts as it writes, so the
        // picture is not copied first.
        const BmpPixelFormat format = keepBitmapDepth ? source.bmpFormat
                                                      : BmpPixelFormatFromOption(PictureWriteSettings{}.bmpPixForm);
        ok = writeFileAtomically(path, [&](QIODevice& file, QString* e) { return WriteBmp(image, format, file, e); },
                                 &why);
    } else if (type == PictureFileKind::Emf) {
        // Written without a description, unlike a picture saved from the main window.
        ok = writeFileAtomically(path, [&](QIODevice& file, QString* e) { return WriteEmf(image, QString(), file, e); },
                                 &why);
    } else {
        // The TIFF writer takes the depth of the bitmap it is given; other pictures are 24 bits.
        const int declaredBits = type == PictureFileKind::Tif && source.bitsPerPixel > 0 ? source.bitsPerPixel : 0;
        const PictureWriteResult r = WritePictureFile(FileTypeIndexForExtension(targetExt), image, declaredBits,
                                                      PictureWriteSettings{}, WriteOccasion::SaveAs, path);
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
void convert(const QString& sourcePath, const QString& sourceExt, const QString& targetExt, bool asRoutine,
             GraphicConversion* result)
{
    // The reader goes by the source's own extension, as the routine was chosen.
    const PictureReadResult source = ReadPictureFile(sourcePath);
    if (!source.error.isEmpty() || source.image.isNull()) {
        result->status = GraphicConversion::Status::Failed;
        result->error = QStringLiteral("cannot read %1: %2")
                            .arg(sourcePath, source.error.isEmpty() ? QStringLiteral("the file holds no picture")
                                                                    : source.error);
        return;
    }
    const PictureFileKind sourceType = PictureFileKindForExtension(sourceExt);
    const PictureFileKind targetType = PictureFileKindForExtension(targetExt);
    QImage image = source.image;
    const bool targetHoldsAlpha = targetType == PictureFileKind::Png || targetType == PictureFileKind::Ico;
    if (sourceType == PictureFileKind::Ico && (asRoutine || !targetHoldsAlpha))
        image = IconToBitmap(image);
    if (targetType == PictureFileKind::Ico && asRoutine)
        image = BitmapToIcon(image);
    const bool keepDepth = isBitmapData(sourceType) && isBitmapData(targetType);
    QString error;
    if (!writeTarget(result->targetPath, targetExt, image, source, keepDepth, &error)) {
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
    convert(sourcePath, sourceExt, targetExt, true, &result);
    return result;
}

GraphicConversion ConvertPictureFile(const QString& sourcePath, const QString& targetPath)
{
    GraphicConversion result;
    result.targetPath = targetPath;
    const QString sourceExt = extensionOf(sourcePath);
    const QString targetExt = extensionOf(targetPath);
    if (ConversionPairCode(sourceExt, targetExt) >= 0) {
        convert(sourcePath, sourceExt, targetExt, true, &result);
        return result;
    }
    const bool readable = PictureFileKindForExtension(sourceExt) != PictureFileKind::Unknown;
    const bool writable = hasWriter(targetExt);
    if (!readable || !writable) {
        result.status = GraphicConversion::Status::NoRoutine;
        const auto name = [](const QString& ext) {
            return ext.isEmpty() ? QStringLiteral("files without an extension") : ext + QStringLiteral(" files");
        };
        result.error = !readable
                           ? QStringLiteral("no conversion from %1: they cannot be read").arg(name(sourceExt))
                           : QStringLiteral("no conversion to %1: they cannot be written").arg(name(targetExt));
        return result;
    }
    convert(sourcePath, sourceExt, targetExt, false, &result);
    return result;
}

bool IsMetafilePath(const QString& path)
{
    const PictureFileKind kind = PictureFileKindForExtension(extensionOf(path));
    return kind == PictureFileKind::Wmf || kind == PictureFileKind::Emf;
}

} // namespace px
