#include "platform/Registry.h"

#include <algorithm>

namespace px {

namespace {

// Key paths are accepted with or without surrounding backslashes; doubled separators are
// folded so that "A\\B" and "A\B" name the same key.
QString normalizedPath(const QString& key)
{
    const QStringList parts = key.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    return parts.join(QLatin1Char('\\'));
}

QString foldedPath(const QString& normalized)
{
    return normalized.toCaseFolded();
}

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

RegValue RegValue::fromDword(quint32 v)
{
    RegValue r;
    r.type = RegType::Dword;
    r.dword = v;
    return r;
}

RegValue RegValue::fromString(const QString& s)
{
    RegValue r;
    r.type = RegType::String;
    r.text = s;
    return r;
}

RegValue RegValue::fromBinary(const QByteArray& b)
{
    RegValue r;
    r.type = RegType::Binary;
    r.bytes = b;
    return r;
}

bool Registry::keyExists(const QString& key) const
{
    const QString path = normalizedPath(key);
    return !path.isEmpty() && keys_.count(foldedPath(path)) != 0;
}

void Registry::createKey(const QString& key)
{
    const QString path = normalizedPath(key);
    if (path.isEmpty())
        return;
    // Every parent gets its own entry so that subKeys() and the writer see the whole tree.
    qsizetype pos = 0;
    while (true) {
        const qsizetype sep = path.indexOf(QLatin1Char('\\'), pos);
        const QString prefix = sep < 0 ? path : path.left(sep);
        auto& entry = keys_[foldedPath(prefix)];
        if (entry.spelling.isEmpty())
            entry.spelling = prefix;
        if (sep < 0)
            break;
        pos = sep + 1;
    }
}

bool Registry::deleteKey(const QString& key)
{
    const QString path = normalizedPath(key);
    if (path.isEmpty())
        return false;
    const QString folded = foldedPath(path);
    auto it = keys_.find(folded);
    if (it == keys_.end())
        return false;
    keys_.erase(it);
    // Children are contiguous in the ordered map, though not necessarily right after the
    // key itself ("A B" sorts between "A" and "A\B").
    const QString childPrefix = folded + QLatin1Char('\\');
    it = keys_.lower_bound(childPrefix);
    while (it != keys_.end() && it->first.startsWith(childPrefix))
        it = keys_.erase(it);
    return true;
}

std::optional<RegValue> Registry::value(const QString& key, const QString& name) const
{
    const auto it = keys_.find(foldedPath(normalizedPath(key)));
    if (it == keys_.end())
        return std::nullopt;
    for (const auto& [n, v] : it->second.values)
        if (sameName(n, name))
            return v;
    return std::nullopt;
}

void Registry::setValue(const QString& key, const QString& name, const RegValue& v)
{
    const QString path = normalizedPath(key);
    if (path.isEmpty())
        return;
    createKey(path);
    auto& values = keys_[foldedPath(path)].values;
    for (auto& [n, old] : values) {
        if (sameName(n, name)) {
            old = v;   // keeps the name as first written and its place
            return;
        }
    }
    values.emplace_back(name, v);
}

bool Registry::deleteValue(const QString& key, const QString& name)
{
    const auto it = keys_.find(foldedPath(normalizedPath(key)));
    if (it == keys_.end())
        return false;
    auto& values = it->second.values;
    const auto v = std::find_if(values.begin(), values.end(),
                                [&](const auto& p) { return sameName(p.first, name); });
    if (v == values.end())
        return false;
    values.erase(v);
    return true;
}

QStringList Registry::valueNames(const QString& key) const
{
    QStringList names;
    const auto it = keys_.find(foldedPath(normalizedPath(key)));
    if (it != keys_.end())
        for (const auto& p : it->second.values)
            names << p.first;
    return names;
}

QStringList Registry::subKeys(const QString& key) const
{
    QStringList children;
    const QString path = normalizedPath(key);
    const QString prefix = path.isEmpty() ? QString() : foldedPath(path) + QLatin1Char('\\');
    for (auto it = keys_.lower_bound(prefix); it != keys_.end(); ++it) {
        if (!it->first.startsWith(prefix))
            break;
        const QString rest = it->first.mid(prefix.size());
        if (rest.isEmpty() || rest.contains(QLatin1Char('\\')))
            continue;
        const QString& spelling = it->second.spelling;
        children << spelling.mid(spelling.lastIndexOf(QLatin1Char('\\')) + 1);
    }
    return children;
}

QStringList Registry::allKeys() const
{
    // The map is ordered by folded path; a parent is a prefix of its children and therefore
    // sorts before them.
    QStringList all;
    for (const auto& [folded, k] : keys_)
        all << k.spelling;
    return all;
}

std::optional<bool> Registry::readBool(const QString& key, const QString& name) const
{
    const auto v = value(key, name);
    if (!v || v->type != RegType::Dword)
        return std::nullopt;
    return v->dword != 0;
}

std::optional<qint32> Registry::readInteger(const QString& key, const QString& name) const
{
    const auto v = value(key, name);
    if (!v || v->type != RegType::Dword)
        return std::nullopt;
    return qint32(v->dword);
}

std::optional<QString> Registry::readString(const QString& key, const QString& name) const
{
    const auto v = value(key, name);
    if (!v || v->type != RegType::String)
        return std::nullopt;
    return v->text;
}

std::optional<QByteArray> Registry::readBinary(const QString& key, const QString& name) const
{
    const auto v = value(key, name);
    if (!v || v->type != RegType::Binary)
        return std::nullopt;
    return v->bytes;
}

void Registry::writeBool(const QString& key, const QString& name, bool v)
{
    setValue(key, name, RegValue::fromDword(v ? 1 : 0));
}

void Registry::writeInteger(const QString& key, const QString& name, qint32 v)
{
    setValue(key, name, RegValue::fromDword(quint32(v)));
}

void Registry::writeString(const QString& key, const QString& name, const QString& v)
{
    setValue(key, name, RegValue::fromString(v));
}

void Registry::writeBinary(const QString& key, const QString& name, const QByteArray& v)
{
    setValue(key, name, RegValue::fromBinary(v));
}

bool Registry::operator==(const Registry& other) const
{
    // Same keys spelled the same way, and in each key the same values in the same order.
    if (keys_.size() != other.keys_.size())
        return false;
    for (auto a = keys_.begin(), b = other.keys_.begin(); a != keys_.end(); ++a, ++b) {
        if (a->first != b->first || a->second.spelling != b->second.spelling
            || a->second.values != b->second.values)
            return false;
    }
    return true;
}

} // namespace px
