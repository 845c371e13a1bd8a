// The main window's start-up, capture, message and exit behaviour, with a fake screen,
// sound player and launcher on the offscreen platform.
#include "MainFormFixture.h"

using namespace px;
using namespace px::formtest;

namespace {

TEST_F(MainFormTest, DesktopCapture_PutsThePrimaryScreenIntoThePictureAndPlaysTheSound)
{
    SaveOptions(registry, DefaultOptions());
    TMainForm& f = makeForm();
    f.show();
    f.DeskMenuItemClick(false);

    EXPECT_EQ(f.picture().convertToFormat(QImage::Format_RGB32), screen.desktop_);
    EXPECT_TRUE(f.isVisible());
    EXPECT_FALSE(f.CurrentFileValid);
    ASSERT_EQ(sound.played.size(), 1);
    EXPECT_EQ(sound.played[0], programFile(QStringLiteral("Templates/camera.wav")));
    ASSERT_NE(f.ui().scanImage, nullptr);
    EXPECT_EQ(f.ui().scanImage->size(), QSize(320, 200));
    EXPECT_EQ(f.ui().statusPanels[6]->text(), QStringLiteral("|bmp|"));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(MainFormTest, DesktopCapture_KeepsThePreviousPictureForUndo)
{
    writeOption(QStringLiteral("ScanSound"), 0);
    TMainForm& f = makeForm();
    QAction* undo = f.ui().action(QStringLiteral("UndoMenuItem"));
    ASSERT_NE(undo, nullptr);
    EXPECT_FALSE(undo->isEnabled());
    const QImage before = patternImage(10, 10);
    f.setPicture(before);
    f.DeskMenuItemClick(false);
    EXPECT_EQ(f.picture().size(), screen.desktop_.size());
    ASSERT_TRUE(undo->isEnabled());
    undo->trigger();
    EXPECT_EQ(f.picture().convertToFormat(QImage::Format_RGB32), before);
    EXPECT_FALSE(undo->isEnabled());
}

TEST_F(MainFormTest, DesktopCapture_DrawsThePointerWhereItWas)
{
    writeOption(QStringLiteral("ImgWithMouse"), 1);
    writeOption(QStringLiteral("ScanSound"), 0);
    QImage cursor(8, 8, QImage::Format_ARGB32_Premultiplied);
    cursor.fill(qRgba(255, 0, 255, 255));
    screen.cursorImage_ = {cursor, QPoint(2, 2)};
    screen.cursor_ = QPoint(100, 50);
    TMainForm& f = makeForm();
    f.DeskMenuItemClick(false);

    EXPECT_EQ(f.picture().pixel(98, 48), qRgb(255, 0, 255));   // the hot spot lands on the pointer
    EXPECT_EQ(f.picture().pixel(105, 55), qRgb(255, 0, 255));
    EXPECT_EQ(f.picture().pixel(106, 56), screen.desktop_.pixel(106, 56));
    EXPECT_TRUE(sound.played.isEmpty());
}

TEST_F(MainFormTest, DesktopCapture_WithAutomaticFilesButNoFolder_SaysSoAndComesBack)
{
    writeOption(QStringLiteral("PersSave"), 1);
    registry.writeString(optionsKey(), QStringLiteral("OutDir"), dir.path() + QStringLiteral("/missing"));
    TMainForm& f = makeForm();
    f.show();
    f.DeskMenuItemClick(false);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], f.Msg(QStringLiteral("showmsg_autofilecreate_mistake")));
    EXPECT_FALSE(messages[0].isEmpty());
    EXPECT_TRUE(f.isVisible());
    EXPECT_FALSE(f.CurrentFileValid);
}

TEST_F(MainFormTest, FirstShow_WithTrayStartLeavesTheScreen)
{
    writeOption(QStringLiteral("TrayStart"), 1);
    TMainForm& f = makeForm();
    f.show();
    f.handleInstanceMessage({msg::FirstShowFollowUp, 0, {}});
    // Into the tray where there is one; without a tray (as here) the window only minimises,
    // so that it stays reachable.
    EXPECT_TRUE(!f.isVisible() || f.isMinimized());
}

TEST_F(MainFormTest, CaptureCommand_DispatchesByTool)
{
    struct Case {
        int tool;
        bool grabs;    // the desktop tool takes the picture at once
        bool overlay;  // the interactive tools show the frozen screen to mark on
        bool says;     // a tool this build cannot run yet says so
    };
    for (const Case c : {Case{5, true, false, false}, Case{0, false, true, false}, Case{4, false, true, false},
                         Case{6, false, false, true}, Case{99, false, false, false}, Case{-1, false, false, false}}) {
        registry = Registry();
        writeOption(QStringLiteral("ScanTool"), c.tool);
        writeOption(QStringLiteral("ScanSound"), 0);
        writeOption(QStringLiteral("ScanDelay"), 0);
        messages.clear();
        TMainForm& f = makeForm();
        f.show();
        f.ScanClick();
        EXPECT_EQ(!f.picture().isNull(), c.grabs) << "tool " << c.tool;
        EXPECT_EQ(f.ScanForm()->isVisible(), c.overlay) << "tool " << c.tool;
        EXPECT_EQ(f.isVisible(), !c.overlay) << "tool " << c.tool;
        EXPECT_EQ(messages.size(), c.says ? 1 : 0) << "tool " << c.tool;
        f.ScanForm()->hide();
    }
}

TEST_F(MainFormTest, InteractiveCapture_TakesTheMarkedRegionMaskedFromTheLiveScreen)
{
    writeOption(QStringLiteral("ScanTool"), 3);
    writeOption(QStringLiteral("ShapeColorBg"), 10);
    writeOption(QStringLiteral("ScanSound"), 0);
    writeOption(QStringLiteral("ScanDelay"), 0);
    TMainForm& f = makeForm();
    f.show();
    f.ScanClick();
    ASSERT_TRUE(f.ScanForm()->isVisible());
    // The overlay reports a drag from the lower right to the upper left.
    f.ScanForm()->hide();
    emit f.ScanForm()->RegionReleased(QPoint(120, 90), QPoint(20, 10), QPoint(20, 10), false);
    ASSERT_EQ(f.picture().size(), QSize(100, 80));
    EXPECT_EQ(f.picture().pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(f.picture().pixel(50, 40), screen.desktop_.pixel(70, 50));
    EXPECT_TRUE(f.isVisible());

    // Escape brings the program back with the picture as it was.
    const QImage before = f.picture();
    f.ScanClick();
    emit f.ScanForm()->Cancelled();
    EXPECT_EQ(f.picture(), before);
    EXPECT_TRUE(f.isVisible());
}

TEST_F(MainFormTest, ObjectCapture_TakesTheWindowUnderThePointerCutToTheScreen)
{
    writeOption(QStringLiteral("ScanTool"), 4);
    writeOption(QStringLiteral("ScanSound"), 0);
    writeOption(QStringLiteral("ScanDelay"), 0);
    // A window hanging over the lower right corner of the 320 x 200 screen.
    screen.foreground_ = WindowInfo{7, QRect(250, 150, 100, 100), QStringLiteral("Other"), QStringLiteral("other")};
    const QImage visiblePart = screen.desktop_.copy(250, 150, 70, 50);
    TMainForm& f = makeForm();
    f.show();
    for (const bool byKey : {false, true}) {
        SCOPED_TRACE(byKey ? "Enter" : "click");
        f.setDocument(TPicture());
        f.ScanClick();
        ASSERT_TRUE(f.ScanForm()->isVisible());
        f.ScanForm()->hide();
        if (byKey)
            emit f.ScanForm()->WindowUnderPointerRequested(QPoint(300, 180));
        else
            emit f.ScanForm()->RegionReleased(QPoint(300, 180), QPoint(300, 180), QPoint(300, 180), true);
        EXPECT_EQ(f.picture().convertToFormat(QImage::Format_RGB32), visiblePart);
        EXPECT_TRUE(f.isVisible());
    }
}

TEST_F(MainFormTest, RemoteCapture_NeedsTheAddOnNamedInPx5Ini)
{
    writeOption(QStringLiteral("ScanTool"), 12);
    {
        TMainForm& f = makeForm();
        EXPECT_EQ(f.Options.ScanTool, 0);  // no add-on: the stored tool falls back
        for (QAction* a : f.ui().actionsForHandler(QStringLiteral("RemScrMenuItemClick")))
            EXPECT_FALSE(a->isVisible());
    }

    const QString addOn = dir.path() + QStringLiteral("/remote-addon");
    QFile(addOn).open(QIODevice::WriteOnly);
    QFile ini(programFile(QStringLiteral("PX5.ini")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[PX_RemoteScan]\r\nAppPath=" + addOn.toUtf8() + "\r\n");
    ini.close();

    TMainForm& f = makeForm();
    EXPECT_EQ(f.Options.ScanTool, 12);
    f.ScanClick();
    EXPECT_EQ(launcher.started, QStringList{addOn});

    // The window menu brings the add-on's window forward while it exists.
    const QList<QAction*> front = f.ui().actionsForHandler(QStringLiteral("FernblickMenuItemClick"));
    ASSERT_EQ(front.size(), 1);
    emit f.ui().windowMenu->aboutToShow();
    EXPECT_FALSE(front[0]->isEnabled());
    screen.foreground_ = WindowInfo{42, QRect(0, 0, 10, 10), QStringLiteral("TMainForm"), QStringLiteral("Fernblick 1.0")};
    emit f.ui().windowMenu->aboutToShow();
    ASSERT_TRUE(front[0]->isEnabled());
    front[0]->trigger();
    EXPECT_EQ(screen.activated_, 42u);
}

TEST_F(MainFormTest, CommandsOfLaterParts_AreDisabledAndTheirMenusPresent)
{
    TMainForm& f = makeForm();
    for (const char* handler : {"SaveAsClick", "PrintClick", "UndoMenuItemClick", "AviVdoMenuItemClick"}) {
        const QList<QAction*> actions = f.ui().actionsForHandler(QString::fromLatin1(handler));
        ASSERT_FALSE(actions.isEmpty()) << handler;
        for (QAction* a : actions)
            EXPECT_FALSE(a->isEnabled()) << handler;
    }
    for (QAction* a : f.ui().actionsForHandler(QStringLiteral("ScanClick")))
        EXPECT_TRUE(a->isEnabled());
    for (QAction* a : f.ui().actionsForHandler(QStringLiteral("DeskMenuItemClick")))
        EXPECT_TRUE(a->isEnabled());
}

TEST_F(MainFormTest, Messages_CopyDataLoadsOnlyBitmapsWithIdentifierOne)
{
    TMainForm& f = makeForm();
    const QImage sent = patternImage(40, 30);

    f.handleInstanceMessage({msg::CopyData, 2, bmpBytes(sent)});
    EXPECT_TRUE(f.picture().isNull());

    f.handleInstanceMessage({msg::CopyData, msg::CopyDataBitmap, QByteArray("BMthis is not a bitmap")});
    EXPECT_TRUE(f.picture().isNull());
    EXPECT_EQ(messages.size(), 1);

    f.handleInstanceMessage({msg::CopyData, msg::CopyDataBitmap, bmpBytes(sent)});
    EXPECT_EQ(f.picture().convertToFormat(QImage::Format_RGB32), sent);

    f.handleInstanceMessage({0x1234, 0, {}});  // unknown numbers are ignored
    EXPECT_EQ(messages.size(), 1);
}

TEST_F(MainFormTest, Messages_OpenFileShowsThePictureOrSaysItIsMissing)
{
    writeOption(QStringLiteral("OAsBmp"), 1);
    TMainForm& f = makeForm();
    f.handleInstanceMessage({msg::OpenFile, 0, (dir.path() + QStringLiteral("/nope.png")).toUtf8()});
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], f.Msg(QStringLiteral("showmsg_file_evtl_not_exists")));
    EXPECT_FALSE(f.CurrentFileValid);

    const QString png = dir.path() + QStringLiteral("/shot.png");
    ASSERT_TRUE(patternImage(64, 48).save(png));
    f.handleInstanceMessage({msg::OpenFile, 0, png.toUtf8()});
    EXPECT_EQ(f.picture().size(), QSize(64, 48));
    EXPECT_TRUE(f.CurrentFileValid);
    EXPECT_EQ(f.CurrentFile, png);
    EXPECT_EQ(f.ui().statusPanels[6]->text(), QStringLiteral("|bmp| - png"));
    EXPECT_EQ(f.ui().statusPanels[4]->text(), f.Msg(QStringLiteral("statbar_graphic_txt")) + QStringLiteral("64 x 48"));
}

TEST_F(MainFormTest, Clipboard_CutEmptiesThePictureAndPasteBringsItBack)
{
    TMainForm& f = makeForm();
    QAction* cut = f.ui().action(QStringLiteral("CutMenuItem"));
    QAction* paste = f.ui().action(QStringLiteral("PasteToolButton"));
    QAction* copy = f.ui().action(QStringLiteral("CopyMenuItem"));
    ASSERT_TRUE(cut && paste && copy);
    EXPECT_FALSE(cut->isEnabled());  // no picture yet
    const QImage image = patternImage(40, 30);
    f.setPicture(image);
    EXPECT_TRUE(cut->isEnabled());
    EXPECT_TRUE(copy->isEnabled());

    cut->trigger();
    EXPECT_TRUE(f.picture().isNull());
    EXPECT_EQ(f.ui().statusPanels[4]->text(), QStringLiteral("X: 0  Y: 0"));  // two blanks after a cut
    EXPECT_EQ(f.ui().statusPanels[6]->text(), QStringLiteral("- - -"));
    EXPECT_FALSE(cut->isEnabled());
    ASSERT_TRUE(paste->isEnabled());

    paste->trigger();
    EXPECT_EQ(f.picture().convertToFormat(QImage::Format_RGB32), image);
    EXPECT_EQ(f.ui().statusPanels[6]->text(), QStringLiteral("|bmp|"));
    EXPECT_FALSE(f.CurrentFileValid);
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(MainFormTest, ViewModes_ExcludeOneAnotherAndLeaveFocusMode)
{
    TMainForm& f = makeForm();
    f.setPicture(patternImage(40, 30));
    QAction* focus = f.ui().action(QStringLiteral("DocFocMenuItem"));
    QAction* stretch = f.ui().action(QStringLiteral("GsMenuItem"));
    ASSERT_TRUE(focus && stretch && focus->isEnabled());
    focus->trigger();
    EXPECT_TRUE(f.Options.FocusMode);
    stretch->trigger();
    EXPECT_TRUE(f.Options.Stretch);
    EXPECT_FALSE(f.Options.FocusMode);
    EXPECT_TRUE(stretch->isChecked());
    EXPECT_FALSE(focus->isChecked());
    stretch->trigger();
    EXPECT_FALSE(f.Options.Stretch);
}

TEST_F(MainFormTest, Files_OpenAndSaveThroughTheDialogs)
{
    writeOption(QStringLiteral("OAsBmp"), 0);
    TMainForm& f = makeForm();
    const QString source = dir.filePath(QStringLiteral("shot.gif"));
    ASSERT_TRUE(WritePictureFile(2, patternImage(30, 20), 24, {}, WriteOccasion::SaveAs, source).ok);
    f.chooseOpenFile = [&](const QString&, const QString&, const QString&) { return source; };
    f.OpenClick();
    EXPECT_EQ(f.document().kind(), GraphicKind::Gif);  // opened in its own kind: not editable
    EXPECT_EQ(f.ui().statusPanels[6]->text(), QStringLiteral("gif"));
    EXPECT_EQ(f.CurrentFile, source);

    // Save As refuses a picture that is not a bitmap.
    f.chooseSaveFile = [&](const QString&, const QString&, const QString&, QString*) { return QString(); };
    f.SaveAsClick(true);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], f.Msg(QStringLiteral("showmsg_no_bitmap_load_will_convert")));

    // A bitmap: the typed extension wins over the filter left selected; Cancel forgets the file.
    f.setPicture(patternImage(30, 20));
    const QString target = dir.filePath(QStringLiteral("saved.png"));
    f.chooseSaveFile = [&](const QString&, const QString&, const QString& filters, QString* selected) {
        *selected = filters.split(QStringLiteral(";;")).first();  // the BMP filter
        return target;
    };
    f.SaveAsClick(true);
    QImage written;
    ASSERT_TRUE(written.load(target, "PNG")) << "the file holds the format its name says";
    EXPECT_EQ(f.ui().statusPanels[6]->text(), QStringLiteral("|bmp| - png"));
    EXPECT_TRUE(f.CurrentFileValid);
    f.chooseSaveFile = [&](const QString&, const QString&, const QString&, QString*) { return QString(); };
    f.SaveAsClick(true);
    EXPECT_FALSE(f.CurrentFileValid);
    EXPECT_EQ(f.ui().statusPanels[6]->text(), QStringLiteral("|bmp|"));
}

TEST_F(MainFormTest, Files_MetafilesShowAtTheirOwnSizeOrOpenAsBitmaps)
{
    const QString wmf = dir.filePath(QStringLiteral("clip.wmf"));
    const QString emf = dir.filePath(QStringLiteral("clip.emf"));
    ASSERT_TRUE(WritePictureFile(3, patternImage(50, 40), 24, {}, WriteOccasion::SaveAs, wmf).ok);
    ASSERT_TRUE(WritePictureFile(4, patternImage(50, 40), 24, {}, WriteOccasion::SaveAs, emf).ok);
    const QStringList before = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    {
        TMainForm& f = makeForm();  // "OAsBmp" on: converted through a private temporary bitmap
        ASSERT_TRUE(f.OpenPictureFile(emf));
        EXPECT_EQ(f.document().kind(), GraphicKind::Bitmap);
        EXPECT_EQ(f.picture().convertToFormat(QImage::Format_RGB32), patternImage(50, 40));
        EXPECT_EQ(f.ui().statusPanels[6]->text(), QStringLiteral("|bmp| - emf"));
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), before);
    }
    writeOption(QStringLiteral("OAsBmp"), 0);
    TMainForm& f = makeForm();
    ASSERT_TRUE(f.OpenPictureFile(wmf));
    EXPECT_EQ(f.document().kind(), GraphicKind::Wmf);
    EXPECT_FALSE(f.document().isEditable());
    EXPECT_EQ(f.picture().size(), QSize(50, 40));
    EXPECT_EQ(f.ui().statusPanels[6]->text(), QStringLiteral("wmf"));
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

TEST_F(MainFormTest, Files_JpegOpensAsBitmapOrScaledInItsOwnKind)
{
    const QString photo = dir.filePath(QStringLiteral("photo.jpeg"));
    ASSERT_TRUE(WritePictureFile(1, patternImage(80, 64), 24, {}, WriteOccasion::SaveAs, photo).ok);
    const QStringList before = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    {
        TMainForm& f = makeForm();  // "OAsBmp" is on by default
        ASSERT_TRUE(f.OpenPictureFile(photo));
        EXPECT_EQ(f.document().kind(), GraphicKind::Bitmap);
        EXPECT_EQ(f.ui().statusPanels[6]->text(), QStringLiteral("|bmp| - jpeg"));
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), before) << "nothing is left behind";
    }
    writeOption(QStringLiteral("OAsBmp"), 0);
    const QString jpg = dir.filePath(QStringLiteral("photo.jpg"));
    ASSERT_TRUE(QFile::copy(photo, jpg));
    TMainForm& f = makeForm();
    ASSERT_TRUE(f.OpenPictureFile(jpg));
    EXPECT_EQ(f.document().kind(), GraphicKind::Jpeg);
    QAction* scale = f.ui().action(QStringLiteral("JpgScaleMenuItem"));
    ASSERT_NE(scale, nullptr);
    ASSERT_TRUE(scale->isEnabled());  // the label reads "jpg"
    scale->trigger();
    ASSERT_NE(f.JpgScaleForm(), nullptr);
    emit f.JpgScaleForm()->ScaleChosen(4);
    EXPECT_EQ(f.picture().size(), QSize(20, 16));
    EXPECT_EQ(f.document().kind(), GraphicKind::Jpeg);
    // A BMP is never converted: it opens as the bitmap it is.
    const QString bmp = dir.filePath(QStringLiteral("plain.bmp"));
    ASSERT_TRUE(WritePictureFile(0, patternImage(8, 8), 24, {}, WriteOccasion::SaveAs, bmp).ok);
    ASSERT_TRUE(f.OpenPictureFile(bmp));
    EXPECT_EQ(f.ui().statusPanels[6]->text(), QStringLiteral("bmp"));
    EXPECT_TRUE(f.JpgScaleForm() == nullptr || !f.JpgScaleForm()->isVisible());
}

TEST_F(MainFormTest, Files_AFailedLoadKeepsThePicture)
{
    TMainForm& f = makeForm();
    const QImage before = patternImage(12, 9);
    f.setPicture(before);
    const QString broken = dir.filePath(QStringLiteral("broken.bmp"));
    {
        QFile out(broken);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write("BM\x00\x10 not really a bitmap");
    }
    EXPECT_FALSE(f.OpenPictureFile(broken));
    EXPECT_EQ(f.picture().convertToFormat(QImage::Format_RGB32), before);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(f.Msg(QStringLiteral("showmsg_except_invalid_data"))));
    EXPECT_FALSE(f.OpenPictureFile(dir.filePath(QStringLiteral("notes.txt"))));
    EXPECT_EQ(messages.last(), f.Msg(QStringLiteral("showmsg_no_px_support")));
}

TEST_F(MainFormTest, Close_WithEndDlgAndNo_KeepsRunning)
{
    TMainForm& f = makeForm();
    f.show();
    answer = false;
    f.CloseClick();
    EXPECT_EQ(questions, QStringList{f.Msg(QStringLiteral("msgdlg_closequery"))});
    EXPECT_TRUE(f.isVisible());
    EXPECT_FALSE(f.ClosingByCommand);
    EXPECT_FALSE(QFile::exists(dir.path() + QStringLiteral("/config/registry.reg")));
}

TEST_F(MainFormTest, Close_WritesEveryOptionAndTheAutostartEntry)
{
    writeOption(QStringLiteral("EndDlg"), 0);
    writeOption(QStringLiteral("AutoSysStart"), 1);
    TMainForm& f = makeForm();
    f.show();
    f.CloseClick();
    EXPECT_TRUE(questions.isEmpty());
    EXPECT_FALSE(f.isVisible());

    const RegLoadResult saved = loadRegistryFile(dir.path() + QStringLiteral("/config/registry.reg"));
    EXPECT_TRUE(saved.problem.isEmpty());
    for (const OptionRow& row : OptionTable())
        EXPECT_TRUE(saved.registry.value(optionsKey(), QString::fromLatin1(row.name)).has_value()) << row.name;
    EXPECT_TRUE(autostart.isEnabled());
}

TEST_F(MainFormTest, Language_SwitchesTheWindowAndTheHintsAtOnce)
{
    TMainForm& f = makeForm();
    QAction* scan = f.ui().action(QStringLiteral("ScanMenuItem"));
    QAction* desk = f.ui().action(QStringLiteral("DeskMenuItem"));
    ASSERT_TRUE(scan && desk);
    EXPECT_EQ(scan->text(), QStringLiteral("S&cannen"));
    const QString germanHint = desk->statusTip();
    EXPECT_FALSE(germanHint.isEmpty());

    QAction* english = nullptr;
    for (QAction* a : f.ui().actionsForHandler(QStringLiteral("GermanMenuItemClick"))) {
        EXPECT_TRUE(a->isEnabled()) << a->property("tag").toInt();  // the file has all five sections
        if (a->property("tag").toInt() == 1)
            english = a;
    }
    ASSERT_NE(english, nullptr);
    english->trigger();
    EXPECT_EQ(f.Options.Language, 1);
    EXPECT_TRUE(english->isChecked());
    EXPECT_NE(scan->text(), QStringLiteral("S&cannen"));
    EXPECT_EQ(scan->text(), LookupEntry(SectionEntries(f.PXMultiLanguage->Script(), QStringLiteral("english")),
                                        QStringLiteral("ScanMenuItem.Caption")));
    EXPECT_NE(desk->statusTip(), germanHint);
    EXPECT_EQ(f.ui().statusPanels[2]->text(), f.Msg(QStringLiteral("statbar_colview")));
    EXPECT_EQ(f.Msg(QStringLiteral("msgdlg_closequery")),
              LookupEntry(SectionEntries(f.PXMultiLanguage->Script(), QStringLiteral("english")),
                          QStringLiteral("msgdlg_closequery")));
}

TEST_F(MainFormTest, Language_WithoutTheFileKeepsTheBuiltInTexts)
{
    QFile::remove(programFile(QStringLiteral("Templates/Languages.lng")));
    writeOption(QStringLiteral("Language"), 1);
    TMainForm& f = makeForm();
    EXPECT_EQ(f.ui().action(QStringLiteral("ScanMenuItem"))->text(), QStringLiteral("S&cannen"));
    EXPECT_TRUE(f.Msg(QStringLiteral("msgdlg_closequery")).isEmpty());
    for (QAction* a : f.ui().actionsForHandler(QStringLiteral("GermanMenuItemClick")))
        EXPECT_EQ(a->isEnabled(), a->property("tag").toInt() < 2);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
