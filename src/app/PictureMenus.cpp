// The picture's context menu: copies of the Graphic menu's commands, the crop command, the
// shell commands of the file explorer and, in focus mode, the focus commands.
#include "app/PictureMenus.h"

#include <QAction>
#include <QMenu>

namespace px {

namespace {

// A copy that looks and acts like the original: the same caption, icon, hints, handler and
// tag, and a trigger that runs the original.
QAction* copyOf(QAction* original, QMenu* into)
{
    if (original->isSeparator())
        return into->addSeparator();
    if (QMenu* sub = original->menu()) {
        QMenu* copy = into->addMenu(original->icon(), original->text());
        copy->menuAction()->setToolTip(original->toolTip());
        copy->menuAction()->setStatusTip(original->statusTip());
        copy->menuAction()->setProperty("tag", original->property("tag"));
        for (QAction* a : sub->actions())
            copyOf(a, copy);
        return copy->menuAction();
    }
    auto* copy = new QAction(original->icon(), original->text(), into);
    copy->setToolTip(original->toolTip());
    copy->setStatusTip(original->statusTip());
    copy->setShortcut(original->shortcut());
    copy->setCheckable(original->isCheckable());
    copy->setProperty("tag", original->property("tag"));
    copy->setProperty("handler", original->property("handler"));
    copy->setEnabled(original->isEnabled());
    QObject::connect(copy, &QAction::triggered, original, &QAction::trigger);
    // The copy follows the original's enabled state (commands are enabled by the document).
    QObject::connect(original, &QAction::changed, copy, [copy, original] { copy->setEnabled(original->isEnabled()); });
    into->addAction(copy);
    return copy;
}

} // namespace

void BuildPictureMenu(QMenu* menu, QMenu* grafikMenu, QAction* cropCommand)
{
    menu->clear();
    for (QAction* a : grafikMenu->actions())
        copyOf(a, menu);
    menu->addSeparator();
    if (cropCommand)
        copyOf(cropCommand, menu);
    menu->addSeparator();

    // The file explorer's shell commands; they join with the file explorer.
    QMenu* shell = menu->addMenu(QStringLiteral("Shell"));
    shell->menuAction()->setProperty("hintKey", QStringLiteral("ShellMenuItem.Hint"));
    const char* const shellItems[] = {"Öffnen", "Explorer", "Eigenschaften", "Drucken", "Schreibschützen",
                                      "&Löschen...", "Alle löschen..."};
    for (const char* caption : shellItems)
        shell->addAction(QString::fromUtf8(caption))->setEnabled(false);
    shell->addSeparator();
    shell->addAction(QStringLiteral("Suchen"))->setEnabled(false);
}

void UpdateFocusItems(QMenu* menu, bool focusMode, const QList<QAction*>& focusItems)
{
    // Rows 16 to 18 are the focus commands while focus mode is on.
    const QList<QAction*> items = menu->actions();
    if (focusMode && items.size() < 18) {
        menu->addSeparator();
        for (QAction* a : focusItems)
            copyOf(a, menu);
    } else if (!focusMode && items.size() > 16) {
        for (qsizetype i = items.size() - 1; i >= 16; --i) {
            menu->removeAction(items[i]);
            if (items[i]->parent() == menu)
                delete items[i];
        }
    }
}

} // namespace px
