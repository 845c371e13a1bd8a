// Draws libemf_shapes.emf with libEMF's GDI-like calls: a 200 x 150 pixel picture (at 96 dots
// per inch) in a logical space of the same size, so every coordinate below is the pixel where
// a player should show it. Built and run by make_libemf.sh (not part of the build).
#include <libEMF/emf.h>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s output.emf\n", argv[0]);
        return 2;
    }
    // 200 x 150 pixels at 96 dots per inch, in 0.01 mm.
    const RECT frame{0, 0, 5292, 3969};
    HDC dc = CreateEnhMetaFileA(0, argv[1], &frame, "libEMF\0shapes\0");
    if (!dc)
        return 1;
    // The reference device has its own resolution: map 200 x 150 logical units onto the
    // frame's extent in device pixels.
    const int devW = GetDeviceCaps(dc, HORZRES) * 5292 / (GetDeviceCaps(dc, HORZSIZE) * 100);
    const int devH = GetDeviceCaps(dc, VERTRES) * 3969 / (GetDeviceCaps(dc, VERTSIZE) * 100);
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowExtEx(dc, 200, 150, nullptr);
    SetViewportExtEx(dc, devW, devH, nullptr);

    // Light grey background over the whole picture.
    HBRUSH grey = CreateSolidBrush(RGB(0xD0, 0xD0, 0xD0));
    HPEN greyPen = CreatePen(PS_SOLID, 1, RGB(0xD0, 0xD0, 0xD0));
    SelectObject(dc, grey);
    SelectObject(dc, greyPen);
    Rectangle(dc, 0, 0, 200, 150);

    // A red rectangle with a black outline: (10,10)-(70,50).
    HBRUSH red = CreateSolidBrush(RGB(0xFF, 0x00, 0x00));
    HPEN black = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    SelectObject(dc, red);
    SelectObject(dc, black);
    Rectangle(dc, 10, 10, 70, 50);

    // A blue filled triangle (100,10), (180,10), (140,60).
    HBRUSH blue = CreateSolidBrush(RGB(0x00, 0x00, 0xFF));
    HPEN bluePen = CreatePen(PS_SOLID, 1, RGB(0x00, 0x00, 0xFF));
    SelectObject(dc, blue);
    SelectObject(dc, bluePen);
    const POINT triangle[] = {{100, 10}, {180, 10}, {140, 60}};
    Polygon(dc, triangle, 3);

    // A green horizontal line at y = 75, 5 units wide, from x = 10 to 190, and a magenta
    // polyline down the left side.
    HPEN green = CreatePen(PS_SOLID, 5, RGB(0x00, 0xA0, 0x00));
    SelectObject(dc, green);
    MoveToEx(dc, 10, 75, nullptr);
    LineTo(dc, 190, 75);
    HPEN magenta = CreatePen(PS_SOLID, 3, RGB(0xFF, 0x00, 0xFF));
    SelectObject(dc, magenta);
    const POINT zigzag[] = {{10, 90}, {30, 140}, {50, 90}};
    Polyline(dc, zigzag, 3);

    // Black text, 20 units high, top-left at (70,95).
    HFONT font = CreateFontA(-20, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Arial");
    SelectObject(dc, font);
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_TOP | TA_LEFT);
    TextOutA(dc, 70, 95, "Pixmora", 7);

    // A yellow ellipse with a black outline in the box (150,100)-(190,140). libEMF records no
    // bitmaps (its StretchDIBits and SetDIBitsToDevice write nothing); the bitmap records are
    // covered by the LibreOffice fixtures.
    HBRUSH yellow = CreateSolidBrush(RGB(0xFF, 0xFF, 0x00));
    SelectObject(dc, yellow);
    SelectObject(dc, black);
    Ellipse(dc, 150, 100, 190, 140);

    DeleteEnhMetaFile(CloseEnhMetaFile(dc));
    return 0;
}
