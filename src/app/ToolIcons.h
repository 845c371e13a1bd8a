#pragma once
// Small icons of our own for the tool buttons and the status bar's icon panels, drawn in code.
#include <QIcon>
#include <QPixmap>
#include <QString>

namespace px {

// The tool-button icon with this id ("capture", "open", "save", ...); a plain marked square
// for an unknown id, so a button never goes without an image.
QIcon ToolIcon(const QString& id);

// The status bar's images: 0 automatic file creation on, 1 off, 2 picture without file,
// 3 picture with file, 4 program information, 5 minimise after capture off, 6 on.
QPixmap StatusImage(int index);

// A bar in the pen's colour, thin or fat, as the marker drop-down shows its pens.
QIcon MarkerPenIcon(QRgb colour, int width);

} // namespace px
