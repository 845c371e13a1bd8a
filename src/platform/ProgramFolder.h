#pragma once
// Where the installation's files are and where the program may write.
#include <QString>

namespace px {

// The folder of the running executable, with a trailing separator. Tests may point it
// elsewhere with setProgramFolderForTesting.
QString programFolder();
// programFolder() + a relative name written with '\' or '/' ("Templates\camera.wav").
QString programFile(const QString& relative);
void setProgramFolderForTesting(const QString& folder);

// A folder the original keeps inside the program folder ("Autosave\", "Attach", "Script\"):
// there when the program folder is writable, else $XDG_DATA_HOME/Pixmora/<relative>.
// The folder is not created.
QString writableProgramFolder(const QString& relative);

// Joins path pieces with the native separator, folding Windows separators ('\') into '/'.
// b is taken as relative to a (a leading separator of b is dropped); an empty piece gives
// the other one unchanged.
QString pathJoin(const QString& a, const QString& b);
// Converts a Windows-style relative or absolute path to this system's form.
// "c:\..." (any drive) and "\..." stand for the home folder; every '\' becomes '/'.
QString nativePath(const QString& windowsPath);

// $XDG_CONFIG_HOME (default ~/.config) and $XDG_DATA_HOME (default ~/.local/share).
QString configHome();
QString dataHome();

} // namespace px
