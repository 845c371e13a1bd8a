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

} // namespace px
