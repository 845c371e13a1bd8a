#pragma once
// TMultiLanguage: the non-visual translator every window owns. Given the language file's
// lines and a language name it selects that language's section, applies the section's
// property entries to its window and answers message lookups by key.
#include "app/LanguageFile.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace px {

class TMultiLanguage : public QObject {
    Q_OBJECT
public:
    // The owner is the window this translator labels; it also becomes the QObject parent.
    explicit TMultiLanguage(QObject* owner);

    void SetScript(const QStringList& lines);   // copy the lines, then translate
    void SetLanguage(const QString& name);      // store the name, then translate
    QStringList Script() const { return script_; }
    QString Language() const { return language_; }

    // The value of the first entry of the selected section named exactly key, else "".
    QString Lookup(const QString& key) const;

    // The selected section's entries in file order.
    const std::vector<LanguageEntry>& Entries() const { return entries_; }

    // How a dialog translates itself: SetScript(lines), then
    // SetLanguage(LanguageSectionName(languageNumber)).
    void Translate(const QStringList& lines, int languageNumber);
    // The same for a dialog, which then takes its caption from "Set_" + shortName + "_Title"
    // ("Set_RecorderForm_Title" for shortName "RecorderForm").
    void TranslateDialog(const QStringList& lines, int languageNumber, const QString& shortName);

    // How entries are applied to the owner, installed once by the widget layer. Without it
    // the entries are only kept for lookups. An applier that throws loses that one entry.
    using Applier = std::function<void(QObject* owner, const QString& path, const QString& value)>;
    static void SetApplier(Applier applier);

signals:
    // After every translation, once all entries have been applied.
    void OnTranslate();

private:
    void translate();

    QPointer<QObject> owner_;
    QStringList script_;
    QString language_;
    std::vector<LanguageEntry> entries_;
    QHash<QString, QString> firstValues_;   // first entry per name, for lookups
};

} // namespace px
