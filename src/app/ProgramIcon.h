#pragma once
// The program's own icon: a camera body with a lens inside viewfinder corners. Drawn in code
// at the usual sizes; used for the main window, the tray and the splash.
#include <QIcon>

namespace px {

QIcon ProgramIcon();

} // namespace px
