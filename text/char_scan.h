// Internal to the text toolkit: character stepping over GBK bytes, ASCII case folding, and the
// search for a subtext's occurrences that the scanning operations share.
//
// Every scan stays linear in the text's length, also on hostile input: character starts are
// found by resynchronising after the last byte below 0x80 instead of walking from the front
// each time, and long subtexts are matched with a prefix-function automaton.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::scan {

inline constexpr std::size_t npos = std::string_view::npos;

// A byte of 0x80 or above starts a two-byte character, whatever byte follows it.
[[nodiscard]] inline bool isLeadByte(char byte) { return static_cast<unsigned char>(byte) >= 0x80; }

// Bytes taken by the character starting at `at`: 2 after a lead byte, 1 otherwise.
[[nodiscard]] inline std::size_t charWidth(std::string_view text, std::size_t at) {
  return isLeadByte(text[at]) ? 2 : 1;
}

// A to Z lowered; every other byte, the second byte of a two-byte character included, unchanged.
[[nodiscard]] inline char foldCase(char byte) {
  return (byte >= 'A' && byte <= 'Z') ? static_cast<char>(byte + ('a' - 'A')) : byte;
}

// The first character start at or after `target` when the text is stepped from `known`, itself
// a character start. Positions are 0-based; the answer is `target` or `target + 1`.
[[nodiscard]] std::size_t charStartAtOrAfter(std::string_view text, std::size_t known,
                                             std::size_t target);

// The occurrences of a non-empty needle in a text, handed out in increasing order.
struct OccurrenceSearch {
  std::string_view text;
  std::string_view needle;
  bool ignoreCase = false;
  // Long needles only: the folded needle, its prefix function and the automaton's progress.
  std::string pattern;
  std::vector<std::size_t> prefix;
  std::size_t scanned = 0;
  std::size_t matched = 0;
  // The occurrence handed out last, and whether the text holds no more.
  std::size_t found = npos;
  bool exhausted = false;
};

[[nodiscard]] OccurrenceSearch makeOccurrenceSearch(std::string_view text, std::string_view needle,
                                                    bool ignoreCase);

// The first occurrence (0-based) that starts at or after `from`, or npos. Between calls on the
// same search `from` must not decrease.
[[nodiscard]] std::size_t nextOccurrence(OccurrenceSearch& search, std::size_t from);

// The first occurrence at or after `from` that begins on a character start, the text being
// stepped from `from` on (0-based), or npos. The needle must not be empty.
[[nodiscard]] std::size_t findCharAligned(std::string_view text, std::string_view needle,
                                          std::size_t from, bool ignoreCase);

// The text without space characters (0x20, and 0xA1 0xA1) at both ends; a lone lead byte at
// the very end is cut as well, while a run of spaces in front of it stays.
[[nodiscard]] std::string_view trimSpaceChars(std::string_view text);

}  // namespace corvane::scan
