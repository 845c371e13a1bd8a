#include "platform/RegFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace px;

namespace {

const QString kOptions = QStringLiteral("Software\\Orlek\\Pixmora\\5.0\\Options");

QString fixture(const char* name)
{
    return QStringLiteral(PIXMORA_TEST_DATA "/registry/") + QLatin1String(name);
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

Registry sampleHive()
{
    Registry reg;
    reg.setValue(kOptions, "Zero", RegValue::fromDword(0));
    reg.setValue(kOptions, "Max", RegValue::fromDword(0xffffffffu));
    reg.writeString(kOptions, "OutDir", "C:\\Bilder \"neu\"\\");
    reg.writeString(kOptions, "Umlaut", QString::fromUtf8("Grüße ÄÖÜ € 日本"));
    reg.writeString(kOptions, "Empty", "");
    reg.writeString(kOptions, "SmtpBody", "Guten Tag,\r\n\r\nhier ist\nder Anhang\r");
    reg.writeString(kOptions, "WithNul", QString("a") + QChar(0) + "b");
    reg.writeString(kOptions, "", "default value");
    reg.writeString(kOptions, "Name \"with\" \\ quotes", "x");
    reg.writeBinary(kOptions, "ShellExtAr", QByteArray(9, '\0'));
    reg.writeBinary(kOptions, "NoBytes", QByteArray());
    QByteArray big;
    for (int i = 0; i < 300; ++i)
        big.append(char(i * 7));
    reg.writeBinary("Software\\Orlek\\Pixmora\\5.0\\GUI\\LeftDockPanel", "DataStream", big);
    RegValue multi;
    multi.type = RegType::Other;
    multi.otherType = 7;
    multi.bytes = QByteArray("a\0b\0\0", 5);
    reg.setValue("Software\\Orlek\\Pixmora\\5.0\\GUI", "Multi", multi);
    reg.createKey("Software\\Orlek\\Pixmora\\5.0\\Empty Key");
    return reg;
}

} // namespace

TEST(RegFile, RoundTripKeepsEveryValueExactly)
{
    const Registry original = sampleHive();
    const QByteArray text = formatRegText(original);
    const RegParseResult parsed = parseRegText(text);
    ASSERT_TRUE(parsed.ok) << parsed.error.toStdString();
    EXPECT_TRUE(parsed.registry == original);
    EXPECT_TRUE(parsed.warnings.isEmpty());
    EXPECT_EQ(formatRegText(parsed.registry), text);
}

TEST(RegFile, WritesTheLayoutRegeditWrites)
{
    Registry reg;
    reg.setValue("Software\\Orlek\\Pixmora\\5.0\\Options", "ScanDelay", RegValue::fromDword(0xF0));
    reg.writeString("Software\\Orlek\\Pixmora\\5.0\\Options", "OutDir", "C:\\x");
    QByteArray bytes;
    for (int i = 0; i < 30; ++i)
        bytes.append(char(i));
    reg.writeBinary("Software\\Orlek\\Pixmora\\5.0\\Options", "ShellExtAr", bytes);

    const QByteArray expected =
        "REGEDIT4\r\n"
        "\r\n"
        "[HKEY_CURRENT_USER\\Software]\r\n"
        "\r\n"
        "[HKEY_CURRENT_USER\\Software\\Orlek]\r\n"
        "\r\n"
        "[HKEY_CURRENT_USER\\Software\\Orlek\\Pixmora]\r\n"
        "\r\n"
        "[HKEY_CURRENT_USER\\Software\\Orlek\\Pixmora\\5.0]\r\n"
        "\r\n"
        "[HKEY_CURRENT_USER\\Software\\Orlek\\Pixmora\\5.0\\Options]\r\n"
        "\"ScanDelay\"=dword:000000f0\r\n"
        "\"OutDir\"=\"C:\\\\x\"\r\n"
        "\"ShellExtAr\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,\\\r\n"
        "  14,15,16,17,18,19,1a,1b,1c,1d\r\n"
        "\r\n";
    EXPECT_EQ(formatRegText(reg), expected);
}

TEST(RegFile, LongBinaryLinesStayWithinEightyColumns)
{
    const QByteArray text = formatRegText(sampleHive());
    for (const QByteArray& line : text.split('\n'))
        EXPECT_LE(line.size(), 81) << line.constData();   // 80 columns and the CR
}

TEST(RegFile, ReadsAWindowsExportInLatin1WithCrLf)
{
    const RegParseResult r = parseRegText(readAll(fixture("windows-export-latin1.reg")));
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    const Registry& reg = r.registry;
    EXPECT_EQ(reg.readInteger(kOptions, "ScanDelay"), 240);
    EXPECT_EQ(reg.readBool(kOptions, "PersSave"), true);
    EXPECT_EQ(reg.readString(kOptions, "OutDir"), QString::fromUtf8("C:\\Bilder für Ärger \"neu\""));
    EXPECT_EQ(reg.readString(kOptions, "ImgPath"), "c:\\");
    EXPECT_EQ(reg.readString(kOptions, ""), "Standard");
    EXPECT_EQ(reg.readBinary(kOptions, "ShellExtAr"), QByteArray::fromHex("000102030405060708"));
    const auto path = reg.value(kOptions, "Path");
    ASSERT_TRUE(path);
    EXPECT_EQ(path->type, RegType::Other);
    EXPECT_EQ(path->otherType, 2);
    EXPECT_EQ(path->bytes, QByteArray("%SystemRoot%", 13));

    QByteArray stream = QByteArray::fromHex("545046300a54446f636b5472656500");
    for (int i = 1; i <= 0x20; ++i)
        stream.append(char(i));
    EXPECT_EQ(reg.readBinary("Software\\Orlek\\Pixmora\\5.0\\GUI\\PicEditPal", "DataStream"), stream);

    // The machine-wide key is not ours to keep.
    EXPECT_FALSE(reg.keyExists("SOFTWARE\\Microsoft"));
    ASSERT_EQ(r.warnings.size(), 1);
    EXPECT_TRUE(r.warnings[0].startsWith("line 4: ")) << r.warnings[0].toStdString();
}

TEST(RegFile, ReadsAUtf16ExportOfVersionFive)
{
    const RegParseResult r = parseRegText(readAll(fixture("windows-export-utf16.reg")));
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(r.registry.readString(kOptions, "FileName"), QString::fromUtf8("Größe_日本"));
    EXPECT_EQ(r.registry.readInteger(kOptions, "ScanTool"), 12);
    EXPECT_EQ(r.registry.readString(kOptions, "SmtpBody"), "Gut\r\nTag");
    const auto path = r.registry.value(kOptions, "Path");
    ASSERT_TRUE(path);
    EXPECT_EQ(path->type, RegType::Other);
    EXPECT_EQ(path->bytes, QByteArray("%\0T\0E\0M\0P\0%\0\0\0", 14));
}

TEST(RegFile, RefusesBrokenTextNamingTheLine)
{
    const QByteArray head = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\X]\n";
    const struct {
        QByteArray text;
        const char* linePrefix;
    } cases[] = {
        {"", "line 1: "},
        {"\x89PNG\r\n", "line 1: "},
        {"REGEDIT5\n", "line 1: "},
        {"REGEDIT4\n\"v\"=dword:1\n", "line 2: "},                 // value before any key
        {head + "\"v\"=\"open", "line 4: "},                          // string cut off
        {head + "\"v=\"x\"\n", "line 4: "},                           // name quote not closed properly
        {head + "\"v\"=dword:xyz\n", "line 4: "},
        {head + "\"v\"=dword:123456789\n", "line 4: "},
        {head + "\"v\"=hex:00,0g\n", "line 4: "},
        {head + "\"v\"=hex:000\n", "line 4: "},
        {head + "\"v\"=hex(zz):00\n", "line 4: "},
        {head + "\"v\"=hex:00,\\\n", "line 4: "},                     // continuation past the end
        {head + "\"v\"=hex:00,\\\n  01,\\\n", "line 4: "},
        {head + "\"v\"=hex:00,\\\n\n  01\n", "line 4: "},          // a blank line is no continuation
        {head + "\"v\"=foo:1\n", "line 4: "},
        {head + "\"v\" \"x\"\n", "line 4: "},
        {head + "\"v\"=\"x\" trailing\n", "line 4: "},
        {head + "[HKEY_CURRENT_USER\\Y\n", "line 4: "},
        {head + "garbage\n", "line 4: "},
    };
    for (const auto& c : cases) {
        const RegParseResult r = parseRegText(c.text);
        EXPECT_FALSE(r.ok) << c.text.constData();
        EXPECT_TRUE(r.error.startsWith(QLatin1String(c.linePrefix)))
            << c.text.constData() << " -> " << r.error.toStdString();
        EXPECT_TRUE(r.registry.allKeys().isEmpty());
    }
}

TEST(RegFile, AcceptsWhatRegeditAccepts)
{
    const QByteArray text =
        "\r\nREGEDIT4\n"
        "; comment\n"
        "[HKEY_CURRENT_USER\\Software\\X]\n"
        "  \"Spaced\" = dword:0000000A   \n"
        "\"Hex\"=hex:  01 , 02,\\\n"
        "  03\n"
        "\"Dw4\"=hex(4):78,56,34,12\n"
        "\"Bin3\"=hex(3):ff\n"
        "\"Path\"=\"C:\\Temp\\new\"\n"        // lone backslashes stand for themselves
        "[hkey_current_user\\Software\\X\\Sub]\n"
        "@=\"d\"\n";
    const RegParseResult r = parseRegText(text);
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    const Registry& reg = r.registry;
    EXPECT_EQ(reg.readInteger("Software\\X", "Spaced"), 10);
    EXPECT_EQ(reg.readBinary("Software\\X", "Hex"), QByteArray::fromHex("010203"));
    EXPECT_EQ(reg.readInteger("Software\\X", "Dw4"), 0x12345678);
    EXPECT_EQ(reg.readBinary("Software\\X", "Bin3"), QByteArray::fromHex("ff"));
    EXPECT_EQ(reg.readString("Software\\X", "Path"), "C:\\Temp\\new");
    EXPECT_EQ(reg.readString("Software\\X\\Sub", ""), "d");
}

TEST(RegFile, AppliesDeletionsAndSkipsForeignKeys)
{
    const QByteArray text =
        "REGEDIT4\n"
        "[HKEY_CURRENT_USER\\Software\\X\\Gone\\Deep]\n\"a\"=\"1\"\n"
        "[HKEY_CURRENT_USER\\Software\\X]\n\"keep\"=\"1\"\n\"drop\"=\"1\"\n"
        "\"drop\"=-\n"
        "[-HKEY_CURRENT_USER\\Software\\X\\Gone]\n"
        "\"afterDelete\"=\"1\"\n"
        "[HKEY_LOCAL_MACHINE\\Software\\X]\n\"machine\"=\"1\"\n"
        "[HKEY_CURRENT_USER]\n\"root\"=\"1\"\n";
    const RegParseResult r = parseRegText(text);
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(r.registry.allKeys(), (QStringList{"Software", "Software\\X"}));
    EXPECT_EQ(r.registry.valueNames("Software\\X"), QStringList{"keep"});
    EXPECT_EQ(r.warnings.size(), 2);
}

TEST(RegFile, RefusesTextPastTheSizeLimit)
{
    QByteArray text = "REGEDIT4\r\n";
    text.append(64 * 1024 * 1024 + 1 - text.size(), ' ');
    EXPECT_FALSE(parseRegText(text).ok);
    text.chop(1);
    EXPECT_TRUE(parseRegText(text).ok);
}

TEST(RegFile, MissingFileGivesEmptyHiveAndNoProblem)
{
    QTemporaryDir dir;
    const RegLoadResult r = loadRegistryFile(dir.filePath("registry.reg"));
    EXPECT_FALSE(r.fileExisted);
    EXPECT_TRUE(r.problem.isEmpty());
    EXPECT_TRUE(r.registry.allKeys().isEmpty());
}

TEST(RegFile, MovesUnparsableFileAside)
{
    for (const char* name : {"truncated.reg", "garbage.reg"}) {
        QTemporaryDir dir;
        const QString path = dir.filePath("registry.reg");
        const QByteArray content = readAll(fixture(name));
        ASSERT_FALSE(content.isEmpty());
        writeAll(path, content);
        writeAll(path + ".bad", "an older bad file");

        const RegLoadResult r = loadRegistryFile(path);
        EXPECT_TRUE(r.fileExisted) << name;
        EXPECT_FALSE(r.problem.isEmpty()) << name;
        EXPECT_TRUE(r.problem.startsWith("line ")) << r.problem.toStdString();
        // The older unreadable file is the user's only copy of those settings: it stays.
        EXPECT_EQ(r.movedAsideTo, path + ".bad.1");
        EXPECT_TRUE(r.registry.allKeys().isEmpty());
        EXPECT_FALSE(QFile::exists(path));
        EXPECT_EQ(readAll(path + ".bad.1"), content);
        EXPECT_EQ(readAll(path + ".bad"), "an older bad file");

        // The next start finds no file and has nothing to say.
        EXPECT_TRUE(loadRegistryFile(path).problem.isEmpty());
    }
}

TEST(RegFile, SaveCreatesTheFolderAndLoadGivesTheHiveBack)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Orlek/Pixmora/5.0/registry.reg");
    const Registry hive = sampleHive();
    QString error;
    ASSERT_TRUE(saveRegistryFile(hive, path, &error)) << error.toStdString();
    const RegLoadResult r = loadRegistryFile(path);
    EXPECT_TRUE(r.problem.isEmpty());
    EXPECT_TRUE(r.registry == hive);
    // Nothing but the file itself is left in the folder.
    EXPECT_EQ(QDir(dir.filePath("Orlek/Pixmora/5.0")).entryList(QDir::Files | QDir::Hidden), QStringList{"registry.reg"});
}

TEST(RegFile, FailedSaveReportsAndLeavesWhatWasThere)
{
    QTemporaryDir dir;
    // The target is a folder: the rename cannot replace it.
    const QString path = dir.filePath("registry.reg");
    ASSERT_TRUE(QDir().mkpath(path));
    writeAll(path + "/inside", "keep");
    QString error;
    EXPECT_FALSE(saveRegistryFile(sampleHive(), path, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(readAll(path + "/inside"), "keep");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList{"registry.reg"});

    // A folder that cannot be created.
    writeAll(dir.filePath("file"), "x");
    EXPECT_FALSE(saveRegistryFile(sampleHive(), dir.filePath("file/sub/registry.reg"), &error));
}

TEST(RegFile, DefaultPathFollowsXdgConfigHome)
{
    const QByteArray old = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", "/tmp/cfg");
    EXPECT_EQ(defaultRegistryPath(), "/tmp/cfg/Orlek/Pixmora/5.0/registry.reg");
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(defaultRegistryPath(), QDir::homePath() + "/.config/Orlek/Pixmora/5.0/registry.reg");
    if (!old.isNull())
        qputenv("XDG_CONFIG_HOME", old);
}
