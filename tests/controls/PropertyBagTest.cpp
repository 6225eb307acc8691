#include "controls/PropertyBag.h"

#include <QSize>
#include <gtest/gtest.h>

TEST(PropertyBag, DefaultsAreNotStoredAndOrderIsKept)
{
    PropertyBag bag;
    WriteInt16(bag, "B", 7, 0);
    WriteInt16(bag, "A", 0, 0);
    WriteString(bag, "C", "x", "0");
    WriteBool(bag, "D", false, false);
    EXPECT_EQ(bag.Names(), (QStringList{"B", "C"}));

    // Writing a property back to its default removes the earlier stored value.
    WriteInt16(bag, "B", 0, 0);
    EXPECT_EQ(bag.Names(), (QStringList{"C"}));
    EXPECT_EQ(ReadInt16(bag, "B", 5), 5);
}

TEST(PropertyBag, TypedReadsFallBackToTheDefault)
{
    QVariantMap stored;
    stored.insert("Small", 1234);
    stored.insert("TooBig", 70000);
    stored.insert("Text", "abc");
    stored.insert("Byte", 300);
    stored.insert("Size", QSize(2, 3));  // neither a switch nor a text
    const PropertyBag bag(stored);

    EXPECT_EQ(ReadInt16(bag, "Small", 9), 1234);
    EXPECT_EQ(ReadInt16(bag, "TooBig", 9), 9);
    EXPECT_EQ(ReadInt16(bag, "Text", 9), 9);
    EXPECT_EQ(ReadInt16(bag, "Missing", -50), -50);
    EXPECT_EQ(ReadByte(bag, "Byte", 1), 1);
    EXPECT_EQ(ReadString(bag, "Missing", "0"), "0");
    EXPECT_TRUE(ReadBool(bag, "Size", true));
    EXPECT_EQ(ReadString(bag, "Size", "0"), "0");
    EXPECT_EQ(bag.ReadOrder(),
              (QStringList{"Small", "TooBig", "Text", "Missing", "Byte", "Missing", "Size", "Size"}));
}

TEST(PropertyBag, SurvivesTheHostsMap)
{
    PropertyBag bag;
    WriteInt16(bag, "SclMax", -3, 400);
    WriteByte(bag, "G_Vis1", 0, 1);
    WriteInt32(bag, "MvColor", 0xFFFF, 0xFF0000);
    const PropertyBag restored(bag.ToMap());
    EXPECT_EQ(ReadInt16(restored, "SclMax", 400), -3);
    EXPECT_EQ(ReadByte(restored, "G_Vis1", 1), 0);
    EXPECT_EQ(ReadInt32(restored, "MvColor", 0xFF0000), 0xFFFF);
}

// The ends of each width read back as stored; one past them falls back to the default.
TEST(PropertyBag, EachWidthKeepsItsEnds)
{
    QVariantMap stored;
    stored.insert("Int16Max", 32767);
    stored.insert("Int16Min", -32768);
    stored.insert("ByteMax", 255);
    stored.insert("ByteMin", 0);
    stored.insert("ByteBelow", -1);
    const PropertyBag bag(stored);
    EXPECT_EQ(ReadInt16(bag, "Int16Max", 1), 32767);
    EXPECT_EQ(ReadInt16(bag, "Int16Min", 1), -32768);
    EXPECT_EQ(ReadByte(bag, "ByteMax", 1), 255);
    EXPECT_EQ(ReadByte(bag, "ByteMin", 1), 0);
    EXPECT_EQ(ReadByte(bag, "ByteBelow", 1), 1);
}

