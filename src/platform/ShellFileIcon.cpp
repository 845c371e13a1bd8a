// File-type icons through QMimeDatabase and the icon theme.
#include "platform/ShellFileIcon.h"

#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QMimeDatabase>
#include <QPainter>
#include <QPainterPath>
#include <QStandardPaths>

namespace px {

namespace {

// Outside a desktop session (the offscreen platform, a bare X server) Qt knows no icon theme
// and often not even the folders themes live in. Then the standard folders are added and an
// installed full theme is chosen, once; a theme the desktop set is left as it is.
void ensureIconTheme()
{
    static const bool done = [] {
        QStringList paths = QIcon::themeSearchPaths();
        QStringList folders{QDir::homePath() + QStringLiteral("/.icons")};
        for (const QString& data : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
            folders << data + QStringLiteral("/icons");
        folders << QStringLiteral("/usr/share/icons");
        for (const QString& folder : std::as_const(folders)) {
            if (!paths.contains(folder) && QFileInfo(folder).isDir())
                paths << folder;
        }
        QIcon::setThemeSearchPaths(paths);

        const QString current = QIcon::themeName();
        if (!current.isEmpty() && current != QLatin1String("hicolor"))
            return true;
        for (const char* name : {"Adwaita", "breeze", "oxygen", "Tango", "gnome"}) {
            for (const QString& base : std::as_const(paths)) {
                if (QFileInfo::exists(base + QLatin1Char('/') + QLatin1String(name) + QStringLiteral("/index.theme"))) {
                    QIcon::setThemeName(QLatin1String(name));
                    return true;
                }
            }
        }
        return true;
    }();
    (void)done;
}

// A white page with a folded corner and a grey outline.
QPixmap drawnDocumentIcon(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal left = size * 0.2, right = size * 0.8, top = size * 0.08, bottom = size * 0.92;
    const qreal fold = size * 0.22;
    QPainterPath page;
    page.moveTo(left, top);
    page.lineTo(right - fold, top);
    page.lineTo(right, top + fold);
    page.lineTo(right, bottom);
    page.lineTo(left, bottom);
    page.closeSubpath();
    painter.setPen(QPen(QColor(0x70, 0x70, 0x70), 1.0));
    painter.setBrush(Qt::white);
    painter.drawPath(page);
    QPainterPath corner;
    corner.moveTo(right - fold, top);
    corner.lineTo(right - fold, top + fold);
    corner.lineTo(right, top + fold);
    painter.setBrush(QColor(0xD8, 0xD8, 0xD8));
    painter.drawPath(corner);
    return pixmap;
}

// The icon at exactly size x size: a theme that has only a smaller or larger picture is
// scaled and centred.
QPixmap exactPixmap(const QIcon& icon, int size)
{
    QPixmap pixmap = icon.pixmap(QSize(size, size), 1.0);
    if (pixmap.isNull() || (pixmap.width() == size && pixmap.height() == size))
        return pixmap;
    const QPixmap scaled = pixmap.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QPixmap square(size, size);
    square.fill(Qt::transparent);
    QPainter painter(&square);
    painter.drawPixmap((size - scaled.width()) / 2, (size - scaled.height()) / 2, scaled);
    return square;
}

} // namespace

QPixmap ShellFileIcon(const QString& fileName, bool small)
{
    const int size = small ? 16 : 32;
    ensureIconTheme();
    const QMimeType type = QMimeDatabase().mimeTypeForFile(fileName, QMimeDatabase::MatchExtension);
    QStringList names;
    if (type.isValid())
        names << type.iconName() << type.genericIconName();
    names << QStringLiteral("text-x-generic") << QStringLiteral("unknown") << QStringLiteral("document");
    for (const QString& name : std::as_const(names)) {
        if (name.isEmpty() || !QIcon::hasThemeIcon(name))
            continue;
        const QPixmap pixmap = exactPixmap(QIcon::fromTheme(name), size);
        if (!pixmap.isNull())
            return pixmap;
    }
    return drawnDocumentIcon(size);
}

} // namespace px
