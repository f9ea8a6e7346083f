// Search and editing operations: positions, counts, case folding and two-byte stepping.
//
// Two-byte texts are written as explicit bytes. Any byte of 0x80 or above starts a two-byte
// character; 0xB0 0xA1 is 啊, 0xA1 0xA1 the full-width space.
#include "text/operations.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace corvane {
namespace {

using ::testing::ElementsAreArray;

std::vector<std::string> membersOf(const TextArray& array) {
  std::vector<std::string> out;
  for (const Text& member : array.members()) out.push_back(member.str());
  return out;
}

// Every empty result is the missing text; every non-empty one is present.
void expectResult(const Text& actual, std::string_view expected) {
  EXPECT_EQ(actual.view(), expected);
  EXPECT_EQ(actual.isMissing(), expected.empty());
}

TEST(TextSlicing, LeftRightAndMiddleCountBytes) {
  struct Row {
    const char* name;
    Text actual;
    std::string_view expected;
  };
  const Text abc = "abc";
  const Text abcdef = "abcdef";
  const Row rows[] = {
      {"left past the end", textLeft(abc, 5), "abc"},
      {"left 0", textLeft(abc, 0), ""},
      {"left -1", textLeft(abc, -1), ""},
      {"left INT_MIN", textLeft(abc, INT_MIN), ""},
      {"left INT_MAX", textLeft(abc, INT_MAX), "abc"},
      {"left of missing", textLeft(Text(), 3), ""},
      {"left cuts a character in half", textLeft(Text("\xB0\xA1"), 1), "\xB0"},
      {"right 2", textRight(abc, 2), "bc"},
      {"right INT_MAX", textRight(abc, INT_MAX), "abc"},
      {"right INT_MIN", textRight(abc, INT_MIN), ""},
      {"mid 3 for 2", textMid(abcdef, 3, 2), "cd"},
      {"mid 5 for 10", textMid(abcdef, 5, 10), "ef"},
      {"mid from 0", textMid(abcdef, 0, 2), ""},
      {"mid from 7", textMid(abcdef, 7, 1), ""},
      {"mid for 0", textMid(abcdef, 1, 0), ""},
      {"mid from INT_MIN", textMid(abcdef, INT_MIN, 3), ""},
      {"mid from INT_MAX", textMid(abcdef, INT_MAX, 3), ""},
      {"mid for INT_MAX", textMid(abcdef, 6, INT_MAX), "f"},
      {"mid for INT_MIN", textMid(abcdef, 2, INT_MIN), ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    expectResult(row.actual, row.expected);
  }
}

struct FindRow {
  const char* name;
  std::string_view text;
  std::string_view subtext;
  int start;
  bool ignoreCase;
  int expected;
};

TEST(FindText, FindsFirstOccurrenceOnACharacterStart) {
  const FindRow rows[] = {
      {"plain", "abcabc", "bc", 1, false, 2},
      {"from 3", "abcabc", "bc", 3, false, 5},
      {"from 7", "abcabc", "bc", 7, false, -1},
      {"from 0 is the whole text", "abcabc", "bc", 0, false, 2},
      {"from -5 is the whole text", "abcabc", "bc", -5, false, 2},
      {"from INT_MIN", "abcabc", "bc", INT_MIN, false, 2},
      {"from INT_MAX", "abcabc", "bc", INT_MAX, false, -1},
      {"not there", "abcabc", "cb", 1, false, -1},
      {"subtext longer than the text", "ab", "abc", 1, false, -1},
      {"empty subtext gives 1 whatever the start", "abc", "", 3, false, 1},
      {"empty subtext in an empty text", "", "", 1, false, -1},
      {"empty subtext past the end", "abc", "", 4, false, -1},
      {"empty subtext from INT_MIN", "abc", "", INT_MIN, false, 1},
      {"case differs", "Set-Cookie: a=1", "set-cookie", 1, false, -1},
      {"case ignored", "Set-Cookie: a=1", "set-cookie", 1, true, 1},
      {"only ASCII letters fold", "\xC1", "\xE1", 1, true, -1},
      // 0xB0 0x61 is one character: its second byte is never a starting point.
      {"second byte skipped", "\xB0" "aa", "a", 1, false, 3},
      // 啊啊 (0xB0 0xA1 0xB0 0xA1): 0xA1 0xB0 straddles two characters.
      {"straddling match from the start", "\xB0\xA1\xB0\xA1", "\xA1\xB0", 1, false, -1},
      {"straddling match from the second byte", "\xB0\xA1\xB0\xA1", "\xA1\xB0", 2, false, 2},
      {"a match may end inside a character", "x\xB0\xA1", "x\xB0", 1, false, 1},
      // Folding applies to the second byte of a two-byte character as well.
      {"second byte folded", "\xB0" "A", "\xB0" "a", 1, true, 1},
      {"second byte not folded", "\xB0" "A", "\xB0" "a", 1, false, -1},
      {"lone lead byte at the end", "a\xB0", "\xB0", 1, false, 2},
      {"lone lead byte shadows nothing", "\xB0", "a", 1, false, -1},
      {"missing text", "", "a", 1, false, -1},
  };
  for (const FindRow& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(findText(Text(row.text), Text(row.subtext), row.start, row.ignoreCase), row.expected);
  }
}

TEST(FindText, OmittedStartAndCaseSearchTheWholeTextExactly) {
  EXPECT_EQ(findText("xAbab", "ab"), 4);
}

TEST(FindText, LongSubtextsKeepCharacterSteppingAndCaseFolding) {
  // 0xB0 followed by forty 0xA1: characters start at bytes 1, 3, 5, ...
  const std::string text = "\xB0" + std::string(40, '\xA1');
  const std::string needle(39, '\xA1');
  EXPECT_EQ(findText(Text(text), Text(needle)), 3);
  EXPECT_EQ(findText(Text(text), Text(needle), 2), 2);

  const std::string letters = "xx" + std::string(50, 'Q') + "R";
  EXPECT_EQ(findText(Text(letters), Text(std::string(50, 'q') + "r"), 1, true), 3);
  EXPECT_EQ(findText(Text(letters), Text(std::string(50, 'q') + "r"), 1, false), -1);
}

TEST(FindTextReverse, FindsLastOccurrenceEndingBeforeStart) {
  struct Row {
    const char* name;
    std::string_view text;
    std::string_view subtext;
    std::optional<int> start;
    bool ignoreCase;
    int expected;
  };
  const Row rows[] = {
      {"omitted start", "a.b.c", ".", std::nullopt, false, 4},
      {"start 4", "a.b.c", ".", 4, false, 2},
      {"start 2", "a.b.c", ".", 2, false, -1},
      {"start 1", "a.b.c", ".", 1, false, -1},
      {"start 0", "a.b.c", ".", 0, false, -1},
      {"start INT_MIN", "a.b.c", ".", INT_MIN, false, -1},
      {"start 100", "a.b.c", ".", 100, false, 4},
      {"start INT_MAX", "a.b.c", ".", INT_MAX, false, 4},
      {"occurrence on the last byte excluded", "a.b.", ".", 4, false, 2},
      {"occurrence on the last byte with start omitted", "a.b.", ".", std::nullopt, false, 4},
      {"empty subtext", "abc", "", std::nullopt, false, 1},
      {"empty subtext, start 1", "abc", "", 1, false, -1},
      {"empty subtext, empty text", "", "", std::nullopt, false, -1},
      {"case ignored", "aXbx", "x", std::nullopt, false, 4},
      {"case folded", "aXbx", "X", 4, true, 2},
      // 0xB0 0x2E is one character: its '.' is not a starting point.
      {"second byte skipped", "\xB0..", ".", std::nullopt, false, 3},
      {"second byte skipped inside the window", "\xB0..", ".", 3, false, -1},
      {"lone lead byte at the end", "\xB0\xA1\xB0", "\xB0", std::nullopt, false, 3},
      {"missing text", "", "a", std::nullopt, false, -1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(findTextReverse(Text(row.text), Text(row.subtext), row.start, row.ignoreCase),
              row.expected);
  }
}

TEST(ToLowerCase, LowersAsciiCapitalsOutsideTwoByteCharacters) {
  struct Row {
    std::string_view text;
    std::string_view expected;
  };
  const Row rows[] = {
      {"AbC-Z", "abc-z"},
      {"", ""},
      // A two-byte character whose second byte is 'A' keeps it.
      {"\xB0" "AA", "\xB0" "Aa"},
      {"Z\xC1", "z\xC1"},  // a lone lead byte at the end is copied
      {"@[`{", "@[`{"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    expectResult(toLowerCase(Text(row.text)), row.expected);
  }
}

TEST(TrimSpaces, RemovesSpaceCharactersAtBothEnds) {
  struct Row {
    const char* name;
    std::string_view text;
    std::string_view expected;
  };
  const Row rows[] = {
      {"ASCII spaces", "  a b  ", "a b"},
      {"full-width spaces", "\xA1\xA1" "a\xA1\xA1", "a"},
      {"tab and CR LF stay", "\ta\r\n", "\ta\r\n"},
      {"only spaces", "  \xA1\xA1 ", ""},
      {"empty", "", ""},
      {"lone lead byte cut, spaces in front stay", "a \xB0", "a "},
      {"lone 0xA1 cut", "a\xA1", "a"},
      {"a space that is a second byte stays", "\xB0 ", "\xB0 "},
      // 0xB0 0xA1 is 啊; the 0xA1 0xA1 after it is a full-width space.
      {"full-width space after a character", "\xB0\xA1\xA1\xA1", "\xB0\xA1"},
      {"0xA1 pair straddling characters", "\xB0\xB0\xA1\xA1\xA1", "\xB0\xB0\xA1\xA1"},
      {"leading 0xA1 before a letter", "\xA1" "a b", "\xA1" "a b"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    expectResult(trimSpaces(Text(row.text)), row.expected);
  }
}

TEST(RemoveAllSpaces, RemovesEverySpaceCharacter) {
  struct Row {
    const char* name;
    std::string_view text;
    std::string_view expected;
  };
  const Row rows[] = {
      {"ASCII and full-width", " a\xA1\xA1" "b ", "ab"},
      {"only spaces", " \xA1\xA1 ", ""},
      {"lone lead byte dropped", "a b\xB0", "ab"},
      // 0xB0 0xA1 is 啊, followed by a full-width space; then 0xA1 0x62 is one character.
      {"full-width space after a character", "\xB0\xA1\xA1\xA1", "\xB0\xA1"},
      {"0xA1 pair straddling characters", "\xB0\xA1\xA1" "b", "\xB0\xA1\xA1" "b"},
      {"tab stays", "a\tb", "a\tb"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    expectResult(removeAllSpaces(Text(row.text)), row.expected);
  }
}

TEST(ReplaceText, ReplacesOccurrencesFromStartUpToCount) {
  struct Row {
    const char* name;
    std::string_view text;
    std::string_view subtext;
    std::string_view replacement;
    int start;
    int count;
    bool caseSensitive;
    std::string_view expected;
  };
  const Row rows[] = {
      {"every occurrence", "aXbXc", "X", "-", 1, -1, false, "a-b-c"},
      {"count 1", "aXbXc", "X", "-", 1, 1, false, "a-bXc"},
      {"start 3", "aXbXc", "X", "-", 3, -1, false, "aXb-c"},
      {"count 0", "aXbXc", "X", "-", 1, 0, false, "aXbXc"},
      {"start 6", "aXbXc", "X", "-", 6, -1, false, "aXbXc"},
      {"start INT_MAX", "aXbXc", "X", "-", INT_MAX, -1, false, "aXbXc"},
      {"start INT_MIN", "aXbXc", "X", "-", INT_MIN, -1, false, "a-b-c"},
      {"empty subtext", "aXbXc", "", "-", 1, -1, false, "aXbXc"},
      {"count -5", "aXbXc", "X", "-", 1, -5, false, "a-b-c"},
      {"count INT_MIN", "aXbXc", "X", "-", 1, INT_MIN, false, "a-b-c"},
      {"count INT_MAX", "aXbXc", "X", "-", 1, INT_MAX, false, "a-b-c"},
      {"case folded by default", "aXbxc", "x", "-", 1, -1, false, "a-b-c"},
      {"case sensitive", "aXbxc", "x", "-", 1, -1, true, "aXb-c"},
      {"deletion", "a--b", "-", "", 1, -1, false, "ab"},
      {"deleting everything", "aaa", "a", "", 1, -1, false, ""},
      {"replacement not searched again", "aa", "a", "aa", 1, -1, false, "aaaa"},
      {"empty text", "", "a", "b", 1, -1, false, ""},
      {"subtext longer than the text", "ab", "abc", "x", 1, -1, false, "ab"},
      // 啊啊 (0xB0 0xA1 0xB0 0xA1): 0xA1 0xB0 straddles two characters.
      {"straddling from the start", "\xB0\xA1\xB0\xA1", "\xA1\xB0", "-", 1, -1, false,
       "\xB0\xA1\xB0\xA1"},
      {"straddling from the second byte", "\xB0\xA1\xB0\xA1", "\xA1\xB0", "-", 2, -1, false,
       "\xB0-\xA1"},
      {"second byte folded", "\xB0" "A", "\xB0" "a", "x", 1, -1, false, "x"},
      // A walk with a one-byte subtext that reaches a lone lead byte at the end drops it.
      {"lone lead byte dropped", "a\xB0", "a", "b", 1, -1, false, "b"},
      {"lone lead byte replaced", "a\xB0", "\xB0", "x", 1, -1, false, "ax"},
      {"lone lead byte kept when the count stops the walk", "a\xB0", "a", "b", 1, 1, false,
       "b\xB0"},
      {"lone lead byte kept with a longer subtext", "ab\xB0", "ab", "x", 1, -1, false, "x\xB0"},
      {"lone lead byte after a second byte is none", "\xB0\xB0", "a", "b", 1, -1, false,
       "\xB0\xB0"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    expectResult(replaceText(Text(row.text), Text(row.subtext), Text(row.replacement), row.start,
                             row.count, row.caseSensitive),
                 row.expected);
  }
}

TEST(ReplaceText, NormalisesHeaderNamesAndDeletesThem) {
  const Text headers = "set-cookie: a=1\r\nSET-COOKIE: b=2\r\nHost: x\r\n";
  expectResult(replaceText(headers, "Set-Cookie", "Set-Cookie"),
               "Set-Cookie: a=1\r\nSet-Cookie: b=2\r\nHost: x\r\n");
  expectResult(replaceText(headers, "Set-Cookie:"), " a=1\r\n b=2\r\nHost: x\r\n");
}

TEST(SplitText, CutsAtTheDelimiter) {
  struct Row {
    const char* name;
    std::string_view text;
    std::string_view delimiter;
    std::optional<int> maxCount;
    std::vector<std::string> expected;
  };
  const Row rows[] = {
      {"doubled and trailing delimiters", "a,,b,", ",", std::nullopt, {"a", "", "b"}},
      {"leading delimiter", ",a", ",", std::nullopt, {"", "a"}},
      {"no delimiter", "abc", ";", std::nullopt, {"abc"}},
      {"empty text", "", ",", std::nullopt, {}},
      {"empty delimiter", "a,b", "", std::nullopt, {"a,b"}},
      {"only a delimiter", ",", ",", std::nullopt, {""}},
      {"limit 2", "a,b,c", ",", 2, {"a", "b"}},
      {"limit 1 drops the rest", "a,b,c", ",", 1, {"a"}},
      {"limit 3", "a,b,c", ",", 3, {"a", "b", "c"}},
      {"limit INT_MAX", "a,b,c", ",", INT_MAX, {"a", "b", "c"}},
      {"limit 0", "a,b,c", ",", 0, {}},
      {"limit -1", "a,b,c", ",", -1, {}},
      {"limit INT_MIN", "a,b,c", ",", INT_MIN, {}},
      {"header lines", "A: 1\r\nB: 2\r\n", "\r\n", std::nullopt, {"A: 1", "B: 2"}},
      {"empty header line", "A: 1\r\n\r\nbody", "\r\n", std::nullopt, {"A: 1", "", "body"}},
      {"delimiter is case-sensitive", "aXbxc", "x", std::nullopt, {"aXb", "c"}},
      // 0xB0 0x2C is one character: its ',' is no delimiter.
      {"second byte is no delimiter", "\xB0,a,b", ",", std::nullopt, {"\xB0,a", "b"}},
      {"lone lead byte stays in the last piece", "a,\xB0", ",", std::nullopt, {"a", "\xB0"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const TextArray pieces = splitText(Text(row.text), Text(row.delimiter), row.maxCount);
    EXPECT_THAT(membersOf(pieces), ElementsAreArray(row.expected));
    EXPECT_THAT(pieces.dimensions(), ElementsAreArray({static_cast<int>(row.expected.size())}));
    for (const Text& member : pieces.members()) EXPECT_EQ(member.isMissing(), member.view().empty());
  }
}

TEST(SplitText, OmittedDelimiterIsAComma) {
  EXPECT_THAT(membersOf(splitText("a,b")), ElementsAreArray({"a", "b"}));
}

// The operations skip work with a resynchronising scan and a matching automaton; the walks
// below follow the rules one character at a time and must agree with them on random texts.
namespace reference {

using Bytes = std::string;

bool matchAt(const Bytes& text, std::size_t at, const Bytes& sub, bool ignoreCase) {
  for (std::size_t i = 0; i < sub.size(); ++i) {
    char a = text[at + i];
    char b = sub[i];
    if (ignoreCase) {
      if (a >= 'A' && a <= 'Z') a = static_cast<char>(a + 32);
      if (b >= 'A' && b <= 'Z') b = static_cast<char>(b + 32);
    }
    if (a != b) return false;
  }
  return true;
}

std::size_t width(const Bytes& text, std::size_t at) {
  return static_cast<unsigned char>(text[at]) >= 0x80 ? 2 : 1;
}

bool loneAt(const Bytes& text, std::size_t at) { return width(text, at) == 2 && at + 1 == text.size(); }

int find(const Bytes& text, const Bytes& sub, int start, bool ignoreCase) {
  const std::int64_t s = std::max<std::int64_t>(0, std::int64_t{start} - 1);
  if (s >= static_cast<std::int64_t>(text.size())) return -1;
  if (sub.empty()) return 1;
  for (auto p = static_cast<std::size_t>(s); p + sub.size() <= text.size();) {
    if (matchAt(text, p, sub, ignoreCase)) return static_cast<int>(p + 1);
    if (loneAt(text, p)) break;
    p += width(text, p);
  }
  return -1;
}

int findReverse(const Bytes& text, const Bytes& sub, std::optional<int> start, bool ignoreCase) {
  auto w = static_cast<std::int64_t>(text.size());
  if (start) w = std::clamp<std::int64_t>(std::int64_t{*start} - 1, 0, w);
  if (sub.empty()) return w > 0 ? 1 : -1;
  int last = -1;
  for (std::size_t p = 0; static_cast<std::int64_t>(p + sub.size()) <= w;) {
    if (matchAt(text, p, sub, ignoreCase)) last = static_cast<int>(p + 1);
    if (loneAt(text, p)) break;
    p += width(text, p);
  }
  return last;
}

Bytes replace(const Bytes& text, const Bytes& sub, const Bytes& with, int start, int count,
              bool caseSensitive) {
  const std::int64_t s = std::max<std::int64_t>(0, std::int64_t{start} - 1);
  if (text.empty() || sub.empty() || s >= static_cast<std::int64_t>(text.size()) || count == 0) {
    return text;
  }
  Bytes out = text.substr(0, static_cast<std::size_t>(s));
  auto p = static_cast<std::size_t>(s);
  while (p + sub.size() <= text.size()) {
    if (matchAt(text, p, sub, !caseSensitive)) {
      out += with;
      p += sub.size();
      if (count > 0 && --count == 0) break;
    } else if (loneAt(text, p)) {
      p = text.size();
    } else {
      out += text.substr(p, width(text, p));
      p += width(text, p);
    }
  }
  if (p < text.size()) out += text.substr(p);
  return out;
}

std::vector<Bytes> split(const Bytes& text, const Bytes& delimiter, std::optional<int> maxCount) {
  int limit = maxCount ? std::max(0, *maxCount) : -1;
  if (text.empty() || limit == 0) return {};
  if (delimiter.empty()) return {text};
  std::vector<Bytes> pieces;
  std::size_t p = 0;
  std::size_t begin = 0;
  while (p + delimiter.size() <= text.size()) {
    if (matchAt(text, p, delimiter, false)) {
      pieces.push_back(text.substr(begin, p - begin));
      p = begin = p + delimiter.size();
      if (limit > 0 && --limit == 0) return pieces;
    } else if (loneAt(text, p)) {
      break;
    } else {
      p += width(text, p);
    }
  }
  if (begin < text.size()) pieces.push_back(text.substr(begin));
  return pieces;
}

bool isSpace(const Bytes& text, std::size_t at) {
  return text[at] == ' ' || (width(text, at) == 2 && at + 1 < text.size() &&
                             text[at] == '\xA1' && text[at + 1] == '\xA1');
}

Bytes trim(const Bytes& text) {
  std::size_t begin = 0;
  while (begin < text.size() && isSpace(text, begin)) begin += width(text, begin);
  std::size_t end = text.size();
  std::optional<std::size_t> run;
  for (std::size_t p = begin; p < text.size(); p += width(text, p)) {
    if (loneAt(text, p)) {
      end = p;
      run.reset();
      break;
    }
    if (!isSpace(text, p)) {
      run.reset();
    } else if (!run) {
      run = p;
    }
  }
  if (run) end = *run;
  return text.substr(begin, end - begin);
}

}  // namespace reference

class OperationsAgreeWithCharacterWalk : public ::testing::Test {
 protected:
  std::string randomBytes(std::string_view alphabet, std::size_t maxLength) {
    std::string out(std::uniform_int_distribution<std::size_t>(0, maxLength)(random_), ' ');
    for (char& byte : out) {
      byte = alphabet[std::uniform_int_distribution<std::size_t>(0, alphabet.size() - 1)(random_)];
    }
    return out;
  }
  int randomInt(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
  bool randomBool() { return randomInt(0, 1) == 1; }

  std::mt19937 random_{20240611};
};

TEST_F(OperationsAgreeWithCharacterWalk, OnShortSubtexts) {
  // Letters in both cases, spaces, a delimiter and bytes that start two-byte characters.
  const std::string_view alphabet = "aAb ,\xA1\xB0";
  for (int round = 0; round < 4000; ++round) {
    const std::string text = randomBytes(alphabet, 14);
    const std::string sub = randomBytes(alphabet, 3);
    const std::string with = randomBytes("xy\xB0", 2);
    const int length = static_cast<int>(text.size());
    const int start = randomInt(-2, length + 2);
    const int count = randomInt(-2, 3);
    const bool flag = randomBool();
    SCOPED_TRACE(::testing::Message() << "round " << round);
    ASSERT_EQ(findText(Text(text), Text(sub), start, flag), reference::find(text, sub, start, flag));
    ASSERT_EQ(findTextReverse(Text(text), Text(sub), start, flag),
              reference::findReverse(text, sub, start, flag));
    ASSERT_EQ(replaceText(Text(text), Text(sub), Text(with), start, count, flag).str(),
              reference::replace(text, sub, with, start, count, flag));
    const std::optional<int> limit = randomBool() ? std::nullopt : std::optional<int>(count);
    ASSERT_EQ(membersOf(splitText(Text(text), Text(sub), limit)),
              reference::split(text, sub, limit));
    ASSERT_EQ(trimSpaces(Text(text)).str(), reference::trim(text));
  }
}

TEST_F(OperationsAgreeWithCharacterWalk, OnLongSubtexts) {
  // Subtexts past 32 bytes go through the matching automaton. The texts are built from copies
  // of the subtext, some with one byte changed, between short runs of filler, so that
  // occurrences overlap, straddle characters and nearly match.
  const std::string_view alphabet = "aaaaaA\xA1";
  for (int round = 0; round < 600; ++round) {
    const std::string sub = randomBytes(alphabet, 40).append(40, 'a').substr(0, 40);
    std::string text;
    for (int piece = randomInt(0, 4); piece > 0; --piece) {
      text += randomBytes(alphabet, 5);
      std::string copy = sub;
      if (randomBool()) copy[static_cast<std::size_t>(randomInt(0, 39))] = 'A';
      text += copy.substr(0, static_cast<std::size_t>(randomInt(20, 40)));
    }
    const std::string needle = sub.substr(0, static_cast<std::size_t>(randomInt(33, 40)));
    const int start = randomInt(-2, static_cast<int>(text.size()) + 2);
    const bool flag = randomBool();
    SCOPED_TRACE(::testing::Message() << "round " << round);
    ASSERT_EQ(findText(Text(text), Text(needle), start, flag),
              reference::find(text, needle, start, flag));
    ASSERT_EQ(findTextReverse(Text(text), Text(needle), start, flag),
              reference::findReverse(text, needle, start, flag));
    ASSERT_EQ(replaceText(Text(text), Text(needle), "-", start, -1, flag).str(),
              reference::replace(text, needle, "-", start, -1, flag));
    ASSERT_EQ(membersOf(splitText(Text(text), Text(needle))),
              reference::split(text, needle, std::nullopt));
  }
}

}  // namespace
}  // namespace corvane
