#pragma once
// THistoryList: a most-recently-used list of texts (file paths, typed host names, folders).
// The newest entry is first, an entry appears once, and the list never grows past its maximum (10 unless changed). It is kept below a
// registry key as the string values "History0" (newest) to "History<maximum - 1>", or in a
// section of an INI file under the same names.
//
// The list itself has no menus: the window that shows it builds one item per entry from
// menuCaptions() and maps a chosen item back with historyNumberFromCaption().
#include "platform/IniFile.h"
#include "platform/Registry.h"

#include <QString>
#include <QStringList>

namespace px {

// The main window's recent-files list lives below this path in the section "Recent".
inline QString recentFilesPath() { return kProgramKey + QStringLiteral("\\GUI"); }
inline const QString kRecentFilesSection = QStringLiteral("Recent");

class THistoryList {
public:
    static constexpr int kDefaultMaxCount = 10;

    const QStringList& entries() const { return entries_; }
    int count() const { return int(entries_.size()); }
    bool isEmpty() const { return entries_.isEmpty(); }

    int maxCount() const { return maxCount_; }
    // Values below 1 are taken as 1; a smaller maximum drops the oldest entries.
    void setMaxCount(int maximum);

    // Puts text at the top. An equal entry is removed first, so adding an existing entry moves
    // it up. Texts are compared exactly: on this system "/p/A.png" and "/p/a.png" are two
    // files, and neither may push the other out of the list; the oldest entry goes when the list would exceed its maximum.
    void addToTop(const QString& text);
    void clear() { entries_.clear(); }

    // Replaces the entries with those stored in the key path\section. Empty values are skipped
    // (the gaps close up), as is a value equal to one read before it; a missing key or value,
    // or one that is not a string, loads as nothing.
    void load(const Registry& registry, const QString& path, const QString& section);
    // Writes the entries to path\section (the key is created when missing) and deletes the
    // values of positions the list no longer fills, up to the maximum.
    void save(Registry& registry, const QString& path, const QString& section) const;

    // The same with the keys of one section of an INI file.
    void load(const IniFile& ini, const QString& section);
    void save(IniFile& ini, const QString& section) const;

    // One caption per entry in list order: "&1 <newest>", "&2 <next>", ...
    QStringList menuCaptions() const;

private:
    QStringList entries_;
    int maxCount_ = kDefaultMaxCount;
};

// The name of the stored value for a list position: "History0", "History1", ...
QString historyValueName(int position);

// "&<number> <entry>" with every "&" of the entry doubled, so that a path such as
// "/home/me/Tom & Jerry.png" shows its "&" instead of turning the next letter into a mnemonic.
QString historyMenuCaption(int number, const QString& entry);

// The number of a caption built by historyMenuCaption (the digits between its first character
// and the first blank); 0 when there is none. Entry number n is list position n - 1.
int historyNumberFromCaption(const QString& caption);

// Deletes the key path\section with its values, without creating anything when it is missing
// (the list's "delete" command). True when a key was deleted.
bool deleteStoredHistory(Registry& registry, const QString& path, const QString& section);

} // namespace px
