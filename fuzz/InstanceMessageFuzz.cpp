// Bytes another process writes to the instance socket: frames are taken off one by one and
// each decoded message encodes back to the very frame it came from.
#include "platform/InstanceMessage.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray buffer(reinterpret_cast<const char*>(data), qsizetype(size));
    while (true) {
        const QByteArray before = buffer;
        px::InstanceMessage m;
        const px::DecodeStatus status = px::decodeMessage(buffer, &m);
        if (status != px::DecodeStatus::Message) {
            if (buffer != before)
                std::abort();   // only a whole frame may be taken
            break;
        }
        const QByteArray frame = px::encodeMessage(m);
        if (!before.startsWith(frame) || buffer != before.mid(frame.size()))
            std::abort();
    }
    return 0;
}
