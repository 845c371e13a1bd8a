#pragma once
// TContResizer: grab handles for focus mode. Attached to a control, it puts eight small square
// handles around it (corners and edge middles) and makes the control itself a move area: the
// user drags the control to move it and a handle to resize it. The control stays inside the
// area from its parent's origin to the maximum size (the screen size), and keeps at least one
// pixel in each direction.
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <array>

class QWidget;

namespace px {

// What a drag takes hold of.
enum class ResizeGrip { Move, TopLeft, Top, TopRight, Right, BottomRight, Bottom, BottomLeft, Left };

// The geometry after dragging grip by delta from start. The result lies within
// QRect(QPoint(0, 0), maxSize) where start did; an invalid maxSize means no limit.
QRect DraggedGeometry(const QRect& start, ResizeGrip grip, const QPoint& delta, const QSize& maxSize);

class TContResizer : public QObject {
    Q_OBJECT
public:
    // Side length of a handle in pixels.
    static constexpr int kHandleSize = 7;

    explicit TContResizer(QObject* parent = nullptr);
    ~TContResizer() override;

    void setMaxSize(const QSize& size) { maxSize_ = size; }
    QSize maxSize() const { return maxSize_; }

    // Puts the handles around target (a control with a parent). Attaching to the control that
    // is already attached only brings the handles up to date; a drag under way goes on.
    void Attach(QWidget* target);
    // Removes the handles; the control keeps its geometry.
    void Detach();
    QWidget* target() const { return target_; }

    // The handle widget of a grip (nullptr for Move or while detached); for tests and styling.
    QWidget* handle(ResizeGrip grip) const;

signals:
    // The control's geometry changed through a drag (parent coordinates).
    void geometryChanged(const QRect& geometry);
    // A drag that changed the geometry has ended.
    void geometryFinished(const QRect& geometry);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void placeHandles();
    bool handleMouse(ResizeGrip grip, QEvent* event);
    void removeHandles();

    QSize maxSize_;
    QPointer<QWidget> target_;
    std::array<QPointer<QWidget>, 8> handles_{};
    bool dragging_ = false;
    bool moved_ = false;
    ResizeGrip dragGrip_ = ResizeGrip::Move;
    QPoint dragStartGlobal_;
    QRect dragStartGeometry_;
};

} // namespace px
