// Opening and saving the picture: the open and Save As dialogs, opening by path and the
// open-as-bitmap conversion.
#include "app/MainForm.h"

#include "app/JpgScaleForm.h"
#include "files/ConversionTable.h"
#include "files/FileTypes.h"
#include "files/GraphicConvert.h"
#include "files/JpegFile.h"
#include "files/PictureFiles.h"
#include "platform/ProgramFolder.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QTemporaryDir>

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
    case PictureFileKind::Wmf: return GraphicKind::Wmf;
    case PictureFileKind::Emf: return GraphicKind::Emf;
    case PictureFileKind::Unknown: break;
    }
    return GraphicKind::None;
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
    // Every file opened goes to the recent-files list, also when it turns out unreadable.
    AddRecentFile(QFileInfo(path).absoluteFilePath());
    // The JPEG scaling window belongs to the JPEG shown: another file closes it.
    if (jpgScaleForm_ && ext != QLatin1String(".jpg") && ext != QLatin1String(".jpeg"))
        jpgScaleForm_->close();
    // "OAsBmp": everything but a BMP is converted to an editable bitmap, through the conversion
    // routines where the type has one (TIFF has none: it is decoded directly).
    const bool asBitmap = Options.OAsBmp && ext != QLatin1String(".bmp");
    TPicture picture;
    if (asBitmap && ConversionPairCode(ext, QStringLiteral(".bmp")) != -1) {
        QImage bitmap;
        if (!OpenAsBitmap(path, ext, &bitmap))
            return false;
        picture.setBitmap(bitmap);
    } else {
        const PictureReadResult read = ReadPictureFile(path);
        if (!read.error.isEmpty()) {
            // The picture shown before stays: a failed load destroys nothing.
            showMessage(Msg(QStringLiteral("showmsg_except_invalid_data")) + read.error);
            return false;
        }
        if (asBitmap || read.kind == PictureFileKind::Bmp) {
            picture.setBitmap(read.image, read.kind == PictureFileKind::Bmp ? PixelFormatOfBits(read.bitsPerPixel)
                                                                            : PixelFormat::Device);
        } else {
            QFile file(path);
            const QByteArray original = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
            picture.setGraphic(graphicKindOf(read.kind), read.image, original, PixelFormatOfBits(read.bitsPerPixel));
        }
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

bool TMainForm::OpenAsBitmap(const QString& path, const QString& extension, QImage* bitmap)
{
    // The converted BMP goes to a private folder that is removed afterwards, so no file beside
    // the source (or anywhere else) is created, replaced or left behind.
    QTemporaryDir folder;
    if (!folder.isValid()) {
        showMessage(Msg(QStringLiteral("showmsg_excecpt")) + folder.errorString());
        return false;
    }
    const GraphicConversion converted = ConvertGraphicFile(path, folder.path(), extension, QStringLiteral(".bmp"));
    if (converted.status == GraphicConversion::Status::NoRoutine) {
        showMessage(QString::fromUtf8(kNoConversionRoutineMessage));
        return false;
    }
    const PictureReadResult read = converted.status == GraphicConversion::Status::Converted
                                       ? ReadPictureFile(converted.targetPath)
                                       : PictureReadResult{QImage(), converted.error};
    if (!read.error.isEmpty()) {
        showMessage(Msg(QStringLiteral("showmsg_except_invalid_data")) + read.error);
        return false;
    }
    *bitmap = read.image;
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
    const PictureWriteResult written = writeDocumentFile(type, WriteOccasion::SaveAs, QFileInfo(path).absoluteFilePath());
    if (!written.ok) {
        showMessage(Msg(QStringLiteral("showmsg_excecpt")) + written.error);
        return;
    }
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
