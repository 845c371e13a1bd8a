#include "picture/Picture.h"

namespace px {

int BitsOfPixelFormat(PixelFormat format)
{
    static const int bits[] = {0, 1, 4, 8, 15, 16, 24, 32};
    return bits[int(format)];
}

PixelFormat PixelFormatOfBits(int bits)
{
    switch (bits) {
    case 1: return PixelFormat::Bit1;
    case 4: return PixelFormat::Bit4;
    case 8: return PixelFormat::Bit8;
    case 15: return PixelFormat::Bit15;
    case 16: return PixelFormat::Bit16;
    case 24: return PixelFormat::Bit24;
    case 32: return PixelFormat::Bit32;
    default: return PixelFormat::Device;
    }
}

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
