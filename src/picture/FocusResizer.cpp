#include "picture/FocusResizer.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <climits>

namespace px {

namespace {

constexpr std::array<ResizeGrip, 8> kHandleGrips = {
    ResizeGrip::TopLeft, ResizeGrip::Top, ResizeGrip::TopRight, ResizeGrip::Right,
    ResizeGrip::BottomRight, ResizeGrip::Bottom, ResizeGrip::BottomLeft, ResizeGrip::Left};

bool movesLeft(ResizeGrip g)
{
    return g == ResizeGrip::TopLeft || g == ResizeGrip::Left || g == ResizeGrip::BottomLeft;
}
bool movesRight(ResizeGrip g)
{
    return g == ResizeGrip::TopRight || g == ResizeGrip::Right || g == ResizeGrip::BottomRight;
}
bool movesTop(ResizeGrip g)
{
    return g == ResizeGrip::TopLeft || g == ResizeGrip::Top || g == ResizeGrip::TopRight;
}
bool movesBottom(ResizeGrip g)
{
    return g == ResizeGrip::BottomLeft || g == ResizeGrip::Bottom || g == ResizeGrip::BottomRight;
}

Qt::CursorShape cursorFor(ResizeGrip g)
{
    switch (g) {
    case ResizeGrip::TopLeft:
    case ResizeGrip::BottomRight: return Qt::SizeFDiagCursor;
    case ResizeGrip::TopRight:
    case ResizeGrip::BottomLeft: return Qt::SizeBDiagCursor;
    case ResizeGrip::Top:
    case ResizeGrip::Bottom: return Qt::SizeVerCursor;
    case ResizeGrip::Left:
    case ResizeGrip::Right: return Qt::SizeHorCursor;
    case ResizeGrip::Move: break;
    }
    return Qt::SizeAllCursor;
}

// A dark square with a light rim, so that it shows on dark and light pictures alike.
class GripHandle : public QWidget {
public:
    GripHandle(QWidget* parent, ResizeGrip grip)
        : QWidget(parent)
        , grip_(grip)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setCursor(cursorFor(grip));
        resize(TContResizer::kHandleSize, TContResizer::kHandleSize);
    }
    ResizeGrip grip() const { return grip_; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), QColor(255, 255, 255));
        p.fillRect(rect().adjusted(1, 1, -1, -1), QColor(32, 32, 32));
    }

private:
    ResizeGrip grip_;
};

// Clamps v into [lo, hi]; an empty range gives lo.
int clampTo(int v, int lo, int hi)
{
    return std::max(lo, std::min(v, hi));
}

} // namespace

QRect DraggedGeometry(const QRect& start, ResizeGrip grip, const QPoint& delta, const QSize& maxSize)
{
    const int maxW = maxSize.isValid() ? maxSize.width() : INT_MAX / 4;
    const int maxH = maxSize.isValid() ? maxSize.height() : INT_MAX / 4;
    if (grip == ResizeGrip::Move) {
        const int x = clampTo(start.x() + delta.x(), 0, maxW - start.width());
        const int y = clampTo(start.y() + delta.y(), 0, maxH - start.height());
        return QRect(QPoint(x, y), start.size());
    }
    // Edges as exclusive coordinates; each dragged edge stays inside the limits and leaves at
    // least one pixel between itself and the opposite edge.
    int left = start.x();
    int top = start.y();
    int right = start.x() + start.width();
    int bottom = start.y() + start.height();
    if (movesLeft(grip))
        left = std::min(clampTo(left + delta.x(), 0, maxW - 1), right - 1);
    if (movesRight(grip))
        right = std::max(clampTo(right + delta.x(), 1, maxW), left + 1);
    if (movesTop(grip))
        top = std::min(clampTo(top + delta.y(), 0, maxH - 1), bottom - 1);
    if (movesBottom(grip))
        bottom = std::max(clampTo(bottom + delta.y(), 1, maxH), top + 1);
    return QRect(left, top, right - left, bottom - top);
}

TContResizer::TContResizer(QObject* parent)
    : QObject(parent)
{
}

TContResizer::~TContResizer()
{
    Detach();
}

void TContResizer::Attach(QWidget* target)
{
    if (!target || !target->parentWidget()) {
        Detach();
        return;
    }
    if (target != target_) {
        Detach();
        target_ = target;
        target_->installEventFilter(this);
        connect(target_, &QObject::destroyed, this, &TContResizer::removeHandles);
        for (std::size_t i = 0; i < kHandleGrips.size(); ++i) {
            auto* h = new GripHandle(target_->parentWidget(), kHandleGrips[i]);
            h->installEventFilter(this);
            handles_[i] = h;
        }
    }
    placeHandles();
}

void TContResizer::Detach()
{
    if (target_) {
        target_->removeEventFilter(this);
        disconnect(target_, nullptr, this, nullptr);
    }
    target_ = nullptr;
    removeHandles();
}

void TContResizer::removeHandles()
{
    for (auto& h : handles_) {
        delete h.data();
        h = nullptr;
    }
    dragging_ = false;
}

QWidget* TContResizer::handle(ResizeGrip grip) const
{
    for (std::size_t i = 0; i < kHandleGrips.size(); ++i) {
        if (kHandleGrips[i] == grip)
            return handles_[i];
    }
    return nullptr;
}

void TContResizer::placeHandles()
{
    if (!target_)
        return;
    const QRect g = target_->geometry();
    const int half = kHandleSize / 2;
    const int xs[3] = {g.x() - half, g.x() + g.width() / 2 - half, g.x() + g.width() - 1 - half};
    const int ys[3] = {g.y() - half, g.y() + g.height() / 2 - half, g.y() + g.height() - 1 - half};
    for (std::size_t i = 0; i < kHandleGrips.size(); ++i) {
        QWidget* h = handles_[i];
        if (!h)
            continue;
        const ResizeGrip grip = kHandleGrips[i];
        const int col = movesLeft(grip) ? 0 : movesRight(grip) ? 2 : 1;
        const int row = movesTop(grip) ? 0 : movesBottom(grip) ? 2 : 1;
        h->move(xs[col], ys[row]);
        h->raise();
        h->setVisible(target_->isVisible());
    }
}

bool TContResizer::handleMouse(ResizeGrip grip, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* me = static_cast<QMouseEvent*>(event);
        if (me->button() != Qt::LeftButton || !target_)
            return false;
        dragging_ = true;
        moved_ = false;
        dragGrip_ = grip;
        dragStartGlobal_ = me->globalPosition().toPoint();
        dragStartGeometry_ = target_->geometry();
        return true;
    }
    case QEvent::MouseMove: {
        auto* me = static_cast<QMouseEvent*>(event);
        if (!dragging_ || dragGrip_ != grip || !target_)
            return false;
        const QRect g = DraggedGeometry(dragStartGeometry_, grip,
                                        me->globalPosition().toPoint() - dragStartGlobal_, maxSize_);
        if (g != target_->geometry()) {
            target_->setGeometry(g);
            moved_ = true;
            emit geometryChanged(g);
        }
        return true;
    }
    case QEvent::MouseButtonRelease: {
        auto* me = static_cast<QMouseEvent*>(event);
        if (me->button() != Qt::LeftButton || !dragging_ || dragGrip_ != grip)
            return false;
        dragging_ = false;
        if (moved_ && target_)
            emit geometryFinished(target_->geometry());
        return true;
    }
    default:
        return false;
    }
}

bool TContResizer::eventFilter(QObject* watched, QEvent* event)
{
    if (target_ && watched == target_) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide:
            placeHandles();
            break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseMove:
        case QEvent::MouseButtonRelease:
            // The control is the move area; its own mouse handling still runs.
            handleMouse(ResizeGrip::Move, event);
            break;
        default:
            break;
        }
        return false;
    }
    if (auto* h = dynamic_cast<GripHandle*>(watched))
        return handleMouse(h->grip(), event);
    return QObject::eventFilter(watched, event);
}

} // namespace px
