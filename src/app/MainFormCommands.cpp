// The main window's commands: capture, remote capture, opening handed-over files and
// bitmaps, dropped files, and the small help and script commands.
#include "app/MainForm.h"
#include "picture/ClipboardPicture.h"

#include "app/DisplaySync.h"
#include "app/JpgScaleForm.h"
#include "capture/CaptureSound.h"
#include "capture/Grab.h"
#include "platform/IniFile.h"
#include "platform/ProcessLauncher.h"
#include "platform/ProgramFolder.h"
#include "platform/Screen.h"

#include <QAction>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>

#include "picture/PictureCanvas.h"
#include "picture/ScanImageView.h"
#include <QThread>
#include <QToolBar>
#include <QUrl>

namespace px {

namespace {

// The capture command's wait after hiding the windows for the desktop tool.
constexpr int kDesktopCaptureDelayMs = 100;

// The maker's pages offered in the Help menu's web submenu (tags 0, 1, 2).
const char* const kWebPages[] = {
    "https://pixmora.example/",
    "https://pixmora.example/download/",
    "https://pixmora.example/feedback/",
};

} // namespace

bool TMainForm::isToolAvailable(int tool) const
{
    // The interactive tools and the tool windows attach here as they are built.
    return (tool >= 0 && tool <= 5) || (tool == 12 && remoteCaptureAvailable());
}

void TMainForm::ScanClick()
{
    ClearSelection();
    if (Options.ImgWithMouse) {
        CaptureCursorPos = services_.screen->cursorPos();
        capturedCursor_ = services_.screen->cursorImage();
    }
    const int tool = Options.ScanTool;
    if (tool < 0 || tool > 12)
        return;  // an unknown stored tool does nothing
    if (tool <= 4) {
        StartInteractiveCapture();
        return;
    }
    if (tool == 5) {
        DeskMenuItemClick(false);
        return;
    }
    if (tool == 12) {
        RemScrMenuItemClick();
        return;
    }
    showMessage(Msg(QStringLiteral("showmsg_tool_not_available")));
}

void TMainForm::ShapeMenuItemClick(QAction* item)
{
    Options.ScanTool = item->property("tag").toInt();
}

void TMainForm::ScanShapePopupMenuPopup()
{
    for (QAction* a : ui_.actionsForHandler(QStringLiteral("ShapeMenuItemClick"))) {
        const int tag = a->property("tag").toInt();
        a->setChecked(tag == Options.ScanTool);
        a->setEnabled(isToolAvailable(tag));
    }
}

void TMainForm::SaveUndoCopy()
{
    // A failed copy leaves Undo disabled rather than pointing at an older picture.
    if (document_.isEmpty())
        return;
    enableHandler(QStringLiteral("UndoMenuItemClick"), UndoBitmap.save(document_));
}

void TMainForm::ResetPictureView()
{
    TScanImage* image = ui_.scanImage;
    if (Options.Stretch) {
        image->setAutoSize(false);
        image->setStretch(true);
        ui_.pictureCanvas->setClientWidget(image);
    } else {
        ui_.pictureCanvas->setClientWidget(nullptr);
        image->setStretch(false);
        image->setAutoSize(true);
    }
    ui_.clientScrollBox->horizontalScrollBar()->setValue(0);
    ui_.clientScrollBox->verticalScrollBar()->setValue(0);
    image->move(0, 0);
}

void TMainForm::ClearSelection()
{
    // No selection rectangle, coordinate hint or pointer confinement exists yet; the cropping
    // tools end theirs here.
}

void TMainForm::HideToolWindows(bool show)
{
    for (int i = 0; i < int(ui_.palettes.size()); ++i) {
        QToolBar* bar = ui_.palettes[i];
        if (bar && bar->isFloating() && paletteSwitchedOn_[i])
            bar->setVisible(show);
    }
    if (jpgScaleForm_)
        jpgScaleForm_->close();
    if (show)
        activateWindow();
}

QImage TMainForm::grabWithProgramHidden(int delayMs)
{
    // The program leaves the screen, the other windows get time to repaint what it covered,
    // and then the primary screen is read.
    hide();
    HideToolWindows(false);
    syncQtDisplay();
    services_.screen->flush();
    QThread::msleep(static_cast<unsigned long>(std::max(0, delayMs)));
    QImage shot;
    GrabDesktop(*services_.screen, shot);
    return shot;
}

bool TMainForm::autoFileFolderMissing() const
{
    return Options.PersSave && !QFileInfo(nativePath(Options.OutDir)).isDir();
}

void TMainForm::comeBack(bool fromTray)
{
    fromTray ? showFromTray() : show();
    HideToolWindows(true);
}

void TMainForm::DeskMenuItemClick(bool fromTray)
{
    SaveUndoCopy();
    ResetPictureView();
    ClearSelection();
    // Record the pointer now, also when the command did not come through ScanClick, so that
    // the drawn pointer is where the pointer was and not where an earlier capture left it.
    if (Options.ImgWithMouse) {
        CaptureCursorPos = services_.screen->cursorPos();
        capturedCursor_ = services_.screen->cursorImage();
    }

    QImage shot = grabWithProgramHidden(kDesktopCaptureDelayMs);
    CurrentFileValid = false;
    if (shot.isNull()) {
        comeBack(fromTray);
        showMessage(Msg(QStringLiteral("showmsg_screen_not_readable")));
        return;
    }
    if (Options.ImgWithMouse)
        DrawCapturedCursor(shot, capturedCursor_, CaptureCursorPos - services_.screen->primaryGeometry().topLeft());
    document_.setBitmap(shot);
    setFileTypeLabel(QStringLiteral("|bmp|"));
    showPicture();

    // Automatic file creation: with its folder missing the capture is not saved and the
    // user is told.
    if (autoFileFolderMissing()) {
        comeBack(fromTray);
        showMessage(Msg(QStringLiteral("showmsg_autofilecreate_mistake")));
        return;
    }
    if (Options.PersSave) {
        ShowFileTypeLabel();
        QString error;
        if (!saveCaptureResult(&error)) {
            CurrentFileValid = false;
            showMessage(Msg(QStringLiteral("showmsg_except_afc_mistake")) + error);
        } else if (Options.ScanToClipboard && !CopyPictureToClipboard(document_.image(), &error)) {
            // Here the clipboard copy goes only together with the automatic save. The file
            // was written, so only the clipboard is reported.
            showMessage(Msg(QStringLiteral("showmsg_except_prob_with_clpbrd")) + error);
        }
    }
    if (Options.ScanSound)
        PlayCaptureSound(*services_.sound, Options.SoundFileNr);
    if (Options.ExtGrafikEditor) {
        SendToExternalEditor();
        if (Options.PXVisAScan)
            comeBack(fromTray);
        else
            hideToTray();
    } else {
        comeBack(fromTray);
    }
    if (Options.MinAScan)
        hideToTray();
}

void TMainForm::setPicture(const QImage& image)
{
    if (document_.setBitmap(image))
        showPicture();
}

void TMainForm::setDocument(const TPicture& picture)
{
    document_ = picture;
    showPicture();
}

void TMainForm::showPicture()
{
    ui_.scanImage->setImage(document_.image());
    ResetPictureView();
    UpdateCommandEnabling();
}

void TMainForm::RemScrMenuItemClick()
{
    ClearSelection();
    const IniFile px5 = IniFile::load(programFile(QStringLiteral("PX5.ini")));
    const QString app = px5.readString(QStringLiteral("PX_RemoteScan"), QStringLiteral("AppPath"), QStringLiteral("ERROR"));
    if (QFileInfo(app).isFile())
        services_.launcher->start(app);
}

void TMainForm::FernblickMenuItemClick()
{
    if (const WindowId addOn = remoteAddOnWindow())
        services_.screen->activateWindow(addOn);
}

WindowId TMainForm::remoteAddOnWindow() const
{
    // The add-on's main window, found by its class and caption; one caption serves both the
    // window menu's enabling and the command.
    return services_.screen->findTopLevelWindow(QStringLiteral("TMainForm"), QStringLiteral("Fernblick 1.0"));
}

void TMainForm::handleInstanceMessage(const InstanceMessage& message)
{
    switch (message.number) {
    case msg::OpenFile:
        OpenHandedOverFile(QString::fromUtf8(message.payload));
        break;
    case msg::StartCapture:
        ScanClick();
        break;
    case msg::ShowProgram:
        showFromTray();
        break;
    case msg::FirstShowFollowUp:
        if (Options.TrayStart && Options.TnaUse)
            hideToTray();
        break;
    case msg::CopyData:
        if (message.parameter == msg::CopyDataBitmap)
            loadBitmapMessage(message.payload);
        break;
    default:
        break;  // unknown numbers are not ours
    }
}

void TMainForm::loadBitmapMessage(const QByteArray& bmp)
{
    QImage image;
    if (!bmp.startsWith("BM") || !image.loadFromData(bmp, "BMP")) {
        showMessage(Msg(QStringLiteral("showmsg_except_invalid_data")) + Msg(QStringLiteral("showmsg_no_bmp_data")));
        return;
    }
    SaveUndoCopy();
    setPicture(image.convertToFormat(QImage::Format_RGB32));
    // The handed-over picture exists only in memory.
    CurrentFileValid = false;
    setFileTypeLabel(QStringLiteral("|bmp|"));
}

void TMainForm::OpenHandedOverFile(const QString& path)
{
    if (!QFileInfo(path).isFile()) {
        showMessage(Msg(QStringLiteral("showmsg_file_evtl_not_exists")));
        return;
    }
    OpenPictureFile(path);
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event)
{
    // One file opens; of several, the first opens (the dropped-files list joins with the file
    // explorer).
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            OpenHandedOverFile(url.toLocalFile().left(4096));
            break;
        }
    }
    event->acceptProposedAction();
}

void TMainForm::HandbuchMenuItemClick()
{
    if (QFileInfo::exists(helpFile_))
        services_.launcher->open(helpFile_);
}

void TMainForm::ReadmeMenuItemClick()
{
    const QString readme = programFile(QStringLiteral("Readme.txt"));
    if (!QFileInfo::exists(readme)) {
        showMessage(Msg(QStringLiteral("showmsg_no_txt_file_available")));
        return;
    }
    services_.launcher->open(readme);
}

void TMainForm::ScriptMenuItemClick()
{
    // Errors are ignored: a missing script simply does not open.
    const QString script = pathJoin(writableProgramFolder(QStringLiteral("Script")), Options.Script);
    if (!Options.Script.isEmpty() && QFileInfo::exists(script))
        services_.launcher->open(script);
}

void TMainForm::WebMenuItemClick(QAction* item)
{
    const int tag = item->property("tag").toInt();
    if (tag >= 0 && tag < int(std::size(kWebPages)))
        services_.launcher->open(QString::fromLatin1(kWebPages[tag]));
}

} // namespace px
