#include "platform/Autostart.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace px;

namespace {

QString execLine(const QString& text)
{
    for (const QString& line : text.split('\n'))
        if (line.startsWith("Exec="))
            return line.mid(5);
    return {};
}

} // namespace

TEST(Autostart, ExecLineQuotesThePathByTheDesktopEntryRules)
{
    // Quoting comes first, then the string escapes of the value (each backslash doubled).
    const struct {
        const char* executable;
        const char* exec;
    } cases[] = {
        {"/usr/bin/pixmora", "/usr/bin/pixmora"},
        {"/opt/My Programs/pixmora", "\"/opt/My Programs/pixmora\""},
        {"/opt/a$b/pix\"mora", "\"/opt/a\\\\$b/pix\\\\\"mora\""},
        {"/opt/back\\slash/pixmora", "\"/opt/back\\\\\\\\slash/pixmora\""},
        {"/opt/100%/pixmora", "/opt/100%%/pixmora"},
        {"/opt/it's/pix`mora", "\"/opt/it's/pix\\\\`mora\""},
        {"/opt/new\nline", "\"/opt/new\\nline\""},
    };
    for (const auto& c : cases) {
        const QString text = desktopEntryText(QString::fromUtf8(c.executable), "Pixmora 5.0", false);
        EXPECT_EQ(execLine(text), QString::fromUtf8(c.exec)) << c.executable;
    }
}

TEST(Autostart, EntryIsAnApplicationNamedByTheTitle)
{
    const QString entry = desktopEntryText("/usr/bin/pixmora", "Pixmora 5.0", false);
    EXPECT_TRUE(entry.startsWith("[Desktop Entry]\n"));
    EXPECT_TRUE(entry.contains("\nType=Application\n"));
    EXPECT_TRUE(entry.contains("\nName=Pixmora 5.0\n"));
    EXPECT_FALSE(entry.contains("RunOnce"));
    EXPECT_TRUE(desktopEntryText("/usr/bin/pixmora", "Pixmora 5.0", true).contains("\nX-Pixmora-RunOnce=true\n"));
}

TEST(Autostart, EnableDisableAndRunOnceOnTheFileSystem)
{
    QTemporaryDir dir;
    Autostart autostart(dir.filePath("autostart"));   // the folder does not exist yet
    EXPECT_FALSE(autostart.isEnabled());

    QString error;
    ASSERT_TRUE(autostart.setEnabled(true, "/opt/My Programs/pixmora", &error)) << error.toStdString();
    EXPECT_TRUE(autostart.isEnabled());
    QFile entry(autostart.entryPath());
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    EXPECT_EQ(execLine(QString::fromUtf8(entry.readAll())), "\"/opt/My Programs/pixmora\"");
    entry.close();

    ASSERT_TRUE(autostart.setEnabled(false, {}, &error));
    EXPECT_FALSE(QFile::exists(autostart.entryPath()));
    EXPECT_TRUE(autostart.setEnabled(false, {}, &error));   // already off

    EXPECT_FALSE(autostart.consumeRunOnce());
    ASSERT_TRUE(autostart.writeRunOnce("/usr/bin/pixmora", &error));
    EXPECT_TRUE(QFile::exists(autostart.runOncePath()));
    EXPECT_FALSE(autostart.isEnabled());
    EXPECT_TRUE(autostart.consumeRunOnce());
    EXPECT_FALSE(autostart.consumeRunOnce());
}

TEST(Autostart, EntryHiddenByTheDesktopCountsAsOff)
{
    QTemporaryDir dir;
    Autostart autostart(dir.path());
    QFile f(autostart.entryPath());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Desktop Entry]\nType=Application\nExec=pixmora\nHidden=true\n");
    f.close();
    EXPECT_FALSE(autostart.isEnabled());
}

TEST(Autostart, UnwritableFolderIsReported)
{
    QTemporaryDir dir;
    QFile blocker(dir.filePath("autostart"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    Autostart autostart(dir.filePath("autostart"));
    QString error;
    EXPECT_FALSE(autostart.setEnabled(true, "/usr/bin/pixmora", &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(autostart.writeRunOnce("/usr/bin/pixmora", &error));
}

TEST(Autostart, DefaultFolderFollowsXdgConfigHome)
{
    const QByteArray old = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", "/tmp/cfg");
    EXPECT_EQ(Autostart::defaultFolder(), "/tmp/cfg/autostart");
    EXPECT_EQ(Autostart().entryPath(), "/tmp/cfg/autostart/pixmora.desktop");
    if (old.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", old);
}

TEST(Autostart, EntriesItDidNotWriteAreLeftAlone)
{
    QTemporaryDir dir;
    Autostart autostart(dir.path());
    const QByteArray foreign = "[Desktop Entry]\nType=Application\nExec=/usr/local/bin/pixmora --show\n";
    {
        QFile f(autostart.entryPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(foreign);
    }
    for (bool enabled : {false, true}) {
        ASSERT_TRUE(autostart.setEnabled(enabled, "/usr/bin/pixmora"));
        QFile f(autostart.entryPath());
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << enabled;
        EXPECT_EQ(f.readAll(), foreign) << enabled;
    }
}

TEST(Autostart, OwnEntrySwitchedOffOnTheDesktopStaysOff)
{
    QTemporaryDir dir;
    Autostart autostart(dir.path());
    ASSERT_TRUE(autostart.setEnabled(true, "/usr/bin/pixmora"));
    {
        QFile f(autostart.entryPath());
        ASSERT_TRUE(f.open(QIODevice::Append));
        f.write("Hidden=true\n");
    }
    ASSERT_TRUE(autostart.setEnabled(true, "/usr/bin/pixmora"));
    EXPECT_FALSE(autostart.isEnabled());
    ASSERT_TRUE(autostart.setEnabled(true, "/opt/pixmora/pixmora"));  // moved: the entry follows
    EXPECT_TRUE(autostart.isEnabled());
    ASSERT_TRUE(autostart.setEnabled(false, "/opt/pixmora/pixmora"));
    EXPECT_FALSE(QFile::exists(autostart.entryPath()));
}
