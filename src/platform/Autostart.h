#pragma once
// Starting with the desktop session: the XDG autostart entry
// $XDG_CONFIG_HOME/autostart/pixmora.desktop ("AutoSysStart"), and the once-only entry
// pixmora-runonce.desktop written when the session ends, removed again at the next start.
#include <QString>

namespace px {

class Autostart {
public:
    explicit Autostart(QString autostartFolder = defaultFolder());
    static QString defaultFolder();   // $XDG_CONFIG_HOME/autostart

    // Writes or removes pixmora.desktop. False with *error when the file system refused.
    bool setEnabled(bool enabled, const QString& executable, QString* error = nullptr);
    bool isEnabled() const;

    bool writeRunOnce(const QString& executable, QString* error = nullptr);
    // Removes the once-only entry; true when there was one.
    bool consumeRunOnce();

    QString entryPath() const;
    QString runOncePath() const;

private:
    QString folder_;
};

// The text of a desktop entry that starts executable; arguments and the path are quoted by
// the desktop-entry rules.
QString desktopEntryText(const QString& executable, const QString& name, bool onceOnly);

} // namespace px
