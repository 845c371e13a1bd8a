#include "app/SplashForm.h"

#include <QLabel>
#include <gtest/gtest.h>

using px::TSplashForm;

TEST(SplashForm, HasBorderedClientAreaAndBuildNumber)
{
    TSplashForm splash;
    // 288 x 125 inside a 3-pixel border on every side.
    EXPECT_EQ(splash.size(), QSize(294, 131));
    EXPECT_EQ(splash.image()->geometry(), QRect(3, 3, 288, 125));
    EXPECT_FALSE(splash.image()->pixmap().isNull());
    EXPECT_EQ(splash.buildLabel()->text(), QStringLiteral("Compilierung: " PIXMORA_VERSION));
    EXPECT_EQ(splash.subtitleLabel()->text(), QStringLiteral("Screen-Capture für Linux-Systeme"));
    const Qt::WindowFlags flags = splash.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowStaysOnTopHint));
}
