// The language file: how its bytes are read, how a section's entries are picked out, and the
// integer values entries may give.
#include "app/LanguageFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <ostream>

// Readable failure messages.
void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

using namespace px;

namespace {

QStringList lines(std::initializer_list<const char*> raw)
{
    QStringList out;
    for (const char* l : raw)
        out << QString::fromUtf8(l);
    return out;
}

} // namespace

struct LookupCase {
    const char* what;
    QStringList script;
    const char* language;
    const char* key;
    const char* expected;
};

TEST(LanguageFile, SectionSelectionAndEntryGrammar)
{
    const LookupCase cases[] = {
        {"section names ignore case", lines({"[German]", "a=Datei"}), "german", "a", "Datei"},
        {"the language name ignores case", lines({"[german]", "a=Datei"}), "GERMAN", "a", "Datei"},
        {"keys are case-sensitive", lines({"[german]", "Showmsg_nofileload=x"}), "german", "showmsg_nofileload", ""},
        {"outer quotes only", lines({"[german]", "Caption = 'it''s'"}), "german", "Caption", "it''s"},
        {"a lone quote stays", lines({"[german]", "q = '"}), "german", "q", "'"},
        {"an unbalanced quote stays", lines({"[german]", "q = 'open"}), "german", "q", "'open"},
        {"two quotes make an empty text", lines({"[german]", "q = ''"}), "german", "q", ""},
        {"\\n is a line break", lines({"[german]", "Hint = 'line one\\nline two'"}), "german", "Hint",
         "line one\nline two"},
        {"first = splits, blanks trimmed", lines({"  [german]  ", "\t k = a = b \t"}), "german", "k", "a = b"},
        {"entry before any section", lines({"k=stray", "[german]", "x=1"}), "german", "k", ""},
        {"other sections are not read", lines({"[english]", "k=File", "[german]", "x=1"}), "german", "k", ""},
        {"header without ] ends the section", lines({"[german]", "[english", "k=File"}), "german", "k", ""},
        {"header without ] is no language", lines({"[english", "k=File"}), "english", "k", ""},
        {"name ends at the first ]", lines({"[german]x]", "k=1"}), "german", "k", "1"},
        {"comments are skipped", lines({"[german]", " ; k=no", "k=yes"}), "german", "k", "yes"},
        {"a line without = has no effect", lines({"[german]", "k", "k=yes"}), "german", "k", "yes"},
        {"the first entry answers a lookup", lines({"[german]", "k=first", "k=second"}), "german", "k", "first"},
        {"a section may appear twice", lines({"[german]", "a=1", "[english]", "[german]", "k=2"}), "german", "k", "2"},
        {"an empty language selects nothing", lines({"[", "k=1"}), "", "k", ""},
    };
    for (const LookupCase& c : cases) {
        const auto entries = SectionEntries(c.script, QString::fromUtf8(c.language));
        EXPECT_EQ(LookupEntry(entries, QString::fromUtf8(c.key)), QString::fromUtf8(c.expected)) << c.what;
    }
}

TEST(LanguageFile, EntriesKeepFileOrderAndDuplicates)
{
    const auto entries = SectionEntries(lines({"[german]", "b=1", "a=2", "b=3", "=4"}), QStringLiteral("german"));
    const std::vector<LanguageEntry> expected{{"b", "1"}, {"a", "2"}, {"b", "3"}, {"", "4"}};
    EXPECT_EQ(entries, expected);
}

TEST(LanguageFile, SectionNamesByLanguageNumber)
{
    const std::pair<int, const char*> cases[] = {
        {0, "german"}, {1, "english"}, {2, "italian"}, {3, "espaniol"}, {4, "france"},
        {5, "german"}, {-1, "german"},
    };
    for (const auto& [number, name] : cases)
        EXPECT_EQ(LanguageSectionName(number), QString::fromUtf8(name)) << number;
}

TEST(LanguageFile, ScriptHasLineMatchesWholeTrimmedLines)
{
    const QStringList script = lines({"[german]", "  [italian]\t", "x=[france]", "[Espaniol]"});
    EXPECT_TRUE(ScriptHasLine(script, QStringLiteral("[italian]")));
    EXPECT_FALSE(ScriptHasLine(script, QStringLiteral("[france]")));
    EXPECT_FALSE(ScriptHasLine(script, QStringLiteral("[espaniol]")));
}

TEST(LanguageFile, DecodesUtf8WithOrWithoutBomAndAnyLineEnd)
{
    const QStringList expected{QStringLiteral("[german]"), QStringLiteral("a=Größe"), QString(), QStringLiteral("b=€")};
    EXPECT_EQ(DecodeLanguageText("[german]\r\na=Gr\xC3\xB6\xC3\x9F" "e\n\rb=\xE2\x82\xAC"), expected);
    EXPECT_EQ(DecodeLanguageText("\xEF\xBB\xBF[german]\na=Gr\xC3\xB6\xC3\x9F" "e\n\nb=\xE2\x82\xAC\r\n"), expected);
    EXPECT_TRUE(DecodeLanguageText("").isEmpty());
}

TEST(LanguageFile, DecodesSingleByteFilesAsWindows1252)
{
    // 0x80..0x9F are the Windows code page's own characters, not C1 controls; the rest is
    // Latin-1. The undefined 0x81 stays U+0081.
    const QStringList text = DecodeLanguageText("a=\x80\x84\x85\x8C\x92\x93\x96\x97\x99\x9A\x9F\x81 \xE4\xF6\xFC\xDF");
    ASSERT_EQ(text.size(), 1);
    EXPECT_EQ(text[0], QStringLiteral("a=€„…Œ’“–—™šŸ\u0081 äöüß"));
}

TEST(LanguageFile, LoadsFilesAndRefusesMissingOrOversizedOnes)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Languages.lng"));
    EXPECT_FALSE(LoadLanguageFile(path).has_value());

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[german]\r\nk=M\xE4rz\r\n");
    file.close();
    const auto loaded = LoadLanguageFile(path);
    ASSERT_TRUE(loaded.has_value());
    EXPECT_EQ(*loaded, (QStringList{QStringLiteral("[german]"), QStringLiteral("k=März")}));

    ASSERT_TRUE(file.resize(kMaxLanguageFileBytes + 1));
    EXPECT_FALSE(LoadLanguageFile(path).has_value());

    EXPECT_FALSE(LoadLanguageFile(dir.path()).has_value()) << "a folder is no file";
}

TEST(LanguageFile, IntegerValuesInEveryNotation)
{
    const std::pair<const char*, qint64> good[] = {
        {"42", 42}, {"-21", -21}, {"+7", 7}, {"$FF", 255}, {"$ffffffff", 0xFFFFFFFF},
        {"#0000FF", 0x0000FF}, {"#00ff00", 0x00FF00}, {"-2147483648", -2147483648LL},
        {"crHandPoint", -21}, {"CRDEFAULT", 0}, {"crSizeAll", -22},
        {"clBlue", 0xFF0000}, {"clred", 0x0000FF}, {"clBtnFace", 0xFF00000F}, {"clNone", 0x1FFFFFFF},
        {"ANSI_CHARSET", 0}, {"DEFAULT_CHARSET", 1}, {"SYMBOL_CHARSET", 2}, {"OEM_CHARSET", 255},
    };
    for (const auto& [text, value] : good)
        EXPECT_EQ(LanguageIntegerValue(QString::fromUtf8(text)), std::optional<qint64>(value)) << text;

    const char* bad[] = {"", "$", "#", "-", "12abc", "$G1", "#0000FFZ", "1.5", "4294967296", "-2147483649",
                         "$100000000", "clNotAColour", "crSomething", "- 5", "٣"};
    for (const char* text : bad)
        EXPECT_FALSE(LanguageIntegerValue(QString::fromUtf8(text)).has_value()) << text;
}
