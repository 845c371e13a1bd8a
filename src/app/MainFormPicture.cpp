// The picture as a document in the main window: view modes, focus mode, undo, the clipboard,
// the mouse on the picture, its context menu and the enabling of the commands that act on it.
#include "app/MainForm.h"

#include "app/PictureMenus.h"
#include "picture/ClipboardPicture.h"
#include "picture/CommandEnabling.h"
#include "picture/FocusResizer.h"
#include "picture/PictureCanvas.h"
#include "picture/ScanImageView.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>

namespace px {

void TMainForm::setFileTypeLabel(const QString& label)
{
    ui_.statusPanels[6]->setText(label);
    UpdateCommandEnabling();
}

void TMainForm::UpdateCommandEnabling()
{
    DocumentState state;
    state.kind = document_.kind();
    state.label = ui_.statusPanels[6]->text();
    state.clipboardHasPicture = clipboardHasPicture_;
    for (const auto& [handler, on] : EnabledCommands(state))
        enableHandler(handler, on);
    if (document_.isEmpty())
        ui_.scanImage->resize(0, 0);
    else if (!pictureMenu_ && ui_.grafikMenu) {
        // The picture's context menu is built the first time there is a picture.
        pictureMenu_ = new QMenu(this);
        pictureMenu_->setObjectName(QStringLiteral("GrEdtBarPopupMenu"));
        BuildPictureMenu(pictureMenu_, ui_.grafikMenu, ui_.action(QStringLiteral("CutterMenuItem")));
        connect(pictureMenu_, &QMenu::aboutToShow, this, &TMainForm::GrEdtPopupMenuPopup);
    }
}

void TMainForm::GrEdtPopupMenuPopup()
{
    UpdateFocusItems(pictureMenu_, Options.FocusMode, focObjPopupMenu_ ? focObjPopupMenu_->actions() : QList<QAction*>());
    disableEmptySubmenus(pictureMenu_);
}

// --- view modes ------------------------------------------------------------------------

void TMainForm::ToggleViewMode(ViewMode mode)
{
    const ViewModes before{Options.AutoWinSize, Options.DocCenter, Options.Stretch, Options.FocusMode, Options.Trans};
    const ViewModes after = Toggle(before, mode);
    Options.AutoWinSize = after.autoWinSize;
    Options.DocCenter = after.docCenter;
    Options.Stretch = after.stretch;
    Options.FocusMode = after.focusMode;
    Options.Trans = after.trans;
    applyViewModes(before);
    updateCheckMarks();
}

void TMainForm::applyViewModes(const ViewModes& before)
{
    if (before.focusMode && !Options.FocusMode)
        LeaveFocusMode();
    ui_.scanImage->setTransparent(Options.Trans);
    if (Options.Stretch) {
        ResetPictureView();
    } else if (Options.FocusMode && !before.focusMode) {
        ResetPictureView();
        EnterFocusObject();
    } else if (Options.DocCenter) {
        ResetPictureView();
        CenterPicture();
    } else if (Options.AutoWinSize && !before.autoWinSize) {
        ResetPictureView();
        fitWindowToPicture();
    } else if (!Options.FocusMode) {
        ResetPictureView();
    }
}

void TMainForm::CenterPicture()
{
    ui_.pictureCanvas->setClientWidget(nullptr);
    ui_.scanImage->setStretch(false);
    ui_.scanImage->move(CenteredPosition(ui_.clientScrollBox->viewport()->size(), ui_.scanImage->size()));
}

void TMainForm::ApplyNewPicture()
{
    if (Options.AutoWinSize)
        fitWindowToPicture();
    if (Options.AutoWinCenter && screen()) {
        QRect r = frameGeometry();
        r.moveCenter(screen()->availableGeometry().center());
        move(r.topLeft());
    }
    if (Options.DocCenter)
        CenterPicture();
    if (Options.FocusMode)
        EnterFocusObject();
}

void TMainForm::EnterFocusObject()
{
    delete focusResizer_;
    focusResizer_ = new TContResizer(this);
    if (screen())
        focusResizer_->setMaxSize(screen()->size() * screen()->devicePixelRatio());
    AttachFocusResizer();
}

void TMainForm::AttachFocusResizer()
{
    if (!focusResizer_)
        return;
    if (!focObjPopupMenu_) {
        focObjPopupMenu_ = new QMenu(this);
        focObjPopupMenu_->setObjectName(QStringLiteral("FocObjPopupMenu"));
        QAction* stretch = focObjPopupMenu_->addAction(QStringLiteral("Objekt stretchen"));
        QAction* normal = focObjPopupMenu_->addAction(QStringLiteral("Normalansicht"));
        stretch->setObjectName(QStringLiteral("FocObjStretchMenuItem"));
        normal->setObjectName(QStringLiteral("FocObjNormalMenuItem"));
        normal->setEnabled(false);
        connect(stretch, &QAction::triggered, this, [this] { FocObjStretchClick(0); });
        connect(normal, &QAction::triggered, this, [this] { FocObjStretchClick(1); });
    }
    ui_.clientScrollBox->setContextMenuPolicy(Qt::CustomContextMenu);
    ui_.scanImage->setAutoSize(true);
    focusResizer_->Attach(ui_.scanImage);
    ui_.scanImage->setAutoSize(false);
}

void TMainForm::LeaveFocusMode()
{
    ui_.clientScrollBox->setContextMenuPolicy(Qt::DefaultContextMenu);
    Options.FocusMode = false;
    ui_.scanImage->move(0, 0);
    ui_.scanImage->setAutoSize(true);
    delete focusResizer_;
    focusResizer_ = nullptr;
}

void TMainForm::FocObjStretchClick(int tag)
{
    const QList<QAction*> items = focObjPopupMenu_->actions();
    if (tag == 0) {
        ui_.scanImage->setStretch(true);
    } else {
        ui_.scanImage->setStretch(false);
        ui_.scanImage->setAutoSize(true);
        EnterFocusObject();
    }
    items[0]->setEnabled(tag != 0);
    items[1]->setEnabled(tag == 0);
}

// --- undo and clipboard ----------------------------------------------------------------

void TMainForm::UndoMenuItemClick()
{
    TPicture restored = UndoBitmap.restore();
    enableHandler(QStringLiteral("UndoMenuItemClick"), false);
    if (restored.isEmpty())
        return;
    setDocument(restored);
    if (Options.AutoWinSize && screen() && ShouldRefitAfterUndo(document_.size(), screen()->size()))
        fitWindowToPicture();
}

void TMainForm::CopyClick()
{
    QString error;
    if (!CopyPictureToClipboard(document_.image(), &error))
        showMessage(Msg(QStringLiteral("showmsg_except_prob_with_clpbrd")) + error);
}

void TMainForm::CutMenuItemClick()
{
    SaveUndoCopy();
    QString error;
    if (!CopyPictureToClipboard(document_.image(), &error)) {
        showMessage(Msg(QStringLiteral("showmsg_except_prob_with_clpbrd")) + error);
        return;
    }
    if (Options.FocusMode)
        LeaveFocusMode();
    setDocument(TPicture());
    ui_.statusPanels[4]->setText(QStringLiteral("X: 0  Y: 0"));
    CurrentFileValid = false;
    setFileTypeLabel(QStringLiteral("- - -"));
}

void TMainForm::PasteToolButtonClick()
{
    // The current picture stays until the clipboard's picture is known to be good.
    const std::optional<QImage> pasted = PictureFromClipboard();
    if (!pasted || pasted->isNull()) {
        showMessage(Msg(QStringLiteral("showmsg_except_prob_with_clpbrd")));
        return;
    }
    SaveUndoCopy();
    setPicture(*pasted);
    CurrentFileValid = false;
    CurrentFile.clear();
    setFileTypeLabel(QStringLiteral("|bmp|"));
    ApplyNewPicture();
}

// --- the mouse on the picture ----------------------------------------------------------

void TMainForm::ScanImageMouseDown(const PictureMouseEvent& e)
{
    // The tools of the editing commands (text, cursors, mark pen, crop, numbering) hook in
    // here before focus mode, in that order.
    if (e.button == Qt::LeftButton && Options.FocusMode && (e.modifiers & Qt::ControlModifier))
        AttachFocusResizer();
}

void TMainForm::ScanImageMouseMove(const PictureMouseEvent& e)
{
    if (document_.isEmpty())
        return;
    ui_.statusPanels[4]->setText(QStringLiteral("X: %1   Y: %2").arg(e.pos.x()).arg(e.pos.y()));
    ui_.statusPanels[0]->setText(QStringLiteral("Bereit"));
}

void TMainForm::connectPictureHandlers()
{
    on(QStringLiteral("UndoMenuItemClick"), [this](QAction*) { UndoMenuItemClick(); });
    on(QStringLiteral("CopyClick"), [this](QAction*) { CopyClick(); });
    on(QStringLiteral("CutMenuItemClick"), [this](QAction*) { CutMenuItemClick(); });
    on(QStringLiteral("PasteToolButtonClick"), [this](QAction*) { PasteToolButtonClick(); });
    on(QStringLiteral("WinDimMenuItemClick"), [this](QAction*) { ToggleViewMode(ViewMode::AutoWinSize); });
    on(QStringLiteral("DocCentMenuItemClick"), [this](QAction*) { ToggleViewMode(ViewMode::DocCenter); });
    on(QStringLiteral("GsMenuItemClick"), [this](QAction*) { ToggleViewMode(ViewMode::Stretch); });
    on(QStringLiteral("DocFocMenuItemClick"), [this](QAction*) { ToggleViewMode(ViewMode::FocusMode); });
    on(QStringLiteral("TransMenuItemClick"), [this](QAction*) { ToggleViewMode(ViewMode::Trans); });

    connect(ui_.scanImage, &TScanImage::mousePressed, this, &TMainForm::ScanImageMouseDown);
    connect(ui_.scanImage, &TScanImage::mouseMoved, this, &TMainForm::ScanImageMouseMove);
    connect(ui_.scanImage, &TScanImage::clicked, this, [this] { ui_.clientScrollBox->setFocus(); });
    // Asking the clipboard can mean a round trip to another program: it is asked only when
    // its content changes, not at every change of the picture.
    clipboardHasPicture_ = ClipboardHasPicture();
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, [this] {
        clipboardHasPicture_ = ClipboardHasPicture();
        UpdateCommandEnabling();
    });
    // The picture's context menu, or the focus commands while the grab handles are attached.
    ui_.scanImage->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ui_.scanImage, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        QMenu* menu = focusResizer_ && focObjPopupMenu_ ? focObjPopupMenu_ : pictureMenu_;
        if (menu)
            menu->popup(ui_.scanImage->mapToGlobal(pos));
    });
    // The scroll box re-centres the picture while "DocCenter" is on.
    ui_.clientScrollBox->viewport()->installEventFilter(this);
}

} // namespace px
