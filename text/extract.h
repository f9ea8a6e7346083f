// Marker extraction: the values that stand between a start and an end marker in the service's
// answers, header and URL texts, taken out without parsing.
#pragma once

#include "text/text.h"
#include "text/text_array.h"

namespace corvane {

// The text between the first start marker found from `startPosition` on (0 and 1: the first
// character) and the first end marker after it; the missing text when either is not found.
// In both markers the token "#引号" (GBK bytes) stands for a double quote. Not trimmed.
[[nodiscard]] Text extractBetween(const Text& text, const Text& startMarker,
                                  const Text& endMarker, int startPosition = 0,
                                  bool ignoreCase = false);

// The options of extractAllBetween; every one omitted is the ordinary case.
struct ExtractAllOptions {
  bool caseSensitive = false;    // false: ASCII letters in the markers match either case
  int maxLength = 0;             // 0: no limit; a longer (trimmed) value ends the extraction
  Text prefix;                   // put before every value
  Text suffix;                   // put after every value
  bool keepStartMarker = false;  // put the start marker in front, ahead of the prefix
  bool keepEndMarker = false;    // put the end marker behind, after the suffix
  int startPosition = 0;         // where the first start marker is searched; 0 and 1: the first
};

// Empties `result`, then collects every value between the markers, trimmed, in order; each
// next start marker is searched from the previous end marker's own position. A blank or
// over-long value ends the extraction. Returns the member count of `result`.
int extractAllBetween(const Text& text, const Text& startMarker, const Text& endMarker,
                      TextArray& result, const ExtractAllOptions& options = {});

}  // namespace corvane
