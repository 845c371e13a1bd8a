// The remembering combo box: loads its list when its storage is named, adds the text when the
// user leaves it, saves the list when it goes.
#include "app/HistoryCombo.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <gtest/gtest.h>
#include <memory>

using namespace px;

namespace {

const QString kHostKey = kProgramKey + QStringLiteral("\\SmtpHost");

QStringList items(const QComboBox& combo)
{
    QStringList list;
    for (int i = 0; i < combo.count(); ++i)
        list.append(combo.itemText(i));
    return list;
}

void leave(THistoryCombo& combo, Qt::FocusReason reason = Qt::TabFocusReason)
{
    QFocusEvent event(QEvent::FocusOut, reason);
    QApplication::sendEvent(&combo, &event);
}

std::unique_ptr<THistoryCombo> hostCombo(Registry& reg)
{
    auto combo = std::make_unique<THistoryCombo>();
    combo->setRegistry(&reg);
    combo->setRegistryPath(kProgramKey);
    combo->setIniSection("SmtpHost");
    return combo;
}

} // namespace

TEST(HistoryCombo, LoadsWhenPathAndSectionAreSetAndKeepsTheTypedText)
{
    Registry reg;
    reg.writeString(kHostKey, "History0", "mail.a");
    reg.writeString(kHostKey, "History1", "mail.b");

    THistoryCombo combo;
    combo.setEditText("typed");
    combo.setRegistry(&reg);
    combo.setIniSection("SmtpHost");
    EXPECT_EQ(combo.count(), 0);
    combo.setRegistryPath(kProgramKey);
    EXPECT_EQ(items(combo), (QStringList{"mail.a", "mail.b"}));
    EXPECT_EQ(combo.currentText(), "typed");
}

TEST(HistoryCombo, LeavingTheFieldAddsTheTextAndDestructionSavesTheList)
{
    Registry reg;
    reg.writeString(kHostKey, "History0", "mail.a");
    reg.writeString(kHostKey, "History1", "mail.b");
    {
        auto combo = hostCombo(reg);
        combo->setEditText("MAIL.B");  // kept as typed, not completed to "mail.b"
        leave(*combo, Qt::PopupFocusReason);        // opening the drop-down is not leaving
        leave(*combo, Qt::ActiveWindowFocusReason); // nor is switching to another window
        EXPECT_EQ(items(*combo), (QStringList{"mail.a", "mail.b"}));

        leave(*combo);
        EXPECT_EQ(items(*combo), (QStringList{"MAIL.B", "mail.a", "mail.b"}));
        EXPECT_EQ(combo->currentText(), "MAIL.B");
        EXPECT_EQ(reg.readString(kHostKey, "History0"), QString("mail.a"));  // not saved before it goes
    }
    EXPECT_EQ(reg.readString(kHostKey, "History0"), QString("MAIL.B"));
    EXPECT_EQ(reg.readString(kHostKey, "History1"), QString("mail.a"));
    EXPECT_EQ(reg.readString(kHostKey, "History2"), QString("mail.b"));
    EXPECT_FALSE(reg.value(kHostKey, "History3").has_value());
}

TEST(HistoryCombo, AnEmptyTextIsRememberedOnlyForThisRun)
{
    Registry reg;
    reg.writeString(kHostKey, "History0", "mail.a");
    {
        auto combo = hostCombo(reg);
        combo->setEditText("");
        leave(*combo);
        EXPECT_EQ(items(*combo), (QStringList{"", "mail.a"}));
    }
    EXPECT_EQ(items(*hostCombo(reg)), (QStringList{"mail.a"}));
}

TEST(HistoryCombo, ManualUpdateAddsOnlyWhenAsked)
{
    Registry reg;
    auto combo = hostCombo(reg);
    combo->setManualUpdate(true);
    combo->setEditText("mail.c");
    leave(*combo);
    EXPECT_EQ(combo->count(), 0);
    combo->updateHistory();
    EXPECT_EQ(items(*combo), (QStringList{"mail.c"}));
}

TEST(HistoryCombo, WithAnIniFileNameInsteadNothingIsLoadedOrSaved)
{
    Registry reg;
    reg.writeString(kHostKey, "History0", "mail.a");
    const Registry before = reg;
    {
        THistoryCombo combo;
        combo.setRegistry(&reg);
        combo.setRegistryPath(kProgramKey);
        combo.setIniFileName("/tmp/px.ini");
        EXPECT_TRUE(combo.RegistryPath().isEmpty());
        combo.setIniSection("SmtpHost");
        EXPECT_EQ(combo.count(), 0);
        combo.setEditText("mail.z");
        leave(combo);
        EXPECT_EQ(items(combo), (QStringList{"mail.z"}));
    }
    EXPECT_TRUE(reg == before);
}
