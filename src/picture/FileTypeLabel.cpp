#include "picture/FileTypeLabel.h"

namespace px {

QString NoPictureLabel() { return QStringLiteral("- - -"); }

QString MemoryBitmapLabel() { return QStringLiteral("|bmp|"); }

QString ConvertedBitmapLabel(const QString& extension)
{
    return QStringLiteral("|bmp| - ") + LabelExtension(extension);
}

QString OwnFormatLabel(const QString& extension) { return LabelExtension(extension); }

QString LabelExtension(const QString& extension)
{
    QString ext = extension.startsWith(u'.') ? extension.mid(1) : extension;
    const QString lower = ext.toLower();
    if (lower == u"jpg" || lower == u"jpeg" || lower == u"jpe")
        return QStringLiteral("jpg");
    return ext;
}

bool isJpgLabel(const QString& label) { return label == u"jpg"; }

} // namespace px
