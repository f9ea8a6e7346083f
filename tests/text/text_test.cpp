#include "text/text.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace corvane {
namespace {

TEST(TextTest, MissingAndPresentDifferOnlyAtThePlatformBoundary) {
  const Text missing;
  const Text empty("");
  EXPECT_TRUE(missing.isMissing());
  EXPECT_FALSE(empty.isMissing());
  EXPECT_EQ(missing, empty);
  EXPECT_EQ(missing.platformPointer(), nullptr);
  ASSERT_NE(empty.platformPointer(), nullptr);
  EXPECT_EQ(*empty.platformPointer(), '\0');
  EXPECT_TRUE(Text(static_cast<const char*>(nullptr)).isMissing());
}

TEST(TextTest, NeverHoldsANul) {
  EXPECT_EQ(Text(std::string_view("a\0b", 3)).view(), "a");
  EXPECT_EQ(Text(std::string("\0b", 2)).view(), "");
  EXPECT_FALSE(Text(std::string("\0b", 2)).isMissing());
}

TEST(TextTest, ResultTextIsMissingWhenEmpty) {
  EXPECT_TRUE(resultText(std::string_view()).isMissing());
  EXPECT_TRUE(resultText(std::string()).isMissing());
  EXPECT_EQ(resultText(std::string_view("x")).view(), "x");
}

TEST(TextTest, LengthCountsBytes) {
  EXPECT_EQ(textLength(Text()), 0);
  EXPECT_EQ(textLength(""), 0);
  EXPECT_EQ(textLength("\xBF\xEC"), 2);  // 快
}

TEST(TextTest, ConcatAlwaysGivesAPresentText) {
  const Text joined = concatText(Text(), Text());
  EXPECT_FALSE(joined.isMissing());
  EXPECT_EQ(compareText(joined, Text()), 0);
  EXPECT_EQ(concatText("a", Text(), "bc", "d").view(), "abcd");
}

TEST(TextTest, CompareIsUnsignedBytewise) {
  struct Case {
    const char* name;
    Text a;
    Text b;
    int expected;
  };
  const Case cases[] = {
      {"missing vs empty literal", Text(), "", 0},
      {"a vs empty", "a", "", 1},
      {"empty vs a", "", "a", -1},
      {"ab vs b", "ab", "b", -1},
      {"equal", "abc", "abc", 0},
      {"prefix is smaller", "ab", "abc", -1},
      {"0xB0 above z", "\xB0\xA1", "z", 1},
      {"z below 0xB0", "z", "\xB0\xA1", -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(compareText(c.a, c.b), c.expected);
  }
}

TEST(TextTest, CharFromCodeUsesTheLowByte) {
  EXPECT_EQ(charFromCode(65).view(), "A");
  EXPECT_EQ(charFromCode(65 + 256).view(), "A");
  EXPECT_EQ(charFromCode(0xB0).view(), "\xB0");
  EXPECT_EQ(charFromCode(-1).view(), "\xFF");
  // A low byte of 0 would be a NUL, which no text holds.
  EXPECT_TRUE(charFromCode(0).isMissing());
  EXPECT_TRUE(charFromCode(256).isMissing());
}

TEST(TextTest, BlankText) {
  EXPECT_EQ(blankText(5000), Text(std::string(5000, ' ')));
  EXPECT_TRUE(blankText(0).isMissing());
  EXPECT_TRUE(blankText(-1).isMissing());
  EXPECT_TRUE(blankText(INT_MIN).isMissing());
}

TEST(TextTest, TextToInt) {
  struct Case {
    const char* name;
    Text text;
    int expected;
  };
  const Case cases[] = {
      {"missing", Text(), 0},
      {"empty", "", 0},
      {"no digits", "abc", 0},
      {"plain", "443", 443},
      {"white space, sign, digits, rest", " \t-12abc", -12},
      {"plus sign", "+7", 7},
      {"sign alone", "-", 0},
      {"two signs", "--5", 0},
      {"full-width 8 and 0", "\xA3\xB8\xA3\xB0", 80},
      {"full-width minus and space", "\xA1\xA1\xA3\xAD" "5", -5},
      {"2^32 + 1 wraps to 1", "4294967297", 1},
      {"INT_MAX", "2147483647", INT_MAX},
      {"INT_MIN", "-2147483648", INT_MIN},
      {"INT_MAX + 1 wraps", "2147483648", INT_MIN},
      {"lone first byte at the end", "12\xB0", 12},
      {"other two-byte character stops", "1\xB0\xA1" "2", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(textToInt(c.text), c.expected);
  }
}

TEST(TextTest, BitwiseOr) {
  EXPECT_EQ(bitwiseOr({static_cast<int>(0x80000000u), 0x10, 0x800000}), static_cast<int>(0x80800010u));
  EXPECT_EQ(bitwiseOr({}), 0);
}

}  // namespace
}  // namespace corvane
