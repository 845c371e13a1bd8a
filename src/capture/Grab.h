#pragma once
// The screen-grab primitives every capture path shares. They read the primary monitor only;
// the pointer is never part of a grab (DrawCapturedCursor adds it where asked).
#include "platform/Screen.h"

#include <QImage>
#include <QPoint>

namespace px {

// bitmap becomes the primary screen's size, filled with its pixels (RGB32).
void GrabDesktop(Screen& screen, QImage& bitmap);
// bitmap becomes width by height, filled from the screen rectangle (left, top, left+width,
// top+height) in the primary monitor's coordinates; parts off that monitor are black. Does
// nothing when bitmap is null (absent).
void GrabScreenRect(Screen& screen, int left, int top, int width, int height, QImage* bitmap);
// bitmap becomes the foreground window's frame rectangle with its pixels; 0 by 0 when there
// is no foreground window.
void GrabForegroundWindow(Screen& screen, QImage& bitmap);

// Draws the cursor image onto canvas so that its hot spot lands on pos (canvas coordinates).
void DrawCapturedCursor(QImage& canvas, const CursorImage& cursor, const QPoint& pos);

} // namespace px
