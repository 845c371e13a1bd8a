#pragma once
// The main window's menus, palettes, popups and status panels as plain data. MainWindowUi
// builds the widgets from these tables; nothing here needs a window.
#include <QColor>
#include <span>

namespace px {

inline constexpr int kNoTag = -1;

enum class ItemKind {
    Command,      // plain item
    Check,        // item with its own check mark
    Radio,        // item of an exclusive group (the rows of one menu level form the group)
    Separator,
    SubMenu,      // opens a submenu; the rows up to the matching End belong to it
    End,          // closes the innermost SubMenu
    PaletteItems, // the palette popup's items, shared (the View menu's palette submenu)
    MarkerPens,   // copies of the marker drop-down's pen items (the "&Grafik" marker submenu)
};

// One menu item. For a SubMenu row, handler names the handler that runs when the submenu
// opens; it is stored as property "popupHandler" on the QMenu, not as a click handler.
// hint may be "short|long": the short part becomes the tool tip, the long part the status tip.
struct MenuRow {
    ItemKind kind = ItemKind::Command;
    const char* caption = "";
    const char* shortcut = "";   // portable key text ("Ctrl+Alt+F"), empty for none
    const char* component = "";  // object name, empty where the item has none
    const char* handler = "";
    int tag = kNoTag;
    const char* hint = "";       // built-in German hint
    const char* hintKey = "";    // language key of the hint, filled in at run time
    const char* captionKey = ""; // language key of the caption, where the caption comes from there
};

// A top-level menu of the menu bar.
struct TopMenu {
    const char* caption;
    const char* objectName;
    const char* popupHandler;
    std::span<const MenuRow> rows;
};

// The menu bar, left to right: File, Edit, View, Extras, Options, Window, Help.
std::span<const TopMenu> MainMenuBar();

std::span<const MenuRow> ScanShapePopupRows(); // thirteen capture tools, tag = tool number
std::span<const MenuRow> PalettePopupRows();   // "Standard" .. "Beenden", separator, "Zurücksetzen"
std::span<const MenuRow> TrayMenuRows();
std::span<const MenuRow> AntiaPopupRows();     // smoothing drop-down
std::span<const MenuRow> ScalePopupRows();     // scaling drop-down
std::span<const MenuRow> StatusBarPopupRows(); // status bar's context menu

// Handlers whose items start disabled (undo until the first undo copy; the watermark command,
// which is not available) and whose items start hidden (the Window menu's folder commands).
std::span<const char* const> StartDisabledHandlers();
std::span<const char* const> StartHiddenHandlers();

// The marker pens of MarkColrPopupMenu, tag = index.
struct MarkerPen {
    const char* caption;
    QRgb colour;
    int width;
};
std::span<const MarkerPen> MarkerPens();

// Drop-down menus a tool button can carry.
enum class DropDown { None, ScanShape, Recent, Antia, Scale, Marker };

// One tool button. A button that does the same thing as a menu item uses that item's action:
// shares names the item's component or handler. Otherwise the button gets its own action from
// caption, component, handler and hint.
struct ButtonRow {
    const char* shares = "";
    const char* icon = "";       // id for ToolIcon()
    DropDown dropDown = DropDown::None;
    const char* caption = "";
    const char* component = "";
    const char* handler = "";
    const char* hint = "";
    bool checkable = false;
};

struct PaletteRow {
    const char* objectName; // also the name of its registry key under GUI
    const char* title;
    std::span<const ButtonRow> buttons;
};
// The seven palettes in their fixed order (palette number = index).
std::span<const PaletteRow> Palettes();

// One status panel of PXStatusBar.
struct StatusPanel {
    int width;
    const char* text;
    bool bevel;     // false for the spacer panels
    bool centred;
    int imageIndex; // image of the icon panels in their initial state, -1 for text panels
};
std::span<const StatusPanel> StatusPanels(); // panels 0..12

} // namespace px
