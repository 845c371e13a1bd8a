// The capture sound: its file table, where the file is looked for, and the sound files we ship.
#include "capture/CaptureSound.h"
#include "platform/ProgramFolder.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QtEndian>

using namespace px;

TEST(CaptureSound, CaptureSoundFile_NamesTheTemplateOfEachNumber)
{
    const std::pair<int, const char*> cases[] = {
        {0, "Templates\\camera.snd"},  {1, "Templates\\camera.wav"},  {2, "Templates\\camera2.wav"},
        {5, "Templates\\camera5.wav"}, {9, "Templates\\camera9.wav"}, {-1, ""},
        {10, ""},                      {255, ""},
    };
    for (const auto& [nr, name] : cases)
        EXPECT_EQ(CaptureSoundFile(nr), QString::fromLatin1(name)) << nr;
}

TEST(CaptureSound, PlayCaptureSound_PlaysFromTheProgramFolder)
{
    setProgramFolderForTesting(QStringLiteral("/opt/pixmora-test/"));
    FakeSoundPlayer player;
    PlayCaptureSound(player, 3);
    PlayCaptureSound(player, 0);
    PlayCaptureSound(player, 12);  // no such sound: nothing is played
    EXPECT_EQ(player.played, QStringList({QStringLiteral("/opt/pixmora-test/Templates/camera3.wav"),
                                          QStringLiteral("/opt/pixmora-test/Templates/camera.snd")}));
    setProgramFolderForTesting({});
}

// Every sound the table names is shipped: a short mono 16-bit PCM WAV file.
TEST(CaptureSound, ShippedSounds_AreShortPcmWaves)
{
    for (int nr = 0; nr <= 9; ++nr) {
        const QString name = CaptureSoundFile(nr).replace(QLatin1Char('\\'), QLatin1Char('/'));
        SCOPED_TRACE(name.toStdString());
        QFile f(QStringLiteral(PIXMORA_RESOURCES "/") + name);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray d = f.readAll();
        ASSERT_GE(d.size(), 44);
        EXPECT_EQ(d.left(4), "RIFF");
        EXPECT_EQ(d.mid(8, 8), "WAVEfmt ");
        const auto* b = reinterpret_cast<const uchar*>(d.constData());
        EXPECT_EQ(qFromLittleEndian<quint16>(b + 20), 1);      // PCM
        EXPECT_EQ(qFromLittleEndian<quint16>(b + 22), 1);      // mono
        const quint32 rate = qFromLittleEndian<quint32>(b + 24);
        EXPECT_EQ(rate, 22050u);
        EXPECT_EQ(qFromLittleEndian<quint16>(b + 34), 16);     // bits per sample
        EXPECT_EQ(d.mid(36, 4), "data");
        const quint32 bytes = qFromLittleEndian<quint32>(b + 40);
        EXPECT_EQ(qint64(bytes) + 44, d.size());
        EXPECT_GT(bytes, 0u);
        EXPECT_LE(double(bytes) / 2 / rate, 0.3);
    }
}
