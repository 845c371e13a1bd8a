#pragma once
// Writing a picture as a Windows metafile: a placeable Windows metafile (".wmf") or an
// enhanced metafile (".emf"), each holding the picture as one device-independent-bitmap
// record, so that other programs show it at its own size.
#include <QImage>
#include <QIODevice>
#include <QString>

namespace px {

// Placeable Windows metafile: the 22-byte placeable header (key 0x9AC6CDD7, bounding box
// 0,0-width,height, 96 units per inch, checksum), the standard metafile header, the window
// origin and extent, one stretch-DIB record with the picture in 24 bits, and the end record.
bool WriteWmf(const QImage& image, QIODevice& device, QString* error = nullptr);

// Enhanced metafile: the header (bounds in pixels, frame in 0.01 mm at 96 dots per inch, the
// description when it is not empty, stored as the creator name "" followed by the
// description as the format requires), one stretch-DIB-bits record with the picture in 24
// bits, and the end-of-file record.
bool WriteEmf(const QImage& image, const QString& description, QIODevice& device, QString* error = nullptr);

// The descriptions the enhanced metafile carries: Save As and the automatic save.
inline constexpr const char* kEmfDescriptionSaveAs = "Pixmora EMF-Grafik";
inline constexpr const char* kEmfDescriptionAutoSave = "Pixmora 5.0 Grafik";

} // namespace px
