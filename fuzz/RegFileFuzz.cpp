// Registry text from outside: any bytes must parse or be refused without harm, and whatever
// parsed must survive being written and read again.
#include "platform/RegFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const px::RegParseResult parsed = px::parseRegText(input);
    if (!parsed.ok)
        return 0;
    const QByteArray written = px::formatRegText(parsed.registry);
    if (written.size() > 16 * 1024 * 1024)
        return 0;
    const px::RegParseResult again = px::parseRegText(written);
    if (!again.ok || px::formatRegText(again.registry) != written)
        std::abort();
    return 0;
}
