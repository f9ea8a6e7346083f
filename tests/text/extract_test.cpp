// Marker extraction: one value, or every value, between a start and an end marker.
#include "text/extract.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace corvane {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

// The token "#引号" in GBK bytes: '#', 引 (0xD2 0xFD), 号 (0xBA 0xC5).
constexpr const char* kQuoteToken = "#\xD2\xFD\xBA\xC5";

std::vector<std::string> membersOf(const TextArray& array) {
  std::vector<std::string> out;
  for (const Text& member : array.members()) out.push_back(member.str());
  return out;
}

TEST(ExtractBetween, TakesTheFirstValueBetweenTheMarkers) {
  struct Row {
    const char* name;
    std::string text;
    std::string startMarker;
    std::string endMarker;
    int startPosition;
    bool ignoreCase;
    std::string expected;
  };
  const Row rows[] = {
      {"same marker twice", "a'b'c", "'", "'", 0, false, "b"},
      {"start marker absent", "a'b'c", "[", "'", 0, false, ""},
      {"end marker absent", "a[b", "[", "]", 0, false, ""},
      {"end marker only before the start", "]a[b", "[", "]", 0, false, ""},
      {"end right after start", "a[]b", "[", "]", 0, false, ""},
      {"start marker at the very end", "ab[", "[", "", 0, false, ""},
      {"not trimmed", "[ v ]", "[", "]", 0, false, " v "},
      {"case differs", "KEY=v;", "key=", ";", 0, false, ""},
      {"case ignored", "KEY=v;", "key=", ";", 0, true, "v"},
      {"start position 0", "'a'b'c'", "'", "'", 0, false, "a"},
      {"start position 1", "'a'b'c'", "'", "'", 1, false, "a"},
      {"start position 2", "'a'b'c'", "'", "'", 2, false, "b"},
      {"start position INT_MIN", "'a'", "'", "'", INT_MIN, false, "a"},
      {"start position INT_MAX", "'a'", "'", "'", INT_MAX, false, ""},
      {"empty start marker starts at the first byte", "ab;c", "", ";", 0, false, "ab"},
      {"courier code", "{'companyname':'x','code':'sf'}", "code':'", "'", 0, false, "sf"},
      {"escaped quotes", R"({"comCode":"yd","id":1})", R"(comCode":")", "\"", 0, false, "yd"},
      // 0xB0 0x5B is one character: its '[' is no start marker.
      {"marker on a second byte", "\xB0[x]", "[", "]", 0, false, ""},
      // The value starts right after the start marker, also inside a two-byte character.
      {"value starts mid-character", "<\xB0]>", "<\xB0", ">", 0, false, "]"},
      // The token stands for a double quote in both markers.
      {"quote token", "time\":\"12:00\"", std::string("time") + kQuoteToken + ":" + kQuoteToken,
       kQuoteToken, 0, false, "12:00"},
      {"quote token is no literal", std::string("a") + kQuoteToken + "b" + kQuoteToken, kQuoteToken,
       kQuoteToken, 0, false, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const Text value = extractBetween(Text(row.text), Text(row.startMarker), Text(row.endMarker),
                                      row.startPosition, row.ignoreCase);
    EXPECT_EQ(value.view(), row.expected);
    EXPECT_EQ(value.isMissing(), row.expected.empty());
  }
}

TEST(ExtractBetween, MissingTextYieldsTheMissingText) {
  EXPECT_TRUE(extractBetween(Text(), "[", "]").isMissing());
}

TEST(ExtractAllBetween, CollectsEveryValueInOrder) {
  struct Row {
    const char* name;
    std::string text;
    std::string startMarker;
    std::string endMarker;
    ExtractAllOptions options;
    std::vector<std::string> expected;
  };
  ExtractAllOptions caseSensitive;
  caseSensitive.caseSensitive = true;
  ExtractAllOptions maxLength3;
  maxLength3.maxLength = 3;
  ExtractAllOptions maxLength2;
  maxLength2.maxLength = 2;
  ExtractAllOptions decorated;
  decorated.prefix = "<";
  decorated.suffix = ">";
  decorated.keepStartMarker = true;
  decorated.keepEndMarker = true;
  ExtractAllOptions from2;
  from2.startPosition = 2;
  ExtractAllOptions fromMin;
  fromMin.startPosition = INT_MIN;
  ExtractAllOptions fromMax;
  fromMax.startPosition = INT_MAX;

  const Row rows[] = {
      {"groups", "x{a}{b} {c}", "{", "}", {}, {"a", "b", "c"}},
      {"no start marker", "abc", "{", "}", {}, {}},
      {"no end marker", "{abc", "{", "}", {}, {}},
      {"empty text", "", "{", "}", {}, {}},
      {"case folded by default", "<A>x</A><a>y</a>", "<a>", "</a>", {}, {"x", "y"}},
      {"case sensitive", "<A>x</A><a>y</a>", "<a>", "</a>", caseSensitive, {"y"}},
      {"trimmed", "{  v\xA1\xA1}{ w }", "{", "}", {}, {"v", "w"}},
      {"empty group ends the chain", "{a}{}{c}", "{", "}", {}, {"a"}},
      {"blank group ends the chain", "{a}{ \xA1\xA1 }{c}", "{", "}", {}, {"a"}},
      {"over-long value ends the chain", "{ab}{abcd}{c}", "{", "}", maxLength3, {"ab"}},
      {"length counted after trimming", "{ ab }", "{", "}", maxLength2, {"ab"}},
      {"prefix, suffix and both markers", "{v}{w}", "{", "}", decorated, {"{<v>}", "{<w>}"}},
      {"groups do not nest", "{a{b}c}", "{", "}", {}, {"a{b"}},
      {"start position skips an opening brace", "{{a},{b}}", "{", "}", from2, {"a", "b"}},
      {"without it the outer brace opens a value", "{{a},{b}}", "{", "}", {}, {"{a", "b"}},
      {"start position INT_MIN", "{a}", "{", "}", fromMin, {"a"}},
      {"start position INT_MAX", "{a}", "{", "}", fromMax, {}},
      // The closing marker opens the next value when both markers are the same.
      {"same markers", "'a'b'c'", "'", "'", {}, {"a", "b", "c"}},
      {"same markers, blank gap", "'a' 'b'", "'", "'", {}, {"a"}},
      // The quote token has no meaning here.
      {"quote token taken literally", std::string(kQuoteToken) + "v" + kQuoteToken + "\"w\"",
       kQuoteToken, kQuoteToken, {}, {"v"}},
      // 0xB0 0x7B is one character: its '{' opens nothing.
      {"marker on a second byte", "\xB0{a}{b}", "{", "}", {}, {"b"}},
      {"two-byte values", "{\xCB\xB3\xB7\xE1}", "{", "}", {}, {"\xCB\xB3\xB7\xE1"}},  // 顺丰
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TextArray result;
    const int count =
        extractAllBetween(Text(row.text), Text(row.startMarker), Text(row.endMarker), result,
                          row.options);
    EXPECT_EQ(count, static_cast<int>(row.expected.size()));
    EXPECT_THAT(membersOf(result), ElementsAreArray(row.expected));
    EXPECT_THAT(result.dimensions(), ElementsAre(static_cast<int>(row.expected.size())));
  }
}

TEST(ExtractAllBetween, EmptiesTheResultFirstEveryTime) {
  TextArray result;
  redimArray(result, {2, 2});
  EXPECT_EQ(extractAllBetween("{a}", "{", "}", result), 1);
  EXPECT_THAT(membersOf(result), ElementsAre("a"));

  EXPECT_EQ(extractAllBetween("no groups", "{", "}", result), 0);
  EXPECT_THAT(result.members(), IsEmpty());
  EXPECT_THAT(result.dimensions(), ElementsAre(0));

  // The next call starts afresh.
  EXPECT_EQ(extractAllBetween("{b}{c}", "{", "}", result), 2);
  EXPECT_THAT(membersOf(result), ElementsAre("b", "c"));
}

// An empty start marker is found at position 1 on every pass, so each pass would find the same
// value again: the chain ends after the first, instead of collecting forever.
TEST(ExtractAllBetween, PassWithoutProgressEndsTheChain) {
  struct Row {
    const char* name;
    std::string startMarker;
    std::string endMarker;
    std::vector<std::string> expected;
  };
  const Row rows[] = {
      {"empty start marker", "", "}", {"{ab"}},
      {"empty end marker", "{", "", {}},
      {"both empty", "", "", {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TextArray result;
    EXPECT_EQ(extractAllBetween("{ab}cd}", Text(row.startMarker), Text(row.endMarker), result),
              static_cast<int>(row.expected.size()));
    EXPECT_THAT(membersOf(result), ElementsAreArray(row.expected));
  }
}

// A million values: a chain written as one nested call per value would run out of stack.
TEST(ExtractAllBetween, MillionGroupsDoNotExhaustTheStack) {
  constexpr int kGroups = 1'000'000;
  std::string text;
  text.reserve(kGroups * 8);
  for (int i = 0; i < kGroups; ++i) text += "{" + std::to_string(i % 1000) + "} ";
  TextArray result;
  ASSERT_EQ(extractAllBetween(Text(std::move(text)), "{", "}", result), kGroups);
  EXPECT_EQ(result(1).view(), "0");
  EXPECT_EQ(result(kGroups).view(), "999");
  EXPECT_THAT(result.dimensions(), ElementsAre(kGroups));
}

}  // namespace
}  // namespace corvane
