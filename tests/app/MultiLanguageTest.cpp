// The translator of one window: which entries it applies, in which order, what it answers to
// lookups, and that one failing entry does not stop the others.
#include "app/MultiLanguage.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace px;

namespace {

struct Applied {
    QObject* owner;
    QString path;
    QString value;
    friend bool operator==(const Applied&, const Applied&) = default;
};

class MultiLanguageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TMultiLanguage::SetApplier([this](QObject* owner, const QString& path, const QString& value) {
            applied.push_back({owner, path, value});
            if (value == u"throw")
                throw std::runtime_error("cannot convert");
        });
    }
    void TearDown() override { TMultiLanguage::SetApplier({}); }

    std::vector<Applied> applied;
};

const QStringList kScript{
    QStringLiteral("Caption=vor jedem Abschnitt"),
    QStringLiteral("[German]"),
    QStringLiteral("Caption='Pixmora'"),
    QStringLiteral("showmsg_nofileload=Datei nicht geladen"),
    QStringLiteral("Caption=Pixmora 5"),
    QStringLiteral("showmsg_nofileload=zweiter Eintrag"),
    QStringLiteral("[english]"),
    QStringLiteral("Caption=Pixmora (en)"),
    QStringLiteral("Bad.Value=throw"),
    QStringLiteral("showmsg_nofileload=File not loaded"),
};

} // namespace

TEST_F(MultiLanguageTest, AppliesTheSectionInFileOrderAndLooksUpFirstEntries)
{
    QObject window;
    auto* lang = new TMultiLanguage(&window);
    int translated = 0;
    QObject::connect(lang, &TMultiLanguage::OnTranslate, [&] { ++translated; });

    lang->Translate(kScript, 0);
    EXPECT_EQ(lang->Script(), kScript);
    EXPECT_EQ(lang->Language(), QStringLiteral("german"));
    EXPECT_EQ(translated, 2) << "SetScript and SetLanguage each translate";
    // The last translation applied the German section only, in file order: for a property
    // named twice the later line is applied last and wins.
    const std::vector<Applied> german{
        {&window, "Caption", "Pixmora"},
        {&window, "showmsg_nofileload", "Datei nicht geladen"},
        {&window, "Caption", "Pixmora 5"},
        {&window, "showmsg_nofileload", "zweiter Eintrag"},
    };
    EXPECT_EQ(applied, german);
    EXPECT_EQ(lang->Lookup(QStringLiteral("showmsg_nofileload")), QStringLiteral("Datei nicht geladen"));
    EXPECT_EQ(lang->Lookup(QStringLiteral("Showmsg_nofileload")), QString());
    EXPECT_EQ(lang->Lookup(QStringLiteral("unknown_key")), QString());
}

TEST_F(MultiLanguageTest, AFailingEntryIsSkippedAndTheRestStillApplied)
{
    QObject window;
    TMultiLanguage lang(&window);
    int translated = 0;
    QObject::connect(&lang, &TMultiLanguage::OnTranslate, [&] { ++translated; });
    lang.SetScript(kScript);
    applied.clear();
    translated = 0;

    lang.SetLanguage(QStringLiteral("english"));
    const std::vector<Applied> english{
        {&window, "Caption", "Pixmora (en)"},
        {&window, "Bad.Value", "throw"},
        {&window, "showmsg_nofileload", "File not loaded"},
    };
    EXPECT_EQ(applied, english);
    EXPECT_EQ(translated, 1);
    EXPECT_EQ(lang.Lookup(QStringLiteral("showmsg_nofileload")), QStringLiteral("File not loaded"));
}

TEST_F(MultiLanguageTest, WithoutAScriptOrLanguageNothingIsAppliedAndLookupsAreEmpty)
{
    QObject window;
    TMultiLanguage lang(&window);
    lang.SetScript(kScript);   // no language yet: the stray line before any section stays unused
    EXPECT_TRUE(applied.empty());
    EXPECT_EQ(lang.Lookup(QStringLiteral("Caption")), QString());

    lang.SetLanguage(QStringLiteral("german"));
    lang.SetScript({});        // the file could not be read
    EXPECT_EQ(lang.Lookup(QStringLiteral("showmsg_nofileload")), QString());
}

TEST_F(MultiLanguageTest, AHandlerMaySwitchLanguageWhileEntriesAreApplied)
{
    QObject window;
    TMultiLanguage lang(&window);
    lang.SetScript(kScript);
    bool switched = false;
    TMultiLanguage::SetApplier([&](QObject*, const QString&, const QString&) {
        if (!switched) {
            switched = true;
            lang.SetLanguage(QStringLiteral("english"));
        }
    });
    lang.SetLanguage(QStringLiteral("german"));
    EXPECT_EQ(lang.Language(), QStringLiteral("english"));
    EXPECT_EQ(lang.Lookup(QStringLiteral("showmsg_nofileload")), QStringLiteral("File not loaded"));
}
