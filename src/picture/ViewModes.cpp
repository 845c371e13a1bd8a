#include "picture/ViewModes.h"

namespace px {

namespace {

bool& FlagOf(ViewModes& modes, ViewMode which)
{
    switch (which) {
    case ViewMode::AutoWinSize: return modes.autoWinSize;
    case ViewMode::DocCenter: return modes.docCenter;
    case ViewMode::Stretch: return modes.stretch;
    case ViewMode::FocusMode: return modes.focusMode;
    case ViewMode::Trans: break;
    }
    return modes.trans;
}

} // namespace

ViewModes Toggle(ViewModes modes, ViewMode which)
{
    bool& flag = FlagOf(modes, which);
    const bool on = !flag;
    if (on && which != ViewMode::Trans) {
        modes.autoWinSize = false;
        modes.docCenter = false;
        modes.stretch = false;
        modes.focusMode = false;
    }
    flag = on;
    return modes;
}

QPoint CenteredPosition(QSize box, QSize image)
{
    return QPoint(box.width() / 2 - image.width() / 2, box.height() / 2 - image.height() / 2);
}

} // namespace px
