#include "files/MedianCut.h"

#include <QHash>

#include <algorithm>
#include <array>
#include <climits>
#include <vector>

namespace px {

namespace {

constexpr int kBins = 32 * 32 * 32;

int binOf(QRgb c) { return (qRed(c) >> 3) << 10 | (qGreen(c) >> 3) << 5 | (qBlue(c) >> 3); }

struct Bin {
    qint64 count = 0;
    qint64 r = 0, g = 0, b = 0;  // sums of the exact components
};

struct Box {
    std::array<int, 3> lo{}, hi{};  // inclusive bin coordinates (red, green, blue)
    qint64 count = 0;
};

int coord(int bin, int axis) { return axis == 0 ? bin >> 10 : axis == 1 ? (bin >> 5) & 31 : bin & 31; }
int binAt(int r, int g, int b) { return r << 10 | g << 5 | b; }

// Visits the non-empty bins of a box.
template <typename F>
void forEachBin(const std::vector<Bin>& hist, const Box& box, F f)
{
    for (int r = box.lo[0]; r <= box.hi[0]; ++r)
        for (int g = box.lo[1]; g <= box.hi[1]; ++g)
            for (int b = box.lo[2]; b <= box.hi[2]; ++b) {
                const int i = binAt(r, g, b);
                if (hist[size_t(i)].count)
                    f(i);
            }
}

// Shrinks the box to the bins it really holds and recounts it.
void shrink(const std::vector<Bin>& hist, Box& box)
{
    Box tight;
    tight.lo = {31, 31, 31};
    tight.hi = {0, 0, 0};
    forEachBin(hist, box, [&](int i) {
        for (int a = 0; a < 3; ++a) {
            tight.lo[size_t(a)] = std::min(tight.lo[size_t(a)], coord(i, a));
            tight.hi[size_t(a)] = std::max(tight.hi[size_t(a)], coord(i, a));
        }
        tight.count += hist[size_t(i)].count;
    });
    box = tight;
}

bool splittable(const Box& b) { return b.count > 0 && (b.lo != b.hi); }

std::vector<QRgb> medianCut(const std::vector<Bin>& hist, int maxColors)
{
    Box all;
    all.hi = {31, 31, 31};
    shrink(hist, all);
    std::vector<Box> boxes{all};
    while (int(boxes.size()) < maxColors) {
        // The most populated box that still spans more than one bin is cut next.
        int pick = -1;
        for (int i = 0; i < int(boxes.size()); ++i)
            if (splittable(boxes[size_t(i)]) && (pick < 0 || boxes[size_t(i)].count > boxes[size_t(pick)].count))
                pick = i;
        if (pick < 0)
            break;
        Box& box = boxes[size_t(pick)];
        int axis = 0;
        for (int a = 1; a < 3; ++a)
            if (box.hi[size_t(a)] - box.lo[size_t(a)] > box.hi[size_t(axis)] - box.lo[size_t(axis)])
                axis = a;
        // Count the pixels per slice along the axis and cut where half of them lie below.
        std::array<qint64, 32> slice{};
        forEachBin(hist, box, [&](int i) { slice[size_t(coord(i, axis))] += hist[size_t(i)].count; });
        qint64 below = 0;
        int cut = box.lo[size_t(axis)];
        for (int c = box.lo[size_t(axis)]; c < box.hi[size_t(axis)]; ++c) {
            below += slice[size_t(c)];
            cut = c;
            if (below * 2 >= box.count)
                break;
        }
        Box upper = box;
        box.hi[size_t(axis)] = cut;
        upper.lo[size_t(axis)] = cut + 1;
        shrink(hist, box);
        shrink(hist, upper);
        boxes.push_back(upper);
    }
    std::vector<QRgb> palette;
    for (const Box& box : boxes) {
        Bin sum;
        forEachBin(hist, box, [&](int i) {
            sum.count += hist[size_t(i)].count;
            sum.r += hist[size_t(i)].r;
            sum.g += hist[size_t(i)].g;
            sum.b += hist[size_t(i)].b;
        });
        if (sum.count)
            palette.push_back(qRgb(int((sum.r + sum.count / 2) / sum.count), int((sum.g + sum.count / 2) / sum.count),
                                   int((sum.b + sum.count / 2) / sum.count)));
    }
    return palette;
}

int nearest(const std::vector<QRgb>& palette, int r, int g, int b)
{
    int best = 0;
    int bestDistance = INT_MAX;
    for (int i = 0; i < int(palette.size()); ++i) {
        const int dr = qRed(palette[size_t(i)]) - r, dg = qGreen(palette[size_t(i)]) - g, db = qBlue(palette[size_t(i)]) - b;
        const int distance = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return best;
}

} // namespace

QImage ReduceToPalette(const QImage& source, int maxColors)
{
    if (source.isNull())
        return {};
    maxColors = std::clamp(maxColors, 1, 256);
    const QImage image = source.format() == QImage::Format_RGB32 ? source : source.convertToFormat(QImage::Format_RGB32);
    const int w = image.width(), h = image.height();
    QImage out(w, h, QImage::Format_Indexed8);
    if (out.isNull())
        return {};

    // Few colours: keep them all, in a fixed order.
    QHash<QRgb, int> exact;
    bool fits = true;
    for (int y = 0; y < h && fits; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        QRgb previous = 0;
        for (int x = 0; x < w; ++x) {
            const QRgb c = line[x] | 0xFF000000u;
            if (x > 0 && c == previous)
                continue;
            previous = c;
            exact.insert(c, 0);
            if (exact.size() > maxColors) {
                fits = false;
                break;
            }
        }
    }
    if (fits) {
        QList<QRgb> colours = exact.keys();
        std::sort(colours.begin(), colours.end());
        for (int i = 0; i < colours.size(); ++i)
            exact[colours[i]] = i;
        out.setColorTable(colours);
        for (int y = 0; y < h; ++y) {
            const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            uchar* dst = out.scanLine(y);
            QRgb previous = 0;
            uchar index = 0;
            for (int x = 0; x < w; ++x) {
                const QRgb c = line[x] | 0xFF000000u;
                if (x == 0 || c != previous) {
                    previous = c;
                    index = uchar(exact.value(c));
                }
                dst[x] = index;
            }
        }
        return out;
    }

    std::vector<Bin> hist(kBins);
    for (int y = 0; y < h; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            Bin& bin = hist[size_t(binOf(line[x]))];
            ++bin.count;
            bin.r += qRed(line[x]);
            bin.g += qGreen(line[x]);
            bin.b += qBlue(line[x]);
        }
    }
    const std::vector<QRgb> palette = medianCut(hist, maxColors);
    // Each histogram bin maps to the entry nearest to the mean colour of its pixels.
    std::vector<int> map(kBins, -1);
    for (int i = 0; i < kBins; ++i) {
        const Bin& bin = hist[size_t(i)];
        if (bin.count)
            map[size_t(i)] = nearest(palette, int(bin.r / bin.count), int(bin.g / bin.count), int(bin.b / bin.count));
    }
    out.setColorTable(QList<QRgb>(palette.begin(), palette.end()));
    for (int y = 0; y < h; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        uchar* dst = out.scanLine(y);
        for (int x = 0; x < w; ++x)
            dst[x] = uchar(map[size_t(binOf(line[x]))]);
    }
    return out;
}

} // namespace px
