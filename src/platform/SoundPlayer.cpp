#include "platform/SoundPlayer.h"

#include <QFileInfo>

#include <canberra.h>

namespace px {
namespace {

// Every sound of ours carries this id, so that a sound still playing can be recognised and
// a new request dropped instead of cutting it off.
constexpr std::uint32_t kSoundId = 1;

class CanberraSoundPlayer : public SoundPlayer {
public:
    ~CanberraSoundPlayer() override
    {
        if (ctx_)
            ca_context_destroy(ctx_);
    }

    bool play(const QString& file) override
    {
        const QFileInfo info(file);
        if (file.isEmpty() || !info.isFile() || !info.isReadable())
            return false;
        if (!ensureContext())
            return false;
        int playing = 0;
        if (ca_context_playing(ctx_, kSoundId, &playing) == CA_SUCCESS && playing)
            return false;
        const QByteArray path = QFile::encodeName(info.absoluteFilePath());
        return ca_context_play(ctx_, kSoundId, CA_PROP_MEDIA_FILENAME, path.constData(),
                               CA_PROP_MEDIA_ROLE, "event", nullptr)
            == CA_SUCCESS;
    }

private:
    // Created on the first sound: a program that never plays one never talks to the sound
    // system. A failed start is not retried for every capture.
    bool ensureContext()
    {
        if (ctx_)
            return true;
        if (failed_)
            return false;
        if (ca_context_create(&ctx_) != CA_SUCCESS) {
            ctx_ = nullptr;
            failed_ = true;
            return false;
        }
        ca_context_change_props(ctx_, CA_PROP_APPLICATION_NAME, "Pixmora", CA_PROP_APPLICATION_ID,
                                "org.pixmora.Pixmora", nullptr);
        if (ca_context_open(ctx_) != CA_SUCCESS) {
            ca_context_destroy(ctx_);
            ctx_ = nullptr;
            failed_ = true;
            return false;
        }
        return true;
    }

    ca_context* ctx_ = nullptr;
    bool failed_ = false;
};

} // namespace

std::unique_ptr<SoundPlayer> makeSystemSoundPlayer()
{
    return std::make_unique<CanberraSoundPlayer>();
}

} // namespace px
