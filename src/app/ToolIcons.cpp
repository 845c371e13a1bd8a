#include "app/ToolIcons.h"

#include <QFont>
#include <QPainter>

namespace px {
namespace {

// A rounded tile in the button's colour with a short glyph: enough to tell the buttons apart.
struct Glyph {
    const char* id;
    const char* text;
    QRgb colour;
};

const Glyph kGlyphs[] = {
    {"capture", "Sc", qRgb(0, 110, 200)},     {"open", "Öf", qRgb(200, 150, 30)},
    {"save", "Sp", qRgb(40, 90, 160)},        {"fastsave", "S!", qRgb(40, 140, 160)},
    {"print", "Dr", qRgb(90, 90, 90)},        {"preview", "Vs", qRgb(120, 120, 120)},
    {"copy", "Ko", qRgb(60, 130, 60)},        {"paste", "Ei", qRgb(60, 160, 90)},
    {"mirrorh", "<>", qRgb(130, 60, 160)},    {"mirrorv", "^v", qRgb(130, 60, 160)},
    {"rotate", "90", qRgb(160, 60, 130)},     {"invert", "Iv", qRgb(20, 20, 20)},
    {"grey", "Gr", qRgb(128, 128, 128)},      {"brighter", "+", qRgb(230, 180, 0)},
    {"darker", "-", qRgb(90, 70, 0)},         {"contrast", "Kt", qRgb(70, 70, 130)},
    {"smooth", "Gl", qRgb(80, 150, 200)},     {"scale", "%", qRgb(0, 140, 140)},
    {"marker", "M", qRgb(220, 0, 0)},         {"jpgscale", "J%", qRgb(170, 90, 40)},
    {"numbering", "1.", qRgb(0, 100, 160)},   {"cutdrag", "Zu", qRgb(180, 60, 40)},
    {"cutframe", "[]", qRgb(180, 60, 40)},    {"word", "W", qRgb(40, 80, 170)},
    {"autofile", "A", qRgb(0, 140, 60)},      {"loupe", "Lu", qRgb(60, 100, 140)},
    {"printscan", "PS", qRgb(100, 60, 40)},   {"asbmp", "Bm", qRgb(120, 40, 120)},
    {"timescan", "TS", qRgb(0, 120, 120)},    {"exteditor", "Ed", qRgb(150, 100, 0)},
    {"exteditorhk", "Eh", qRgb(150, 100, 0)}, {"options", "Op", qRgb(90, 90, 140)},
    {"manual", "?", qRgb(0, 90, 200)},        {"keyboard", "Ta", qRgb(70, 70, 70)},
    {"exit", "X", qRgb(190, 30, 30)},
};

QPixmap drawTile(int size, const QString& text, QColor colour)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(colour.darker(150));
    p.setBrush(colour);
    p.drawRoundedRect(QRectF(0.5, 0.5, size - 1, size - 1), size / 6.0, size / 6.0);
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(size * (text.size() > 1 ? 9 : 13) / 16);
    p.setFont(font);
    p.setPen(colour.lightness() > 160 ? Qt::black : Qt::white);
    p.drawText(pixmap.rect(), Qt::AlignCenter, text);
    return pixmap;
}

QIcon tileIcon(const QString& text, QColor colour)
{
    QIcon icon;
    for (int size : {16, 24, 32})
        icon.addPixmap(drawTile(size, text, colour));
    return icon;
}

} // namespace

QIcon ToolIcon(const QString& id)
{
    for (const Glyph& g : kGlyphs) {
        if (id == QLatin1String(g.id))
            return tileIcon(QString::fromUtf8(g.text), QColor(g.colour));
    }
    return tileIcon(QStringLiteral("·"), QColor(160, 160, 160));
}

QPixmap StatusImage(int index)
{
    constexpr int size = 16;
    switch (index) {
    case 0: return drawTile(size, QStringLiteral("A"), QColor(0, 150, 60));
    case 1: return drawTile(size, QStringLiteral("A"), QColor(170, 170, 170));
    case 2: return drawTile(size, QStringLiteral("-"), QColor(170, 170, 170));
    case 3: return drawTile(size, QStringLiteral("D"), QColor(40, 90, 170));
    case 4: return drawTile(size, QStringLiteral("i"), QColor(0, 110, 200));
    case 5: return drawTile(size, QStringLiteral("_"), QColor(170, 170, 170));
    case 6: return drawTile(size, QStringLiteral("_"), QColor(0, 150, 60));
    default: return QPixmap();
    }
}

QIcon MarkerPenIcon(QRgb colour, int width)
{
    // Thin pens are drawn as a narrower bar, as the drop-down shows them.
    QPixmap pixmap(48, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    const QRect bar = width < 10 ? QRect(0, 5, 48, 6) : QRect(0, 1, 48, 14);
    p.fillRect(bar, QColor(colour));
    p.setPen(Qt::darkGray);
    p.drawRect(bar.adjusted(0, 0, -1, -1));
    return QIcon(pixmap);
}

} // namespace px
