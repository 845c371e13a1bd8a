// Writing by file-type index and reading by extension, through the one entry point the
// program uses for both.
#include "BitmapTestSupport.h"
#include "files/PictureFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>


using namespace px;
using px::bmptest::meanDifference;

namespace {

QImage sample()
{
    QImage img(33, 21, QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            img.setPixel(x, y, qRgb(60 + x / 8 * 30, 80 + y / 7 * 25, 140));  // few, close colours
    return img;
}

TEST(PictureFiles, KindFollowsTheExtensionInAnyCase)
{
    const struct {
        const char* extension;
        PictureFileKind kind;
    } table[] = {
        {".bmp", PictureFileKind::Bmp}, {".DIB", PictureFileKind::Bmp},  {".jpg", PictureFileKind::Jpeg},
        {".Jpeg", PictureFileKind::Jpeg}, {".gif", PictureFileKind::Gif}, {".wmf", PictureFileKind::Wmf},
        {".EMF", PictureFileKind::Emf}, {".ico", PictureFileKind::Ico},  {".pxg", PictureFileKind::Pxg},
        {".tif", PictureFileKind::Tif}, {".TIFF", PictureFileKind::Tif}, {".png", PictureFileKind::Png},
        {".pcx", PictureFileKind::Unknown}, {"png", PictureFileKind::Unknown}, {"", PictureFileKind::Unknown},
    };
    for (const auto& row : table)
        EXPECT_EQ(PictureFileKindForExtension(QString::fromLatin1(row.extension)), row.kind) << row.extension;
}

TEST(PictureFiles, EveryWriterRoundTripsThroughItsReader)
{
    QTemporaryDir dir;
    const struct {
        int index;
        const char* name;
        PictureFileKind kind;
        double tolerance;  // mean difference; JPEG is lossy
    } table[] = {
        {0, "a.bmp", PictureFileKind::Bmp, 0}, {1, "a.jpg", PictureFileKind::Jpeg, 3},
        {2, "a.gif", PictureFileKind::Gif, 0}, {5, "a.ico", PictureFileKind::Ico, 0},
        {6, "a.pxg", PictureFileKind::Pxg, 0}, {7, "a.tif", PictureFileKind::Tif, 0},
        {8, "a.png", PictureFileKind::Png, 0},
    };
    for (const auto& row : table) {
        const QString path = dir.filePath(QString::fromLatin1(row.name));
        const PictureWriteResult w = WritePictureFile(row.index, sample(), 24, {}, WriteOccasion::SaveAs, path);
        ASSERT_TRUE(w.ok) << row.name << ": " << w.error.toStdString();
        const PictureReadResult r = ReadPictureFile(path);
        ASSERT_TRUE(r.error.isEmpty()) << row.name << ": " << r.error.toStdString();
        EXPECT_EQ(r.kind, row.kind) << row.name;
        ASSERT_EQ(r.image.size(), sample().size()) << row.name;
        EXPECT_LE(meanDifference(r.image.convertToFormat(QImage::Format_RGB32), sample()), row.tolerance) << row.name;
    }
    // Only the written files are left: no temporary files beside them.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), int(std::size(table)));
}

TEST(PictureFiles, BmpOptionsChangeThePictureItselfAndFailuresLeaveNothing)
{
    QTemporaryDir dir;
    PictureWriteSettings settings;
    settings.bmpPixForm = 1;  // 1 bit
    const PictureWriteResult w = WritePictureFile(0, sample(), 24, settings, WriteOccasion::SaveAs,
                                                  dir.filePath(QStringLiteral("mono.bmp")));
    ASSERT_TRUE(w.ok) << w.error.toStdString();
    EXPECT_EQ(w.declaredBits, 1);
    EXPECT_FALSE(w.keptImage.isNull());
    EXPECT_EQ(ReadPictureFile(dir.filePath(QStringLiteral("mono.bmp"))).bitsPerPixel, 1);

    for (int index : {9, -1}) {  // pcx and unknown types have no writer
        const QString path = dir.filePath(QStringLiteral("x%1.out").arg(index + 1));
        const PictureWriteResult r = WritePictureFile(index, sample(), 24, {}, WriteOccasion::SaveAs, path);
        EXPECT_FALSE(r.ok) << index;
        EXPECT_FALSE(r.error.isEmpty()) << index;
        EXPECT_FALSE(QFile::exists(path)) << index;
    }
    EXPECT_FALSE(ReadPictureFile(dir.filePath(QStringLiteral("missing.png"))).error.isEmpty());
}

TEST(PictureFiles, MetafilesCarryTheirDescriptionAndAreReadByContent)
{
    QTemporaryDir dir;
    struct Row { int type; WriteOccasion occasion; const char* description; PictureFileKind kind; };
    const Row rows[] = {
        {3, WriteOccasion::SaveAs, nullptr, PictureFileKind::Wmf},
        {4, WriteOccasion::SaveAs, "Pixmora EMF-Grafik", PictureFileKind::Emf},
        {4, WriteOccasion::AutoSave, "Pixmora 5.0 Grafik", PictureFileKind::Emf},
    };
    for (const Row& row : rows) {
        // Named .wmf whatever it holds: the reader goes by the content.
        const QString path = dir.filePath(QStringLiteral("m%1%2.wmf").arg(row.type).arg(int(row.occasion)));
        const PictureWriteResult w = WritePictureFile(row.type, sample(), 24, {}, row.occasion, path);
        ASSERT_TRUE(w.ok) << w.error.toStdString();
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        if (row.description) {
            const QString text = QString::fromLatin1(row.description);
            EXPECT_TRUE(bytes.contains(QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2)))
                << row.description;
        }
        const PictureReadResult r = ReadPictureFile(path);
        ASSERT_TRUE(r.error.isEmpty()) << r.error.toStdString();
        EXPECT_EQ(r.kind, row.kind);
        EXPECT_EQ(r.image.convertToFormat(QImage::Format_RGB32), sample());
    }
}

} // namespace
