#include "capture/LoupeForm.h"

#include "capture/OverlayGeometry.h"

#include <QLineEdit>
#include <QPainter>
#include <QPaintEvent>

namespace px {

// The magnified picture: it shows its image 1:1 and nothing else.
class TLoupeImage : public QWidget {
public:
    explicit TLoupeImage(QWidget* parent) : QWidget(parent), image(kLoupePicture, kLoupePicture, QImage::Format_RGB32)
    {
        image.fill(Qt::black);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFixedSize(kLoupePicture, kLoupePicture);
    }

    QImage image;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QPainter painter(this);
        const QRect area = event->rect();
        painter.drawImage(area, image, area);
    }
};

namespace {

constexpr int kFieldWidth = 84;
constexpr int kFieldHeight = 21;
constexpr int kMargin = 2;

QLineEdit* MakeField(QWidget* parent, int x, int y)
{
    auto* field = new QLineEdit(parent);
    field->setReadOnly(true);
    field->setAlignment(Qt::AlignCenter);
    field->setFocusPolicy(Qt::NoFocus);
    field->setGeometry(x, y, kFieldWidth, kFieldHeight);
    return field;
}

} // namespace

TPrevKoordForm::TPrevKoordForm(QWidget* parent)
    : QFrame(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::X11BypassWindowManagerHint
                         | Qt::WindowDoesNotAcceptFocus | Qt::WindowTransparentForInput)
{
    setObjectName(QStringLiteral("PrevKoordForm"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setFixedSize(kLoupeWindowSize);

    LoupeImage = new TLoupeImage(this);
    LoupeImage->setObjectName(QStringLiteral("LoupeImage"));
    LoupeImage->move(kMargin, kMargin);

    // Two rows of two fields below the picture, 84 pixels each, filling the client width.
    const int left = kMargin;
    const int right = kLoupeWindowSize.width() - kMargin - kFieldWidth;
    const int firstRow = kMargin + kLoupePicture + 2;
    const int secondRow = firstRow + kFieldHeight + 2;
    XAlignEdit = MakeField(this, left, firstRow);
    YAlignEdit = MakeField(this, right, firstRow);
    WAlignEdit = MakeField(this, left, secondRow);
    HAlignEdit = MakeField(this, right, secondRow);
    XAlignEdit->setObjectName(QStringLiteral("XAlignEdit"));
    YAlignEdit->setObjectName(QStringLiteral("YAlignEdit"));
    WAlignEdit->setObjectName(QStringLiteral("WAlignEdit"));
    HAlignEdit->setObjectName(QStringLiteral("HAlignEdit"));
}

TPrevKoordForm::~TPrevKoordForm() = default;

void TPrevKoordForm::ShowMagnified(const QImage& screen, const QRect& source)
{
    QImage& picture = LoupeImage->image;
    picture.fill(Qt::black);
    if (source.isValid() && !screen.isNull()) {
        // Only the part of the square that lies on the screen is copied, to where it belongs
        // on the picture; the rest stays black.
        const QRect visible = source.intersected(screen.rect());
        if (!visible.isEmpty()) {
            const qreal sx = qreal(picture.width()) / source.width();
            const qreal sy = qreal(picture.height()) / source.height();
            const QRectF target((visible.left() - source.left()) * sx, (visible.top() - source.top()) * sy,
                                visible.width() * sx, visible.height() * sy);
            QPainter painter(&picture);
            painter.setCompositionMode(QPainter::CompositionMode_Source);
            painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
            painter.drawImage(target, screen, QRectF(visible));
        }
    }
    LoupeImage->update();
}

void TPrevKoordForm::SetFields(int x, int y, int width, int height)
{
    XAlignEdit->setText(QStringLiteral("X = %1").arg(x));
    YAlignEdit->setText(QStringLiteral("Y = %1").arg(y));
    WAlignEdit->setText(QStringLiteral("W = %1").arg(width));
    HAlignEdit->setText(QStringLiteral("H = %1").arg(height));
}

const QImage& TPrevKoordForm::Picture() const
{
    return LoupeImage->image;
}

} // namespace px
