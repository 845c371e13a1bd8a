#pragma once
// Reading and writing the registry hive as a .reg text file in the format Windows' registry
// editor exports (REGEDIT4, and "Windows Registry Editor Version 5.00" including UTF-16LE):
//   [HKEY_CURRENT_USER\Software\Orlek\Pixmora\5.0\Options]
//   "ScanDelay"=dword:000000f0
//   "OutDir"="C:\\Bilder \"neu\""
//   "ShellExtAr"=hex:00,00,00,00,00,00,00,00,00
// Keys outside HKEY_CURRENT_USER are skipped (with a warning). Line ends CRLF or LF; long
// hex lines may continue with a trailing backslash. Written with CRLF line ends, UTF-8.
// Files without a byte-order mark are read as UTF-8, or as Windows-1252 when they are not valid
// UTF-8; "FF FE" marks UTF-16LE. Deletions are applied: "[-KEY]" removes the key and its
// subkeys, "name"=- removes a value. hex(1) holding a zero-terminated UTF-16LE string (how
// Windows stores one), hex(3) (binary) and a four-byte hex(4) (a dword) are read as String,
// Binary and Dword; every other hex(n) stays Other with its bytes as they are.
// Strings with line breaks are written as hex(1) so that they survive the round trip.
#include "platform/Registry.h"

#include <QString>
#include <QStringList>

namespace px {

struct RegParseResult {
    bool ok = false;
    Registry registry;
    QString error;          // "line N: ..." when !ok
    QStringList warnings;   // skipped keys or values that were understood but not kept
};

// Parses the text of a .reg file. Input is bounded: at most 64 MiB are accepted.
RegParseResult parseRegText(const QByteArray& text);
QByteArray formatRegText(const Registry& registry);

// Where the hive is kept: $XDG_CONFIG_HOME/Orlek/Pixmora/5.0/registry.reg.
QString defaultRegistryPath();

struct RegLoadResult {
    Registry registry;
    bool fileExisted = false;
    // Set when the file could not be parsed: it was moved aside to movedAsideTo and the
    // program starts from an empty hive. The caller tells the user once.
    QString problem;
    QString movedAsideTo;
    QStringList warnings;   // from a file that was read: keys outside HKEY_CURRENT_USER etc.
};

// Reads and parses the file and changes nothing: ok false with error when it cannot be
// opened, is larger than the parser accepts or does not parse.
RegParseResult readRegistryFile(const QString& path);
// Missing file: empty hive. Unparsable file: moved aside as "<path>.bad" (or the next free
// "<path>.bad.N", so an older one stays), empty hive, problem set.
RegLoadResult loadRegistryFile(const QString& path);
// Writes atomically (temporary file in the same folder, then rename). False with *error set
// when writing failed; the previous file is then left as it was.
bool saveRegistryFile(const Registry& registry, const QString& path, QString* error = nullptr);

} // namespace px
