#pragma once
// Writing a file so that it appears whole or not at all: the data goes to a private temporary
// file in the target's folder, which is then renamed over the target. A failed write leaves
// the old file as it was and no temporary file behind. Unlike QSaveFile it does not force the
// data to disk before the rename: pictures are written often and that wait would double the
// time of a capture; settings files use saveFileDurably.
#include <QIODevice>
#include <QString>
#include <functional>

namespace px {

// Calls write with the temporary file opened for writing; write returns false (and may set
// *error) to abandon the file. A replaced file keeps its permissions; a new one gets the
// usual 0666 less the umask. A symbolic link is written through; a write-protected target is
// refused.
bool writeFileAtomically(const QString& path, const std::function<bool(QIODevice& file, QString* error)>& write,
                         QString* error = nullptr);

// For settings files: creates the folder, then writes through QSaveFile, which also waits
// until the data is on disk before the rename. False with *error when anything failed; the
// old file is then unchanged.
bool saveFileDurably(const QString& path, const QByteArray& bytes, QString* error = nullptr);

} // namespace px
