// Marker extraction: values taken from between a start and an end marker.
#include "text/extract.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <string>

#include "text/char_scan.h"
#include "text/operations.h"

namespace corvane {

namespace {

// The token "#引号": a number sign followed by the GBK bytes of 引 (0xD2 0xFD) and 号 (0xBA 0xC5).
// In the markers of extractBetween it stands for one double quote.
constexpr char kQuoteToken[] = "#\xD2\xFD\xBA\xC5";

Text withQuotes(const Text& marker) {
  return replaceText(marker, kQuoteToken, "\"", 1, -1, /*caseSensitive=*/true);
}

// Positions past the last int only arise for texts of nearly INT_MAX bytes; a search from
// INT_MAX finds nothing that could end past them either.
int clampToInt(std::int64_t position) {
  return static_cast<int>(std::clamp<std::int64_t>(position, INT_MIN, INT_MAX));
}

}  // namespace

Text extractBetween(const Text& text, const Text& startMarker, const Text& endMarker,
                    int startPosition, bool ignoreCase) {
  const Text start = withQuotes(startMarker);
  const Text end = withQuotes(endMarker);
  const int found = findText(text, start, startPosition, ignoreCase);
  if (found == -1) return Text();
  const std::int64_t valueStart = std::int64_t{found} + textLength(start);
  const int valueEnd = findText(text, end, clampToInt(valueStart), ignoreCase);
  if (valueEnd == -1 || valueEnd <= valueStart) return Text();
  return textMid(text, static_cast<int>(valueStart), static_cast<int>(valueEnd - valueStart));
}

int extractAllBetween(const Text& text, const Text& startMarker, const Text& endMarker,
                      TextArray& result, const ExtractAllOptions& options) {
  result = TextArray();
  const std::string_view bytes = text.view();
  const bool ignoreCase = !options.caseSensitive;
  // Each pass takes one value and the next pass searches from that value's end marker on.
  // A pass that finds the same start and end as the pass before it would repeat forever (an
  // empty start marker is found at position 1 every time): it collects nothing and ends the
  // chain. Any other pass moves the end marker strictly forward.
  int position = options.startPosition;
  int previousStart = 0;
  int previousEnd = 0;
  for (;;) {
    const int start = findText(text, startMarker, position, ignoreCase);
    const std::int64_t valueStart = std::int64_t{start} + textLength(startMarker);
    const int end = findText(text, endMarker, clampToInt(valueStart), ignoreCase);
    if (start < 1 || end < 1) break;
    if (start == previousStart && end == previousEnd) break;
    if (end <= valueStart) break;  // nothing between the markers: a blank group
    const std::string_view value = scan::trimSpaceChars(bytes.substr(
        static_cast<std::size_t>(valueStart - 1), static_cast<std::size_t>(end - valueStart)));
    if (value.empty()) break;  // a blank group ends the extraction
    if (options.maxLength != 0 && static_cast<std::int64_t>(value.size()) > options.maxLength) {
      break;  // so does an over-long value
    }

    std::string member;
    member.reserve((options.keepStartMarker ? startMarker.view().size() : 0) +
                   options.prefix.view().size() + value.size() + options.suffix.view().size() +
                   (options.keepEndMarker ? endMarker.view().size() : 0));
    if (options.keepStartMarker) member.append(startMarker.view());
    member.append(options.prefix.view());
    member.append(value);
    member.append(options.suffix.view());
    if (options.keepEndMarker) member.append(endMarker.view());
    appendMember(result, Text(std::move(member)));

    previousStart = start;
    previousEnd = end;
    position = end;
  }
  return memberCount(result);
}

}  // namespace corvane
