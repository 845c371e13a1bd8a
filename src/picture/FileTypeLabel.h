#pragma once
// The file-type label of the status bar: where the current picture came from and in which form
// it is held.
#include <QString>

namespace px {

// "- - -": no picture.
QString NoPictureLabel();
// "|bmp|": a bitmap held only in memory (capture, paste, cancelled Save As).
QString MemoryBitmapLabel();
// "|bmp| - ext": a bitmap in memory that belongs to a file of type ext (saved, auto-saved, or
// opened with conversion to bitmap).
QString ConvertedBitmapLabel(const QString& extension);
// "ext": a file opened in its own format without conversion.
QString OwnFormatLabel(const QString& extension);

// The extension as the label shows it: without a leading dot, and every spelling of a JPEG
// extension ("jpeg", "JPG", ".jpe") as "jpg", so that the JPEG commands recognise the file.
// Other extensions keep their spelling.
QString LabelExtension(const QString& extension);

// True exactly for the label of a JPEG file opened without conversion.
bool isJpgLabel(const QString& label);

} // namespace px
