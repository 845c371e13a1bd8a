#pragma once
// TJpgScaleBMForm: the small tool window that shows the current JPEG at 1:1, 1:2, 1:4 or 1:8.
#include <QWidget>

class QComboBox;

namespace px {

class TJpgScaleBMForm : public QWidget {
    Q_OBJECT
public:
    explicit TJpgScaleBMForm(QWidget* owner);
    QComboBox* ScaleComboBox() const { return combo_; }

signals:
    // The chosen decode scale: 1, 2, 4 or 8.
    void ScaleChosen(int denominator);

private:
    QComboBox* combo_ = nullptr;
};

} // namespace px
