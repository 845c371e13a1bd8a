#include "app/HistoryCombo.h"

#include "platform/Registry.h"

#include <QCompleter>
#include <QFocusEvent>
#include <QSignalBlocker>

namespace px {

THistoryCombo::THistoryCombo(QWidget* parent)
    : QComboBox(parent)
{
    setEditable(true);
    // The list decides what is remembered and in which order; Enter must not add items.
    setInsertPolicy(QComboBox::NoInsert);
    // Completion and the match made when editing ends respect case: a typed "/home/Me" must not
    // turn into a remembered "/home/me", which on this system is another folder.
    completer()->setCaseSensitivity(Qt::CaseSensitive);
}

THistoryCombo::~THistoryCombo()
{
    if (storedInRegistry())
        history_.save(*registry_, registryPath_, iniSection_);
}

void THistoryCombo::setRegistry(Registry* registry)
{
    registry_ = registry;
    loadIfComplete();
}

void THistoryCombo::setRegistryPath(const QString& path)
{
    registryPath_ = path;
    iniFileName_.clear();
    loadIfComplete();
}

void THistoryCombo::setIniFileName(const QString& fileName)
{
    iniFileName_ = fileName;
    registryPath_.clear();
}

void THistoryCombo::setIniSection(const QString& section)
{
    iniSection_ = section;
    loadIfComplete();
}

void THistoryCombo::updateHistory()
{
    history_.addToTop(currentText());
    refillItems();
}

void THistoryCombo::focusOutEvent(QFocusEvent* event)
{
    // Opening the drop-down list or switching to another window does not leave the field.
    const Qt::FocusReason reason = event->reason();
    const bool leftField = reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason;
    if (leftField && !manualUpdate_)
        updateHistory();
    QComboBox::focusOutEvent(event);
}

bool THistoryCombo::storedInRegistry() const
{
    return registry_ && !registryPath_.isEmpty() && !iniSection_.isEmpty();
}

void THistoryCombo::loadIfComplete()
{
    if (!storedInRegistry())
        return;
    history_.load(*registry_, registryPath_, iniSection_);
    refillItems();
}

void THistoryCombo::refillItems()
{
    const QString text = currentText();
    {
        // The text is the same before and after; the owner sees no intermediate states.
        const QSignalBlocker blocker(this);
        clear();
        addItems(history_.entries());
        setCurrentIndex(-1);
        setEditText(text);
    }
}

} // namespace px
