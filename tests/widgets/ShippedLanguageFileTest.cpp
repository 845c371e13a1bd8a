// The shipped language file: five sections with the same names, every key the program asks
// for defined with a text, and every property path naming a component of the main window.
#include "app/LanguageProperties.h"
#include "app/MainWindowUi.h"
#include "app/MultiLanguage.h"

#include <QDirIterator>
#include <QFile>
#include <QMainWindow>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace px;

namespace {

const QString kSourceDir = QStringLiteral(PIXMORA_SOURCE_DIR);

QStringList shippedScript()
{
    const auto lines = LoadLanguageFile(kSourceDir + QStringLiteral("/resources/Templates/Languages.lng"));
    return lines ? *lines : QStringList();
}

std::map<QString, QString> sectionMap(const QStringList& script, const QString& language)
{
    std::map<QString, QString> map;
    for (const LanguageEntry& e : SectionEntries(script, language))
        map.emplace(e.name, e.value);
    return map;
}

QStringList messageKeysOfTheProgram()
{
    QFile f(kSourceDir + QStringLiteral("/tests/data/language/message_keys.txt"));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    QStringList keys = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    // And every key the code itself looks up.
    static const QRegularExpression lookup(QStringLiteral(R"re(Msg\(QStringLiteral\("([^"]+)"\)\))re"));
    QDirIterator it(kSourceDir + QStringLiteral("/src"), {QStringLiteral("*.cpp")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile source(it.next());
        EXPECT_TRUE(source.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(source.readAll());
        for (auto m = lookup.globalMatch(text); m.hasNext();)
            keys << m.next().captured(1);
    }
    keys.removeDuplicates();
    return keys;
}

const QStringList kSections = {QStringLiteral("german"), QStringLiteral("english"), QStringLiteral("italian"),
                               QStringLiteral("espaniol"), QStringLiteral("france")};

TEST(LanguageFile, EverySectionDefinesTheSameNamesWithTexts)
{
    const QStringList script = shippedScript();
    ASSERT_FALSE(script.isEmpty());
    const auto german = sectionMap(script, QStringLiteral("german"));
    ASSERT_FALSE(german.empty());
    for (const QString& section : kSections) {
        EXPECT_TRUE(ScriptHasLine(script, QLatin1Char('[') + section + QLatin1Char(']'))) << section.toStdString();
        const auto entries = SectionEntries(script, section);
        const auto map = sectionMap(script, section);
        EXPECT_EQ(entries.size(), map.size()) << section.toStdString() << ": a name is defined twice";
        for (const auto& [name, value] : map) {
            EXPECT_FALSE(value.trimmed().isEmpty()) << section.toStdString() << ": " << name.toStdString();
            EXPECT_TRUE(german.count(name)) << section.toStdString() << " has more: " << name.toStdString();
        }
        for (const auto& [name, value] : german)
            EXPECT_TRUE(map.count(name)) << section.toStdString() << " lacks " << name.toStdString();
    }
}

TEST(LanguageFile, EveryKeyTheProgramAsksForHasAText)
{
    const QStringList script = shippedScript();
    const QStringList keys = messageKeysOfTheProgram();
    ASSERT_GT(keys.size(), 100);
    for (const QString& section : kSections) {
        TMultiLanguage translator(nullptr);
        translator.SetScript(script);
        translator.SetLanguage(section);
        for (const QString& key : keys)
            EXPECT_FALSE(translator.Lookup(key).isEmpty()) << section.toStdString() << ": " << key.toStdString();
    }
}

TEST(LanguageFile, EveryPropertyPathNamesAComponentOfTheMainWindow)
{
    const QStringList script = shippedScript();
    const QStringList keys = messageKeysOfTheProgram();
    const std::set<QString> messageKeys(keys.begin(), keys.end());
    for (const QString& section : kSections) {
        QMainWindow window;
        MainWindowUi ui;
        ui.setupUi(&window);
        for (const LanguageEntry& e : SectionEntries(script, section)) {
            if (messageKeys.count(e.name) || !e.name.contains(QLatin1Char('.')))
                continue;
            EXPECT_TRUE(ApplyProperty(&window, e.name, e.value)) << section.toStdString() << ": " << e.name.toStdString();
        }
    }
}

} // namespace
