#include "capture/AutoFileName.h"

#include "files/FileTypes.h"
#include "platform/ProgramFolder.h"

#include <QSet>
#include <algorithm>
#include <limits>

namespace px {

namespace {

// The listing as a set of case-folded names, for "is this name taken?".
class TakenNames {
public:
    explicit TakenNames(const QStringList& entries)
    {
        for (const QString& e : entries)
            names_.insert(e.toCaseFolded());
    }
    bool contains(const QString& name) const { return names_.contains(name.toCaseFolded()); }

private:
    QSet<QString> names_;
};

bool matchesPattern(const QString& entry, const QString& prefix, const QString& suffix)
{
    return entry.size() >= prefix.size() + suffix.size() && entry.startsWith(prefix, Qt::CaseInsensitive)
        && entry.endsWith(suffix, Qt::CaseInsensitive);
}

// A rest of decimal digits as a number; -1 for anything else, and for numbers too large to
// count on from.
int restNumber(QStringView rest)
{
    if (rest.isEmpty())
        return -1;
    for (QChar c : rest) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
    }
    bool ok = false;
    const qlonglong value = rest.toLongLong(&ok);
    if (!ok || value >= std::numeric_limits<int>::max())
        return -1;
    return int(value);
}

QString replaceInvalidFileNameCharacters(QString text)
{
    static const QString invalid = QStringLiteral("\\/:*?\"<>|");
    for (QChar& c : text) {
        if (c.unicode() < 0x20 || invalid.contains(c))
            c = QLatin1Char('-');
    }
    return text;
}

// The format without its time-zone fields (unquoted runs of "t"); Windows' long time format
// has none, and a zone name would only lengthen the file name.
QString withoutTimeZone(const QString& format)
{
    QString out;
    bool quoted = false;
    for (QChar c : format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        else if (!quoted && c == QLatin1Char('t'))
            continue;
        out.append(c);
    }
    return out.trimmed();
}

} // namespace

int HighestAutoFileNumber(const QString& fileName, const QString& extension, const QStringList& entries)
{
    std::optional<int> highest;
    for (const QString& entry : entries) {
        if (!matchesPattern(entry, fileName, extension) || !entry.startsWith(fileName, Qt::CaseSensitive))
            continue;
        const int value = restNumber(QStringView(entry).mid(fileName.size(), entry.size() - fileName.size() - extension.size()));
        highest = std::max(highest.value_or(value), value);
    }
    const int n = highest.value_or(0);
    return n == -1 ? 1 : n + 1;
}

QString NextAutoFileName(const ProgramOptions& options, const QStringList& entries)
{
    const QString ext = FileTypeExtension(options.FileTyp);
    const TakenNames taken(entries);
    // Counted on in 64 bits: moving past taken names never wraps to a negative number.
    qint64 number = HighestAutoFileNumber(options.FileName, ext, entries);
    QString name = options.FileName + QString::number(number) + ext;
    while (taken.contains(name))
        name = options.FileName + QString::number(++number) + ext;
    return pathJoin(options.OutDir, name);
}

StampFormats StampFormats::forLocale(const QLocale& locale)
{
    return {locale, locale.dateFormat(QLocale::ShortFormat), withoutTimeZone(locale.timeFormat(QLocale::LongFormat))};
}

QString DateTimeStamp(const QDateTime& now, const StampFormats& formats)
{
    QString time = formats.locale.toString(now.time(), formats.time);
    for (QChar& c : time) {
        if (c.isPunct())
            c = QLatin1Char('-');
    }
    return replaceInvalidFileNameCharacters(formats.locale.toString(now.date(), formats.date) + QLatin1Char('_') + time);
}

QString DateTimeFileName(const ProgramOptions& options, const QStringList& entries, const QDateTime& now,
                         const StampFormats& formats)
{
    const QString ext = FileTypeExtension(options.FileTyp);
    const QString base = options.FileName + DateTimeStamp(now, formats);
    const TakenNames taken(entries);
    QString name = base + ext;
    for (int suffix = 2; taken.contains(name); ++suffix)
        name = base + QLatin1Char('_') + QString::number(suffix) + ext;
    return pathJoin(options.OutDir, name);
}

QString AutoSaveFileName(const ProgramOptions& options, const QStringList& entries, const QDateTime& now,
                         const StampFormats& formats)
{
    if (options.IsDateTimeToFile)
        return DateTimeFileName(options, entries, now, formats);
    return NextAutoFileName(options, entries);
}

quint16 FastSaveCounterStart(const QStringList& entries)
{
    const QString bmp = QStringLiteral(".bmp");
    quint16 count = 0;
    for (const QString& entry : entries) {
        if (entry.endsWith(bmp, Qt::CaseInsensitive))
            ++count;
    }
    return count;
}

std::optional<QString> NextFastSaveName(quint16& counter, const QStringList& entries)
{
    const TakenNames taken(entries);
    for (int tries = 0; tries <= std::numeric_limits<quint16>::max(); ++tries) {
        ++counter;
        const QString name = QStringLiteral("PX_Scan_") + QString::number(counter) + QStringLiteral(".bmp");
        if (!taken.contains(name))
            return name;
    }
    return std::nullopt;
}

QString FileTypeLabelText(bool hasPicture, bool persSave, int fileTyp)
{
    if (!hasPicture)
        return QStringLiteral("- - -");
    if (persSave)
        return QStringLiteral("|bmp| - ") + FileTypeExtension(fileTyp).mid(1);
    return QStringLiteral("|bmp|");
}

} // namespace px
