#include "platform/RegFile.h"

#include "platform/AtomicFile.h"

#include "platform/ProgramFolder.h"
#include "platform/TextDecoding.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QtDebug>

#include <vector>

namespace px {

namespace {

constexpr qsizetype kMaxRegText = 64 * 1024 * 1024;
const QString kRootName = QStringLiteral("HKEY_CURRENT_USER");

bool isBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

// Parses 1..maxDigits hex digits making up the whole of text.
std::optional<quint32> parseHexNumber(QStringView text, int maxDigits)
{
    if (text.isEmpty() || text.size() > maxDigits)
        return std::nullopt;
    quint32 v = 0;
    for (QChar c : text) {
        const int d = hexDigit(c);
        if (d < 0)
            return std::nullopt;
        v = (v << 4) | quint32(d);
    }
    return v;
}

bool restIsBlank(QStringView line, qsizetype pos)
{
    for (qsizetype i = pos; i < line.size(); ++i)
        if (!isBlank(line[i]))
            return false;
    return true;
}

class Parser {
public:
    explicit Parser(const QString& text)
    {
        for (QStringView line : QStringView(text).tokenize(QLatin1Char('\n'))) {
            if (line.endsWith(QLatin1Char('\r')))
                line.chop(1);
            lines_.push_back(line);
        }
    }

    RegParseResult run()
    {
        RegParseResult result;
        if (!parse(result)) {
            result.ok = false;
            result.registry = Registry();
            result.warnings.clear();
        } else {
            result.ok = true;
        }
        return result;
    }

private:
    enum class Target { None, Key, Skipped };

    bool fail(RegParseResult& r, const QString& reason) const
    {
        r.error = QStringLiteral("line %1: %2").arg(current_ + 1).arg(reason);
        return false;
    }

    bool parse(RegParseResult& r)
    {
        // The header comes first; blank lines before it are tolerated.
        while (current_ < lines_.size() && lines_[current_].trimmed().isEmpty())
            ++current_;
        if (current_ >= lines_.size()) {
            current_ = 0;
            return fail(r, QStringLiteral("empty file, the header \"REGEDIT4\" is missing"));
        }
        const QStringView header = lines_[current_].trimmed();
        if (header != u"REGEDIT4" && header != u"Windows Registry Editor Version 5.00") {
            return fail(r, QStringLiteral("not a registry file (the header \"REGEDIT4\" is missing)"));
        }
        for (++current_; current_ < lines_.size(); ++current_) {
            QStringView line = lines_[current_];
            qsizetype start = 0;
            while (start < line.size() && isBlank(line[start]))
                ++start;
            line = line.mid(start);
            if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
                continue;
            if (line.startsWith(QLatin1Char('['))) {
                if (!parseKeyLine(r, line))
                    return false;
            } else if (line.startsWith(QLatin1Char('"')) || line.startsWith(QLatin1Char('@'))) {
                if (!parseValueLine(r, line))
                    return false;
            } else {
                return fail(r, QStringLiteral("neither a key nor a value"));
            }
        }
        return true;
    }

    bool parseKeyLine(RegParseResult& r, QStringView line)
    {
        const qsizetype close = line.lastIndexOf(QLatin1Char(']'));
        if (close < 0)
            return fail(r, QStringLiteral("key without closing \"]\""));
        if (!restIsBlank(line, close + 1))
            return fail(r, QStringLiteral("text after the key"));
        QStringView inner = line.mid(1, close - 1);
        const bool remove = inner.startsWith(QLatin1Char('-'));
        if (remove)
            inner = inner.mid(1);
        const qsizetype sep = inner.indexOf(QLatin1Char('\\'));
        const QStringView root = sep < 0 ? inner : inner.left(sep);
        const QString sub = sep < 0 ? QString() : inner.mid(sep + 1).toString();
        target_ = Target::Skipped;
        if (root.compare(kRootName, Qt::CaseInsensitive) != 0) {
            r.warnings << QStringLiteral("line %1: key outside HKEY_CURRENT_USER skipped: %2")
                              .arg(current_ + 1)
                              .arg(inner.toString());
            return true;
        }
        if (sub.split(QLatin1Char('\\'), Qt::SkipEmptyParts).isEmpty()) {
            r.warnings << QStringLiteral("line %1: values directly under HKEY_CURRENT_USER are not kept")
                              .arg(current_ + 1);
            return true;
        }
        if (remove) {
            // "[-KEY]" removes the key with everything below it; value lines that follow it
            // belong to no key and are skipped.
            r.registry.deleteKey(sub);
            return true;
        }
        r.registry.createKey(sub);
        key_ = sub;
        target_ = Target::Key;
        return true;
    }

    // A quoted string starting at line[pos] == '"'. Only \\ and \" are escapes; a backslash
    // before any other character stands for itself, as hand-written paths often have it.
    bool parseQuoted(RegParseResult& r, QStringView line, qsizetype& pos, QString* out)
    {
        out->clear();
        for (++pos; pos < line.size(); ++pos) {
            const QChar c = line[pos];
            if (c == QLatin1Char('"')) {
                ++pos;
                return true;
            }
            if (c == QLatin1Char('\\') && pos + 1 < line.size()
                && (line[pos + 1] == QLatin1Char('\\') || line[pos + 1] == QLatin1Char('"'))) {
                ++pos;
                out->append(line[pos]);
                continue;
            }
            out->append(c);
        }
        return fail(r, QStringLiteral("string without closing quote"));
    }

    bool parseValueLine(RegParseResult& r, QStringView line)
    {
        if (target_ == Target::None)
            return fail(r, QStringLiteral("value before the first key"));
        QString name;
        qsizetype pos = 0;
        if (line[0] == QLatin1Char('@')) {
            pos = 1;
        } else if (!parseQuoted(r, line, pos, &name)) {
            return false;
        }
        while (pos < line.size() && isBlank(line[pos]))
            ++pos;
        if (pos >= line.size() || line[pos] != QLatin1Char('='))
            return fail(r, QStringLiteral("\"=\" expected after the value name"));
        ++pos;
        while (pos < line.size() && isBlank(line[pos]))
            ++pos;
        const QStringView data = line.mid(pos);

        std::optional<RegValue> value;
        bool remove = false;
        if (data.startsWith(QLatin1Char('"'))) {
            QString text;
            qsizetype p = 0;
            if (!parseQuoted(r, data, p, &text))
                return false;
            if (!restIsBlank(data, p))
                return fail(r, QStringLiteral("text after the value"));
            value = RegValue::fromString(text);
        } else if (data.startsWith(QLatin1Char('-')) && restIsBlank(data, 1)) {
            remove = true;
        } else if (data.startsWith(QLatin1String("dword:"), Qt::CaseInsensitive)) {
            const auto v = parseHexNumber(data.mid(6).trimmed(), 8);
            if (!v)
                return fail(r, QStringLiteral("bad dword value"));
            value = RegValue::fromDword(*v);
        } else if (data.startsWith(QLatin1String("hex"), Qt::CaseInsensitive)) {
            value = parseHexValue(r, data.mid(3));
            if (!value)
                return false;
        } else {
            return fail(r, QStringLiteral("unknown value type"));
        }

        if (target_ != Target::Key)
            return true;
        if (remove)
            r.registry.deleteValue(key_, name);
        else
            r.registry.setValue(key_, name, *value);
        return true;
    }

    // After "hex": either ":" or "(n):", then comma-separated bytes, possibly continued on
    // the following lines by a trailing backslash.
    std::optional<RegValue> parseHexValue(RegParseResult& r, QStringView rest)
    {
        std::optional<quint32> kind;   // nullopt: plain "hex:"
        if (rest.startsWith(QLatin1Char('('))) {
            const qsizetype close = rest.indexOf(QLatin1Char(')'));
            if (close < 0) {
                fail(r, QStringLiteral("bad hex(n) type"));
                return std::nullopt;
            }
            kind = parseHexNumber(rest.mid(1, close - 1), 8);
            if (!kind || *kind > 0x7fffffffu) {
                fail(r, QStringLiteral("bad hex(n) type"));
                return std::nullopt;
            }
            rest = rest.mid(close + 1);
        }
        if (!rest.startsWith(QLatin1Char(':'))) {
            fail(r, QStringLiteral("\":\" expected after hex"));
            return std::nullopt;
        }
        rest = rest.mid(1);

        const qsizetype firstLine = current_;
        QString bytesText;
        QStringView piece = rest.trimmed();
        while (piece.endsWith(QLatin1Char('\\'))) {
            bytesText += piece.chopped(1);
            // A cut-off file often ends right after a backslash: the continuation must be
            // the next line and must not be blank.
            if (current_ + 1 >= lines_.size() || lines_[current_ + 1].trimmed().isEmpty()) {
                current_ = firstLine;
                fail(r, QStringLiteral("hex value not continued on the next line"));
                return std::nullopt;
            }
            ++current_;
            piece = lines_[current_].trimmed();
        }
        bytesText += piece;

        QByteArray bytes;
        const QStringView all(bytesText);
        const auto tokens = all.split(QLatin1Char(','));
        for (qsizetype i = 0; i < tokens.size(); ++i) {
            const QStringView t = tokens[i].trimmed();
            if (t.isEmpty() && i == tokens.size() - 1)
                break;   // nothing after the last comma (or no bytes at all)
            const auto b = parseHexNumber(t, 2);
            if (!b) {
                current_ = firstLine;
                fail(r, QStringLiteral("bad byte \"%1\" in hex value").arg(t.left(16).toString()));
                return std::nullopt;
            }
            bytes.append(char(*b));
        }
        return makeHexValue(kind, bytes);
    }

    RegValue makeHexValue(std::optional<quint32> kind, const QByteArray& bytes) const
    {
        if (!kind || *kind == 3)
            return RegValue::fromBinary(bytes);
        if (*kind == 4 && bytes.size() == 4) {
            const auto* u = reinterpret_cast<const uchar*>(bytes.constData());
            return RegValue::fromDword(quint32(u[0]) | quint32(u[1]) << 8 | quint32(u[2]) << 16
                                       | quint32(u[3]) << 24);
        }
        if (*kind == 1 && bytes.size() >= 2 && bytes.size() % 2 == 0 && bytes.endsWith(QByteArray(2, '\0'))) {
            // A plain string in hex form, as Windows stores it: UTF-16LE with a terminating
            // zero (our writer uses it for text with line breaks). Anything else is kept as
            // raw bytes, so that the reading does not depend on the file's header.
            return RegValue::fromString(decodeUtf16LE(QByteArrayView(bytes).chopped(2)));
        }
        RegValue v;
        v.type = RegType::Other;
        v.otherType = int(*kind);
        v.bytes = bytes;
        return v;
    }

    std::vector<QStringView> lines_;
    size_t current_ = 0;
    Target target_ = Target::None;
    QString key_;
};

bool hasLineBreak(const QString& s)
{
    return s.contains(QLatin1Char('\n')) || s.contains(QLatin1Char('\r'));
}

QByteArray quoted(const QString& s)
{
    QByteArray out = "\"";
    for (QChar c : s) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('"'))
            out += '\\';
        out += QString(c).toUtf8();
    }
    out += '"';
    return out;
}

// Bytes as regedit writes them: "xx,xx,..." with a backslash and a new line indented by two
// blanks once a line grows past 76 columns.
void appendHexBytes(QByteArray& out, qsizetype column, const QByteArray& bytes)
{
    static const char digits[] = "0123456789abcdef";
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = uchar(bytes[i]);
        out += digits[b >> 4];
        out += digits[b & 15];
        column += 2;
        if (i + 1 < bytes.size()) {
            out += ',';
            ++column;
            if (column > 76) {
                out += "\\\r\n  ";
                column = 2;
            }
        }
    }
}

} // namespace

RegParseResult parseRegText(const QByteArray& text)
{
    if (text.size() > kMaxRegText) {
        RegParseResult r;
        r.error = QStringLiteral("file too large (%1 bytes, at most %2 are read)").arg(text.size()).arg(kMaxRegText);
        return r;
    }
    const QString decoded = decodeTextFile(text);
    return Parser(decoded).run();
}

QByteArray formatRegText(const Registry& registry)
{
    QByteArray out = "REGEDIT4\r\n\r\n";
    for (const QString& key : registry.allKeys()) {
        // A line break cannot be written in a key or value name; such entries cannot come
        // from a .reg file and are left out rather than making the whole file unreadable.
        if (hasLineBreak(key))
            continue;
        out += "[HKEY_CURRENT_USER\\" + key.toUtf8() + "]\r\n";
        for (const QString& name : registry.valueNames(key)) {
            if (hasLineBreak(name))
                continue;
            const RegValue v = *registry.value(key, name);
            QByteArray line = name.isEmpty() ? QByteArray("@=") : quoted(name) + '=';
            switch (v.type) {
            case RegType::Dword:
                line += QByteArray("dword:") + QByteArray::number(v.dword, 16).rightJustified(8, '0');
                break;
            case RegType::String:
                if (hasLineBreak(v.text) || v.text.contains(QChar(0))) {
                    // Text with line breaks goes out as hex(1): UTF-16LE with a terminating
                    // zero, which parseRegText turns back into the string.
                    QByteArray utf16(reinterpret_cast<const char*>(v.text.utf16()), v.text.size() * 2);
                    utf16.append(2, '\0');
                    line += "hex(1):";
                    appendHexBytes(line, line.size(), utf16);
                } else {
                    line += quoted(v.text);
                }
                break;
            case RegType::Binary:
                line += "hex:";
                appendHexBytes(line, line.size(), v.bytes);
                break;
            case RegType::Other:
                line += "hex(" + QByteArray::number(v.otherType, 16) + "):";
                appendHexBytes(line, line.size(), v.bytes);
                break;
            }
            out += line + "\r\n";
        }
        out += "\r\n";
    }
    return out;
}

QString defaultRegistryPath()
{
    return configHome() + QStringLiteral("/Orlek/Pixmora/5.0/registry.reg");
}

RegParseResult readRegistryFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        RegParseResult failed;
        failed.error = file.errorString();
        return failed;
    }
    // One byte past the cap, so that a larger file is refused rather than read cut off.
    return parseRegText(file.read(kMaxRegText + 1));
}

RegLoadResult loadRegistryFile(const QString& path)
{
    RegLoadResult result;
    if (!QFileInfo::exists(path))
        return result;
    result.fileExisted = true;

    RegParseResult parsed = readRegistryFile(path);
    if (parsed.ok) {
        result.registry = std::move(parsed.registry);
        result.warnings = parsed.warnings;
        for (const QString& w : std::as_const(parsed.warnings))
            qWarning().noquote() << path << w;
        return result;
    }

    // Keep the unreadable file for the user to look at; the next save would otherwise
    // replace it.
    result.problem = parsed.error;
    // An older unreadable file keeps its name: the next free ".bad", ".bad.1", ... is taken.
    QString aside = path + QStringLiteral(".bad");
    for (int n = 1; QFileInfo::exists(aside) && n < 1000; ++n)
        aside = path + QStringLiteral(".bad.%1").arg(n);
    if (QFile::rename(path, aside))
        result.movedAsideTo = aside;
    else
        result.problem += QStringLiteral(" (could not be moved aside to %1)").arg(aside);
    return result;
}

bool saveRegistryFile(const Registry& registry, const QString& path, QString* error)
{
    return saveFileDurably(path, formatRegText(registry), error);
}

} // namespace px
