#include "platform/Registry.h"

#include <gtest/gtest.h>

using namespace px;

namespace {
const QString kOptions = QStringLiteral("Software\\Orlek\\Pixmora\\5.0\\Options");
}

TEST(Registry, KeysAndValueNamesIgnoreCaseAndKeepFirstSpelling)
{
    Registry reg;
    reg.writeInteger(kOptions, "ScanDelay", 240);
    reg.writeString(kOptions, "OutDir", "a");
    reg.writeInteger("SOFTWARE\\orlek\\PIXMORA\\5.0\\options", "SCANDELAY", 600);

    EXPECT_EQ(reg.readInteger("software\\ORLEK\\pixmora\\5.0\\Options", "scandelay"), 600);
    EXPECT_EQ(reg.valueNames(kOptions), (QStringList{"ScanDelay", "OutDir"}));
    EXPECT_EQ(reg.subKeys("Software\\Orlek\\Pixmora\\5.0"), QStringList{"Options"});
    EXPECT_TRUE(reg.keyExists("\\Software\\Orlek\\\\Pixmora\\5.0\\"));
}

TEST(Registry, CreateKeyMakesParentsAndListsParentsBeforeChildren)
{
    Registry reg;
    reg.createKey("Software\\Orlek\\Pixmora\\5.0\\GUI\\Recent");
    reg.createKey("Software\\Orlek\\Pixmora\\5.0\\GUI\\PicEditPal");
    EXPECT_TRUE(reg.keyExists("Software\\Orlek"));
    EXPECT_EQ(reg.subKeys("Software\\Orlek\\Pixmora\\5.0\\GUI"), (QStringList{"PicEditPal", "Recent"}));
    const QStringList all = reg.allKeys();
    ASSERT_EQ(all.size(), 7);
    for (int i = 0; i < all.size(); ++i)
        for (int j = i + 1; j < all.size(); ++j)
            EXPECT_FALSE(all[i].startsWith(all[j] + "\\")) << all[i].toStdString() << " before its parent";
}

TEST(Registry, DeleteKeyRemovesSubtreeButNotSiblingsThatSortBetween)
{
    // "A B" and "A!" sort between "A" and "A\B"; they are not children of "A".
    Registry reg;
    for (const char* k : {"A\\B\\C", "A B", "A!", "AB"})
        reg.writeInteger(k, "v", 1);
    EXPECT_TRUE(reg.deleteKey("a"));
    EXPECT_FALSE(reg.keyExists("A"));
    EXPECT_FALSE(reg.keyExists("A\\B\\C"));
    EXPECT_EQ(reg.allKeys(), (QStringList{"A B", "A!", "AB"}));
    EXPECT_FALSE(reg.deleteKey("A"));
}

TEST(Registry, TypedReadsAnswerOnlyForTheirOwnType)
{
    Registry reg;
    reg.writeString(kOptions, "Str", "1");
    reg.setValue(kOptions, "Two", RegValue::fromDword(2));
    reg.setValue(kOptions, "Max", RegValue::fromDword(0xffffffffu));
    reg.writeBinary(kOptions, "Bin", QByteArray(9, '\0'));

    EXPECT_EQ(reg.readInteger(kOptions, "Str"), std::nullopt);
    EXPECT_EQ(reg.readBool(kOptions, "Str"), std::nullopt);
    EXPECT_EQ(reg.readString(kOptions, "Two"), std::nullopt);
    EXPECT_EQ(reg.readBinary(kOptions, "Str"), std::nullopt);
    EXPECT_EQ(reg.readBool(kOptions, "Two"), true);
    EXPECT_EQ(reg.readInteger(kOptions, "Max"), -1);
    EXPECT_EQ(reg.readBinary(kOptions, "Bin"), QByteArray(9, '\0'));
    EXPECT_EQ(reg.readInteger(kOptions, "Missing"), std::nullopt);
    EXPECT_EQ(reg.readInteger("No\\Such\\Key", "Two"), std::nullopt);

    EXPECT_TRUE(reg.deleteValue(kOptions, "two"));
    EXPECT_FALSE(reg.deleteValue(kOptions, "Two"));
    EXPECT_EQ(reg.valueNames(kOptions), (QStringList{"Str", "Max", "Bin"}));
}
