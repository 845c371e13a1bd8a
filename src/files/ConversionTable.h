#pragma once
// The table behind file-to-file conversion: the graphic extensions the explorers and
// converters recognise, the pair code that picks a conversion routine for a source and a
// target extension, and the name a routine gives its target file.
#include <QString>
#include <QStringList>

namespace px {

// Shown when a pair of extensions has no conversion routine.
inline constexpr const char* kNoConversionRoutineMessage =
    "Konvertier-Routine steht nicht zur Verfügung (unit: GraphicConvert)!";

// ".Bmp", ".Jpg", ".Gif", ".Wmf", ".Emf", ".Ico", ".Pxg", ".Png", ".Tif", ".Jpeg", ".Dib",
// ".Tiff", in this order. Callers compare them case-insensitively.
const QStringList& GraphicExtensions();

// The routine code (1..46, 12 unused) for a source and target extension with their dots, or
// -1 when the pair has no routine. Both are lower-cased before the comparison; the first
// matching row wins. ".jpeg" is accepted as a source only by the JPEG-to-bitmap routine (2).
int ConversionPairCode(const QString& sourceExt, const QString& targetExt);

// The path a routine writes: targetPathWithSourceName is the target folder joined with the
// source file's name. The source extension at its end is replaced by the lower-cased target
// extension. For three-letter extensions this is the last four characters, and for ".jpeg"
// the last five, as the routines name their targets; the length is taken from the source
// extension itself so that no other extension length cuts into the file name. A path that
// does not end in the source extension (case-insensitively) keeps its whole name and gets
// the target extension appended.
QString ConversionTargetPath(const QString& targetPathWithSourceName, const QString& sourceExt,
                             const QString& targetExt);

} // namespace px
