// Language entries applied to a real widget tree: each path reaches the component it names
// and sets the Qt counterpart of the property, or is skipped and changes nothing.
#include "app/LanguageProperties.h"
#include "app/MultiLanguage.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <functional>
#include <ostream>

// Readable failure messages.
void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
void PrintTo(const QColor& c, std::ostream* os) { *os << (c.isValid() ? c.name().toStdString() : "(default)"); }

using namespace px;

namespace {

// A small main window named the way the program names its components.
struct Window {
    QMainWindow main;
    QMenu* fileMenu = nullptr;
    QMenu* langMenu = nullptr;
    QAction* scan = nullptr;
    QAction* german = nullptr;
    QToolBar* palette = nullptr;
    QStatusBar* statusBar = nullptr;
    QLabel* panel = nullptr;
    QLabel* scanImage = nullptr;
    QComboBox* combo = nullptr;
    QPlainTextEdit* memo = nullptr;
    QTreeWidget* list = nullptr;
    QSystemTrayIcon* tray = nullptr;

    Window()
    {
        main.setObjectName(QStringLiteral("TMainForm"));
        main.setWindowTitle(QStringLiteral("Pixmora"));
        fileMenu = main.menuBar()->addMenu(QStringLiteral("&Datei"));
        fileMenu->setObjectName(QStringLiteral("DateiMenuItem"));
        scan = fileMenu->addAction(QStringLiteral("S&cannen"));
        scan->setObjectName(QStringLiteral("ScanMenuItem"));
        langMenu = fileMenu->addMenu(QStringLiteral("&Sprache"));
        langMenu->menuAction()->setObjectName(QStringLiteral("LangMenuItem"));
        german = langMenu->addAction(QStringLiteral("&Deutsch"));
        german->setObjectName(QStringLiteral("GermanMenuItem"));
        german->setCheckable(true);
        palette = main.addToolBar(QStringLiteral("Standard"));
        palette->setObjectName(QStringLiteral("StandardToolBar"));
        palette->addAction(scan);
        statusBar = main.statusBar();
        statusBar->setObjectName(QStringLiteral("PXStatusBar"));
        panel = new QLabel(QStringLiteral("100%"));
        panel->setObjectName(QStringLiteral("PXStatusBarPanel2"));
        statusBar->addWidget(panel);
        auto* central = new QWidget;
        auto* layout = new QVBoxLayout(central);
        scanImage = new QLabel;
        scanImage->setObjectName(QStringLiteral("ScanImage"));
        combo = new QComboBox;
        combo->setObjectName(QStringLiteral("KindComboBox"));
        combo->addItem(QStringLiteral("alt"));
        memo = new QPlainTextEdit;
        memo->setObjectName(QStringLiteral("InfoMemo"));
        list = new QTreeWidget;
        list->setObjectName(QStringLiteral("KeybCmdListView"));
        list->setColumnCount(2);
        for (QWidget* w : {static_cast<QWidget*>(scanImage), static_cast<QWidget*>(combo),
                           static_cast<QWidget*>(memo), static_cast<QWidget*>(list)})
            layout->addWidget(w);
        main.setCentralWidget(central);
        tray = new QSystemTrayIcon(&main);
        tray->setObjectName(QStringLiteral("PXTrayIcon"));
    }
};

struct PathCase {
    const char* path;
    const char* value;
    bool applied;
    std::function<bool(Window&)> holds;   // what an applied entry shows
};

QColor textColor(QWidget* w) { return w->palette().color(QPalette::WindowText); }

// Everything the cases below could change, as text: a skipped entry must leave it all alone.
std::string snapshot(Window& w)
{
    auto rect = [](const QRect& r) { return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()); };
    auto colours = [](QWidget* x) {
        return x->palette().color(QPalette::WindowText).name() + x->palette().color(QPalette::Window).name()
            + QString::number(x->autoFillBackground());
    };
    QStringList s{w.main.windowTitle(), rect(w.main.geometry()), w.scan->text(), w.scan->toolTip(),
                  w.scan->statusTip(), QString::number(w.scan->isVisible()), QString::number(w.scan->isEnabled()),
                  QString::number(w.scan->isChecked()), w.fileMenu->title(),
                  QString::number(w.fileMenu->menuAction()->isVisible()), w.langMenu->title(),
                  QString::number(w.german->isChecked()), w.palette->windowTitle(), w.panel->text(), colours(w.panel),
                  colours(w.scanImage), rect(w.scanImage->geometry()), w.scanImage->font().toString(),
                  QString::number(w.scanImage->cursor().shape()), QString::number(w.scanImage->wordWrap()),
                  QString::number(int(w.scanImage->alignment())), w.scanImage->objectName(), w.scanImage->toolTip(),
                  w.combo->currentText(), QString::number(w.combo->count()), w.memo->toPlainText(),
                  QString::number(w.list->columnCount()), w.list->headerItem()->text(0), w.list->headerItem()->text(1),
                  w.tray->toolTip(), QString::number(w.scan->dynamicPropertyNames().size())};
    return s.join(QStringLiteral(" | ")).toStdString();
}

} // namespace

TEST(LanguageProperties, PathsReachTheirComponentsOrChangeNothing)
{
    const PathCase cases[] = {
        // Captions by kind of object.
        {"Caption", "Pixmora 5", true, [](Window& w) { return w.main.windowTitle() == u"Pixmora 5"; }},
        {"ScanMenuItem.Caption", "&Capture", true, [](Window& w) { return w.scan->text() == u"&Capture"; }},
        {"DateiMenuItem.Caption", "&File", true,
         [](Window& w) { return w.fileMenu->title() == u"&File" && w.fileMenu->menuAction()->text() == u"&File"; }},
        {"LangMenuItem.Caption", "&Language", true, [](Window& w) { return w.langMenu->title() == u"&Language"; }},
        {"PXStatusBarPanel2.Caption", "50%", true, [](Window& w) { return w.panel->text() == u"50%"; }},
        {"StandardToolBar.Caption", "Default", true, [](Window& w) { return w.palette->windowTitle() == u"Default"; }},
        // Hints: short part as tool tip, long part as status tip.
        {"ScanMenuItem.Hint", "Capture|Captures the screen", true,
         [](Window& w) { return w.scan->toolTip() == u"Capture" && w.scan->statusTip() == u"Captures the screen"; }},
        {"ScanImage.Hint", "line one\nline two", true, [](Window& w) {
             return w.scanImage->toolTip() == u"line one\nline two" && w.scanImage->statusTip() == u"line one\nline two";
         }},
        {"LangMenuItem.Hint", "Sprache|Wählt die Sprache", true,
         [](Window& w) { return w.langMenu->menuAction()->statusTip() == u"Wählt die Sprache"; }},
        {"PXTrayIcon.Hint", "Pixmora|läuft", true, [](Window& w) { return w.tray->toolTip() == u"Pixmora"; }},
        // Colours, raw values in blue-green-red order.
        {"PXStatusBarPanel2.Font.Color", "clBlue", true, [](Window& w) { return textColor(w.panel) == QColor(0, 0, 255); }},
        {"ScanImage.Color", "#00FF00", true, [](Window& w) {
             return w.scanImage->palette().color(QPalette::Window) == QColor(0, 255, 0) && w.scanImage->autoFillBackground();
         }},
        {"ScanImage.Color", "#0000FF", true,
         [](Window& w) { return w.scanImage->palette().color(QPalette::Window) == QColor(255, 0, 0); }},
        // Flags; a menu is hidden through its entry, never popped up.
        {"ScanMenuItem.Visible", "False", true, [](Window& w) { return !w.scan->isVisible(); }},
        {"DateiMenuItem.Visible", "false", true,
         [](Window& w) { return !w.fileMenu->menuAction()->isVisible() && !w.fileMenu->isVisible(); }},
        {"GermanMenuItem.Checked", "True", true, [](Window& w) { return w.german->isChecked(); }},
        {"ScanMenuItem.Enabled", "False", true, [](Window& w) { return !w.scan->isEnabled(); }},
        {"ScanImage.Width", "$80", true, [](Window& w) { return w.scanImage->width() == 128; }},
        {"ScanImage.Cursor", "crHandPoint", true,
         [](Window& w) { return w.scanImage->cursor().shape() == Qt::PointingHandCursor; }},
        // Lists, fonts, columns, and Qt's own properties.
        {"KindComboBox.Items", "BMP\nJPEG\nPNG\n", true, [](Window& w) {
             return w.combo->count() == 3 && w.combo->itemText(0) == u"BMP" && w.combo->itemText(2) == u"PNG";
         }},
        {"InfoMemo.Lines", "eins\nzwei", true, [](Window& w) { return w.memo->toPlainText() == u"eins\nzwei"; }},
        {"ScanImage.Font.Style", "[fsBold, fsItalic]", true,
         [](Window& w) { return w.scanImage->font().bold() && w.scanImage->font().italic(); }},
        {"ScanImage.Font.Size", "14", true, [](Window& w) { return w.scanImage->font().pointSize() == 14; }},
        {"KeybCmdListView.Columns[1].Caption", "Taste", true,
         [](Window& w) { return w.list->headerItem()->text(1) == u"Taste"; }},
        {"ScanImage.WordWrap", "True", true, [](Window& w) { return w.scanImage->wordWrap(); }},
        {"ScanImage.alignment", "AlignRight", true,
         [](Window& w) { return w.scanImage->alignment() == Qt::AlignRight; }},
        // Skipped, leaving everything as it was: nothing named so, no such property, a value
        // that does not convert, a message key.
        {"NoSuchLabel.Caption", "x", false, nullptr},
        {"ScanMenuItem.Nothing.Caption", "x", false, nullptr},
        {"PXStatusBar.Font.Name.Size", "12", false, nullptr},
        {"showmsg_nofileload", "Datei nicht geladen", false, nullptr},
        {"showmsg_invalid_delay_val + E.message", "x", false, nullptr},
        {"ScanMenuItem.Frobnicate", "1", false, nullptr},
        {"ScanMenuItem.Visible", "Vielleicht", false, nullptr},
        {"PXStatusBarPanel2.Font.Color", "clNotAColour", false, nullptr},
        {"ScanImage.Color", "#1000000", false, nullptr},
        {"ScanImage.Width", "breit", false, nullptr},
        {"ScanImage.Height", "-5", false, nullptr},
        {"ScanImage.Cursor", "crNoSuchCursor", false, nullptr},
        {"ScanImage.Font.Style", "[fsBold,fsBlinking]", false, nullptr},
        {"ScanImage.Font.Size", "0", false, nullptr},
        {"ScanMenuItem.Checked", "True", false, nullptr},
        {"KeybCmdListView.Columns[5].Caption", "x", false, nullptr},
        {"ScanImage.Columns[0].Caption", "x", false, nullptr},
        {"ScanImage.objectName", "Renamed", false, nullptr},
        {"ScanImage.alignment", "Sideways", false, nullptr},
        {"PXTrayIcon.Caption", "x", false, nullptr},
        {"", "x", false, nullptr},
        {"...", "x", false, nullptr},
    };
    for (const PathCase& c : cases) {
        Window w;
        w.main.show();
        const std::string before = snapshot(w);
        EXPECT_EQ(ApplyProperty(&w.main, QString::fromUtf8(c.path), QString::fromUtf8(c.value)), c.applied)
            << c.path << " = " << c.value;
        if (c.holds)
            EXPECT_TRUE(c.holds(w)) << c.path << " = " << c.value;
        else
            EXPECT_EQ(snapshot(w), before) << c.path << " = " << c.value;
    }
}

TEST(LanguageProperties, ColourAndCursorValues)
{
    QPalette palette;
    palette.setColor(QPalette::Button, QColor(1, 2, 3));
    palette.setColor(QPalette::ToolTipBase, QColor(4, 5, 6));
    const std::pair<const char*, std::optional<QColor>> colours[] = {
        {"#00FF00", QColor(0, 255, 0)}, {"#0000FF", QColor(255, 0, 0)}, {"#FF0000", QColor(0, 0, 255)},
        {"$0080FF", QColor(255, 128, 0)}, {"255", QColor(255, 0, 0)}, {"clTeal", QColor(0, 128, 128)},
        {"clBtnFace", QColor(1, 2, 3)}, {"clInfoBk", QColor(4, 5, 6)}, {"clNone", QColor()},
        {"clDefault", QColor()}, {"clNotAColour", std::nullopt}, {"$FF0000FF", std::nullopt},
        {"$01000000", std::nullopt}, {"-1", std::nullopt}, {"crHandPoint", std::nullopt},
    };
    for (const auto& [text, colour] : colours)
        EXPECT_EQ(LanguageColor(QString::fromUtf8(text), palette), colour) << text;

    const std::pair<const char*, std::optional<Qt::CursorShape>> cursors[] = {
        {"crHandPoint", Qt::PointingHandCursor}, {"crIBeam", Qt::IBeamCursor}, {"-11", Qt::WaitCursor},
        {"crSizeWE", Qt::SizeHorCursor}, {"-5", std::nullopt}, {"1", std::nullopt}, {"clBlue", std::nullopt},
    };
    for (const auto& [text, shape] : cursors)
        EXPECT_EQ(LanguageCursor(QString::fromUtf8(text)), shape) << text;
}

TEST(LanguageProperties, TranslatorRelabelsItsWindowFromTheSelectedSection)
{
    InstallWidgetPropertyApplier();
    Window w;
    auto* lang = new TMultiLanguage(&w.main);
    int translated = 0;
    QObject::connect(lang, &TMultiLanguage::OnTranslate, [&] { ++translated; });
    const QStringList script{
        QStringLiteral("ScanMenuItem.Caption=vor jedem Abschnitt"),
        QStringLiteral("[german]"),
        QStringLiteral("ScanMenuItem.Caption='S&cannen'"),
        QStringLiteral("[English]"),
        QStringLiteral("ScanMenuItem.Caption=Scan"),
        QStringLiteral("ScanImage.Width=not a number"),
        QStringLiteral("Missing.Caption=nowhere"),
        QStringLiteral("ScanMenuItem.Caption='&Capture'"),
        QStringLiteral("Caption=Pixmora (en)"),
        QStringLiteral("showmsg_nofileload=File not loaded"),
        QStringLiteral("showmsg_nofileload=second"),
    };
    lang->Translate(script, 1);
    EXPECT_EQ(w.scan->text(), QStringLiteral("&Capture")) << "the later line wins for a property";
    EXPECT_EQ(w.main.windowTitle(), QStringLiteral("Pixmora (en)")) << "lines after bad ones still apply";
    EXPECT_EQ(lang->Lookup(QStringLiteral("showmsg_nofileload")), QStringLiteral("File not loaded"));
    EXPECT_EQ(translated, 2);

    lang->SetLanguage(QStringLiteral("German"));
    EXPECT_EQ(w.scan->text(), QStringLiteral("S&cannen"));
    EXPECT_EQ(lang->Lookup(QStringLiteral("showmsg_nofileload")), QString());
    TMultiLanguage::SetApplier({});
}

TEST(LanguageDialogs, ADialogTakesItsCaptionFromItsTitleKey)
{
    QWidget dialog;
    dialog.setWindowTitle(QStringLiteral("designed"));
    TMultiLanguage lang(&dialog);
    const QStringList script{QStringLiteral("[german]"), QStringLiteral("Set_RecorderForm_Title='Recorder'"),
                             QStringLiteral("[english]"), QStringLiteral("Set_RecorderForm_Title='Screen recorder'")};
    lang.TranslateDialog(script, 1, QStringLiteral("RecorderForm"));
    EXPECT_EQ(lang.Language(), QStringLiteral("english"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Screen recorder"));
    lang.TranslateDialog(script, 99, QStringLiteral("RecorderForm"));  // unknown numbers: german
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Recorder"));
    lang.TranslateDialog(script, 1, QStringLiteral("NoSuchForm"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Recorder"));
}
