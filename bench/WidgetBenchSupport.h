#pragma once
// Pieces the widget benchmarks share: a busy test picture and a paint counter that shows the
// measured loop really paints.
#include <QEvent>
#include <QImage>
#include <QObject>
#include <QPaintEvent>
#include <QRect>

namespace pxbench {

// Every pixel differs from its neighbours, so no painting or scaling path can take a shortcut.
inline QImage PatternPicture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = qRgb((x * 7) & 255, (y * 13) & 255, (x ^ y) & 255);
    }
    return image;
}

// Counts the paints of what it filters (a widget, or the whole application) and keeps the
// last painted rectangle.
class PaintCounter : public QObject {
public:
    long paints = 0;
    QRect lastRect;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            ++paints;
            lastRect = static_cast<QPaintEvent*>(event)->rect();
        }
        return false;
    }
};

} // namespace pxbench
