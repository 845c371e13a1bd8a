// The picture on the real X clipboard: xclip reads what we copied, and we read what xclip put
// there. Runs on the fixture's Xvfb with the xcb platform.
#include "XTestEnv.h"

#include "picture/ClipboardPicture.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

using namespace px;

namespace {

QImage testPicture()
{
    QImage img(61, 45, QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            img.setPixel(x, y, qRgb((x * 13) & 255, (y * 29) & 255, ((x + y) * 3) & 255));
    return img;
}

struct Output {
    int exitCode = -1;
    QByteArray out;
};

// Runs xclip while our event loop keeps going, so that this process can answer its requests.
Output runXclip(const QStringList& args)
{
    QProcess xclip;
    xclip.start(QStringLiteral("xclip"), args);
    QEventLoop loop;
    QObject::connect(&xclip, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&xclip, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    if (xclip.state() != QProcess::NotRunning)
        loop.exec();
    Output o;
    if (xclip.state() != QProcess::NotRunning) {
        xclip.kill();
        xclip.waitForFinished(2000);
        return o;
    }
    if (xclip.exitStatus() == QProcess::NormalExit)
        o.exitCode = xclip.exitCode();
    o.out = xclip.readAllStandardOutput();
    return o;
}

// Keeps the event loop running until pred holds or the time is up.
template <typename Pred>
bool waitFor(Pred pred, int timeoutMs = 5000)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        if (pred())
            return true;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return pred();
}

} // namespace

TEST(ClipboardX, CopiedPicture_IsReadByAnotherProgramAsPngAndBmp)
{
    QString error;
    ASSERT_TRUE(CopyPictureToClipboard(testPicture(), &error)) << error.toStdString();

    const Output targets = runXclip({"-selection", "clipboard", "-t", "TARGETS", "-o"});
    ASSERT_EQ(targets.exitCode, 0);
    EXPECT_TRUE(targets.out.contains("image/png")) << targets.out.toStdString();
    EXPECT_TRUE(targets.out.contains("image/bmp")) << targets.out.toStdString();

    for (const char* type : {"image/png", "image/bmp"}) {
        SCOPED_TRACE(type);
        const Output got = runXclip({"-selection", "clipboard", "-t", type, "-o"});
        ASSERT_EQ(got.exitCode, 0);
        QImage decoded;
        ASSERT_TRUE(decoded.loadFromData(got.out)) << got.out.size() << " bytes";
        EXPECT_EQ(decoded.convertToFormat(QImage::Format_RGB32), testPicture());
    }
}

TEST(ClipboardX, PictureFromAnotherProgram_IsPasted)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("fremd.png"));
    QImage foreign = testPicture().mirrored(true, false);
    ASSERT_TRUE(foreign.save(file, "PNG"));

    // Something else on the clipboard first, so that a stale picture cannot pass the test.
    QGuiApplication::clipboard()->setText(QStringLiteral("vorher"));
    ASSERT_TRUE(waitFor([] { return !ClipboardHasPicture(); }));

    // xclip goes to the background and serves the clipboard until someone else takes it.
    const Output put = runXclip({"-selection", "clipboard", "-t", "image/png", "-i", file});
    ASSERT_EQ(put.exitCode, 0);
    ASSERT_TRUE(waitFor([] { return ClipboardHasPicture(); }));

    const auto pasted = PictureFromClipboard();
    ASSERT_TRUE(pasted.has_value());
    EXPECT_EQ(pasted->convertToFormat(QImage::Format_RGB32), foreign);

    // Take the clipboard back so that the background xclip ends.
    QGuiApplication::clipboard()->setText(QStringLiteral("nachher"));
    EXPECT_FALSE(ClipboardHasPicture());
}

int main(int argc, char** argv)
{
    const QString err = xtest::useTestDisplay();
    if (!err.isEmpty()) {
        fprintf(stderr, "%s\n", qPrintable(err));
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
