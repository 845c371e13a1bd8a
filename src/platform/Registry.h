#pragma once
// The program's typed key/value store. Keys are backslash-separated paths below
// HKEY_CURRENT_USER (for example "Software\Orlek\Pixmora\5.0\Options"), compared without
// regard to case like the Windows registry; value names likewise. The hive lives in memory;
// RegistryFile (RegFile.h) reads and writes it in the REGEDIT4 text format.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <map>
#include <optional>
#include <utility>
#include <vector>

namespace px {

// The key all of the program's settings live under.
inline const QString kProgramKey = QStringLiteral("Software\\Orlek\\Pixmora\\5.0");

enum class RegType {
    Dword,   // dword:xxxxxxxx — Bool and Int options
    String,  // "..."          — Str options
    Binary,  // hex:..         — Bin options
    Other,   // hex(n):..      — kept as raw bytes with its type number so it round-trips
};

struct RegValue {
    RegType type = RegType::String;
    quint32 dword = 0;
    QString text;
    QByteArray bytes;     // Binary and Other
    int otherType = 0;    // the n of hex(n): for Other

    static RegValue fromDword(quint32 v);
    static RegValue fromString(const QString& s);
    static RegValue fromBinary(const QByteArray& b);
    bool operator==(const RegValue&) const = default;
};

class Registry {
public:
    bool keyExists(const QString& key) const;
    // Creates the key and every missing parent.
    void createKey(const QString& key);
    // Removes the key with its values and subkeys; false when it did not exist.
    bool deleteKey(const QString& key);

    std::optional<RegValue> value(const QString& key, const QString& name) const;
    // Creates the key when missing.
    void setValue(const QString& key, const QString& name, const RegValue& v);
    bool deleteValue(const QString& key, const QString& name);
    QStringList valueNames(const QString& key) const;   // in insertion order
    QStringList subKeys(const QString& key) const;      // direct children, as spelled when created
    QStringList allKeys() const;                        // every key, parents before children

    // Typed reads: nullopt when the value is missing or of another type.
    std::optional<bool> readBool(const QString& key, const QString& name) const;
    std::optional<qint32> readInteger(const QString& key, const QString& name) const;
    std::optional<QString> readString(const QString& key, const QString& name) const;
    std::optional<QByteArray> readBinary(const QString& key, const QString& name) const;

    void writeBool(const QString& key, const QString& name, bool v);
    void writeInteger(const QString& key, const QString& name, qint32 v);
    void writeString(const QString& key, const QString& name, const QString& v);
    void writeBinary(const QString& key, const QString& name, const QByteArray& v);

    bool operator==(const Registry&) const;

private:
    struct Key {
        QString spelling;                                 // the path as first created
        std::vector<std::pair<QString, RegValue>> values; // insertion order
    };
    std::map<QString, Key> keys_;                        // by case-folded path
};

} // namespace px
