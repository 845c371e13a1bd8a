#include "app/ProgramOptions.h"

#include <QDir>

namespace px {

QString defaultImagePath()
{
    QString home = QDir::toNativeSeparators(QDir::homePath());
    if (!home.endsWith(QDir::separator()))
        home += QDir::separator();
    return home;
}

namespace {

OptionRow boolOption(const char* name, bool ProgramOptions::*member, bool def)
{
    return OptionRow{name, OptionType::Bool, member, def};
}

// The view values the main window writes one by one at exit; SaveOptions leaves them alone.
OptionRow separateBool(const char* name, bool ProgramOptions::*member, bool def)
{
    return OptionRow{name, OptionType::Bool, member, def, true};
}

OptionRow intOption(const char* name, int ProgramOptions::*member, int def)
{
    return OptionRow{name, OptionType::Int, member, def};
}

OptionRow strOption(const char* name, QString ProgramOptions::*member, const QString& def = {})
{
    return OptionRow{name, OptionType::Str, member, def};
}

OptionRow binOption(const char* name, QByteArray ProgramOptions::*member, const QByteArray& def)
{
    return OptionRow{name, OptionType::Bin, member, def};
}

std::vector<OptionRow> buildTable()
{
    return {
        boolOption("PersSave", &ProgramOptions::PersSave, false),
        strOption("OutDir", &ProgramOptions::OutDir),
        strOption("FileName", &ProgramOptions::FileName),
        intOption("FileTyp", &ProgramOptions::FileTyp, 0),
        boolOption("IsAutoincFileName", &ProgramOptions::IsAutoincFileName, true),
        boolOption("IsDateTimeToFile", &ProgramOptions::IsDateTimeToFile, false),
        boolOption("IsManualInputFile", &ProgramOptions::IsManualInputFile, false),
        boolOption("SaveHist", &ProgramOptions::SaveHist, true),
        boolOption("ScanToClipboard", &ProgramOptions::ScanToClipboard, false),
        intOption("ScanTool", &ProgramOptions::ScanTool, 0),
        intOption("ScanDelay", &ProgramOptions::ScanDelay, 240),
        intOption("ShapeColorBg", &ProgramOptions::ShapeColorBg, 1),
        boolOption("FilledShape", &ProgramOptions::FilledShape, false),
        intOption("SBorder", &ProgramOptions::SBorder, 0),
        intOption("SBForce", &ProgramOptions::SBForce, 0),
        boolOption("SCross", &ProgramOptions::SCross, true),
        separateBool("Loupe", &ProgramOptions::Loupe, true),
        intOption("LFaktor", &ProgramOptions::LFaktor, 1),
        boolOption("CursorHint", &ProgramOptions::CursorHint, true),
        boolOption("ImgWithMouse", &ProgramOptions::ImgWithMouse, false),
        boolOption("MinAScan", &ProgramOptions::MinAScan, false),
        boolOption("AutoWinSize", &ProgramOptions::AutoWinSize, false),
        boolOption("AutoWinCenter", &ProgramOptions::AutoWinCenter, false),
        boolOption("PrintScan", &ProgramOptions::PrintScan, false),
        boolOption("ScanSound", &ProgramOptions::ScanSound, true),
        intOption("SoundFileNr", &ProgramOptions::SoundFileNr, 1),
        boolOption("ExtGrafikEditor", &ProgramOptions::ExtGrafikEditor, false),
        strOption("ExtGrEdtPath", &ProgramOptions::ExtGrEdtPath),
        boolOption("HotkeyOutputExtern", &ProgramOptions::HotkeyOutputExtern, false),
        boolOption("PXVisAScan", &ProgramOptions::PXVisAScan, false),
        intOption("ScanDest", &ProgramOptions::ScanDest, 0),
        intOption("ScanPerSec", &ProgramOptions::ScanPerSec, 0),
        intOption("TimeScanCount", &ProgramOptions::TimeScanCount, 5),
        intOption("HK1", &ProgramOptions::HK1, 0),
        intOption("HK2", &ProgramOptions::HK2, 2),
        intOption("HK3", &ProgramOptions::HK3, 3),
        intOption("HK4", &ProgramOptions::HK4, 4),
        intOption("HK5", &ProgramOptions::HK5, 5),
        intOption("HK6", &ProgramOptions::HK6, 1),
        boolOption("SysKeys", &ProgramOptions::SysKeys, true),
        intOption("HotkeyCursor", &ProgramOptions::HotkeyCursor, 1),
        boolOption("WithPixmoraWin", &ProgramOptions::WithPixmoraWin, false),
        boolOption("TnaUse", &ProgramOptions::TnaUse, true),
        boolOption("TrayStart", &ProgramOptions::TrayStart, false),
        boolOption("AnimMin", &ProgramOptions::AnimMin, false),
        intOption("AnimCount", &ProgramOptions::AnimCount, 1),
        boolOption("AutoSysStart", &ProgramOptions::AutoSysStart, false),
        boolOption("Intro", &ProgramOptions::Intro, false),
        boolOption("EndDlg", &ProgramOptions::EndDlg, true),
        intOption("Language", &ProgramOptions::Language, 0),
        boolOption("StatBar", &ProgramOptions::StatBar, true),
        boolOption("OnceCellStatbar", &ProgramOptions::OnceCellStatbar, false),
        boolOption("StatBarHints", &ProgramOptions::StatBarHints, true),
        boolOption("ControlHints", &ProgramOptions::ControlHints, true),
        boolOption("XPMenStyle", &ProgramOptions::XPMenStyle, false),
        boolOption("XPContrStyle", &ProgramOptions::XPContrStyle, false),
        intOption("BackColr", &ProgramOptions::BackColr, 1),
        separateBool("DocCenter", &ProgramOptions::DocCenter, false),
        separateBool("Stretch", &ProgramOptions::Stretch, false),
        separateBool("FocusMode", &ProgramOptions::FocusMode, false),
        separateBool("Trans", &ProgramOptions::Trans, false),
        boolOption("CoordHint", &ProgramOptions::CoordHint, false),
        boolOption("FSClosedClick", &ProgramOptions::FSClosedClick, false),
        boolOption("OAsBmp", &ProgramOptions::OAsBmp, true),
        intOption("BmpPixForm", &ProgramOptions::BmpPixForm, 6),
        boolOption("BmpMonochrome", &ProgramOptions::BmpMonochrome, false),
        intOption("JpgPixelFormat", &ProgramOptions::JpgPixelFormat, 0),
        intOption("JpgColr", &ProgramOptions::JpgColr, 0),
        intOption("JpgPerformance", &ProgramOptions::JpgPerformance, 0),
        boolOption("JpgEncoding", &ProgramOptions::JpgEncoding, false),
        boolOption("JpgIncDisplay", &ProgramOptions::JpgIncDisplay, false),
        boolOption("JpgCompress", &ProgramOptions::JpgCompress, false),
        intOption("GifComp", &ProgramOptions::GifComp, 0),
        intOption("GifDith", &ProgramOptions::GifDith, 0),
        intOption("GifColOpt", &ProgramOptions::GifColOpt, 0),
        boolOption("FileExp", &ProgramOptions::FileExp, true),
        boolOption("MagneticFE", &ProgramOptions::MagneticFE, true),
        boolOption("ShowOnlyGraphTypes", &ProgramOptions::ShowOnlyGraphTypes, false),
        boolOption("ExpDimParts", &ProgramOptions::ExpDimParts, true),
        intOption("VType", &ProgramOptions::VType, 0),
        strOption("ImgPath", &ProgramOptions::ImgPath, defaultImagePath()),
        strOption("ExtProgPath", &ProgramOptions::ExtProgPath),
        boolOption("DelLastTextscanResult", &ProgramOptions::DelLastTextscanResult, false),
        boolOption("CtrlScanInStatbar", &ProgramOptions::CtrlScanInStatbar, false),
        strOption("Script", &ProgramOptions::Script),
        strOption("PrintText", &ProgramOptions::PrintText),
        strOption("PrTextFont", &ProgramOptions::PrTextFont, QStringLiteral("Arial")),
        intOption("PrTextGrFont", &ProgramOptions::PrTextGrFont, 10),
        boolOption("PrintDate", &ProgramOptions::PrintDate, false),
        boolOption("PrintTime", &ProgramOptions::PrintTime, false),
        boolOption("PrintUser", &ProgramOptions::PrintUser, false),
        intOption("PrPrintDocAlign", &ProgramOptions::PrPrintDocAlign, 0),
        intOption("PrGraphicAlign", &ProgramOptions::PrGraphicAlign, 0),
        intOption("PrGrBorderWidth", &ProgramOptions::PrGrBorderWidth, 1),
        intOption("PrPrinterIndex", &ProgramOptions::PrPrinterIndex, 0),
        boolOption("PrPrevMaxStart", &ProgramOptions::PrPrevMaxStart, true),
        intOption("TxtPenWidth", &ProgramOptions::TxtPenWidth, 10),
        intOption("TxtPenColr", &ProgramOptions::TxtPenColr, 2),
        strOption("FontName", &ProgramOptions::FontName, QStringLiteral("MS Sans Serif")),
        intOption("CRLineWidth", &ProgramOptions::CRLineWidth, 1),
        intOption("CRLineColr", &ProgramOptions::CRLineColr, 2),
        boolOption("CRDotLine", &ProgramOptions::CRDotLine, true),
        strOption("TmpAviPath", &ProgramOptions::TmpAviPath),
        boolOption("TmpAviDel", &ProgramOptions::TmpAviDel, true),
        intOption("AviFrameInit", &ProgramOptions::AviFrameInit, 1),
        intOption("AviFramePerSec", &ProgramOptions::AviFramePerSec, 10),
        intOption("AviTimerIntrv", &ProgramOptions::AviTimerIntrv, 1000),
        intOption("VdoPixVal", &ProgramOptions::VdoPixVal, 1),
        boolOption("MoveGrabber", &ProgramOptions::MoveGrabber, false),
        boolOption("AviStretch", &ProgramOptions::AviStretch, false),
        boolOption("NoAviTimerSound", &ProgramOptions::NoAviTimerSound, false),
        boolOption("AVICopyDir", &ProgramOptions::AVICopyDir, false),
        strOption("AviCopyPath", &ProgramOptions::AviCopyPath),
        intOption("MailService", &ProgramOptions::MailService, 0),
        boolOption("GraphicAsAttach", &ProgramOptions::GraphicAsAttach, true),
        boolOption("AttachDir", &ProgramOptions::AttachDir, false),
        intOption("AttachType", &ProgramOptions::AttachType, 1),
        strOption("SmtpHost", &ProgramOptions::SmtpHost),
        strOption("SmtpUserID", &ProgramOptions::SmtpUserID),
        strOption("SmtpMailFrom", &ProgramOptions::SmtpMailFrom),
        strOption("SmtpMailTo", &ProgramOptions::SmtpMailTo),
        strOption("SmtpCopy", &ProgramOptions::SmtpCopy),
        strOption("SmtpBCopy", &ProgramOptions::SmtpBCopy),
        strOption("SmtpBody", &ProgramOptions::SmtpBody),
        strOption("SmtpSubject", &ProgramOptions::SmtpSubject),
        strOption("MapiMailTo", &ProgramOptions::MapiMailTo, QStringLiteral("info@pixmora.example")),
        strOption("MapiSubject", &ProgramOptions::MapiSubject, QStringLiteral("Pixmora 5.0 - Screenshot")),
        strOption("MapiBody", &ProgramOptions::MapiBody, QStringLiteral("Guten Tag,")),
        boolOption("IEShellEntrys", &ProgramOptions::IEShellEntrys, true),
        strOption("GUID", &ProgramOptions::GUID),
        binOption("ShellExtAr", &ProgramOptions::ShellExtAr, QByteArray(kShellExtArSize, '\0')),
    };
}

// "ShellExtAr" is always stored as exactly its nine bytes.
QByteArray fixedShellExtAr(const QByteArray& bytes)
{
    QByteArray out = bytes.left(kShellExtArSize);
    if (out.size() < kShellExtArSize)
        out.append(QByteArray(kShellExtArSize - out.size(), '\0'));
    return out;
}

// Reads one value into the record; a missing value or one of another registry type leaves
// the member as it is.
void readOption(const Registry& registry, const QString& key, const OptionRow& row,
                ProgramOptions& options)
{
    const std::optional<RegValue> stored = registry.value(key, QString::fromLatin1(row.name));
    if (!stored)
        return;
    switch (row.type) {
    case OptionType::Bool:
        if (stored->type == RegType::Dword)
            options.*std::get<bool ProgramOptions::*>(row.member) = stored->dword != 0;
        break;
    case OptionType::Int:
        if (stored->type == RegType::Dword)
            options.*std::get<int ProgramOptions::*>(row.member) = qint32(stored->dword);
        break;
    case OptionType::Str:
        if (stored->type == RegType::String)
            options.*std::get<QString ProgramOptions::*>(row.member) = stored->text;
        break;
    case OptionType::Bin:
        if (stored->type == RegType::Binary) {
            QByteArray& target = options.*std::get<QByteArray ProgramOptions::*>(row.member);
            const QByteArray head = stored->bytes.left(kShellExtArSize);
            target = fixedShellExtAr(target);
            target.replace(0, head.size(), head);
        }
        break;
    }
}

void writeOption(Registry& registry, const QString& key, const OptionRow& row,
                 const ProgramOptions& options)
{
    const QString name = QString::fromLatin1(row.name);
    switch (row.type) {
    case OptionType::Bool:
        registry.setValue(key, name,
                          RegValue::fromDword(options.*std::get<bool ProgramOptions::*>(row.member) ? 1u : 0u));
        break;
    case OptionType::Int:
        registry.setValue(key, name,
                          RegValue::fromDword(quint32(options.*std::get<int ProgramOptions::*>(row.member))));
        break;
    case OptionType::Str:
        registry.setValue(key, name,
                          RegValue::fromString(options.*std::get<QString ProgramOptions::*>(row.member)));
        break;
    case OptionType::Bin:
        registry.setValue(key, name, RegValue::fromBinary(fixedShellExtAr(
                                         options.*std::get<QByteArray ProgramOptions::*>(row.member))));
        break;
    }
}

} // namespace

const std::vector<OptionRow>& OptionTable()
{
    static const std::vector<OptionRow> table = buildTable();
    return table;
}

const OptionRow* findOption(const QString& name)
{
    for (const OptionRow& row : OptionTable()) {
        if (name.compare(QLatin1String(row.name), Qt::CaseInsensitive) == 0)
            return &row;
    }
    return nullptr;
}

void resetOption(ProgramOptions& options, const OptionRow& row)
{
    std::visit(
        [&](auto member) {
            using Value = std::remove_reference_t<decltype(options.*member)>;
            options.*member = std::get<Value>(row.defaultValue);
        },
        row.member);
}

ProgramOptions DefaultOptions()
{
    ProgramOptions options;
    for (const OptionRow& row : OptionTable())
        resetOption(options, row);
    return options;
}

OptionsLoadResult LoadOptions(const Registry& registry)
{
    OptionsLoadResult result;
    result.options = DefaultOptions();
    const QString key = optionsKey();
    if (!registry.keyExists(key))
        return result;
    result.keyExisted = true;
    for (const OptionRow& row : OptionTable())
        readOption(registry, key, row, result.options);
    return result;
}

void SaveOptions(Registry& registry, const ProgramOptions& options)
{
    const QString key = optionsKey();
    registry.createKey(key);
    for (const OptionRow& row : OptionTable()) {
        if (!row.writtenSeparately)
            writeOption(registry, key, row, options);
    }
}

bool WriteOptionValue(Registry& registry, const QString& name, bool flag, QString* error)
{
    const OptionRow* row = findOption(name);
    if (!row || row->type != OptionType::Bool) {
        if (error)
            *error = QStringLiteral("\"%1\" is not a yes/no value of Options").arg(name);
        return false;
    }
    registry.setValue(optionsKey(), QString::fromLatin1(row->name), RegValue::fromDword(flag ? 1u : 0u));
    return true;
}

} // namespace px
