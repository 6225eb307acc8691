// The line rules every variant shares: reading values back, writing lines, numbers,
// code page 932 and the size classes.
#include "setdata/SetDataFormat.h"
#include "setdata/SetDataValues.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

std::vector<QString> AllValues(const char* utf8) {
    SetDataValueReader reader(U(utf8));
    std::vector<QString> values;
    while (std::optional<QString> v = reader.Next()) values.push_back(*v);
    return values;
}

using Values = std::vector<QString>;

TEST(SetDataValueReader, QuotedValuesLoseTheirQuotesAndKeepCommasAndBlanks) {
    EXPECT_EQ(AllValues("\"V202data\"\r\n\"a,b\"\r\n\"  %\"\r\n"),
              (Values{U("V202data"), U("a,b"), U("  %")}));
}

TEST(SetDataValueReader, UnquotedValuesEndAtCommaOrLineEndAfterLeadingBlanks) {
    EXPECT_EQ(AllValues("  12\r\n-5,\t7\r\n\"x\" , 8\r\n"),
              (Values{U("12"), U("-5"), U("7"), U("x"), U("8")}));
}

TEST(SetDataValueReader, RestOfALineAfterTheClosingQuoteIsPassedOver) {
    // A unit text with a quote in it, as another program might have written it, costs
    // only its own tail and does not shift the values after it.
    EXPECT_EQ(AllValues("\"ab\"c\"\r\n10\r\n"), (Values{U("ab"), U("10")}));
}

TEST(SetDataValueReader, EmptyLinesAreEmptyValuesAndTheLastLineNeedsNoLineEnd) {
    EXPECT_EQ(AllValues("1\r\n\r\n\"\"\r\n2"), (Values{U("1"), U(""), U(""), U("2")}));
    EXPECT_EQ(AllValues(""), Values{});
    EXPECT_EQ(AllValues("1\n2\r3\r\n"), (Values{U("1"), U("2"), U("3")}));
    EXPECT_EQ(AllValues("1\n\n2\r\r3"), (Values{U("1"), U(""), U("2"), U(""), U("3")}));
    // Blanks at the very end, after a comma or a closing quote.
    EXPECT_EQ(AllValues("1,  "), (Values{U("1"), U("")}));
    EXPECT_EQ(AllValues("\"a\"  "), (Values{U("a")}));
    // A quote left open to the end of the file, its last character a line end.
    EXPECT_EQ(AllValues("\"a\r"), (Values{U("a\r")}));
}

TEST(SetDataValueReader, ReportsTheLineOfEachValueAndRewinds) {
    SetDataValueReader reader(U("\"a\"\r\n1,2\r\n\"x\r\ny\"\r\n3\r\n"));
    std::vector<int> lines;
    while (reader.Next()) lines.push_back(reader.Line());
    EXPECT_EQ(lines, (std::vector<int>{1, 2, 2, 3, 5}));
    EXPECT_EQ(reader.Line(), 6);  // the line where the missing value was looked for
    reader.Rewind();
    EXPECT_EQ(reader.Next(), U("a"));
    EXPECT_EQ(reader.Line(), 1);

    // Rewound, the reader has read nothing: no text held a quote.
    SetDataValueReader held(U("\"a\"b\r\n"));
    EXPECT_EQ(held.Next(), U("a"));
    EXPECT_TRUE(held.LastTextHeldQuote());
    held.Rewind();
    EXPECT_FALSE(held.LastTextHeldQuote());
}

TEST(SetDataLineWriter, WritesQuotedTextsAndPlainNumbersInCodePage932) {
    SetDataLineWriter writer;
    EXPECT_EQ(writer.AddText(U("PL-Ⅱ～ﾟC゜①")), SetDataStatus::Ok);
    writer.AddNumber(-32768);
    writer.AddNumber(7);
    EXPECT_EQ(writer.Bytes(), QByteArray("\"PL-\x87U\x81`\xDF" "C\x81K\x87@\"\r\n-32768\r\n7\r\n"));
}

TEST(SetDataLineWriter, RefusesTextsThatCouldNotBeReadBack) {
    SetDataLineWriter writer;
    EXPECT_EQ(writer.AddText(U("in\"ch")), SetDataStatus::QuoteInText);
    EXPECT_EQ(writer.AddText(U("a\r\nb")), SetDataStatus::LineBreakInText);
    EXPECT_EQ(writer.AddText(U("a\nb")), SetDataStatus::LineBreakInText);
    EXPECT_EQ(writer.Bytes(), QByteArray());  // nothing of a refused text was added
    EXPECT_EQ(writer.AddText(U("µ°")), SetDataStatus::Ok);
    EXPECT_EQ(writer.Bytes(), std::nullopt);  // not in code page 932
}

TEST(SetDataCodePage, DecodingRefusesBytesThatAreNotCodePage932) {
    EXPECT_EQ(DecodeCp932(QByteArray("\x8B\xF3\x97\xE2")), U("空冷"));
    EXPECT_EQ(DecodeCp932(QByteArray("\xFF\xFE\x01")), std::nullopt);
    EXPECT_EQ(DecodeCp932(QByteArray("ok\x8B")), std::nullopt);  // cut inside a character
}

TEST(SetDataNumbers, TableValuesAreStrictSixteenBitIntegers) {
    qint16 v = 0;
    EXPECT_EQ(ParseTableValue(u"-32768", v), SetDataStatus::Ok);
    EXPECT_EQ(v, -32768);
    EXPECT_EQ(ParseTableValue(u"32767  ", v), SetDataStatus::Ok);
    EXPECT_EQ(v, 32767);
    EXPECT_EQ(ParseTableValue(u"007", v), SetDataStatus::Ok);
    EXPECT_EQ(v, 7);
    EXPECT_EQ(ParseTableValue(u"32768", v), SetDataStatus::OutOfRange);
    EXPECT_EQ(ParseTableValue(u"-32769", v), SetDataStatus::OutOfRange);
    EXPECT_EQ(ParseTableValue(u"123456789012345678901234", v), SetDataStatus::OutOfRange);
    for (const char16_t* bad : {u"", u"-", u"1.5", u"12a", u"+3", u"abc", u"1 2"})
        EXPECT_EQ(ParseTableValue(bad, v), SetDataStatus::NotANumber) << QString::fromUtf16(bad).toStdString();
    EXPECT_EQ(v, 7);  // a refused text leaves the target alone
}

TEST(SetDataNumbers, RoundingGoesHalfToEvenWithinSixteenBits) {
    EXPECT_EQ(RoundToInt16(2.5), 2);
    EXPECT_EQ(RoundToInt16(3.5), 4);
    EXPECT_EQ(RoundToInt16(-2.5), -2);
    EXPECT_EQ(RoundToInt16(32767.4), 32767);
    EXPECT_EQ(RoundToInt16(32767.5), std::nullopt);
    EXPECT_EQ(RoundToInt16(-32768.5), -32768);
    EXPECT_EQ(RoundToInt16(-32769.0), std::nullopt);
}

TEST(SetDataSizeClass, LengthAloneTellsTheVariant) {
    EXPECT_EQ(SetDataSizeClass(0), ChannelFileClass);
    EXPECT_EQ(SetDataSizeClass(1000), ChannelFileClass);
    EXPECT_EQ(SetDataSizeClass(1001), BlockFileClass);
    EXPECT_EQ(SetDataSizeClass(2032), BlockFileClass);
    EXPECT_EQ(SetDataSizeClass(20000), BlockFileClass);
    EXPECT_EQ(SetDataSizeClass(20001), AllChannelFileClass);
    EXPECT_EQ(SetDataSizeClass(32332), AllChannelFileClass);
}

}  // namespace
