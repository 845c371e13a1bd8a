#pragma once
// TCoordHint: the small tool-tip-like window beside the pointer on the capture overlay that
// shows the pointer's position as "x, y". It has an etched one-pixel edge, never takes the
// keyboard and lets the pointer through.
#include <QString>
#include <QWidget>

namespace px {

class TCoordHint : public QWidget {
    Q_OBJECT
public:
    explicit TCoordHint(QWidget* parent = nullptr);

    // Shows "x, y" at the place CoordHintRect gives for screenPoint (the pointer's screen
    // position already moved down by the cursor's height).
    void ShowAt(const QPoint& screenPoint, int x, int y);

    QString Text() const { return m_text; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
};

// The height of the pointer's image, to put the hint below the pointer: XCURSOR_SIZE when set,
// else the usual 32 pixels.
int PointerCursorHeight();

} // namespace px
