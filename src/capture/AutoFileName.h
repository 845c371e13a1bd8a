#pragma once
// Names for the files a capture writes on its own: the automatic file creation ("OutDir",
// "FileName", "FileTyp", numbered or stamped with date and time) and the fast save into the
// "Autosave" folder, plus the file-type label shown after a capture.
//
// Everything here is a pure function of its arguments: the caller lists the target folder
// (every entry name, folders and hidden files included) and passes the clock and the locale,
// so nothing reads the disk or the clock itself.
//
// Matching a listing follows the file-name patterns the program has always used ("Scan*.bmp",
// "*.bmp"): letters are compared without regard to case. On a case-sensitive file system this
// can only count more entries, never fewer, so a name handed out is never one that exists.
// Every name handed out is checked against the listing (again ignoring case, which also keeps
// it free on case-insensitive file systems such as a FAT stick): no rule here names an
// existing file.
#include "app/ProgramOptions.h"

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <optional>

namespace px {

// The highest-number rule of the incremented-number naming. Entries matching
// fileName + "*" + extension count when their name starts with fileName exactly (same case);
// the rest between fileName and the extension is read as a decimal number (digits only), and a
// rest that is no number counts as -1. The result is one more than the largest value, and 1
// when nothing counts or the largest value is -1.
// Example: "Scan1.bmp", "Scan5.bmp", "Scan_a.bmp" with "Scan" and ".bmp" give 6.
int HighestAutoFileNumber(const QString& fileName, const QString& extension, const QStringList& entries);

// The name of the next numbered file, "OutDir" + "FileName" + number + extension of "FileTyp"
// (highest-number rule, moved past any entry with that name). The name shown as the current
// file at the start of a capture and the name the automatic save writes are both this one.
QString NextAutoFileName(const ProgramOptions& options, const QStringList& entries);

// The formats the date-and-time naming uses: the locale's short date and long time formats
// (the time without its time-zone part) and the locale that writes them.
struct StampFormats {
    QLocale locale;
    QString date;
    QString time;
    static StampFormats forLocale(const QLocale& locale);
};

// Short date, "_", long time with the time's separators (":" or ".") replaced by "-"; any
// character a file name cannot hold on this system or on Windows ("/", ":", "\", "*", "?",
// '"', "<", ">", "|", control characters) also becomes "-".
// Example (German): "09.12.2026_14-05-09"; (US): "12-9-26_2-05-09 PM".
QString DateTimeStamp(const QDateTime& now, const StampFormats& formats);

// "OutDir" + "FileName" + stamp + extension; when that name exists already (two captures in
// one second), the first free one of stamp + "_2", "_3", ...
QString DateTimeFileName(const ProgramOptions& options, const QStringList& entries, const QDateTime& now,
                         const StampFormats& formats);

// The file the automatic save writes: the date-and-time name when "IsDateTimeToFile" is on,
// the numbered name otherwise.
QString AutoSaveFileName(const ProgramOptions& options, const QStringList& entries, const QDateTime& now,
                         const StampFormats& formats);

// Start value of the fast-save counter: the number of entries matching "*.bmp".
quint16 FastSaveCounterStart(const QStringList& entries);

// Advances the fast-save counter and returns "PX_Scan_<counter>.bmp". A number whose name is
// taken is skipped (the counter moves on), also after the 16-bit counter wraps from 65535 to 0,
// so a fast save never replaces a file. nullopt when every one of the 65536 names is taken.
std::optional<QString> NextFastSaveName(quint16& counter, const QStringList& entries);

// The file-type label after a capture: "- - -" without a picture; "|bmp| - " + the automatic
// file type's extension without its dot (e.g. "|bmp| - jpg") while "PersSave" is on; "|bmp|"
// otherwise.
QString FileTypeLabelText(bool hasPicture, bool persSave, int fileTyp);

} // namespace px
