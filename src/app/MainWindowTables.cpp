#include "app/MainWindowTables.h"

namespace px {
namespace {

constexpr ItemKind C = ItemKind::Command;
constexpr ItemKind K = ItemKind::Check;
constexpr ItemKind R = ItemKind::Radio;
constexpr ItemKind S = ItemKind::SubMenu;
constexpr MenuRow Sep{ItemKind::Separator};
constexpr MenuRow End{ItemKind::End};

// Captions, keys, component names, handlers, tags and hints of every menu item.
// Columns: kind, caption, key, component, handler, tag, hint, hint key, caption key.

const MenuRow kFileMenu[] = {
    {C, "S&cannen", "Ctrl+D", "ScanMenuItem", "ScanClick"},
    Sep,
    {C, "Scannen Desk&top", "", "", "DeskMenuItemClick", kNoTag, "", "ScanToolListBox_Hint6"},
    {C, "Scannen K&oordinaten...", "", "", "CoordMenuItemClick", kNoTag, "", "ScanToolListBox_Hint7"},
    {C, "Scannen &AVI-Sequenz...", "", "AviVdoMenuItem", "AviVdoMenuItemClick", kNoTag, "", "ScanToolListBox_Hint9"},
    {C, "Scannen &Windowselemente...", "", "WEMenuItem", "WEMenuItemClick", kNoTag,
     "Zeigt Informationen über das Control an, über dem sich der Mauszeiger befindet", "ScanToolListBox_Hint10"},
    {S, "Scannen Twain&quelle"},
        {C, "&Scannen...", "", "", "ScanTwainMenuItemClick", kNoTag, "", "ScanToolListBox_Hint11"},
        {C, "&Kodak ImageScan...", "", "", "KodakScanMenuItemClick", kNoTag,
         "Ermöglicht das holen eines Scan-Bildes über das ActiveX-Control Kodak ImageScan (sollte auf dem System als ActiveX registriert sein)"},
        Sep,
        {C, "Scanner-&Eigenschaften...", "", "", "DoScanPropMenuItemClick"},
    End,
    {C, "Scannen Date&ien...", "", "", "ScanFileMenuItemClick", kNoTag,
     "Vergleicht zwei Dateien auf Gleichheit", "ScanToolListBox_Hint12"},
    {C, "Scannen nach Te&xt...", "", "", "ScanTxtMenuItemClick", kNoTag, "", "ScanToolListBox_Hint13"},
    {C, "Scannen Remote-PC...", "", "", "RemScrMenuItemClick"},
    Sep,
    {C, "Ö&ffnen...", "", "", "OpenClick"},
    {S, "Neu &öffnen", "", "NewOpenMenuItem"},
    End,
    {C, "&AVI laden...", "", "", "AviLoadMenuItemClick"},
    Sep,
    {C, "Speichern &unter...", "", "", "SaveAsClick"},
    {C, "Sch&nell speichern", "Ctrl+S", "", "FastSaveToolButtonClick"},
    Sep,
    {C, "&Drucken...", "", "", "PrintClick"},
    {C, "Druck &Vorschau...", "", "", "PrintPrevMenuItemClick"},
    Sep,
    {C, "Grafik&viewer", "", "", "FileManagerMenuItemClick", kNoTag, "Öffnet den Image Browser"},
    {S, "S&uchen"},
        {C, "Dat&um...", "", "", "InternMenuItemClick"},
        {C, "Dateis&ystem", "Ctrl+Alt+F", "", "FileSysFindMenuItemClick", kNoTag, "Öffnet den Explorer mit Suchenseite"},
    End,
    Sep,
    {C, "&Beenden", "", "", "CloseClick"},
};

// "&Zuschneiden" must stay at index 5 (separators count): the picture context menu copies it
// from there.
const MenuRow kEditMenu[] = {
    {C, "&Rückgängig", "", "UndoMenuItem", "UndoMenuItemClick"},
    Sep,
    {C, "&Ausschneiden", "", "", "CutMenuItemClick"},
    {C, "&Kopieren", "", "", "CopyClick"},
    {C, "&Einfügen", "", "", "PasteToolButtonClick"},
    {C, "&Zuschneiden", "", "", "CutterMenuItemClick"},
    {C, "Z&uschneiden (Enter)", "", "", "CutterEnterMenuItemClick"},
    Sep,
    {S, "&Grafik"},
        {C, "Horizontal &spiegeln", "", "", "MirrowingH"},
        {C, "&Vertikal spiegeln", "", "", "MirrowingV"},
        {C, "&Drehen (90° rechts)", "", "", "RotationClick"},
        {C, "&Invertieren", "", "", "InvertClick"},
        {C, "&Graustufen", "", "", "GrayStepClick"},
        {C, "&Heller", "", "", "HellClick"},
        {C, "D&unkler", "", "", "DarkToolButtonClick"},
        {C, "&Kontrast", "", "", "KontrastClick"},
        {C, "&RGB-Kanäle...", "", "", "RGBChanMenuItemClick"},
        {S, "G&lätten", "", "", "", 5},
            {C, "Glätten (fester Wert)", "", "", "GlttenMenuItemClick"},
            {C, "Glätten (Benutzerdefiniert)...", "", "", "GlttenMenuItem2Click"},
        End,
        {S, "Sk&alieren", "", "", "", 5},
            {C, "Per &Wert...", "", "", "ValScaleMenuItemClick"},
            {C, "Persistent...", "", "", "ScaleClick", 1},
            {C, "Temporär...", "", "", "ScaleClick", 2},
        End,
        {S, "&Markieren", "", "", "MarkMenuItemClick", 5, "", "MarkMenuItem_Hint", "MarkMenuItem_Caption"},
            {ItemKind::MarkerPens},
        End,
    End,
    {C, "JPG/JPEG Skalierung...", "", "JpgScaleMenuItem", "JpgScaleMenuItemClick"},
    Sep,
    {C, "Te&xt einfügen...", "", "", "TxtInpMenuItemClick"},
    {C, "Fuß&note einfügen...", "", "", "FeetLineMenuItemClick"},
    {C, "&Rahmen erzeugen...", "", "", "BorderMenuItemClick"},
    {C, "Nummerierung...", "", "", "NumMenuItemClick"},
    {S, "&Mauszeiger einfügen"},
        {K, "Default (1)", "", "", "MausMenuItemClick", 1},
        {K, "AppStart (&2)", "", "", "MausMenuItemClick", 2},
        {K, "Cross (&3)", "", "", "MausMenuItemClick", 3},
        {K, "Drag && Drop (&4)", "", "", "MausMenuItemClick", 4},
        {K, "HandPoint (&5)", "", "", "MausMenuItemClick", 5},
        {K, "Help (&6)", "", "", "MausMenuItemClick", 6},
        {K, "HourGlass (&7)", "", "", "MausMenuItemClick", 7},
        {K, "VSplit (&8)", "", "", "MausMenuItemClick", 8},
        {K, "Beam (&9)", "", "", "MausMenuItemClick", 9},
        {K, "MultiDrag (1&0)", "", "", "MausMenuItemClick", 10},
        {K, "N&0 (11)", "", "", "MausMenuItemClick", 11},
        {K, "No&Drop (12)", "", "", "MausMenuItemClick", 12},
        {K, "Si&zeAll (13)", "", "", "MausMenuItemClick", 13},
        {K, "SizeNESW (14)", "", "", "MausMenuItemClick", 14},
        {K, "Size&NS (15)", "", "", "MausMenuItemClick", 15},
        {K, "SizeNWSE (16)", "", "", "MausMenuItemClick", 16},
        {K, "Size&WE (17)", "", "", "MausMenuItemClick", 17},
        {K, "S&QLWait (18)", "", "", "MausMenuItemClick", 18},
        {K, "&UpArrow (19)", "", "", "MausMenuItemClick", 19},
        {K, "HSplit (20)", "", "", "MausMenuItemClick", 20},
        Sep,
        {C, "Aus&suchen...", "", "", "MausMenuItemClick", 100},
    End,
    {C, "Bitmap kacheln...", "", "", "Kacheln1Click"},
    {S, "Desktop-&Hintergrund"},
        {C, "&Gekachelt", "", "", "DTBackgrMenuItemClick", 0},
        {C, "&Zentrieren", "", "", "DTBackgrMenuItemClick", 1},
    End,
    {C, "Wasserzeichen...", "", "", "WaterMenuItemClick", kNoTag, "Nicht implementiert"},
};

const MenuRow kViewMenu[] = {
    {K, "Fenster an&passen", "", "WinDimMenuItem", "WinDimMenuItemClick"},
    {K, "Grafik &zentrieren", "", "DocCentMenuItem", "DocCentMenuItemClick"},
    {K, "Grafik &stretchen", "", "GsMenuItem", "GsMenuItemClick"},
    {K, "Grafik &fokusieren", "", "DocFocMenuItem", "DocFocMenuItemClick"},
    Sep,
    {K, "&Transparenz", "", "TransMenuItem", "TransMenuItemClick"},
    {C, "&Vollbild", "", "FullScreenMenuItem", "FullScreenMenuItemClick"},
    {K, "Koordinaten &Gitter", "", "CoordNetMenuItem", "CoordNetMenuItemClick"},
    Sep,
    {K, "Te&xtausgabe", "", "FileOutputMenuItem", "FileOutputMenuItemClick", kNoTag,
     "Öffnet einen Bereich am unteren Fensterrand der die Resultate eines Scanlaufs nach Text anzeigt"},
    {K, "Datei-E&xplorer", "", "", "FileExMenuItemClick"},
    {K, "Datei-Explorer &anheften", "", "FEMagMenuItem", "FEMagMenuItemClick"},
    Sep,
    {K, "XP-&Menüs", "", "XPStyleMenuItem"},
    {S, "S&ystem"},
        {C, "Desktop-Icons ausblenden"},
        {C, "Desktop-Icons einblenden"},
        Sep,
        {C, "Taskbar ausblenden"},
        {C, "Taskbar einblenden"},
        Sep,
        {C, "Bildschirm invertieren"},
        {C, "Alle Fenster minimieren"},
    End,
    Sep,
    {S, "Pa&letten", "", "", "", kNoTag, "", "AMenuItem_Hint", "AMenuItem_Caption"},
        {ItemKind::PaletteItems},
    End,
};

const MenuRow kExtrasMenu[] = {
    {C, "S&kript ausführen", "Ctrl+F9", "", "ScriptMenuItemClick"},
    Sep,
    {S, "Kon&vertieren"},
        {C, "D&atei...", "F2", "", "AllKonvertMenuItemClick", 0},
        {C, "&Ordner...", "", "", "AllKonvertMenuItemClick", 1},
        {C, "Aus&wahl...", "", "", "AllKonvertMenuItemClick", 2},
        {C, "Thumb&nails...", "", "", "AllKonvertMenuItemClick", 3},
        Sep,
        {C, "Bitmaps in AVI-Frames...", "Ctrl+B", "BmpsToAviMenuItem", "BmpsToAviMenuItemClick"},
    End,
    {S, "Bilder-&Galerien (HTML)"},
        {C, "&Einseitig...", "", "OnePageMenuItem", "BildGalerieMenuItemClick"},
    End,
    {S, "E&xtrahieren"},
        {C, "Aus Exe/&Dll...", "Ctrl+Alt+H", "ExeDllExtractMenuItem", "ExtractMenuItemClick"},
        {C, "Aus &AVI...", "", "AviExtractMenuItem", "AVIextrahieren1Click"},
        {C, "Dateierweiterungs-&Icon...", "", "FileExtIconMenuItem", "FileExtIconMenuItemClick"},
    End,
    {S, "Grafik-&Browser"},
        {C, "&Automatisch erzeugte Dateien", "", "", "ScanBrowsMenuItemClick", 0},
        {C, "Schne&llgespeicherte Dateien", "", "", "ScanBrowsMenuItemClick", 1},
        {C, "&Wählbares Verzeichnis...", "Ctrl+Alt+B", "", "ScanBrowsMenuItemClick", 2},
    End,
    Sep,
    {C, "&Senden...", "", "SendMenuItem", "SendMenuItemClick", kNoTag, "Standard Email-Programm starten"},
    {C, "Splitten/Zusammenführen...", "Ctrl+Alt+Z", "SplitMenuItem", "SplitMenuItemClick", kNoTag,
     "Splittet beliebig große Dateien in frei definierte kleinere Dateien"},
};

const MenuRow kOptionsMenu[] = {
    {K, "Automatische &Dateierzeugung", "", "AutoFileMenuItem", "AutoFileMenuItemClick"},
    {K, "&PrintScan", "", "PrintScanMenuItem", "PrintScanMenuItemClick"},
    {K, "&TimeScan", "", "", "TimeScanMenuItemClick"},
    Sep,
    {K, "Dateien als Bitmap &öffnen", "", "FileAsBmpMenuItem", "FileAsBmpMenuItemClick"},
    {K, "Ext. &Grafikeditor verwenden", "", "ExtGraphMenuItem", "ExtGraphMenuItemClick"},
    {K, "Ext. Grafikeditor für Hotkeys", "", "ExtGraphHKMenuItem", "ExtGraphHKMenuItemClick"},
    Sep,
    {K, "&Lupe", "", "KoordLoupMenuItem", "KoordLoupMenuItemClick"},
    {K, "Gefüllte &Formen", "", "ScanTFMenuItem", "ScanTFMenuItemClick"},
    {C, "Farb&anzeige...", "", "ColViewMenuItem", "ColViewMenuItemClick"},
    {K, "Statusleiste", "", "", "StatBarMenuItemClick"},
    Sep,
    {S, "&Sprache", "", "", "LangMenuItemClick"},
        {R, "&Deutsch", "", "", "GermanMenuItemClick", 0},
        {R, "&Englisch", "", "", "GermanMenuItemClick", 1},
        {R, "&Italienisch", "", "", "GermanMenuItemClick", 2},
        {R, "&Spanisch", "", "", "GermanMenuItemClick", 3},
        {R, "&Französisch", "", "", "GermanMenuItemClick", 4},
    End,
    Sep,
    {C, "&Einstellungen...", "", "", "OptionenMenuItemClick"},
};

const MenuRow kWindowMenu[] = {
    {S, "&Verzeichnis-Explorer"},
        {C, "&Baumansicht", "", "", "TreeMenuItemClick", 0},
        {C, "&Register", "", "", "TreeMenuItemClick", 1},
    End,
    {C, "&Datei-Explorer", "", "", "TreeMenuItemClick", 2},
    {C, "&Textausgabe", "", "", "TreeMenuItemClick", 3},
    {C, "AVI Aktionen", "", "", "TreeMenuItemClick", 4},
    Sep,
    {C, "&RuviveRiru", "", "", "FernblickMenuItemClick"},
    {C, "&Neues Verzeichnis anlegen...", "", "", "NewDir2MenuItemClick"},
    {C, "Verzeichnis &löschen...", "", "", "DirDel2MenuItemClick"},
};

const MenuRow kHelpMenu[] = {
    {C, "Hand&buch", "F1", "", "HandbuchMenuItemClick"},
    {C, "&Tastatur Belegung...", "", "", "KeyboardMenuItemClick"},
    {C, "R&eadme", "", "", "ReadmeMenuItemClick"},
    Sep,
    {S, "Im &Internet"},
        {C, "&Homepage", "", "", "WebMenuItemClick", 0},
        {C, "&Updates herunterladen", "", "", "WebMenuItemClick", 1},
        {C, "&Feedback", "", "", "WebMenuItemClick", 2},
    End,
    Sep,
    {C, "Inf&o...", "", "InfoMenuItem", "InfoMenuItemClick", kNoTag, "About-Dialog anzeigen"},
};

const TopMenu kMenuBar[] = {
    {"&Datei", "FileMenu", "DateiMenuItemClick", kFileMenu},
    {"&Bearbeiten", "EditMenu", "DateiMenuItemClick", kEditMenu},
    {"&Ansicht", "ViewMenu", "ViewMenuItemClick", kViewMenu},
    {"&Extras", "ExtrasMenu", "DateiMenuItemClick", kExtrasMenu},
    {"&Optionen", "OptionsMenu", "DateiMenuItemClick", kOptionsMenu},
    {"&Fenster", "WindowMenu", "WinMenuItemClick", kWindowMenu},
    {"&Hilfe", "HelpMenu", "", kHelpMenu},
};

const MenuRow kScanShapePopup[] = {
    {R, "Rechteck", "", "", "ShapeMenuItemClick", 0, "", "ScanToolListBox_Hint1"},
    {R, "Dreieck", "", "", "ShapeMenuItemClick", 1, "", "ScanToolListBox_Hint2"},
    {R, "Rundeck", "", "", "ShapeMenuItemClick", 2, "", "ScanToolListBox_Hint3"},
    {R, "Ellipse", "", "", "ShapeMenuItemClick", 3, "", "ScanToolListBox_Hint4"},
    {R, "Objekt", "", "", "ShapeMenuItemClick", 4, "", "ScanToolListBox_Hint5"},
    {R, "Desktop", "", "", "ShapeMenuItemClick", 5, "", "ScanToolListBox_Hint6"},
    {R, "Koordinaten", "", "", "ShapeMenuItemClick", 6, "", "ScanToolListBox_Hint7"},
    {R, "AVI-Sequenz", "", "", "ShapeMenuItemClick", 7, "", "ScanToolListBox_Hint9"},
    {R, "Windowselemente", "", "", "ShapeMenuItemClick", 8, "", "ScanToolListBox_Hint10"},
    {R, "Twain", "", "", "ShapeMenuItemClick", 9, "", "ScanToolListBox_Hint11"},
    {R, "Dateien", "", "", "ShapeMenuItemClick", 10, "", "ScanToolListBox_Hint12"},
    {R, "Text", "", "", "ShapeMenuItemClick", 11, "", "ScanToolListBox_Hint13"},
    {R, "Remote-PC", "", "", "ShapeMenuItemClick", 12, "", "ScanToolListBox_Hint14"},
};

const MenuRow kPalettePopup[] = {
    {K, "Standard", "", "", "StandardMenuItemClick", 0},
    {K, "Grafik-Tools", "", "", "StandardMenuItemClick", 1},
    {K, "Zuschneide-Tool", "", "", "StandardMenuItemClick", 2},
    {K, "WinWord", "", "", "StandardMenuItemClick", 3},
    {K, "Optionen", "", "", "StandardMenuItemClick", 4},
    {K, "Hilfe", "", "", "StandardMenuItemClick", 5},
    {K, "Beenden", "", "", "StandardMenuItemClick", 6},
    Sep,
    {C, "Zurücksetzen", "", "", "SetMPUndoMenuItemClick"},
};

// The tray's text-search and file-comparison items run the same commands as their File-menu
// twins. "Scannen &Windowselemente" has no command of its own here.
const MenuRow kTrayMenu[] = {
    {C, "Pixmora &beenden", "Alt+F4", "", "CloseClick"},
    Sep,
    {C, "Pixmora Pop&up/Popdown", "", "", "PXPopupMenuItemClick"},
    Sep,
    {C, "&Einstellungen...", "Ctrl+F11", "", "OptionenMenuItemClick"},
    Sep,
    {C, "Scannen Remote-PC...", "", "", "RemScrMenuItemClick", kNoTag, "", "ScanToolListBox_Hint14"},
    {C, "Scannen nach Text...", "", "", "ScanTxtMenuItemClick", kNoTag, "", "ScanToolListBox_Hint13"},
    {C, "Scannen Date&ien...", "", "", "ScanFileMenuItemClick", kNoTag, "", "ScanToolListBox_Hint12"},
    {C, "Scannen &Twainquelle...", "", "", "ScanTwainMenuItemClick", kNoTag, "", "ScanToolListBox_Hint11"},
    {C, "Scannen &Avi-Sequenz...", "", "AviVdo2MenuItem", "AviVdoMenuItemClick", kNoTag, "", "ScanToolListBox_Hint9"},
    {C, "Scannen &Windowselemente", "", "", "", kNoTag, "", "ScanToolListBox_Hint10"},
    {C, "Scannen K&oordinaten...", "", "", "CoordMenuItemClick", kNoTag, "", "ScanToolListBox_Hint7"},
    {C, "Scannen Desktop", "", "", "DeskMenuItemClick", kNoTag, "", "ScanToolListBox_Hint6"},
    Sep,
    {C, "S&cannen", "Ctrl+D", "", "ScanClick"},
};

const MenuRow kAntiaPopup[] = {
    {R, "Standard glätten", "", "", "StdAntiaMenuItemClick", 0},
    {R, "Benutzerdefiniert", "", "", "StdAntiaMenuItemClick", 1},
};

const MenuRow kScalePopup[] = {
    {R, "Per Wert", "", "", "TmpScalMenuItemClick", 0},
    {R, "Persistente Skalierung", "", "", "TmpScalMenuItemClick", 1},
    {R, "Temporäre Skalierung", "", "", "TmpScalMenuItemClick", 2},
};

const MenuRow kStatusBarPopup[] = {
    {K, "Einteilige Statusleiste", "", "", "LongHintsMenuItemClick"},
};

const char* const kStartDisabled[] = {"UndoMenuItemClick", "WaterMenuItemClick"};
const char* const kStartHidden[] = {"NewDir2MenuItemClick", "DirDel2MenuItemClick"};

const MarkerPen kMarkerPens[] = {
    {"RotDuenn", qRgb(255, 0, 0), 5},       {"RotFett", qRgb(255, 0, 0), 10},
    {"BlauDuenn", qRgb(0, 0, 255), 5},      {"BlauFett", qRgb(0, 0, 255), 10},
    {"SchwarzDuenn", qRgb(0, 0, 0), 5},     {"SchwarzFett", qRgb(0, 0, 0), 10},
    {"GelbDuenn", qRgb(255, 255, 0), 5},    {"GelbFett", qRgb(255, 255, 0), 10},
    {"GruenDuenn", qRgb(0, 128, 0), 5},     {"GruenFett", qRgb(0, 128, 0), 10},
    {"SilberDuenn", qRgb(192, 192, 192), 5}, {"SilberFett", qRgb(192, 192, 192), 10},
};

// Buttons. Columns: shared item (component or handler), icon, drop-down, then for buttons with
// an action of their own: caption, component, handler, hint, checkable.
constexpr DropDown N = DropDown::None;

const ButtonRow kStandardButtons[] = {
    {"ScanClick", "capture", DropDown::ScanShape},
    {"OpenClick", "open", DropDown::Recent},
    {"SaveAsClick", "save"},
    {"FastSaveToolButtonClick", "fastsave"},
    {"PrintClick", "print"},
    {"PrintPrevMenuItemClick", "preview"},
    {"CopyClick", "copy"},
    {"PasteToolButtonClick", "paste"},
};

const ButtonRow kPicEditButtons[] = {
    {"MirrowingH", "mirrorh"},
    {"MirrowingV", "mirrorv"},
    {"RotationClick", "rotate"},
    {"InvertClick", "invert"},
    {"GrayStepClick", "grey"},
    {"HellClick", "brighter"},
    {"DarkToolButtonClick", "darker"},
    {"KontrastClick", "contrast"},
    {"", "smooth", DropDown::Antia, "Glätten", "", "GlttenMenuItemClick"},
    {"", "scale", DropDown::Scale, "Skalieren", "", "ScaleClick"},
    {"", "marker", DropDown::Marker, "Markierstift", "MarkToolButton", "MarkToolButtonClick"},
    {"JpgScaleMenuItem", "jpgscale"},
    {"NumMenuItemClick", "numbering"},
};

const ButtonRow kCutterButtons[] = {
    {"", "cutdrag", N, "Grafik zuschneiden", "", "CutterMenuItemClick"},
    {"CutterEnterMenuItemClick", "cutframe"},
};

const ButtonRow kWordButtons[] = {
    {"", "word", N, "WinWord", "WordToolButton", "WordClick", "WinWord|Aktuelle Grafik an WinWord senden"},
};

const ButtonRow kOptionButtons[] = {
    {"AutoFileMenuItem", "autofile"},
    {"KoordLoupMenuItem", "loupe"},
    {"PrintScanMenuItem", "printscan"},
    {"FileAsBmpMenuItem", "asbmp"},
    {"TimeScanMenuItemClick", "timescan"},
    {"ExtGraphMenuItem", "exteditor"},
    {"ExtGraphHKMenuItem", "exteditorhk"},
    {"OptionenMenuItemClick", "options"},
};

const ButtonRow kHelpButtons[] = {
    {"HandbuchMenuItemClick", "manual"},
    {"KeyboardMenuItemClick", "keyboard"},
};

const ButtonRow kExitButtons[] = {
    {"CloseClick", "exit"},
};

const PaletteRow kPalettes[] = {
    {"StandardPal", "Standard", kStandardButtons},
    {"PicEditPal", "Grafik", kPicEditButtons},
    {"CutterPal", "Zuschneider", kCutterButtons},
    {"WordPal", "WinWord", kWordButtons},
    {"OptionPal", "Optionen", kOptionButtons},
    {"HelpPal", "Hilfe", kHelpButtons},
    {"ExitPal", "Exit", kExitButtons},
};

// Panel 0 takes the width left over; 8..11 show icons (images 5, 1, 2, 4 mean: minimise after
// capture off, automatic file creation off, no file, program information).
const StatusPanel kStatusPanels[] = {
    {200, "Bereit", true, false, -1},
    {10, "", false, false, -1},
    {90, "Farbcodes", true, true, -1},
    {10, "", false, false, -1},
    {110, "X: 0   Y: 0", true, true, -1},
    {10, "", false, false, -1},
    {70, "- - -", true, true, -1},
    {10, "", false, false, -1},
    {24, "", true, false, 5},
    {24, "", true, false, 1},
    {24, "", true, false, 2},
    {24, "", true, false, 4},
    {20, "", false, false, -1},
};

} // namespace

std::span<const TopMenu> MainMenuBar() { return kMenuBar; }
std::span<const MenuRow> ScanShapePopupRows() { return kScanShapePopup; }
std::span<const MenuRow> PalettePopupRows() { return kPalettePopup; }
std::span<const MenuRow> TrayMenuRows() { return kTrayMenu; }
std::span<const MenuRow> AntiaPopupRows() { return kAntiaPopup; }
std::span<const MenuRow> ScalePopupRows() { return kScalePopup; }
std::span<const MenuRow> StatusBarPopupRows() { return kStatusBarPopup; }
std::span<const char* const> StartDisabledHandlers() { return kStartDisabled; }
std::span<const char* const> StartHiddenHandlers() { return kStartHidden; }
std::span<const MarkerPen> MarkerPens() { return kMarkerPens; }
std::span<const PaletteRow> Palettes() { return kPalettes; }
std::span<const StatusPanel> StatusPanels() { return kStatusPanels; }

} // namespace px
