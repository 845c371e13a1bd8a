#include "picture/UndoStore.h"

#include <utility>

namespace px {

namespace {

bool IsBitmapKind(GraphicKind kind)
{
    return kind == GraphicKind::Bitmap || kind == GraphicKind::Pxg || kind == GraphicKind::Tif;
}

} // namespace

UndoStore::UndoStore()
    : UndoStore([](const QImage& image) { return image.copy(); })
{
}

UndoStore::UndoStore(Copier copier)
    : copier_(std::move(copier))
{
}

bool UndoStore::save(const TPicture& picture)
{
    if (picture.isEmpty())
        return canUndo();
    QImage copy = copier_(picture.image());
    if (copy.isNull()) {
        clear();
        return false;
    }
    saved_ = std::move(copy);
    // Only a bitmap has a declared format of its own; other kinds come back as device bitmaps.
    const bool bitmap = IsBitmapKind(picture.kind());
    pixelFormat_ = bitmap ? picture.pixelFormat() : PixelFormat::Device;
    monochrome_ = bitmap && picture.isMonochrome();
    return true;
}

TPicture UndoStore::restore()
{
    TPicture picture;
    if (canUndo())
        picture.setBitmap(saved_, pixelFormat_, monochrome_);
    clear();
    return picture;
}

void UndoStore::clear()
{
    saved_ = QImage();
    pixelFormat_ = PixelFormat::Device;
    monochrome_ = false;
}

bool ShouldRefitAfterUndo(QSize picture, QSize screen)
{
    return picture.width() < screen.width() && picture.height() < screen.height();
}

} // namespace px
