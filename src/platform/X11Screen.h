#pragma once
// Screen on an X server through xcb: MIT-SHM for fast grabs where the server offers it,
// XFixes for the cursor image, RandR for the primary monitor, EWMH for the active window.
// Every request on a foreign window is checked: a window that vanished is "no window",
// never an error that ends the program.
#include "platform/Screen.h"
#include "platform/X11Pixels.h"

#include <cstdint>
#include <memory>

namespace px {

class X11Screen : public Screen {
public:
    // Opens its own connection to $DISPLAY (or displayName). Check isOpen().
    // Shared memory is used for grabs unless the environment variable PIXMORA_NO_SHM is set
    // to a non-empty value other than "0".
    explicit X11Screen(const QString& displayName = {});
    ~X11Screen() override;
    bool isOpen() const;
    QString openError() const;

    QRect primaryGeometry() override;
    QImage grab(const QRect& rect) override;
    QPoint cursorPos() override;
    CursorImage cursorImage() override;
    std::optional<WindowInfo> foregroundWindow() override;
    WindowId windowAt(const QPoint& p) override;
    std::optional<WindowInfo> windowInfo(WindowId id) override;
    WindowId findTopLevelWindow(const QString& className, const QString& title) override;
    bool activateWindow(WindowId id) override;
    void flush() override;

    // Switches the shared-memory path of grab() on or off (it stays off when the server
    // cannot share memory with us).
    void setSharedMemoryEnabled(bool enabled);
    // Whether the last successful grab went through shared memory.
    bool lastGrabUsedSharedMemory() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};



} // namespace px
