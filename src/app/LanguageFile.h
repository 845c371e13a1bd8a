#pragma once
// The language file (Templates/Languages.lng): its bytes, its sections and entries, and the
// integer values its entries may give. Window-free; TMultiLanguage and the widget layer build
// on it.
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace px {

// Section names by language number: 0 "german", 1 "english", 2 "italian", 3 "espaniol",
// 4 "france"; any other number "german".
QString LanguageSectionName(int languageNumber);

// Language files larger than this are refused as unreadable.
inline constexpr qint64 kMaxLanguageFileBytes = 8 * 1024 * 1024;

// The text of a language file: UTF-8 when the bytes are valid UTF-8 (a leading byte-order
// mark is skipped), else Windows-1252, split into lines at CR LF, LF or a lone CR.
QStringList DecodeLanguageText(QByteArrayView bytes);

// Reads and decodes a language file. nullopt when it is missing, unreadable or larger than
// kMaxLanguageFileBytes.
std::optional<QStringList> LoadLanguageFile(const QString& path);

// Whether the script has this exact line (after trimming blanks), e.g. "[italian]".
bool ScriptHasLine(const QStringList& script, const QString& line);

struct LanguageEntry {
    QString name;
    QString value;
    friend bool operator==(const LanguageEntry&, const LanguageEntry&) = default;
};

// The entries of the section whose name equals language (both compared in lower case), in
// file order. Lines are trimmed; empty lines and ";" comments are ignored; "[" opens a
// section named up to the first "]" (no "]": an empty name). Entries before the first
// section header belong to no section and are never returned; an empty language selects
// nothing. An entry is split at its first "="; name and value are trimmed, a value longer
// than one character loses enclosing "'" quotes, and every "\n" in it becomes a line break.
std::vector<LanguageEntry> SectionEntries(const QStringList& script, const QString& language);

// The value of the first entry named key (compared exactly), else an empty text.
QString LookupEntry(const std::vector<LanguageEntry>& entries, const QString& key);

// An integer value as language entries write it: decimal ("-21"), "$" hexadecimal ("$FF"),
// "#" hexadecimal read as the raw TColor ("#0000FF" is red), a cursor name ("crHandPoint",
// the program's cursor numbers), a colour name ("clBlue", "clBtnFace": system colours carry
// kSystemColorFlag and their index), or a character-set name ("ANSI_CHARSET"). Values must
// fit 32 bits (signed or unsigned). nullopt when the text is none of these.
std::optional<qint64> LanguageIntegerValue(const QString& text);

// Colour values with this high byte name a system colour by its index in the low byte.
inline constexpr quint32 kSystemColorFlag = 0xFF000000u;
// "No colour" and "the control's default colour".
inline constexpr quint32 kColorNone = 0x1FFFFFFFu;
inline constexpr quint32 kColorDefault = 0x20000000u;

// The program's cursor numbers (the values the cr… names stand for).
enum class CursorId : int {
    Default = 0, None = -1, Arrow = -2, Cross = -3, IBeam = -4, SizeNESW = -6, SizeNS = -7,
    SizeNWSE = -8, SizeWE = -9, UpArrow = -10, HourGlass = -11, Drag = -12, NoDrop = -13,
    HSplit = -14, VSplit = -15, MultiDrag = -16, SQLWait = -17, No = -18, AppStart = -19,
    Help = -20, HandPoint = -21, SizeAll = -22,
};

// The system colour indices the cl… names stand for (the low byte of a system colour value).
enum class SystemColor : int {
    ScrollBar = 0, Background = 1, ActiveCaption = 2, InactiveCaption = 3, Menu = 4,
    Window = 5, WindowFrame = 6, MenuText = 7, WindowText = 8, CaptionText = 9,
    ActiveBorder = 10, InactiveBorder = 11, AppWorkSpace = 12, Highlight = 13,
    HighlightText = 14, BtnFace = 15, BtnShadow = 16, GrayText = 17, BtnText = 18,
    InactiveCaptionText = 19, BtnHighlight = 20, DkShadow3D = 21, Light3D = 22, InfoText = 23,
    InfoBk = 24, HotLight = 26, GradientActiveCaption = 27, GradientInactiveCaption = 28,
    MenuHighlight = 29, MenuBar = 30,
};

} // namespace px
