#pragma once
// Writing a file so that it appears whole or not at all: the data goes to a private temporary
// file in the target's folder, which is then renamed over the target. A failed write leaves
// the old file as it was and no temporary file behind. Unlike QSaveFile it does not force the
// data to disk before the rename: pictures are written often and that wait would double the
// time of a capture; the settings store keeps using QSaveFile.
#include <QIODevice>
#include <QString>
#include <functional>

namespace px {

// Calls write with the temporary file opened for writing; write returns false (and may set
// *error) to abandon the file. A replaced file keeps its permissions; a new one gets the
// usual 0666 less the umask.
bool writeFileAtomically(const QString& path, const std::function<bool(QIODevice& file, QString* error)>& write,
                         QString* error = nullptr);

} // namespace px
