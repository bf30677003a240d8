#include "render/Text.h"

#include <gtest/gtest.h>

using koyomi::render::dbcsLength;
using koyomi::render::quoteCommaItem;
using koyomi::render::splitCommaText;

TEST(CommaText, CommasAndBlanksBothSeparate)
{
    EXPECT_EQ(splitCommaText("X Y,Z"), QStringList({"X", "Y", "Z"}));
    EXPECT_EQ(splitCommaText("  1,2,3,"), QStringList({"1", "2", "3"}));
    EXPECT_EQ(splitCommaText("1,,3"), QStringList({"1", "", "3"}));
    EXPECT_EQ(splitCommaText("a ,  b\t,c"), QStringList({"a", "b", "c"}));
    EXPECT_EQ(splitCommaText(""), QStringList());
    EXPECT_EQ(splitCommaText(" \t "), QStringList());
    EXPECT_EQ(splitCommaText("a,,"), QStringList({"a", ""}));
}

TEST(CommaText, QuotedItemsKeepBlanksCommasAndDoubledQuotes)
{
    EXPECT_EQ(splitCommaText(R"(1,"a b, c",0)"), QStringList({"1", "a b, c", "0"}));
    EXPECT_EQ(splitCommaText(R"("say ""hi""",x)"), QStringList({"say \"hi\"", "x"}));
    EXPECT_EQ(splitCommaText(R"("",x)"), QStringList({"", "x"}));
    EXPECT_EQ(splitCommaText(R"("unterminated)"), QStringList({"unterminated"}));
    // Quoting for writing gives every awkward item back whole.
    for (const QString& item :
         {QStringLiteral("a b"), QStringLiteral("1,2"), QStringLiteral("\"q\""), QStringLiteral(""),
          QStringLiteral("plain"), QStringLiteral("x\"y")}) {
        const QStringList back = splitCommaText("1," + quoteCommaItem(item) + ",z");
        ASSERT_EQ(back.size(), 3) << item.toStdString();
        EXPECT_EQ(back[1], item);
    }
    EXPECT_EQ(quoteCommaItem("plain"), "plain");
}

TEST(TextLength, HalfWidthCountsOneAndFullWidthTwo)
{
    EXPECT_EQ(dbcsLength(u"10"), 2);
    EXPECT_EQ(dbcsLength(QStringLiteral("方眼")), 4);
    EXPECT_EQ(dbcsLength(QStringLiteral("ｱｲ")), 2);
    EXPECT_EQ(dbcsLength(QStringLiteral("A１")), 3);
    EXPECT_EQ(dbcsLength(u""), 0);
    // A character beyond the basic plane is one character of two units, and a surrogate
    // standing alone is one character too.
    EXPECT_EQ(dbcsLength(QString::fromUcs4(U"a\U0001D7D8b")), 4);
    EXPECT_EQ(dbcsLength(QString(QChar(0xD800)) + QStringLiteral("1")), 3);
    EXPECT_EQ(dbcsLength(QStringLiteral("1") + QChar(0xDC00)), 3);
}
