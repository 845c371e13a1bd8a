#pragma once
// The screen as the capture code sees it: the primary monitor's pixels, the pointer and the
// windows under it. X11Screen talks to the X server; FakeScreen (tests) serves a fixed image.
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <cstdint>
#include <optional>

namespace px {

using WindowId = std::uint32_t;  // 0 = none

struct CursorImage {
    QImage image;      // ARGB32 premultiplied; null when no cursor image could be had
    QPoint hotSpot;    // relative to the image's top-left corner
};

struct WindowInfo {
    WindowId id = 0;
    QRect frame;       // screen rectangle including the window manager's frame
    QString className; // WM_CLASS class part
    QString title;     // _NET_WM_NAME, else WM_NAME
};

class Screen {
public:
    virtual ~Screen() = default;
    // The primary monitor's rectangle in root-window coordinates.
    virtual QRect primaryGeometry() = 0;
    // The pixels of a screen rectangle (root coordinates) as QImage::Format_RGB32. Parts outside
    // the screen are black. A null image when the server refused the request.
    virtual QImage grab(const QRect& rect) = 0;
    virtual QPoint cursorPos() = 0;
    virtual CursorImage cursorImage() = 0;
    // The active (foreground) top-level window, nullopt when there is none or it vanished.
    virtual std::optional<WindowInfo> foregroundWindow() = 0;
    // The deepest mapped window under a screen point (0 when none).
    virtual WindowId windowAt(const QPoint& p) = 0;
    virtual std::optional<WindowInfo> windowInfo(WindowId id) = 0;
    // The first top-level window of the desktop's window list with this class and title (0
    // when there is none), and bringing a window to the front.
    virtual WindowId findTopLevelWindow(const QString& className, const QString& title) = 0;
    virtual bool activateWindow(WindowId id) = 0;
    // Sends pending requests to the server and waits until it has handled them, so that a
    // following wait sees windows already unmapped.
    virtual void flush() = 0;
};

// A screen that serves a fixed image (tests, and a display-less fallback).
class FakeScreen : public Screen {
public:
    explicit FakeScreen(QImage desktop = {}) : desktop_(std::move(desktop)) {}
    QImage desktop_;
    QPoint cursor_;
    CursorImage cursorImage_;
    std::optional<WindowInfo> foreground_;
    int flushes_ = 0;

    QRect primaryGeometry() override { return desktop_.rect(); }
    QImage grab(const QRect& rect) override;
    QPoint cursorPos() override { return cursor_; }
    CursorImage cursorImage() override { return cursorImage_; }
    std::optional<WindowInfo> foregroundWindow() override { return foreground_; }
    WindowId windowAt(const QPoint&) override { return foreground_ ? foreground_->id : 0; }
    std::optional<WindowInfo> windowInfo(WindowId id) override
    {
        if (foreground_ && foreground_->id == id)
            return foreground_;
        return std::nullopt;
    }
    WindowId findTopLevelWindow(const QString& className, const QString& title) override
    {
        if (foreground_ && foreground_->className == className && foreground_->title == title)
            return foreground_->id;
        return 0;
    }
    bool activateWindow(WindowId id) override
    {
        activated_ = id;
        return id != 0;
    }
    void flush() override { ++flushes_; }
    WindowId activated_ = 0;
};

} // namespace px
