#include "app/ProgramIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace px {
namespace {

QPixmap drawProgramIcon(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;

    // Viewfinder corners around the camera.
    QPen corner(QColor(0, 200, 255), qMax<qreal>(1.0, s / 16.0), Qt::SolidLine, Qt::SquareCap);
    p.setPen(corner);
    const qreal m = s * 0.06, l = s * 0.22;
    const QPointF tl(m, m), tr(s - m, m), bl(m, s - m), br(s - m, s - m);
    p.drawLine(tl, tl + QPointF(l, 0));
    p.drawLine(tl, tl + QPointF(0, l));
    p.drawLine(tr, tr - QPointF(l, 0));
    p.drawLine(tr, tr + QPointF(0, l));
    p.drawLine(bl, bl + QPointF(l, 0));
    p.drawLine(bl, bl - QPointF(0, l));
    p.drawLine(br, br - QPointF(l, 0));
    p.drawLine(br, br - QPointF(0, l));

    // Camera body with its prism bump.
    const QRectF body(s * 0.18, s * 0.34, s * 0.64, s * 0.42);
    QPainterPath path;
    path.addRoundedRect(body, s * 0.07, s * 0.07);
    path.addRect(QRectF(s * 0.38, s * 0.26, s * 0.24, s * 0.10));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 40, 90));
    p.drawPath(path.simplified());

    // Lens.
    const QPointF centre = body.center();
    p.setBrush(QColor(220, 235, 255));
    p.drawEllipse(centre, s * 0.15, s * 0.15);
    p.setBrush(QColor(0, 120, 200));
    p.drawEllipse(centre, s * 0.09, s * 0.09);
    p.setBrush(Qt::white);
    p.drawEllipse(centre - QPointF(s * 0.03, s * 0.03), s * 0.025, s * 0.025);
    return pixmap;
}

} // namespace

QIcon ProgramIcon()
{
    QIcon icon;
    for (int size : {16, 22, 32, 48, 64, 128})
        icon.addPixmap(drawProgramIcon(size));
    return icon;
}

} // namespace px
