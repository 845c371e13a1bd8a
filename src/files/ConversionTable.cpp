// The conversion pair table and the target naming rule.
#include "files/ConversionTable.h"

#include <iterator>

namespace px {

const QStringList& GraphicExtensions()
{
    static const QStringList extensions = {
        QStringLiteral(".Bmp"), QStringLiteral(".Jpg"), QStringLiteral(".Gif"),
        QStringLiteral(".Wmf"), QStringLiteral(".Emf"), QStringLiteral(".Ico"),
        QStringLiteral(".Pxg"), QStringLiteral(".Png"), QStringLiteral(".Tif"),
        QStringLiteral(".Jpeg"), QStringLiteral(".Dib"), QStringLiteral(".Tiff")};
    return extensions;
}

namespace {

struct PairRow {
    int code;
    const char* source;
    const char* target;
};

// In lookup order; the first row that matches decides. Code 2 has a second row for ".jpeg".
constexpr PairRow kPairs[] = {
    {1, ".bmp", ".jpg"},  {2, ".jpg", ".bmp"},  {2, ".jpeg", ".bmp"}, {3, ".bmp", ".ico"},
    {4, ".ico", ".bmp"},  {5, ".emf", ".wmf"},  {6, ".wmf", ".emf"},  {7, ".bmp", ".wmf"},
    {8, ".wmf", ".bmp"},  {9, ".bmp", ".pxg"},  {10, ".pxg", ".bmp"}, {11, ".bmp", ".gif"},
    {13, ".bmp", ".emf"}, {14, ".emf", ".bmp"}, {15, ".bmp", ".png"}, {16, ".png", ".bmp"},
    {17, ".jpg", ".ico"}, {18, ".ico", ".jpg"}, {19, ".png", ".ico"}, {20, ".ico", ".png"},
    {21, ".jpg", ".png"}, {22, ".png", ".jpg"}, {23, ".png", ".wmf"}, {24, ".wmf", ".png"},
    {25, ".png", ".emf"}, {26, ".emf", ".png"}, {27, ".jpg", ".wmf"}, {28, ".wmf", ".jpg"},
    {29, ".jpg", ".emf"}, {30, ".emf", ".jpg"}, {31, ".pxg", ".ico"}, {32, ".ico", ".pxg"},
    {33, ".pxg", ".wmf"}, {34, ".wmf", ".pxg"}, {35, ".pxg", ".emf"}, {36, ".emf", ".pxg"},
    {37, ".ico", ".wmf"}, {38, ".wmf", ".ico"}, {39, ".ico", ".emf"}, {40, ".emf", ".ico"},
    {41, ".pxg", ".png"}, {42, ".png", ".pxg"}, {43, ".jpg", ".pxg"}, {44, ".pxg", ".jpg"},
    {45, ".bmp", ".tif"}, {46, ".gif", ".bmp"},
};

} // namespace

int ConversionPairCode(const QString& sourceExt, const QString& targetExt)
{
    const QString source = sourceExt.toLower();
    const QString target = targetExt.toLower();
    for (const PairRow& row : kPairs) {
        if (source == QLatin1String(row.source) && target == QLatin1String(row.target))
            return row.code;
    }
    return -1;
}

QString ConversionTargetPath(const QString& targetPathWithSourceName, const QString& sourceExt,
                             const QString& targetExt)
{
    QString stem = targetPathWithSourceName;
    if (!sourceExt.isEmpty() && stem.endsWith(sourceExt, Qt::CaseInsensitive))
        stem.chop(sourceExt.size());
    return stem + targetExt.toLower();
}

} // namespace px
