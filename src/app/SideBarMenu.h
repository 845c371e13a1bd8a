#pragma once
// A popup menu with a vertical side bar at its left edge: a gradient from black to light blue
// with an optional caption written bottom to top (the tray menu shows the program's name).
#include <QMenu>

namespace px {

class SideBarMenu : public QMenu {
    Q_OBJECT
public:
    static constexpr int kBarWidth = 22;

    explicit SideBarMenu(const QString& barText = QString(), QWidget* parent = nullptr);
    QString barText() const { return barText_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString barText_;
};

} // namespace px
