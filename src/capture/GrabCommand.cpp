#include "capture/GrabCommand.h"

#include "capture/Grab.h"
#include "files/FileTypes.h"

#include <QFileInfo>
#include <QThread>

namespace px {

GrabResult WriteGrabbedPicture(const QImage& image, const QString& outputFile, const PictureWriteSettings& settings)
{
    const QString ext = QFileInfo(outputFile).suffix().toLower();
    const int type = FileTypeIndexForExtension(QLatin1Char('.') + ext);
    if (type < 0 || type == 3 || type == 4)
        return {false, QStringLiteral("unsupported output format '%1' (use .bmp, .jpg, .gif, .ico, .pxg, .tif or .png)").arg(ext)};
    const PictureWriteResult r = WritePictureFile(type, image, 24, settings, WriteOccasion::AutoSave, outputFile);
    if (!r.ok)
        return {false, QStringLiteral("cannot write %1: %2").arg(outputFile, r.error)};
    return {true, {}};
}

GrabResult RunGrabCommand(Screen& screen, GrabTarget target, int delayMs, const QString& outputFile,
                          const PictureWriteSettings& settings)
{
    if (delayMs > 0)
        QThread::msleep(static_cast<unsigned long>(delayMs));
    QImage image;
    if (target == GrabTarget::Desktop)
        GrabDesktop(screen, image);
    else
        GrabForegroundWindow(screen, image);
    if (image.isNull() || image.width() == 0 || image.height() == 0)
        return {false, target == GrabTarget::Window ? QStringLiteral("no active window to capture")
                                                    : QStringLiteral("the screen could not be read")};
    return WriteGrabbedPicture(image, outputFile, settings);
}

} // namespace px
