#pragma once
// The program's name as it appears in window captions, the tray, message boxes and desktop
// entries.
#include <QString>

namespace px {

inline const QString kProgramTitle = QStringLiteral("Pixmora 5.0");

} // namespace px
