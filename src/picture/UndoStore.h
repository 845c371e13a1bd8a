#pragma once
// One level of undo: the picture as it was before the last editing step.
#include "picture/Picture.h"

#include <functional>

namespace px {

class UndoStore {
public:
    // Makes an independent copy of an image; returns a null image when memory runs out.
    using Copier = std::function<QImage(const QImage&)>;

    // By default the copy is deep: the picture's pixels may live in a buffer that the next
    // capture reuses, and an out-of-memory failure then shows here, not later.
    UndoStore();
    explicit UndoStore(Copier copier);

    // Keeps a copy of the picture's pixels, replacing whatever was held. An empty picture
    // leaves the store as it is. A failed copy empties the store, so Undo is disabled rather
    // than left pointing at an older picture. Returns whether a copy is held now.
    bool save(const TPicture& picture);

    // The held state as a plain bitmap (with the declared pixel format of the saved bitmap),
    // and empties the store: an undone step cannot be redone. Empty when nothing is held.
    TPicture restore();

    bool canUndo() const { return !saved_.isNull(); }
    void clear();

private:
    Copier copier_;
    QImage saved_;
    PixelFormat pixelFormat_ = PixelFormat::Device;
    bool monochrome_ = false;
};

// With "AutoWinSize" on, undo refits the main window only when the restored picture is
// narrower and lower than the screen.
bool ShouldRefitAfterUndo(QSize picture, QSize screen);

} // namespace px
