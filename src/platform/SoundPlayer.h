#pragma once
// Event sounds. Playback is asynchronous and never cuts off a sound of ours that is still
// playing: a request while one plays is dropped. No sound device, or a missing file: nothing.
#include <QString>
#include <QStringList>
#include <memory>

namespace px {

class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // Returns whether playback was started.
    virtual bool play(const QString& file) = 0;
};

// libcanberra.
std::unique_ptr<SoundPlayer> makeSystemSoundPlayer();

// Records what it was asked to play.
class FakeSoundPlayer : public SoundPlayer {
public:
    QStringList played;
    bool play(const QString& file) override { played << file; return true; }
};

} // namespace px
