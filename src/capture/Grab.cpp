#include "capture/Grab.h"

#include <QPainter>

namespace px {
namespace {

// The pixels of rect (root coordinates) as far as they lie on the primary monitor; the rest,
// and everything when the server refused the request, is black.
QImage grabOnPrimary(Screen& screen, const QRect& rect, const QRect& primary)
{
    const QRect part = rect.intersected(primary);
    const QImage piece = part.isEmpty() ? QImage() : screen.grab(part);
    if (part == rect && piece.size() == rect.size())
        return piece.convertToFormat(QImage::Format_RGB32);
    QImage out(rect.size(), QImage::Format_RGB32);
    if (out.isNull())
        return out;
    out.fill(Qt::black);
    if (piece.size() != part.size() || part.isEmpty())
        return out;
    QPainter p(&out);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(part.topLeft() - rect.topLeft(), piece);
    return out;
}

} // namespace

void GrabDesktop(Screen& screen, QImage& bitmap)
{
    const QRect primary = screen.primaryGeometry();
    if (primary.isEmpty()) {
        bitmap = QImage();
        return;
    }
    bitmap = grabOnPrimary(screen, primary, primary);
}

// The rectangle is given in the primary monitor's coordinates (its top-left corner is 0,0),
// the coordinates of the desktop picture GrabDesktop yields.
void GrabScreenRect(Screen& screen, int left, int top, int width, int height, QImage* bitmap)
{
    if (!bitmap)
        return;
    if (width <= 0 || height <= 0) {
        *bitmap = QImage();
        return;
    }
    const QRect primary = screen.primaryGeometry();
    const QRect rect(primary.x() + left, primary.y() + top, width, height);
    *bitmap = grabOnPrimary(screen, rect, primary);
}

void GrabForegroundWindow(Screen& screen, QImage& bitmap)
{
    const auto window = screen.foregroundWindow();
    if (!window || window->frame.isEmpty()) {
        bitmap = QImage();
        return;
    }
    bitmap = grabOnPrimary(screen, window->frame, screen.primaryGeometry());
}

void DrawCapturedCursor(QImage& canvas, const CursorImage& cursor, const QPoint& pos)
{
    if (canvas.isNull() || cursor.image.isNull())
        return;
    // Palette pictures cannot be painted on; they become true-colour first.
    if (canvas.format() == QImage::Format_Indexed8 || canvas.format() == QImage::Format_Mono
        || canvas.format() == QImage::Format_MonoLSB)
        canvas = canvas.convertToFormat(canvas.hasAlphaChannel() ? QImage::Format_ARGB32
                                                                 : QImage::Format_RGB32);
    // The hot spot (the pointer's tip) lands where the pointer was.
    QPainter p(&canvas);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.drawImage(pos - cursor.hotSpot, cursor.image);
}

} // namespace px
