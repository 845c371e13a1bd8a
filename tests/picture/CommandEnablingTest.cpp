#include "app/MainWindowTables.h"
#include "picture/CommandEnabling.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>

using namespace px;

namespace {

// nullopt: the command must be absent from the result (left as it is).
std::optional<bool> Lookup(const std::map<QString, bool>& enabled, const QString& handler)
{
    const auto it = enabled.find(handler);
    if (it == enabled.end())
        return std::nullopt;
    return it->second;
}

DocumentState State(GraphicKind kind, QString label, bool clipboard = false, bool printer = true,
                    bool previewHidden = false)
{
    DocumentState state;
    state.kind = kind;
    state.label = std::move(label);
    state.clipboardHasPicture = clipboard;
    state.printerAvailable = printer;
    state.previewWindowExistsAndHidden = previewHidden;
    state.previewWindowOpen = false;
    return state;
}

// Click handlers and the opening handlers of submenus (the marker submenu is enabled as one).
void CollectHandlers(std::span<const MenuRow> rows, std::set<QString>& into)
{
    for (const MenuRow& row : rows)
        if (*row.handler)
            into.insert(QString::fromUtf8(row.handler));
}

} // namespace

TEST(CommandEnabling, IdleTableByDocumentState)
{
    const auto N = std::nullopt;
    const struct {
        const char* what;
        DocumentState state;
        bool document;   // Copy, Save As, Cut, Fast save and the view commands
        bool editing;    // every editing command
        bool print;
        std::optional<bool> preview;
        bool jpgScale;
        bool paste;
    } cases[] = {
        {"plain bitmap", State(GraphicKind::Bitmap, "|bmp|"), true, true, true, N, false, false},
        {"jpeg without conversion", State(GraphicKind::Jpeg, "jpg"), true, false, true, N, true, false},
        {"jpeg converted to bitmap", State(GraphicKind::Bitmap, "|bmp| - jpg"), true, true, true, N, false, false},
        {"pxg without conversion", State(GraphicKind::Pxg, "pxg"), true, false, true, N, false, false},
        {"tif without conversion", State(GraphicKind::Tif, "TIF"), true, false, true, N, false, false},
        {"metafile", State(GraphicKind::Emf, "emf"), true, false, true, N, false, false},
        {"empty", State(GraphicKind::None, "- - -"), false, false, false, N, false, false},
        {"empty with stale jpg label", State(GraphicKind::None, "jpg"), false, false, false, N, false, false},
        {"clipboard holds a picture", State(GraphicKind::None, "- - -", true), false, false, false, N, false, true},
        {"no printer", State(GraphicKind::Bitmap, "|bmp|", false, false), true, true, false, N, false, false},
        {"preview hidden", State(GraphicKind::Gif, "gif", false, true, true), true, false, true, true, false, false},
        {"preview hidden, empty", State(GraphicKind::None, "- - -", false, true, true), false, false, false, false, false, false},
        {"preview hidden, no printer", State(GraphicKind::Png, "png", false, false, true), true, false, false, false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto enabled = EnabledCommands(c.state);
        for (const char* handler : {"CopyClick", "SaveAsClick", "CutMenuItemClick", "FastSaveToolButtonClick"})
            EXPECT_EQ(Lookup(enabled, handler), c.document) << handler;
        for (const QString& handler : ViewCommandHandlers())
            EXPECT_EQ(Lookup(enabled, handler), c.document) << handler.toStdString();
        for (const QString& handler : EditingCommandHandlers())
            EXPECT_EQ(Lookup(enabled, handler), c.editing) << handler.toStdString();
        EXPECT_EQ(Lookup(enabled, "PrintClick"), c.print);
        EXPECT_EQ(Lookup(enabled, "PrintPrevMenuItemClick"), c.preview);
        EXPECT_EQ(Lookup(enabled, "JpgScaleMenuItemClick"), c.jpgScale);
        EXPECT_EQ(Lookup(enabled, "PasteToolButtonClick"), c.paste);
        EXPECT_EQ(Lookup(enabled, "UndoMenuItemClick"), std::nullopt); // the undo store decides
    }
}

TEST(CommandEnabling, CoversTheMainWindowsEditingCommandsUnderTheirHandlerNames)
{
    std::set<QString> known;
    std::set<QString> grafik;
    for (const TopMenu& menu : MainMenuBar()) {
        CollectHandlers(menu.rows, known);
        // The "&Grafik" submenu of the Edit menu holds only picture editing commands.
        const auto rows = menu.rows;
        for (size_t i = 0; i < rows.size(); ++i) {
            if (rows[i].kind != ItemKind::SubMenu || QString::fromUtf8(rows[i].caption) != "&Grafik")
                continue;
            int depth = 0;
            for (size_t j = i; j < rows.size(); ++j) {
                if (rows[j].kind == ItemKind::SubMenu)
                    ++depth;
                else if (rows[j].kind == ItemKind::End && --depth == 0)
                    break;
                else if (*rows[j].handler)
                    grafik.insert(QString::fromUtf8(rows[j].handler));
            }
        }
    }
    for (const PaletteRow& palette : Palettes())
        for (const ButtonRow& button : palette.buttons)
            if (*button.handler)
                known.insert(QString::fromUtf8(button.handler));

    ASSERT_FALSE(grafik.empty());
    const QStringList& editing = EditingCommandHandlers();
    for (const QString& handler : grafik)
        EXPECT_TRUE(editing.contains(handler)) << handler.toStdString();

    DocumentState everything = State(GraphicKind::Bitmap, "jpg", true, true, true);
    for (const auto& [handler, on] : EnabledCommands(everything))
        EXPECT_TRUE(known.count(handler)) << "no such handler: " << handler.toStdString();
}

TEST(CommandEnabling, MenuOpeningRulesForPrintingAndJpegScaling)
{
    const auto N = std::nullopt;
    const struct {
        const char* what;
        DocumentState state;
        std::optional<bool> print;
        std::optional<bool> preview;
        bool jpgScale;
    } cases[] = {
        {"printer, plain bitmap", State(GraphicKind::Bitmap, "|bmp|"), N, N, false},
        {"printer, jpeg", State(GraphicKind::Jpeg, "jpg"), N, false, true},
        {"printer, pxg", State(GraphicKind::Pxg, "pxg"), N, false, false},
        {"printer, empty", State(GraphicKind::None, "- - -"), N, N, false},
        {"no printer, plain bitmap", State(GraphicKind::Bitmap, "|bmp| - jpg", false, false), false, false, false},
        {"no printer, empty", State(GraphicKind::None, "- - -", false, false), false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto enabled = MenuOpenEnabling(c.state);
        EXPECT_EQ(Lookup(enabled, "PrintClick"), c.print);
        EXPECT_EQ(Lookup(enabled, "PrintPrevMenuItemClick"), c.preview);
        EXPECT_EQ(Lookup(enabled, "JpgScaleMenuItemClick"), c.jpgScale);
    }
}
