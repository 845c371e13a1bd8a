#include "picture/Picture.h"

namespace px {

bool TPicture::setBitmap(const QImage& image, PixelFormat format, bool monochrome)
{
    return setGraphic(GraphicKind::Bitmap, image, QByteArray(), format, monochrome);
}

bool TPicture::setGraphic(GraphicKind kind, const QImage& image, const QByteArray& originalBytes,
                          PixelFormat format, bool monochrome)
{
    if (kind == GraphicKind::None) {
        clear();
        return true;
    }
    if (image.isNull())
        return false;
    kind_ = kind;
    image_ = image;
    pixelFormat_ = format;
    monochrome_ = monochrome;
    originalBytes_ = kind == GraphicKind::Bitmap ? QByteArray() : originalBytes;
    return true;
}

void TPicture::clear()
{
    kind_ = GraphicKind::None;
    image_ = QImage();
    pixelFormat_ = PixelFormat::Device;
    monochrome_ = false;
    originalBytes_.clear();
}

} // namespace px
