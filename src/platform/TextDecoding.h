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

// 8-bit text: UTF-8 when the bytes are valid UTF-8, else Latin-1 (older files written in the
// Windows code page).
inline QString decodeEightBit(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    return QString::fromLatin1(bytes);
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
