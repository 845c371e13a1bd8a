// The real sound player and process launcher, as far as they work without a desktop.
#include "platform/ProcessLauncher.h"
#include "platform/SoundPlayer.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

using namespace px;

namespace {

QByteArray waitForFile(const QString& path)
{
    const QDeadlineTimer deadline(5000);
    while (!deadline.hasExpired()) {
        QFile f(path);
        if (f.open(QIODevice::ReadOnly)) {
            const QByteArray d = f.readAll();
            if (d.endsWith('\n'))
                return d;
        }
        QThread::msleep(10);
    }
    return QByteArray();
}

} // namespace

TEST(SystemSoundPlayer, MissingOrEmptyFile_IsNotPlayed)
{
    auto player = makeSystemSoundPlayer();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    EXPECT_FALSE(player->play(dir.filePath("no-such-sound.wav")));
    EXPECT_FALSE(player->play(QString()));
    EXPECT_FALSE(player->play(dir.path()));  // a folder is no sound
}

TEST(SystemProcessLauncher, StartsDetachedProgramsWithTheirArguments)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString out = dir.filePath("out.txt");
    auto launcher = makeSystemProcessLauncher();
    ASSERT_TRUE(launcher->start("/bin/sh", {"-c", "printf '%s|%s\\n' \"$0\" \"$1\" > \"$2\"", "a b", "c", out}));
    EXPECT_EQ(waitForFile(out), "a b|c\n");
    EXPECT_FALSE(launcher->start(dir.filePath("no-such-program")));
    EXPECT_FALSE(launcher->start(QString()));
}

TEST(SystemProcessLauncher, OpenHandsTheNameToXdgOpen)
{
    // A stand-in xdg-open on PATH writes down what it was given.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString log = dir.filePath("log.txt");
    const QString script = dir.filePath("xdg-open");
    {
        QFile f(script);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$*\" >> '%1'\n").arg(log).toUtf8());
    }
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", dir.path().toLocal8Bit() + ':' + oldPath);

    auto launcher = makeSystemProcessLauncher();
    EXPECT_TRUE(launcher->open("/tmp/picture one.png"));
    EXPECT_EQ(waitForFile(log), "/tmp/picture one.png\n");
    QFile::remove(log);
    // A name that looks like an option reaches the handler as a file name.
    EXPECT_TRUE(launcher->open("-n.png"));
    EXPECT_EQ(waitForFile(log), "./-n.png\n");
    EXPECT_FALSE(launcher->open(QString()));
    qputenv("PATH", oldPath);
}
