#pragma once
// Small typed readers and writers for the keys beside Options that the main window and the
// batch dialogs keep: the editing palette's last choices, the batch log settings, the splash
// flag read before anything else starts, and the remote-capture entry of "PX5.ini".
#include "platform/IniFile.h"
#include "platform/Registry.h"

#include <QString>
#include <optional>

namespace px {

inline QString picEditPalKey() { return kProgramKey + QStringLiteral("\\GUI\\PicEditPal"); }
inline QString logKey() { return kProgramKey + QStringLiteral("\\Log"); }

// Last choices of the smoothing, scaling and marker-colour drop-downs of the editing palette.
struct PicEditPalValues {
    int Antialiasing = 1;
    int Scaling = 1;
    int Marker = 0;
    bool operator==(const PicEditPalValues&) const = default;
};
// A missing key or value (or one that is not a DWORD) keeps its default.
PicEditPalValues LoadPicEditPal(const Registry& registry);
void SavePicEditPal(Registry& registry, const PicEditPalValues& values);

// The four batch dialogs that keep a log setting in the Log key.
enum class BatchLog {
    SelectionConversion,  // "MCLogFile" / "MCLogFilePath"
    FolderConversion,     // "DCLogFile" / "DCLogFilePath"
    Thumbnails,           // "TCLogFile" / "TCLogFilePath"
    FileConversion,       // "FCLogFile" / "FCLogFilePath"
};

struct BatchLogSetting {
    bool enabled = false;
    QString path;
    bool operator==(const BatchLogSetting&) const = default;
};
// Read when a dialog opens. A missing key or an empty path gives logging off with the program
// folder as path.
BatchLogSetting LoadBatchLog(const Registry& registry, BatchLog dialog);
// Written when a dialog closes.
void SaveBatchLog(Registry& registry, BatchLog dialog, const BatchLogSetting& setting);

// "Intro" of Options, read at the very start without creating anything; missing, unreadable
// or of another type means no splash.
bool ReadIntroFlag(const Registry& registry);

// The remote-capture add-on is installed when "PX5.ini" has "AppPath" in section
// "PX_RemoteScan"; its presence alone enables the remote-capture commands.
std::optional<QString> RemoteScanAppPath(const IniFile& px5);

} // namespace px
