#include "app/LanguageFile.h"

#include "platform/TextDecoding.h"

#include <QFile>
#include <QStringDecoder>
#include <array>
#include <limits>
#include <unordered_map>

namespace px {

namespace {

// Blanks and control characters at both ends go; anything above the space stays (a
// no-break space in a value is the translator's choice).
QString trimBlanks(const QString& s)
{
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && s[begin].unicode() <= 0x20)
        ++begin;
    while (end > begin && s[end - 1].unicode() <= 0x20)
        --end;
    return (begin == 0 && end == s.size()) ? s : s.mid(begin, end - begin);
}

std::optional<qint64> parseDigits(QStringView digits, int base)
{
    if (digits.isEmpty())
        return std::nullopt;
    qint64 value = 0;
    for (const QChar ch : digits) {
        const char16_t c = ch.unicode();
        int d = -1;
        if (c >= u'0' && c <= u'9')
            d = c - u'0';
        else if (c >= u'a' && c <= u'f')
            d = c - u'a' + 10;
        else if (c >= u'A' && c <= u'F')
            d = c - u'A' + 10;
        if (d < 0 || d >= base)
            return std::nullopt;
        value = value * base + d;
        if (value > qint64(std::numeric_limits<quint32>::max()))
            return std::nullopt;
    }
    return value;
}

struct NamedValue {
    const char16_t* name;
    qint64 value;
};

constexpr qint64 sys(SystemColor c) { return qint64(kSystemColorFlag) | qint64(c); }
constexpr qint64 cur(CursorId c) { return qint64(c); }

constexpr NamedValue kNamedValues[] = {
    // Cursors.
    {u"crDefault", cur(CursorId::Default)}, {u"crNone", cur(CursorId::None)},
    {u"crArrow", cur(CursorId::Arrow)}, {u"crCross", cur(CursorId::Cross)},
    {u"crIBeam", cur(CursorId::IBeam)}, {u"crSize", cur(CursorId::SizeAll)},
    {u"crSizeNESW", cur(CursorId::SizeNESW)}, {u"crSizeNS", cur(CursorId::SizeNS)},
    {u"crSizeNWSE", cur(CursorId::SizeNWSE)}, {u"crSizeWE", cur(CursorId::SizeWE)},
    {u"crUpArrow", cur(CursorId::UpArrow)}, {u"crHourGlass", cur(CursorId::HourGlass)},
    {u"crDrag", cur(CursorId::Drag)}, {u"crNoDrop", cur(CursorId::NoDrop)},
    {u"crHSplit", cur(CursorId::HSplit)}, {u"crVSplit", cur(CursorId::VSplit)},
    {u"crMultiDrag", cur(CursorId::MultiDrag)}, {u"crSQLWait", cur(CursorId::SQLWait)},
    {u"crNo", cur(CursorId::No)}, {u"crAppStart", cur(CursorId::AppStart)},
    {u"crHelp", cur(CursorId::Help)}, {u"crHandPoint", cur(CursorId::HandPoint)},
    {u"crSizeAll", cur(CursorId::SizeAll)},
    // Colours, as TColor 0x00BBGGRR.
    {u"clBlack", 0x000000}, {u"clMaroon", 0x000080}, {u"clGreen", 0x008000},
    {u"clOlive", 0x008080}, {u"clNavy", 0x800000}, {u"clPurple", 0x800080},
    {u"clTeal", 0x808000}, {u"clGray", 0x808080}, {u"clSilver", 0xC0C0C0},
    {u"clRed", 0x0000FF}, {u"clLime", 0x00FF00}, {u"clYellow", 0x00FFFF},
    {u"clBlue", 0xFF0000}, {u"clFuchsia", 0xFF00FF}, {u"clAqua", 0xFFFF00},
    {u"clLtGray", 0xC0C0C0}, {u"clDkGray", 0x808080}, {u"clWhite", 0xFFFFFF},
    {u"clMoneyGreen", 0xC0DCC0}, {u"clSkyBlue", 0xF0CAA6}, {u"clCream", 0xF0FBFF},
    {u"clMedGray", 0xA4A0A0}, {u"clNone", kColorNone}, {u"clDefault", kColorDefault},
    // System colours.
    {u"clScrollBar", sys(SystemColor::ScrollBar)}, {u"clBackground", sys(SystemColor::Background)},
    {u"clActiveCaption", sys(SystemColor::ActiveCaption)},
    {u"clInactiveCaption", sys(SystemColor::InactiveCaption)}, {u"clMenu", sys(SystemColor::Menu)},
    {u"clWindow", sys(SystemColor::Window)}, {u"clWindowFrame", sys(SystemColor::WindowFrame)},
    {u"clMenuText", sys(SystemColor::MenuText)}, {u"clWindowText", sys(SystemColor::WindowText)},
    {u"clCaptionText", sys(SystemColor::CaptionText)},
    {u"clActiveBorder", sys(SystemColor::ActiveBorder)},
    {u"clInactiveBorder", sys(SystemColor::InactiveBorder)},
    {u"clAppWorkSpace", sys(SystemColor::AppWorkSpace)}, {u"clHighlight", sys(SystemColor::Highlight)},
    {u"clHighlightText", sys(SystemColor::HighlightText)}, {u"clBtnFace", sys(SystemColor::BtnFace)},
    {u"clBtnShadow", sys(SystemColor::BtnShadow)}, {u"clGrayText", sys(SystemColor::GrayText)},
    {u"clBtnText", sys(SystemColor::BtnText)},
    {u"clInactiveCaptionText", sys(SystemColor::InactiveCaptionText)},
    {u"clBtnHighlight", sys(SystemColor::BtnHighlight)}, {u"cl3DDkShadow", sys(SystemColor::DkShadow3D)},
    {u"cl3DLight", sys(SystemColor::Light3D)}, {u"clInfoText", sys(SystemColor::InfoText)},
    {u"clInfoBk", sys(SystemColor::InfoBk)}, {u"clHotLight", sys(SystemColor::HotLight)},
    {u"clGradientActiveCaption", sys(SystemColor::GradientActiveCaption)},
    {u"clGradientInactiveCaption", sys(SystemColor::GradientInactiveCaption)},
    {u"clMenuHighlight", sys(SystemColor::MenuHighlight)}, {u"clMenuBar", sys(SystemColor::MenuBar)},
    // Character sets.
    {u"ANSI_CHARSET", 0}, {u"DEFAULT_CHARSET", 1}, {u"SYMBOL_CHARSET", 2}, {u"MAC_CHARSET", 77},
    {u"SHIFTJIS_CHARSET", 128}, {u"HANGEUL_CHARSET", 129}, {u"JOHAB_CHARSET", 130},
    {u"GB2312_CHARSET", 134}, {u"CHINESEBIG5_CHARSET", 136}, {u"GREEK_CHARSET", 161},
    {u"TURKISH_CHARSET", 162}, {u"VIETNAMESE_CHARSET", 163}, {u"HEBREW_CHARSET", 177},
    {u"ARABIC_CHARSET", 178}, {u"BALTIC_CHARSET", 186}, {u"RUSSIAN_CHARSET", 204},
    {u"THAI_CHARSET", 222}, {u"EASTEUROPE_CHARSET", 238}, {u"OEM_CHARSET", 255},
};

} // namespace

QString LanguageSectionName(int languageNumber)
{
    switch (languageNumber) {
    case 1: return QStringLiteral("english");
    case 2: return QStringLiteral("italian");
    case 3: return QStringLiteral("espaniol");
    case 4: return QStringLiteral("france");
    default: return QStringLiteral("german");
    }
}

QStringList DecodeLanguageText(QByteArrayView bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    const QString text = decodeEightBit(bytes);

    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (ch != u'\n' && ch != u'\r')
            continue;
        lines.append(text.mid(start, i - start));
        if (ch == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.mid(start));
    return lines;
}

std::optional<QStringList> LoadLanguageFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    if (file.size() > kMaxLanguageFileBytes)
        return std::nullopt;
    // Read one byte past the cap so that a file growing while it is read is refused too.
    const QByteArray bytes = file.read(kMaxLanguageFileBytes + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() > kMaxLanguageFileBytes)
        return std::nullopt;
    return DecodeLanguageText(bytes);
}

bool ScriptHasLine(const QStringList& script, const QString& line)
{
    for (const QString& l : script)
        if (trimBlanks(l) == line)
            return true;
    return false;
}

std::vector<LanguageEntry> SectionEntries(const QStringList& script, const QString& language)
{
    std::vector<LanguageEntry> entries;
    const QString wanted = language.toLower();
    if (wanted.isEmpty())
        return entries;
    bool inWantedSection = false;   // lines before the first header belong to no section
    for (const QString& raw : script) {
        const QString line = trimBlanks(raw);
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[')) {
            const qsizetype close = line.indexOf(u']');
            const QString name = close < 0 ? QString() : line.mid(1, close - 1);
            inWantedSection = name.toLower() == wanted;
            continue;
        }
        if (!inWantedSection)
            continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0)
            continue;
        LanguageEntry entry{trimBlanks(line.left(eq)), trimBlanks(line.mid(eq + 1))};
        QString& v = entry.value;
        if (v.size() > 1 && v.startsWith(u'\'') && v.endsWith(u'\''))
            v = v.mid(1, v.size() - 2);
        v.replace(QStringLiteral("\\n"), QStringLiteral("\n"));
        entries.push_back(std::move(entry));
    }
    return entries;
}

QString LookupEntry(const std::vector<LanguageEntry>& entries, const QString& key)
{
    for (const LanguageEntry& e : entries)
        if (e.name == key)
            return e.value;
    return QString();
}

std::optional<qint64> LanguageIntegerValue(const QString& text)
{
    const QStringView t(text);
    if (t.isEmpty())
        return std::nullopt;
    if (t.startsWith(u'$') || t.startsWith(u'#'))
        return parseDigits(t.sliced(1), 16);
    if (t.front() == u'-' || t.front() == u'+' || t.front().isDigit()) {
        const bool negative = t.front() == u'-';
        const auto magnitude = parseDigits(t.front().isDigit() ? t : t.sliced(1), 10);
        if (!magnitude)
            return std::nullopt;
        if (negative) {
            if (*magnitude > -qint64(std::numeric_limits<qint32>::min()))
                return std::nullopt;
            return -*magnitude;
        }
        return magnitude;
    }
    for (const NamedValue& nv : kNamedValues)
        if (t.compare(QStringView(nv.name), Qt::CaseInsensitive) == 0)
            return nv.value;
    return std::nullopt;
}

} // namespace px
