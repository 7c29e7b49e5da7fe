#include <gtest/gtest.h>

#include "base/ByteText.h"
#include "base/TextCodec.h"

namespace kv {
namespace {

TEST(IntegerRule, AcceptsDecimalAndEveryHexPrefix) {
  EXPECT_EQ(ParseInteger("2"), 2);
  EXPECT_EQ(ParseInteger("02"), 2);
  EXPECT_EQ(ParseInteger("0x2"), 2);
  EXPECT_EQ(ParseInteger("0X2"), 2);
  EXPECT_EQ(ParseInteger("$2"), 2);
  EXPECT_EQ(ParseInteger("x1F"), 31);
  EXPECT_EQ(ParseInteger("X1f"), 31);
  EXPECT_EQ(ParseInteger("  -12"), -12);
  EXPECT_EQ(ParseInteger("+7"), 7);
  EXPECT_EQ(ParseInteger("-$10"), -16);
  EXPECT_EQ(ParseInteger("1048578"), 1048578);
}

TEST(IntegerRule, RejectsAnythingButAWholeNumber) {
  for (const char* text : {"", " ", "abc", "1a", "0x", "$", "x", "-", "+", "1 2", "2 ", "0xG", "--1", "1.5", "yes"})
    EXPECT_FALSE(ParseInteger(text).has_value()) << '"' << text << '"';
  EXPECT_EQ(ParseIntegerOr("abc", 45), 45);
}

TEST(IntegerRule, KeepsToSigned32Bits) {
  EXPECT_EQ(ParseInteger("2147483647"), 2147483647);
  EXPECT_EQ(ParseInteger("-2147483648"), INT32_MIN);
  EXPECT_EQ(ParseInteger("0x7FFFFFFF"), INT32_MAX);
  EXPECT_EQ(ParseInteger("-0x80000000"), INT32_MIN);
  EXPECT_FALSE(ParseInteger("2147483648"));
  EXPECT_FALSE(ParseInteger("-2147483649"));
  EXPECT_FALSE(ParseInteger("0xFFFFFFFF"));
  EXPECT_FALSE(ParseInteger("99999999999999999999999"));
}

TEST(ByteText, FoldsOnlyAsciiLetters) {
  EXPECT_TRUE(SameTextAscii("020A", "020a"));
  EXPECT_TRUE(SameTextAscii("WorkerDll", "WORKERDLL"));
  EXPECT_FALSE(SameTextAscii("abc", "abd"));
  // A GBK trail byte in the letter range must not be folded: 0xC4 0x41 vs 0xC4 0x61.
  EXPECT_EQ(AsciiLowerCase("\xC4\x41"), "\xC4\x61");
  EXPECT_EQ(AsciiUpperCase("\xE9z"), "\xE9Z");
  EXPECT_EQ(TrimBlanks(" \t a b \t"), "a b");
}

TEST(TextCodec, GbkRoundTripsChineseText) {
  const std::u16string text = Utf8ToUtf16("摄像头策略 IP对齐方式");
  const std::string gbk = Utf16ToGbk(text);
  EXPECT_EQ(gbk, "\xC9\xE3\xCF\xF1\xCD\xB7\xB2\xDF\xC2\xD4 IP\xB6\xD4\xC6\xEB\xB7\xBD\xCA\xBD");
  EXPECT_EQ(GbkToUtf16(gbk), text);
}

TEST(TextCodec, BrokenGbkStillDecodes) {
  // A lead byte at the very end has no trail byte: the rest must still come through.
  const std::u16string text = GbkToUtf16("ab\xC9");
  ASSERT_GE(text.size(), 3u);
  EXPECT_EQ(text.substr(0, 2), u"ab");
}

TEST(TextCodec, Utf8RoundTripsAndReplacesGarbage) {
  const std::string utf8 = "a\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80";
  EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(utf8)), utf8);
  EXPECT_EQ(Utf8ToUtf16("\xFF"), u"\uFFFD");
  EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");  // overlong '/'
}

}  // namespace
}  // namespace kv
