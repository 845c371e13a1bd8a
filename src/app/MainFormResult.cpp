// What happens to a picture after a capture: the automatic file creation and its switch, the
// fast save into the "Autosave" folder, the external editor and its switches, the PrintScan
// switch and the file-type label.
#include "app/MainForm.h"

#include "app/FileWriteSettings.h"
#include "capture/AutoFileName.h"
#include "files/FileTypes.h"
#include "files/JpegFile.h"
#include "files/PictureFiles.h"
#include "platform/ProcessLauncher.h"
#include "platform/ProgramFolder.h"

#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTemporaryFile>

namespace px {

namespace {

// Every entry of a folder: files, folders and hidden ones all take part in the naming rules.
QStringList folderEntries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

QString withoutMnemonic(QString caption)
{
    return caption.remove(QLatin1Char('&'));
}

} // namespace

PictureWriteResult TMainForm::writeDocumentFile(int type, WriteOccasion occasion, const QString& path)
{
    const PictureWriteResult written = WritePictureFile(type, document_.image(), BitsOfPixelFormat(document_.pixelFormat()),
                                                        WriteSettingsOf(Options), occasion, path);
    if (!written.ok)
        return written;
    // A BMP write changes the picture itself to the written pixel format.
    if (!written.keptImage.isNull()) {
        TPicture kept;
        kept.setBitmap(written.keptImage, PixelFormatOfBits(written.declaredBits));
        setDocument(kept);
    }
    // The current file and the recent-files entry name the file actually written.
    CurrentFile = path;
    CurrentFileValid = true;
    if (Options.SaveHist)
        AddRecentFile(path);
    return written;
}

void TMainForm::ShowFileTypeLabel()
{
    setFileTypeLabel(FileTypeLabelText(!document_.isEmpty(), Options.PersSave, Options.FileTyp));
}

namespace {

// The options as the naming rules take them: "OutDir" in this system's form, and a folder
// part of "FileName" ("sub\\Scan") moved into it, so that the folder listed is the folder the
// file goes to and a taken name is seen there.
ProgramOptions namingOptions(const ProgramOptions& options)
{
    ProgramOptions naming = options;
    const QString joined = pathJoin(nativePath(options.OutDir), options.FileName);
    const qsizetype cut = joined.lastIndexOf(QLatin1Char('/'));
    naming.OutDir = cut >= 0 ? joined.left(cut + 1) : nativePath(options.OutDir);
    naming.FileName = cut >= 0 ? joined.mid(cut + 1) : options.FileName;
    return naming;
}

} // namespace

bool TMainForm::AutoSave(QString* error)
{
    const ProgramOptions naming = namingOptions(Options);
    const QString path = AutoSaveFileName(naming, folderEntries(naming.OutDir), QDateTime::currentDateTime(),
                                          StampFormats::forLocale(QLocale::system()));
    const PictureWriteResult written = writeDocumentFile(Options.FileTyp, WriteOccasion::AutoSave, path);
    if (!written.ok) {
        *error = written.error;
        return false;
    }
    return true;
}

bool TMainForm::saveCaptureResult(QString* error)
{
    // The manual-input mode asks for the name; the dialog reports its own errors.
    if (!Options.IsAutoincFileName && !Options.IsDateTimeToFile) {
        SaveAsClick(true);
        return true;
    }
    return AutoSave(error);
}

void TMainForm::AutoFileMenuItemClick()
{
    if (QFileInfo(nativePath(Options.OutDir)).isDir()) {
        Options.PersSave = !Options.PersSave;
    } else if (askYesNo(Msg(QStringLiteral("msgdlg_mistake_fastactivate_for_autofilecreate")))) {
        // The output folder is chosen here until the options dialog offers its page.
        QAction* item = ui_.action(QStringLiteral("AutoFileMenuItem"));
        const QString folder = chooseFolder(item ? withoutMnemonic(item->text()) : QString(), QDir::homePath());
        if (!folder.isEmpty() && QFileInfo(folder).isDir()) {
            Options.OutDir = folder;
            Options.PersSave = true;
        }
    }
    updateCheckMarks();
}

QString TMainForm::fastSaveFolder() const
{
    return writableProgramFolder(QStringLiteral("Autosave"));
}

bool TMainForm::convertShownFileToBitmap()
{
    // A graphic shown in its own format becomes a bitmap when the user agrees. The pixels
    // come from the picture itself; a JPEG shown scaled is decoded again at full size.
    if (!askYesNo(Msg(QStringLiteral("msgdlg_file_convert"))))
        return false;
    QImage bitmap = document_.image();
    if (document_.kind() == GraphicKind::Jpeg) {
        const JpegReadResult full = ReadJpeg(document_.originalBytes());
        if (!full.error.isEmpty()) {
            showMessage(Msg(QStringLiteral("showmsg_error_convert")) + full.error);
            return false;
        }
        bitmap = full.image;
    }
    if (!document_.setBitmap(bitmap))
        return false;
    showPicture();
    const QString label = ui_.statusPanels[6]->text();
    setFileTypeLabel(QStringLiteral("|bmp| - ") + (label.startsWith(QLatin1String("|bmp|")) ? QStringLiteral("bmp") : label));
    return true;
}

void TMainForm::FastSaveToolButtonClick()
{
    if (document_.isEmpty())
        return;
    // A graphic shown in its own format must become a bitmap first. The save runs again only
    // after a conversion, which leaves a bitmap, so declining cannot loop.
    if (!document_.isEditable()) {
        showMessage(Msg(QStringLiteral("showmsg_make_first_tmp_bmp")));
        if (convertShownFileToBitmap())
            FastSaveToolButtonClick();
        return;
    }
    // "OutDir" and "FileName" are never touched: the fast save names its file itself.
    const QString folder = fastSaveFolder();
    if (!QDir().mkpath(folder)) {
        showMessage(Msg(QStringLiteral("showmsg_autosave_cannt_create_call_admin")));
        return;
    }
    const std::optional<QString> name = NextFastSaveName(FastSaveCount, folderEntries(folder));
    if (!name) {
        showMessage(Msg(QStringLiteral("showmsg_autosave_cannt_create_call_admin")));
        return;
    }
    const QString path = pathJoin(folder, *name);
    const PictureWriteResult written = writeDocumentFile(0, WriteOccasion::SaveAs, path);
    if (!written.ok) {
        showMessage(Msg(QStringLiteral("showmsg_except_no_storage")) + written.error);
        return;
    }
    setFileTypeLabel(QStringLiteral("bmp"));
}

void TMainForm::PrintScanMenuItemClick()
{
    Options.PrintScan = !Options.PrintScan;
    updateCheckMarks();
}

QString TMainForm::editorProgram() const
{
    // "ExtGrEdtPath" names the program: a path, or a command found on the search path.
    const QString configured = Options.ExtGrEdtPath.trimmed();
    if (configured.isEmpty())
        return QString();
    const QFileInfo info(nativePath(configured));
    if (configured.contains(QLatin1Char('/')) || configured.contains(QLatin1Char('\\')))
        return info.isFile() && info.isExecutable() ? info.absoluteFilePath() : QString();
    return QStandardPaths::findExecutable(configured);
}

void TMainForm::toggleEditorSwitch(const QString& item, bool* option)
{
    QAction* action = ui_.action(item);
    const bool wanted = !*option;
    if (wanted && editorProgram().isEmpty()) {
        // The program is chosen here until the options dialog offers its editor page.
        const QString chosen = chooseOpenFile(action ? withoutMnemonic(action->text()) : QString(),
                                              QStringLiteral("/usr/bin"), QString());
        if (!chosen.isEmpty())
            Options.ExtGrEdtPath = chosen;
    }
    *option = wanted && !editorProgram().isEmpty();
    updateCheckMarks();
}

void TMainForm::ExtGraphMenuItemClick()
{
    toggleEditorSwitch(QStringLiteral("ExtGraphMenuItem"), &Options.ExtGrafikEditor);
}

void TMainForm::ExtGraphHKMenuItemClick()
{
    toggleEditorSwitch(QStringLiteral("ExtGraphHKMenuItem"), &Options.HotkeyOutputExtern);
}

bool TMainForm::SendToExternalEditor()
{
    const QString program = editorProgram();
    if (program.isEmpty() || document_.isEmpty())
        return false;
    // Each picture gets its own file in a folder only this user can read; the editor may
    // still be reading it after we return, so the folder goes when the program ends.
    if (!editorFolder_ || !editorFolder_->isValid())
        editorFolder_ = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/pixmora-editor-XXXXXX"));
    QTemporaryFile file(editorFolder_->path() + QStringLiteral("/PX_TmpPic_XXXXXX.bmp"));
    file.setAutoRemove(false);
    if (!editorFolder_->isValid() || !file.open()) {
        showMessage(Msg(QStringLiteral("showmsg_except_no_storage")) + file.errorString());
        return false;
    }
    const QString path = file.fileName();
    file.close();
    const PictureWriteResult written = WritePictureFile(0, document_.image(), 0, PictureWriteSettings{},
                                                        WriteOccasion::SaveAs, path);
    if (!written.ok) {
        showMessage(Msg(QStringLiteral("showmsg_except_no_storage")) + written.error);
        return false;
    }
    // An argument list, not a command line: blanks and quotes in either path are harmless.
    if (!services_.launcher->start(program, {path})) {
        showMessage(Msg(QStringLiteral("showmsg_excecpt")) + program);
        return false;
    }
    return true;
}

void TMainForm::connectResultHandlers()
{
    on(QStringLiteral("AutoFileMenuItemClick"), [this](QAction*) { AutoFileMenuItemClick(); });
    on(QStringLiteral("FastSaveToolButtonClick"), [this](QAction*) { FastSaveToolButtonClick(); });
    on(QStringLiteral("PrintScanMenuItemClick"), [this](QAction*) { PrintScanMenuItemClick(); });
    on(QStringLiteral("ExtGraphMenuItemClick"), [this](QAction*) { ExtGraphMenuItemClick(); });
    on(QStringLiteral("ExtGraphHKMenuItemClick"), [this](QAction*) { ExtGraphHKMenuItemClick(); });
    chooseFolder = [this](const QString& title, const QString& folder) {
        return QFileDialog::getExistingDirectory(this, title, folder);
    };
    FastSaveCount = FastSaveCounterStart(folderEntries(fastSaveFolder()));
}

} // namespace px
