#include "files/FileTypes.h"

#include <QRegularExpression>

#include <iterator>

namespace px {

namespace {

const FileType kSaveTypes[] = {
    {0, ".bmp", "Windows Bitmap (*.bmp, *.dib)", "*.bmp;*.dib"},
    {1, ".jpg", "JPEG-Grafik (*.jpg, *.jpeg)", "*.jpg;*.jpeg"},
    {2, ".gif", "GIF-Grafik (*.gif)", "*.gif"},
    {3, ".wmf", "Windows Metafile (*.wmf)", "*.wmf"},
    {4, ".emf", "Enhanced Windows Metafile (*.emf)", "*.emf"},
    {5, ".ico", "Windows Icon (*.ico)", "*.ico"},
    {6, ".pxg", "Pixmora Bitmap (*.pxg)", "*.pxg"},
    {7, ".tif", "Tagged Image File (*.tif, *.tiff)", "*.tif;*.tiff"},
    {8, ".png", "Portable Network Graphics (*.png)", "*.png"},
};

const FileType kOpenTypes[] = {
    {1, "", "Windows Bitmap (*.bmp)", "*.bmp"},
    {2, "", "JPEG-Grafik (*.jpg, *.jpeg)", "*.jpg;*.jpeg"},
    {3, "", "GIF-Grafik (*.gif)", "*.gif"},
    {4, "", "Windows Metafile (*.wmf)", "*.wmf"},
    {5, "", "Enhanced Windows Metafile (*.emf)", "*.emf"},
    {6, "", "Windows Icon (*.ico)", "*.ico"},
    {7, "", "Pixmora Bitmap (*.pxg)", "*.pxg"},
    {8, "", "Portable Network Graphics (*.png)", "*.png"},
    {9, "", "Alle lesbaren Dateien (*.bmp, *.jpg, *.jpeg, *.gif, *.wmf, *.emf, *.ico, *.pxg, *.png)",
     "*.bmp;*.jpg;*.jpeg;*.gif;*.wmf;*.emf;*.ico;*.pxg;*.png"},
};

// Qt wants the patterns in parentheses, separated by blanks; the description keeps its own
// wording, so the patterns are appended after it.
QString qtFilter(const FileType& t)
{
    QString description = QString::fromUtf8(t.description);
    const QString patterns = QString::fromLatin1(t.patterns).replace(QLatin1Char(';'), QLatin1Char(' '));
    // "Windows Bitmap (*.bmp, *.dib)" already names them; Qt reads the last parenthesis.
    static const QRegularExpression trailing(QStringLiteral(R"(\s*\([^()]*\)\s*$)"));
    description.remove(trailing);
    return description + QStringLiteral(" (") + patterns + QLatin1Char(')');
}

// True when t's patterns name "*" + the extension exactly as given.
bool namesExtension(const FileType& t, const QString& extensionWithDot)
{
    return QString::fromLatin1(t.patterns).split(QLatin1Char(';')).contains(QLatin1Char('*') + extensionWithDot);
}

} // namespace

const FileType* SaveFileTypes(int* count)
{
    *count = int(std::size(kSaveTypes));
    return kSaveTypes;
}

QString FileTypeExtension(int index)
{
    if (index >= 0 && index < int(std::size(kSaveTypes)))
        return QString::fromLatin1(kSaveTypes[index].extension);
    if (index == 9)
        return QStringLiteral(".pcx");
    return QString();
}

bool IsSupportedExtension(const QString& ext)
{
    // The files the open dialog offers as readable, its last filter.
    return namesExtension(kOpenTypes[std::size(kOpenTypes) - 1], ext);
}

int FileTypeIndexForExtension(const QString& extensionWithDot)
{
    const QString lower = extensionWithDot.toLower();
    for (const FileType& t : kSaveTypes)
        if (namesExtension(t, lower))
            return t.index;
    return -1;
}

QStringList SaveDialogFilters()
{
    QStringList filters;
    for (const FileType& t : kSaveTypes)
        filters << qtFilter(t);
    return filters;
}

QStringList OpenDialogFilters()
{
    QStringList filters;
    for (const FileType& t : kOpenTypes)
        filters << qtFilter(t);
    return filters;
}

} // namespace px
