#pragma once
// TPictureCanvas: the content of the picture's scroll box. The picture control (and the grab
// handles around it) sit on it at any position, as controls sit in a scroll box: the canvas
// grows to cover all of them, so that the scroll bars reach every part, and fills the scroll
// box's viewport otherwise. A scroll area alone would move its single content widget back to
// the origin whenever it resized, which the grab handles and the centred view cannot live with.
//
// One child may be the client widget: it fills the viewport ("align client") and does not
// count for the canvas's extent.
#include <QPointer>
#include <QWidget>

namespace px {

class TPictureCanvas : public QWidget {
    Q_OBJECT
public:
    explicit TPictureCanvas(QWidget* parent = nullptr);
    ~TPictureCanvas() override;

    // w (a child of the canvas) fills the viewport from now on; nullptr: no client widget.
    void setClientWidget(QWidget* w);
    QWidget* clientWidget() const { return client_; }

    // The rectangle the children cover, from the origin (client widget excluded).
    QSize childrenExtent() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // Resizes the canvas to its viewport united with its children, and the client widget to
    // the viewport. Runs by itself whenever a child or the viewport moves or resizes.
    void relayout();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QSize viewportSize() const;

    QPointer<QWidget> client_;
    QPointer<QWidget> watchedParent_;
    bool inRelayout_ = false;
};

} // namespace px
