#include "app/MainWindowUi.h"

#include "app/LanguageProperties.h"
#include "platform/ProgramInfo.h"

#include "app/MainWindowTables.h"
#include "app/ProgramIcon.h"
#include "app/SideBarMenu.h"
#include "app/ToolIcons.h"
#include "picture/PictureCanvas.h"
#include "picture/ScanImageView.h"

#include <QActionGroup>
#include <QDockWidget>
#include <QFrame>
#include <QKeySequence>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QToolBar>
#include <QToolButton>

namespace px {
namespace {


QString text(const char* utf8) { return QString::fromUtf8(utf8); }

// A hint "short|long" gives the tool tip and the status-bar text; a hint without "|" gives both.
void applyHint(QAction* action, const QString& hint)
{
    if (hint.isEmpty())
        return;
    SetHint(action, hint);
}

// Builds menus from table rows and keeps every action it makes.
class MenuBuilder {
public:
    MenuBuilder(QList<QAction*>& actions, QMenu* markColrPopup) : actions_(actions), markColrPopup_(markColrPopup) {}
    // The palette popup, once built, for the rows that share its items.
    void setPalettePopup(QMenu* popup) { palettePopup_ = popup; }

    QAction* makeAction(const MenuRow& row, QObject* parent)
    {
        auto* action = new QAction(text(row.caption), parent);
        action->setObjectName(text(row.component));
        if (*row.handler)
            action->setProperty("handler", text(row.handler));
        if (row.tag != kNoTag)
            action->setProperty("tag", row.tag);
        if (*row.shortcut)
            action->setShortcut(QKeySequence(text(row.shortcut), QKeySequence::PortableText));
        applyHint(action, text(row.hint));
        if (*row.hintKey)
            action->setProperty("hintKey", text(row.hintKey));
        if (*row.captionKey)
            action->setProperty("captionKey", text(row.captionKey));
        action->setCheckable(row.kind == ItemKind::Check || row.kind == ItemKind::Radio);
        actions_.append(action);
        return action;
    }

    // Adds rows to menu up to the End that closes it (or the end of the table).
    void build(QMenu* menu, std::span<const MenuRow> rows) { std::size_t i = 0; buildLevel(menu, rows, i); }

    // Submenus created so far, by caption, for the members that point at them.
    QMenu* subMenu(const char* caption) const { return subMenus_.value(text(caption)); }

private:
    void buildLevel(QMenu* menu, std::span<const MenuRow> rows, std::size_t& i)
    {
        QActionGroup* radioGroup = nullptr;
        for (; i < rows.size(); ++i) {
            const MenuRow& row = rows[i];
            switch (row.kind) {
            case ItemKind::End:
                return;
            case ItemKind::Separator:
                menu->addSeparator();
                break;
            case ItemKind::SubMenu: {
                QMenu* sub = menu->addMenu(text(row.caption));
                QAction* opener = sub->menuAction();
                opener->setObjectName(text(row.component));
                if (row.tag != kNoTag)
                    opener->setProperty("tag", row.tag);
                if (*row.hintKey)
                    opener->setProperty("hintKey", text(row.hintKey));
                if (*row.captionKey)
                    opener->setProperty("captionKey", text(row.captionKey));
                if (*row.handler)
                    sub->setProperty("popupHandler", text(row.handler));
                actions_.append(opener);
                subMenus_.insert(text(row.caption), sub);
                ++i;
                buildLevel(sub, rows, i);
                break;
            }
            case ItemKind::PaletteItems:
                if (palettePopup_)
                    menu->addActions(palettePopup_->actions());
                break;
            case ItemKind::MarkerPens:
                addMarkerPens(menu);
                break;
            case ItemKind::Command:
            case ItemKind::Check:
            case ItemKind::Radio: {
                QAction* action = makeAction(row, menu);
                if (row.kind == ItemKind::Radio) {
                    if (!radioGroup)
                        radioGroup = new QActionGroup(menu);
                    radioGroup->addAction(action);
                }
                menu->addAction(action);
                break;
            }
            }
        }
    }

    // Copies of the marker drop-down's pens: same captions, tags, handler and images.
    void addMarkerPens(QMenu* menu)
    {
        for (QAction* pen : markColrPopup_->actions()) {
            auto* copy = new QAction(pen->icon(), pen->text(), menu);
            copy->setObjectName(QStringLiteral("Mark") + pen->objectName());
            copy->setProperty("handler", pen->property("handler"));
            copy->setProperty("tag", pen->property("tag"));
            actions_.append(copy);
            menu->addAction(copy);
        }
    }

    QList<QAction*>& actions_;
    QMenu* markColrPopup_;
    QMenu* palettePopup_ = nullptr;
    QHash<QString, QMenu*> subMenus_;
};

QMenu* makePopup(QWidget* window, const char* objectName, const char* popupHandler, MenuBuilder& builder,
                 std::span<const MenuRow> rows, QMenu* menu = nullptr)
{
    if (!menu)
        menu = new QMenu(window);
    menu->setObjectName(text(objectName));
    if (*popupHandler)
        menu->setProperty("popupHandler", text(popupHandler));
    builder.build(menu, rows);
    return menu;
}

// The action of the menu bar a shared tool button uses: by component name, else by handler.
QAction* findShared(const QList<QAction*>& menuActions, const QString& name)
{
    for (QAction* a : menuActions)
        if (a->objectName() == name)
            return a;
    for (QAction* a : menuActions)
        if (a->property("handler").toString() == name)
            return a;
    return nullptr;
}

// Right clicks on the tool area (menu bar, palettes, the free space between them) open the
// palette popup; the picture, the status bar and docked windows keep their own menus.
void routeToolAreaMenu(QMainWindow* window, QMenu* palettePopup, const std::array<QToolBar*, 7>& palettes)
{
    auto popupAt = [palettePopup](QWidget* w) {
        QObject::connect(w, &QWidget::customContextMenuRequested, palettePopup,
                         [palettePopup, w](const QPoint& pos) { palettePopup->popup(w->mapToGlobal(pos)); });
        w->setContextMenuPolicy(Qt::CustomContextMenu);
    };
    popupAt(window->menuBar());
    for (QToolBar* bar : palettes)
        popupAt(bar);

    window->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(window, &QWidget::customContextMenuRequested, palettePopup, [window, palettePopup](const QPoint& pos) {
        const auto covers = [&pos](const QWidget* w) { return w && w->isVisible() && w->geometry().contains(pos); };
        if (covers(window->centralWidget()) || covers(window->statusBar()))
            return;
        for (const QDockWidget* dock : window->findChildren<QDockWidget*>(Qt::FindDirectChildrenOnly))
            if (!dock->isFloating() && covers(dock))
                return;
        palettePopup->popup(window->mapToGlobal(pos));
    });
}

} // namespace

void MainWindowUi::setupUi(QMainWindow* window)
{
    window->setWindowTitle(kProgramTitle);
    window->setWindowIcon(ProgramIcon());
    window->setGeometry(280, 240, 630, 470);

    // Menus the others share or copy come first: the palette popup (its items reappear in the
    // View menu) and the marker drop-down (its pens reappear in the "&Grafik" menu).
    markColrPopupMenu = new QMenu(window);
    markColrPopupMenu->setObjectName(QStringLiteral("MarkColrPopupMenu"));
    const auto pens = MarkerPens();
    for (std::size_t tag = 0; tag < pens.size(); ++tag) {
        auto* pen = new QAction(MarkerPenIcon(pens[tag].colour, pens[tag].width), text(pens[tag].caption), markColrPopupMenu);
        pen->setObjectName(text(pens[tag].caption) + QStringLiteral("MenuItem"));
        pen->setProperty("handler", QStringLiteral("RedThinMenuItemClick"));
        pen->setProperty("tag", int(tag));
        actions_.append(pen);
        markColrPopupMenu->addAction(pen);
    }
    MenuBuilder builder(actions_, markColrPopupMenu);
    palettePopupMenu = makePopup(window, "PalettePopupMenu", "", builder, PalettePopupRows(), new SideBarMenu(QString(), window));
    for (QAction* item : palettePopupMenu->actions())
        if (item->isCheckable())
            item->setChecked(true);
    builder.setPalettePopup(palettePopupMenu);

    // Menu bar.
    QMenuBar* bar = window->menuBar();
    bar->setMinimumWidth(227);
    std::array<QMenu**, 7> topMenus{&fileMenu, &editMenu, &viewMenu, &extrasMenu, &optionsMenu, &windowMenu, &helpMenu};
    const auto tops = MainMenuBar();
    for (std::size_t i = 0; i < tops.size() && i < topMenus.size(); ++i) {
        QMenu* menu = bar->addMenu(text(tops[i].caption));
        menu->menuAction()->setObjectName(text(tops[i].objectName));
        *topMenus[i] = makePopup(window, tops[i].objectName, tops[i].popupHandler, builder, tops[i].rows, menu);
    }
    newOpenMenu = builder.subMenu("Neu &öffnen");
    grafikMenu = builder.subMenu("&Grafik");
    markMenu = builder.subMenu("&Markieren");
    paletteMenu = builder.subMenu("Pa&letten");
    languageMenu = builder.subMenu("&Sprache");
    const QList<QAction*> menuBarActions = actions_;

    // Drop-downs and popups.
    scanShapePopupMenu = makePopup(window, "ScanShapePopupMenu", "ScanShapePopupMenuPopup", builder, ScanShapePopupRows());
    scanToolGroup = scanShapePopupMenu->actions().first()->actionGroup();
    recentPopupMenu = makePopup(window, "RecentPopupMenu", "RecentPopupMenuPopup", builder, {});
    antiaPopupMenu = makePopup(window, "AntiaPopupMenu", "AntiaPopupMenuPopup", builder, AntiaPopupRows());
    scalePopupMenu = makePopup(window, "ScalePopupMenu", "ScalePopupMenuPopup", builder, ScalePopupRows());
    statusBarPopupMenu = makePopup(window, "PXStatBarPopupMenu", "PXStatBarPopupMenuPopup", builder, StatusBarPopupRows());
    trayMenu = makePopup(window, "TrayPopupMenu", "", builder, TrayMenuRows(),
                         new SideBarMenu(QStringLiteral("Pixmora 5.0 Professional"), window));

    for (const char* handler : StartDisabledHandlers())
        for (QAction* a : actionsForHandler(text(handler)))
            a->setEnabled(false);
    for (const char* handler : StartHiddenHandlers())
        for (QAction* a : actionsForHandler(text(handler)))
            a->setVisible(false);

    // Palettes.
    const auto paletteRows = Palettes();
    for (std::size_t i = 0; i < paletteRows.size() && i < palettes.size(); ++i) {
        auto* toolBar = new QToolBar(text(paletteRows[i].title), window);
        toolBar->setObjectName(text(paletteRows[i].objectName));
        window->addToolBar(Qt::TopToolBarArea, toolBar);
        palettes[i] = toolBar;
        for (const ButtonRow& button : paletteRows[i].buttons) {
            QAction* action = nullptr;
            if (*button.shares) {
                action = findShared(menuBarActions, text(button.shares));
                if (!action)
                    qFatal("tool button shares an unknown menu item: %s", button.shares);
            } else {
                MenuRow own{button.checkable ? ItemKind::Check : ItemKind::Command, button.caption, "",
                            button.component, button.handler, kNoTag, button.hint};
                action = builder.makeAction(own, toolBar);
            }
            action->setIcon(ToolIcon(text(button.icon)));
            toolBar->addAction(action);
            QMenu* dropDown = nullptr;
            switch (button.dropDown) {
            case DropDown::None: break;
            case DropDown::ScanShape: dropDown = scanShapePopupMenu; break;
            case DropDown::Recent: dropDown = recentPopupMenu; break;
            case DropDown::Antia: dropDown = antiaPopupMenu; break;
            case DropDown::Scale: dropDown = scalePopupMenu; break;
            case DropDown::Marker: dropDown = markColrPopupMenu; break;
            }
            if (dropDown) {
                auto* toolButton = qobject_cast<QToolButton*>(toolBar->widgetForAction(action));
                toolButton->setMenu(dropDown);
                toolButton->setPopupMode(QToolButton::MenuButtonPopup);
            }
        }
    }

    // The picture at 1:1 in the top-left corner of the scroll box, on a canvas that lets it
    // sit anywhere (centred, moved by the grab handles) and scrolls over all of it.
    clientScrollBox = new QScrollArea(window);
    clientScrollBox->setObjectName(QStringLiteral("ClientScrollBoxEx"));
    clientScrollBox->setWidgetResizable(false);
    clientScrollBox->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    pictureCanvas = new TPictureCanvas;
    scanImage = new TScanImage(pictureCanvas);
    scanImage->setObjectName(QStringLiteral("ScanImage"));
    clientScrollBox->setWidget(pictureCanvas);
    window->setCentralWidget(clientScrollBox);

    // Status bar: panel 0 takes the width left over, the others keep theirs.
    statusBar = new QStatusBar(window);
    statusBar->setObjectName(QStringLiteral("PXStatusBar"));
    window->setStatusBar(statusBar);
    const auto panels = StatusPanels();
    for (std::size_t i = 0; i < panels.size() && i < statusPanels.size(); ++i) {
        const StatusPanel& row = panels[i];
        auto* panel = new QLabel(text(row.text), statusBar);
        panel->setObjectName(QStringLiteral("PXStatusBarPanel%1").arg(i));
        panel->setFrameStyle(row.bevel ? QFrame::Panel | QFrame::Sunken : QFrame::NoFrame);
        if (row.imageIndex >= 0) {
            panel->setPixmap(StatusImage(row.imageIndex));
            panel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            panel->setContentsMargins(0, 1, 0, 0);
        } else {
            panel->setAlignment((row.centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter);
        }
        if (i == 0) {
            panel->setMinimumWidth(row.width);
            statusBar->addWidget(panel, 1);
        } else {
            panel->setFixedWidth(row.width);
            statusBar->addWidget(panel);
        }
        statusPanels[i] = panel;
    }
    statusBar->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(statusBar, &QWidget::customContextMenuRequested, statusBarPopupMenu,
                     [this](const QPoint& pos) { statusBarPopupMenu->popup(statusBar->mapToGlobal(pos)); });

    routeToolAreaMenu(window, palettePopupMenu, palettes);

    // The main window decides when the tray icon shows.
    trayIcon = new QSystemTrayIcon(ProgramIcon(), window);
    trayIcon->setToolTip(kProgramTitle);
    trayIcon->setContextMenu(trayMenu);
}

QList<QAction*> MainWindowUi::actionsForHandler(const QString& handler) const
{
    QList<QAction*> found;
    for (QAction* a : actions_)
        if (a->property("handler").toString() == handler && !found.contains(a))
            found.append(a);
    return found;
}

QAction* MainWindowUi::action(const QString& componentName) const
{
    if (componentName.isEmpty())
        return nullptr;
    for (QAction* a : actions_)
        if (a->objectName() == componentName)
            return a;
    return nullptr;
}

QList<QAction*> MainWindowUi::allActions() const { return actions_; }

} // namespace px
