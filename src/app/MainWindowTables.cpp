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
    {C, "Scannen Desk&top", "", "DeskMenuItem", "DeskMenuItemClick", kNoTag, "", "ScanToolListBox_Hint6"},
    {C, "Scannen K&oordinaten...", "", "CoordMenuItem", "CoordMenuItemClick", kNoTag, "", "ScanToolListBox_Hint7"},
    {C, "Scannen &AVI-Sequenz...", "", "AviVdoMenuItem", "AviVdoMenuItemClick", kNoTag, "", "ScanToolListBox_Hint9"},
    {C, "Scannen &Windowselemente...", "", "WEMenuItem", "WEMenuItemClick", kNoTag,
     "Zeigt Informationen über das Control an, über dem sich der Mauszeiger befindet", "ScanToolListBox_Hint10"},
    {S, "Scannen Twain&quelle", "", "ScannenTwainquelleMenu"},
        {C, "&Scannen...", "", "ScanTwainMenuItem", "ScanTwainMenuItemClick", kNoTag, "", "ScanToolListBox_Hint11"},
        {C, "&Kodak ImageScan...", "", "KodakScanMenuItem", "KodakScanMenuItemClick", kNoTag,
         "Ermöglicht das holen eines Scan-Bildes über das ActiveX-Control Kodak ImageScan (sollte auf dem System als ActiveX registriert sein)"},
        Sep,
        {C, "Scanner-&Eigenschaften...", "", "DoScanPropMenuItem", "DoScanPropMenuItemClick"},
    End,
    {C, "Scannen Date&ien...", "", "ScanFileMenuItem", "ScanFileMenuItemClick", kNoTag,
     "Vergleicht zwei Dateien auf Gleichheit", "ScanToolListBox_Hint12"},
    {C, "Scannen nach Te&xt...", "", "ScanTxtMenuItem", "ScanTxtMenuItemClick", kNoTag, "", "ScanToolListBox_Hint13"},
    {C, "Scannen Remote-PC...", "", "RemScrMenuItem", "RemScrMenuItemClick"},
    Sep,
    {C, "Ö&ffnen...", "", "OpenMenuItem", "OpenClick"},
    {S, "Neu &öffnen", "", "NewOpenMenuItem"},
    End,
    {C, "&AVI laden...", "", "AviLoadMenuItem", "AviLoadMenuItemClick"},
    Sep,
    {C, "Speichern &unter...", "", "SaveAsMenuItem", "SaveAsClick"},
    {C, "Sch&nell speichern", "Ctrl+S", "FastSaveToolButton", "FastSaveToolButtonClick"},
    Sep,
    {C, "&Drucken...", "", "PrintMenuItem", "PrintClick"},
    {C, "Druck &Vorschau...", "", "PrintPrevMenuItem", "PrintPrevMenuItemClick"},
    Sep,
    {C, "Grafik&viewer", "", "FileManagerMenuItem", "FileManagerMenuItemClick", kNoTag, "Öffnet den Image Browser"},
    {S, "S&uchen", "", "SuchenMenu"},
        {C, "Dat&um...", "", "InternMenuItem", "InternMenuItemClick"},
        {C, "Dateis&ystem", "Ctrl+Alt+F", "FileSysFindMenuItem", "FileSysFindMenuItemClick", kNoTag, "Öffnet den Explorer mit Suchenseite"},
    End,
    Sep,
    {C, "&Beenden", "", "CloseMenuItem", "CloseClick"},
};

// "&Zuschneiden" must stay at index 5 (separators count): the picture context menu copies it
// from there.
const MenuRow kEditMenu[] = {
    {C, "&Rückgängig", "Ctrl+Z", "UndoMenuItem", "UndoMenuItemClick"},
    Sep,
    {C, "&Ausschneiden", "Ctrl+X", "CutMenuItem", "CutMenuItemClick"},
    {C, "&Kopieren", "Ctrl+C", "CopyMenuItem", "CopyClick"},
    {C, "&Einfügen", "Ctrl+V", "PasteToolButton", "PasteToolButtonClick"},
    {C, "&Zuschneiden", "", "CutterMenuItem", "CutterMenuItemClick"},
    {C, "Z&uschneiden (Enter)", "", "CutterEnterMenuItem", "CutterEnterMenuItemClick"},
    Sep,
    {S, "&Grafik", "", "GrafikMenu"},
        {C, "Horizontal &spiegeln", "", "MirrowingHMenuItem", "MirrowingH"},
        {C, "&Vertikal spiegeln", "", "MirrowingVMenuItem", "MirrowingV"},
        {C, "&Drehen (90° rechts)", "", "RotationMenuItem", "RotationClick"},
        {C, "&Invertieren", "", "InvertMenuItem", "InvertClick"},
        {C, "&Graustufen", "", "GrayStepMenuItem", "GrayStepClick"},
        {C, "&Heller", "", "HellMenuItem", "HellClick"},
        {C, "D&unkler", "", "DarkToolButton", "DarkToolButtonClick"},
        {C, "&Kontrast", "", "KontrastMenuItem", "KontrastClick"},
        {C, "&RGB-Kanäle...", "", "RGBChanMenuItem", "RGBChanMenuItemClick"},
        {S, "G&lätten", "", "GlaettenMenu", "", 5},
            {C, "Glätten (fester Wert)", "", "GlttenMenuItem", "GlttenMenuItemClick"},
            {C, "Glätten (Benutzerdefiniert)...", "", "GlttenMenuItem2", "GlttenMenuItem2Click"},
        End,
        {S, "Sk&alieren", "", "SkalierenMenu", "", 5},
            {C, "Per &Wert...", "", "ValScaleMenuItem", "ValScaleMenuItemClick"},
            {C, "Persistent...", "", "ScaleMenuItem1", "ScaleClick", 1},
            {C, "Temporär...", "", "ScaleMenuItem2", "ScaleClick", 2},
        End,
        {S, "&Markieren", "", "MarkMenuItem", "MarkMenuItemClick", 5, "", "MarkMenuItem_Hint", "MarkMenuItem_Caption"},
            {ItemKind::MarkerPens},
        End,
    End,
    {C, "JPG/JPEG Skalierung...", "", "JpgScaleMenuItem", "JpgScaleMenuItemClick"},
    Sep,
    {C, "Te&xt einfügen...", "", "TxtInpMenuItem", "TxtInpMenuItemClick"},
    {C, "Fuß&note einfügen...", "", "FeetLineMenuItem", "FeetLineMenuItemClick"},
    {C, "&Rahmen erzeugen...", "", "BorderMenuItem", "BorderMenuItemClick"},
    {C, "Nummerierung...", "", "NumMenuItem", "NumMenuItemClick"},
    {S, "&Mauszeiger einfügen", "", "MauszeigerEinfuegenMenu"},
        {K, "Default (1)", "", "MausMenuItem1", "MausMenuItemClick", 1},
        {K, "AppStart (&2)", "", "MausMenuItem2", "MausMenuItemClick", 2},
        {K, "Cross (&3)", "", "MausMenuItem3", "MausMenuItemClick", 3},
        {K, "Drag && Drop (&4)", "", "MausMenuItem4", "MausMenuItemClick", 4},
        {K, "HandPoint (&5)", "", "MausMenuItem5", "MausMenuItemClick", 5},
        {K, "Help (&6)", "", "MausMenuItem6", "MausMenuItemClick", 6},
        {K, "HourGlass (&7)", "", "MausMenuItem7", "MausMenuItemClick", 7},
        {K, "VSplit (&8)", "", "MausMenuItem8", "MausMenuItemClick", 8},
        {K, "Beam (&9)", "", "MausMenuItem9", "MausMenuItemClick", 9},
        {K, "MultiDrag (1&0)", "", "MausMenuItem10", "MausMenuItemClick", 10},
        {K, "N&0 (11)", "", "MausMenuItem11", "MausMenuItemClick", 11},
        {K, "No&Drop (12)", "", "MausMenuItem12", "MausMenuItemClick", 12},
        {K, "Si&zeAll (13)", "", "MausMenuItem13", "MausMenuItemClick", 13},
        {K, "SizeNESW (14)", "", "MausMenuItem14", "MausMenuItemClick", 14},
        {K, "Size&NS (15)", "", "MausMenuItem15", "MausMenuItemClick", 15},
        {K, "SizeNWSE (16)", "", "MausMenuItem16", "MausMenuItemClick", 16},
        {K, "Size&WE (17)", "", "MausMenuItem17", "MausMenuItemClick", 17},
        {K, "S&QLWait (18)", "", "MausMenuItem18", "MausMenuItemClick", 18},
        {K, "&UpArrow (19)", "", "MausMenuItem19", "MausMenuItemClick", 19},
        {K, "HSplit (20)", "", "MausMenuItem20", "MausMenuItemClick", 20},
        Sep,
        {C, "Aus&suchen...", "", "MausMenuItem100", "MausMenuItemClick", 100},
    End,
    {C, "Bitmap kacheln...", "", "Kacheln1MenuItem", "Kacheln1Click"},
    {S, "Desktop-&Hintergrund", "", "DesktopHintergrundMenu"},
        {C, "&Gekachelt", "", "DTBackgrMenuItem0", "DTBackgrMenuItemClick", 0},
        {C, "&Zentrieren", "", "DTBackgrMenuItem1", "DTBackgrMenuItemClick", 1},
    End,
    {C, "Wasserzeichen...", "", "WaterMenuItem", "WaterMenuItemClick", kNoTag, "Nicht implementiert"},
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
    {K, "Datei-E&xplorer", "", "FileExMenuItem", "FileExMenuItemClick"},
    {K, "Datei-Explorer &anheften", "", "FEMagMenuItem", "FEMagMenuItemClick"},
    Sep,
    {K, "XP-&Menüs", "", "XPStyleMenuItem"},
    {S, "S&ystem", "", "SystemMenu"},
        {C, "Desktop-Icons ausblenden", "", "DesktopIconsAusblendenMenuItem"},
        {C, "Desktop-Icons einblenden", "", "DesktopIconsEinblendenMenuItem"},
        Sep,
        {C, "Taskbar ausblenden", "", "TaskbarAusblendenMenuItem"},
        {C, "Taskbar einblenden", "", "TaskbarEinblendenMenuItem"},
        Sep,
        {C, "Bildschirm invertieren", "", "BildschirmInvertierenMenuItem"},
        {C, "Alle Fenster minimieren", "", "AlleFensterMinimierenMenuItem"},
    End,
    Sep,
    {S, "Pa&letten", "", "PalettenMenu", "", kNoTag, "", "AMenuItem_Hint", "AMenuItem_Caption"},
        {ItemKind::PaletteItems},
    End,
};

const MenuRow kExtrasMenu[] = {
    {C, "S&kript ausführen", "Ctrl+F9", "ScriptMenuItem", "ScriptMenuItemClick"},
    Sep,
    {S, "Kon&vertieren", "", "KonvertierenMenu"},
        {C, "D&atei...", "F2", "AllKonvertMenuItem0", "AllKonvertMenuItemClick", 0},
        {C, "&Ordner...", "", "AllKonvertMenuItem1", "AllKonvertMenuItemClick", 1},
        {C, "Aus&wahl...", "", "AllKonvertMenuItem2", "AllKonvertMenuItemClick", 2},
        {C, "Thumb&nails...", "", "AllKonvertMenuItem3", "AllKonvertMenuItemClick", 3},
        Sep,
        {C, "Bitmaps in AVI-Frames...", "Ctrl+B", "BmpsToAviMenuItem", "BmpsToAviMenuItemClick"},
    End,
    {S, "Bilder-&Galerien (HTML)", "", "BilderGalerienHTMLMenu"},
        {C, "&Einseitig...", "", "OnePageMenuItem", "BildGalerieMenuItemClick"},
    End,
    {S, "E&xtrahieren", "", "ExtrahierenMenu"},
        {C, "Aus Exe/&Dll...", "Ctrl+Alt+H", "ExeDllExtractMenuItem", "ExtractMenuItemClick"},
        {C, "Aus &AVI...", "", "AviExtractMenuItem", "AVIextrahieren1Click"},
        {C, "Dateierweiterungs-&Icon...", "", "FileExtIconMenuItem", "FileExtIconMenuItemClick"},
    End,
    {S, "Grafik-&Browser", "", "GrafikBrowserMenu"},
        {C, "&Automatisch erzeugte Dateien", "", "ScanBrowsMenuItem0", "ScanBrowsMenuItemClick", 0},
        {C, "Schne&llgespeicherte Dateien", "", "ScanBrowsMenuItem1", "ScanBrowsMenuItemClick", 1},
        {C, "&Wählbares Verzeichnis...", "Ctrl+Alt+B", "ScanBrowsMenuItem2", "ScanBrowsMenuItemClick", 2},
    End,
    Sep,
    {C, "&Senden...", "", "SendMenuItem", "SendMenuItemClick", kNoTag, "Standard Email-Programm starten"},
    {C, "Splitten/Zusammenführen...", "Ctrl+Alt+Z", "SplitMenuItem", "SplitMenuItemClick", kNoTag,
     "Splittet beliebig große Dateien in frei definierte kleinere Dateien"},
};

const MenuRow kOptionsMenu[] = {
    {K, "Automatische &Dateierzeugung", "", "AutoFileMenuItem", "AutoFileMenuItemClick"},
    {K, "&PrintScan", "", "PrintScanMenuItem", "PrintScanMenuItemClick"},
    {K, "&TimeScan", "", "TimeScanMenuItem", "TimeScanMenuItemClick"},
    Sep,
    {K, "Dateien als Bitmap &öffnen", "", "FileAsBmpMenuItem", "FileAsBmpMenuItemClick"},
    {K, "Ext. &Grafikeditor verwenden", "", "ExtGraphMenuItem", "ExtGraphMenuItemClick"},
    {K, "Ext. Grafikeditor für Hotkeys", "", "ExtGraphHKMenuItem", "ExtGraphHKMenuItemClick"},
    Sep,
    {K, "&Lupe", "", "KoordLoupMenuItem", "KoordLoupMenuItemClick"},
    {K, "Gefüllte &Formen", "", "ScanTFMenuItem", "ScanTFMenuItemClick"},
    {C, "Farb&anzeige...", "", "ColViewMenuItem", "ColViewMenuItemClick"},
    {K, "Statusleiste", "", "StatBarMenuItem", "StatBarMenuItemClick"},
    Sep,
    {S, "&Sprache", "", "LangMenuItem", "LangMenuItemClick"},
        {R, "&Deutsch", "", "GermanMenuItem0", "GermanMenuItemClick", 0},
        {R, "&Englisch", "", "GermanMenuItem1", "GermanMenuItemClick", 1},
        {R, "&Italienisch", "", "GermanMenuItem2", "GermanMenuItemClick", 2},
        {R, "&Spanisch", "", "GermanMenuItem3", "GermanMenuItemClick", 3},
        {R, "&Französisch", "", "GermanMenuItem4", "GermanMenuItemClick", 4},
    End,
    Sep,
    {C, "&Einstellungen...", "", "OptionenMenuItem", "OptionenMenuItemClick"},
};

const MenuRow kWindowMenu[] = {
    {S, "&Verzeichnis-Explorer", "", "VerzeichnisExplorerMenu"},
        {C, "&Baumansicht", "", "TreeMenuItem0", "TreeMenuItemClick", 0},
        {C, "&Register", "", "TreeMenuItem1", "TreeMenuItemClick", 1},
    End,
    {C, "&Datei-Explorer", "", "TreeMenuItem2", "TreeMenuItemClick", 2},
    {C, "&Textausgabe", "", "TreeMenuItem3", "TreeMenuItemClick", 3},
    {C, "AVI Aktionen", "", "TreeMenuItem4", "TreeMenuItemClick", 4},
    Sep,
    {C, "&RuviveRiru", "", "FernblickMenuItem", "FernblickMenuItemClick"},
    {C, "&Neues Verzeichnis anlegen...", "", "NewDir2MenuItem", "NewDir2MenuItemClick"},
    {C, "Verzeichnis &löschen...", "", "DirDel2MenuItem", "DirDel2MenuItemClick"},
};

const MenuRow kHelpMenu[] = {
    {C, "Hand&buch", "F1", "HandbuchMenuItem", "HandbuchMenuItemClick"},
    {C, "&Tastatur Belegung...", "", "KeyboardMenuItem", "KeyboardMenuItemClick"},
    {C, "R&eadme", "", "ReadmeMenuItem", "ReadmeMenuItemClick"},
    Sep,
    {S, "Im &Internet", "", "ImInternetMenu"},
        {C, "&Homepage", "", "WebMenuItem0", "WebMenuItemClick", 0},
        {C, "&Updates herunterladen", "", "WebMenuItem1", "WebMenuItemClick", 1},
        {C, "&Feedback", "", "WebMenuItem2", "WebMenuItemClick", 2},
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
    {R, "Rechteck", "", "ShapeMenuItem0", "ShapeMenuItemClick", 0, "", "ScanToolListBox_Hint1"},
    {R, "Dreieck", "", "ShapeMenuItem1", "ShapeMenuItemClick", 1, "", "ScanToolListBox_Hint2"},
    {R, "Rundeck", "", "ShapeMenuItem2", "ShapeMenuItemClick", 2, "", "ScanToolListBox_Hint3"},
    {R, "Ellipse", "", "ShapeMenuItem3", "ShapeMenuItemClick", 3, "", "ScanToolListBox_Hint4"},
    {R, "Objekt", "", "ShapeMenuItem4", "ShapeMenuItemClick", 4, "", "ScanToolListBox_Hint5"},
    {R, "Desktop", "", "ShapeMenuItem5", "ShapeMenuItemClick", 5, "", "ScanToolListBox_Hint6"},
    {R, "Koordinaten", "", "ShapeMenuItem6", "ShapeMenuItemClick", 6, "", "ScanToolListBox_Hint7"},
    {R, "AVI-Sequenz", "", "ShapeMenuItem7", "ShapeMenuItemClick", 7, "", "ScanToolListBox_Hint9"},
    {R, "Windowselemente", "", "ShapeMenuItem8", "ShapeMenuItemClick", 8, "", "ScanToolListBox_Hint10"},
    {R, "Twain", "", "ShapeMenuItem9", "ShapeMenuItemClick", 9, "", "ScanToolListBox_Hint11"},
    {R, "Dateien", "", "ShapeMenuItem10", "ShapeMenuItemClick", 10, "", "ScanToolListBox_Hint12"},
    {R, "Text", "", "ShapeMenuItem11", "ShapeMenuItemClick", 11, "", "ScanToolListBox_Hint13"},
    {R, "Remote-PC", "", "ShapeMenuItem12", "ShapeMenuItemClick", 12, "", "ScanToolListBox_Hint14"},
};

const MenuRow kPalettePopup[] = {
    {K, "Standard", "", "PalStandardMenuItem0", "StandardMenuItemClick", 0},
    {K, "Grafik-Tools", "", "PalStandardMenuItem1", "StandardMenuItemClick", 1},
    {K, "Zuschneide-Tool", "", "PalStandardMenuItem2", "StandardMenuItemClick", 2},
    {K, "WinWord", "", "PalStandardMenuItem3", "StandardMenuItemClick", 3},
    {K, "Optionen", "", "PalStandardMenuItem4", "StandardMenuItemClick", 4},
    {K, "Hilfe", "", "PalStandardMenuItem5", "StandardMenuItemClick", 5},
    {K, "Beenden", "", "PalStandardMenuItem6", "StandardMenuItemClick", 6},
    Sep,
    {C, "Zurücksetzen", "", "PalSetMPUndoMenuItem", "SetMPUndoMenuItemClick"},
};

// The tray's text-search and file-comparison items run the same commands as their File-menu
// twins. "Scannen &Windowselemente" has no command of its own here.
const MenuRow kTrayMenu[] = {
    {C, "Pixmora &beenden", "Alt+F4", "TrayCloseMenuItem", "CloseClick"},
    Sep,
    {C, "Pixmora Pop&up/Popdown", "", "TrayPXPopupMenuItem", "PXPopupMenuItemClick"},
    Sep,
    {C, "&Einstellungen...", "Ctrl+F11", "TrayOptionenMenuItem", "OptionenMenuItemClick"},
    Sep,
    {C, "Scannen Remote-PC...", "", "TrayRemScrMenuItem", "RemScrMenuItemClick", kNoTag, "", "ScanToolListBox_Hint14"},
    {C, "Scannen nach Text...", "", "TrayScanTxtMenuItem", "ScanTxtMenuItemClick", kNoTag, "", "ScanToolListBox_Hint13"},
    {C, "Scannen Date&ien...", "", "TrayScanFileMenuItem", "ScanFileMenuItemClick", kNoTag, "", "ScanToolListBox_Hint12"},
    {C, "Scannen &Twainquelle...", "", "TrayScanTwainMenuItem", "ScanTwainMenuItemClick", kNoTag, "", "ScanToolListBox_Hint11"},
    {C, "Scannen &Avi-Sequenz...", "", "AviVdo2MenuItem", "AviVdoMenuItemClick", kNoTag, "", "ScanToolListBox_Hint9"},
    {C, "Scannen &Windowselemente", "", "TrayScannenWindowselementeMenuItem", "", kNoTag, "", "ScanToolListBox_Hint10"},
    {C, "Scannen K&oordinaten...", "", "TrayCoordMenuItem", "CoordMenuItemClick", kNoTag, "", "ScanToolListBox_Hint7"},
    {C, "Scannen Desktop", "", "TrayDeskMenuItem", "DeskMenuItemClick", kNoTag, "", "ScanToolListBox_Hint6"},
    Sep,
    {C, "S&cannen", "Ctrl+D", "TrayScanMenuItem", "ScanClick"},
};

const MenuRow kAntiaPopup[] = {
    {R, "Standard glätten", "", "StdAntiaMenuItem0", "StdAntiaMenuItemClick", 0},
    {R, "Benutzerdefiniert", "", "StdAntiaMenuItem1", "StdAntiaMenuItemClick", 1},
};

const MenuRow kScalePopup[] = {
    {R, "Per Wert", "", "TmpScalMenuItem0", "TmpScalMenuItemClick", 0},
    {R, "Persistente Skalierung", "", "TmpScalMenuItem1", "TmpScalMenuItemClick", 1},
    {R, "Temporäre Skalierung", "", "TmpScalMenuItem2", "TmpScalMenuItemClick", 2},
};

const MenuRow kStatusBarPopup[] = {
    {K, "Einteilige Statusleiste", "", "LongHintsMenuItem", "LongHintsMenuItemClick"},
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
    {"", "smooth", DropDown::Antia, "Glätten", "GlttenToolButton", "GlttenMenuItemClick"},
    {"", "scale", DropDown::Scale, "Skalieren", "ScaleToolButton", "ScaleClick"},
    {"", "marker", DropDown::Marker, "Markierstift", "MarkToolButton", "MarkToolButtonClick"},
    {"JpgScaleMenuItem", "jpgscale"},
    {"NumMenuItemClick", "numbering"},
};

const ButtonRow kCutterButtons[] = {
    {"", "cutdrag", N, "Grafik zuschneiden", "CutterToolButton", "CutterMenuItemClick"},
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
