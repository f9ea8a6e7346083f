// Finding a subtext forwards and backwards, stepping by characters.
#include <algorithm>
#include <cstdint>

#include "text/char_scan.h"
#include "text/operations.h"

namespace corvane {

int findText(const Text& text, const Text& subtext, int start, bool ignoreCase) {
  const std::string_view bytes = text.view();
  const std::string_view needle = subtext.view();
  // 64-bit, so that a start of INT_MIN does not overflow.
  const std::int64_t from = std::max<std::int64_t>(0, std::int64_t{start} - 1);
  if (from >= static_cast<std::int64_t>(bytes.size())) return -1;
  if (needle.empty()) return 1;
  const std::size_t at =
      scan::findCharAligned(bytes, needle, static_cast<std::size_t>(from), ignoreCase);
  return at == scan::npos ? -1 : static_cast<int>(at + 1);
}

int findTextReverse(const Text& text, const Text& subtext, std::optional<int> start,
                    bool ignoreCase) {
  const std::string_view bytes = text.view();
  const std::string_view needle = subtext.view();
  const auto length = static_cast<std::int64_t>(bytes.size());
  // Only occurrences lying wholly in the first `window` bytes count.
  const std::int64_t window =
      start ? std::clamp<std::int64_t>(std::int64_t{*start} - 1, 0, length) : length;
  if (needle.empty()) return window > 0 ? 1 : -1;

  // Walk forwards from the first byte, remembering the last occurrence on a character start.
  const std::string_view inWindow = bytes.substr(0, static_cast<std::size_t>(window));
  scan::OccurrenceSearch search = scan::makeOccurrenceSearch(inWindow, needle, ignoreCase);
  std::size_t cursor = 0;
  std::size_t last = scan::npos;
  for (;;) {
    const std::size_t at = scan::nextOccurrence(search, cursor);
    if (at == scan::npos) break;
    cursor = scan::charStartAtOrAfter(inWindow, cursor, at);
    if (cursor == at) {
      last = at;
      cursor = at + scan::charWidth(inWindow, at);
    }
  }
  return last == scan::npos ? -1 : static_cast<int>(last + 1);
}

}  // namespace corvane
