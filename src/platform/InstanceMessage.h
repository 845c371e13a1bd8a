#pragma once
// The messages other processes send to the running program, carried over the per-user local
// socket. The numbers are the program's window-message numbers; other programs rely on them.
//
// Frame on the wire (all integers little-endian):
//   "PXM1"  magic, 4 bytes
//   u32     message number
//   u32     parameter (the WM_COPYDATA identifier; 0 otherwise)
//   u32     payload length (at most kMaxPayload)
//   payload
#include <QByteArray>
#include <QString>
#include <vector>

namespace px {

namespace msg {
constexpr quint32 CopyData = 0x004A;       // WM_COPYDATA; parameter = identifier, payload = data
constexpr quint32 OpenFile = 0x8066;       // payload = UTF-8 file path
constexpr quint32 StartCapture = 0x8067;
constexpr quint32 FirstShowFollowUp = 0x8068;
constexpr quint32 ShowProgram = 0x806E;
constexpr quint32 CopyDataBitmap = 1;      // the WM_COPYDATA identifier of a complete BMP file
}

constexpr quint32 kMaxPayload = 256u * 1024 * 1024;
constexpr int kFrameHeaderSize = 16;

struct InstanceMessage {
    quint32 number = 0;
    quint32 parameter = 0;
    QByteArray payload;
    bool operator==(const InstanceMessage&) const = default;
};

// Empty when the payload is larger than kMaxPayload (no receiver would take it).
QByteArray encodeMessage(const InstanceMessage& m);

enum class DecodeStatus {
    NeedMore,     // buffer holds less than one frame
    Message,      // one frame was taken off the front of the buffer into *out
    BadFrame,     // wrong magic or oversized payload: the connection should be dropped
};
// Takes at most one frame off the front of buffer.
DecodeStatus decodeMessage(QByteArray& buffer, InstanceMessage* out);

// Whether the program acts on this message number (unknown numbers are ignored by the receiver).
// FirstShowFollowUp is not among them: only the program itself posts it, at its first show.
bool isKnownMessage(quint32 number);

} // namespace px
