#include "platform/InstanceMessage.h"

#include <gtest/gtest.h>

using namespace px;

TEST(InstanceMessage, FrameLayoutIsLittleEndianAfterTheMagic)
{
    const QByteArray frame = encodeMessage({msg::OpenFile, 0x01020304, "ab"});
    EXPECT_EQ(frame, QByteArray("PXM1"
                                "\x66\x80\x00\x00"
                                "\x04\x03\x02\x01"
                                "\x02\x00\x00\x00"
                                "ab",
                                18));
}

TEST(InstanceMessage, DecodesFramesOneAtATimeFromTheFront)
{
    const InstanceMessage a{msg::CopyData, msg::CopyDataBitmap, QByteArray("BM\0\0", 4)};
    const InstanceMessage b{msg::StartCapture, 0, {}};
    const InstanceMessage c{0x1234, 7, QByteArray(1000, 'x')};   // unknown numbers decode too
    QByteArray buffer = encodeMessage(a) + encodeMessage(b) + encodeMessage(c) + "PX";

    for (const InstanceMessage& expected : {a, b, c}) {
        InstanceMessage got;
        ASSERT_EQ(decodeMessage(buffer, &got), DecodeStatus::Message);
        EXPECT_EQ(got, expected);
    }
    EXPECT_EQ(decodeMessage(buffer, nullptr), DecodeStatus::NeedMore);
    EXPECT_EQ(buffer, "PX");
}

TEST(InstanceMessage, EveryTruncationNeedsMoreAndLeavesTheBuffer)
{
    const QByteArray frame = encodeMessage({msg::OpenFile, 0, "/home/user/Bild.png"});
    for (qsizetype n = 0; n < frame.size(); ++n) {
        QByteArray buffer = frame.left(n);
        EXPECT_EQ(decodeMessage(buffer, nullptr), DecodeStatus::NeedMore) << n;
        EXPECT_EQ(buffer, frame.left(n));
    }
}

TEST(InstanceMessage, WrongMagicOrOversizedPayloadIsABadFrame)
{
    QByteArray oversized = encodeMessage({msg::OpenFile, 0, {}});
    oversized[12] = char(0x01);
    oversized[15] = char(0x10);   // 0x10000001 bytes announced, more than kMaxPayload
    QByteArray atLimit = encodeMessage({msg::OpenFile, 0, {}});
    const quint32 limit = kMaxPayload;
    for (int i = 0; i < 4; ++i)
        atLimit[12 + i] = char((limit >> (8 * i)) & 0xff);

    const struct {
        QByteArray buffer;
        DecodeStatus status;
    } cases[] = {
        {"G", DecodeStatus::BadFrame},                 // known bad from the first byte
        {"PXM2", DecodeStatus::BadFrame},
        {"GET / HTTP/1.1\r\n\r\n", DecodeStatus::BadFrame},
        {oversized, DecodeStatus::BadFrame},
        {atLimit, DecodeStatus::NeedMore},             // the limit itself is allowed
    };
    for (const auto& c : cases) {
        QByteArray buffer = c.buffer;
        EXPECT_EQ(decodeMessage(buffer, nullptr), c.status) << c.buffer.toHex().constData();
    }
}

TEST(InstanceMessage, KnownMessagesAreTheOnesOtherProcessesMaySend)
{
    EXPECT_TRUE(isKnownMessage(msg::CopyData));
    EXPECT_TRUE(isKnownMessage(msg::OpenFile));
    EXPECT_TRUE(isKnownMessage(msg::StartCapture));
    EXPECT_TRUE(isKnownMessage(msg::ShowProgram));
    EXPECT_FALSE(isKnownMessage(msg::FirstShowFollowUp));
    EXPECT_FALSE(isKnownMessage(0));
    EXPECT_FALSE(isKnownMessage(0x8069));
}
