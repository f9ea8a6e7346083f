#include "text/codepage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "text/codepage_platform.h"

namespace corvane {
namespace {

using namespace std::string_view_literals;

struct ConversionCase {
  const char* name;
  std::string_view input;
  std::string_view expected;
};

// UTF-8 in, GBK out.
const ConversionCase kUtf8ToGbkCases[] = {
    {"empty input", ""sv, ""sv},
    {"ASCII unchanged", "Hello, world! {\"a\":1}\r\n\t~"sv, "Hello, world! {\"a\":1}\r\n\t~"sv},
    // 快递公司参数异常：
    {"Chinese text, 27 bytes to 18",
     "\xE5\xBF\xAB\xE9\x80\x92\xE5\x85\xAC\xE5\x8F\xB8\xE5\x8F\x82\xE6\x95\xB0\xE5\xBC\x82"
     "\xE5\xB8\xB8\xEF\xBC\x9A"sv,
     "\xBF\xEC\xB5\xDD\xB9\xAB\xCB\xBE\xB2\xCE\xCA\xFD\xD2\xEC\xB3\xA3\xA3\xBA"sv},
    // "a" 中 "b"
    {"mixed ASCII and Chinese", "a\xE4\xB8\xAD" "b"sv, "a\xD6\xD0" "b"sv},
    {"zero byte in the middle cuts the text", "ab\0cd"sv, "ab"sv},
    {"zero byte first gives the empty text", "\0abc"sv, ""sv},
    // GBK bytes of 快递 then "ok": three invalid sequences (BF, EC B5, DD), each one "?"
    {"GBK bytes fed as UTF-8", "\xBF\xEC\xB5\xDDok"sv, "???ok"sv},
    // € (U+20AC) is the single byte 0x80 of the Windows code page
    {"euro sign", "\xE2\x82\xAC"sv, "\x80"sv},
    // ก (U+0E01, Thai) and 😀 (U+1F600) are not in GBK
    {"character GBK lacks", "x\xE0\xB8\x81y"sv, "x?y"sv},
    {"supplementary character GBK lacks is one substitute", "\xF0\x9F\x98\x80"sv, "?"sv},
    // e + U+0301 (combining acute) is é
    {"base and combining mark compose", "e\xCC\x81"sv, "\xA8\xA6"sv},
    // u + U+0308 (diaeresis) + U+0304 (macron) is ǖ
    {"composition goes on with a second mark", "u\xCC\x88\xCC\x84"sv, "\xA8\xB5"sv},
    // е (U+0435, Cyrillic) + U+0308 is ё, two GBK bytes each
    {"two-byte base composes", "\xD0\xB5\xCC\x88"sv, "\xA7\xD7"sv},
    // α (two GBK bytes) + U+0301 is ά, which GBK lacks: one byte where the base had two
    {"composed character GBK lacks", "\xCE\xB1\xCC\x81"sv, "?"sv},
    // x + U+0301 has no precomposed form: x, then the mark on its own ("?", GBK lacks it)
    {"base and mark without a precomposed form", "x\xCC\x81"sv, "x?"sv},
    // 郎 U+F92C, a CJK compatibility ideograph with bytes of its own; 郎 U+90CE, its canonical
    // equivalent, has others
    {"CJK compatibility ideograph keeps its own bytes", "\xEF\xA4\xAC"sv, "\xFD\x9C"sv},
    {"unified ideograph of the same shape", "\xE9\x83\x8E"sv, "\xC0\xC9"sv},
    // 郎 U+F92C + U+0301: nothing to compose, the ideograph still keeps its bytes
    {"compatibility ideograph before a mark", "\xEF\xA4\xAC\xCC\x81"sv, "\xFD\x9C?"sv},
    {"mark without a base", "\xCC\x81" "a"sv, "?a"sv},
    // 中 truncated after two of its three bytes
    {"truncated sequence at the end", "\xE4\xB8"sv, "?"sv},
    {"truncated sequence before ASCII", "\xE4\xB8" "a"sv, "?a"sv},
    {"overlong two-byte slash", "\xC0\xAF"sv, "??"sv},
    {"overlong three-byte slash", "\xE0\x80\xAF"sv, "???"sv},
    {"lone surrogate D800 encoded in UTF-8", "\xED\xA0\x80"sv, "???"sv},
    {"code point above U+10FFFF", "\xF4\x90\x80\x80"sv, "????"sv},
    {"stray continuation bytes", "\x80\xBF" "a"sv, "??a"sv},
    // U+FEFF at the start is converted like any other character GBK lacks
    {"byte-order mark", "\xEF\xBB\xBF" "a"sv, "?a"sv},
};

TEST(Utf8ToGbkTest, ConvertsTheTableOfCases) {
  for (const auto& row : kUtf8ToGbkCases) {
    SCOPED_TRACE(row.name);
    const Text gbk = utf8ToGbk(ByteSet(row.input));
    EXPECT_EQ(gbk.str(), std::string(row.expected));
  }
}

TEST(Utf8ToGbkTest, EmptyResultsAreMissingTexts) {
  EXPECT_TRUE(utf8ToGbk(ByteSet()).isMissing());
  EXPECT_TRUE(utf8ToGbk(ByteSet("\0x"sv)).isMissing());
  EXPECT_FALSE(utf8ToGbk(ByteSet("x"sv)).isMissing());
}

TEST(Utf8ToGbkTest, LongTextConvertsWhole) {
  // 快递 then "ab", many times.
  const std::string utf8Unit = "\xE5\xBF\xAB\xE9\x80\x92" "ab";
  const std::string gbkUnit = "\xBF\xEC\xB5\xDD" "ab";
  std::string utf8;
  std::string gbk;
  for (int k = 0; k < 100000; ++k) {
    utf8 += utf8Unit;
    gbk += gbkUnit;
  }
  EXPECT_EQ(utf8ToGbk(ByteSet(utf8)).str(), gbk);
}

TEST(Utf8ToGbkTest, CompositionAfterPrefixesOfEveryShape) {
  // A base and its mark after ASCII or Chinese prefixes of many lengths: however the converter
  // groups the characters before them, e + U+0301 still becomes é (A8 A6).
  const std::string_view fillers[] = {"a"sv, "\xE4\xB8\xAD"sv /* 中 */};
  const std::string_view fillersGbk[] = {"a"sv, "\xD6\xD0"sv};
  std::vector<int> lengths;
  for (int length = 0; length < 12; ++length) lengths.push_back(length);
  for (int length : {1000, 4097, 65537}) lengths.push_back(length);
  for (int f = 0; f < 2; ++f) {
    for (int length : lengths) {
      SCOPED_TRACE(std::to_string(f) + " filler, prefix of " + std::to_string(length));
      std::string utf8;
      std::string expected;
      for (int k = 0; k < length; ++k) {
        utf8 += fillers[f];
        expected += fillersGbk[f];
      }
      utf8 += "e\xCC\x81z";
      expected += "\xA8\xA6z";
      EXPECT_EQ(utf8ToGbk(ByteSet(utf8)).str(), expected);
    }
  }
}

// UTF-8 in, little-endian UTF-16 units out.
const ConversionCase kUtf8ToUtf16Cases[] = {
    {"empty input", ""sv, ""sv},
    {"ASCII", "Az"sv, "A\0z\0"sv},
    {"zero byte kept as a zero unit", "a\0b"sv, "a\0\0\0b\0"sv},
    // 中 U+4E2D
    {"BMP character", "\xE4\xB8\xAD"sv, "\x2D\x4E"sv},
    // 😀 U+1F600 as the surrogate pair D83D DE00
    {"supplementary character", "\xF0\x9F\x98\x80"sv, "\x3D\xD8\x00\xDE"sv},
    {"invalid byte becomes U+FFFD", "\xFF"sv, "\xFD\xFF"sv},
    {"byte-order mark decoded as U+FEFF", "\xEF\xBB\xBF"sv, "\xFF\xFE"sv},
};

TEST(Utf8ToUtf16Test, ConvertsTheTableOfCases) {
  for (const auto& row : kUtf8ToUtf16Cases) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(utf8ToUtf16(ByteSet(row.input)).view(), row.expected);
  }
}

// Little-endian UTF-16 units in, GBK out.
const ConversionCase kUtf16ToGbkCases[] = {
    {"empty input", ""sv, ""sv},
    {"odd last byte is not a unit", "A\0B"sv, "A"sv},
    {"zero unit ends the text", "A\0\0\0B\0"sv, "A"sv},
    {"lone lead surrogate", "\x00\xD8" "A\0"sv, "?A"sv},
    {"lone trail surrogate", "\x00\xDC" "A\0"sv, "?A"sv},
    // 中 U+4E2D
    {"Chinese character", "\x2D\x4E"sv, "\xD6\xD0"sv},
};

TEST(Utf16ToGbkTest, ConvertsTheTableOfCases) {
  for (const auto& row : kUtf16ToGbkCases) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(utf16ToGbk(ByteSet(row.input)).str(), std::string(row.expected));
  }
}

TEST(GbkUnicodeTest, ConvertsBothWays) {
  // 中文 in GBK and as UTF-16
  EXPECT_EQ(gbkToUnicode(Text("\xD6\xD0\xCE\xC4" "abc")), u"\u4E2D\u6587abc");
  EXPECT_EQ(unicodeToGbk(u"\u4E2D\u6587abc").str(), "\xD6\xD0\xCE\xC4" "abc");
  EXPECT_TRUE(gbkToUnicode(Text()).empty());
  EXPECT_TRUE(unicodeToGbk(u"").isMissing());
}

TEST(GbkUnicodeTest, InvalidGbkBecomesReplacementCharacters) {
  struct Row {
    const char* name;
    std::string_view gbk;
    std::u16string_view expected;
  };
  const Row rows[] = {
      // 0x81 leads a two-byte character, but 0x20 cannot follow it: the space is kept
      {"lead byte before a space", "\x81 x"sv, u"\uFFFD x"},
      {"lead byte before DEL", "\xA1\x7F"sv, u"\uFFFD\u007F"},
      // a lone lead byte of 中 at the end
      {"lead byte at the end", "a\xD6"sv, u"a\uFFFD"},
      {"euro byte", "\x80"sv, u"\u20AC"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(gbkToUnicode(Text(row.gbk)), row.expected);
  }
}

TEST(GbkUnicodeTest, UnencodableUnicodeBecomesSubstitutes) {
  struct Row {
    const char* name;
    std::u16string_view unicode;
    std::string_view expected;
  };
  const Row rows[] = {
      {"Thai letter", u"a\u0E01b", "a?b"sv},
      {"lone surrogate", u"\xD800z", "?z"sv},
      {"zero character ends the text", std::u16string_view(u"ab\0cd", 5), "ab"sv},
      // e + U+0301 is é
      {"decomposed letter composed", u"e\u0301", "\xA8\xA6"sv},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(unicodeToGbk(row.unicode).str(), std::string(row.expected));
  }
}

TEST(GbkUnicodeTest, EveryGbkCharacterSurvivesTheRoundTrip) {
  // Every two-byte code the code page assigns, one after another in one text.
  std::string gbk;
  int assigned = 0;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      if (trail == 0x7F) continue;
      const std::string one{static_cast<char>(lead), static_cast<char>(trail)};
      const std::u16string decoded = gbkToUnicode(Text(one));
      if (decoded == u"\uFFFD") continue;
      ASSERT_EQ(decoded.size(), 1u) << "lead " << lead << " trail " << trail;
      gbk += one;
      ++assigned;
    }
  }
  EXPECT_GT(assigned, 21000);  // GBK has over 21000 characters
  const std::u16string unicode = gbkToUnicode(Text(gbk));
  EXPECT_EQ(unicode.size(), static_cast<std::size_t>(assigned));
  EXPECT_EQ(unicodeToGbk(unicode).str(), gbk);
}

// The platform calls themselves: the sizing call's count is exact, and a target of that size,
// or a smaller one, is never overrun (the sanitizer build checks the bounds of each vector).
TEST(CodepagePlatformTest, SizingIsExactAndTargetsAreNeverOverrun) {
  std::mt19937 random(20240601);
  // Bytes that make up UTF-8 and GBK of every kind, ill-formed sequences included.
  const unsigned char alphabet[] = {0x00, 'a', ' ', 0x7F, 0x80, 0x81, 0xA1, 0xA8, 0xBF, 0xC0, 0xC3,
                                    0xCC, 0x81, 0xD6, 0xE0, 0xE4, 0xB8, 0xAD, 0xED, 0xA0, 0xEF,
                                    0xBB, 0xF0, 0x9F, 0xF4, 0x90, 0xFE, 0xFF};
  const auto started = std::chrono::steady_clock::now();
  for (int round = 0; round < 3000; ++round) {
    if (std::chrono::steady_clock::now() - started > std::chrono::seconds(30)) break;
    const std::size_t length = random() % 48;
    std::string input(length, '\0');
    for (auto& byte : input) {
      const bool anyByte = random() % 3 == 0;
      byte = static_cast<char>(anyByte ? random() % 256 : alphabet[random() % sizeof alphabet]);
    }
    SCOPED_TRACE("round " + std::to_string(round));

    for (const CodePage page : {CodePage::utf8, CodePage::gbk}) {
      const int units = decodeToWide(page, input, nullptr, 0);
      ASSERT_GE(units, 0);
      if (units == 0) {
        EXPECT_TRUE(input.empty());
        continue;
      }
      std::vector<char> exact(2 * static_cast<std::size_t>(units));
      EXPECT_EQ(decodeToWide(page, input, exact.data(), units), units);
      if (units > 1) {  // a capacity of 0 would ask for the size again
        std::vector<char> small(2 * static_cast<std::size_t>(units - 1));
        EXPECT_LE(decodeToWide(page, input, small.data(), units - 1), units - 1);
      }
    }

    // The input read as UTF-16 units.
    const int unitCount = static_cast<int>(length / 2);
    const int bytes = encodeWideToGbk(input.data(), unitCount, nullptr, 0);
    ASSERT_GE(bytes, 0);
    if (bytes > 0) {
      std::vector<char> exact(static_cast<std::size_t>(bytes));
      EXPECT_EQ(encodeWideToGbk(input.data(), unitCount, exact.data(), bytes), bytes);
    }
    if (bytes > 1) {
      std::vector<char> small(static_cast<std::size_t>(bytes - 1));
      EXPECT_LE(encodeWideToGbk(input.data(), unitCount, small.data(), bytes - 1), bytes - 1);
    }

    // The routines on the same bytes: texts never hold a zero byte, the intermediate holds
    // whole units, and the two stages make up the whole conversion.
    const ByteSet set(input);
    const ByteSet utf16 = utf8ToUtf16(set);
    EXPECT_EQ(utf16.size() % 2, 0);
    const Text gbk = utf8ToGbk(set);
    EXPECT_EQ(gbk.view().find('\0'), std::string_view::npos);
    EXPECT_EQ(gbk, utf16ToGbk(utf16));
    EXPECT_EQ(utf16ToGbk(set).view().find('\0'), std::string_view::npos);
    const std::u16string unicode = gbkToUnicode(Text(input));
    EXPECT_EQ(unicodeToGbk(unicode).view().find('\0'), std::string_view::npos);
  }
}

}  // namespace
}  // namespace corvane
