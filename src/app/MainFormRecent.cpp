// The recent-files list: the drop-down of the Open button and the "Neu öffnen" submenu, the
// delete command, and reopening a file when an entry is chosen.
#include "app/MainForm.h"

#include "app/LanguageProperties.h"
#include "platform/InstanceMessage.h"
#include "platform/Registry.h"

#include <QAction>
#include <QMenu>
#include <QMetaObject>

namespace px {

void TMainForm::AddRecentFile(const QString& path)
{
    RecentFiles.addToTop(path);
    rebuildRecentMenus();
}

void TMainForm::rebuildRecentMenus()
{
    // The drop-down holds only entries (its delete command is added when it opens); the
    // submenu starts with a separator as the entries are appended to the File menu's item.
    QMenu* popup = ui_.recentPopupMenu;
    QMenu* submenu = ui_.newOpenMenu;
    if (popup)
        popup->clear();
    if (submenu) {
        submenu->clear();
        submenu->addSeparator();
    }
    for (const QString& caption : RecentFiles.menuCaptions()) {
        for (QMenu* menu : {popup, submenu}) {
            if (!menu)
                continue;
            QAction* item = menu->addAction(caption);
            connect(item, &QAction::triggered, this, [this, caption] { openRecentEntry(caption); });
        }
    }
    if (submenu)
        submenu->menuAction()->setEnabled(!RecentFiles.isEmpty());
}

void TMainForm::openRecentEntry(const QString& caption)
{
    const int number = historyNumberFromCaption(caption);
    if (number <= 0 || number > RecentFiles.count())
        return;
    // The entry is opened the way another program's request is: posted, so the menu closes
    // first. Opening it makes it the newest entry, as every opened file is.
    const InstanceMessage request{msg::OpenFile, 0, RecentFiles.entries().at(number - 1).toUtf8()};
    QMetaObject::invokeMethod(this, [this, request] { handleInstanceMessage(request); }, Qt::QueuedConnection);
}

void TMainForm::RecentPopupMenuPopup()
{
    QMenu* popup = ui_.recentPopupMenu;
    if (!popup)
        return;
    const QString deleteCaption = Msg(QStringLiteral("TheHistoryItem_Delete"));
    for (QAction* a : popup->actions())
        if (a->text() == deleteCaption)
            return;
    popup->addSeparator();
    QAction* item = popup->addAction(deleteCaption);
    item->setObjectName(QStringLiteral("DeleteListMenuItem"));
    SetHint(item, Msg(QStringLiteral("TheHistoryItem_Hint")));
    connect(item, &QAction::triggered, this, &TMainForm::DeleteListMenuItemClick);
    item->setEnabled(popup->actions().size() > 2);
}

void TMainForm::DeleteListMenuItemClick()
{
    RecentFiles.clear();
    deleteStoredHistory(*services_.registry, recentFilesPath(), kRecentFilesSection);
    rebuildRecentMenus();
}

} // namespace px
