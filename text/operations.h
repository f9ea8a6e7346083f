// Search and editing operations on texts: left/right/middle, find forwards and backwards,
// lower-casing, space trimming and removal, replacement and splitting.
//
// Scanning operations step by characters: a byte below 0x80 is one character, a byte of 0x80 or
// above together with the byte after it is one character (a lone such byte at the end is
// handled as each operation says). Case folding touches the ASCII letters A to Z only. Space
// characters are 0x20 and the full-width space 0xA1 0xA1. Empty results are missing texts.
#pragma once

#include <optional>

#include "text/text.h"
#include "text/text_array.h"

namespace corvane {

// The first min(n, length) bytes; n of 0 or less gives the missing text.
[[nodiscard]] Text textLeft(const Text& text, int n);

// The last min(n, length) bytes; n of 0 or less gives the missing text.
[[nodiscard]] Text textRight(const Text& text, int n);

// n bytes from 1-based position `start`; a start outside the text or n of 0 or less gives the
// missing text.
[[nodiscard]] Text textMid(const Text& text, int start, int n);

// Position of the first occurrence at or after `start` (below 1 means the whole text), or -1.
// Only character starts are tried; an empty subtext gives 1 unless the searched range is empty.
[[nodiscard]] int findText(const Text& text, const Text& subtext, int start = 1,
                           bool ignoreCase = false);

// Position of the last occurrence that ends before `start` (omitted: the whole text), or -1.
[[nodiscard]] int findTextReverse(const Text& text, const Text& subtext,
                                  std::optional<int> start = std::nullopt,
                                  bool ignoreCase = false);

// ASCII capitals lowered; two-byte characters untouched.
[[nodiscard]] Text toLowerCase(const Text& text);

// Space characters removed at both ends (and a lone first byte at the very end).
[[nodiscard]] Text trimSpaces(const Text& text);

// Every space character removed (and a lone first byte at the very end).
[[nodiscard]] Text removeAllSpaces(const Text& text);

// Occurrences of `subtext` from `start` on replaced by `replacement`, at most `count` of them
// (negative: all). Replacement text is never searched again.
[[nodiscard]] Text replaceText(const Text& text, const Text& subtext, const Text& replacement = {},
                               int start = 1, int count = -1, bool caseSensitive = false);

// The pieces between delimiters, as a one-dimensional array. Omitted `maxCount` means no limit;
// a given negative one counts as 0.
[[nodiscard]] TextArray splitText(const Text& text, const Text& delimiter = ",",
                                  std::optional<int> maxCount = std::nullopt);

}  // namespace corvane
