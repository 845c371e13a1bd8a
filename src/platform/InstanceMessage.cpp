#include "platform/InstanceMessage.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace px {

namespace {

constexpr char kMagic[4] = {'P', 'X', 'M', '1'};

void appendU32(QByteArray& out, quint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

quint32 readU32(const QByteArray& in, qsizetype at)
{
    return qFromLittleEndian<quint32>(in.constData() + at);
}

} // namespace

QByteArray encodeMessage(const InstanceMessage& m)
{
    // A payload the receiver would refuse is not framed at all.
    if (quint64(m.payload.size()) > kMaxPayload)
        return {};
    QByteArray out;
    out.reserve(kFrameHeaderSize + m.payload.size());
    out.append(kMagic, 4);
    appendU32(out, m.number);
    appendU32(out, m.parameter);
    appendU32(out, quint32(m.payload.size()));
    out.append(m.payload);
    return out;
}

DecodeStatus decodeMessage(QByteArray& buffer, InstanceMessage* out)
{
    // Garbage is recognised as soon as its first bytes differ from the magic, so a peer that
    // speaks something else is dropped without waiting for a whole header.
    const qsizetype magicSeen = std::min<qsizetype>(buffer.size(), 4);
    if (std::memcmp(buffer.constData(), kMagic, size_t(magicSeen)) != 0)
        return DecodeStatus::BadFrame;
    if (buffer.size() < kFrameHeaderSize)
        return DecodeStatus::NeedMore;
    const quint32 length = readU32(buffer, 12);
    if (length > kMaxPayload)
        return DecodeStatus::BadFrame;
    if (quint64(buffer.size()) < quint64(kFrameHeaderSize) + length)
        return DecodeStatus::NeedMore;
    InstanceMessage m;
    m.number = readU32(buffer, 4);
    m.parameter = readU32(buffer, 8);
    m.payload = buffer.mid(kFrameHeaderSize, length);
    buffer.remove(0, kFrameHeaderSize + length);
    if (out)
        *out = std::move(m);
    return DecodeStatus::Message;
}

bool isKnownMessage(quint32 number)
{
    // FirstShowFollowUp is deliberately absent: the program posts it to itself at the first
    // show, and another process must not be able to send the window into the tray with it.
    switch (number) {
    case msg::CopyData:
    case msg::OpenFile:
    case msg::StartCapture:
    case msg::ShowProgram:
        return true;
    default:
        return false;
    }
}

} // namespace px
