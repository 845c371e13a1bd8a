// The file-type index and the dialogs' filters.
#include "files/FileTypes.h"

#include <gtest/gtest.h>

using namespace px;

TEST(FileTypes, ExtensionsByIndexAndBack)
{
    const struct {
        int index;
        const char* extension;
    } table[] = {{0, ".bmp"}, {1, ".jpg"}, {2, ".gif"}, {3, ".wmf"}, {4, ".emf"}, {5, ".ico"},
                 {6, ".pxg"}, {7, ".tif"}, {8, ".png"}, {9, ".pcx"}, {10, ""}, {-1, ""}};
    for (const auto& row : table)
        EXPECT_EQ(FileTypeExtension(row.index), QString::fromLatin1(row.extension)) << row.index;

    EXPECT_EQ(FileTypeIndexForExtension(QStringLiteral(".JPEG")), 1);
    EXPECT_EQ(FileTypeIndexForExtension(QStringLiteral(".tiff")), 7);
    EXPECT_EQ(FileTypeIndexForExtension(QStringLiteral(".dib")), 0);
    EXPECT_EQ(FileTypeIndexForExtension(QStringLiteral(".pcx")), -1);
    EXPECT_EQ(FileTypeIndexForExtension(QStringLiteral(".txt")), -1);
}

TEST(FileTypes, SupportedExtensionsForOpeningByPath)
{
    for (const char* ext : {".bmp", ".jpg", ".jpeg", ".gif", ".wmf", ".emf", ".ico", ".pxg", ".png"})
        EXPECT_TRUE(IsSupportedExtension(QString::fromLatin1(ext))) << ext;
    for (const char* ext : {".tif", ".pcx", ".BMP", "bmp", ""})
        EXPECT_FALSE(IsSupportedExtension(QString::fromLatin1(ext))) << ext;
}

TEST(FileTypes, DialogFiltersInOrderWithPatternsQtUnderstands)
{
    const QStringList save = SaveDialogFilters();
    ASSERT_EQ(save.size(), 9);
    EXPECT_EQ(save[0], QStringLiteral("Windows Bitmap (*.bmp *.dib)"));
    EXPECT_EQ(save[6], QStringLiteral("Pixmora Bitmap (*.pxg)"));
    EXPECT_EQ(save[7], QStringLiteral("Tagged Image File (*.tif *.tiff)"));
    const QStringList open = OpenDialogFilters();
    ASSERT_EQ(open.size(), 9);
    EXPECT_EQ(open[0], QStringLiteral("Windows Bitmap (*.bmp)"));
    EXPECT_EQ(open[8], QStringLiteral("Alle lesbaren Dateien (*.bmp *.jpg *.jpeg *.gif *.wmf *.emf *.ico *.pxg *.png)"));
}
