// Opening and saving the picture: the open and Save As dialogs, opening by path and the
// open-as-bitmap conversion.
#include "app/MainForm.h"

#include "app/FileWriteSettings.h"
#include "app/JpgScaleForm.h"
#include "files/FileTypes.h"
#include "files/JpegFile.h"
#include "files/PictureFiles.h"
#include "platform/ProgramFolder.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>

namespace px {

namespace {

GraphicKind graphicKindOf(PictureFileKind kind)
{
    switch (kind) {
    case PictureFileKind::Bmp: return GraphicKind::Bitmap;
    case PictureFileKind::Jpeg: return GraphicKind::Jpeg;
    case PictureFileKind::Gif: return GraphicKind::Gif;
    case PictureFileKind::Png: return GraphicKind::Png;
    case PictureFileKind::Ico: return GraphicKind::Icon;
    case PictureFileKind::Pxg: return GraphicKind::Pxg;
    case PictureFileKind::Tif: return GraphicKind::Tif;
    case PictureFileKind::Unknown: break;
    }
    return GraphicKind::None;
}

PixelFormat pixelFormatOfBits(int bits)
{
    switch (bits) {
    case 1: return PixelFormat::Bit1;
    case 4: return PixelFormat::Bit4;
    case 8: return PixelFormat::Bit8;
    case 15: return PixelFormat::Bit15;
    case 16: return PixelFormat::Bit16;
    case 24: return PixelFormat::Bit24;
    case 32: return PixelFormat::Bit32;
    default: return PixelFormat::Device;
    }
}

int bitsOfPixelFormat(PixelFormat format)
{
    static const int bits[] = {0, 1, 4, 8, 15, 16, 24, 32};
    return bits[int(format)];
}

} // namespace

bool TMainForm::OpenPictureFile(const QString& path)
{
    const QString ext = QLatin1Char('.') + QFileInfo(path).suffix().toLower();
    // TIFF opens too: a program has to read the files it writes.
    if (!IsSupportedExtension(ext) && PictureFileKindForExtension(ext) == PictureFileKind::Unknown) {
        showMessage(Msg(QStringLiteral("showmsg_no_px_support")));
        return false;
    }
    // The JPEG scaling window belongs to the JPEG shown: another file closes it.
    if (jpgScaleForm_ && ext != QLatin1String(".jpg") && ext != QLatin1String(".jpeg"))
        jpgScaleForm_->close();
    const PictureReadResult read = ReadPictureFile(path);
    if (!read.error.isEmpty()) {
        // The picture shown before stays: a failed load destroys nothing.
        showMessage(Msg(QStringLiteral("showmsg_except_invalid_data")) + read.error);
        return false;
    }
    // "OAsBmp": everything but a BMP is opened as an editable bitmap. The pixels are decoded
    // directly, so no temporary file is written beside the source or anywhere else.
    const bool asBitmap = Options.OAsBmp && ext != QLatin1String(".bmp");
    TPicture picture;
    if (asBitmap || read.kind == PictureFileKind::Bmp) {
        picture.setBitmap(read.image, read.kind == PictureFileKind::Bmp ? pixelFormatOfBits(read.bitsPerPixel)
                                                                        : PixelFormat::Device);
    } else {
        QFile file(path);
        const QByteArray original = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        picture.setGraphic(graphicKindOf(read.kind), read.image, original, pixelFormatOfBits(read.bitsPerPixel));
    }
    setDocument(picture);
    const QString bare = ext.mid(1);
    setFileTypeLabel(asBitmap ? QStringLiteral("|bmp| - ") + bare : bare);
    CurrentFile = QFileInfo(path).absoluteFilePath();
    CurrentFileValid = true;
    ApplyNewPicture();
    ui_.statusPanels[4]->setText(Msg(QStringLiteral("statbar_graphic_txt")) + QString::number(document_.size().width())
                                 + QStringLiteral(" x ") + QString::number(document_.size().height()));
    return true;
}

void TMainForm::OpenClick()
{
    const QString start = Options.VType == 0 ? nativePath(Options.ImgPath) : QString();
    const QString path = chooseOpenFile(Msg(QStringLiteral("opendlg_winmain_picopen")), start,
                                        OpenDialogFilters().join(QStringLiteral(";;")));
    if (path.isEmpty())
        return;
    SaveUndoCopy();
    OpenPictureFile(path);
}

void TMainForm::SaveAsClick(bool withSender)
{
    if (!document_.isEmpty() && !document_.isEditable() && document_.kind() != GraphicKind::Pxg
        && document_.kind() != GraphicKind::Tif) {
        showMessage(Msg(QStringLiteral("showmsg_no_bitmap_load_will_convert")));
        return;
    }
    const QStringList filters = SaveDialogFilters();
    const int typeIndex = Options.FileTyp >= 0 && Options.FileTyp < filters.size() ? Options.FileTyp : 0;
    const QString proposed = withSender ? Options.FileName + FileTypeExtension(typeIndex) : Options.FileName;
    QString selectedFilter = filters[typeIndex];
    const QString path = chooseSaveFile(QStringLiteral("Grafik speichern unter"), proposed,
                                        filters.join(QStringLiteral(";;")), &selectedFilter);
    if (path.isEmpty()) {
        CurrentFileValid = false;
        CurrentFile.clear();
        setFileTypeLabel(QStringLiteral("|bmp|"));
        return;
    }
    // The filter the user left selected decides the format, unless the typed extension names
    // another known type: then the name wins, so that no file holds another format than its
    // name says.
    int type = std::max(0, int(filters.indexOf(selectedFilter)));
    const int named = FileTypeIndexForExtension(QLatin1Char('.') + QFileInfo(path).suffix());
    if (named >= 0)
        type = named;
    const PictureWriteResult written = WritePictureFile(type, document_.image(), bitsOfPixelFormat(document_.pixelFormat()),
                                                        WriteSettingsOf(Options), WriteOccasion::SaveAs, path);
    if (!written.ok) {
        showMessage(Msg(QStringLiteral("showmsg_excecpt")) + written.error);
        return;
    }
    if (!written.keptImage.isNull()) {
        // A BMP write changes the picture itself to the written pixel format.
        TPicture kept;
        kept.setBitmap(written.keptImage, pixelFormatOfBits(written.declaredBits));
        setDocument(kept);
    }
    CurrentFileValid = true;
    CurrentFile = QFileInfo(path).absoluteFilePath();
    setFileTypeLabel(QStringLiteral("|bmp| - ") + QFileInfo(path).suffix().toLower());
}

void TMainForm::JpgScaleMenuItemClick()
{
    if (jpgScaleForm_)
        return;
    jpgScaleForm_ = new TJpgScaleBMForm(this);
    if (const QString title = Msg(QStringLiteral("Set_JpgScaleForm_Title")); !title.isEmpty())
        jpgScaleForm_->setWindowTitle(title);
    connect(jpgScaleForm_, &TJpgScaleBMForm::ScaleChosen, this, [this](int denominator) {
        // The JPEG is decoded again from its own bytes at the chosen size.
        if (document_.kind() != GraphicKind::Jpeg)
            return;
        const JpegReadResult read = ReadJpeg(document_.originalBytes(), denominator);
        if (!read.error.isEmpty()) {
            showMessage(Msg(QStringLiteral("showmsg_except_invalid_data")) + read.error);
            return;
        }
        TPicture scaled;
        scaled.setGraphic(GraphicKind::Jpeg, read.image, document_.originalBytes());
        setDocument(scaled);
    });
    jpgScaleForm_->show();
}

void TMainForm::connectFileHandlers()
{
    on(QStringLiteral("JpgScaleMenuItemClick"), [this](QAction*) { JpgScaleMenuItemClick(); });
    on(QStringLiteral("OpenClick"), [this](QAction*) { OpenClick(); });
    on(QStringLiteral("SaveAsClick"), [this](QAction*) { SaveAsClick(true); });
    chooseOpenFile = [this](const QString& title, const QString& folder, const QString& filters) {
        return QFileDialog::getOpenFileName(this, title, folder, filters);
    };
    chooseSaveFile = [this](const QString& title, const QString& proposed, const QString& filters,
                            QString* selectedFilter) {
        return QFileDialog::getSaveFileName(this, title, proposed, filters, selectedFilter);
    };
}

} // namespace px
