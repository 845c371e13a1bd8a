#pragma once
// Which commands of the main window act on the picture, as a function of the document state.
// Keys are the handler names of the main window's commands; a command absent from a result is
// left as it is.
#include "picture/Picture.h"

#include <QString>
#include <QStringList>
#include <map>

namespace px {

struct DocumentState {
    GraphicKind kind = GraphicKind::None;
    QString label;                             // the file-type label of the status bar
    bool clipboardHasPicture = false;
    bool printerAvailable = false;
    bool previewWindowExistsAndHidden = false; // print preview is only touched in this state
    bool previewWindowOpen = false;            // not consulted: a shown preview window keeps
                                               // its command as it is
};

// The commands that change the pixels; enabled only for a plain bitmap.
const QStringList& EditingCommandHandlers();
// The view commands; enabled while the picture holds a graphic.
const QStringList& ViewCommandHandlers();

// The enabling applied whenever the application becomes idle.
std::map<QString, bool> EnabledCommands(const DocumentState& state);

// The enabling applied when the File, Edit, Extras or Options menu opens (printing and JPEG
// scaling; the check marks and the recent-files list are the main window's own business).
std::map<QString, bool> MenuOpenEnabling(const DocumentState& state);

} // namespace px
