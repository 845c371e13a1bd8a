// File-type icons by name: every name gets an icon of the asked size.
#include "platform/ShellFileIcon.h"

#include <QGuiApplication>
#include <QIcon>

#include <gtest/gtest.h>

using namespace px;

namespace {

class ShellFileIconTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        static int argc = 1;
        static char name[] = "ShellFileIconTest";
        static char* argv[] = {name, nullptr};
        if (!QGuiApplication::instance())
            app = new QGuiApplication(argc, argv);
    }
    static inline QGuiApplication* app = nullptr;
};

} // namespace

TEST_F(ShellFileIconTest, EveryNameGetsAnIconOfTheAskedSize)
{
    const char* names[] = {"a.png", "x.unknownext", "/no/such/folder/report.PDF", "noextension", "", ".hidden",
                           "archive.tar.gz"};
    for (const char* name : names) {
        for (const bool small : {true, false}) {
            const QPixmap icon = ShellFileIcon(QString::fromUtf8(name), small);
            const int size = small ? 16 : 32;
            ASSERT_FALSE(icon.isNull()) << name;
            EXPECT_EQ(icon.size(), QSize(size, size)) << name << (small ? " small" : " large");
            // Something is drawn: not a fully transparent square.
            const QImage pixels = icon.toImage().convertToFormat(QImage::Format_ARGB32);
            bool visible = false;
            for (int y = 0; y < pixels.height() && !visible; ++y)
                for (int x = 0; x < pixels.width() && !visible; ++x)
                    visible = qAlpha(pixels.pixel(x, y)) > 0;
            EXPECT_TRUE(visible) << name;
        }
    }
}

TEST_F(ShellFileIconTest, TypesTheThemeKnowsGetTheirOwnIcons)
{
    const QImage picture = ShellFileIcon("holiday.png", false).toImage();
    if (!QIcon::hasThemeIcon("image-x-generic") || !QIcon::hasThemeIcon("text-x-generic"))
        GTEST_SKIP() << "no icon theme with file-type icons is installed";
    EXPECT_NE(picture, ShellFileIcon("notes.txt", false).toImage());
    EXPECT_EQ(picture, ShellFileIcon("OTHER.PNG", false).toImage()) << "extensions compare case-insensitively";
}
