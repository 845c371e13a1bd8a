#pragma once
// TScanForm: the full-screen overlay of an interactive capture. It shows the frozen screen,
// draws the shape the user drags (NOT-XOR, so that drawing it again erases it), cross lines,
// the coordinate hint and the loupe, and reports where the user released. It takes no picture
// itself: the main window grabs the live screen after the overlay has gone.
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QWidget>
#include <memory>

#include "capture/OverlayPainter.h"

namespace px {

class TPrevKoordForm;
class TCoordHint;

struct ScanFormSettings {
    int tool = 0;            // "ScanTool" 0..4
    bool filledShape = false;
    int sBorder = 0;         // 0 dotted, 1 solid
    int sBForce = 0;         // 0, 1, 2 -> 1, 2, 3 pixels
    bool sCross = true;
    bool loupe = true;
    int lFaktor = 1;
    bool cursorHint = true;
};

class TScanForm : public QWidget {
    Q_OBJECT
public:
    explicit TScanForm(QWidget* parent = nullptr);
    ~TScanForm() override;

    // Covers screenGeometry (the primary monitor, physical pixels) with the frozen picture.
    void ShowOverlay(const QImage& frozen, const QRect& screenGeometry, const ScanFormSettings& settings);

    QPoint StartPoint;               // client pixels (physical) where the drag began
    QPoint EndPoint;                 // client pixels the shape was last drawn to
    QPoint CrossPos{-1, -1};         // where the cross lines were last drawn; (-1, -1): none
    QPoint LastHintPos;              // where the coordinate hint was last placed
    bool ObjectMode = false;         // the press happened with the object tool
    bool KeyDragActive = false;      // a drag with Shift held is under way

    // The pointer handlers, in client pixels of the frozen picture (physical pixels). The
    // mouse events come here; so do the keyboard drag and anything that wants to drive the
    // overlay without a real pointer.
    void FormMouseDown(const QPoint& pos, Qt::MouseButton button);
    void FormMouseMove(const QPoint& pos, bool leftHeld);
    void FormMouseUp(const QPoint& pos);

    // Hides the overlay, frees the loupe and the hint and forgets the drag.
    void HideOverlay();

    // The picture on screen: the frozen screen with the shape and cross lines drawn into it.
    const QImage& Canvas() const { return m_canvas; }
    TPrevKoordForm* Loupe() const { return m_loupe.get(); }
    TCoordHint* CoordHintWindow() const { return m_hint.get(); }

signals:
    // The left button (or Shift) was released after a press: the overlay has already closed.
    // start/end/release are screen pixels; objectMode for tool 4.
    void RegionReleased(const QPoint& start, const QPoint& end, const QPoint& release, bool objectMode);
    // Enter (any tool) or Space (object mode): take the window under this screen point now.
    void WindowUnderPointerRequested(const QPoint& pointer);
    // Escape: the overlay closed without a capture.
    void Cancelled();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    QPoint ClientPixel(const QPointF& logical) const;
    QPoint PointerClientPixel() const;
    QPoint ToScreen(const QPoint& client) const { return client + m_screenGeometry.topLeft(); }
    void MarkDirty(const QRegion& physical);
    void PlaceLoupe(const QPoint& pos, bool always);
    void UpdateHint(const QPoint& pos);

    ScanFormSettings m_settings;
    QRect m_screenGeometry;
    qreal m_dpr = 1.0;
    QImage m_canvas;
    OverlayPen m_pen;
    bool m_pressed = false;      // a left press started the present drag
    bool m_shapeDrawn = false;   // the shape at (StartPoint, EndPoint) is on the canvas
    bool m_keyboardGrabPending = false;
    std::unique_ptr<TPrevKoordForm> m_loupe;
    std::unique_ptr<TCoordHint> m_hint;
};

} // namespace px
