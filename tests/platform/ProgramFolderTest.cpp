#include "platform/ProgramFolder.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace px;

namespace {

// Sets an environment variable for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value)
        : name_(name)
        , old_(qgetenv(name))
    {
        if (value)
            qputenv(name, value);
        else
            qunsetenv(name);
    }
    ~ScopedEnv()
    {
        if (old_.isNull())
            qunsetenv(name_);
        else
            qputenv(name_, old_);
    }

private:
    const char* name_;
    QByteArray old_;
};

} // namespace

TEST(ProgramFolder, IsTheFolderOfTheRunningExecutable)
{
    // No application object exists in this test.
    setProgramFolderForTesting({});
    EXPECT_EQ(programFolder(), QDir(TEST_BINARY_DIR).canonicalPath() + "/");
}

TEST(ProgramFolder, ProgramFileAppendsTheRelativeNameWithOurSeparators)
{
    setProgramFolderForTesting("/opt/pixmora");
    EXPECT_EQ(programFolder(), "/opt/pixmora/");
    EXPECT_EQ(programFile("Templates\\camera.wav"), "/opt/pixmora/Templates/camera.wav");
    EXPECT_EQ(programFile("pxh.chm"), "/opt/pixmora/pxh.chm");
    setProgramFolderForTesting({});
}

TEST(ProgramFolder, WritableFoldersFallBackToTheDataHome)
{
    QTemporaryDir writable;
    QTemporaryDir data;
    const ScopedEnv env("XDG_DATA_HOME", QFile::encodeName(data.path()).constData());

    setProgramFolderForTesting(writable.path());
    EXPECT_EQ(writableProgramFolder("Autosave\\"), writable.path() + "/Autosave/");

    // A program folder we cannot write to (here: one that is not there at all).
    setProgramFolderForTesting(writable.filePath("missing"));
    EXPECT_EQ(writableProgramFolder("Autosave\\"), data.path() + "/Pixmora/Autosave/");
    EXPECT_EQ(writableProgramFolder("Attach"), data.path() + "/Pixmora/Attach");
    EXPECT_FALSE(QFileInfo::exists(data.path() + "/Pixmora"));   // not created
    setProgramFolderForTesting({});
}

TEST(ProgramFolder, PathJoinAndNativePath)
{
    const QString home = QDir::homePath();
    const struct {
        QString a, b, joined;
    } joins[] = {
        {"/a", "b", "/a/b"},
        {"/a/", "/b", "/a/b"},
        {"C:\\dir\\", "sub\\file.txt", "C:/dir/sub/file.txt"},
        {"", "b\\c", "b/c"},
        {"/a", "", "/a"},
        {"/", "etc", "/etc"},
    };
    for (const auto& j : joins)
        EXPECT_EQ(pathJoin(j.a, j.b), j.joined) << j.a.toStdString() << " + " << j.b.toStdString();

    const struct {
        QString windows, native;
    } paths[] = {
        {"c:\\", home},
        {"C:\\Bilder\\neu", home + "/Bilder/neu"},
        {"\\Temp\\x.bmp", home + "/Temp/x.bmp"},
        {"Script\\run.txt", "Script/run.txt"},
        {"/already/native", "/already/native"},
        {"\\\\server\\share", "//server/share"},
    };
    for (const auto& p : paths)
        EXPECT_EQ(nativePath(p.windows), p.native) << p.windows.toStdString();
}

TEST(ProgramFolder, XdgHomesIgnoreUnsetEmptyAndRelativeValues)
{
    const QString home = QDir::homePath();
    const struct {
        const char* value;
        QString config, data;
    } cases[] = {
        {nullptr, home + "/.config", home + "/.local/share"},
        {"", home + "/.config", home + "/.local/share"},
        {"relative/dir", home + "/.config", home + "/.local/share"},
        {"/x/y/", "/x/y", "/x/y"},
    };
    for (const auto& c : cases) {
        const ScopedEnv config("XDG_CONFIG_HOME", c.value);
        const ScopedEnv data("XDG_DATA_HOME", c.value);
        EXPECT_EQ(configHome(), c.config) << (c.value ? c.value : "(unset)");
        EXPECT_EQ(dataHome(), c.data);
    }
}
