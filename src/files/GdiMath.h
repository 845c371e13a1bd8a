#pragma once
// Small numeric helpers the parts of the metafile canvas share.
#include <QTransform>

#include <cmath>

namespace px::gdi {

inline bool finite(double v) { return std::isfinite(v); }

inline bool finiteTransform(const QTransform& t)
{
    return finite(t.m11()) && finite(t.m12()) && finite(t.m21()) && finite(t.m22()) && finite(t.dx())
           && finite(t.dy()) && finite(t.m13()) && finite(t.m23()) && finite(t.m33());
}

inline bool axisAligned(const QTransform& t) { return t.m12() == 0 && t.m21() == 0; }

inline double roundHalfUp(double v) { return std::floor(v + 0.5); }

} // namespace px::gdi
