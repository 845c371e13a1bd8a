#pragma once
// View modes of the picture area and the placement of a centred picture.
#include <QPoint>
#include <QSize>

namespace px {

// The four placement modes exclude one another (all may be off); Trans is independent.
struct ViewModes {
    bool autoWinSize = false;  // fit the main window to the picture
    bool docCenter = false;    // centre the picture in the picture area
    bool stretch = false;      // stretch the picture to the picture area
    bool focusMode = false;    // picture as a movable, resizable object
    bool trans = false;        // draw the picture transparent

    friend bool operator==(const ViewModes&, const ViewModes&) = default;
};

enum class ViewMode { AutoWinSize, DocCenter, Stretch, FocusMode, Trans };

// The flags after the command for `which`: it toggles its own flag; switching one of the four
// placement modes on switches the other three off. Leaving focus mode this way is visible as
// focusMode going from true to false; the caller then removes the grab handles.
ViewModes Toggle(ViewModes modes, ViewMode which);

// Top-left of an image centred in a box: half the box minus half the image, each half
// truncated toward zero. Negative when the image is larger than the box.
QPoint CenteredPosition(QSize box, QSize image);

} // namespace px
