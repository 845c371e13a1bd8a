#include "app/MultiLanguage.h"

#include <QVariant>

#include <utility>

namespace px {

namespace {

TMultiLanguage::Applier& installedApplier()
{
    static TMultiLanguage::Applier applier;
    return applier;
}

} // namespace

TMultiLanguage::TMultiLanguage(QObject* owner)
    : QObject(owner)
    , owner_(owner)
{
}

void TMultiLanguage::SetApplier(Applier applier)
{
    installedApplier() = std::move(applier);
}

void TMultiLanguage::SetScript(const QStringList& lines)
{
    script_ = lines;
    translate();
}

void TMultiLanguage::SetLanguage(const QString& name)
{
    language_ = name;
    translate();
}

void TMultiLanguage::Translate(const QStringList& lines, int languageNumber)
{
    SetScript(lines);
    SetLanguage(LanguageSectionName(languageNumber));
}

void TMultiLanguage::TranslateDialog(const QStringList& lines, int languageNumber, const QString& shortName)
{
    Translate(lines, languageNumber);
    // The caption comes from the dialog's title key; without a text the designed one stays.
    const QString title = Lookup(QStringLiteral("Set_") + shortName + QStringLiteral("_Title"));
    if (owner_ && !title.isEmpty() && owner_->metaObject()->indexOfProperty("windowTitle") >= 0)
        owner_->setProperty("windowTitle", QVariant(title));
}

QString TMultiLanguage::Lookup(const QString& key) const
{
    return firstValues_.value(key);
}

void TMultiLanguage::translate()
{
    entries_ = SectionEntries(script_, language_);
    firstValues_.clear();
    firstValues_.reserve(qsizetype(entries_.size()));
    for (const LanguageEntry& e : entries_)
        if (!firstValues_.contains(e.name))
            firstValues_.insert(e.name, e.value);

    // Applied in file order, so for a property named twice the later line wins. A copy is
    // walked: a handler reached while applying may start another translation.
    const Applier applier = installedApplier();
    if (applier && owner_) {
        const std::vector<LanguageEntry> entries = entries_;
        for (const LanguageEntry& e : entries) {
            if (!owner_)
                break;
            // One bad line never stops the window from being labelled by the others.
            try {
                applier(owner_, e.name, e.value);
            } catch (...) {
            }
        }
    }
    emit OnTranslate();
}

} // namespace px
