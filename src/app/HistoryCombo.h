#pragma once
// THistoryCombo: an editable combo box that remembers the texts typed into it. Its list is
// kept in the registry below RegistryPath\IniSection ("History0".."History9"): it is loaded as
// soon as the registry, RegistryPath and IniSection are all set, the text is added to the top
// whenever the user leaves the field (unless ManualUpdate), and the list is saved when the
// combo is destroyed — whether its dialog closed with OK or Cancel.
//
// IniFileName is kept as a property for forms that name one, but a combo with an INI file
// instead of a registry path loads and saves nothing. The registry must outlive the combo.
#include "app/HistoryList.h"

#include <QComboBox>
#include <QString>

namespace px {

class THistoryCombo : public QComboBox {
    Q_OBJECT
    Q_PROPERTY(QString RegistryPath READ RegistryPath WRITE setRegistryPath)
    Q_PROPERTY(QString IniFileName READ IniFileName WRITE setIniFileName)
    Q_PROPERTY(QString IniSection READ IniSection WRITE setIniSection)
    Q_PROPERTY(bool ManualUpdate READ ManualUpdate WRITE setManualUpdate)

public:
    explicit THistoryCombo(QWidget* parent = nullptr);
    ~THistoryCombo() override;

    // The store the list is loaded from and saved to; nullptr keeps the list in memory only.
    void setRegistry(Registry* registry);

    QString RegistryPath() const { return registryPath_; }
    // Also clears IniFileName.
    void setRegistryPath(const QString& path);
    QString IniFileName() const { return iniFileName_; }
    // Also clears RegistryPath.
    void setIniFileName(const QString& fileName);
    QString IniSection() const { return iniSection_; }
    void setIniSection(const QString& section);
    bool ManualUpdate() const { return manualUpdate_; }
    void setManualUpdate(bool manual) { manualUpdate_ = manual; }

    const THistoryList& history() const { return history_; }

    // Adds the current text (an empty one too) to the top of the list and refills the items;
    // leaving the field does this unless ManualUpdate is set.
    void updateHistory();

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool storedInRegistry() const;
    void loadIfComplete();
    // Replaces the items by the list's entries; the text in the edit field stays.
    void refillItems();

    Registry* registry_ = nullptr;
    QString registryPath_;
    QString iniFileName_;
    QString iniSection_;
    bool manualUpdate_ = false;
    THistoryList history_;
};

} // namespace px
