#include "app/Messages.h"

#include <QHash>

namespace px {

QString MessageText(const QString& key)
{
    static const QHash<QString, QString> texts = {
        {QStringLiteral("msgdlg_closequery"), QStringLiteral("Möchten Sie Pixmora wirklich beenden?")},
        {QStringLiteral("showmsg_file_evtl_not_exists"),
         QStringLiteral("Die Datei konnte nicht geöffnet werden. Eventuell existiert sie nicht mehr.")},
        {QStringLiteral("showmsg_autofilecreate_mistake"),
         QStringLiteral("Das Verzeichnis für die automatische Dateierzeugung existiert nicht. "
                        "Bitte wählen Sie in den Einstellungen ein vorhandenes Verzeichnis.")},
        {QStringLiteral("showmsg_except_afc_mistake"),
         QStringLiteral("Fehler bei der automatischen Dateierzeugung: ")},
        {QStringLiteral("showmsg_write_error_registry"),
         QStringLiteral("Die Einstellungen konnten nicht gespeichert werden: ")},
        {QStringLiteral("showmsg_no_txt_file_available"), QStringLiteral("Die Textdatei ist nicht vorhanden.")},
        {QStringLiteral("showmsg_except_invalid_data"), QStringLiteral("Ungültige Daten: ")},
        {QStringLiteral("statbar_app_run"), QStringLiteral("Bereit")},
        {QStringLiteral("statbar_graphic_txt"), QStringLiteral("Grafik: ")},
        {QStringLiteral("statbar_colview"), QStringLiteral("Farbcodes")},
    };
    return texts.value(key);
}

} // namespace px
