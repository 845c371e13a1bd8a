#include "capture/CoordHint.h"

#include "capture/OverlayGeometry.h"

#include <QPainter>

namespace px {

TCoordHint::TCoordHint(QWidget* parent)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::X11BypassWindowManagerHint
                          | Qt::WindowDoesNotAcceptFocus | Qt::WindowTransparentForInput)
{
    setObjectName(QStringLiteral("CoordHint"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TCoordHint::ShowAt(const QPoint& screenPoint, int x, int y)
{
    m_text = QStringLiteral("%1, %2").arg(x).arg(y);
    const QSize textSize = fontMetrics().size(Qt::TextSingleLine, m_text);
    setGeometry(CoordHintRect(screenPoint, textSize));
    update();
    if (!isVisible())
        show();
}

void TCoordHint::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::ToolTipBase));
    // The etched edge in its one-colour form: a single line in the text colour.
    painter.setPen(palette().color(QPalette::ToolTipText));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.drawText(rect(), Qt::AlignCenter, m_text);
}

int PointerCursorHeight()
{
    bool ok = false;
    const int size = qEnvironmentVariableIntValue("XCURSOR_SIZE", &ok);
    return ok && size > 0 && size <= 256 ? size : 32;
}

} // namespace px
