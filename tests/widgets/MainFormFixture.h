#pragma once
// The main window under test: fake screen, sound player and launcher, a private program
// folder with the shipped language file, and recorded messages and questions.
#include "app/MainForm.h"

#include "app/MultiLanguage.h"
#include "capture/ScanForm.h"
#include "picture/ScanImageView.h"
#include "picture/Picture.h"
#include "files/PictureFiles.h"
#include "app/ProgramOptions.h"
#include "platform/Autostart.h"
#include "platform/InstanceMessage.h"
#include "platform/ProcessLauncher.h"
#include "platform/ProgramFolder.h"
#include "platform/RegFile.h"
#include "platform/Registry.h"
#include "platform/Screen.h"
#include "platform/SoundPlayer.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace px::formtest {

inline QImage patternImage(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb(x & 255, y & 255, (x + y) & 255));
    return img;
}

inline QByteArray bmpBytes(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

class MainFormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        setProgramFolderForTesting(dir.path() + QStringLiteral("/program/"));
        QDir().mkpath(dir.path() + QStringLiteral("/program/Templates"));
        // The shipped language file, so that messages carry their real texts.
        ASSERT_TRUE(QFile::copy(QStringLiteral(PIXMORA_SOURCE_DIR "/resources/Templates/Languages.lng"),
                                programFile(QStringLiteral("Templates/Languages.lng"))));
        screen.desktop_ = patternImage(320, 200);
    }
    void TearDown() override { setProgramFolderForTesting({}); }

    TMainForm& makeForm()
    {
        MainFormServices s;
        s.registry = &registry;
        s.registryPath = dir.path() + QStringLiteral("/config/registry.reg");
        s.screen = &screen;
        s.sound = &sound;
        s.launcher = &launcher;
        s.autostart = &autostart;
        s.executablePath = QStringLiteral("/opt/pixmora/pixmora");
        form = std::make_unique<TMainForm>(s);
        form->showMessage = [this](const QString& text) { messages << text; };
        form->askYesNo = [this](const QString& text) {
            questions << text;
            return answer;
        };
        return *form;
    }

    void writeOption(const QString& name, qint32 value) { registry.writeInteger(optionsKey(), name, value); }

    QTemporaryDir dir;
    Registry registry;
    FakeScreen screen;
    FakeSoundPlayer sound;
    FakeProcessLauncher launcher;
    Autostart autostart{dir.path() + QStringLiteral("/autostart")};
    std::unique_ptr<TMainForm> form;
    QStringList messages;
    QStringList questions;
    bool answer = false;
};

} // namespace px::formtest
