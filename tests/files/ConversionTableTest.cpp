// The conversion pair codes and the names conversion routines give their targets.
#include "files/ConversionTable.h"

#include <gtest/gtest.h>

using namespace px;

namespace {
QString L(const char* text) { return QString::fromUtf8(text); }
} // namespace

TEST(ConversionTable, GraphicExtensionsInTheirOrder)
{
    const QStringList expected = {".Bmp", ".Jpg", ".Gif", ".Wmf", ".Emf", ".Ico",
                                  ".Pxg", ".Png", ".Tif", ".Jpeg", ".Dib", ".Tiff"};
    EXPECT_EQ(GraphicExtensions(), expected);
}

TEST(ConversionTable, PairCodesFollowTheTable)
{
    const struct {
        const char* source;
        const char* target;
        int code;
    } table[] = {
        {".bmp", ".jpg", 1},  {".jpg", ".bmp", 2},  {".jpeg", ".bmp", 2}, {".bmp", ".ico", 3},
        {".ico", ".bmp", 4},  {".emf", ".wmf", 5},  {".wmf", ".emf", 6},  {".bmp", ".wmf", 7},
        {".wmf", ".bmp", 8},  {".bmp", ".pxg", 9},  {".pxg", ".bmp", 10}, {".bmp", ".gif", 11},
        {".bmp", ".emf", 13}, {".emf", ".bmp", 14}, {".bmp", ".png", 15}, {".png", ".bmp", 16},
        {".jpg", ".ico", 17}, {".ico", ".jpg", 18}, {".png", ".ico", 19}, {".ico", ".png", 20},
        {".jpg", ".png", 21}, {".png", ".jpg", 22}, {".png", ".wmf", 23}, {".wmf", ".png", 24},
        {".png", ".emf", 25}, {".emf", ".png", 26}, {".jpg", ".wmf", 27}, {".wmf", ".jpg", 28},
        {".jpg", ".emf", 29}, {".emf", ".jpg", 30}, {".pxg", ".ico", 31}, {".ico", ".pxg", 32},
        {".pxg", ".wmf", 33}, {".wmf", ".pxg", 34}, {".pxg", ".emf", 35}, {".emf", ".pxg", 36},
        {".ico", ".wmf", 37}, {".wmf", ".ico", 38}, {".ico", ".emf", 39}, {".emf", ".ico", 40},
        {".pxg", ".png", 41}, {".png", ".pxg", 42}, {".jpg", ".pxg", 43}, {".pxg", ".jpg", 44},
        {".bmp", ".tif", 45}, {".gif", ".bmp", 46},
        // Capitals on either side are lower-cased first.
        {".JPG", ".BMP", 2},  {".Jpeg", ".Bmp", 2}, {".jpg", ".BMP", 2},
        // Pairs without a routine.
        {".jpeg", ".ico", -1}, {".jpeg", ".png", -1}, {".gif", ".png", -1}, {".gif", ".jpg", -1},
        {".jpg", ".gif", -1},  {".png", ".gif", -1},  {".bmp", ".tiff", -1}, {".tif", ".bmp", -1},
        {".dib", ".bmp", -1},  {".bmp", ".bmp", -1},  {"bmp", "jpg", -1},    {"", "", -1},
    };
    for (const auto& row : table)
        EXPECT_EQ(ConversionPairCode(L(row.source), L(row.target)), row.code)
            << row.source << " -> " << row.target;
}

TEST(ConversionTable, NoRoutineMessageIsTheFixedText)
{
    EXPECT_EQ(QString::fromUtf8(kNoConversionRoutineMessage),
              QStringLiteral("Konvertier-Routine steht nicht zur Verfügung (unit: GraphicConvert)!"));
}

TEST(ConversionTable, TargetPathReplacesTheSourceExtension)
{
    const struct {
        const char* path;
        const char* source;
        const char* target;
        const char* expected;
    } table[] = {
        {"/out/a.JPG", ".JPG", ".BMP", "/out/a.bmp"},
        {"/out/photo.jpeg", ".jpeg", ".bmp", "/out/photo.bmp"},
        {"/out/icon.ico", ".ico", ".emf", "/out/icon.emf"},
        {"/out/scan.bmp", ".bmp", ".tif", "/out/scan.tif"},
        {"/out/my.picture.png", ".png", ".jpg", "/out/my.picture.jpg"},
        // Longer or shorter extensions never cut into the name.
        {"/out/page.tiff", ".tiff", ".bmp", "/out/page.bmp"},
        {"/out/x.gif", ".gif", ".bmp", "/out/x.bmp"},
        // A path that does not end in the source extension keeps its whole name.
        {"/out/picture", ".bmp", ".jpg", "/out/picture.jpg"},
        {"/out/ab", ".bmp", ".jpg", "/out/ab.jpg"},
    };
    for (const auto& row : table)
        EXPECT_EQ(ConversionTargetPath(L(row.path), L(row.source), L(row.target)), L(row.expected))
            << row.path;
}
