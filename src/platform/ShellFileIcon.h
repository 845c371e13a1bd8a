#pragma once
// The desktop's icon for a type of file, looked up by the file name alone (the file need not
// exist): the MIME type its extension gives, shown through the icon theme.
#include <QPixmap>
#include <QString>

namespace px {

// A pixmap of 16 x 16 pixels when small is set, else 32 x 32, never null: the MIME type's
// icon, else its generic icon, else the theme's plain document icon, else a document icon
// drawn here. Needs a QGuiApplication.
QPixmap ShellFileIcon(const QString& fileName, bool small);

} // namespace px
