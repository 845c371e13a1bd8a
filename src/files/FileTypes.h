#pragma once
// The file-type index the settings, Save As, the automatic save and the batch tools share:
// 0 bmp, 1 jpg, 2 gif, 3 wmf, 4 emf, 5 ico, 6 pxg, 7 tif, 8 png (9 pcx: extension only).
#include <QString>
#include <QStringList>

namespace px {

struct FileType {
    int index;
    const char* extension;      // with its dot
    const char* description;    // Save As filter text
    const char* patterns;       // ";"-separated
};

// Indexes 0..8, in order; the Save As filter index is the file-type index + 1.
const FileType* SaveFileTypes(int* count);

// The extension with its dot for an index (".pcx" for 9), empty for any other.
QString FileTypeExtension(int index);
// True for ".bmp", ".jpg", ".gif", ".wmf", ".emf", ".ico", ".pxg", ".png", ".jpeg" (lower case).
bool IsSupportedExtension(const QString& lowerExtensionWithDot);
// The file-type index a typed extension names (".jpeg" → 1, ".tiff" → 7, ".dib" → 0), or -1.
int FileTypeIndexForExtension(const QString& extensionWithDot);

// Qt file-dialog filter strings ("Description (*.a *.b)") of the Save As dialog (nine, in
// file-type order) and of the open dialog (its nine filters, in its order).
QStringList SaveDialogFilters();
QStringList OpenDialogFilters();

} // namespace px
