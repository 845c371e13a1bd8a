// Our picture codecs against ImageMagick's convert and libjpeg-turbo's cjpeg/djpeg.
//
// One run generates two photo-like pictures (1920x1080 and 4000x3000: smooth gradients, noise
// and flat window-like areas, the same bytes every run) and, for BMP (24 bit), PNG, JPEG
// (quality 90), GIF (default options) and TIFF (24 bit), times
//   - our encode (WritePictureFile, into a file) and decode (ReadPictureFile, from that file),
//     in this process: the median of several runs after one untimed warm-up;
//   - convert encoding the same picture from a PPM file and decoding our file to PPM on
//     /dev/null, and cjpeg/djpeg doing the same for JPEG: whole processes, the median of five
//     runs after one untimed warm-up.
// The tools' times include starting the process, so their start-up alone (`-version`) is
// measured too and a second ratio takes it off. Every decode is checked against the picture
// (exact for the lossless formats, a bounded mean error for JPEG and GIF) and every tool
// must exit with 0, so a fast failure cannot pass for a fast codec.
//
// Usage: codec_compare [--convert PATH] [--cjpeg PATH] [--djpeg PATH]
// The tools are looked up in PATH unless given. Exit status 1 when a check failed.
#include "files/PictureFiles.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kToolRuns = 5;
// Time given to the timed runs of one of our jobs; at least 3 and at most 15 runs.
constexpr double kOurBudgetMs = 1200.0;

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2.0;
}

// A deterministic picture that compresses like a screenshot with a photo in it: gradients of
// several frequencies with sensor-like noise, and over them flat bars, a side panel with
// buttons and a plain window with a title bar.
QImage makePicture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    uint32_t state = 0x2545F491u ^ uint32_t(width * 7919 + height);
    auto next = [&state] {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    };
    auto clampByte = [](double v) { return int(std::clamp(v, 0.0, 255.0)); };
    for (int y = 0; y < height; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const double fy = double(y) / height;
        for (int x = 0; x < width; ++x) {
            const double fx = double(x) / width;
            const uint32_t n = next();
            const int nr = int(n & 15u) - 8, ng = int((n >> 4) & 15u) - 8, nb = int((n >> 8) & 15u) - 8;
            const double r = 128 + 80 * std::sin(6.0 * fx + 2.0 * fy) + 30 * std::sin(40.0 * fx * fy);
            const double g = 120 + 70 * std::sin(4.0 * fy - 3.0 * fx + 1.0) + 20 * fy;
            const double b = 110 + 90 * std::cos(5.0 * fx * fy + 2.0 * fx);
            line[x] = qRgb(clampByte(r + nr), clampByte(g + ng), clampByte(b + nb));
        }
    }

    auto fill = [&image](int x0, int y0, int w, int h, QRgb colour) {
        const int x1 = std::min(image.width(), x0 + w), y1 = std::min(image.height(), y0 + h);
        for (int y = std::max(0, y0); y < y1; ++y) {
            QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            std::fill(line + std::max(0, x0), line + x1, colour);
        }
    };
    const int bar = height / 28;
    fill(0, 0, width, bar, qRgb(240, 240, 240));                      // menu bar
    fill(0, height - bar, width, bar, qRgb(48, 52, 60));              // task bar
    const int panelWidth = width / 6;
    fill(0, bar, panelWidth, height - 2 * bar, qRgb(232, 232, 236));  // side panel
    for (int i = 0; i < 8; ++i)                                       // its buttons
        fill(panelWidth / 10, bar + height / 40 + i * (height / 14), panelWidth * 8 / 10, height / 20,
             qRgb(208, 212, 220));
    const int wx = width / 2, wy = height / 2, ww = width * 2 / 5, wh = height * 2 / 5;
    fill(wx - 1, wy - 1, ww + 2, wh + 2, qRgb(128, 128, 128));        // a window: border,
    fill(wx, wy, ww, wh, qRgb(255, 255, 255));                        // client area,
    fill(wx, wy, ww, bar, qRgb(51, 102, 204));                        // title bar
    return image;
}

bool writePpm(const QImage& image, const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray data = QByteArray("P6\n") + QByteArray::number(image.width()) + ' '
                      + QByteArray::number(image.height()) + "\n255\n";
    const qsizetype header = data.size();
    data.resize(header + qsizetype(image.width()) * image.height() * 3);
    char* out = data.data() + header;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            *out++ = char(qRed(line[x]));
            *out++ = char(qGreen(line[x]));
            *out++ = char(qBlue(line[x]));
        }
    }
    return file.write(data) == data.size();
}

// Mean and largest per-channel difference of two pictures' colours; -1 when the sizes differ.
double meanError(const QImage& original, const QImage& decoded, int* maxError)
{
    *maxError = -1;
    if (decoded.size() != original.size())
        return -1.0;
    const QImage a = original.convertToFormat(QImage::Format_RGB32);
    const QImage b = decoded.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    int worst = 0;
    for (int y = 0; y < a.height(); ++y) {
        const QRgb* la = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const QRgb* lb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            const int d[3] = {std::abs(qRed(la[x]) - qRed(lb[x])), std::abs(qGreen(la[x]) - qGreen(lb[x])),
                              std::abs(qBlue(la[x]) - qBlue(lb[x]))};
            for (int c : d) {
                sum += c;
                worst = std::max(worst, c);
            }
        }
    }
    *maxError = worst;
    return sum / (3.0 * a.width() * a.height());
}

// Runs a program and waits for it; its standard output (and error, when quiet) goes to
// /dev/null. Returns the exit status, or -1 when it could not run or was killed.
int runProcess(const std::vector<std::string>& args, bool stdoutToNull, bool quiet)
{
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (stdoutToNull || quiet)
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    if (quiet)
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct Timing {
    double ms = 0;
    int runs = 0;
    bool ok = false;
    bool measured = false;  // false: nothing of this kind was run (printed as "-")
};

// One untimed run, which also sets how many timed runs fit the budget, then the median.
// afterRun (untimed) lets go of what a run produced, so that freeing one run's result is
// not counted in the next.
Timing timeInProcess(const std::function<bool()>& job, const std::function<void()>& afterRun = [] {})
{
    Timing t;
    t.measured = true;
    const Clock::time_point warm = Clock::now();
    t.ok = job();
    const double first = msSince(warm);
    afterRun();
    if (!t.ok)
        return t;
    t.runs = std::clamp(int(kOurBudgetMs / std::max(first, 0.01)), 3, 15);
    std::vector<double> times;
    for (int i = 0; i < t.runs; ++i) {
        const Clock::time_point start = Clock::now();
        t.ok = job() && t.ok;
        times.push_back(msSince(start));
        afterRun();
    }
    t.ms = median(times);
    return t;
}

// A whole process, one untimed run and kToolRuns timed ones; every run must exit with 0.
Timing timeProcess(const std::vector<std::string>& args, bool stdoutToNull, bool quiet = false)
{
    Timing t;
    t.measured = true;
    t.ok = runProcess(args, stdoutToNull, quiet) == 0;
    if (!t.ok) {
        std::fprintf(stderr, "failed: %s ...\n", args.front().c_str());
        return t;
    }
    std::vector<double> times;
    for (int i = 0; i < kToolRuns; ++i) {
        const Clock::time_point start = Clock::now();
        t.ok = runProcess(args, stdoutToNull, quiet) == 0 && t.ok;
        times.push_back(msSince(start));
    }
    t.runs = kToolRuns;
    t.ms = median(times);
    return t;
}

struct Format {
    const char* name;
    const char* extension;
    int fileTypeIndex;
    // convert's options before the output file, and the output's format prefix, chosen to
    // make the same kind of file as ours.
    std::vector<std::string> convertOptions;
    const char* convertPrefix;
    double allowedMeanError;  // of our decode against the picture; 0: must be exact
};

// Ours: BMP 24 bit, v3 header; PNG zlib level 6 with the Sub filter; JPEG quality 90,
// baseline, 4:2:0, accurate DCT, standard Huffman tables; GIF reduced to at most 256 colours
// by median cut, nearest colour, LZW; TIFF 24 bit uncompressed.
std::vector<Format> formats()
{
    return {
        {"BMP", "bmp", 0, {"-type", "TrueColor"}, "BMP3:", 0.0},
        {"PNG", "png", 8, {"-quality", "61"}, "", 0.0},
        {"JPEG", "jpg", 1,
         {"-quality", "90", "-sampling-factor", "2x2", "-define", "jpeg:optimize-coding=false",
          "-define", "jpeg:dct-method=islow"},
         "", 4.0},
        {"GIF", "gif", 2, {"+dither", "-colors", "256"}, "", 16.0},
        {"TIFF", "tif", 7, {"-type", "TrueColor", "-compress", "None"}, "", 0.0},
    };
}

struct Row {
    QString picture;
    QString format;
    QString job;
    Timing ours, convert, libjpeg;
    qint64 ourBytes = -1, convertBytes = -1, libjpegBytes = -1;
};

std::string toolPath(const char* name, int argc, char** argv)
{
    const std::string flag = std::string("--") + name;
    for (int i = 1; i + 1 < argc; ++i)
        if (flag == argv[i])
            return argv[i + 1];
    return QStandardPaths::findExecutable(QString::fromLatin1(name)).toStdString();
}

QString msText(const Timing& t)
{
    if (!t.measured)
        return QStringLiteral("-");
    if (!t.ok)
        return QStringLiteral("FAILED");
    return QString::number(t.ms, 'f', 1);
}

QString ratioText(const Timing& ours, const Timing& tool, double toolStartMs)
{
    if (!ours.measured || !tool.measured || !ours.ok || !tool.ok)
        return QStringLiteral("-");
    const double net = tool.ms - toolStartMs;
    const QString plain = QString::number(ours.ms / tool.ms, 'f', 2);
    return net > 0 ? plain + QStringLiteral(" / ") + QString::number(ours.ms / net, 'f', 2) : plain;
}

QString bytesText(qint64 bytes)
{
    return bytes < 0 ? QStringLiteral("-") : QString::number(bytes);
}

} // namespace

int main(int argc, char** argv)
{
    const Clock::time_point begin = Clock::now();
    const std::string convert = toolPath("convert", argc, argv);
    const std::string cjpeg = toolPath("cjpeg", argc, argv);
    const std::string djpeg = toolPath("djpeg", argc, argv);
    if (convert.empty() || cjpeg.empty() || djpeg.empty()) {
        std::fprintf(stderr, "codec_compare needs convert (ImageMagick), cjpeg and djpeg (libjpeg-turbo)\n");
        return 2;
    }
    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "no temporary folder: %s\n", qPrintable(dir.errorString()));
        return 2;
    }
    auto at = [&dir](const QString& name) { return dir.filePath(name).toStdString(); };

    // The tools' start-up: a run that does no picture work.
    const Timing convertStart = timeProcess({convert, "-version"}, true, true);
    const Timing cjpegStart = timeProcess({cjpeg, "-version"}, true, true);
    const Timing djpegStart = timeProcess({djpeg, "-version"}, true, true);

    if (!convertStart.ok || !cjpegStart.ok || !djpegStart.ok) {
        std::fprintf(stderr, "a tool does not run: %s -version, %s -version or %s -version failed\n",
                     convert.c_str(), cjpeg.c_str(), djpeg.c_str());
        return 2;
    }
    bool allOk = true;
    std::vector<Row> rows;
    std::vector<std::pair<QString, double>> freshPictureMs;
    const QSize sizes[] = {{1920, 1080}, {4000, 3000}};
    for (const QSize& size : sizes) {
        const QString label = QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
        const QImage picture = makePicture(size.width(), size.height());
        // What holding a decoded picture of this size costs by itself: a new RGB32 picture,
        // filled. Our decoders pay this; djpeg streams rows and never holds the picture.
        QImage fresh;
        const Timing freshPicture = timeInProcess(
            [&] {
                fresh = QImage(size, QImage::Format_RGB32);
                fresh.fill(0xff808080u);
                return !fresh.isNull();
            },
            [&] { fresh = QImage(); });
        allOk = allOk && freshPicture.ok;
        freshPictureMs.push_back({label, freshPicture.ms});
        const QString ppm = dir.filePath(label + QStringLiteral(".ppm"));
        if (!writePpm(picture, ppm)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(ppm));
            return 2;
        }
        for (const Format& format : formats()) {
            const QString ext = QString::fromLatin1(format.extension);
            const QString ours = dir.filePath(label + QStringLiteral("-ours.") + ext);
            const std::string theirs = at(label + QStringLiteral("-convert.") + ext);
            const bool isJpeg = format.fileTypeIndex == 1;

            Row encode;
            encode.picture = label;
            encode.format = QString::fromLatin1(format.name);
            encode.job = QStringLiteral("encode");
            px::PictureWriteSettings settings;  // the defaults: BMP 24 bit, JPEG best quality, GIF as above
            encode.ours = timeInProcess([&] {
                return px::WritePictureFile(format.fileTypeIndex, picture, 24, settings, px::WriteOccasion::SaveAs,
                                            ours)
                    .ok;
            });
            encode.ourBytes = QFileInfo(ours).size();
            std::vector<std::string> args{convert, ppm.toStdString()};
            args.insert(args.end(), format.convertOptions.begin(), format.convertOptions.end());
            args.push_back(format.convertPrefix + theirs);
            encode.convert = timeProcess(args, false);
            encode.convertBytes = QFileInfo(QString::fromStdString(theirs)).size();
            if (isJpeg) {
                const std::string out = at(label + QStringLiteral("-cjpeg.jpg"));
                encode.libjpeg = timeProcess({cjpeg, "-quality", "90", "-outfile", out, ppm.toStdString()}, false);
                encode.libjpegBytes = QFileInfo(QString::fromStdString(out)).size();
            }

            // Every decoder reads the same bytes: the file we wrote.
            Row decode = encode;
            decode.job = QStringLiteral("decode");
            decode.ours = decode.convert = decode.libjpeg = Timing{};
            decode.ourBytes = decode.convertBytes = decode.libjpegBytes = -1;
            px::PictureReadResult read;
            decode.ours = timeInProcess(
                [&] {
                    read = px::ReadPictureFile(ours);
                    return read.error.isEmpty() && !read.image.isNull();
                },
                [&] { read = px::PictureReadResult{}; });
            const px::PictureReadResult checked = px::ReadPictureFile(ours);
            const QImage decoded = checked.image;
            decode.convert = timeProcess({convert, ours.toStdString(), "ppm:-"}, true);
            if (isJpeg)
                decode.libjpeg = timeProcess({djpeg, "-ppm", ours.toStdString()}, true);

            int worst = -1;
            const double mean = meanError(picture, decoded, &worst);
            const bool faithful = mean >= 0 && (format.allowedMeanError > 0 ? mean <= format.allowedMeanError
                                                                             : worst == 0);
            if (!faithful) {
                std::fprintf(stderr, "%s %s: our decode differs from the picture (mean %.2f, max %d)\n",
                             qPrintable(label), format.name, mean, worst);
                decode.ours.ok = false;
            } else if (format.allowedMeanError > 0) {
                std::fprintf(stderr, "%s %s: our round trip, mean error %.2f, max %d (per channel)\n",
                             qPrintable(label), format.name, mean, worst);
            }
            for (const Row* row : {&encode, &decode})
                for (const Timing* t : {&row->ours, &row->convert, &row->libjpeg})
                    allOk = allOk && (!t->measured || t->ok);
            rows.push_back(encode);
            rows.push_back(decode);
        }
    }

    std::printf("\nPicture codecs: ours (in-process, median of 3-15 runs after a warm-up) against\n"
                "convert = %s and cjpeg/djpeg = %s, %s (whole processes, median of %d after a warm-up).\n"
                "Ratios are ours / tool (below 1: ours is faster); after the slash the tool's start-up is\n"
                "taken off. Our encode includes writing the file; decodes read our file, and freeing a decoded\n"
                "picture is not timed.\n"
                "Tool start-up (-version): convert %.1f ms, cjpeg %.1f ms, djpeg %.1f ms. %u cores; convert\n"
                "uses its default threads, ours runs on one.\n\n",
                convert.c_str(), cjpeg.c_str(), djpeg.c_str(), kToolRuns, convertStart.ms, cjpegStart.ms,
                djpegStart.ms, std::thread::hardware_concurrency());
    std::printf("| picture | format | job | ours ms (runs) | convert ms | ours/convert (net) | cjpeg/djpeg ms "
                "| ours/cjpeg,djpeg (net) | ours bytes | convert bytes | cjpeg bytes |\n"
                "|---|---|---|---:|---:|---:|---:|---:|---:|---:|---:|\n");
    for (const Row& row : rows) {
        const double libjpegStart = row.job == QLatin1String("encode") ? cjpegStart.ms : djpegStart.ms;
        const QString oursText = msText(row.ours) + (row.ours.ok ? QStringLiteral(" (%1)").arg(row.ours.runs)
                                                                 : QString());
        std::printf("| %s | %s | %s | %s | %s | %s | %s | %s | %s | %s | %s |\n", qPrintable(row.picture),
                    qPrintable(row.format), qPrintable(row.job), qPrintable(oursText), qPrintable(msText(row.convert)),
                    qPrintable(ratioText(row.ours, row.convert, convertStart.ms)), qPrintable(msText(row.libjpeg)),
                    qPrintable(ratioText(row.ours, row.libjpeg, libjpegStart)), qPrintable(bytesText(row.ourBytes)),
                    qPrintable(bytesText(row.convertBytes)), qPrintable(bytesText(row.libjpegBytes)));
    }
    std::printf("\nA new RGB32 picture, allocated and filled (what every in-memory decode pays):");
    for (const auto& [label, ms] : freshPictureMs)
        std::printf(" %s %.1f ms", qPrintable(label), ms);
    std::printf(".\n");
    std::printf("\nWhole run: %.1f s.%s\n", msSince(begin) / 1000.0,
                allOk ? "" : " Some jobs FAILED (see above); their times are not comparable.");
    return allOk ? 0 : 1;
}
