#include "picture/ScanImageView.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <cmath>

namespace px {

namespace {

// Above this many control pixels a stretched picture is drawn straight from the picture
// instead of keeping a second pixmap of the control's size.
constexpr qint64 kMaxScaledCachePixels = qint64(4096) * 4096;

// The picture with every pixel of the key colour (its bottom-left pixel) fully transparent.
QImage keyedImage(const QImage& image)
{
    QImage keyed = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = keyed.pixel(0, keyed.height() - 1) & RGB_MASK;
    for (int y = 0; y < keyed.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(keyed.scanLine(y));
        for (int x = 0; x < keyed.width(); ++x) {
            if ((line[x] & RGB_MASK) == key)
                line[x] = 0;
        }
    }
    keyed.convertTo(QImage::Format_ARGB32_Premultiplied);
    return keyed;
}

} // namespace

TScanImage::TScanImage(QWidget* parent)
    : QWidget(parent)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent, true);
    resize(0, 0);
}

TScanImage::~TScanImage() = default;

void TScanImage::setImage(const QImage& image)
{
    image_ = image;
    rebuildPixmap();
    applyAutoSize();
    updateGeometry();
    update();
}

void TScanImage::setStretch(bool on)
{
    if (stretch_ == on)
        return;
    stretch_ = on;
    scaled_ = QPixmap();
    update();
}

void TScanImage::setTransparent(bool on)
{
    if (transparent_ == on)
        return;
    transparent_ = on;
    // Opaque drawing covers every exposed pixel itself; transparent drawing lets the parent
    // paint underneath first.
    setAttribute(Qt::WA_OpaquePaintEvent, !on);
    rebuildPixmap();
    update();
}

void TScanImage::setAutoSize(bool on)
{
    autoSize_ = on;
    applyAutoSize();
}

void TScanImage::applyAutoSize()
{
    if (autoSize_)
        resize(image_.size().isValid() ? image_.size() : QSize(0, 0));
}

void TScanImage::rebuildPixmap()
{
    scaled_ = QPixmap();
    if (image_.isNull())
        pixmap_ = QPixmap();
    else if (transparent_)
        pixmap_ = QPixmap::fromImage(keyedImage(image_));
    else
        pixmap_ = QPixmap::fromImage(image_);
}

QColor TScanImage::transparentColor() const
{
    if (image_.isNull())
        return QColor();
    return QColor(image_.pixel(0, image_.height() - 1) & RGB_MASK);
}

QPoint TScanImage::toPicture(const QPoint& controlPos) const
{
    if (!stretch_ || image_.isNull() || width() <= 0 || height() <= 0)
        return controlPos;
    const double x = std::floor(double(controlPos.x()) * image_.width() / width());
    const double y = std::floor(double(controlPos.y()) * image_.height() / height());
    return QPoint(int(x), int(y));
}

QSize TScanImage::sizeHint() const
{
    return image_.isNull() ? QSize(0, 0) : image_.size();
}

QSize TScanImage::minimumSizeHint() const
{
    // A control aligned to its parent may shrink below the picture's size.
    return QSize(0, 0);
}

void TScanImage::paintExposed(QPainter& painter, const QRect& exposedArea)
{
    const QRect exposed = exposedArea & rect();
    if (exposed.isEmpty())
        return;
    const QBrush background = palette().brush(backgroundRole());
    if (pixmap_.isNull()) {
        if (!transparent_)
            painter.fillRect(exposed, background);
        return;
    }

    if (stretch_) {
        if (!transparent_ && pixmap_.hasAlpha())
            painter.fillRect(exposed, background);
        if (qint64(width()) * height() > kMaxScaledCachePixels) {
            painter.save();
            painter.setClipRect(exposed, Qt::IntersectClip);
            painter.drawPixmap(rect(), pixmap_, pixmap_.rect());
            painter.restore();
            return;
        }
        if (scaled_.size() != size())
            scaled_ = pixmap_.scaled(size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
        painter.drawPixmap(exposed.topLeft(), scaled_, exposed);
        return;
    }

    const QRect covered = exposed & pixmap_.rect();
    if (!transparent_) {
        // The control may be larger than the picture (aligned to its parent, or resized by
        // the grab handles): the rest shows the background.
        const QRegion rest = QRegion(exposed).subtracted(covered);
        for (const QRect& r : rest)
            painter.fillRect(r, background);
        if (pixmap_.hasAlpha() && !covered.isEmpty())
            painter.fillRect(covered, background);
    }
    if (!covered.isEmpty())
        painter.drawPixmap(covered.topLeft(), pixmap_, covered);
}

void TScanImage::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    paintExposed(painter, event->rect());
}

PictureMouseEvent TScanImage::describe(const QMouseEvent* event) const
{
    PictureMouseEvent e;
    e.pos = event->position().toPoint();
    e.picturePos = toPicture(e.pos);
    e.buttons = event->buttons();
    e.modifiers = event->modifiers();
    return e;
}

void TScanImage::mousePressEvent(QMouseEvent* event)
{
    PictureMouseEvent e = describe(event);
    e.button = event->button();
    if (e.button == Qt::LeftButton)
        leftPressedInside_ = true;
    emit mousePressed(e);
}

void TScanImage::mouseMoveEvent(QMouseEvent* event)
{
    emit mouseMoved(describe(event));
}

void TScanImage::mouseReleaseEvent(QMouseEvent* event)
{
    PictureMouseEvent e = describe(event);
    e.button = event->button();
    if (e.button == Qt::LeftButton) {
        const bool click = leftPressedInside_ && rect().contains(e.pos);
        leftPressedInside_ = false;
        if (click)
            emit clicked(e);
    }
    emit mouseReleased(e);
}

void TScanImage::mouseDoubleClickEvent(QMouseEvent* event)
{
    PictureMouseEvent e = describe(event);
    e.button = event->button();
    e.doubleClick = true;
    // The release after a double click is no single click.
    leftPressedInside_ = false;
    if (e.button == Qt::LeftButton)
        emit doubleClicked(e);
    emit mousePressed(e);
}

} // namespace px
