#pragma once
// TScanImage: the picture control of the main window. It shows one picture either at its
// natural size or stretched to the control's rectangle, opaque or transparent, and reports the
// mouse in control and picture coordinates so that the main window can route it to the view
// and to the drawing tools.
//
// Large pictures stay fluid: the picture becomes a pixmap once per setImage (and once more when
// transparency changes), and a paint draws only the exposed rectangle. A stretched picture is
// drawn from a pixmap of the control's size, rebuilt lazily after the size changed.
#include <QImage>
#include <QPixmap>
#include <QPoint>
#include <QWidget>

namespace px {

// One mouse event on the picture. pos is in control coordinates (what the status bar shows and
// where the tools draw at 1:1); picturePos is the picture pixel under it, which differs from pos
// only while the picture is stretched. picturePos may lie outside the picture while the button
// is held and the pointer has left the control.
struct PictureMouseEvent {
    QPoint pos;
    QPoint picturePos;
    Qt::MouseButton button = Qt::NoButton;   // the button that changed; NoButton for moves
    Qt::MouseButtons buttons;                // the buttons held after the event
    Qt::KeyboardModifiers modifiers;
    bool doubleClick = false;                // the press is the second press of a double click
};

class TScanImage : public QWidget {
    Q_OBJECT
public:
    explicit TScanImage(QWidget* parent = nullptr);
    ~TScanImage() override;

    // Shows image (a null image: no picture). With autosize on, the control takes its size.
    void setImage(const QImage& image);
    const QImage& image() const { return image_; }
    bool hasImage() const { return !image_.isNull(); }

    // Stretch: the picture is drawn scaled to the control's rectangle; off: at 1:1 from the
    // top-left corner.
    void setStretch(bool on);
    bool stretch() const { return stretch_; }
    // Transparent: pixels of the bottom-left pixel's colour are not drawn, so that whatever lies
    // behind the control shows through.
    void setTransparent(bool on);
    bool transparent() const { return transparent_; }
    // Autosize: the control keeps the picture's size (switching it on resizes at once).
    void setAutoSize(bool on);
    bool autoSize() const { return autoSize_; }

    // The picture pixel under a control position (identity unless stretched).
    QPoint toPicture(const QPoint& controlPos) const;
    // The colour that is left out in transparent drawing; invalid without a picture.
    QColor transparentColor() const;

    // Draws the part of the picture that falls into exposed (control coordinates). paintEvent
    // calls it with the rectangle the window system asks for.
    void paintExposed(QPainter& painter, const QRect& exposed);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void mousePressed(const px::PictureMouseEvent& event);
    void mouseMoved(const px::PictureMouseEvent& event);
    void mouseReleased(const px::PictureMouseEvent& event);
    // A left press and release inside the control; comes before the release's mouseReleased.
    void clicked(const px::PictureMouseEvent& event);
    // Comes before the mousePressed of the second press.
    void doubleClicked(const px::PictureMouseEvent& event);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    PictureMouseEvent describe(const QMouseEvent* event) const;
    void rebuildPixmap();
    void applyAutoSize();

    QImage image_;
    QPixmap pixmap_;        // the picture as drawn: keyed for transparency when that is on
    QPixmap scaled_;        // pixmap_ at the control's size, while stretched
    bool stretch_ = false;
    bool transparent_ = false;
    bool autoSize_ = true;
    bool leftPressedInside_ = false;
};

} // namespace px
