#pragma once
// TPrevKoordForm: the loupe of the capture overlay. A small frameless window that stays on top,
// shows the screen square left of and above the pointer magnified on a 172-by-172 picture and,
// below it, the pointer position and the size of the marked region ("X = ", "Y = ", "W = ",
// "H = "). It never takes the keyboard from the overlay and lets the pointer through.
#include <QFrame>
#include <QImage>
#include <QRect>

class QLineEdit;

namespace px {

class TLoupeImage;

class TPrevKoordForm : public QFrame {
    Q_OBJECT
public:
    explicit TPrevKoordForm(QWidget* parent = nullptr);
    ~TPrevKoordForm() override;

    // Fills the picture black, then stretches source (pixels of screen; the part outside screen
    // stays black) onto the whole picture and repaints it.
    void ShowMagnified(const QImage& screen, const QRect& source);
    // "X = " x, "Y = " y, "W = " width, "H = " height.
    void SetFields(int x, int y, int width, int height);

    const QImage& Picture() const;

    TLoupeImage* LoupeImage = nullptr;
    QLineEdit* XAlignEdit = nullptr;
    QLineEdit* YAlignEdit = nullptr;
    QLineEdit* WAlignEdit = nullptr;
    QLineEdit* HAlignEdit = nullptr;
};

} // namespace px
