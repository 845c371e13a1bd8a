#include "platform/IniFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace px;

TEST(IniFile, ReadsByTheRulesOfWindowsProfileFunctions)
{
    const IniFile ini = IniFile::fromText(
        "Loose=before any section\r\n"
        "; a comment\r\n"
        "[PX_RemoteScan]\r\n"
        "AppPath = C:\\Programme\\Remote\\rs.exe \r\n"
        "appPATH=second one loses\r\n"
        "[ Entrys ]\r\n"
        "Bilder=C:\\Bilder,Fotos\r\n"
        "Quoted=\"  spaced  \"\r\n"
        "Half=\"open\r\n"
        "Escapes=a\\nb\\\\c\r\n"
        "Equals=a=b\r\n"
        "no equals sign here\r\n"
        ";Commented=1\r\n"
        "Empty=\r\n"
        "[px_remotescan]\r\n"
        "Other=in a duplicate section\r\n");
    const struct {
        const char* section;
        const char* key;
        const char* expected;
    } cases[] = {
        {"PX_RemoteScan", "AppPath", "C:\\Programme\\Remote\\rs.exe"},
        {"px_remotescan", "APPPATH", "C:\\Programme\\Remote\\rs.exe"},
        {"Entrys", "Bilder", "C:\\Bilder,Fotos"},
        {"Entrys", "Quoted", "  spaced  "},
        {"Entrys", "Half", "\"open"},
        {"Entrys", "Escapes", "a\\nb\\\\c"},
        {"Entrys", "Equals", "a=b"},
        {"Entrys", "Empty", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ini.readString(c.section, c.key, "DEF"), QString::fromUtf8(c.expected)) << c.section << "/" << c.key;

    EXPECT_EQ(ini.readString("PX_RemoteScan", "Other", "DEF"), "DEF");   // the first section wins
    EXPECT_EQ(ini.readString("Entrys", "Commented", "DEF"), "DEF");
    EXPECT_EQ(ini.readString("", "Loose", "DEF"), "DEF");
    EXPECT_TRUE(ini.hasKey("entrys", "EMPTY"));
    EXPECT_FALSE(ini.hasKey("Entrys", "no equals sign here"));
    EXPECT_EQ(ini.sections(), (QStringList{"PX_RemoteScan", "Entrys"}));
    EXPECT_EQ(ini.keys("Entrys"), (QStringList{"Bilder", "Quoted", "Half", "Escapes", "Equals", "Empty"}));
}

TEST(IniFile, WrittenValuesReadBackAsWritten)
{
    const QString values[] = {"plain", "  leading and trailing  ", "\"quoted\"", "a,b;c", "x=y", "", "für"};
    IniFile ini;
    for (const QString& v : values) {
        ini.writeString("Entrys", "Key", v);
        EXPECT_EQ(IniFile::fromText(ini.toText()).readString("Entrys", "Key"), v) << v.toStdString();
    }

    // A line break would start a new line in the file and inject a key.
    ini.writeString("Entrys", "Key", "a\r\n[Evil]\nx=1");
    const IniFile back = IniFile::fromText(ini.toText());
    EXPECT_FALSE(back.hasSection("Evil"));
    EXPECT_EQ(back.keys("Entrys"), QStringList{"Key"});
}

TEST(IniFile, SavingKeepsCommentsOrderAndOtherLines)
{
    IniFile ini = IniFile::fromText("; installed add-ons\n[PX_RemoteScan]\nAppPath=a\n; note\n[Entrys]\nB=1\nA=2\n");
    ini.writeString("px_remotescan", "apppath", "b");
    ini.writeString("Entrys", "C", "3");
    EXPECT_TRUE(ini.deleteKey("ENTRYS", "b"));
    EXPECT_FALSE(ini.deleteKey("Entrys", "B"));
    EXPECT_FALSE(ini.deleteKey("Nowhere", "A"));
    EXPECT_EQ(ini.toText(), QByteArray("; installed add-ons\r\n"
                                       "\r\n"
                                       "[PX_RemoteScan]\r\n"
                                       "AppPath=b\r\n"
                                       "; note\r\n"
                                       "\r\n"
                                       "[Entrys]\r\n"
                                       "A=2\r\n"
                                       "C=3\r\n"));
}

TEST(IniFile, ReadsLatin1AndUtf8Text)
{
    EXPECT_EQ(IniFile::fromText("[S]\nK=f\xfcr\n").readString("S", "K"), QString::fromUtf8("für"));
    EXPECT_EQ(IniFile::fromText("\xef\xbb\xbf[S]\nK=f\xc3\xbcr\n").readString("S", "K"), QString::fromUtf8("für"));
    EXPECT_EQ(IniFile::fromText(QByteArray("\xff\xfe[\0S\0]\0\n\0K\0=\0\xfc\0", 16)).readString("S", "K"), QString::fromUtf8("ü"));
}

TEST(IniFile, IgnoresLinesPastOneMebibyte)
{
    QByteArray text = "[Early]\nK=1\n";
    text += QByteArray(1024 * 1024, ';');
    text += "\n[Late]\nK=2\n";
    const IniFile ini = IniFile::fromText(text);
    EXPECT_EQ(ini.readString("Early", "K"), "1");
    EXPECT_FALSE(ini.hasSection("Late"));
}

TEST(IniFile, LoadAndSaveThroughTheFileSystem)
{
    QTemporaryDir dir;
    EXPECT_TRUE(IniFile::load(dir.filePath("PX5.ini")).sections().isEmpty());

    IniFile ini;
    ini.writeString("PX_RemoteScan", "AppPath", "/opt/rs");
    const QString path = dir.filePath("sub/PX5.ini");
    QString error;
    ASSERT_TRUE(ini.save(path, &error)) << error.toStdString();
    EXPECT_EQ(IniFile::load(path).readString("px_remotescan", "apppath"), "/opt/rs");
    EXPECT_EQ(QDir(dir.filePath("sub")).entryList(QDir::Files | QDir::Hidden), QStringList{"PX5.ini"});

    QFile blocker(dir.filePath("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_FALSE(ini.save(dir.filePath("file/PX5.ini"), &error));
    EXPECT_FALSE(error.isEmpty());
}
