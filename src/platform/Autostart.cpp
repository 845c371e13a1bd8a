#include "platform/Autostart.h"
#include "platform/ProgramInfo.h"

#include "platform/AtomicFile.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace px {

namespace {

// Escapes of a value of type string in a desktop entry.
QString escapedString(const QString& s)
{
    QString out;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c == QLatin1Char('\\'))
            out += QLatin1String("\\\\");
        else if (c == QLatin1Char('\n'))
            out += QLatin1String("\\n");
        else if (c == QLatin1Char('\r'))
            out += QLatin1String("\\r");
        else if (c == QLatin1Char('\t'))
            out += QLatin1String("\\t");
        else if (c == QLatin1Char(' ') && out.isEmpty())
            out += QLatin1String("\\s");   // a leading blank would be trimmed away
        else
            out += c;
    }
    return out;
}

// One argument of an Exec line: quoted when it holds a reserved character, with '"', '`',
// '$' and '\' escaped inside the quotes; '%' doubled since it starts a field code.
QString execArgument(const QString& arg)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool needsQuotes = arg.isEmpty();
    for (QChar c : arg)
        needsQuotes = needsQuotes || reserved.contains(c);
    QString out;
    if (needsQuotes)
        out += QLatin1Char('"');
    for (QChar c : arg) {
        if (c == QLatin1Char('%'))
            out += QLatin1String("%%");
        else if (needsQuotes && (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\')))
            out += QLatin1Char('\\') + QString(c);
        else
            out += c;
    }
    if (needsQuotes)
        out += QLatin1Char('"');
    return out;
}

} // namespace

QString desktopEntryText(const QString& executable, const QString& name, bool onceOnly)
{
    // The quoting of the Exec line comes first, then the string escapes of the value: a
    // reader undoes them in the opposite order.
    QString text = QStringLiteral("[Desktop Entry]\n"
                                  "Type=Application\n");
    text += QStringLiteral("Name=%1\n").arg(escapedString(name));
    text += QStringLiteral("Exec=%1\n").arg(escapedString(execArgument(executable)));
    text += QStringLiteral("Terminal=false\n"
                           "X-GNOME-Autostart-enabled=true\n");
    text += onceOnly ? QStringLiteral("X-Pixmora-RunOnce=true\n") : QStringLiteral("X-Pixmora-Autostart=true\n");
    return text;
}

Autostart::Autostart(QString autostartFolder)
    : folder_(std::move(autostartFolder))
{
}

QString Autostart::defaultFolder()
{
    return configHome() + QStringLiteral("/autostart");
}

QString Autostart::entryPath() const
{
    return QDir(folder_).filePath(QStringLiteral("pixmora.desktop"));
}

QString Autostart::runOncePath() const
{
    return QDir(folder_).filePath(QStringLiteral("pixmora-runonce.desktop"));
}

bool Autostart::setEnabled(bool enabled, const QString& executable, QString* error)
{
    // Only the entry this program wrote (it carries our mark) is ever replaced or removed: an
    // entry the user or the desktop made stays as it is.
    const QString path = entryPath();
    const bool exists = QFile::exists(path);
    const IniFile current = exists ? IniFile::load(path) : IniFile();
    const QString section = QStringLiteral("Desktop Entry");
    const bool ours = current.readString(section, QStringLiteral("X-Pixmora-Autostart")) == QLatin1String("true");
    if (exists && !ours)
        return true;
    if (enabled) {
        const QString text = desktopEntryText(executable, kProgramTitle, false);
        // Left alone while it starts this program: a desktop's own switch in it is kept.
        if (exists && current.readString(section, QStringLiteral("Exec"))
                          == IniFile::fromText(text.toUtf8()).readString(section, QStringLiteral("Exec")))
            return true;
        return saveFileDurably(path, text.toUtf8(), error);
    }
    QFile file(path);
    if (!exists || file.remove())
        return true;
    if (error)
        *error = file.errorString();
    return false;
}

bool Autostart::isEnabled() const
{
    // An entry the desktop has marked hidden (the user switched it off there) does not start.
    if (!QFile::exists(entryPath()))
        return false;
    const IniFile entry = IniFile::load(entryPath());
    return entry.readString(QStringLiteral("Desktop Entry"), QStringLiteral("Hidden")) != QLatin1String("true");
}

bool Autostart::writeRunOnce(const QString& executable, QString* error)
{
    return saveFileDurably(runOncePath(), desktopEntryText(executable, kProgramTitle, true).toUtf8(), error);
}

bool Autostart::consumeRunOnce()
{
    return QFile::remove(runOncePath());
}

} // namespace px
