#pragma once
// The picture on the desktop clipboard. A copied picture is offered as PNG and as BMP (and in
// the other formats Qt converts to), so that other programs can paste it; a picture another
// program copied is read from PNG, BMP or any picture format Qt can decode. Needs a
// QGuiApplication.
#include <QImage>
#include <QString>
#include <optional>

namespace px {

// Puts image on the clipboard. Returns false with a reason in *error (when given) if there is
// no picture or the clipboard did not take it.
bool CopyPictureToClipboard(const QImage& image, QString* error);

// True while the clipboard offers a picture in any format.
bool ClipboardHasPicture();

// The clipboard's picture, or nothing when it holds none that can be decoded.
std::optional<QImage> PictureFromClipboard();

} // namespace px
