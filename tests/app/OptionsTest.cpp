// Loading, saving and defaults of the Options key, driven by the option table.
#include "app/ProgramOptions.h"
#include "platform/RegFile.h"

#include <QDir>
#include <array>
#include <QSet>
#include <gtest/gtest.h>

using namespace px;

namespace {

const QSet<QString> kViewValues{"Loupe", "Stretch", "DocCenter", "FocusMode", "Trans"};

bool sameMember(const ProgramOptions& a, const ProgramOptions& b, const OptionRow& row)
{
    return std::visit([&](auto member) { return a.*member == b.*member; }, row.member);
}

// A value that differs from the row's default, distinct per row; every third number negative.
void setNonDefault(ProgramOptions& o, const OptionRow& row, int index)
{
    switch (row.type) {
    case OptionType::Bool: {
        bool& v = o.*std::get<bool ProgramOptions::*>(row.member);
        v = !std::get<bool>(row.defaultValue);
        break;
    }
    case OptionType::Int:
        o.*std::get<int ProgramOptions::*>(row.member) = (index % 3 == 0 ? -1 : 1) * (1000 + index);
        break;
    case OptionType::Str:
        o.*std::get<QString ProgramOptions::*>(row.member) =
            QStringLiteral("Wert \"%1\" C:\\Bilder\\ü€ %2").arg(QLatin1String(row.name)).arg(index);
        break;
    case OptionType::Bin: {
        QByteArray bytes;
        for (int i = 0; i < kShellExtArSize; ++i)
            bytes.append(char(0x80 + i + index));
        o.*std::get<QByteArray ProgramOptions::*>(row.member) = bytes;
        break;
    }
    }
}

ProgramOptions nonDefaultOptions()
{
    ProgramOptions o = DefaultOptions();
    int index = 0;
    for (const OptionRow& row : OptionTable())
        setNonDefault(o, row, index++);
    return o;
}

// What the main window does at exit: the whole record, then the five view values one by one.
void saveAsAtExit(Registry& reg, const ProgramOptions& o)
{
    SaveOptions(reg, o);
    for (const QString& name : kViewValues) {
        const OptionRow* row = findOption(name);
        ASSERT_NE(row, nullptr) << name.toStdString();
        QString error;
        ASSERT_TRUE(WriteOptionValue(reg, name, o.*std::get<bool ProgramOptions::*>(row->member), &error))
            << error.toStdString();
    }
}

void expectRowsEqual(const ProgramOptions& actual, const ProgramOptions& expected)
{
    for (const OptionRow& row : OptionTable())
        EXPECT_TRUE(sameMember(actual, expected, row)) << row.name;
}

RegType registryTypeOf(OptionType t)
{
    switch (t) {
    case OptionType::Bool:
    case OptionType::Int: return RegType::Dword;
    case OptionType::Str: return RegType::String;
    case OptionType::Bin: return RegType::Binary;
    }
    return RegType::Other;
}

} // namespace

TEST(OptionTable, RowsAreConsistent)
{
    QSet<QString> names;
    QSet<QString> separate;
    const auto& table = OptionTable();
    for (std::size_t i = 0; i < table.size(); ++i) {
        const OptionRow& row = table[i];
        SCOPED_TRACE(row.name);
        EXPECT_FALSE(names.contains(QString::fromLatin1(row.name).toLower())) << "duplicate name";
        names.insert(QString::fromLatin1(row.name).toLower());
        EXPECT_EQ(row.member.index(), std::size_t(row.type));
        EXPECT_EQ(row.defaultValue.index(), std::size_t(row.type));
        for (std::size_t j = 0; j < i; ++j)
            EXPECT_FALSE(table[j].member == row.member) << "same member as " << table[j].name;
        if (row.writtenSeparately)
            separate.insert(QString::fromLatin1(row.name));
        EXPECT_EQ(findOption(QString::fromLatin1(row.name).toUpper()), &row);
    }
    EXPECT_EQ(separate, kViewValues);
    EXPECT_EQ(findOption("NoSuchValue"), nullptr);
}

TEST(OptionDefaults, MemberInitialisersMatchTheTable)
{
    expectRowsEqual(ProgramOptions{}, DefaultOptions());
}

TEST(LoadOptions, FirstStartGivesTheDefaultsAndCreatesNothing)
{
    const Registry reg;
    const OptionsLoadResult r = LoadOptions(reg);
    EXPECT_FALSE(r.keyExisted);
    EXPECT_FALSE(reg.keyExists(optionsKey()));
    const ProgramOptions& o = r.options;
    EXPECT_EQ(o.ScanDelay, 240);
    EXPECT_TRUE(o.TnaUse);
    EXPECT_EQ((std::array{o.HK1, o.HK2, o.HK3, o.HK4, o.HK5, o.HK6}), (std::array{0, 2, 3, 4, 5, 1}));
    EXPECT_TRUE(o.IsAutoincFileName);
    EXPECT_FALSE(o.IsDateTimeToFile);
    EXPECT_TRUE(o.Loupe);
    EXPECT_EQ(o.ScanPerSec, 0);
    EXPECT_EQ(o.TimeScanCount, 5);
    EXPECT_EQ(o.BmpPixForm, 6);
    EXPECT_EQ(o.AviTimerIntrv, 1000);
    EXPECT_EQ(o.FontName, "MS Sans Serif");
    EXPECT_EQ(o.PrTextFont, "Arial");
    EXPECT_EQ(o.MapiSubject, "Pixmora 5.0 - Screenshot");
    EXPECT_EQ(o.MapiBody, "Guten Tag,");
    EXPECT_FALSE(o.MapiMailTo.isEmpty());
    EXPECT_EQ(o.ShellExtAr, QByteArray(9, '\0'));
    EXPECT_TRUE(o.OutDir.isEmpty());
    const QString home = QDir::toNativeSeparators(QDir::homePath());
    EXPECT_TRUE(o.ImgPath == home + "/" || (home.endsWith('/') && o.ImgPath == home)) << o.ImgPath.toStdString();
}

TEST(SaveLoad, EveryValueSurvivesAnExitAndTheSettingsFile)
{
    const ProgramOptions saved = nonDefaultOptions();
    for (const OptionRow& row : OptionTable())
        ASSERT_FALSE(sameMember(saved, DefaultOptions(), row)) << row.name << " kept its default";

    Registry reg;
    saveAsAtExit(reg, saved);

    // The key holds every value of the table, each with its registry type.
    QSet<QString> stored;
    for (const QString& name : reg.valueNames(optionsKey()))
        stored.insert(name);
    QSet<QString> expected;
    for (const OptionRow& row : OptionTable()) {
        expected.insert(QString::fromLatin1(row.name));
        const auto v = reg.value(optionsKey(), QString::fromLatin1(row.name));
        ASSERT_TRUE(v.has_value()) << row.name;
        EXPECT_EQ(v->type, registryTypeOf(row.type)) << row.name;
    }
    EXPECT_EQ(stored, expected);

    // A later start reads them all back, also after a trip through the settings file.
    const RegParseResult reread = parseRegText(formatRegText(reg));
    ASSERT_TRUE(reread.ok) << reread.error.toStdString();
    for (const Registry* source : {static_cast<const Registry*>(&reg), &reread.registry}) {
        const OptionsLoadResult r = LoadOptions(*source);
        EXPECT_TRUE(r.keyExisted);
        expectRowsEqual(r.options, saved);
        EXPECT_TRUE(r.options == saved);
    }
}

TEST(SaveOptions, LeavesTheFiveViewValuesToTheirOwnWrites)
{
    Registry reg;
    reg.writeBool(optionsKey(), "Loupe", false);
    ProgramOptions o;
    o.Loupe = true;
    o.Stretch = true;
    SaveOptions(reg, o);
    EXPECT_EQ(reg.readBool(optionsKey(), "Loupe"), false);
    for (const char* name : {"Stretch", "DocCenter", "FocusMode", "Trans"})
        EXPECT_FALSE(reg.value(optionsKey(), name).has_value()) << name;
    EXPECT_TRUE(reg.value(optionsKey(), "PersSave").has_value());
}

TEST(LoadOptions, AMissingValueKeepsItsOwnDefault)
{
    const ProgramOptions saved = nonDefaultOptions();
    Registry full;
    saveAsAtExit(full, saved);
    const ProgramOptions defaults = DefaultOptions();
    for (const OptionRow& gap : OptionTable()) {
        SCOPED_TRACE(gap.name);
        Registry reg = full;
        ASSERT_TRUE(reg.deleteValue(optionsKey(), QString::fromLatin1(gap.name)));
        const OptionsLoadResult r = LoadOptions(reg);
        EXPECT_TRUE(r.keyExisted);
        for (const OptionRow& row : OptionTable()) {
            const ProgramOptions& expected = (&row == &gap) ? defaults : saved;
            EXPECT_TRUE(sameMember(r.options, expected, row)) << row.name;
        }
    }
}

TEST(LoadOptions, AValueOfAnotherRegistryTypeKeepsItsDefault)
{
    Registry reg;
    SaveOptions(reg, nonDefaultOptions());
    for (const OptionRow& row : OptionTable()) {
        const QString name = QString::fromLatin1(row.name);
        // A string where a number, flag or bytes belong; a number where text belongs.
        reg.setValue(optionsKey(), name,
                     row.type == OptionType::Str ? RegValue::fromDword(7) : RegValue::fromString("7"));
    }
    const OptionsLoadResult r = LoadOptions(reg);
    EXPECT_TRUE(r.keyExisted);
    expectRowsEqual(r.options, DefaultOptions());
}

TEST(LoadOptions, StoredNumbersAreTakenAsTheyAre)
{
    struct Case { const char* name; quint32 dword; int expected; };
    const Case cases[] = {
        {"ScanDelay", 0xFFFFFFFBu, -5},  // a negative number kept as its two's complement
        {"ScanTool", 99, 99},            // out of range: not clamped here
        {"BackColr", 50, 50},
        {"AnimCount", 0x7FFFFFFFu, 0x7FFFFFFF},
    };
    Registry reg;
    for (const Case& c : cases)
        reg.setValue(optionsKey(), c.name, RegValue::fromDword(c.dword));
    const ProgramOptions o = LoadOptions(reg).options;
    for (const Case& c : cases)
        EXPECT_EQ(o.*std::get<int ProgramOptions::*>(findOption(c.name)->member), c.expected) << c.name;

    // And a negative number is written back as the same DWORD.
    Registry out;
    SaveOptions(out, o);
    EXPECT_EQ(out.value(optionsKey(), "ScanDelay")->dword, 0xFFFFFFFBu);
}

TEST(LoadOptions, AnyNonZeroDwordIsTrue)
{
    const std::pair<quint32, bool> cases[] = {{0, false}, {1, true}, {2, true}, {0xFFFFFFFFu, true}};
    for (const auto& [dword, expected] : cases) {
        Registry reg;
        reg.setValue(optionsKey(), "PersSave", RegValue::fromDword(dword));
        reg.setValue(optionsKey(), "TnaUse", RegValue::fromDword(dword));
        const ProgramOptions o = LoadOptions(reg).options;
        EXPECT_EQ(o.PersSave, expected) << dword;
        EXPECT_EQ(o.TnaUse, expected) << dword;
    }
}

TEST(ShellExtAr, ReadsUpToNineBytesAndIsWrittenAsNine)
{
    struct Case { QByteArray stored; QByteArray expected; };
    const Case cases[] = {
        {QByteArray("\x01\x02\x03", 3), QByteArray("\x01\x02\x03\0\0\0\0\0\0", 9)},
        {QByteArray("123456789ABC"), QByteArray("123456789")},
        {QByteArray(), QByteArray(9, '\0')},
    };
    for (const Case& c : cases) {
        Registry reg;
        reg.writeBinary(optionsKey(), "ShellExtAr", c.stored);
        EXPECT_EQ(LoadOptions(reg).options.ShellExtAr, c.expected) << c.stored.toHex().toStdString();
    }

    for (const QByteArray& member : {QByteArray("\x05", 1), QByteArray(20, '\x07')}) {
        ProgramOptions o;
        o.ShellExtAr = member;
        Registry reg;
        SaveOptions(reg, o);
        const auto bytes = reg.readBinary(optionsKey(), "ShellExtAr");
        ASSERT_TRUE(bytes.has_value());
        EXPECT_EQ(bytes->size(), 9);
        EXPECT_EQ(bytes->left(1), member.left(1));
    }
}

TEST(WriteOptionValue, WritesOneFlagIntoANewKey)
{
    Registry reg;
    ASSERT_TRUE(WriteOptionValue(reg, "Stretch", true));
    EXPECT_EQ(reg.value(optionsKey(), "Stretch"), RegValue::fromDword(1));
    EXPECT_EQ(reg.valueNames(optionsKey()), QStringList{"Stretch"});
    ASSERT_TRUE(WriteOptionValue(reg, "Stretch", false));
    EXPECT_EQ(reg.value(optionsKey(), "Stretch"), RegValue::fromDword(0));

    // The key now exists: the rest of the record falls back to its defaults.
    const OptionsLoadResult r = LoadOptions(reg);
    EXPECT_TRUE(r.keyExisted);
    EXPECT_TRUE(r.options == DefaultOptions());
}

TEST(WriteOptionValue, RefusesNamesThatAreNoFlagOfTheTable)
{
    Registry reg;
    reg.writeInteger(optionsKey(), "ScanDelay", 600);
    for (const char* name : {"ScanDelay", "OutDir", "ShellExtAr", "NoSuchValue"}) {
        QString error;
        EXPECT_FALSE(WriteOptionValue(reg, name, true, &error)) << name;
        EXPECT_TRUE(error.contains(name)) << error.toStdString();
    }
    EXPECT_EQ(reg.readInteger(optionsKey(), "ScanDelay"), 600);
    EXPECT_EQ(reg.valueNames(optionsKey()), QStringList{"ScanDelay"});
}
