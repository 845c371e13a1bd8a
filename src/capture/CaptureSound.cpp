#include "capture/CaptureSound.h"

#include "platform/ProgramFolder.h"

namespace px {

QString CaptureSoundFile(int soundFileNr)
{
    switch (soundFileNr) {
    case 0:
        return QStringLiteral("Templates\\camera.snd");
    case 1:
        return QStringLiteral("Templates\\camera.wav");
    default:
        if (soundFileNr >= 2 && soundFileNr <= 9)
            return QStringLiteral("Templates\\camera%1.wav").arg(soundFileNr);
        return QString();
    }
}

// The name is resolved against the program folder, not the working folder, which may be
// anywhere when the program is started from a menu or a shell.
void PlayCaptureSound(SoundPlayer& player, int soundFileNr)
{
    const QString name = CaptureSoundFile(soundFileNr);
    if (name.isEmpty())
        return;
    player.play(programFile(name));
}

} // namespace px
