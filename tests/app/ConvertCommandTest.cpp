// `pixmora --convert SOURCE TARGET` as a user runs it: the exit status says whether TARGET was
// written, and a refusal is one line on stderr.
#include "files/MetafileWriter.h"
#include "files/PictureFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace px;

namespace {

struct ProgramRun {
    int exitCode = -1;
    QString err;
};

// Runs the program in folder without a display: no conversion may need one.
ProgramRun runConvert(const QString& folder, const QString& source, const QString& target)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.remove("QT_QPA_PLATFORM");
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(folder);
    p.start(QStringLiteral(PIXMORA_PROGRAM), {"--convert", source, target});
    ProgramRun r;
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit)
        return r;
    r.exitCode = p.exitCode();
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

} // namespace

TEST(ConvertCommand, ExitStatusSaysWhetherTheTargetWasWritten)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(qRgb(20, 160, 90));
    for (const auto& [index, name] : {std::pair{0, "a.bmp"}, {2, "a.gif"}, {3, "a.wmf"}}) {
        const PictureWriteResult w =
            WritePictureFile(index, picture, 0, PictureWriteSettings{}, WriteOccasion::SaveAs, dir.filePath(name));
        ASSERT_TRUE(w.ok) << w.error.toStdString();
    }

    const struct {
        const char* source;
        const char* target;
        int exitCode;
        const char* why;  // start of the stderr line after "pixmora: ", or empty
    } cases[] = {
        {"a.bmp", "b.jpg", 0, ""},
        {"a.gif", "sub/../b.png", 0, ""},  // no routine of its own: reader and writer
        {"a.wmf", "c.png", 0, ""},         // metafile text: an offscreen application
        {"a.bmp", "b.xyz", 1, "no conversion to .xyz"},
        {"missing.bmp", "d.png", 1, "cannot read"},
        {"a.bmp", "no/folder/e.png", 1, "cannot write"},
    };
    ASSERT_TRUE(QDir(dir.path()).mkdir("sub"));
    for (const auto& c : cases) {
        const ProgramRun r = runConvert(dir.path(), c.source, c.target);
        const std::string what = std::string(c.source) + " -> " + c.target;
        EXPECT_EQ(r.exitCode, c.exitCode) << what << ": " << r.err.toStdString();
        const QString target = QDir::cleanPath(dir.filePath(c.target));
        if (c.exitCode == 0) {
            EXPECT_TRUE(r.err.isEmpty()) << what << ": " << r.err.toStdString();
            const PictureReadResult back = ReadPictureFile(target);
            ASSERT_TRUE(back.error.isEmpty()) << what << ": " << back.error.toStdString();
            EXPECT_EQ(back.image.size(), picture.size()) << what;
        } else {
            EXPECT_TRUE(r.err.startsWith(QStringLiteral("pixmora: ") + c.why)) << what << ": " << r.err.toStdString();
            EXPECT_EQ(r.err.count('\n'), 1) << what << ": " << r.err.toStdString();
            EXPECT_FALSE(QFileInfo::exists(target)) << what;
        }
    }
}
