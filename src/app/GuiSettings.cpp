#include "app/GuiSettings.h"

#include "app/ProgramOptions.h"
#include "platform/ProgramFolder.h"

namespace px {

namespace {

std::optional<quint32> readDword(const Registry& registry, const QString& key, const QString& name)
{
    const std::optional<RegValue> v = registry.value(key, name);
    if (!v || v->type != RegType::Dword)
        return std::nullopt;
    return v->dword;
}

struct LogValueNames {
    QString flag;
    QString path;
};

LogValueNames logValueNames(BatchLog dialog)
{
    QString prefix;
    switch (dialog) {
    case BatchLog::SelectionConversion: prefix = QStringLiteral("MC"); break;
    case BatchLog::FolderConversion: prefix = QStringLiteral("DC"); break;
    case BatchLog::Thumbnails: prefix = QStringLiteral("TC"); break;
    case BatchLog::FileConversion: prefix = QStringLiteral("FC"); break;
    }
    return {prefix + QStringLiteral("LogFile"), prefix + QStringLiteral("LogFilePath")};
}

} // namespace

PicEditPalValues LoadPicEditPal(const Registry& registry)
{
    PicEditPalValues values;
    const QString key = picEditPalKey();
    if (const auto v = readDword(registry, key, QStringLiteral("Antialiasing")))
        values.Antialiasing = qint32(*v);
    if (const auto v = readDword(registry, key, QStringLiteral("Scaling")))
        values.Scaling = qint32(*v);
    if (const auto v = readDword(registry, key, QStringLiteral("Marker")))
        values.Marker = qint32(*v);
    return values;
}

void SavePicEditPal(Registry& registry, const PicEditPalValues& values)
{
    const QString key = picEditPalKey();
    registry.setValue(key, QStringLiteral("Antialiasing"), RegValue::fromDword(quint32(values.Antialiasing)));
    registry.setValue(key, QStringLiteral("Scaling"), RegValue::fromDword(quint32(values.Scaling)));
    registry.setValue(key, QStringLiteral("Marker"), RegValue::fromDword(quint32(values.Marker)));
}

BatchLogSetting LoadBatchLog(const Registry& registry, BatchLog dialog)
{
    const LogValueNames names = logValueNames(dialog);
    BatchLogSetting setting;
    if (const std::optional<RegValue> path = registry.value(logKey(), names.path);
        path && path->type == RegType::String)
        setting.path = path->text;
    if (setting.path.isEmpty())
        return {false, programFolder()};
    if (const auto flag = readDword(registry, logKey(), names.flag))
        setting.enabled = *flag != 0;
    return setting;
}

void SaveBatchLog(Registry& registry, BatchLog dialog, const BatchLogSetting& setting)
{
    const LogValueNames names = logValueNames(dialog);
    registry.setValue(logKey(), names.flag, RegValue::fromDword(setting.enabled ? 1u : 0u));
    registry.setValue(logKey(), names.path, RegValue::fromString(setting.path));
}

bool ReadIntroFlag(const Registry& registry)
{
    const auto v = readDword(registry, optionsKey(), QStringLiteral("Intro"));
    return v && *v != 0;
}

std::optional<QString> RemoteScanAppPath(const IniFile& px5)
{
    const QString section = QStringLiteral("PX_RemoteScan");
    const QString key = QStringLiteral("AppPath");
    if (!px5.hasKey(section, key))
        return std::nullopt;
    return px5.readString(section, key);
}

} // namespace px
