#include "platform/AtomicFile.h"

#include <QFile>
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
    const QFileInfo target(path);
    QTemporaryFile temp(target.absolutePath() + QStringLiteral("/.") + target.fileName() + QStringLiteral(".XXXXXX"));
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
    const mode_t mode = ::stat(QFile::encodeName(path).constData(), &old) == 0 ? (old.st_mode & 07777)
                                                                               : (0666 & ~currentUmask());
    ::fchmod(temp.handle(), mode);
    temp.close();
    if (::rename(QFile::encodeName(temp.fileName()).constData(), QFile::encodeName(path).constData()) != 0) {
        if (error)
            *error = QStringLiteral("cannot write %1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    temp.setAutoRemove(false);  // it is the target now
    return true;
}

} // namespace px
