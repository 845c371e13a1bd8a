#include "picture/PictureCanvas.h"

#include <QChildEvent>
#include <QEvent>

#include <algorithm>

namespace px {

TPictureCanvas::TPictureCanvas(QWidget* parent)
    : QWidget(parent)
    , watchedParent_(parent)
{
    if (parent)
        parent->installEventFilter(this);
}

TPictureCanvas::~TPictureCanvas() = default;

void TPictureCanvas::setClientWidget(QWidget* w)
{
    client_ = (w && w->parentWidget() == this) ? w : nullptr;
    relayout();
}

QSize TPictureCanvas::viewportSize() const
{
    return parentWidget() ? parentWidget()->size() : size();
}

QSize TPictureCanvas::childrenExtent() const
{
    int right = 0;
    int bottom = 0;
    for (QObject* o : children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (!w || w == client_ || w->isWindow() || w->isHidden())
            continue;
        const QRect g = w->geometry();
        right = std::max(right, g.x() + g.width());
        bottom = std::max(bottom, g.y() + g.height());
    }
    return QSize(right, bottom);
}

QSize TPictureCanvas::sizeHint() const
{
    return childrenExtent();
}

QSize TPictureCanvas::minimumSizeHint() const
{
    // A scroll area that resizes its content never makes the canvas smaller than what it holds.
    return childrenExtent();
}

void TPictureCanvas::relayout()
{
    if (inRelayout_)
        return;
    inRelayout_ = true;
    const QSize viewport = viewportSize();
    if (client_)
        client_->setGeometry(QRect(QPoint(0, 0), viewport));
    const QSize wanted = viewport.expandedTo(childrenExtent());
    if (parentWidget() && size() != wanted)
        resize(wanted);
    updateGeometry();
    inRelayout_ = false;
}

bool TPictureCanvas::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::ChildAdded:
        if (auto* w = qobject_cast<QWidget*>(static_cast<QChildEvent*>(event)->child()))
            w->installEventFilter(this);
        break;
    case QEvent::ChildRemoved:
        if (auto* w = qobject_cast<QWidget*>(static_cast<QChildEvent*>(event)->child())) {
            w->removeEventFilter(this);
            relayout();
        }
        break;
    case QEvent::ParentChange:
        if (watchedParent_)
            watchedParent_->removeEventFilter(this);
        watchedParent_ = parentWidget();
        if (watchedParent_)
            watchedParent_->installEventFilter(this);
        relayout();
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

bool TPictureCanvas::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type t = event->type();
    if (watched == watchedParent_) {
        if (t == QEvent::Resize)
            relayout();
    } else if (t == QEvent::Move || t == QEvent::Resize || t == QEvent::Show || t == QEvent::Hide) {
        relayout();
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace px
