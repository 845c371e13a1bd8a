#include "platform/IniFile.h"

#include "platform/AtomicFile.h"

#include "platform/TextDecoding.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

namespace px {

namespace {

constexpr qsizetype kMaxIniText = 1024 * 1024;

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QString withoutLineBreaks(QString s)
{
    s.replace(QLatin1Char('\r'), QLatin1Char(' '));
    s.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return s;
}

bool isQuotedPair(const QString& s)
{
    return s.size() >= 2 && s.startsWith(QLatin1Char('"')) && s.endsWith(QLatin1Char('"'));
}

// The form that reads back as v: reading trims blanks and removes one pair of quotes.
QString encodedValue(const QString& v)
{
    if (v != v.trimmed() || isQuotedPair(v))
        return QLatin1Char('"') + v + QLatin1Char('"');
    return v;
}

} // namespace

IniFile IniFile::fromText(const QByteArray& text)
{
    QByteArrayView input(text);
    if (input.size() > kMaxIniText) {
        // Only whole lines within the limit are read.
        input = input.first(kMaxIniText);
        const qsizetype lastBreak = input.lastIndexOf('\n');
        input = input.first(lastBreak < 0 ? 0 : lastBreak + 1);
    }
    QString decoded = decodeTextFile(input);
    // Byte-order marks other than the one that chose the encoding are no text; kept, one at
    // the start of the saved file would be taken for a mark when it is read again.
    decoded.remove(QChar(0xFEFF));

    IniFile ini;
    Section* section = nullptr;
    for (QStringView rawLine : QStringView(decoded).tokenize(QLatin1Char('\n'))) {
        if (rawLine.endsWith(QLatin1Char('\r')))
            rawLine.chop(1);
        const QString line = rawLine.trimmed().toString();
        if (line.isEmpty())
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.contains(QLatin1Char(']'))) {
            ini.sections_.push_back({line.mid(1, line.indexOf(QLatin1Char(']')) - 1).trimmed(), {}});
            section = &ini.sections_.back();
            continue;
        }
        Entry entry;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (line.startsWith(QLatin1Char(';')) || eq <= 0 || line.left(eq).trimmed().isEmpty()) {
            entry.raw = true;
            entry.value = line;
        } else {
            entry.key = line.left(eq).trimmed();
            entry.value = line.mid(eq + 1).trimmed();
            if (isQuotedPair(entry.value))
                entry.value = entry.value.mid(1, entry.value.size() - 2);
        }
        if (section)
            section->entries.push_back(std::move(entry));
        else
            ini.preamble_ << line;   // keys outside a section are never read
    }
    return ini;
}

IniFile IniFile::load(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return fromText(file.read(kMaxIniText + 1));
}

IniFile::Section* IniFile::findSection(const QString& name)
{
    for (auto& s : sections_)
        if (sameName(s.name, name))
            return &s;
    return nullptr;
}

const IniFile::Section* IniFile::findSection(const QString& name) const
{
    for (const auto& s : sections_)
        if (sameName(s.name, name))
            return &s;
    return nullptr;
}

QString IniFile::readString(const QString& section, const QString& key, const QString& def) const
{
    if (const Section* s = findSection(section))
        for (const auto& e : s->entries)
            if (!e.raw && sameName(e.key, key))
                return e.value;
    return def;
}

bool IniFile::hasKey(const QString& section, const QString& key) const
{
    if (const Section* s = findSection(section))
        for (const auto& e : s->entries)
            if (!e.raw && sameName(e.key, key))
                return true;
    return false;
}

bool IniFile::hasSection(const QString& section) const
{
    return findSection(section) != nullptr;
}

QStringList IniFile::sections() const
{
    QStringList names;
    for (const auto& s : sections_)
        if (!names.contains(s.name, Qt::CaseInsensitive))
            names << s.name;
    return names;
}

QStringList IniFile::keys(const QString& section) const
{
    QStringList names;
    if (const Section* s = findSection(section))
        for (const auto& e : s->entries)
            if (!e.raw && !names.contains(e.key, Qt::CaseInsensitive))
                names << e.key;
    return names;
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value)
{
    const QString cleanSection = withoutLineBreaks(section);
    const QString cleanKey = withoutLineBreaks(key);
    Section* s = findSection(cleanSection);
    if (!s) {
        sections_.push_back({cleanSection, {}});
        s = &sections_.back();
    }
    for (auto& e : s->entries) {
        if (!e.raw && sameName(e.key, cleanKey)) {
            e.value = withoutLineBreaks(value);
            return;
        }
    }
    s->entries.push_back({cleanKey, withoutLineBreaks(value), false});
}

bool IniFile::deleteKey(const QString& section, const QString& key)
{
    Section* s = findSection(section);
    if (!s)
        return false;
    const auto removed = std::erase_if(s->entries, [&](const Entry& e) { return !e.raw && sameName(e.key, key); });
    return removed > 0;
}

QByteArray IniFile::toText() const
{
    QString out;
    for (const QString& line : preamble_)
        out += line + QLatin1String("\r\n");
    bool first = preamble_.isEmpty();
    for (const auto& s : sections_) {
        if (!first)
            out += QLatin1String("\r\n");
        first = false;
        out += QLatin1Char('[') + s.name + QLatin1String("]\r\n");
        for (const auto& e : s.entries) {
            if (e.raw)
                out += e.value;
            else
                out += e.key + QLatin1Char('=') + encodedValue(e.value);
            out += QLatin1String("\r\n");
        }
    }
    return out.toUtf8();
}

bool IniFile::save(const QString& path, QString* error) const
{
    return saveFileDurably(path, toText(), error);
}

} // namespace px
