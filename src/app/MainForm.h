#pragma once
// TMainForm: the main window. It owns the current picture, the option record and the
// document state, builds its menus through MainWindowUi, and runs the commands from them.
// Handlers are connected by name; a command whose handler is not connected stays disabled.
#include "app/GuiSettings.h"
#include "app/HistoryList.h"
#include "app/JpgScaleForm.h"
#include "app/MainWindowUi.h"
#include "picture/Picture.h"
#include "picture/UndoStore.h"
#include "picture/ViewModes.h"
#include "app/ProgramOptions.h"
#include "platform/InstanceMessage.h"
#include "platform/Screen.h"

#include <QDate>
#include <QHash>
#include <QImage>
#include <QMainWindow>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QMenu;
class QTemporaryDir;
class QTimer;

namespace px {

class Autostart;
class TMultiLanguage;
class TScanForm;
class TContResizer;
struct PictureMouseEvent;
struct PictureWriteResult;
enum class WriteOccasion;
class ProcessLauncher;
class Registry;
class Screen;
class SoundPlayer;

// The services the main window works with; the program passes the real ones, tests fakes.
struct MainFormServices {
    Registry* registry = nullptr;
    QString registryPath;          // where the hive is written at exit; empty: not written
    Screen* screen = nullptr;
    SoundPlayer* sound = nullptr;
    ProcessLauncher* launcher = nullptr;
    Autostart* autostart = nullptr;
    QString executablePath;        // for the autostart entries
};

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm(const MainFormServices& services, QWidget* parent = nullptr);
    ~TMainForm() override;

    // --- state other parts of the program read and write -------------------------------
    ProgramOptions Options;
    QString CurrentFile;
    bool CurrentFileValid = false;
    UndoStore UndoBitmap;   // the one saved state
    int CaptureDelay = 0;
    QPoint CaptureCursorPos;
    bool CursorPending = false;
    bool HotkeyCapture = false;
    bool HotkeysSuspended = false;
    bool ClosingByCommand = false;
    QDate StatusDate;
    bool FirstShowDone = false;
    int MaximizeToggle = 1;
    QRect RestoreBounds;
    // The recent-files list (newest first), stored under GUI\Recent.
    THistoryList RecentFiles;
    // The fast-save counter: at start the number of bitmaps in the fast-save folder.
    quint16 FastSaveCount = 0;

    // The window's translator and the message text of a key ("" for an unknown key).
    TMultiLanguage* PXMultiLanguage = nullptr;
    QString Msg(const QString& key) const;

    const QImage& picture() const { return document_.image(); }
    const TPicture& document() const { return document_; }
    // A new plain bitmap as the picture (a null image leaves the picture as it was).
    void setPicture(const QImage& image);
    void setDocument(const TPicture& picture);
    void CenterPicture();
    void ApplyNewPicture();
    void UndoMenuItemClick();
    void CopyClick();
    void CutMenuItemClick();
    void PasteToolButtonClick();
    void UpdateCommandEnabling();
    MainWindowUi& ui() { return ui_; }
    bool remoteCaptureAvailable() const { return remoteAppPath_.has_value(); }

    // Messages from other processes (and the internal first-show follow-up).
    void handleInstanceMessage(const InstanceMessage& message);

    // Capture helpers shared with later capture paths.
    void SaveUndoCopy();
    void ResetPictureView();
    void ClearSelection();
    void HideToolWindows(bool show);

    // Commands.
    void ScanClick();
    // The overlay of the interactive capture (tools 0 to 4), created once and reused.
    TScanForm* ScanForm() const { return scanForm_.get(); }
    void DeskMenuItemClick(bool fromTray = false);
    void RemScrMenuItemClick();
    void FernblickMenuItemClick();
    void GermanMenuItemClick(QAction* item);
    void CloseClick();
    void OpenHandedOverFile(const QString& path);
    // Opens a picture file by path; false (with a message) when it could not be read.
    bool OpenPictureFile(const QString& path);
    // Converts the file to a bitmap through the conversion routines (a private temporary BMP)
    // and loads that; false with the message shown when there is no routine or it failed.
    bool OpenAsBitmap(const QString& path, const QString& extension, QImage* bitmap);
    void OpenClick();
    void SaveAsClick(bool withSender);
    void JpgScaleMenuItemClick();

    // After a capture: automatic file creation, fast save, external editor, recent files.
    void AutoFileMenuItemClick();
    // Writes the picture under the automatic name in the "FileTyp" format; false with *error.
    bool AutoSave(QString* error);
    void FastSaveToolButtonClick();
    void PrintScanMenuItemClick();
    void ExtGraphMenuItemClick();
    void ExtGraphHKMenuItemClick();
    // Hands the picture to "ExtGrEdtPath" through a private temporary file; false when it
    // could not be written or the program not started (the user is told).
    bool SendToExternalEditor();
    void ShowFileTypeLabel();
    // Adds a file to the recent-files list and rebuilds its menus.
    void AddRecentFile(const QString& path);
    void RecentPopupMenuPopup();
    void DeleteListMenuItemClick();
    // The folder chooser that stands in for the options dialog's folder page (tests replace it).
    std::function<QString(const QString& title, const QString& folder)> chooseFolder;
    TJpgScaleBMForm* JpgScaleForm() const { return jpgScaleForm_; }
    // The open and Save As dialogs (tests replace them).
    std::function<QString(const QString& title, const QString& folder, const QString& filters)> chooseOpenFile;
    std::function<QString(const QString& title, const QString& proposed, const QString& filters, QString* selectedFilter)>
        chooseSaveFile;

    // Whether the Capture command can run the given tool in this build.
    bool isToolAvailable(int tool) const;
    // Hides/shows the window the way the tray component does (into/out of the tray).
    void hideToTray();
    void showFromTray();

    // Shows a message box (tests replace it to record the texts).
    std::function<void(const QString& text)> showMessage;
    std::function<bool(const QString& text)> askYesNo;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    bool FormCloseQuery();
    void FormClose();
    void connectHandlers();
    void on(const QString& handler, std::function<void(QAction*)> fn);
    void ApplicationIdle();
    void ShowHint(const QString& hint);
    void updateStatusBarHeight();
    void updateCheckMarks();
    void enableHandler(const QString& handler, bool enabled);
    void applyBackgroundColour();
    void showPicture();
    void ShapeMenuItemClick(QAction* item);
    void ScanShapePopupMenuPopup();
    void HandbuchMenuItemClick();
    void ReadmeMenuItemClick();
    void ScriptMenuItemClick();
    void WebMenuItemClick(QAction* item);
    void StatBarMenuItemClick();
    void StandardMenuItemClick(QAction* item);
    void loadBitmapMessage(const QByteArray& bmp);
    std::uint32_t remoteAddOnWindow() const;
    void WinMenuItemClick();
    void StartInteractiveCapture();
    void ScanFormRegionReleased(const QPoint& start, const QPoint& end, const QPoint& release, bool objectMode);
    void ScanFormWindowRequested(const QPoint& pointer);
    void ScanFormCancelled();
    void FinishInteractiveCapture(const QImage& picture);
    QImage windowUnder(const QPoint& point, QPoint* origin);
    void fitWindowToPicture();
    QImage grabWithProgramHidden(int delayMs);
    bool autoFileFolderMissing() const;
    void comeBack(bool fromTray);
    void ToggleViewMode(ViewMode mode);
    void applyViewModes(const ViewModes& before);
    void EnterFocusObject();
    void AttachFocusResizer();
    void LeaveFocusMode();
    void FocObjStretchClick(int tag);
    void ScanImageMouseDown(const PictureMouseEvent& e);
    void ScanImageMouseMove(const PictureMouseEvent& e);
    void GrEdtPopupMenuPopup();
    void setFileTypeLabel(const QString& label);
    void connectPictureHandlers();
    void connectFileHandlers();
    void connectResultHandlers();
    void rebuildRecentMenus();
    void openRecentEntry(const QString& caption);
    // Writes the shown picture as file type `type` to `path`; on success the written file is the
    // current one (and a recent-files entry). A BMP write changes the picture to the written form.
    PictureWriteResult writeDocumentFile(int type, WriteOccasion occasion, const QString& path);
    bool saveCaptureResult(QString* error);
    bool convertShownFileToBitmap();
    QString editorProgram() const;
    void toggleEditorSwitch(const QString& item, bool* option);
    QString fastSaveFolder() const;
    void LoadLanguages();
    void ApplyLanguage();
    void SetCaptureToolHints();
    static bool disableEmptySubmenus(QMenu* menu);
    void magneticMaximize();
    void commitSession();

    MainFormServices services_;
    MainWindowUi ui_;
    TPicture document_;
    QHash<QString, std::function<void(QAction*)>> handlers_;
    std::optional<QString> remoteAppPath_;
    PicEditPalValues picEditPal_;
    std::unique_ptr<TScanForm> scanForm_;
    TContResizer* focusResizer_ = nullptr;
    QMenu* focObjPopupMenu_ = nullptr;
    QMenu* pictureMenu_ = nullptr;          // GrEdtBarPopupMenu, filled the first time it is needed
    bool clipboardHasPicture_ = false;      // asked again only when the clipboard changes
    QPointer<TJpgScaleBMForm> jpgScaleForm_;   // exists at most once, frees itself on close
    CursorImage capturedCursor_;   // the pointer's image when the capture started
    QPoint cursorOrigin_;          // the captured picture's top-left on the primary screen
    QString helpFile_;
    std::unique_ptr<QTemporaryDir> editorFolder_;  // the external editor's files, removed at exit
    QTimer* idleTimer_ = nullptr;
    bool closing_ = false;
    std::array<bool, 7> paletteSwitchedOn_{true, true, true, true, true, true, true};
};

} // namespace px
