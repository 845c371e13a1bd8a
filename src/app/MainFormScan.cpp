// The interactive capture: the frozen screen goes to the overlay, the user marks a region or
// a window, and the live screen's pixels of it become the picture.
#include "app/MainForm.h"

#include "app/DisplaySync.h"
#include "capture/CaptureSound.h"
#include "capture/Grab.h"
#include "capture/OverlayGeometry.h"
#include "capture/ScanForm.h"
#include "picture/ClipboardPicture.h"
#include "platform/ProgramFolder.h"
#include "platform/Screen.h"

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QThread>

namespace px {

namespace {

// After the overlay closes, the screen needs a moment to show the live desktop again.
constexpr int kOverlayGoneDelayMs = 160;

} // namespace

void TMainForm::StartInteractiveCapture()
{
    SaveUndoCopy();
    ResetPictureView();
    QImage frozen = grabWithProgramHidden(CaptureDelay);
    if (frozen.isNull()) {
        comeBack(true);
        showMessage(Msg(QStringLiteral("showmsg_screen_not_readable")));
        return;
    }
    // Automatic file creation needs its folder before the capture starts.
    CurrentFileValid = false;
    if (autoFileFolderMissing()) {
        comeBack(true);
        showMessage(Msg(QStringLiteral("showmsg_autofilecreate_mistake")));
        return;
    }

    if (Options.ImgWithMouse)
        DrawCapturedCursor(frozen, capturedCursor_, CaptureCursorPos - services_.screen->primaryGeometry().topLeft());

    ScanFormSettings settings;
    settings.tool = Options.ScanTool;
    settings.filledShape = Options.FilledShape;
    settings.sBorder = Options.SBorder;
    settings.sBForce = Options.SBForce;
    settings.sCross = Options.SCross;
    settings.loupe = Options.Loupe;
    settings.lFaktor = Options.LFaktor;
    settings.cursorHint = Options.CursorHint;
    scanForm_->ShowOverlay(frozen, services_.screen->primaryGeometry(), settings);
}

void TMainForm::ScanFormRegionReleased(const QPoint& start, const QPoint& end, const QPoint& release,
                                       bool objectMode)
{
    syncQtDisplay();
    services_.screen->flush();
    QThread::msleep(kOverlayGoneDelayMs);

    QImage result;
    QPoint origin;  // where the picture's top-left corner was on the primary screen
    if (objectMode) {
        result = windowUnder(release, &origin);
    } else {
        const CaptureRegion region = CaptureRegionFor(start, end);
        origin = region.source.topLeft();
        if (!region.size.isEmpty()) {
            GrabScreenRect(*services_.screen, region.source.x(), region.source.y(), region.size.width(),
                           region.size.height(), &result);
            MaskOutsideShape(result, Options.ScanTool, start.y() < end.y(),
                             ShapeBackgroundColor(Options.ShapeColorBg, palette().color(QPalette::Button),
                                                  palette().color(QPalette::ToolTipBase)));
        }
    }
    // A click without dragging gives an empty picture, as the description has it.
    cursorOrigin_ = origin;
    FinishInteractiveCapture(result);
}

QImage TMainForm::windowUnder(const QPoint& point, QPoint* origin)
{
    // The live pixels of the window under the point, cut to the primary screen (a control
    // inside a window is taken alone; a top-level window with its frame). Only that rectangle
    // is read from the display, not the whole desktop.
    const QRect primary = services_.screen->primaryGeometry();
    const WindowId id = services_.screen->windowAt(point + primary.topLeft());
    const std::optional<WindowInfo> info = id ? services_.screen->windowInfo(id) : std::nullopt;
    if (!info || primary.isEmpty())
        return QImage();
    const QRect rect = info->frame.translated(-primary.topLeft()).intersected(QRect(QPoint(0, 0), primary.size()));
    *origin = rect.topLeft();
    QImage picture;
    if (!rect.isEmpty())
        GrabScreenRect(*services_.screen, rect.x(), rect.y(), rect.width(), rect.height(), &picture);
    return picture;
}

void TMainForm::FinishInteractiveCapture(const QImage& picture)
{
    // An empty capture (a click) leaves an empty picture.
    if (picture.isNull() || picture.size().isEmpty())
        setDocument(TPicture());
    else
        setPicture(picture);
    setFileTypeLabel(document_.isEmpty() ? QStringLiteral("- - -") : QStringLiteral("|bmp|"));
    ApplyNewPicture();
    QString clipboardError;
    if (Options.ScanToClipboard && !document_.isEmpty() && !CopyPictureToClipboard(document_.image(), &clipboardError))
        showMessage(Msg(QStringLiteral("showmsg_except_prob_with_clpbrd")) + clipboardError);

    CursorPending = Options.ImgWithMouse;
    if (Options.MinAScan)
        hideToTray();
    else
        showFromTray();
    if (Options.ScanSound)
        PlayCaptureSound(*services_.sound, Options.SoundFileNr);
    ShowFileTypeLabel();
    if (Options.ExtGrafikEditor) {
        SendToExternalEditor();
        Options.PXVisAScan ? showFromTray() : hideToTray();
    }
    if (Options.HotkeyOutputExtern && HotkeyCapture) {
        hideToTray();
        // One editor for one picture, also when both switches are on.
        if (!Options.ExtGrafikEditor)
            SendToExternalEditor();
    }
    if (Options.PersSave && !document_.isEmpty()) {
        QString error;
        if (!saveCaptureResult(&error)) {
            CurrentFileValid = false;
            showMessage(Msg(QStringLiteral("showmsg_excecpt")) + error);
        }
    } else if (document_.isEmpty()) {
        CurrentFileValid = false;
    }
    // "PrintScan" prints here once printing is part of the program.
    ui_.statusPanels[0]->setText(Msg(QStringLiteral("statbar_app_run")));
    HideToolWindows(!(Options.MinAScan || HotkeyCapture || Options.ExtGrafikEditor));
    if (Options.ExtGrafikEditor && Options.PXVisAScan && !HotkeyCapture)
        HideToolWindows(true);
    // Cleared on every path, so that a failed capture does not leave the next one marked as
    // a hotkey capture.
    HotkeyCapture = false;
}

void TMainForm::ScanFormWindowRequested(const QPoint& pointer)
{
    QPoint origin;
    const QImage picture = windowUnder(pointer, &origin);
    cursorOrigin_ = origin;
    if (!picture.isNull()) {
        setPicture(picture);
        CurrentFileValid = false;
        setFileTypeLabel(QStringLiteral("|bmp|"));
    }
    showFromTray();
    HideToolWindows(true);
    if (Options.ScanSound)
        PlayCaptureSound(*services_.sound, Options.SoundFileNr);
    else
        QApplication::beep();
    HotkeyCapture = false;
}

void TMainForm::ScanFormCancelled()
{
    // Nothing was captured: the program comes back as it was.
    showFromTray();
    HideToolWindows(true);
    HotkeyCapture = false;
}

void TMainForm::fitWindowToPicture()
{
    // The window grows or shrinks so that the picture shows whole, within the screen.
    if (isMaximized())
        showNormal();
    const QSize viewport = ui_.clientScrollBox->viewport()->size();
    QSize wanted = size() + (document_.size() - viewport);
    if (screen())
        wanted = wanted.boundedTo(screen()->availableGeometry().size());
    resize(wanted.expandedTo(minimumSizeHint()));
}

} // namespace px
