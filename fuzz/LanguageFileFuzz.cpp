// Language files from outside (Templates/Languages.lng): any bytes must decode and parse
// without harm, and what comes out must keep the grammar's promises.
#include "app/LanguageFile.h"

#include <cstdint>
#include <cstdlib>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

bool isBlank(QChar c) { return c.unicode() <= 0x20; }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QStringList script = px::DecodeLanguageText(bytes);
    for (const QString& line : script)
        check(!line.contains(u'\n') && !line.contains(u'\r'));

    // The usual sections, and whatever the first header of this input names.
    QStringList languages{px::LanguageSectionName(0), px::LanguageSectionName(1)};
    for (const QString& line : script) {
        const QString t = line.trimmed();
        if (t.startsWith(u'[')) {
            languages << t.mid(1, t.indexOf(u']') - 1);
            break;
        }
    }
    for (const QString& language : languages) {
        const auto entries = px::SectionEntries(script, language);
        check(entries.size() <= size_t(script.size()));
        for (const px::LanguageEntry& e : entries) {
            check(!e.name.contains(u'='));
            check(e.name.isEmpty() || (!isBlank(e.name.front()) && !isBlank(e.name.back())));
            check(!e.value.contains(QStringLiteral("\\n")));
            // The first entry of a name answers its lookups.
            for (const px::LanguageEntry& first : entries) {
                if (first.name == e.name) {
                    check(px::LookupEntry(entries, e.name) == first.value);
                    break;
                }
            }
            if (const auto v = px::LanguageIntegerValue(e.value))
                check(*v >= -2147483648LL && *v <= 0xFFFFFFFFLL);
        }
        check(px::LookupEntry(entries, QStringLiteral("showmsg_nofileload")).size() <= qsizetype(size) + 1);
    }
    px::ScriptHasLine(script, QStringLiteral("[italian]"));
    return 0;
}
