#pragma once
// The capture sound: "Templates\camera.snd" (0), "Templates\camera.wav" (1),
// "Templates\camera2.wav" .. "Templates\camera9.wav" (2..9), in the program folder.
#include "platform/SoundPlayer.h"

#include <QString>

namespace px {

// The relative name for "SoundFileNr"; values outside 0..9 give an empty name.
QString CaptureSoundFile(int soundFileNr);
// Plays the sound of soundFileNr from the program folder. Errors are ignored.
void PlayCaptureSound(SoundPlayer& player, int soundFileNr);

} // namespace px
