// The picture on the clipboard, within this process (the offscreen platform's clipboard).
#include "picture/ClipboardPicture.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QMimeData>

using namespace px;

namespace {

QImage testPicture()
{
    QImage img(37, 23, QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            img.setPixel(x, y, qRgb(x * 7, y * 11, (x ^ y) * 5));
    return img;
}

bool samePixels(const QImage& a, const QImage& b)
{
    return a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
}

} // namespace

TEST(ClipboardPicture, Copy_OffersBmpBytesAndImageAndReadsBack)
{
    QString error;
    ASSERT_TRUE(CopyPictureToClipboard(testPicture(), &error)) << error.toStdString();
    EXPECT_TRUE(ClipboardHasPicture());

    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(mime, nullptr);
    // PNG and the other formats are made from the image data when a program asks (the X
    // clipboard test reads PNG through xclip); BMP bytes are there from the start.
    EXPECT_TRUE(mime->hasImage());
    QImage decoded;
    ASSERT_TRUE(decoded.loadFromData(mime->data(QStringLiteral("image/bmp")), "BMP"));
    EXPECT_TRUE(samePixels(decoded, testPicture()));

    const auto back = PictureFromClipboard();
    ASSERT_TRUE(back.has_value());
    EXPECT_TRUE(samePixels(*back, testPicture()));
}

TEST(ClipboardPicture, TextOrEmptyClipboard_HoldsNoPicture)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("kein Bild"));
    EXPECT_FALSE(ClipboardHasPicture());
    EXPECT_FALSE(PictureFromClipboard().has_value());

    QGuiApplication::clipboard()->clear();
    EXPECT_FALSE(ClipboardHasPicture());
    EXPECT_FALSE(PictureFromClipboard().has_value());
}

TEST(ClipboardPicture, ForeignBmpOnly_IsRead)
{
    // Another program that offers nothing but BMP bytes.
    QByteArray bmp;
    {
        QBuffer buffer(&bmp);
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(testPicture().save(&buffer, "BMP"));
    }
    auto* mime = new QMimeData;
    mime->setData(QStringLiteral("image/bmp"), bmp);
    QGuiApplication::clipboard()->setMimeData(mime);
    EXPECT_TRUE(ClipboardHasPicture());
    const auto back = PictureFromClipboard();
    ASSERT_TRUE(back.has_value());
    EXPECT_TRUE(samePixels(*back, testPicture()));
}

TEST(ClipboardPicture, CopyOfNoPicture_FailsWithReasonAndKeepsClipboard)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("bleibt"));
    QString error;
    EXPECT_FALSE(CopyPictureToClipboard(QImage(), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("bleibt"));
}

TEST(ClipboardPicture, CorruptPictureData_GivesNothing)
{
    auto* mime = new QMimeData;
    mime->setData(QStringLiteral("image/png"), QByteArray("\x89PNG\r\n\x1a\n garbage", 18));
    QGuiApplication::clipboard()->setMimeData(mime);
    EXPECT_FALSE(PictureFromClipboard().has_value());
}
