// The main window's life: creation, show, close, system commands, hints and idle work.
#include "app/MainForm.h"
#include "platform/ProgramInfo.h"

#include "app/GuiSettings.h"
#include "app/LanguageProperties.h"
#include "app/MultiLanguage.h"
#include "app/PaletteColors.h"
#include "capture/Grab.h"
#include "capture/ScanForm.h"
#include "picture/ScanImageView.h"
#include "app/ProgramIcon.h"
#include "platform/Autostart.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"
#include "platform/RegFile.h"
#include "platform/Registry.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QWindowStateChangeEvent>

namespace px {

namespace {

// Shown after the date in status panel 0 when hints are off.
const QString kDateNotice = QStringLiteral(" - Pixmora 5.0 Screen-Capture");

// Swallows tool tips while "ControlHints" is off.
class ToolTipBlocker : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject*, QEvent* e) override { return e->type() == QEvent::ToolTip; }
};

} // namespace

TMainForm::TMainForm(const MainFormServices& services, QWidget* parent)
    : QMainWindow(parent)
    , services_(services)
{
    showMessage = [this](const QString& text) { QMessageBox::information(this, kProgramTitle, text); };
    askYesNo = [this](const QString& text) {
        QMessageBox box(QMessageBox::Question, QStringLiteral("Bestätigung"), text,
                        QMessageBox::Yes | QMessageBox::No, this);
        // The buttons speak the program's language (Qt's own texts are English).
        const QString yes = Msg(QStringLiteral("msgdlg_button_yes"));
        const QString no = Msg(QStringLiteral("msgdlg_button_no"));
        box.button(QMessageBox::Yes)->setText(yes.isEmpty() ? QStringLiteral("&Ja") : yes);
        box.button(QMessageBox::No)->setText(no.isEmpty() ? QStringLiteral("&Nein") : no);
        box.setDefaultButton(QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes;
    };
    setObjectName(QStringLiteral("TMainForm"));
    setWindowTitle(kProgramTitle);
    setWindowIcon(ProgramIcon());
    InstallWidgetPropertyApplier();
    ui_.setupUi(this);
    FormCreate();
    scanForm_ = std::make_unique<TScanForm>();
    scanForm_->setWindowTitle(QStringLiteral("TScanForm"));
    connect(scanForm_.get(), &TScanForm::RegionReleased, this, &TMainForm::ScanFormRegionReleased);
    connect(scanForm_.get(), &TScanForm::WindowUnderPointerRequested, this, &TMainForm::ScanFormWindowRequested);
    connect(scanForm_.get(), &TScanForm::Cancelled, this, &TMainForm::ScanFormCancelled);
    connectHandlers();

    UpdateCommandEnabling();
    idleTimer_ = new QTimer(this);
    idleTimer_->setInterval(250);
    connect(idleTimer_, &QTimer::timeout, this, &TMainForm::ApplicationIdle);
    idleTimer_->start();

    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) { commitSession(); });
}

TMainForm::~TMainForm() = default;

void TMainForm::FormCreate()
{
    // The designed bounds; restoring the stored placement comes with the window layout.
    setGeometry(280, 240, 630, 470);

    Options = LoadOptions(*services_.registry).options;

    helpFile_ = programFile(QStringLiteral("pxh.chm"));
    applyBackgroundColour();
    updateStatusBarHeight();
    if (!Options.ControlHints)
        qApp->installEventFilter(new ToolTipBlocker(this));
    picEditPal_ = LoadPicEditPal(*services_.registry);
    CaptureDelay = std::max(0, Options.ScanDelay);
    if (ui_.trayIcon)
        ui_.trayIcon->setVisible(Options.TnaUse && QSystemTrayIcon::isSystemTrayAvailable());

    StatusDate = QDate::currentDate();

    // Remote capture is offered only when PX5.ini names the add-on.
    remoteAppPath_ = RemoteScanAppPath(IniFile::load(programFile(QStringLiteral("PX5.ini"))));
    if (!remoteAppPath_ && Options.ScanTool == 12)
        Options.ScanTool = 0;
    for (const QString& handler : {QStringLiteral("RemScrMenuItemClick"), QStringLiteral("FernblickMenuItemClick")})
        for (QAction* a : ui_.actionsForHandler(handler))
            a->setVisible(remoteAppPath_.has_value());
    for (QAction* a : ui_.actionsForHandler(QStringLiteral("ShapeMenuItemClick")))
        if (a->property("tag").toInt() == 12)
            a->setVisible(remoteAppPath_.has_value());
    LoadLanguages();
    RecentFiles.load(*services_.registry, recentFilesPath(), kRecentFilesSection);
    rebuildRecentMenus();
    if (ui_.recentPopupMenu)
        connect(ui_.recentPopupMenu, &QMenu::aboutToShow, this, &TMainForm::RecentPopupMenuPopup);
    MaximizeToggle = 1;
    setAcceptDrops(true);
    updateCheckMarks();
}

void TMainForm::LoadLanguages()
{
    // Without the language file the built-in German texts stay and lookups are empty.
    PXMultiLanguage = new TMultiLanguage(this);
    const auto script = LoadLanguageFile(programFile(QStringLiteral("Templates/Languages.lng")));
    if (script)
        PXMultiLanguage->SetScript(*script);
    // Italian, Spanish and French are offered only when the file has their sections.
    static const char* const sections[] = {"[italian]", "[espaniol]", "[france]"};
    for (QAction* a : ui_.actionsForHandler(QStringLiteral("GermanMenuItemClick"))) {
        const int tag = a->property("tag").toInt();
        if (tag >= 2 && tag <= 4)
            a->setEnabled(script && ScriptHasLine(*script, QString::fromLatin1(sections[tag - 2])));
    }
    ApplyLanguage();
}

void TMainForm::ApplyLanguage()
{
    PXMultiLanguage->SetLanguage(LanguageSectionName(Options.Language));
    SetCaptureToolHints();
    // Texts that come from message keys rather than from a component's own entry.
    const QString colView = Msg(QStringLiteral("statbar_colview"));
    if (!colView.isEmpty())
        ui_.statusPanels[2]->setText(colView);
    const QString graphic = Msg(QStringLiteral("statbar_graphic_txt"));
    if (!graphic.isEmpty() && !document_.isEmpty())
        ui_.statusPanels[4]->setText(graphic + QString::number(document_.size().width()) + QStringLiteral(" x ")
                                     + QString::number(document_.size().height()));
}

void TMainForm::SetCaptureToolHints()
{
    // The capture-tool items, the palette submenu and the marker submenu take their hints
    // and captions from message keys.
    for (QAction* a : ui_.allActions()) {
        const QString hint = Msg(a->property("hintKey").toString());
        if (!hint.isEmpty())
            SetHint(a, hint);
        const QString caption = Msg(a->property("captionKey").toString());
        if (!caption.isEmpty())
            a->setText(caption);
    }
}

QString TMainForm::Msg(const QString& key) const
{
    return PXMultiLanguage && !key.isEmpty() ? PXMultiLanguage->Lookup(key) : QString();
}

void TMainForm::GermanMenuItemClick(QAction* item)
{
    Options.Language = item->property("tag").toInt();
    ApplyLanguage();
    updateCheckMarks();
}

void TMainForm::on(const QString& handler, std::function<void(QAction*)> fn)
{
    handlers_.insert(handler, std::move(fn));
}

void TMainForm::connectHandlers()
{
    on(QStringLiteral("ScanClick"), [this](QAction*) { ScanClick(); });
    on(QStringLiteral("ShapeMenuItemClick"), [this](QAction* a) { ShapeMenuItemClick(a); });
    on(QStringLiteral("DeskMenuItemClick"), [this](QAction* a) {
        DeskMenuItemClick(ui_.trayMenu && ui_.trayMenu->actions().contains(a));
    });
    on(QStringLiteral("RemScrMenuItemClick"), [this](QAction*) { RemScrMenuItemClick(); });
    on(QStringLiteral("FernblickMenuItemClick"), [this](QAction*) { FernblickMenuItemClick(); });
    on(QStringLiteral("GermanMenuItemClick"), [this](QAction* a) { GermanMenuItemClick(a); });
    connectPictureHandlers();
    connectFileHandlers();
    connectResultHandlers();
    on(QStringLiteral("CloseClick"), [this](QAction*) { CloseClick(); });
    on(QStringLiteral("HandbuchMenuItemClick"), [this](QAction*) { HandbuchMenuItemClick(); });
    on(QStringLiteral("ReadmeMenuItemClick"), [this](QAction*) { ReadmeMenuItemClick(); });
    on(QStringLiteral("ScriptMenuItemClick"), [this](QAction*) { ScriptMenuItemClick(); });
    on(QStringLiteral("WebMenuItemClick"), [this](QAction* a) { WebMenuItemClick(a); });
    on(QStringLiteral("StatBarMenuItemClick"), [this](QAction*) { StatBarMenuItemClick(); });
    on(QStringLiteral("StandardMenuItemClick"), [this](QAction* a) { StandardMenuItemClick(a); });
    on(QStringLiteral("PXPopupMenuItemClick"), [this](QAction*) {
        if (isVisible())
            hideToTray();
        else
            showFromTray();
    });
    on(QStringLiteral("FileAsBmpMenuItemClick"), [this](QAction*) { Options.OAsBmp = !Options.OAsBmp; updateCheckMarks(); });
    on(QStringLiteral("KoordLoupMenuItemClick"), [this](QAction*) { Options.Loupe = !Options.Loupe; updateCheckMarks(); });
    on(QStringLiteral("ScanTFMenuItemClick"), [this](QAction*) { Options.FilledShape = !Options.FilledShape; updateCheckMarks(); });

    for (QAction* a : ui_.allActions()) {
        if (a->isSeparator() || a->menu())
            continue;
        const QString handler = a->property("handler").toString();
        auto it = handlers_.constFind(handler);
        if (it == handlers_.constEnd()) {
            a->setEnabled(false);
            continue;
        }
        auto fn = it.value();
        connect(a, &QAction::triggered, this, [fn, a] { fn(a); });
    }
    // The manual needs its file.
    enableHandler(QStringLiteral("HandbuchMenuItemClick"), QFileInfo::exists(helpFile_));
    for (QAction* top : menuBar()->actions())
        if (top->menu())
            disableEmptySubmenus(top->menu());
    // Opening a menu refreshes its check marks from the options.
    for (QMenu* m : {ui_.fileMenu, ui_.editMenu, ui_.viewMenu, ui_.extrasMenu, ui_.optionsMenu})
        if (m)
            connect(m, &QMenu::aboutToShow, this, [this, m] {
                ui_.statusPanels[0]->clear();
                updateCheckMarks();
                disableEmptySubmenus(m);
            });
    if (ui_.windowMenu)
        connect(ui_.windowMenu, &QMenu::aboutToShow, this, &TMainForm::WinMenuItemClick);
    if (ui_.scanShapePopupMenu)
        connect(ui_.scanShapePopupMenu, &QMenu::aboutToShow, this, &TMainForm::ScanShapePopupMenuPopup);
    if (ui_.trayIcon)
        connect(ui_.trayIcon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason r) {
            if (r == QSystemTrayIcon::Trigger)
                isVisible() ? hideToTray() : showFromTray();
        });
}

void TMainForm::enableHandler(const QString& handler, bool enabled)
{
    // Commands without a connected handler stay disabled whatever the state says.
    if (!handlers_.contains(handler))
        return;
    for (QAction* a : ui_.actionsForHandler(handler))
        a->setEnabled(enabled);
}

bool TMainForm::disableEmptySubmenus(QMenu* menu)
{
    // A submenu none of whose commands can run is disabled itself, so that it does not open
    // onto greyed-out items only.
    bool anyEnabled = false;
    for (QAction* a : menu->actions()) {
        if (a->isSeparator() || !a->isVisible())
            continue;
        if (a->menu())
            a->setEnabled(disableEmptySubmenus(a->menu()));
        anyEnabled = anyEnabled || a->isEnabled();
    }
    return anyEnabled;
}

void TMainForm::WinMenuItemClick()
{
    // The window entries of the explorers and output windows join as those windows exist.
    if (remoteCaptureAvailable())
        enableHandler(QStringLiteral("FernblickMenuItemClick"), remoteAddOnWindow() != 0);
}

void TMainForm::updateCheckMarks()
{
    auto check = [this](const QString& component, bool on) {
        if (QAction* a = ui_.action(component))
            a->setChecked(on);
    };
    check(QStringLiteral("KoordLoupMenuItem"), Options.Loupe);
    check(QStringLiteral("GsMenuItem"), Options.Stretch);
    check(QStringLiteral("ScanTFMenuItem"), Options.FilledShape);
    check(QStringLiteral("AutoFileMenuItem"), Options.PersSave);
    check(QStringLiteral("WinDimMenuItem"), Options.AutoWinSize);
    check(QStringLiteral("DocCentMenuItem"), Options.DocCenter);
    check(QStringLiteral("DocFocMenuItem"), Options.FocusMode);
    check(QStringLiteral("TransMenuItem"), Options.Trans);
    check(QStringLiteral("PrintScanMenuItem"), Options.PrintScan);
    check(QStringLiteral("FileAsBmpMenuItem"), Options.OAsBmp);
    check(QStringLiteral("FEMagMenuItem"), Options.MagneticFE);
    check(QStringLiteral("XPStyleMenuItem"), Options.XPMenStyle);
    // The editor switches show as on only while their program can be started.
    const bool editorThere = !editorProgram().isEmpty();
    check(QStringLiteral("ExtGraphMenuItem"), Options.ExtGrafikEditor && editorThere);
    check(QStringLiteral("ExtGraphHKMenuItem"), Options.HotkeyOutputExtern && editorThere);
    for (QAction* a : ui_.actionsForHandler(QStringLiteral("StatBarMenuItemClick")))
        a->setChecked(Options.StatBar || Options.OnceCellStatbar);
    for (QAction* a : ui_.actionsForHandler(QStringLiteral("GermanMenuItemClick"))) {
        a->setCheckable(true);
        a->setChecked(a->property("tag").toInt() == Options.Language);
    }
    for (int i = 0; i < int(ui_.palettes.size()); ++i)
        for (QAction* a : ui_.actionsForHandler(QStringLiteral("StandardMenuItemClick")))
            if (a->property("tag").toInt() == i && ui_.palettes[i])
                a->setChecked(!ui_.palettes[i]->isHidden());
}

void TMainForm::applyBackgroundColour()
{
    const std::optional<QColor> colour = PaletteColor(Options.BackColr, palette().color(QPalette::Button));
    if (!colour || !ui_.clientScrollBox)
        return;
    QPalette p = ui_.clientScrollBox->viewport()->palette();
    p.setColor(QPalette::Window, *colour);
    ui_.clientScrollBox->viewport()->setPalette(p);
    ui_.clientScrollBox->viewport()->setAutoFillBackground(true);
}

void TMainForm::updateStatusBarHeight()
{
    const bool shown = Options.StatBar || Options.OnceCellStatbar;
    ui_.statusBar->setFixedHeight(shown ? 20 : 1);
    // One-panel mode shows a single text: panel 0 alone.
    for (int i = 1; i < int(ui_.statusPanels.size()); ++i)
        if (ui_.statusPanels[i])
            ui_.statusPanels[i]->setVisible(shown && !Options.OnceCellStatbar);
    ui_.statusPanels[0]->setVisible(shown);
}

void TMainForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TMainForm::FormShow()
{
    // The pointer of an interactive capture goes into the picture once it is shown, at the
    // place it had on the screen relative to the captured region.
    if (Options.ImgWithMouse && CursorPending) {
        CursorPending = false;
        if (document_.isEditable()) {
            QImage image = document_.image();
            DrawCapturedCursor(image, capturedCursor_,
                               CaptureCursorPos - services_.screen->primaryGeometry().topLeft() - cursorOrigin_);
            document_.setBitmap(image, document_.pixelFormat(), document_.isMonochrome());
            ui_.scanImage->setImage(document_.image());
        }
    }
    setAcceptDrops(true);
    if (!FirstShowDone) {
        ui_.statusPanels[0]->setText(Msg(QStringLiteral("statbar_app_run")));
        FirstShowDone = true;
        QTimer::singleShot(0, this, [this] { handleInstanceMessage({msg::FirstShowFollowUp, 0, {}}); });
    }
}

void TMainForm::hideEvent(QHideEvent* event)
{
    // Docked explorers go with the window, floating ones are hidden with it; the explorers
    // attach here when they exist.
    QMainWindow::hideEvent(event);
}

bool TMainForm::FormCloseQuery()
{
    if (!Options.EndDlg)
        return true;
    return askYesNo(Msg(QStringLiteral("msgdlg_closequery")));
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    if (closing_) {
        event->accept();
        return;
    }
    // The window's close button acts as Exit.
    ClosingByCommand = true;
    if (!FormCloseQuery()) {
        ClosingByCommand = false;
        event->ignore();
        return;
    }
    closing_ = true;
    FormClose();
    event->accept();
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
}

void TMainForm::CloseClick()
{
    ClosingByCommand = true;
    close();
    if (!closing_)
        ClosingByCommand = false;
}

void TMainForm::FormClose()
{
    if (ui_.trayIcon)
        ui_.trayIcon->hide();
    UndoBitmap.clear();
    Registry& reg = *services_.registry;

    QStringList problems;
    if (services_.autostart) {
        QString error;
        if (!services_.autostart->setEnabled(Options.AutoSysStart, services_.executablePath, &error))
            problems << error;
    }
    for (const auto& [name, flag] : {std::pair{QStringLiteral("Loupe"), Options.Loupe},
                                     std::pair{QStringLiteral("Stretch"), Options.Stretch},
                                     std::pair{QStringLiteral("DocCenter"), Options.DocCenter},
                                     std::pair{QStringLiteral("FocusMode"), Options.FocusMode},
                                     std::pair{QStringLiteral("Trans"), Options.Trans}}) {
        QString error;
        if (!WriteOptionValue(reg, name, flag, &error))
            problems << error;
    }
    SavePicEditPal(reg, picEditPal_);
    SaveOptions(reg, Options);
    RecentFiles.save(reg, recentFilesPath(), kRecentFilesSection);

    if (!services_.registryPath.isEmpty()) {
        QString error;
        if (!saveRegistryFile(reg, services_.registryPath, &error))
            problems << error;
    }
    if (!problems.isEmpty())
        showMessage(Msg(QStringLiteral("showmsg_write_error_registry")) + problems.join(QLatin1Char('\n')));
}

void TMainForm::commitSession()
{
    // Leaving the session: start again at the next log-in, once.
    if (services_.autostart)
        services_.autostart->writeRunOnce(services_.executablePath);
}

void TMainForm::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    const auto* change = static_cast<QWindowStateChangeEvent*>(event);
    const Qt::WindowStates now = windowState();
    if ((now & Qt::WindowMinimized) && !(change->oldState() & Qt::WindowMinimized) && Options.AnimMin
        && Options.TnaUse && QSystemTrayIcon::isSystemTrayAvailable()) {
        // Minimise goes into the tray instead of the task bar.
        QTimer::singleShot(0, this, [this] {
            setWindowState(windowState() & ~Qt::WindowMinimized);
            hideToTray();
        });
    } else if ((now & Qt::WindowMaximized) && !(change->oldState() & Qt::WindowMaximized) && Options.MagneticFE) {
        QTimer::singleShot(0, this, [this] {
            setWindowState(windowState() & ~Qt::WindowMaximized);
            magneticMaximize();
        });
    }
}

void TMainForm::magneticMaximize()
{
    // Alternates between a full-height window that leaves the left edge to the directory
    // explorer and the bounds it had before.
    if (MaximizeToggle % 2 == 1) {
        RestoreBounds = geometry();
        const QRect screenRect = screen() ? screen()->geometry() : QRect(0, 0, 1024, 768);
        const int explorerWidth = 0;  // the directory explorer docks here once it exists
        const QMargins frame(geometry().left() - frameGeometry().left(), geometry().top() - frameGeometry().top(),
                             frameGeometry().right() - geometry().right(),
                             frameGeometry().bottom() - geometry().bottom());
        setGeometry(QRect(screenRect.left() + explorerWidth, screenRect.top(), screenRect.width() - explorerWidth,
                          screenRect.height())
                        .marginsRemoved(frame));
    } else if (RestoreBounds.isValid()) {
        setGeometry(RestoreBounds);
    }
    ++MaximizeToggle;
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event)
{
    // The scroll box re-centres the picture while "DocCenter" is on.
    if (event->type() == QEvent::Resize && watched == ui_.clientScrollBox->viewport() && Options.DocCenter)
        CenterPicture();
    return QMainWindow::eventFilter(watched, event);
}

bool TMainForm::event(QEvent* event)
{
    if (event->type() == QEvent::StatusTip) {
        ShowHint(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

void TMainForm::ShowHint(const QString& hint)
{
    // Both routines write panel 0; in one-panel mode it is the only one shown.
    const QString text = Options.StatBarHints ? hint : QLocale().toString(StatusDate, QLocale::ShortFormat) + kDateNotice;
    ui_.statusPanels[0]->setText(text);
}

void TMainForm::ApplicationIdle()
{
    if (ui_.statusPanels[4]->text().isEmpty())
        ui_.statusPanels[4]->setText(QStringLiteral("X: 0   Y: 0"));
    if (ui_.statusPanels[0]->text().isEmpty())
        ui_.statusPanels[0]->setText(Msg(QStringLiteral("statbar_app_run")));
    if (!Options.StatBarHints && StatusDate != QDate::currentDate())
        StatusDate = QDate::currentDate();
}

void TMainForm::StatBarMenuItemClick()
{
    Options.StatBar = !Options.StatBar;
    if (!Options.StatBar)
        Options.OnceCellStatbar = false;
    updateStatusBarHeight();
    updateCheckMarks();
}

void TMainForm::StandardMenuItemClick(QAction* item)
{
    const int tag = item->property("tag").toInt();
    if (tag < 0 || tag >= int(ui_.palettes.size()) || !ui_.palettes[tag])
        return;
    paletteSwitchedOn_[tag] = ui_.palettes[tag]->isHidden();
    ui_.palettes[tag]->setVisible(paletteSwitchedOn_[tag]);
    updateCheckMarks();
}

void TMainForm::hideToTray()
{
    // Without a tray the window would become unreachable: then it only minimises.
    if (!(Options.TnaUse && QSystemTrayIcon::isSystemTrayAvailable())) {
        showMinimized();
        return;
    }
    hide();
}

void TMainForm::showFromTray()
{
    showNormal();
    raise();
    activateWindow();
}

} // namespace px
