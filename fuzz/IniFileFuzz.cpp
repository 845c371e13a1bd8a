// INI text from outside (PX5.ini): any bytes must read without harm, and a file we write
// must read back to the same content.
#include "platform/IniFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const px::IniFile ini = px::IniFile::fromText(input);
    for (const QString& section : ini.sections())
        for (const QString& key : ini.keys(section))
            if (!ini.hasKey(section, key))
                std::abort();
    const QByteArray written = ini.toText();
    if (written.size() > 512 * 1024)
        return 0;
    const px::IniFile again = px::IniFile::fromText(written);
    if (again.toText() != written)
        std::abort();
    for (const QString& section : ini.sections())
        for (const QString& key : ini.keys(section))
            if (again.readString(section, key, QStringLiteral("\x01")) != ini.readString(section, key))
                std::abort();
    return 0;
}
