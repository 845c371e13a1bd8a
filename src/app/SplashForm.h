#pragma once
// The start-up picture: a frameless window on top of everything, centred on the screen, with a
// 3-pixel black border around a 288 x 125 client area. It shows the program's name, the build
// number and a subtitle; clicks do nothing.
#include <QWidget>

class QLabel;

namespace px {

class TSplashForm : public QWidget {
    Q_OBJECT
public:
    static constexpr int kBorder = 3;
    static constexpr int kClientWidth = 288;
    static constexpr int kClientHeight = 125;

    explicit TSplashForm(QWidget* parent = nullptr);

    QLabel* image() const { return image_; }
    QLabel* buildLabel() const { return buildLabel_; }       // "Compilierung: " + build number
    QLabel* subtitleLabel() const { return subtitleLabel_; }

    // Moves the form to the centre of the primary screen's available area.
    void centreOnScreen();

private:
    QLabel* image_ = nullptr;
    QLabel* buildLabel_ = nullptr;
    QLabel* subtitleLabel_ = nullptr;
};

} // namespace px
