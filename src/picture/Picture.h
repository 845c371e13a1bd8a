#pragma once
// The current picture of the main window: at most one graphic, kept as pixels for display and
// editing, plus what the file writers need to write it back faithfully.
#include <QByteArray>
#include <QImage>
#include <QSize>

namespace px {

// What kind of graphic the picture holds. Pxg and Tif are bitmaps read by our own readers for
// those extensions; they count as bitmaps for the writers but are not editable in place.
enum class GraphicKind { None, Bitmap, Jpeg, Gif, Png, Wmf, Emf, Icon, Pxg, Tif };

// The bitmap's declared pixel format. Device means "as the screen delivers it" (captures).
enum class PixelFormat { Device, Bit1, Bit4, Bit8, Bit15, Bit16, Bit24, Bit32 };

// Bits per pixel of a declared format (0 for Device) and back (other counts give Device).
int BitsOfPixelFormat(PixelFormat format);
PixelFormat PixelFormatOfBits(int bits);

class TPicture {
public:
    GraphicKind kind() const { return kind_; }
    // The pixels: for a metafile or icon a rendering of it; null while the picture is empty.
    const QImage& image() const { return image_; }
    QSize size() const { return image_.size(); }
    PixelFormat pixelFormat() const { return pixelFormat_; }
    bool isMonochrome() const { return monochrome_; }
    // The file's bytes as read, for graphics other than a plain bitmap, so that saving in the
    // same format writes them back unchanged instead of re-encoding (JPEG would lose quality).
    const QByteArray& originalBytes() const { return originalBytes_; }

    bool isEmpty() const { return kind_ == GraphicKind::None; }
    // Editing works only on a plain bitmap; every other kind must be converted first.
    bool isEditable() const { return kind_ == GraphicKind::Bitmap; }

    // Replaces the picture with a plain bitmap. A null image is refused (false) and the picture
    // stays as it was, so a failed load or paste never destroys the current picture.
    bool setBitmap(const QImage& image, PixelFormat format = PixelFormat::Device, bool monochrome = false);
    // Replaces the picture with a graphic of the given kind. Kind None clears the picture. A
    // null image for any other kind is refused (false) and leaves the picture unchanged. The
    // original bytes are kept for every kind except a plain bitmap, whose pixels are the truth.
    bool setGraphic(GraphicKind kind, const QImage& image, const QByteArray& originalBytes,
                    PixelFormat format = PixelFormat::Device, bool monochrome = false);
    void clear();

private:
    GraphicKind kind_ = GraphicKind::None;
    QImage image_;
    PixelFormat pixelFormat_ = PixelFormat::Device;
    bool monochrome_ = false;
    QByteArray originalBytes_;
};

} // namespace px
