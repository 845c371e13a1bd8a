#pragma once
// Turning the bytes of text files from outside (.reg, .ini) into strings. Every string that
// comes out can be written as UTF-8 and read back unchanged.
#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>

namespace px {

// UTF-16LE without its byte-order mark. A half surrogate pair becomes U+FFFD.
inline QString decodeUtf16LE(QByteArrayView bytes)
{
    QStringDecoder utf16(QStringDecoder::Utf16LE,
                         QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = utf16(bytes);
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (text[i].isSurrogate())
            text[i] = QChar::ReplacementCharacter;
    }
    return text;
}

// Windows-1252, the code page of older Windows files: Latin-1 but for 0x80..0x9F (the five
// codes it leaves undefined keep their C1 control characters).
inline QString decodeCp1252(QByteArrayView bytes)
{
    static constexpr char16_t high[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
        0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
    };
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        *out++ = (b >= 0x80 && b <= 0x9F) ? QChar(high[b - 0x80]) : QChar(b);
    }
    return text;
}

// 8-bit text: UTF-8 when the bytes are valid UTF-8, else Windows-1252 (older files written
// in the Windows code page).
inline QString decodeEightBit(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    return decodeCp1252(bytes);
}

// A text file's bytes: UTF-16LE when it starts with that byte-order mark (an odd trailing
// byte, half a character of a cut-off file, is dropped), else 8-bit text as above with a
// UTF-8 byte-order mark skipped.
inline QString decodeTextFile(QByteArrayView bytes)
{
    if (bytes.startsWith("\xFF\xFE"))
        return decodeUtf16LE(bytes.sliced(2, (bytes.size() - 2) & ~qsizetype(1)));
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    return decodeEightBit(bytes);
}

} // namespace px
