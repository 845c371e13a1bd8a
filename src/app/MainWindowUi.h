#pragma once
// Builds the main window's menu bar, the seven palettes, the popup menus, the tray menu and
// the status bar from tables, with the captions, shortcuts, component names, tags and hints
// the program uses. Every QAction carries:
//   objectName          the component name where it has one ("ScanMenuItem"), else empty
//   property "handler"  the click handler's name ("ScanClick", "DeskMenuItemClick", ...)
//   property "tag"      the tag (int), where the item has one
//   property "hintKey"  the language key of its hint, where the hint comes from the language file
//   property "captionKey" the language key of its caption, where the caption comes from there
// A QMenu whose opening runs a handler carries property "popupHandler" ("DateiMenuItemClick").
// The main window connects handlers by name; an action whose handler is not connected is
// disabled, so no command silently does nothing.
// setupUi also sets the window's caption, icon and designed bounds, and routes right clicks on
// the tool area to palettePopupMenu and on the status bar to statusBarPopupMenu.
#include <QList>
#include <QString>
#include <array>

class QAction;
class QLabel;
class QMainWindow;
class QMenu;
class QScrollArea;
class QStatusBar;
class QSystemTrayIcon;
class QToolBar;
class QActionGroup;

namespace px {

class TPictureCanvas;
class TScanImage;

class MainWindowUi {
public:
    void setupUi(QMainWindow* window);

    // Every action whose "handler" property is handler (menu items, tool buttons, tray and
    // popup items alike).
    QList<QAction*> actionsForHandler(const QString& handler) const;
    // The action with this component name, or nullptr.
    QAction* action(const QString& componentName) const;
    QList<QAction*> allActions() const;

    QMenu* fileMenu = nullptr;
    QMenu* editMenu = nullptr;
    QMenu* viewMenu = nullptr;
    QMenu* extrasMenu = nullptr;
    QMenu* optionsMenu = nullptr;
    QMenu* windowMenu = nullptr;
    QMenu* helpMenu = nullptr;

    QMenu* scanShapePopupMenu = nullptr;   // capture-tool popup, tag = tool number
    QActionGroup* scanToolGroup = nullptr; // its thirteen radio items
    QMenu* recentPopupMenu = nullptr;
    QMenu* trayMenu = nullptr;
    QMenu* palettePopupMenu = nullptr;      // context menu of the tool area ("Standard" .. "Zurücksetzen")
    QMenu* newOpenMenu = nullptr;           // "Neu &öffnen"
    QMenu* grafikMenu = nullptr;            // Edit → "&Grafik"
    QMenu* markMenu = nullptr;              // "&Grafik" → marker submenu (copies of the pens)
    QMenu* paletteMenu = nullptr;           // View → palette submenu (shares the palette popup's items)
    QMenu* languageMenu = nullptr;          // "&Sprache", tag = language number
    QMenu* antiaPopupMenu = nullptr;        // drop-down of "Glätten"
    QMenu* scalePopupMenu = nullptr;        // drop-down of "Skalieren"
    QMenu* markColrPopupMenu = nullptr;     // drop-down of MarkToolButton, tag = pen
    QMenu* statusBarPopupMenu = nullptr;    // context menu of PXStatusBar

    std::array<QToolBar*, 7> palettes{};    // Standard, Grafik, Zuschneider, WinWord, Optionen, Hilfe, Exit

    QScrollArea* clientScrollBox = nullptr; // ClientScrollBoxEx
    TPictureCanvas* pictureCanvas = nullptr; // its content: holds ScanImage at any position
    TScanImage* scanImage = nullptr;        // ScanImage: the picture control
    QStatusBar* statusBar = nullptr;        // PXStatusBar
    std::array<QLabel*, 13> statusPanels{}; // panels 0..12
    QSystemTrayIcon* trayIcon = nullptr;

private:
    QList<QAction*> actions_;
};

} // namespace px
