#pragma once
// File-to-file conversion between the program's graphic formats: the routine a pair of
// extensions chooses (see ConversionTable.h), done in memory (no shared temporary file) and
// with an atomic write of the target.
//
// What the routines do, by the two types:
// - the source is read by its type; a metafile (.wmf, .emf) is read by its content and
//   rendered at its own size on white, so a metafile target made from a metafile holds that
//   rendering as one bitmap;
// - an icon source becomes an opaque bitmap (transparent parts white), an icon target is an
//   opaque icon of the picture's size;
// - bitmap-to-bitmap copies (.bmp, .pxg) keep the source's bit depth; other bitmap targets
//   are 24 bits; .tif is written by the TIFF writer in the bitmap's own depth;
// - JPEG, GIF and PNG targets are written with the encoders' default settings (the stored
//   save options are not applied); metafile targets carry no description.
#include <QString>

namespace px {

struct GraphicConversion {
    enum class Status { Converted, NoRoutine, Failed };
    Status status = Status::Failed;
    QString targetPath;  // the file the routine wrote (or would have written)
    QString error;       // NoRoutine or Failed: why (no routine, unreadable source, unwritable target)
};

// Converts sourcePath into targetFolder: the target is the folder joined with the source's
// file name, its extension replaced as ConversionTargetPath says. Extensions are compared
// lower-cased; sourceExt picks the routine and is expected to be the source's own extension,
// by which the source is read (a metafile by its content). NoRoutine when the
// pair has no routine: the caller closes its progress window and shows
// kNoConversionRoutineMessage. A failing routine leaves no partial target and an existing
// target unchanged.
GraphicConversion ConvertGraphicFile(const QString& sourcePath, const QString& targetFolder,
                                     const QString& sourceExt, const QString& targetExt);

// Converts sourcePath to exactly targetPath, the types taken from the two files' extensions:
// the pair's routine where one exists (as ConvertGraphicFile runs it), otherwise any type we
// read (.bmp .dib .pxg .jpg .jpeg .gif .png .ico .tif .tiff .wmf .emf) to any type we write
// (.bmp .dib .pxg .jpg .jpeg .gif .png .ico .tif .tiff .wmf .emf), the picture as read. Such
// a copy keeps transparency where the target holds it (.png, .ico) and the bit depth between
// bitmap files. NoRoutine when a type cannot be read or written. Reading a metafile draws
// text, which needs a QGuiApplication.
GraphicConversion ConvertPictureFile(const QString& sourcePath, const QString& targetPath);

// True when ConvertPictureFile reads the source as a metafile (by its extension).
bool IsMetafilePath(const QString& path);

} // namespace px
