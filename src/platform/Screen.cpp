#include "platform/Screen.h"

#include <QPainter>

namespace px {

QImage FakeScreen::grab(const QRect& rect)
{
    if (rect.width() <= 0 || rect.height() <= 0)
        return QImage();
    QImage out(rect.size(), QImage::Format_RGB32);
    if (out.isNull())
        return QImage();
    out.fill(Qt::black);
    const QRect part = rect.intersected(desktop_.rect());
    if (!part.isEmpty()) {
        QPainter p(&out);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(part.topLeft() - rect.topLeft(), desktop_, part);
    }
    return out;
}

} // namespace px
