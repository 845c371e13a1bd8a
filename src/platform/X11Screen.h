#pragma once
// Screen on an X server through xcb: MIT-SHM for fast grabs where the server offers it,
// XFixes for the cursor image, RandR for the primary monitor, EWMH for the active window.
// Every request on a foreign window is checked: a window that vanished is "no window",
// never an error that ends the program.
#include "platform/Screen.h"

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

// How the server lays out the pixels of a Z-format image.
struct X11PixelLayout {
    int bitsPerPixel = 32;      // 8, 16, 24 or 32
    std::uint32_t redMask = 0xff0000;
    std::uint32_t greenMask = 0x00ff00;
    std::uint32_t blueMask = 0x0000ff;
    bool msbFirst = false;      // byte order of the image data
};

// Converts width x height server pixels (rows srcStride bytes apart) into dst, a
// Format_RGB32 image, with the first pixel at dstAt. Channels narrower than 8 bits are
// widened so that full intensity stays full (5 bits 31 -> 255). False when the layout is not
// a true-colour layout this code reads (dst is then left untouched).
bool convertX11Pixels(const std::uint8_t* src, int srcStride, int width, int height,
                      const X11PixelLayout& layout, QImage& dst, const QPoint& dstAt);

} // namespace px
