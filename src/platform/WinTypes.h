#pragma once
// The two value conventions the program's stored data uses: colours as TColor (0x00BBGGRR)
// and rectangles with exclusive right and bottom edges. Every conversion goes through here.
#include <QColor>
#include <QRect>
#include <cstdint>

namespace px {

using TColor = std::uint32_t;

inline QColor colorFromTColor(TColor c)
{
    return QColor(int(c & 0xff), int((c >> 8) & 0xff), int((c >> 16) & 0xff));
}

inline TColor tcolorFromColor(const QColor& c)
{
    return TColor(c.red()) | (TColor(c.green()) << 8) | (TColor(c.blue()) << 16);
}

// A rectangle given as left, top, right, bottom with right and bottom outside it.
inline QRect rectFromLTRB(int left, int top, int right, int bottom)
{
    return QRect(left, top, right - left, bottom - top);
}

inline int exclusiveRight(const QRect& r) { return r.x() + r.width(); }
inline int exclusiveBottom(const QRect& r) { return r.y() + r.height(); }

} // namespace px
