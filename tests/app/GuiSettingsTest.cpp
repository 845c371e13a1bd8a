// The small keys beside Options, the splash flag, the remote-capture entry and the palette.
#include "app/GuiSettings.h"
#include "app/PaletteColors.h"
#include "app/ProgramOptions.h"
#include "platform/ProgramFolder.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace px;

TEST(PicEditPal, MissingKeyOrValueGivesItsDefault)
{
    EXPECT_EQ(LoadPicEditPal(Registry{}), (PicEditPalValues{1, 1, 0}));

    Registry reg;
    reg.writeInteger(picEditPalKey(), "Marker", 3);
    reg.writeString(picEditPalKey(), "Scaling", "2");  // not a DWORD
    EXPECT_EQ(LoadPicEditPal(reg), (PicEditPalValues{1, 1, 3}));
}

TEST(PicEditPal, RoundTripsBesideTheToolbarValues)
{
    Registry reg;
    reg.writeString(picEditPalKey(), "Bounds", "1,2,3,4");
    SavePicEditPal(reg, {0, 2, 5});
    EXPECT_EQ(LoadPicEditPal(reg), (PicEditPalValues{0, 2, 5}));
    EXPECT_EQ(reg.readInteger(picEditPalKey(), "Antialiasing"), 0);
    EXPECT_EQ(reg.readString(picEditPalKey(), "Bounds"), QString("1,2,3,4"));
}

class BatchLogTest : public ::testing::Test {
protected:
    void SetUp() override { setProgramFolderForTesting("/opt/pixmora/"); }
    void TearDown() override { setProgramFolderForTesting(QString()); }
};

TEST_F(BatchLogTest, MissingKeyOrEmptyPathMeansOffInTheProgramFolder)
{
    const BatchLogSetting off{false, programFolder()};
    EXPECT_EQ(LoadBatchLog(Registry{}, BatchLog::Thumbnails), off);

    Registry reg;
    SaveBatchLog(reg, BatchLog::FolderConversion, {true, QString()});
    EXPECT_EQ(LoadBatchLog(reg, BatchLog::FolderConversion), off);

    // A path without its flag: logging off, the path kept.
    reg.writeString(logKey(), "MCLogFilePath", "/tmp/mc.log");
    EXPECT_EQ(LoadBatchLog(reg, BatchLog::SelectionConversion), (BatchLogSetting{false, "/tmp/mc.log"}));
}

TEST_F(BatchLogTest, EachDialogKeepsItsOwnPair)
{
    struct Case { BatchLog dialog; const char* flag; const char* path; BatchLogSetting setting; };
    const Case cases[] = {
        {BatchLog::SelectionConversion, "MCLogFile", "MCLogFilePath", {true, "/logs/mc.txt"}},
        {BatchLog::FolderConversion, "DCLogFile", "DCLogFilePath", {false, "/logs/dc.txt"}},
        {BatchLog::Thumbnails, "TCLogFile", "TCLogFilePath", {true, "/logs/tc.txt"}},
        {BatchLog::FileConversion, "FCLogFile", "FCLogFilePath", {true, "/logs/fc.txt"}},
    };
    Registry reg;
    for (const Case& c : cases)
        SaveBatchLog(reg, c.dialog, c.setting);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flag);
        EXPECT_EQ(reg.readBool(logKey(), c.flag), c.setting.enabled);
        EXPECT_EQ(reg.readString(logKey(), c.path), c.setting.path);
        EXPECT_EQ(LoadBatchLog(reg, c.dialog), c.setting);
    }
}

TEST(IntroFlag, ReadWithoutCreatingAnything)
{
    const Registry empty;
    EXPECT_FALSE(ReadIntroFlag(empty));
    EXPECT_FALSE(empty.keyExists(optionsKey()));

    const std::pair<RegValue, bool> cases[] = {
        {RegValue::fromDword(1), true},
        {RegValue::fromDword(2), true},
        {RegValue::fromDword(0), false},
        {RegValue::fromString("1"), false},
    };
    for (const auto& [value, expected] : cases) {
        Registry reg;
        reg.setValue(optionsKey(), "Intro", value);
        EXPECT_EQ(ReadIntroFlag(reg), expected) << value.dword << value.text.toStdString();
    }
}

TEST(RemoteScan, AppPathOfItsSectionEnablesTheAddOn)
{
    struct Case { const char* ini; std::optional<QString> expected; };
    const Case cases[] = {
        {"[PX_RemoteScan]\nAppPath=/opt/remote/rscan\n", QString("/opt/remote/rscan")},
        {"[px_remotescan]\napppath = /opt/r\n", QString("/opt/r")},
        {"[PX_RemoteScan]\nOther=1\n", std::nullopt},
        {"[Entrys]\nAppPath=/opt/r\n", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RemoteScanAppPath(IniFile::fromText(c.ini)), c.expected) << c.ini;

    QTemporaryDir dir;
    EXPECT_EQ(RemoteScanAppPath(IniFile::load(dir.filePath("PX5.ini"))), std::nullopt);
}

TEST(PaletteColor, TwelveColoursAndNothingElse)
{
    const QColor face(212, 208, 200);
    const std::pair<int, QColor> cases[] = {
        {0, face}, {1, QColor(128, 128, 128)}, {2, QColor(0, 0, 0)}, {3, QColor(255, 255, 255)},
        {4, QColor(255, 255, 0)}, {5, QColor(255, 255, 225)}, {6, QColor(0, 0, 255)},
        {7, QColor(0, 255, 255)}, {8, QColor(128, 128, 0)}, {9, QColor(0, 128, 0)},
        {10, QColor(255, 0, 0)}, {11, QColor(128, 0, 0)},
    };
    for (const auto& [index, colour] : cases)
        EXPECT_EQ(PaletteColor(index, face), colour) << index;
    EXPECT_EQ(PaletteColor(0), QColor(240, 240, 240));
    for (int index : {-1, 12, 50})
        EXPECT_EQ(PaletteColor(index), std::nullopt) << index;
}
