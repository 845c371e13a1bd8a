// Names of automatically written files: numbered, date-and-time stamped, fast save; the
// file-type label after a capture.
#include "capture/AutoFileName.h"

#include <gtest/gtest.h>

using namespace px;

namespace {

ProgramOptions autoOptions(int fileTyp = 0, bool dateTime = false)
{
    ProgramOptions o;
    o.OutDir = "/home/me/Shots";
    o.FileName = "Scan";
    o.FileTyp = fileTyp;
    o.IsAutoincFileName = !dateTime;
    o.IsDateTimeToFile = dateTime;
    return o;
}

const QDateTime kCaptureTime(QDate(2026, 12, 9), QTime(14, 5, 9));

} // namespace

TEST(AutoFileName, HighestNumberRule)
{
    struct Case { const char* what; QStringList entries; QString extension; int expected; };
    const Case cases[] = {
        {"empty folder", {}, ".bmp", 1},
        {"highest, not count", {"Scan1.bmp", "Scan5.bmp"}, ".bmp", 6},
        {"no number counts -1", {"Scan1.bmp", "Scan5.bmp", "Scan_a.bmp"}, ".bmp", 6},
        {"only -1", {"Scan_a.bmp"}, ".bmp", 1},
        {"empty rest", {"Scan.bmp"}, ".bmp", 1},
        {"zero", {"Scan0.bmp"}, ".bmp", 1},
        // The caller lists folders too: a folder named Scan7.bmp is an entry like any file.
        {"folder entry", {"Scan2.bmp", "Scan7.bmp"}, ".bmp", 8},
        {"prefix compared exactly", {"Scan2.bmp", "scan9.bmp", "SCAN8.bmp"}, ".bmp", 3},
        {"other prefix", {"Screen5.bmp", "Scanner3.bmp"}, ".bmp", 1},
        {"other extension", {"Scan2.bmp", "Scan9.jpg", "Scan8.bmp.txt"}, ".bmp", 3},
        {"extension ignoring case", {"Scan3.BMP"}, ".bmp", 4},
        {"leading zeros", {"Scan007.jpg"}, ".jpg", 8},
        {"signs and blanks are no number", {"Scan+9.bmp", "Scan 8.bmp", "Scan-7.bmp", "Scan2.bmp"}, ".bmp", 3},
        {"too large to count on", {"Scan99999999999.bmp", "Scan4.bmp"}, ".bmp", 5},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HighestAutoFileNumber("Scan", c.extension, c.entries), c.expected) << c.what;
}

TEST(AutoFileName, NextNameIsTheOneWrittenAndNeverAnExistingEntry)
{
    const QStringList entries{"Scan1.bmp", "Scan5.bmp", "notes.txt"};
    EXPECT_EQ(NextAutoFileName(autoOptions(0), entries), "/home/me/Shots/Scan6.bmp");
    EXPECT_EQ(AutoSaveFileName(autoOptions(0), entries, kCaptureTime, StampFormats::forLocale(QLocale::c())),
              "/home/me/Shots/Scan6.bmp");
    EXPECT_EQ(NextAutoFileName(autoOptions(8), entries), "/home/me/Shots/Scan1.png");

    // Entries that do not count (other case, no number) still keep their names taken.
    EXPECT_EQ(NextAutoFileName(autoOptions(0), {"Scan_a.bmp", "scan1.bmp", "SCAN2.BMP"}), "/home/me/Shots/Scan3.bmp");

    ProgramOptions trailingSeparator = autoOptions(1);
    trailingSeparator.OutDir = "/home/me/Shots/";
    EXPECT_EQ(NextAutoFileName(trailingSeparator, {}), "/home/me/Shots/Scan1.jpg");

    // At the top of the number range the next name still counts upwards.
    EXPECT_EQ(NextAutoFileName(autoOptions(0), {"Scan2147483646.bmp", "Scan2147483647.bmp"}),
              "/home/me/Shots/Scan2147483648.bmp");
}

TEST(AutoFileName, DateTimeStampReplacesSeparatorsAFileNameCannotHold)
{
    struct Case { const char* what; StampFormats formats; QString expected; };
    const QLocale german(QLocale::German, QLocale::Germany);
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const Case cases[] = {
        {"German system", {german, "dd.MM.yyyy", "HH:mm:ss"}, "09.12.2026_14-05-09"},
        {"US system", {us, "M/d/yyyy", "h:mm:ss AP"}, "12-9-2026_2-05-09 PM"},
        {"dots in the time", {german, "d.M.yyyy", "H.mm.ss"}, "9.12.2026_14-05-09"},
        {"other forbidden characters", {us, "yyyy\\MM*dd", "HH:mm:ss"}, "2026-12-09_14-05-09"},
        {"German locale data", StampFormats::forLocale(german), "09.12.26_14-05-09"},
        {"US locale data, no time zone", StampFormats::forLocale(us), "12-9-26_2-05-09 PM"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DateTimeStamp(kCaptureTime, c.formats), c.expected) << c.what;
}

TEST(AutoFileName, DateTimeNameTakesTheNextFreeSuffixWithinOneSecond)
{
    const StampFormats german{QLocale(QLocale::German, QLocale::Germany), "dd.MM.yyyy", "HH:mm:ss"};
    const ProgramOptions options = autoOptions(1, true);
    const QString first = "Scan09.12.2026_14-05-09.jpg";

    struct Case { QStringList entries; QString expected; };
    const Case cases[] = {
        {{"Scan1.jpg"}, first},
        {{first}, "Scan09.12.2026_14-05-09_2.jpg"},
        {{first, "Scan09.12.2026_14-05-09_2.jpg", "Scan09.12.2026_14-05-09_4.jpg"}, "Scan09.12.2026_14-05-09_3.jpg"},
        {{"scan09.12.2026_14-05-09.JPG"}, "Scan09.12.2026_14-05-09_2.jpg"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DateTimeFileName(options, c.entries, kCaptureTime, german), "/home/me/Shots/" + c.expected);
        EXPECT_EQ(AutoSaveFileName(options, c.entries, kCaptureTime, german), "/home/me/Shots/" + c.expected);
    }
}

TEST(AutoFileName, FastSaveCounterStartsAtTheBitmapCount)
{
    EXPECT_EQ(FastSaveCounterStart({}), 0);
    EXPECT_EQ(FastSaveCounterStart({"a.bmp", "B.BMP", "c.jpg", "PX_Scan_9.bmp", "bmp", "d.bmp.txt"}), 3);
}

TEST(AutoFileName, FastSaveNeverOverwritesAnExistingFile)
{
    struct Case { const char* what; quint16 counter; QStringList entries; QString name; quint16 after; };
    const Case cases[] = {
        {"three bitmaps", 3, {"a.bmp", "b.bmp", "c.bmp"}, "PX_Scan_4.bmp", 4},
        {"skips taken numbers", 2, {"PX_Scan_3.bmp", "PX_Scan_4.bmp", "PX_Scan_6.bmp"}, "PX_Scan_5.bmp", 5},
        {"taken in other case", 0, {"px_scan_1.BMP"}, "PX_Scan_2.bmp", 2},
        {"wraps after 65535", 65535, {}, "PX_Scan_0.bmp", 0},
        {"wrap skips taken names", 65534, {"PX_Scan_65535.bmp", "PX_Scan_0.bmp"}, "PX_Scan_1.bmp", 1},
    };
    for (const Case& c : cases) {
        quint16 counter = c.counter;
        EXPECT_EQ(NextFastSaveName(counter, c.entries), std::optional<QString>(c.name)) << c.what;
        EXPECT_EQ(counter, c.after) << c.what;
    }

    // Successive saves count on from the last number used.
    quint16 counter = 3;
    ASSERT_EQ(NextFastSaveName(counter, {}), QString("PX_Scan_4.bmp"));
    EXPECT_EQ(NextFastSaveName(counter, {"PX_Scan_4.bmp"}), QString("PX_Scan_5.bmp"));
}

TEST(AutoFileName, FastSaveGivesUpWhenEveryNumberIsTaken)
{
    QStringList all;
    for (int n = 0; n <= 65535; ++n)
        all.append(QStringLiteral("PX_Scan_%1.bmp").arg(n));
    quint16 counter = 17;
    EXPECT_EQ(NextFastSaveName(counter, all), std::nullopt);
}

TEST(AutoFileName, FileTypeLabelAfterACapture)
{
    struct Case { bool hasPicture; bool persSave; int fileTyp; const char* label; };
    const Case cases[] = {
        {false, true, 1, "- - -"},
        {true, false, 1, "|bmp|"},
        {true, true, 0, "|bmp| - bmp"},
        {true, true, 1, "|bmp| - jpg"},
        {true, true, 8, "|bmp| - png"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FileTypeLabelText(c.hasPicture, c.persSave, c.fileTyp), c.label) << c.label;
}
