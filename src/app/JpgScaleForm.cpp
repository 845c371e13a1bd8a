#include "app/JpgScaleForm.h"

#include <QComboBox>
#include <QLabel>
#include <QVBoxLayout>

namespace px {

TJpgScaleBMForm::TJpgScaleBMForm(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("TJpgScaleBMForm"));
    setAttribute(Qt::WA_DeleteOnClose);  // closing the window frees it
    setFixedSize(196, 64);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 4);
    auto* label = new QLabel(QStringLiteral("Skalierungsfaktor für JPG/JPEG:"), this);
    label->setObjectName(QStringLiteral("ScaleLabel"));
    combo_ = new QComboBox(this);
    combo_->setObjectName(QStringLiteral("ScaleComboBox"));
    combo_->addItems({QStringLiteral("1:1"), QStringLiteral("1:2"), QStringLiteral("1:4"), QStringLiteral("1:8")});
    combo_->setCurrentIndex(0);
    layout->addWidget(label);
    layout->addWidget(combo_);
    connect(combo_, &QComboBox::activated, this, [this](int index) { emit ScaleChosen(1 << index); });
}

} // namespace px
