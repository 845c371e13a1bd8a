// File-to-file conversion: the pair routines, target naming, what each routine makes of the
// picture, and what a failure leaves behind.
#include "BitmapTestSupport.h"
#include "files/BmpFile.h"
#include "files/ConversionTable.h"
#include "files/FileTypes.h"
#include "files/GraphicConvert.h"
#include "files/MetafileWriter.h"
#include "files/PictureFiles.h"
#include "files/TiffReader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <cstdlib>

using namespace px;
using px::bmptest::readFile;

namespace {

constexpr QRgb kRed = 0xFFE00000, kGreen = 0xFF00C000, kBlue = 0xFF0000E0, kYellow = 0xFFF0F000;
constexpr QRgb kWhite = 0xFFFFFFFF;

// Four flat quadrants, so that lossy formats still give clear colours at the centres. With
// transparentCorner the bottom right quadrant is fully transparent (an icon's background).
QImage quadrants(bool transparentCorner = false)
{
    QImage image(40, 30, QImage::Format_ARGB32);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            image.setPixel(x, y, y < 15 ? (x < 20 ? kRed : kGreen) : (x < 20 ? kBlue : (transparentCorner ? 0u : kYellow)));
    return transparentCorner ? image : image.convertToFormat(QImage::Format_RGB32);
}

bool near(QRgb a, QRgb b, int tolerance)
{
    return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance
        && std::abs(qBlue(a) - qBlue(b)) <= tolerance && std::abs(qAlpha(a) - qAlpha(b)) <= tolerance;
}

// The centres of the four quadrants.
void expectQuadrants(const QImage& image, QRgb bottomRight, int tolerance, const std::string& what)
{
    ASSERT_EQ(image.size(), QSize(40, 30)) << what;
    const struct { int x, y; QRgb colour; } probes[] = {
        {10, 7, kRed}, {30, 7, kGreen}, {10, 22, kBlue}, {30, 22, bottomRight}};
    for (const auto& p : probes)
        EXPECT_TRUE(near(image.pixel(p.x, p.y), p.colour, tolerance))
            << what << " at " << p.x << "," << p.y << ": " << std::hex << image.pixel(p.x, p.y) << " != " << p.colour;
}

void writeSource(const QString& path, const QImage& image)
{
    const int writerIndex = FileTypeIndexForExtension(QLatin1Char('.') + QFileInfo(path).suffix());
    const PictureWriteResult r =
        WritePictureFile(writerIndex, image, 0, PictureWriteSettings{}, WriteOccasion::SaveAs, path);
    ASSERT_TRUE(r.ok) << path.toStdString() << ": " << r.error.toStdString();
}

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// A private TMPDIR for the whole test, so that any temporary file a routine left in the
// system's temporary folder shows up.
class GraphicConvertTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid() && work.isValid());
        oldTmp = qgetenv("TMPDIR");
        qputenv("TMPDIR", tmp.path().toUtf8());
        ASSERT_TRUE(QDir(work.path()).mkpath("in") && QDir(work.path()).mkpath("out"));
        in = work.path() + "/in/";
        out = work.path() + "/out";
    }
    void TearDown() override
    {
        qputenv("TMPDIR", oldTmp);
        EXPECT_EQ(entries(tmp.path()), QStringList()) << "files left in the temporary folder";
    }
    QTemporaryDir tmp;
    QTemporaryDir work;
    QByteArray oldTmp;
    QString in, out;
};

struct PairCase {
    const char* source;
    const char* sourceExt;
    const char* targetExt;
    const char* target;
    QRgb bottomRight;  // what the transparent corner of an icon source becomes
};

void runPairTable(const QString& in, const QString& out, std::initializer_list<PairCase> cases)
{
    QStringList expectedTargets;
    for (const PairCase& c : cases) {
        const QString source = in + c.source;
        const bool iconSource = QString(c.sourceExt).toLower() == ".ico";
        writeSource(source, quadrants(iconSource));
        const GraphicConversion r = ConvertGraphicFile(source, out, c.sourceExt, c.targetExt);
        const std::string what = std::string(c.source) + " -> " + c.targetExt;
        ASSERT_EQ(r.status, GraphicConversion::Status::Converted) << what << ": " << r.error.toStdString();
        EXPECT_EQ(r.targetPath, out + "/" + c.target) << what;
        expectedTargets << c.target;
        const PictureReadResult back = ReadPictureFile(r.targetPath);
        ASSERT_TRUE(back.error.isEmpty()) << what << ": " << back.error.toStdString();
        const bool lossy = QString(c.targetExt).toLower() == ".jpg" || QString(c.sourceExt).toLower() == ".jpg"
            || QString(c.sourceExt).toLower() == ".jpeg";
        expectQuadrants(back.image, c.bottomRight, lossy ? 24 : 0, what);
    }
    expectedTargets.sort();
    EXPECT_EQ(entries(out), expectedTargets) << "only the targets are written";
}

} // namespace

TEST_F(GraphicConvertTest, PairRoutinesWriteTheTargetNamedByTheTargetExtension)
{
    runPairTable(in, out, {
        {"a.JPG", ".JPG", ".BMP", "a.bmp", kYellow},
        {"photo.jpeg", ".jpeg", ".bmp", "photo.bmp", kYellow},
        {"b.bmp", ".bmp", ".jpg", "b.jpg", kYellow},
        {"c.gif", ".gif", ".bmp", "c.bmp", kYellow},
        {"d.bmp", ".bmp", ".gif", "d.gif", kYellow},
        {"e.bmp", ".bmp", ".tif", "e.tif", kYellow},
        {"f.bmp", ".bmp", ".png", "f.png", kYellow},
        {"g.png", ".png", ".bmp", "g.bmp", kYellow},
        {"h.png", ".png", ".jpg", "h.jpg", kYellow},
        {"i.jpg", ".jpg", ".png", "i.png", kYellow},
        {"j.jpg", ".jpg", ".ico", "j.ico", kYellow},
        {"n.png", ".png", ".ico", "n.ico", kYellow},
        {"o.pxg", ".pxg", ".jpg", "o.jpg", kYellow},
        {"p.jpg", ".jpg", ".pxg", "p.pxg", kYellow},
        {"q.pxg", ".pxg", ".png", "q.png", kYellow},
        // An icon becomes an opaque bitmap: its transparent parts white, in every target.
        {"k.ico", ".ico", ".jpg", "k.jpg", kWhite},
        {"l.ico", ".ico", ".bmp", "l.bmp", kWhite},
        {"m.ico", ".ico", ".png", "m.png", kWhite},
        {"r.ico", ".ico", ".pxg", "r.pxg", kWhite},
    });
}

TEST_F(GraphicConvertTest, MetafilePairsDrawThePictureAtItsOwnSize)
{
    runPairTable(in, out, {
        {"a.bmp", ".bmp", ".wmf", "a.wmf", kYellow},
        {"b.bmp", ".bmp", ".emf", "b.emf", kYellow},
        {"c.png", ".png", ".emf", "c.emf", kYellow},
        {"d.jpg", ".jpg", ".wmf", "d.wmf", kYellow},
        {"e.ico", ".ico", ".emf", "e.emf", kWhite},
        {"f.wmf", ".wmf", ".emf", "f.emf", kYellow},
        {"g.emf", ".emf", ".wmf", "g.wmf", kYellow},
        {"h.emf", ".emf", ".ico", "h.ico", kYellow},
        {"i.wmf", ".wmf", ".jpg", "i.jpg", kYellow},
        {"j.wmf", ".wmf", ".pxg", "j.pxg", kYellow},
    });
    // The targets are the formats their names say: placeable WMF, enhanced without description.
    const QByteArray wmf = readFile(out + "/a.wmf");
    ASSERT_GE(wmf.size(), 22);
    EXPECT_EQ(qFromLittleEndian<quint32>(wmf.constData()), 0x9AC6CDD7u);
    for (const char* name : {"/b.emf", "/e.emf", "/f.emf"}) {
        const QByteArray emf = readFile(out + name);
        ASSERT_GE(emf.size(), 88) << name;
        EXPECT_EQ(qFromLittleEndian<quint32>(emf.constData()), 1u) << name;
        EXPECT_EQ(emf.mid(40, 4), QByteArray(" EMF")) << name;
        EXPECT_EQ(qFromLittleEndian<quint32>(emf.constData() + 60), 0u) << name << ": no description";
    }
}

TEST_F(GraphicConvertTest, PairsWithoutRoutineAreRefusedAndWriteNothing)
{
    writeSource(in + "photo.jpeg", quadrants());
    writeSource(in + "a.gif", quadrants());
    writeSource(in + "a.png", quadrants());
    const struct { const char* source; const char* sourceExt; const char* targetExt; const char* target; } cases[] = {
        {"photo.jpeg", ".jpeg", ".ico", "photo.ico"},
        {"photo.jpeg", ".jpeg", ".png", "photo.png"},
        {"a.gif", ".gif", ".png", "a.png"},
        {"a.gif", ".gif", ".jpg", "a.jpg"},
        {"a.png", ".png", ".gif", "a.gif"},
        {"a.png", ".png", ".png", "a.png"},
    };
    for (const auto& c : cases) {
        const GraphicConversion r = ConvertGraphicFile(in + c.source, out, c.sourceExt, c.targetExt);
        EXPECT_EQ(r.status, GraphicConversion::Status::NoRoutine) << c.source << " -> " << c.targetExt;
        EXPECT_EQ(r.error, QString::fromUtf8(kNoConversionRoutineMessage));
        EXPECT_EQ(r.targetPath, out + "/" + c.target);
    }
    EXPECT_EQ(entries(out), QStringList());
}

TEST_F(GraphicConvertTest, BitmapCopiesKeepTheBitDepthAndTiffTakesIt)
{
    const struct { BmpPixelFormat format; int fileBits; } cases[] = {
        {BmpPixelFormat::Bit1, 1}, {BmpPixelFormat::Bit4, 4}, {BmpPixelFormat::Bit8, 8},
        {BmpPixelFormat::Bit16, 16}, {BmpPixelFormat::Bit24, 24}, {BmpPixelFormat::Bit32, 32},
    };
    for (const auto& c : cases) {
        const QString stem = QStringLiteral("d%1").arg(c.fileBits);
        const QImage picture = ConvertToBmpPixelFormat(quadrants(), c.format);
        QFile file(in + stem + ".bmp");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && WriteBmp(picture, c.format, file));
        file.close();

        for (const char* targetExt : {".pxg", ".tif"}) {
            const GraphicConversion r = ConvertGraphicFile(file.fileName(), out, ".bmp", targetExt);
            ASSERT_EQ(r.status, GraphicConversion::Status::Converted) << r.error.toStdString();
            const QByteArray bytes = readFile(r.targetPath);
            if (QString(targetExt) == ".pxg") {
                ASSERT_GE(bytes.size(), 54);
                EXPECT_EQ(qFromLittleEndian<quint16>(bytes.constData() + 28), c.fileBits) << "pxg copy";
                const BmpReadResult back = ReadBmp(bytes);
                EXPECT_EQ(back.format, c.format);
                EXPECT_EQ(back.image.convertToFormat(QImage::Format_RGB32), picture.convertToFormat(QImage::Format_RGB32));

                // And back from .pxg to .bmp, still in the same depth.
                const GraphicConversion again = ConvertGraphicFile(r.targetPath, in + "..", ".pxg", ".bmp");
                ASSERT_EQ(again.status, GraphicConversion::Status::Converted) << again.error.toStdString();
                EXPECT_EQ(qFromLittleEndian<quint16>(readFile(again.targetPath).constData() + 28), c.fileBits);
            } else {
                const TiffReadResult back = ReadTiff(bytes);
                ASSERT_TRUE(back.error.isEmpty()) << back.error.toStdString();
                // 16 bits have no TIFF layout of their own and 32 bits are stored as 24.
                const int tiffBits = c.fileBits >= 16 ? 24 : c.fileBits;
                EXPECT_EQ(back.bitsPerPixel, tiffBits) << c.fileBits;
                // Two and sixteen colours change the picture's colours; deeper ones keep them.
                if (c.fileBits >= 8)
                    expectQuadrants(back.image, kYellow, 8, std::to_string(c.fileBits));
                else
                    EXPECT_EQ(back.image.size(), QSize(40, 30));
            }
        }
    }
}

TEST_F(GraphicConvertTest, AFailingRoutineLeavesTheExistingTargetAndNoOtherFile)
{
    const QByteArray old("the old target");
    QFile existing(out + "/z.bmp");
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly) && existing.write(old) == old.size());
    existing.close();
    QFile broken(in + "z.jpg");
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly) && broken.write("\xFF\xD8\xFF not really a JPEG") > 0);
    broken.close();

    const GraphicConversion unreadable = ConvertGraphicFile(in + "z.jpg", out, ".jpg", ".bmp");
    EXPECT_EQ(unreadable.status, GraphicConversion::Status::Failed);
    EXPECT_TRUE(unreadable.error.startsWith("cannot read")) << unreadable.error.toStdString();
    const GraphicConversion missing = ConvertGraphicFile(in + "nothing.jpg", out, ".jpg", ".bmp");
    EXPECT_EQ(missing.status, GraphicConversion::Status::Failed);
    EXPECT_EQ(readFile(out + "/z.bmp"), old);
    EXPECT_EQ(entries(out), QStringList{"z.bmp"});

    writeSource(in + "y.bmp", quadrants());
    const GraphicConversion unwritable = ConvertGraphicFile(in + "y.bmp", out + "/no/such/folder", ".bmp", ".png");
    EXPECT_EQ(unwritable.status, GraphicConversion::Status::Failed);
    EXPECT_TRUE(unwritable.error.startsWith("cannot write")) << unwritable.error.toStdString();
}

TEST_F(GraphicConvertTest, ConvertingToAPathUsesThePairRoutineElseAnyReaderAndWriter)
{
    writeSource(in + "a.gif", quadrants());
    writeSource(in + "a.jpeg", quadrants());
    writeSource(in + "icon.ico", quadrants(true));
    writeSource(in + "alpha.png", quadrants(true));
    const struct {
        const char* source;
        const char* target;
        GraphicConversion::Status status;
        QRgb bottomRight;
        int tolerance;
    } cases[] = {
        // No routine for these pairs; the readers and writers do them.
        {"a.gif", "x.png", GraphicConversion::Status::Converted, kYellow, 0},
        {"a.jpeg", "x.ico", GraphicConversion::Status::Converted, kYellow, 24},
        {"a.gif", "x.tiff", GraphicConversion::Status::Converted, kYellow, 0},
        // A copy keeps transparency where the target holds it; an icon goes on white elsewhere.
        {"alpha.png", "x.PNG", GraphicConversion::Status::Converted, 0u, 0},
        {"icon.ico", "x.gif", GraphicConversion::Status::Converted, kWhite, 0},
        // Pairs with a routine run it: its icons are opaque.
        {"alpha.png", "y.ico", GraphicConversion::Status::Converted, kBlue, 255},
        {"icon.ico", "y.png", GraphicConversion::Status::Converted, kWhite, 0},
        // Types we neither read nor write.
        {"a.gif", "x.xyz", GraphicConversion::Status::NoRoutine, 0, 0},
        {"a.gif", "noextension", GraphicConversion::Status::NoRoutine, 0, 0},
        {"notes.txt", "z.png", GraphicConversion::Status::NoRoutine, 0, 0},
    };
    for (const auto& c : cases) {
        const QString target = out + "/" + c.target;
        const GraphicConversion r = ConvertPictureFile(in + c.source, target);
        const std::string what = std::string(c.source) + " -> " + c.target;
        ASSERT_EQ(r.status, c.status) << what << ": " << r.error.toStdString();
        EXPECT_EQ(r.targetPath, target);
        if (c.status != GraphicConversion::Status::Converted) {
            EXPECT_FALSE(r.error.isEmpty());
            EXPECT_FALSE(QFileInfo::exists(target)) << what;
            continue;
        }
        const PictureReadResult back = ReadPictureFile(target);
        ASSERT_TRUE(back.error.isEmpty()) << what << ": " << back.error.toStdString();
        if (c.tolerance == 255) {  // only opacity is checked
            EXPECT_EQ(qAlpha(back.image.pixel(30, 22)), 255) << what;
            continue;
        }
        expectQuadrants(back.image, c.bottomRight, c.tolerance, what);
    }
}

TEST_F(GraphicConvertTest, ASourceConvertedOntoItselfIsReplacedWhole)
{
    writeSource(in + "same.bmp", quadrants());
    const GraphicConversion r = ConvertPictureFile(in + "same.bmp", in + "same.bmp");
    ASSERT_EQ(r.status, GraphicConversion::Status::Converted) << r.error.toStdString();
    expectQuadrants(ReadPictureFile(in + "same.bmp").image, kYellow, 0, "same.bmp");
    EXPECT_EQ(entries(in), QStringList{"same.bmp"});
}
