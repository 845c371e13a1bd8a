#include "files/ColorReduction.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace px {

namespace {

constexpr int kMaxPaletteSize = 256;

// The 20 colours Windows reserves in every palette: the first ten and the last ten entries.
constexpr std::array<QRgb, 20> kSystemColours = {
    0xff000000, 0xff800000, 0xff008000, 0xff808000, 0xff000080, 0xff800080, 0xff008080,
    0xffc0c0c0, 0xffc0dcc0, 0xffa6caf0, 0xfffffbf0, 0xffa0a0a4, 0xff808080, 0xffff0000,
    0xff00ff00, 0xffffff00, 0xff0000ff, 0xffff00ff, 0xff00ffff, 0xffffffff,
};

QList<QRgb> webPalette()
{
    QList<QRgb> palette;
    palette.reserve(216);
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                palette.append(qRgb(r * 51, g * 51, b * 51));
    return palette;
}

// The system colours, then the web cube, then grey steps until 256 distinct entries.
QList<QRgb> halftonePalette()
{
    QList<QRgb> palette(kSystemColours.begin(), kSystemColours.end());
    for (const QRgb c : webPalette())
        if (!palette.contains(c))
            palette.append(c);
    for (int v = 8; v < 256 && palette.size() < kMaxPaletteSize; v += 8)
        if (!palette.contains(qRgb(v, v, v)))
            palette.append(qRgb(v, v, v));
    return palette;
}

QList<QRgb> greyRamp()
{
    QList<QRgb> palette;
    palette.reserve(256);
    for (int v = 0; v < 256; ++v)
        palette.append(qRgb(v, v, v));
    return palette;
}

bool isGreyReduction(ColorReduction reduction)
{
    return reduction == ColorReduction::WindowsGray || reduction == ColorReduction::Monochrome
        || reduction == ColorReduction::Grayscale;
}

// Pixels read as 0xAARRGGBB words; alpha is never looked at.
QImage asPixelWords(const QImage& image)
{
    if (image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32)
        return image;
    return image.convertToFormat(QImage::Format_ARGB32);
}

QImage toLuminance(const QImage& image)
{
    QImage grey(image.size(), QImage::Format_RGB32);
    if (grey.isNull())
        return grey;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        QRgb* out = reinterpret_cast<QRgb*>(grey.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int v = qGray(in[x]);
            out[x] = qRgb(v, v, v);
        }
    }
    return grey;
}

// The picture's own colours in order of first appearance, or an empty list once there are
// more than limit of them.
QList<QRgb> exactColours(const QImage& image, qsizetype limit = kMaxPaletteSize)
{
    QList<QRgb> colours;
    std::unordered_map<QRgb, int> seen;
    QRgb last = 0;
    bool haveLast = false;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = line[x] | 0xff000000u;
            if (haveLast && c == last)
                continue;
            last = c;
            haveLast = true;
            if (seen.emplace(c, int(colours.size())).second) {
                if (colours.size() == limit)
                    return {};
                colours.append(c);
            }
        }
    }
    return colours;
}

// Nearest palette entry by squared RGB distance; ties go to the lower palette index. Entries
// are searched outward from the pixel's green value, and a small direct-mapped cache catches
// the repeated colours pictures are made of.
class NearestColour {
public:
    explicit NearestColour(const QList<QRgb>& palette)
    {
        entries_.reserve(size_t(palette.size()));
        for (int i = 0; i < palette.size(); ++i)
            entries_.push_back({qRed(palette[i]), qGreen(palette[i]), qBlue(palette[i]), i});
        std::sort(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) {
            return a.g != b.g ? a.g < b.g : a.index < b.index;
        });
        cacheKey_.assign(kCacheSize, 0);
        cacheIndex_.assign(kCacheSize, 0);
    }

    int find(int r, int g, int b)
    {
        const uint32_t key = 0x1000000u | uint32_t(r << 16 | g << 8 | b);
        const uint32_t slot = (key * 2654435761u) >> (32 - kCacheBits);
        if (cacheKey_[slot] == key)
            return cacheIndex_[slot];
        const int index = search(r, g, b);
        cacheKey_[slot] = key;
        cacheIndex_[slot] = uint8_t(index);
        return index;
    }

private:
    struct Entry {
        int r, g, b, index;
    };
    static constexpr int kCacheBits = 14;
    static constexpr size_t kCacheSize = size_t(1) << kCacheBits;

    int search(int r, int g, int b) const
    {
        const auto start = std::lower_bound(entries_.begin(), entries_.end(), g,
                                            [](const Entry& e, int value) { return e.g < value; });
        int bestDistance = INT32_MAX;
        int bestIndex = 0;
        auto consider = [&](const Entry& e) {
            const int dr = e.r - r, dg = e.g - g, db = e.b - b;
            const int distance = dr * dr + dg * dg + db * db;
            if (distance < bestDistance || (distance == bestDistance && e.index < bestIndex)) {
                bestDistance = distance;
                bestIndex = e.index;
            }
        };
        auto up = start;
        auto down = start;
        bool moreUp = up != entries_.end();
        bool moreDown = down != entries_.begin();
        while (moreUp || moreDown) {
            if (moreUp) {
                const int dg = up->g - g;
                if (dg * dg > bestDistance) {
                    moreUp = false;
                } else {
                    consider(*up);
                    moreUp = ++up != entries_.end();
                }
            }
            if (moreDown) {
                const Entry& e = *(down - 1);
                const int dg = g - e.g;
                if (dg * dg > bestDistance) {
                    moreDown = false;
                } else {
                    consider(e);
                    moreDown = --down != entries_.begin();
                }
            }
        }
        return bestIndex;
    }

    std::vector<Entry> entries_;
    std::vector<uint32_t> cacheKey_;
    std::vector<uint8_t> cacheIndex_;
};

struct Bin {
    int key;  // 5 bits each of red, green, blue
    uint64_t count;
    uint64_t sum[3];

    int axis(int a) const { return (key >> (10 - 5 * a)) & 31; }
};

struct Box {
    size_t begin, end;  // range in the bin list
    uint64_t count;
    int longestAxis;
    int range;
};

Box makeBox(const std::vector<Bin>& bins, size_t begin, size_t end)
{
    Box box{begin, end, 0, 0, 0};
    int lo[3] = {31, 31, 31}, hi[3] = {0, 0, 0};
    for (size_t i = begin; i < end; ++i) {
        box.count += bins[i].count;
        for (int a = 0; a < 3; ++a) {
            lo[a] = std::min(lo[a], bins[i].axis(a));
            hi[a] = std::max(hi[a], bins[i].axis(a));
        }
    }
    for (int a = 0; a < 3; ++a) {
        if (hi[a] - lo[a] > box.range) {
            box.range = hi[a] - lo[a];
            box.longestAxis = a;
        }
    }
    return box;
}

} // namespace

ColorReduction ColorReductionFromSetting(int gifColOpt)
{
    return gifColOpt >= 0 && gifColOpt <= 6 ? ColorReduction(gifColOpt) : ColorReduction::None;
}

DitherMode DitherModeFromSetting(int gifDith)
{
    return gifDith != 0 ? DitherMode::ErrorDiffusion : DitherMode::Nearest;
}

QList<QRgb> FixedPalette(ColorReduction reduction)
{
    switch (reduction) {
    case ColorReduction::None:
        return {};
    case ColorReduction::WindowsSystem:
        return QList<QRgb>(kSystemColours.begin(), kSystemColours.end());
    case ColorReduction::WindowsHalftone:
        return halftonePalette();
    case ColorReduction::WindowsGray:
        return {qRgb(0, 0, 0), qRgb(128, 128, 128), qRgb(192, 192, 192), qRgb(255, 255, 255)};
    case ColorReduction::Monochrome:
        return {qRgb(0, 0, 0), qRgb(255, 255, 255)};
    case ColorReduction::Grayscale:
        return greyRamp();
    case ColorReduction::Netscape:
        return webPalette();
    }
    return {};
}

QList<QRgb> MedianCutPalette(const QImage& input, int maxColors)
{
    maxColors = std::clamp(maxColors, 1, kMaxPaletteSize);
    const QImage image = asPixelWords(input);
    if (image.isNull())
        return {};
    std::vector<Bin> histogram(32 * 32 * 32);
    for (int i = 0; i < int(histogram.size()); ++i)
        histogram[size_t(i)] = Bin{i, 0, {0, 0, 0}};
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int r = qRed(line[x]), g = qGreen(line[x]), b = qBlue(line[x]);
            Bin& bin = histogram[size_t((r >> 3) << 10 | (g >> 3) << 5 | (b >> 3))];
            ++bin.count;
            bin.sum[0] += uint64_t(r);
            bin.sum[1] += uint64_t(g);
            bin.sum[2] += uint64_t(b);
        }
    }
    std::vector<Bin> bins;
    for (const Bin& bin : histogram)
        if (bin.count)
            bins.push_back(bin);

    std::vector<Box> boxes{makeBox(bins, 0, bins.size())};
    while (int(boxes.size()) < maxColors) {
        // Split the box where most pixels meet the widest spread of colour.
        int chosen = -1;
        uint64_t bestScore = 0;
        for (int i = 0; i < int(boxes.size()); ++i) {
            const Box& box = boxes[size_t(i)];
            const uint64_t score = box.count * uint64_t(box.range);
            if (box.end - box.begin > 1 && score > bestScore) {
                bestScore = score;
                chosen = i;
            }
        }
        if (chosen < 0)
            break;
        const Box box = boxes[size_t(chosen)];
        const int axis = box.longestAxis;
        std::sort(bins.begin() + ptrdiff_t(box.begin), bins.begin() + ptrdiff_t(box.end),
                  [axis](const Bin& a, const Bin& b) {
                      return a.axis(axis) != b.axis(axis) ? a.axis(axis) < b.axis(axis) : a.key < b.key;
                  });
        // The weighted median, keeping at least one bin on each side.
        size_t split = box.begin + 1;
        uint64_t below = bins[box.begin].count;
        while (split < box.end - 1 && below * 2 < box.count) {
            below += bins[split].count;
            ++split;
        }
        boxes[size_t(chosen)] = makeBox(bins, box.begin, split);
        boxes.push_back(makeBox(bins, split, box.end));
    }

    QList<QRgb> palette;
    for (const Box& box : boxes) {
        if (box.count == 0)
            continue;
        uint64_t sum[3] = {0, 0, 0};
        for (size_t i = box.begin; i < box.end; ++i)
            for (int a = 0; a < 3; ++a)
                sum[a] += bins[i].sum[a];
        auto mean = [&](int a) { return int((sum[a] + box.count / 2) / box.count); };
        palette.append(qRgb(mean(0), mean(1), mean(2)));
    }
    return palette;
}

QImage MapToPalette(const QImage& input, const QList<QRgb>& palette, DitherMode dither)
{
    if (input.isNull() || palette.isEmpty() || palette.size() > kMaxPaletteSize)
        return {};
    const QImage image = asPixelWords(input);
    QImage indexed(image.size(), QImage::Format_Indexed8);
    if (image.isNull() || indexed.isNull())
        return {};
    QList<QRgb> table;
    for (const QRgb c : palette)
        table.append(c | 0xff000000u);
    indexed.setColorTable(table);
    NearestColour nearest(table);
    const int width = image.width();

    if (dither == DitherMode::Nearest) {
        for (int y = 0; y < image.height(); ++y) {
            const QRgb* in = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            uchar* out = indexed.scanLine(y);
            for (int x = 0; x < width; ++x)
                out[x] = uchar(nearest.find(qRed(in[x]), qGreen(in[x]), qBlue(in[x])));
        }
        return indexed;
    }

    // Floyd-Steinberg: 7/16 of a pixel's error goes right, 3/16, 5/16 and 1/16 to the row
    // below. Errors are kept in sixteenths, one slot of padding on either side of the row.
    std::vector<int> current(size_t(width + 2) * 3, 0), below(size_t(width + 2) * 3, 0);
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        uchar* out = indexed.scanLine(y);
        std::fill(below.begin(), below.end(), 0);
        for (int x = 0; x < width; ++x) {
            const size_t at = size_t(x + 1) * 3;
            const int wanted[3] = {
                std::clamp(qRed(in[x]) + current[at] / 16, 0, 255),
                std::clamp(qGreen(in[x]) + current[at + 1] / 16, 0, 255),
                std::clamp(qBlue(in[x]) + current[at + 2] / 16, 0, 255),
            };
            const int index = nearest.find(wanted[0], wanted[1], wanted[2]);
            out[x] = uchar(index);
            const int got[3] = {qRed(table[index]), qGreen(table[index]), qBlue(table[index])};
            for (int c = 0; c < 3; ++c) {
                const int error = wanted[c] - got[c];
                current[at + 3 + size_t(c)] += error * 7;
                below[at - 3 + size_t(c)] += error * 3;
                below[at + size_t(c)] += error * 5;
                below[at + 3 + size_t(c)] += error;
            }
        }
        std::swap(current, below);
    }
    return indexed;
}

QImage ReduceToPalette(const QImage& input, int maxColors)
{
    if (input.isNull() || maxColors < 1)
        return {};
    const QImage image = asPixelWords(input);
    QList<QRgb> palette = exactColours(image, std::min(maxColors, int(kMaxPaletteSize)));
    if (palette.isEmpty())
        palette = MedianCutPalette(image, std::min(maxColors, int(kMaxPaletteSize)));
    return MapToPalette(image, palette, DitherMode::Nearest);
}

QImage ReduceColors(const QImage& input, ColorReduction reduction, DitherMode dither)
{
    if (input.isNull())
        return {};
    QImage image = asPixelWords(input);
    if (isGreyReduction(reduction))
        image = toLuminance(image);
    QList<QRgb> palette = FixedPalette(reduction);
    if (palette.isEmpty()) {
        palette = exactColours(image);
        if (palette.isEmpty())
            palette = MedianCutPalette(image, kMaxPaletteSize);
    }
    return MapToPalette(image, palette, dither);
}

} // namespace px
