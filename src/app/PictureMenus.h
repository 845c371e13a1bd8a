#pragma once
// The picture's context menu `GrEdtBarPopupMenu`.
#include <QList>

class QAction;
class QMenu;

namespace px {

// Fills menu: copies of the Graphic menu's twelve items (submenus with their sub-items), a
// separator, a copy of the crop command, a separator and the "Shell" submenu.
void BuildPictureMenu(QMenu* menu, QMenu* grafikMenu, QAction* cropCommand);

// Appends a separator and copies of the focus commands while focus mode is on (and the menu
// has fewer than 18 items); removes them again when it is off.
void UpdateFocusItems(QMenu* menu, bool focusMode, const QList<QAction*>& focusItems);

} // namespace px
