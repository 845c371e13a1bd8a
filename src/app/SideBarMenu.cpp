#include "app/SideBarMenu.h"

#include <QLinearGradient>
#include <QPainter>

namespace px {

SideBarMenu::SideBarMenu(const QString& barText, QWidget* parent)
    : QMenu(parent), barText_(barText)
{
    // The items move right by the bar's width; the bar is painted into that margin.
    setContentsMargins(kBarWidth, 0, 0, 0);
}

void SideBarMenu::paintEvent(QPaintEvent* event)
{
    QMenu::paintEvent(event);
    QPainter p(this);
    const QRect bar(0, 0, kBarWidth, height());
    QLinearGradient gradient(bar.bottomLeft(), bar.topLeft());
    gradient.setColorAt(0.0, Qt::black);
    gradient.setColorAt(1.0, QColor(0, 200, 255));
    p.fillRect(bar, gradient);
    if (barText_.isEmpty())
        return;
    QFont font(QStringLiteral("Tahoma"));
    font.setBold(true);
    font.setPixelSize(16);
    p.setFont(font);
    p.setPen(Qt::white);
    p.translate(0, height());
    p.rotate(-90);
    // After the rotation x runs upwards along the bar and y across it.
    p.drawText(QRect(4, 0, height() - 8, kBarWidth), Qt::AlignLeft | Qt::AlignVCenter, barText_);
}

} // namespace px
