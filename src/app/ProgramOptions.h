#pragma once
// ProgramOptions: the in-memory record of the registry key Options, one member per value,
// each member named exactly after its value ("ScanTool", "ScanDelay", "PersSave", ...).
// One table (OptionTable) ties every value to its registry type, its default and its member;
// loading, saving, defaults and the options dialog all read that table.
//
// Loading keeps what is stored: values outside the range a setting uses (a "ScanTool" of 99,
// a "BackColr" of 50, a negative "ScanDelay") are not clamped here. The code that uses a value
// decides what an out-of-range value means there, the way the program always has.
#include "platform/Registry.h"

#include <QByteArray>
#include <QString>
#include <variant>
#include <vector>

namespace px {

// "ImgPath" starts in the user's home folder (native separators, trailing separator).
QString defaultImagePath();

// Number of per-file-type bytes in "ShellExtAr".
constexpr int kShellExtArSize = 9;

struct ProgramOptions {
    // Capture and automatic file creation
    bool PersSave = false;
    QString OutDir;
    QString FileName;
    int FileTyp = 0;
    bool IsAutoincFileName = true;
    bool IsDateTimeToFile = false;
    bool IsManualInputFile = false;
    bool SaveHist = true;
    bool ScanToClipboard = false;
    int ScanTool = 0;
    int ScanDelay = 240;
    int ShapeColorBg = 1;
    bool FilledShape = false;
    int SBorder = 0;
    int SBForce = 0;
    bool SCross = true;
    bool Loupe = true;
    int LFaktor = 1;
    bool CursorHint = true;
    bool ImgWithMouse = false;
    bool MinAScan = false;
    bool AutoWinSize = false;
    bool AutoWinCenter = false;
    bool PrintScan = false;
    bool ScanSound = true;
    int SoundFileNr = 1;
    bool ExtGrafikEditor = false;
    QString ExtGrEdtPath;
    bool HotkeyOutputExtern = false;
    bool PXVisAScan = false;
    int ScanDest = 0;
    int ScanPerSec = 0;
    int TimeScanCount = 5;

    // Hotkeys and tray
    int HK1 = 0;
    int HK2 = 2;
    int HK3 = 3;
    int HK4 = 4;
    int HK5 = 5;
    int HK6 = 1;
    bool SysKeys = true;
    int HotkeyCursor = 1;
    bool WithPixmoraWin = false;
    bool TnaUse = true;
    bool TrayStart = false;
    bool AnimMin = false;
    int AnimCount = 1;
    bool AutoSysStart = false;
    bool Intro = false;
    bool EndDlg = true;
    int Language = 0;

    // Main window and view
    bool StatBar = true;
    bool OnceCellStatbar = false;
    bool StatBarHints = true;
    bool ControlHints = true;
    bool XPMenStyle = false;
    bool XPContrStyle = false;
    int BackColr = 1;
    bool DocCenter = false;
    bool Stretch = false;
    bool FocusMode = false;
    bool Trans = false;
    bool CoordHint = false;
    bool FSClosedClick = false;

    // File formats
    bool OAsBmp = true;
    int BmpPixForm = 6;
    bool BmpMonochrome = false;
    int JpgPixelFormat = 0;
    int JpgColr = 0;
    int JpgPerformance = 0;
    bool JpgEncoding = false;
    bool JpgIncDisplay = false;
    bool JpgCompress = false;
    int GifComp = 0;
    int GifDith = 0;
    int GifColOpt = 0;

    // Explorers, viewer, text search, scripts
    bool FileExp = true;
    bool MagneticFE = true;
    bool ShowOnlyGraphTypes = false;
    bool ExpDimParts = true;
    int VType = 0;
    QString ImgPath = defaultImagePath();
    QString ExtProgPath;
    bool DelLastTextscanResult = false;
    bool CtrlScanInStatbar = false;
    QString Script;

    // Printing
    QString PrintText;
    QString PrTextFont = QStringLiteral("Arial");
    int PrTextGrFont = 10;
    bool PrintDate = false;
    bool PrintTime = false;
    bool PrintUser = false;
    int PrPrintDocAlign = 0;
    int PrGraphicAlign = 0;
    int PrGrBorderWidth = 1;
    int PrPrinterIndex = 0;
    bool PrPrevMaxStart = true;

    // Text insertion and cropping lines
    int TxtPenWidth = 10;
    int TxtPenColr = 2;
    QString FontName = QStringLiteral("MS Sans Serif");
    int CRLineWidth = 1;
    int CRLineColr = 2;
    bool CRDotLine = true;

    // Screen recording
    QString TmpAviPath;
    bool TmpAviDel = true;
    int AviFrameInit = 1;
    int AviFramePerSec = 10;
    int AviTimerIntrv = 1000;
    int VdoPixVal = 1;
    bool MoveGrabber = false;
    bool AviStretch = false;
    bool NoAviTimerSound = false;
    bool AVICopyDir = false;
    QString AviCopyPath;

    // Mail
    int MailService = 0;
    bool GraphicAsAttach = true;
    bool AttachDir = false;
    int AttachType = 1;
    QString SmtpHost;
    QString SmtpUserID;
    QString SmtpMailFrom;
    QString SmtpMailTo;
    QString SmtpCopy;
    QString SmtpBCopy;
    QString SmtpBody;
    QString SmtpSubject;
    QString MapiMailTo = QStringLiteral("info@pixmora.example");
    QString MapiSubject = QStringLiteral("Pixmora 5.0 - Screenshot");
    QString MapiBody = QStringLiteral("Guten Tag,");

    // Shell integration
    bool IEShellEntrys = true;
    QString GUID;
    QByteArray ShellExtAr = QByteArray(kShellExtArSize, '\0');

    bool operator==(const ProgramOptions&) const = default;
};

enum class OptionType { Bool, Int, Str, Bin };

struct OptionRow {
    const char* name;
    OptionType type;
    std::variant<bool ProgramOptions::*, int ProgramOptions::*, QString ProgramOptions::*,
                 QByteArray ProgramOptions::*> member;
    std::variant<bool, int, QString, QByteArray> defaultValue;
    bool writtenSeparately = false;  // "Loupe", "Stretch", "DocCenter", "FocusMode", "Trans"
};

const std::vector<OptionRow>& OptionTable();
// The row of a value name (compared without regard to case, like the registry); nullptr if none.
const OptionRow* findOption(const QString& name);

// Sets one member of the record to the default its row names.
void resetOption(ProgramOptions& options, const OptionRow& row);

// The record a first start begins with.
ProgramOptions DefaultOptions();

inline QString optionsKey() { return kProgramKey + QStringLiteral("\\Options"); }

struct OptionsLoadResult {
    ProgramOptions options;
    bool keyExisted = false;
};
// Reads every value of the table, the five view values included. Without the key every value
// has its default. A value missing from an existing key, or stored with another registry type,
// keeps its own default. Bool: any non-zero DWORD is true. Int: the DWORD read as a signed
// 32-bit number. "ShellExtAr": up to its first 9 bytes replace the default bytes.
// Never creates the key.
OptionsLoadResult LoadOptions(const Registry& registry);
// Writes every value except the five written one by one at exit (creating the key if needed).
// Bool as DWORD 0/1, Int as the DWORD of its two's complement, "ShellExtAr" as exactly 9 bytes.
void SaveOptions(Registry& registry, const ProgramOptions& options);
// One boolean value into Options (created if missing). Refuses, with false and *error, a name
// that is not a Bool value of the table, so a stray call cannot overwrite a number or a text
// with 0/1. The in-memory store takes every other write; a failure to write the settings file
// is reported where that file is saved.
bool WriteOptionValue(Registry& registry, const QString& name, bool flag, QString* error = nullptr);

} // namespace px
