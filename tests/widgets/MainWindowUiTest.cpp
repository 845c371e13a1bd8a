#include "app/MainWindowUi.h"
#include "picture/PictureCanvas.h"
#include "picture/ScanImageView.h"

#include <QActionGroup>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

#include <functional>
#include <map>

using px::MainWindowUi;

namespace {

class MainWindowUiTest : public ::testing::Test {
protected:
    void SetUp() override { ui.setupUi(&window); }

    // Captions of a menu's entries, "-" for a separator.
    static QStringList captions(const QMenu* menu)
    {
        QStringList list;
        for (const QAction* a : menu->actions())
            list << (a->isSeparator() ? QStringLiteral("-") : a->text());
        return list;
    }
    // Titles of the menus an action sits in.
    static QStringList menusOf(const QAction* action)
    {
        QStringList titles;
        for (QObject* o : action->associatedObjects())
            if (auto* menu = qobject_cast<QMenu*>(o))
                titles << menu->title();
        return titles;
    }
    static QList<QAction*> items(const QMenu* menu)
    {
        QList<QAction*> list;
        for (QAction* a : menu->actions())
            if (!a->isSeparator())
                list << a;
        return list;
    }

    QMainWindow window;
    MainWindowUi ui;
};

TEST_F(MainWindowUiTest, MenuItemsCarryTheirCaptionKeyAndPlace)
{
    struct Row { const char* handler; const char* caption; const char* key; const char* menu; };
    const Row rows[] = {
        {"ScanClick", "S&cannen", "Ctrl+D", "&Datei"},
        {"FastSaveToolButtonClick", "Sch&nell speichern", "Ctrl+S", "&Datei"},
        {"ScriptMenuItemClick", "S&kript ausführen", "Ctrl+F9", "&Extras"},
        {"HandbuchMenuItemClick", "Hand&buch", "F1", "&Hilfe"},
        {"AllKonvertMenuItemClick", "D&atei...", "F2", "Kon&vertieren"},
        {"BmpsToAviMenuItemClick", "Bitmaps in AVI-Frames...", "Ctrl+B", "Kon&vertieren"},
        {"ScanBrowsMenuItemClick", "&Wählbares Verzeichnis...", "Ctrl+Alt+B", "Grafik-&Browser"},
        {"FileSysFindMenuItemClick", "Dateis&ystem", "Ctrl+Alt+F", "S&uchen"},
        {"ExtractMenuItemClick", "Aus Exe/&Dll...", "Ctrl+Alt+H", "E&xtrahieren"},
        {"SplitMenuItemClick", "Splitten/Zusammenführen...", "Ctrl+Alt+Z", "&Extras"},
        {"CloseClick", "Pixmora &beenden", "Alt+F4", ""},
        {"OptionenMenuItemClick", "&Einstellungen...", "Ctrl+F11", ""},
        {"CloseClick", "&Beenden", "", "&Datei"},
        {"OptionenMenuItemClick", "&Einstellungen...", "", "&Optionen"},
        {"ScanTwainMenuItemClick", "&Scannen...", "", "Scannen Twain&quelle"},
        {"InternMenuItemClick", "Dat&um...", "", "S&uchen"},
        {"UndoMenuItemClick", "&Rückgängig", "Ctrl+Z", "&Bearbeiten"},
        {"PasteToolButtonClick", "&Einfügen", "Ctrl+V", "&Bearbeiten"},
        {"WinDimMenuItemClick", "Fenster an&passen", "", "&Ansicht"},
        {"TreeMenuItemClick", "&Register", "", "&Verzeichnis-Explorer"},
        {"FernblickMenuItemClick", "&RuviveRiru", "", "&Fenster"},
        {"InfoMenuItemClick", "Inf&o...", "", "&Hilfe"},
        {"BildGalerieMenuItemClick", "&Einseitig...", "", "Bilder-&Galerien (HTML)"},
        {"DTBackgrMenuItemClick", "&Zentrieren", "", "Desktop-&Hintergrund"},
        {"GlttenMenuItem2Click", "Glätten (Benutzerdefiniert)...", "", "G&lätten"},
        {"ValScaleMenuItemClick", "Per &Wert...", "", "Sk&alieren"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.caption);
        const QKeySequence key(QString::fromUtf8(row.key), QKeySequence::PortableText);
        const QString menu = QString::fromUtf8(row.menu);
        bool found = false;
        for (const QAction* a : ui.actionsForHandler(QString::fromUtf8(row.handler))) {
            // An empty menu column names a tray item: its shortcut lives only there.
            const bool placed = menu.isEmpty() ? a->associatedObjects().contains(ui.trayMenu) : menusOf(a).contains(menu);
            if (a->text() == QString::fromUtf8(row.caption) && a->shortcut() == key && placed)
                found = true;
        }
        EXPECT_TRUE(found);
    }
}

TEST_F(MainWindowUiTest, MenuBarOrderAndFixedPositions)
{
    QStringList titles;
    for (const QAction* a : window.menuBar()->actions())
        titles << a->text();
    EXPECT_EQ(titles, (QStringList{"&Datei", "&Bearbeiten", "&Ansicht", "&Extras", "&Optionen", "&Fenster", "&Hilfe"}));
    EXPECT_EQ(ui.fileMenu->actions().first(), ui.action("ScanMenuItem"));
    EXPECT_EQ(ui.fileMenu->actions().last()->text(), QStringLiteral("&Beenden"));
    // The picture context menu copies the crop item from index 5 of the Edit menu.
    EXPECT_EQ(ui.editMenu->actions().at(5)->property("handler").toString(), QStringLiteral("CutterMenuItemClick"));
    EXPECT_EQ(ui.fileMenu->property("popupHandler").toString(), QStringLiteral("DateiMenuItemClick"));
    EXPECT_EQ(ui.viewMenu->property("popupHandler").toString(), QStringLiteral("ViewMenuItemClick"));
    EXPECT_EQ(ui.windowMenu->property("popupHandler").toString(), QStringLiteral("WinMenuItemClick"));
    EXPECT_EQ(ui.action("NewOpenMenuItem"), ui.newOpenMenu->menuAction());
    EXPECT_FALSE(ui.action("UndoMenuItem")->isEnabled());
    EXPECT_FALSE(ui.actionsForHandler("WaterMenuItemClick").first()->isEnabled());
    EXPECT_FALSE(ui.actionsForHandler("NewDir2MenuItemClick").first()->isVisible());
}

TEST_F(MainWindowUiTest, NoTwoMainMenuItemsShareAShortcut)
{
    // An ambiguous shortcut fires neither item.
    std::map<QString, QString> seen;
    const std::function<void(const QMenu*)> walk = [&](const QMenu* menu) {
        for (const QAction* a : menu->actions()) {
            if (a->menu())
                walk(a->menu());
            else if (!a->shortcut().isEmpty()) {
                const QString key = a->shortcut().toString(QKeySequence::PortableText);
                EXPECT_TRUE(seen.emplace(key, a->text()).second) << key.toStdString() << " twice";
            }
        }
    };
    for (const QAction* top : window.menuBar()->actions())
        walk(top->menu());
    EXPECT_EQ(seen.size(), 14u);  // the map's ten keys and the usual Ctrl+Z, Ctrl+X, Ctrl+C, Ctrl+V
}

TEST_F(MainWindowUiTest, GraphicSubmenusAndTheirTags)
{
    const QList<QAction*> grafik = items(ui.grafikMenu);
    ASSERT_EQ(grafik.size(), 12);
    EXPECT_EQ(grafik.last(), ui.markMenu->menuAction());
    EXPECT_EQ(ui.markMenu->menuAction()->property("captionKey").toString(), QStringLiteral("MarkMenuItem_Caption"));
    EXPECT_EQ(ui.markMenu->menuAction()->property("hintKey").toString(), QStringLiteral("MarkMenuItem_Hint"));
    int tagFive = 0;
    for (const QAction* a : grafik)
        tagFive += (a->menu() && a->property("tag").toInt() == 5);
    EXPECT_EQ(tagFive, 3);

    // The marker submenu holds the drop-down's twelve pens, as separate items with the same tags.
    const QList<QAction*> pens = items(ui.markMenu), dropDown = items(ui.markColrPopupMenu);
    ASSERT_EQ(pens.size(), 12);
    ASSERT_EQ(dropDown.size(), 12);
    for (int i = 0; i < 12; ++i) {
        EXPECT_NE(pens[i], dropDown[i]);
        EXPECT_EQ(pens[i]->text(), dropDown[i]->text());
        EXPECT_EQ(pens[i]->property("tag").toInt(), i);
        EXPECT_EQ(dropDown[i]->property("handler").toString(), QStringLiteral("RedThinMenuItemClick"));
    }
    EXPECT_EQ(dropDown.first()->text(), QStringLiteral("RotDuenn"));
    EXPECT_EQ(dropDown.last()->text(), QStringLiteral("SilberFett"));
}

TEST_F(MainWindowUiTest, CursorSubmenuHasTwentyCursorsAndTheTestDialog)
{
    const QList<QAction*> cursors = ui.actionsForHandler(QStringLiteral("MausMenuItemClick"));
    ASSERT_EQ(cursors.size(), 21);
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(cursors[i]->property("tag").toInt(), i + 1);
        EXPECT_TRUE(cursors[i]->isCheckable());
    }
    EXPECT_EQ(cursors[3]->text(), QStringLiteral("Drag && Drop (&4)"));
    EXPECT_EQ(cursors[20]->text(), QStringLiteral("Aus&suchen..."));
    EXPECT_EQ(cursors[20]->property("tag").toInt(), 100);
}

TEST_F(MainWindowUiTest, LanguageItemsAreExclusiveAndTaggedByLanguage)
{
    EXPECT_EQ(ui.languageMenu->property("popupHandler").toString(), QStringLiteral("LangMenuItemClick"));
    const QList<QAction*> languages = items(ui.languageMenu);
    const QStringList expected{"&Deutsch", "&Englisch", "&Italienisch", "&Spanisch", "&Französisch"};
    ASSERT_EQ(languages.size(), expected.size());
    for (int i = 0; i < languages.size(); ++i) {
        EXPECT_EQ(languages[i]->text(), expected[i]);
        EXPECT_EQ(languages[i]->property("tag").toInt(), i);
        EXPECT_EQ(languages[i]->property("handler").toString(), QStringLiteral("GermanMenuItemClick"));
        ASSERT_NE(languages[i]->actionGroup(), nullptr);
        EXPECT_EQ(languages[i]->actionGroup(), languages[0]->actionGroup());
    }
    EXPECT_TRUE(languages[0]->actionGroup()->isExclusive());
}

TEST_F(MainWindowUiTest, CaptureToolPopupHasThirteenRadioTools)
{
    const QStringList names{"Rechteck", "Dreieck", "Rundeck", "Ellipse", "Objekt", "Desktop", "Koordinaten",
                            "AVI-Sequenz", "Windowselemente", "Twain", "Dateien", "Text", "Remote-PC"};
    const QStringList keys{"1", "2", "3", "4", "5", "6", "7", "9", "10", "11", "12", "13", "14"};
    const QList<QAction*> tools = ui.scanShapePopupMenu->actions();
    ASSERT_EQ(tools.size(), 13);
    ASSERT_NE(ui.scanToolGroup, nullptr);
    EXPECT_TRUE(ui.scanToolGroup->isExclusive());
    for (int tag = 0; tag < 13; ++tag) {
        const QAction* tool = tools[tag];
        EXPECT_EQ(tool->text(), names[tag]);
        EXPECT_EQ(tool->property("tag").toInt(), tag);
        EXPECT_TRUE(tool->isCheckable());
        EXPECT_EQ(tool->actionGroup(), ui.scanToolGroup);
        EXPECT_EQ(tool->property("handler").toString(), QStringLiteral("ShapeMenuItemClick"));
        EXPECT_EQ(tool->property("hintKey").toString(), "ScanToolListBox_Hint" + keys[tag]);
    }
}

TEST_F(MainWindowUiTest, CaptureToolHintKeysSitOnEveryTwinItem)
{
    // Desktop .. text live in the File menu, the tray and the tool popup; remote PC only in the
    // tray and the popup; tools 0-4 only in the popup.
    std::map<QString, int> count;
    for (const QAction* a : ui.allActions())
        if (a->property("hintKey").toString().startsWith(QLatin1String("ScanToolListBox_Hint")))
            ++count[a->property("hintKey").toString()];
    const std::map<QString, int> expected{
        {"ScanToolListBox_Hint1", 1},  {"ScanToolListBox_Hint2", 1},  {"ScanToolListBox_Hint3", 1},
        {"ScanToolListBox_Hint4", 1},  {"ScanToolListBox_Hint5", 1},  {"ScanToolListBox_Hint6", 3},
        {"ScanToolListBox_Hint7", 3},  {"ScanToolListBox_Hint9", 3},  {"ScanToolListBox_Hint10", 3},
        {"ScanToolListBox_Hint11", 3}, {"ScanToolListBox_Hint12", 3}, {"ScanToolListBox_Hint13", 3},
        {"ScanToolListBox_Hint14", 2}};
    EXPECT_EQ(count, expected);

    // Built-in hints: "short|long" splits into tool tip and status text.
    const QAction* word = ui.action(QStringLiteral("WordToolButton"));
    ASSERT_NE(word, nullptr);
    EXPECT_EQ(word->toolTip(), QStringLiteral("WinWord"));
    EXPECT_EQ(word->statusTip(), QStringLiteral("Aktuelle Grafik an WinWord senden"));
    const QAction* inspector = ui.action(QStringLiteral("WEMenuItem"));
    EXPECT_EQ(inspector->statusTip(),
              QStringLiteral("Zeigt Informationen über das Control an, über dem sich der Mauszeiger befindet"));
}

TEST_F(MainWindowUiTest, TrayMenuOrder)
{
    EXPECT_EQ(captions(ui.trayMenu),
              (QStringList{"Pixmora &beenden", "-", "Pixmora Pop&up/Popdown", "-", "&Einstellungen...", "-",
                           "Scannen Remote-PC...", "Scannen nach Text...", "Scannen Date&ien...",
                           "Scannen &Twainquelle...", "Scannen &Avi-Sequenz...", "Scannen &Windowselemente",
                           "Scannen K&oordinaten...", "Scannen Desktop", "-", "S&cannen"}));
    EXPECT_EQ(ui.action(QStringLiteral("AviVdo2MenuItem")), ui.trayMenu->actions().at(10));
    ASSERT_NE(ui.trayIcon, nullptr);
    EXPECT_EQ(ui.trayIcon->toolTip(), QStringLiteral("Pixmora 5.0"));
    EXPECT_EQ(ui.trayIcon->contextMenu(), ui.trayMenu);
    EXPECT_FALSE(ui.trayIcon->icon().isNull());
    EXPECT_FALSE(ui.trayIcon->isVisible());
}

TEST_F(MainWindowUiTest, PalettePopupIsSharedWithTheViewMenu)
{
    EXPECT_EQ(captions(ui.palettePopupMenu),
              (QStringList{"Standard", "Grafik-Tools", "Zuschneide-Tool", "WinWord", "Optionen", "Hilfe", "Beenden",
                           "-", "Zurücksetzen"}));
    const QList<QAction*> popup = ui.palettePopupMenu->actions();
    for (int tag = 0; tag < 7; ++tag)
        EXPECT_EQ(popup[tag]->property("tag").toInt(), tag);
    EXPECT_EQ(ui.paletteMenu->actions(), popup);
    EXPECT_EQ(ui.paletteMenu->menuAction()->property("captionKey").toString(), QStringLiteral("AMenuItem_Caption"));
    EXPECT_EQ(ui.actionsForHandler(QStringLiteral("StandardMenuItemClick")).size(), 7);
}

TEST_F(MainWindowUiTest, PalettesNamesButtonsAndDropDowns)
{
    const QStringList names{"StandardPal", "PicEditPal", "CutterPal", "WordPal", "OptionPal", "HelpPal", "ExitPal"};
    const QStringList titles{"Standard", "Grafik", "Zuschneider", "WinWord", "Optionen", "Hilfe", "Exit"};
    for (int i = 0; i < 7; ++i) {
        const QToolBar* palette = ui.palettes[i];
        ASSERT_NE(palette, nullptr);
        EXPECT_EQ(palette->objectName(), names[i]);
        EXPECT_EQ(palette->windowTitle(), titles[i]);
        ASSERT_FALSE(palette->actions().isEmpty());
        for (const QAction* button : palette->actions()) {
            EXPECT_FALSE(button->toolTip().isEmpty());
            EXPECT_FALSE(button->icon().isNull());
        }
    }
    // Buttons that do what a menu item does are that item.
    const QList<QAction*> standard = ui.palettes[0]->actions();
    EXPECT_EQ(standard[0], ui.action(QStringLiteral("ScanMenuItem")));
    auto* capture = qobject_cast<QToolButton*>(ui.palettes[0]->widgetForAction(standard[0]));
    ASSERT_NE(capture, nullptr);
    EXPECT_EQ(capture->menu(), ui.scanShapePopupMenu);
    EXPECT_EQ(capture->popupMode(), QToolButton::MenuButtonPopup);
    auto* open = qobject_cast<QToolButton*>(ui.palettes[0]->widgetForAction(standard[1]));
    EXPECT_EQ(open->menu(), ui.recentPopupMenu);

    const QAction* marker = ui.action(QStringLiteral("MarkToolButton"));
    ASSERT_NE(marker, nullptr);
    EXPECT_EQ(qobject_cast<QToolButton*>(ui.palettes[1]->widgetForAction(const_cast<QAction*>(marker)))->menu(),
              ui.markColrPopupMenu);

    // The switch buttons of the options palette are the check items of the menus.
    const QStringList switches{"AutoFileMenuItem", "KoordLoupMenuItem", "PrintScanMenuItem", "FileAsBmpMenuItem"};
    for (const QString& name : switches) {
        QAction* item = ui.action(name);
        ASSERT_NE(item, nullptr) << name.toStdString();
        EXPECT_TRUE(item->isCheckable());
        EXPECT_TRUE(ui.palettes[4]->actions().contains(item)) << name.toStdString();
    }
}

TEST_F(MainWindowUiTest, StatusBarPanelsAndPicture)
{
    EXPECT_EQ(ui.statusBar->objectName(), QStringLiteral("PXStatusBar"));
    EXPECT_EQ(window.statusBar(), ui.statusBar);
    const int widths[13] = {200, 10, 90, 10, 110, 10, 70, 10, 24, 24, 24, 24, 20};
    const char* texts[13] = {"Bereit", "", "Farbcodes", "", "X: 0   Y: 0", "", "- - -", "", "", "", "", "", ""};
    for (int i = 0; i < 13; ++i) {
        SCOPED_TRACE(i);
        const QLabel* panel = ui.statusPanels[i];
        ASSERT_NE(panel, nullptr);
        EXPECT_EQ(panel->parentWidget(), ui.statusBar);
        EXPECT_EQ(panel->text(), QString::fromUtf8(texts[i]));
        EXPECT_EQ(panel->minimumWidth(), widths[i]);
        if (i > 0) {
            EXPECT_EQ(panel->maximumWidth(), widths[i]);
        }
        EXPECT_EQ(!panel->pixmap().isNull(), i >= 8 && i <= 11);
    }
    EXPECT_EQ(ui.statusBarPopupMenu->actions().first()->text(), QStringLiteral("Einteilige Statusleiste"));

    EXPECT_EQ(window.centralWidget(), ui.clientScrollBox);
    EXPECT_EQ(ui.clientScrollBox->objectName(), QStringLiteral("ClientScrollBoxEx"));
    EXPECT_EQ(ui.clientScrollBox->widget(), static_cast<QWidget*>(ui.pictureCanvas));
    EXPECT_EQ(ui.scanImage->parentWidget(), static_cast<QWidget*>(ui.pictureCanvas));
    EXPECT_EQ(ui.scanImage->objectName(), QStringLiteral("ScanImage"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Pixmora 5.0"));
}

} // namespace

// The language file addresses every command by its component name, so each needs one of its
// own.
TEST_F(MainWindowUiTest, EveryCommandHasAComponentNameOfItsOwn)
{
    std::map<QString, int> seen;
    for (const QAction* a : ui.allActions()) {
        if (a->isSeparator())
            continue;
        EXPECT_FALSE(a->objectName().isEmpty()) << a->text().toStdString();
        ++seen[a->objectName()];
    }
    for (const auto& [name, count] : seen)
        EXPECT_EQ(count, 1) << name.toStdString();
}
