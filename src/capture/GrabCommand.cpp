#include "capture/GrabCommand.h"

#include "capture/Grab.h"
#include "files/PngWriter.h"
#include "platform/AtomicFile.h"

#include <QFileInfo>
#include <QImageWriter>
#include <QThread>

namespace px {

GrabResult WriteGrabbedPicture(const QImage& image, const QString& outputFile)
{
    const QString ext = QFileInfo(outputFile).suffix().toLower();
    if (ext != QLatin1String("bmp") && ext != QLatin1String("png"))
        return {false, QStringLiteral("unsupported output format '%1' (use .bmp or .png)").arg(ext)};

    QString error;
    const bool written = writeFileAtomically(outputFile, [&](QIODevice& file, QString* why) {
        QString reason;
        bool ok = false;
        if (ext == QLatin1String("png")) {
            ok = WritePng(image, file, PngOptions{}, &reason);
        } else {
            QImageWriter writer(&file, "bmp");
            ok = writer.write(image);
            reason = writer.errorString();
        }
        if (!ok)
            *why = QStringLiteral("cannot write %1: %2").arg(outputFile, reason);
        return ok;
    }, &error);
    if (!written)
        return {false, error};
    return {true, {}};
}

GrabResult RunGrabCommand(Screen& screen, GrabTarget target, int delayMs, const QString& outputFile)
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
    return WriteGrabbedPicture(image, outputFile);
}

} // namespace px
