#include "files/PictureFiles.h"

#include "files/BmpFile.h"
#include "files/FileTypes.h"
#include "files/GifFile.h"
#include "files/IcoFile.h"
#include "files/JpegFile.h"
#include "files/MetafilePlayer.h"
#include "files/MetafileWriter.h"
#include "files/PngReader.h"
#include "files/PngWriter.h"
#include "files/TiffReader.h"
#include "files/TiffWriter.h"
#include "platform/AtomicFile.h"

#include <QFile>
#include <QFileInfo>

#include <iterator>

namespace px {

namespace {

// Files larger than this are not read whole into memory (no picture file of ours comes near).
constexpr qint64 kMaxPictureFileBytes = qint64(1) << 30;

// Takes over what one reader gave: its picture, its reason, and the file's bits per pixel.
template <typename ReaderResult>
void take(PictureReadResult& result, const ReaderResult& read, int bitsPerPixel)
{
    result.image = read.image;
    result.error = read.error;
    result.bitsPerPixel = bitsPerPixel;
}

} // namespace

PictureWriteResult WritePictureFile(int fileTypeIndex, const QImage& image, int declaredBits,
                                    const PictureWriteSettings& settings, WriteOccasion occasion,
                                    const QString& path)
{
    PictureWriteResult result;
    if (image.isNull()) {
        result.error = QStringLiteral("there is no picture to write");
        return result;
    }
    QImage toWrite = image;
    BmpPixelFormat bmpFormat = BmpPixelFormat::Device;
    if (fileTypeIndex == 0 || fileTypeIndex == 6) {
        const BmpBitmap bitmap = ApplyBmpOptions(image, BmpPixelFormatFromOption(settings.bmpPixForm),
                                                 settings.bmpMonochrome,
                                                 occasion == WriteOccasion::SaveAs ? BmpOptionOrder::PixelFormatFirst
                                                                                   : BmpOptionOrder::MonochromeFirst);
        toWrite = bitmap.image;
        bmpFormat = bitmap.format;
        result.keptImage = bitmap.image;
        result.declaredBits = BmpBitsPerPixel(bitmap.format);
    }

    QString error;
    const bool ok = writeFileAtomically(path, [&](QIODevice& file, QString* why) {
        switch (fileTypeIndex) {
        case 0:
            return WriteBmp(toWrite, bmpFormat, file, why);
        case 6:
            return WritePxg(toWrite, bmpFormat, file, why);
        case 1: {
            JpegWriteOptions options;
            options.bestSpeed = settings.jpgPerformance != 0;
            options.eightBit = settings.jpgPixelFormat != 0;
            options.greyScale = settings.jpgColr != 0;
            options.compressFirst = occasion == WriteOccasion::AutoSave && settings.jpgCompress;
            return WriteJpeg(toWrite, file, options, why);
        }
        case 2:
            return WriteGif(toWrite, file,
                            GifOptionsFromSettings(settings.gifColOpt, settings.gifDith, settings.gifComp), why);
        case 3:
            return WriteWmf(toWrite, file, why);
        case 4:
            return WriteEmf(toWrite,
                            QString::fromUtf8(occasion == WriteOccasion::SaveAs ? kEmfDescriptionSaveAs
                                                                                : kEmfDescriptionAutoSave),
                            file, why);
        case 5:
            return WriteIco(toWrite, file, why);
        case 7:
            return WriteTiff(toWrite, declaredBits > 0 ? declaredBits : 24, file, why);
        case 8:
            return WritePng(toWrite, file, PngOptions{settings.pngCompression, toWrite.hasAlphaChannel()}, why);
        default:
            *why = QStringLiteral("no writer for file type %1").arg(fileTypeIndex);
            return false;
        }
    }, &error);
    result.ok = ok;
    result.error = error;
    if (!ok) {
        result.keptImage = QImage();
        result.declaredBits = 0;
    }
    return result;
}

PictureFileKind PictureFileKindForExtension(const QString& extensionWithDot)
{
    // The extensions are those of the file-type index; the kinds follow its order.
    static constexpr PictureFileKind kKindOfIndex[] = {
        PictureFileKind::Bmp, PictureFileKind::Jpeg, PictureFileKind::Gif, PictureFileKind::Wmf, PictureFileKind::Emf,
        PictureFileKind::Ico, PictureFileKind::Pxg,  PictureFileKind::Tif, PictureFileKind::Png,
    };
    const int index = FileTypeIndexForExtension(extensionWithDot);
    return index >= 0 && index < int(std::size(kKindOfIndex)) ? kKindOfIndex[index] : PictureFileKind::Unknown;
}

PictureReadResult ReadPictureFile(const QString& path, int jpegScale)
{
    PictureReadResult result;
    result.kind = PictureFileKindForExtension(QLatin1Char('.') + QFileInfo(path).suffix());
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = file.errorString();
        return result;
    }
    if (file.size() > kMaxPictureFileBytes) {
        result.error = QStringLiteral("the file is too large");
        return result;
    }
    if (result.kind == PictureFileKind::Png) {
        // Decoded straight from the file, without a copy of the whole file in memory.
        const PngReadResult r = ReadPng(file);
        take(result, r, r.image.hasAlphaChannel() ? 32 : 24);
        return result;
    }
    const QByteArray data = file.readAll();
    switch (result.kind) {
    case PictureFileKind::Bmp:
    case PictureFileKind::Pxg: {
        const BmpReadResult r = ReadBmp(data);
        take(result, r, BmpBitsPerPixel(r.format));
        result.bmpFormat = r.format;
        break;
    }
    case PictureFileKind::Jpeg:
        take(result, ReadJpeg(data, jpegScale), 24);
        break;
    case PictureFileKind::Gif:
        take(result, ReadGif(data), 8);
        break;
    case PictureFileKind::Ico:
        take(result, ReadIco(data), 32);
        break;
    case PictureFileKind::Tif: {
        const TiffReadResult r = ReadTiff(data);
        take(result, r, r.bitsPerPixel);
        break;
    }
    case PictureFileKind::Png:  // read above
        break;
    case PictureFileKind::Wmf:
    case PictureFileKind::Emf: {
        // A metafile is read by its content: an enhanced one named .wmf is still enhanced.
        const MetafileReadResult r = ReadMetafile(data);
        take(result, r, 32);
        result.kind = r.format == MetafileFormat::Enhanced ? PictureFileKind::Emf : PictureFileKind::Wmf;
        break;
    }
    case PictureFileKind::Unknown:
        result.error = QStringLiteral("no reader for this file type");
        break;
    }
    if (!result.error.isEmpty())
        result.image = QImage();
    return result;
}

} // namespace px
