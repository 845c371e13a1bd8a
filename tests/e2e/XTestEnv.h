#pragma once
// Helpers for tests that run against the private X server of the test fixture (xserver.sh):
// finding the server, windows with a known picture, managed windows, running X tools and
// reading their XWD output.
#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>

namespace px::xtest {

// Reads the fixture's environment file (its path is in $PIXMORA_X_ENV) and points DISPLAY at
// its server. Returns what went wrong, or an empty string.
QString useTestDisplay();
// A value of the fixture's environment file ("DISPLAY", "XVFB_PID", ...); empty when missing.
QString fixtureValue(const QString& key);

// The test picture: every screen point of a 4096 x 4096 area has a colour of its own.
QRgb patternPixel(int x, int y);
// The test picture's pixels of area r, as an RGB32 image of r's size.
QImage patternImage(const QRect& r);

struct PatternMismatch {
    long count = 0;      // pixels that differ
    QPoint first;        // the first one, in image coordinates
    QRgb got = 0;
    QRgb want = 0;
};
// Compares img with the test picture as seen through img: img's pixel (0,0) shows screen
// point origin. Pixels outside patternArea (screen coordinates) must be black instead.
PatternMismatch comparePattern(const QImage& img, const QPoint& origin, const QRect& patternArea);

// A window above all others (the window manager leaves it alone) that shows the test picture:
// its pixel at screen point (x, y) is patternPixel(x, y).
class PatternWindow {
public:
    explicit PatternWindow(const QRect& area);
    ~PatternWindow();
    PatternWindow(const PatternWindow&) = delete;
    PatternWindow& operator=(const PatternWindow&) = delete;
    bool isShown() const { return error_.isEmpty(); }
    QString error() const { return error_; }
    std::uint32_t id() const { return window_; }

private:
    struct Connection;
    std::unique_ptr<Connection> c_;
    std::uint32_t window_ = 0;
    QString error_;
};

// An ordinary top-level window with WM_CLASS and a title, framed by the window manager.
class ManagedWindow {
public:
    ManagedWindow(const QRect& rect, const QString& instanceName, const QString& className,
                  const QString& title);
    ~ManagedWindow();
    ManagedWindow(const ManagedWindow&) = delete;
    ManagedWindow& operator=(const ManagedWindow&) = delete;
    std::uint32_t id() const { return window_; }
    QString error() const { return error_; }
    // Waits until the window manager has framed the window and announced the frame's size.
    bool waitUntilFramed(int timeoutMs = 5000);
    // The window's own rectangle (without frame) in root coordinates.
    QRect clientRect();
    // Left, right, top, bottom widths of the frame from _NET_FRAME_EXTENTS.
    bool frameExtents(int& left, int& right, int& top, int& bottom);
    void destroy();

private:
    struct Connection;
    std::unique_ptr<Connection> c_;
    std::uint32_t window_ = 0;
    QString error_;
};

struct RunResult {
    int exitCode = -1;   // -1: could not start or timed out
    QByteArray out;
    QByteArray err;
};
// Runs an X tool (xdotool, xwd, ...) against the test display.
RunResult run(const QString& program, const QStringList& args, int timeoutMs = 10000);

// Decodes an XWD file of a true-colour Z-format image into RGB32; null for anything else.
QImage decodeXwd(const QByteArray& data);

} // namespace px::xtest
