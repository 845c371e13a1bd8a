// What the main window does with a picture after a capture: automatic file names, the fast
// save, the external editor, the switches, and the recent-files list that records the files.
#include "MainFormFixture.h"

#include "files/BmpFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

using namespace px;
using namespace px::formtest;

namespace {

QImage readBack(const QString& path)
{
    const PictureReadResult read = ReadPictureFile(path);
    EXPECT_TRUE(read.error.isEmpty()) << path.toStdString() << ": " << read.error.toStdString();
    return read.image.convertToFormat(QImage::Format_RGB32);
}

void touch(const QString& path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
}

QStringList captions(const QMenu* menu)
{
    QStringList texts;
    for (const QAction* a : menu->actions())
        if (!a->isSeparator())
            texts << a->text();
    return texts;
}

class CaptureResultTest : public MainFormTest {
protected:
    // Automatic file creation into dir/shots as "Scan<n>" of the given type.
    QString useAutomaticFiles(int fileType)
    {
        const QString shots = dir.filePath(QStringLiteral("shots"));
        QDir().mkpath(shots);
        writeOption(QStringLiteral("PersSave"), 1);
        writeOption(QStringLiteral("FileTyp"), fileType);
        registry.writeString(optionsKey(), QStringLiteral("OutDir"), shots);
        registry.writeString(optionsKey(), QStringLiteral("FileName"), QStringLiteral("Scan"));
        return shots;
    }
};

TEST_F(CaptureResultTest, DesktopCapture_SavesUnderTheNextNumberAndListsTheFileWritten)
{
    const QString shots = useAutomaticFiles(8);
    touch(shots + QStringLiteral("/Scan1.png"));
    touch(shots + QStringLiteral("/Scan5.png"));
    TMainForm& f = makeForm();

    f.DeskMenuItemClick(false);
    const QString first = shots + QStringLiteral("/Scan6.png");  // past the highest number, not the count
    EXPECT_EQ(readBack(first), screen.desktop_);
    EXPECT_TRUE(f.CurrentFileValid);
    EXPECT_EQ(f.CurrentFile, first);
    EXPECT_EQ(f.ui().statusPanels[6]->text(), QStringLiteral("|bmp| - png"));

    f.DeskMenuItemClick(false);
    const QString second = shots + QStringLiteral("/Scan7.png");
    EXPECT_TRUE(QFileInfo::exists(second));
    EXPECT_EQ(f.RecentFiles.entries(), (QStringList{second, first}));
    EXPECT_EQ(captions(f.ui().recentPopupMenu),
              (QStringList{QStringLiteral("&1 ") + second, QStringLiteral("&2 ") + first}));
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

TEST_F(CaptureResultTest, DesktopCapture_AFolderInTheFileNameIsCountedThere)
{
    const QString shots = useAutomaticFiles(8);
    registry.writeString(optionsKey(), QStringLiteral("FileName"), QStringLiteral("sub\\Scan"));
    QDir().mkpath(shots + QStringLiteral("/sub"));
    touch(shots + QStringLiteral("/sub/Scan1.png"));
    TMainForm& f = makeForm();
    f.DeskMenuItemClick(false);
    f.DeskMenuItemClick(false);
    EXPECT_EQ(QDir(shots + QStringLiteral("/sub")).entryList(QDir::Files),
              (QStringList{QStringLiteral("Scan1.png"), QStringLiteral("Scan2.png"), QStringLiteral("Scan3.png")}));
    EXPECT_EQ(f.CurrentFile, shots + QStringLiteral("/sub/Scan3.png"));
}

TEST_F(CaptureResultTest, DesktopCapture_AFailedSaveKeepsThePictureAndSaysWhy)
{
    useAutomaticFiles(9);  // an index without a writer
    writeOption(QStringLiteral("SaveHist"), 1);
    TMainForm& f = makeForm();
    f.DeskMenuItemClick(false);
    EXPECT_EQ(f.picture().convertToFormat(QImage::Format_RGB32), screen.desktop_);
    EXPECT_FALSE(f.CurrentFileValid);
    EXPECT_TRUE(f.RecentFiles.isEmpty());
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(f.Msg(QStringLiteral("showmsg_except_afc_mistake"))));
    EXPECT_GT(messages[0].size(), f.Msg(QStringLiteral("showmsg_except_afc_mistake")).size());
}

TEST_F(CaptureResultTest, AutoFileSwitch_WithoutAFolderAsksAndTakesTheChosenOne)
{
    registry.writeString(optionsKey(), QStringLiteral("OutDir"), dir.filePath(QStringLiteral("missing")));
    TMainForm& f = makeForm();
    f.chooseFolder = [&](const QString&, const QString&) { return dir.path(); };
    QAction* item = f.ui().action(QStringLiteral("AutoFileMenuItem"));
    ASSERT_TRUE(item && item->isEnabled());

    item->trigger();  // declined
    EXPECT_EQ(questions, QStringList{f.Msg(QStringLiteral("msgdlg_mistake_fastactivate_for_autofilecreate"))});
    EXPECT_FALSE(f.Options.PersSave);
    EXPECT_FALSE(item->isChecked());

    answer = true;
    item->trigger();
    EXPECT_TRUE(f.Options.PersSave);
    EXPECT_EQ(f.Options.OutDir, dir.path());
    EXPECT_TRUE(item->isChecked());
    item->trigger();  // the folder exists now: a plain toggle
    EXPECT_FALSE(f.Options.PersSave);
    EXPECT_EQ(questions.size(), 2);
}

TEST_F(CaptureResultTest, FastSave_TakesTheNextFreeNumberAndLeavesTheOptionsAlone)
{
    const QString autosave = programFile(QStringLiteral("Autosave"));
    QDir().mkpath(autosave);
    // One bitmap there: the counter starts at 1 and would overwrite PX_Scan_2.bmp next.
    const QString existing = autosave + QStringLiteral("/PX_Scan_2.bmp");
    touch(existing);
    registry.writeString(optionsKey(), QStringLiteral("FileName"), QStringLiteral("Scan"));
    TMainForm& f = makeForm();
    const QImage picture = patternImage(40, 30);
    f.setPicture(picture);
    const QString outDir = f.Options.OutDir;

    QAction* fastSave = f.ui().action(QStringLiteral("FastSaveToolButton"));
    ASSERT_TRUE(fastSave && fastSave->isEnabled());
    fastSave->trigger();
    const QString written = autosave + QStringLiteral("/PX_Scan_3.bmp");
    EXPECT_EQ(readBack(written), picture);
    EXPECT_EQ(QFileInfo(existing).size(), 0) << "an existing fast-save file is never replaced";
    EXPECT_EQ(f.CurrentFile, written);
    EXPECT_TRUE(f.CurrentFileValid);
    EXPECT_EQ(f.ui().statusPanels[6]->text(), QStringLiteral("bmp"));
    EXPECT_EQ(f.RecentFiles.entries().value(0), written);
    EXPECT_EQ(f.Options.FileName, QStringLiteral("Scan"));
    EXPECT_EQ(f.Options.OutDir, outDir);

    fastSave->trigger();
    EXPECT_TRUE(QFileInfo::exists(autosave + QStringLiteral("/PX_Scan_4.bmp")));
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

TEST_F(CaptureResultTest, FastSave_OfAFileInItsOwnFormatConvertsFirstOrStops)
{
    writeOption(QStringLiteral("OAsBmp"), 0);
    const QString gif = dir.filePath(QStringLiteral("shown.gif"));
    ASSERT_TRUE(WritePictureFile(2, patternImage(16, 8), 24, {}, WriteOccasion::SaveAs, gif).ok);
    TMainForm& f = makeForm();
    ASSERT_TRUE(f.OpenPictureFile(gif));
    const QString autosave = programFile(QStringLiteral("Autosave"));

    f.FastSaveToolButtonClick();  // the conversion is declined: nothing is written, no loop
    EXPECT_EQ(messages, QStringList{f.Msg(QStringLiteral("showmsg_make_first_tmp_bmp"))});
    EXPECT_EQ(questions, QStringList{f.Msg(QStringLiteral("msgdlg_file_convert"))});
    EXPECT_TRUE(QDir(autosave).entryList(QDir::Files).isEmpty());
    EXPECT_EQ(f.document().kind(), GraphicKind::Gif);

    answer = true;
    f.FastSaveToolButtonClick();
    EXPECT_EQ(f.document().kind(), GraphicKind::Bitmap);
    EXPECT_EQ(QDir(autosave).entryList(QDir::Files), QStringList{QStringLiteral("PX_Scan_1.bmp")});
    EXPECT_EQ(f.ui().statusPanels[6]->text(), QStringLiteral("bmp"));
}

TEST_F(CaptureResultTest, FastSave_WritesThePictureShownNotTheFileOpenedBefore)
{
    writeOption(QStringLiteral("OAsBmp"), 0);
    const QString jpeg = dir.filePath(QStringLiteral("photo.jpg"));
    ASSERT_TRUE(WritePictureFile(1, patternImage(64, 48), 24, {}, WriteOccasion::SaveAs, jpeg).ok);
    TMainForm& f = makeForm();
    ASSERT_TRUE(f.OpenPictureFile(jpeg));
    const QImage handed = patternImage(100, 20);
    f.handleInstanceMessage({msg::CopyData, msg::CopyDataBitmap, bmpBytes(handed)});
    EXPECT_EQ(f.ui().statusPanels[6]->text(), QStringLiteral("|bmp|"));

    f.FastSaveToolButtonClick();
    EXPECT_TRUE(questions.isEmpty()) << "a bitmap needs no conversion";
    EXPECT_EQ(readBack(programFile(QStringLiteral("Autosave/PX_Scan_1.bmp"))), handed);
    EXPECT_EQ(f.picture().convertToFormat(QImage::Format_RGB32), handed);
}

TEST_F(CaptureResultTest, ExternalEditor_GetsAPrivateCopyAsOneArgument)
{
    // A program path with a blank: it is started with an argument list, not a command line.
    const QString editor = dir.filePath(QStringLiteral("my editor"));
    touch(editor);
    QFile::setPermissions(editor, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    writeOption(QStringLiteral("ExtGrafikEditor"), 1);
    writeOption(QStringLiteral("PXVisAScan"), 1);
    registry.writeString(optionsKey(), QStringLiteral("ExtGrEdtPath"), editor);
    TMainForm& f = makeForm();
    f.DeskMenuItemClick(false);

    ASSERT_EQ(launcher.started.size(), 1);
    ASSERT_TRUE(launcher.started[0].startsWith(editor + QLatin1Char(' ')));
    const QString handed = launcher.started[0].mid(editor.size() + 1);
    EXPECT_EQ(readBack(handed), screen.desktop_);
    const QFileInfo folder(QFileInfo(handed).absolutePath());
    EXPECT_EQ(folder.permissions() & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteOther), 0);
    EXPECT_TRUE(f.isVisible());  // "PXVisAScan" shows the window again
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

TEST_F(CaptureResultTest, EditorSwitch_StaysOffUntilAProgramIsChosen)
{
    registry.writeString(optionsKey(), QStringLiteral("ExtGrEdtPath"), dir.filePath(QStringLiteral("gone")));
    TMainForm& f = makeForm();
    QString chosen;
    f.chooseOpenFile = [&](const QString&, const QString&, const QString&) { return chosen; };
    QAction* item = f.ui().action(QStringLiteral("ExtGraphMenuItem"));
    ASSERT_TRUE(item);
    item->trigger();
    EXPECT_FALSE(f.Options.ExtGrafikEditor);
    EXPECT_FALSE(item->isChecked());

    chosen = QStringLiteral("/bin/sh");
    item->trigger();
    EXPECT_TRUE(f.Options.ExtGrafikEditor);
    EXPECT_TRUE(item->isChecked());
    EXPECT_EQ(f.Options.ExtGrEdtPath, chosen);
    item->trigger();
    EXPECT_FALSE(f.Options.ExtGrafikEditor);
}

TEST_F(CaptureResultTest, RecentFiles_ReopenAnEntryAndDeleteTheList)
{
    writeOption(QStringLiteral("OAsBmp"), 0);
    const QString first = dir.filePath(QStringLiteral("Tom & Jerry.bmp"));
    const QString second = dir.filePath(QStringLiteral("b.bmp"));
    ASSERT_TRUE(WritePictureFile(0, patternImage(10, 10), 24, {}, WriteOccasion::SaveAs, first).ok);
    ASSERT_TRUE(WritePictureFile(0, patternImage(20, 10), 24, {}, WriteOccasion::SaveAs, second).ok);
    TMainForm& f = makeForm();
    ASSERT_TRUE(f.OpenPictureFile(first));
    ASSERT_TRUE(f.OpenPictureFile(second));
    QMenu* popup = f.ui().recentPopupMenu;
    QMenu* submenu = f.ui().newOpenMenu;
    ASSERT_TRUE(popup && submenu);
    const QStringList expected{QStringLiteral("&1 ") + second, QStringLiteral("&2 ") + QString(first).replace("&", "&&")};
    EXPECT_EQ(captions(popup), expected);
    EXPECT_EQ(captions(submenu), expected);

    // Choosing the second entry opens it, which makes it the newest entry.
    popup->actions().at(1)->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(f.CurrentFile, first);
    EXPECT_EQ(f.picture().size(), QSize(10, 10));
    EXPECT_EQ(f.RecentFiles.entries(), (QStringList{first, second}));

    f.RecentPopupMenuPopup();
    f.RecentPopupMenuPopup();  // opening again adds nothing twice
    QAction* deleteItem = popup->findChild<QAction*>(QStringLiteral("DeleteListMenuItem"));
    ASSERT_TRUE(deleteItem);
    EXPECT_EQ(captions(popup).count(f.Msg(QStringLiteral("TheHistoryItem_Delete"))), 1);
    ASSERT_TRUE(deleteItem->isEnabled());
    registry.writeString(recentFilesPath() + QStringLiteral("\\Recent"), QStringLiteral("History0"), second);
    deleteItem->trigger();
    EXPECT_TRUE(f.RecentFiles.isEmpty());
    EXPECT_FALSE(registry.keyExists(recentFilesPath() + QStringLiteral("\\Recent")));
    f.RecentPopupMenuPopup();
    EXPECT_EQ(captions(popup), QStringList{f.Msg(QStringLiteral("TheHistoryItem_Delete"))});
    EXPECT_FALSE(popup->findChild<QAction*>(QStringLiteral("DeleteListMenuItem"))->isEnabled());
}

} // namespace
