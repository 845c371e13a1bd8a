// Text records: fonts chosen from the logical font, aligned and advanced as GDI does.
#include "files/GdiCanvas.h"
#include "files/GdiMath.h"

#include <QFontMetricsF>
#include <QGuiApplication>

#include <algorithm>
#include <cmath>

namespace px::gdi {

namespace {

// Glyph sizes in the painter's pixels.
constexpr double kMaxFontPixels = 4096;

} // namespace

void GdiCanvas::text(QPointF reference, const QString& s, int options, const QRectF& rect,
                     const std::vector<double>& dx)
{
    // Fonts need the application's font database; without one, text is left out.
    if (!textAllowed_ || !qobject_cast<QGuiApplication*>(QCoreApplication::instance()) || pathOpen_)
        return;
    const QTransform t = logicalToPainter();
    const double sx = std::hypot(t.m11(), t.m12());
    const double sy = std::hypot(t.m21(), t.m22());
    if (!finite(sx) || !finite(sy))
        return;
    const bool updateCp = dc_.textAlign & TA_UPDATECP;
    if (updateCp)
        reference = dc_.position;

    prepare(painter_);
    const bool useRect = (options & (ETO_OPAQUE | ETO_CLIPPED)) && !rect.isNull();
    if (useRect && (options & ETO_OPAQUE)) {
        const QRectF box = deviceBox(rect);
        if (!box.isNull())
            painter_.fillRect(box.adjusted(0, 0, 1, 1), dc_.bkColor);
    }
    if (s.isEmpty())
        return;
    bool clipped = false;
    if (useRect && (options & ETO_CLIPPED)) {
        const QRectF box = deviceBox(rect);
        painter_.save();
        clipped = true;
        painter_.setClipRect(box.isNull() ? QRectF() : box.adjusted(0, 0, 1, 1), Qt::IntersectClip);
    }

    const Font& lf = dc_.font;
    double pixels = lf.height == 0 ? 16 * std::sqrt(std::abs(base_.determinant())) : std::abs(lf.height) * sy;
    if (!finite(pixels))
        pixels = 16;
    pixels = std::clamp(pixels, 1.0, kMaxFontPixels);
    QFont font(lf.face.isEmpty() ? QStringLiteral("Arial") : lf.face);
    font.setStyleStrategy(QFont::NoAntialias);
    font.setPixelSize(std::max(1, int(roundHalfUp(pixels))));
    if (lf.height >= 0) {
        // A positive height is the character cell's height: ascent and descent together.
        const QFontMetricsF fm(font);
        const double cell = fm.ascent() + fm.descent();
        if (cell > 0)
            font.setPixelSize(std::max(1, int(roundHalfUp(std::min(pixels * pixels / cell, kMaxFontPixels)))));
    }
    if (lf.weight > 0)
        font.setWeight(QFont::Weight(std::clamp(lf.weight, 100, 900)));
    font.setItalic(lf.italic);
    font.setUnderline(lf.underline);
    font.setStrikeOut(lf.strikeOut);
    if (lf.width != 0) {
        const double average = QFontMetricsF(font).averageCharWidth();
        const double wanted = std::abs(lf.width) * sx;
        if (average > 0 && finite(wanted))
            font.setStretch(int(std::clamp(roundHalfUp(100 * wanted / average), 1.0, 4000.0)));
    }
    const QFontMetricsF fm(font);

    std::vector<double> advances;
    double width = 0;
    if (!dx.empty()) {
        for (qsizetype i = 0; i < s.size(); ++i) {
            const double a = std::size_t(i) < dx.size() && finite(dx[std::size_t(i)] * sx)
                                 ? std::clamp(dx[std::size_t(i)] * sx, -kCoordLimit, kCoordLimit)
                                 : fm.horizontalAdvance(s[i]);
            advances.push_back(a);
            width += a;
        }
    } else {
        width = fm.horizontalAdvance(s);
    }

    double x = 0;
    if ((dc_.textAlign & TA_CENTER) == TA_CENTER)
        x = -width / 2;
    else if (dc_.textAlign & TA_RIGHT)
        x = -width;
    double baseline = fm.ascent();
    if ((dc_.textAlign & TA_BASELINE) == TA_BASELINE)
        baseline = 0;
    else if (dc_.textAlign & TA_BOTTOM)
        baseline = -fm.descent();

    const QPointF at = toPainter(reference);
    const double axisAngle = std::atan2(t.m12(), t.m11()) * 180.0 / M_PI;
    const double angle = (t.m11() < 0 ? 0.0 : axisAngle) - lf.escapement / 10.0;
    QTransform local;
    local.translate(at.x(), at.y());
    local.rotate(angle);
    painter_.setWorldTransform(local * painterOwn_);
    if (dc_.bkMode == 2)
        painter_.fillRect(QRectF(x, baseline - fm.ascent(), width, fm.ascent() + fm.descent()), dc_.bkColor);
    painter_.setFont(font);
    painter_.setPen(dc_.textColor);
    painter_.setBackgroundMode(Qt::TransparentMode);
    if (advances.empty()) {
        painter_.drawText(QPointF(x, baseline), s);
    } else {
        for (qsizetype i = 0; i < s.size(); ++i) {
            const bool pair = s[i].isHighSurrogate() && i + 1 < s.size() && s[i + 1].isLowSurrogate();
            painter_.drawText(QPointF(x, baseline), s.mid(i, pair ? 2 : 1));
            x += advances[std::size_t(i)];
            if (pair)
                x += advances[std::size_t(++i)];
        }
    }
    painter_.setWorldTransform(painterOwn_);
    if (clipped) {
        painter_.restore();
        clipKnown_ = false;
    }
    if (updateCp && sx > 0)
        dc_.position.rx() += width / sx;
}

} // namespace px::gdi
