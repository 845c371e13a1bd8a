#include "picture/ViewModes.h"

#include <gtest/gtest.h>

using namespace px;

namespace {

ViewModes Modes(bool autoWinSize, bool docCenter, bool stretch, bool focusMode, bool trans)
{
    return {autoWinSize, docCenter, stretch, focusMode, trans};
}

} // namespace

TEST(ViewModes, PlacementModesExcludeOneAnotherAndTransIsIndependent)
{
    using M = ViewMode;
    const struct {
        const char* what;
        ViewModes before;
        ViewMode which;
        ViewModes after;
    } cases[] = {
        {"first on", Modes(0, 0, 0, 0, 0), M::AutoWinSize, Modes(1, 0, 0, 0, 0)},
        {"centre replaces fit", Modes(1, 0, 0, 0, 0), M::DocCenter, Modes(0, 1, 0, 0, 0)},
        {"stretch leaves focus, keeps trans", Modes(0, 0, 0, 1, 1), M::Stretch, Modes(0, 0, 1, 0, 1)},
        {"fit leaves focus", Modes(0, 0, 0, 1, 0), M::AutoWinSize, Modes(1, 0, 0, 0, 0)},
        {"focus replaces stretch", Modes(0, 0, 1, 0, 0), M::FocusMode, Modes(0, 0, 0, 1, 0)},
        {"own command switches off", Modes(0, 0, 1, 0, 0), M::Stretch, Modes(0, 0, 0, 0, 0)},
        {"focus off by own command", Modes(0, 0, 0, 1, 1), M::FocusMode, Modes(0, 0, 0, 0, 1)},
        {"trans on beside centre", Modes(0, 1, 0, 0, 0), M::Trans, Modes(0, 1, 0, 0, 1)},
        {"trans off", Modes(0, 1, 0, 0, 1), M::Trans, Modes(0, 1, 0, 0, 0)},
        // Settings from an older session may have several on: switching one on tidies them,
        // switching one off touches only its own flag.
        {"on tidies", Modes(1, 0, 1, 0, 0), M::DocCenter, Modes(0, 1, 0, 0, 0)},
        {"off touches own only", Modes(1, 0, 1, 0, 0), M::Stretch, Modes(1, 0, 0, 0, 0)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Toggle(c.before, c.which), c.after) << c.what;
}

TEST(ViewModes, CentredPositionHalvesTruncatingTowardZero)
{
    const struct {
        QSize box;
        QSize image;
        QPoint expected;
    } cases[] = {
        {{100, 50}, {40, 20}, {30, 15}},
        {{101, 51}, {41, 21}, {30, 15}},   // 50 - 20, 25 - 10
        {{10, 7}, {13, 4}, {-1, 1}},       // larger than the box: 5 - 6
        {{10, 10}, {31, 45}, {-10, -17}},  // 5 - 15, 5 - 22
        {{-3, -5}, {0, 0}, {-1, -2}},      // (-3)/2 is -1, not -2; (-5)/2 is -2, not -3
        {{0, 0}, {0, 0}, {0, 0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CenteredPosition(c.box, c.image), c.expected)
            << c.box.width() << "x" << c.box.height() << " / " << c.image.width() << "x" << c.image.height();
}
