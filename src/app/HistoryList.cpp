#include "app/HistoryList.h"

#include <algorithm>

namespace px {

namespace {

QString storageKey(const QString& path, const QString& section)
{
    return path + QLatin1Char('\\') + section;
}

} // namespace

QString historyValueName(int position)
{
    return QStringLiteral("History") + QString::number(position);
}

void THistoryList::setMaxCount(int maximum)
{
    maxCount_ = std::max(1, maximum);
    while (entries_.size() > maxCount_)
        entries_.removeLast();
}

void THistoryList::addToTop(const QString& text)
{
    entries_.removeIf([&](const QString& e) { return e == text; });
    entries_.prepend(text);
    while (entries_.size() > maxCount_)
        entries_.removeLast();
}

void THistoryList::load(const Registry& registry, const QString& path, const QString& section)
{
    const QString key = storageKey(path, section);
    entries_.clear();
    for (int i = 0; i < maxCount_; ++i) {
        const QString text = registry.readString(key, historyValueName(i)).value_or(QString());
        if (!text.isEmpty() && !entries_.contains(text))
            entries_.append(text);
    }
}

void THistoryList::save(Registry& registry, const QString& path, const QString& section) const
{
    const QString key = storageKey(path, section);
    registry.createKey(key);
    for (int i = 0; i < entries_.size(); ++i)
        registry.writeString(key, historyValueName(i), entries_.at(i));
    for (int i = int(entries_.size()); i < maxCount_; ++i)
        registry.deleteValue(key, historyValueName(i));
}

void THistoryList::load(const IniFile& ini, const QString& section)
{
    entries_.clear();
    for (int i = 0; i < maxCount_; ++i) {
        const QString text = ini.readString(section, historyValueName(i));
        if (!text.isEmpty() && !entries_.contains(text))
            entries_.append(text);
    }
}

void THistoryList::save(IniFile& ini, const QString& section) const
{
    for (int i = 0; i < entries_.size(); ++i)
        ini.writeString(section, historyValueName(i), entries_.at(i));
    for (int i = int(entries_.size()); i < maxCount_; ++i)
        ini.deleteKey(section, historyValueName(i));
}

QStringList THistoryList::menuCaptions() const
{
    QStringList captions;
    for (int i = 0; i < entries_.size(); ++i)
        captions.append(historyMenuCaption(i + 1, entries_.at(i)));
    return captions;
}

QString historyMenuCaption(int number, const QString& entry)
{
    QString shown = entry;
    shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QLatin1Char('&') + QString::number(number) + QLatin1Char(' ') + shown;
}

int historyNumberFromCaption(const QString& caption)
{
    const qsizetype blank = caption.indexOf(QLatin1Char(' '));
    if (blank < 2)
        return 0;
    bool ok = false;
    const int number = caption.mid(1, blank - 1).toInt(&ok);
    return ok && number > 0 ? number : 0;
}

bool deleteStoredHistory(Registry& registry, const QString& path, const QString& section)
{
    return registry.deleteKey(storageKey(path, section));
}

} // namespace px
