#include "app/SplashForm.h"
#include "platform/ProgramInfo.h"

#include "app/ProgramIcon.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>

namespace px {
namespace {

// Our own splash picture: a blue gradient with the program's icon and name.
QPixmap splashPicture(int width, int height)
{
    QPixmap pixmap(width, height);
    QPainter p(&pixmap);
    QLinearGradient gradient(0, 0, width, height);
    gradient.setColorAt(0.0, QColor(10, 20, 60));
    gradient.setColorAt(1.0, QColor(0, 150, 220));
    p.fillRect(pixmap.rect(), gradient);
    p.drawPixmap(14, 16, ProgramIcon().pixmap(48, 48));
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(30);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(72, 14, width - 80, 52), Qt::AlignLeft | Qt::AlignVCenter, kProgramTitle);
    return pixmap;
}

} // namespace

TSplashForm::TSplashForm(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("SplashForm"));
    setFixedSize(kClientWidth + 2 * kBorder, kClientHeight + 2 * kBorder);
    setAutoFillBackground(true);
    QPalette border = palette();
    border.setColor(QPalette::Window, Qt::black);
    setPalette(border);

    image_ = new QLabel(this);
    image_->setObjectName(QStringLiteral("Image"));
    image_->setGeometry(kBorder, kBorder, kClientWidth, kClientHeight);
    image_->setPixmap(splashPicture(kClientWidth, kClientHeight));

    QPalette onPicture = palette();
    onPicture.setColor(QPalette::WindowText, Qt::white);

    subtitleLabel_ = new QLabel(QStringLiteral("Screen-Capture für Linux-Systeme"), this);
    subtitleLabel_->setObjectName(QStringLiteral("SubtitleLabel"));
    subtitleLabel_->setPalette(onPicture);
    QFont subtitleFont = subtitleLabel_->font();
    subtitleFont.setBold(true);
    subtitleFont.setPixelSize(13);
    subtitleLabel_->setFont(subtitleFont);
    subtitleLabel_->setGeometry(kBorder + 14, kBorder + 72, kClientWidth - 28, 20);

    buildLabel_ = new QLabel(QStringLiteral("Compilierung: ") + QStringLiteral(PIXMORA_VERSION), this);
    buildLabel_->setObjectName(QStringLiteral("BuildLabel"));
    buildLabel_->setPalette(onPicture);
    QFont smallFont = buildLabel_->font();
    smallFont.setPixelSize(10);
    buildLabel_->setFont(smallFont);
    buildLabel_->setGeometry(kBorder + 14, kBorder + kClientHeight - 22, kClientWidth - 28, 16);

    centreOnScreen();
}

void TSplashForm::centreOnScreen()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

} // namespace px
