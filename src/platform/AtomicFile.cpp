#include "platform/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

namespace px {

namespace {

mode_t currentUmask()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        while (!status.atEnd()) {
            const QByteArray line = status.readLine();
            if (line.startsWith("Umask:")) {
                bool ok = false;
                const uint mask = line.mid(6).trimmed().toUInt(&ok, 8);
                if (ok)
                    return mode_t(mask);
            }
        }
    }
    return 022;
}

} // namespace

bool writeFileAtomically(const QString& path, const std::function<bool(QIODevice& file, QString* error)>& write,
                         QString* error)
{
    // A link is written through: the file it points to is replaced, the link stays.
    QFileInfo target(path);
    if (target.isSymLink())
        target = QFileInfo(target.symLinkTarget());
    const QString finalPath = target.absoluteFilePath();
    if (target.exists() && !target.isWritable()) {
        if (error)
            *error = QStringLiteral("cannot write %1: the file is write-protected").arg(path);
        return false;
    }
    // A short name, so that a target name near the length limit still leaves room for it.
    QTemporaryFile temp(target.absolutePath() + QStringLiteral("/.pixmora.XXXXXX"));
    if (!temp.open()) {
        if (error)
            *error = QStringLiteral("cannot write %1: %2").arg(path, temp.errorString());
        return false;
    }
    QString writeError;
    if (!write(temp, &writeError) || !temp.flush()) {
        if (error)
            *error = writeError.isEmpty() ? QStringLiteral("cannot write %1: %2").arg(path, temp.errorString()) : writeError;
        return false;
    }
    struct stat old {};
    const mode_t mode = ::stat(QFile::encodeName(finalPath).constData(), &old) == 0 ? (old.st_mode & 07777)
                                                                               : (0666 & ~currentUmask());
    ::fchmod(temp.handle(), mode);
    temp.close();
    if (::rename(QFile::encodeName(temp.fileName()).constData(), QFile::encodeName(finalPath).constData()) != 0) {
        if (error)
            *error = QStringLiteral("cannot write %1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    temp.setAutoRemove(false);  // it is the target now
    return true;
}

bool saveFileDurably(const QString& path, const QByteArray& bytes, QString* error)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) {
        if (error)
            *error = QStringLiteral("cannot create the folder %1").arg(folder);
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace px
