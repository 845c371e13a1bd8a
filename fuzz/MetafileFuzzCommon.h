// The checks shared by the metafile player fuzz targets: any bytes must give a picture or a
// reason, never both, never a crash or a hang. A picture has the size the header gives, and
// playing the same bytes into another target works or fails the same way.
#pragma once

#include "files/MetafilePlayer.h"

#include <QGuiApplication>
#include <QPainter>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace px::fuzz {

// Text records need fonts, and fonts need a GUI application: one offscreen application for
// the whole run (the replay driver never calls an initialiser, so it is made on first use).
inline void EnsureMetafileApplication(const char* programName)
{
    static int argc = 1;
    static char name[64] = {};
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = [programName] {
        qstrncpy(name, programName, sizeof name);
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
}

// Reads and plays one input, aborting on any broken promise.
inline int CheckMetafileInput(const uint8_t* data, size_t size, const char* programName)
{
    EnsureMetafileApplication(programName);
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    // Lower limits than the program's keep every run quick; the checks are the same.
    MetafileLimits limits;
    limits.maxPixels = 1 << 20;
    limits.maxRecords = 1 << 14;
    const MetafileReadResult read = ReadMetafile(input, limits);
    if (read.image.isNull() == read.error.isEmpty())
        std::abort();
    if (!read.image.isNull() && read.image.size() != read.size)
        std::abort();

    QImage target(48, 32, QImage::Format_ARGB32);
    target.fill(Qt::white);
    QString error;
    bool played;
    {
        QPainter painter(&target);
        played = PlayMetafile(input, painter, QRectF(3, 2, 40, 27), &error, limits);
    }
    if (played != error.isEmpty())
        std::abort();
    if (!read.image.isNull() && !played)
        std::abort();
    return 0;
}

} // namespace px::fuzz
