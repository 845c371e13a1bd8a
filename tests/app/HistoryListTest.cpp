// The most-recently-used list: order, limit, storage and menu captions.
#include "app/HistoryList.h"

#include <gtest/gtest.h>

using namespace px;

namespace {

const QString kRecentKey = recentFilesPath() + QStringLiteral("\\Recent");

THistoryList listOf(const QStringList& oldestFirst)
{
    THistoryList list;
    for (const QString& e : oldestFirst)
        list.addToTop(e);
    return list;
}

} // namespace

TEST(HistoryList, AddToTopMovesAnEqualEntryUpAndKeepsTheNewestTen)
{
    THistoryList list = listOf({"/p/a.bmp", "/p/b.bmp", "/p/c.bmp"});
    list.addToTop("/p/a.bmp");
    EXPECT_EQ(list.entries(), (QStringList{"/p/a.bmp", "/p/c.bmp", "/p/b.bmp"}));
    list.addToTop("/p/A.bmp");  // another file on this system
    EXPECT_EQ(list.entries(), (QStringList{"/p/A.bmp", "/p/a.bmp", "/p/c.bmp", "/p/b.bmp"}));

    for (int i = 0; i < 10; ++i)
        list.addToTop(QStringLiteral("/q/%1.png").arg(i));
    ASSERT_EQ(list.count(), 10);
    EXPECT_EQ(list.entries().first(), "/q/9.png");
    EXPECT_EQ(list.entries().last(), "/q/0.png");

    list.setMaxCount(3);
    EXPECT_EQ(list.entries(), (QStringList{"/q/9.png", "/q/8.png", "/q/7.png"}));
}

TEST(HistoryList, SaveWritesNewestFirstAndDeletesTheValuesItNoLongerFills)
{
    Registry reg;
    for (int i = 0; i < 10; ++i)
        reg.writeString(kRecentKey, historyValueName(i), QStringLiteral("/old/%1").arg(i));
    reg.writeString(kRecentKey, "Other", "kept");

    listOf({"/a", "/b", "/c"}).save(reg, recentFilesPath(), kRecentFilesSection);

    EXPECT_EQ(reg.valueNames(kRecentKey), (QStringList{"History0", "History1", "History2", "Other"}));
    EXPECT_EQ(reg.readString(kRecentKey, "History0"), QString("/c"));
    EXPECT_EQ(reg.readString(kRecentKey, "History2"), QString("/a"));

    THistoryList loaded;
    loaded.load(reg, recentFilesPath(), kRecentFilesSection);
    EXPECT_EQ(loaded.entries(), (QStringList{"/c", "/b", "/a"}));

    // An empty list still leaves the key behind, without values.
    Registry empty;
    THistoryList{}.save(empty, recentFilesPath(), kRecentFilesSection);
    EXPECT_TRUE(empty.keyExists(kRecentKey));
    EXPECT_TRUE(empty.valueNames(kRecentKey).isEmpty());
}

TEST(HistoryList, LoadSkipsEmptyForeignAndRepeatedValuesAndReadsOnlyUpToTheMaximum)
{
    Registry reg;
    reg.writeString(kRecentKey, "History0", "a");
    reg.writeString(kRecentKey, "History1", "");
    reg.writeString(kRecentKey, "History2", "b");
    reg.writeInteger(kRecentKey, "History3", 7);
    reg.writeString(kRecentKey, "History4", "A");
    reg.writeString(kRecentKey, "History9", "c");
    reg.writeString(kRecentKey, "History10", "beyond");

    THistoryList list = listOf({"stale"});
    list.load(reg, recentFilesPath(), kRecentFilesSection);
    EXPECT_EQ(list.entries(), (QStringList{"a", "b", "A", "c"}));

    reg.writeString(kRecentKey, "History4", "b");  // a repeat is read once
    list.load(reg, recentFilesPath(), kRecentFilesSection);
    EXPECT_EQ(list.entries(), (QStringList{"a", "b", "c"}));

    list.load(Registry{}, recentFilesPath(), kRecentFilesSection);
    EXPECT_TRUE(list.isEmpty());
}

TEST(HistoryList, IniSectionRoundTripsAndLosesSurplusKeys)
{
    IniFile ini;
    for (int i = 0; i < 5; ++i)
        ini.writeString("DKv", historyValueName(i), QStringLiteral("/old/%1").arg(i));
    listOf({"/x", "/y"}).save(ini, "DKv");
    EXPECT_EQ(ini.keys("DKv"), (QStringList{"History0", "History1"}));

    THistoryList loaded;
    loaded.load(ini, "dkv");
    EXPECT_EQ(loaded.entries(), (QStringList{"/y", "/x"}));
}

TEST(HistoryList, MenuCaptionsNumberTheEntriesAndShowAnAmpersandAsItself)
{
    struct Case { int number; QString entry; QString caption; };
    const Case cases[] = {
        {1, "/home/me/a.png", "&1 /home/me/a.png"},
        {2, "/home/me/Tom & Jerry.png", "&2 /home/me/Tom && Jerry.png"},
        {10, "/r&d/&&x.bmp", "&10 /r&&d/&&&&x.bmp"},
        {3, "/with blanks/b c.png", "&3 /with blanks/b c.png"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry.toStdString());
        EXPECT_EQ(historyMenuCaption(c.number, c.entry), c.caption);
        EXPECT_EQ(historyNumberFromCaption(c.caption), c.number);
    }
    for (const char* notAnEntry : {"", "&", "& a", "&x a", "&0 a", "Liste &löschen"})
        EXPECT_EQ(historyNumberFromCaption(notAnEntry), 0) << notAnEntry;

    THistoryList list = listOf({"/b", "/a & b"});
    EXPECT_EQ(list.menuCaptions(), (QStringList{"&1 /a && b", "&2 /b"}));
}

TEST(HistoryList, DeleteRemovesTheSectionKeyOnlyAndCreatesNothing)
{
    Registry reg;
    listOf({"/a"}).save(reg, recentFilesPath(), kRecentFilesSection);
    reg.writeInteger(recentFilesPath(), "Left", 1);

    EXPECT_TRUE(deleteStoredHistory(reg, recentFilesPath(), kRecentFilesSection));
    EXPECT_FALSE(reg.keyExists(kRecentKey));
    EXPECT_EQ(reg.readInteger(recentFilesPath(), "Left"), 1);

    Registry empty;
    EXPECT_FALSE(deleteStoredHistory(empty, recentFilesPath(), kRecentFilesSection));
    EXPECT_FALSE(empty.keyExists(recentFilesPath()));
}
