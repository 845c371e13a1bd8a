#include "platform/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

namespace px {

namespace {

QString& testFolder()
{
    static QString folder;
    return folder;
}

QString withTrailingSlash(QString folder)
{
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

QString fromEnvironment(const char* name, const QString& fallbackBelowHome)
{
    // The base-directory rules: an unset, empty or relative value is ignored.
    const QString value = qEnvironmentVariable(name);
    if (!value.isEmpty() && QDir::isAbsolutePath(value))
        return QDir::cleanPath(value);
    return QDir::homePath() + fallbackBelowHome;
}

} // namespace

QString programFolder()
{
    if (!testFolder().isEmpty())
        return testFolder();
    QString folder;
    if (QCoreApplication::instance()) {
        folder = QCoreApplication::applicationDirPath();
    } else {
        const QString exe = QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
        folder = exe.isEmpty() ? QDir::currentPath() : QFileInfo(exe).absolutePath();
    }
    return withTrailingSlash(folder);
}

QString programFile(const QString& relative)
{
    QString rel = relative;
    rel.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (rel.startsWith(QLatin1Char('/')))
        rel.remove(0, 1);
    return programFolder() + rel;
}

void setProgramFolderForTesting(const QString& folder)
{
    testFolder() = folder.isEmpty() ? QString() : withTrailingSlash(folder);
}

QString writableProgramFolder(const QString& relative)
{
    const QString folder = programFolder();
    // access() asks the kernel, which knows about read-only mounts and ACLs.
    if (::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0)
        return programFile(relative);
    return pathJoin(dataHome() + QStringLiteral("/Pixmora"), relative);
}

QString pathJoin(const QString& a, const QString& b)
{
    QString left = a;
    QString right = b;
    left.replace(QLatin1Char('\\'), QLatin1Char('/'));
    right.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (left.isEmpty())
        return right;
    while (right.startsWith(QLatin1Char('/')))
        right.remove(0, 1);
    if (right.isEmpty())
        return left;
    while (left.size() > 1 && left.endsWith(QLatin1Char('/')))
        left.chop(1);
    if (left == QLatin1String("/"))
        return left + right;
    return left + QLatin1Char('/') + right;
}

QString nativePath(const QString& windowsPath)
{
    QString p = windowsPath;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    // A drive ("c:\...") or a path from the root of the current drive ("\...") stands for
    // the home folder here; a UNC name ("\\server\...") has no meaning and is left alone.
    const bool drive = p.size() >= 2 && p[1] == QLatin1Char(':') && p[0].isLetter()
                       && (p.size() == 2 || p[2] == QLatin1Char('/'));
    if (drive)
        return pathJoin(QDir::homePath(), p.mid(2));
    if (windowsPath.startsWith(QLatin1Char('\\')) && !windowsPath.startsWith(QLatin1String("\\\\")))
        return pathJoin(QDir::homePath(), p);
    return p;
}

QString configHome()
{
    return fromEnvironment("XDG_CONFIG_HOME", QStringLiteral("/.config"));
}

QString dataHome()
{
    return fromEnvironment("XDG_DATA_HOME", QStringLiteral("/.local/share"));
}

} // namespace px
