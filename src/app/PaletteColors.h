#pragma once
// The 12-colour palette that "BackColr" (picture area background) and "ShapeColorBg"
// (outside of non-rectangular capture shapes) index. Entry 0 is the system's button face;
// the caller passes the one of its palette (QPalette::Button).
#include <QColor>
#include <array>
#include <optional>

namespace px {

constexpr int kPaletteColorCount = 12;

// nullopt for an index outside 0..11: the caller then leaves its colour as it is.
inline std::optional<QColor> PaletteColor(int index, const QColor& buttonFace = QColor(240, 240, 240))
{
    static constexpr std::array<std::array<int, 3>, kPaletteColorCount> rgb{{
        {0, 0, 0},        // 0 button face (taken from buttonFace)
        {128, 128, 128},  // 1 grey
        {0, 0, 0},        // 2 black
        {255, 255, 255},  // 3 white
        {255, 255, 0},    // 4 yellow
        {255, 255, 225},  // 5 info background
        {0, 0, 255},      // 6 blue
        {0, 255, 255},    // 7 aqua
        {128, 128, 0},    // 8 olive
        {0, 128, 0},      // 9 green
        {255, 0, 0},      // 10 red
        {128, 0, 0},      // 11 maroon
    }};
    if (index < 0 || index >= kPaletteColorCount)
        return std::nullopt;
    if (index == 0)
        return buttonFace;
    const auto& c = rgb[std::size_t(index)];
    return QColor(c[0], c[1], c[2]);
}

} // namespace px
