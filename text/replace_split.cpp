// Replacing occurrences of a subtext and splitting at a delimiter, stepping by characters.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <string>

#include "text/char_scan.h"
#include "text/operations.h"

namespace corvane {

Text replaceText(const Text& text, const Text& subtext, const Text& replacement, int start,
                 int count, bool caseSensitive) {
  const std::string_view bytes = text.view();
  const std::string_view needle = subtext.view();
  const std::string_view with = replacement.view();
  const std::size_t length = bytes.size();
  const std::int64_t from = std::max<std::int64_t>(0, std::int64_t{start} - 1);
  if (length == 0 || needle.empty() || from >= static_cast<std::int64_t>(length) || count == 0) {
    return resultText(bytes);
  }

  std::int64_t remaining = count;  // negative: no limit
  std::string edited;
  edited.reserve(length);
  scan::OccurrenceSearch search = scan::makeOccurrenceSearch(bytes, needle, !caseSensitive);
  std::size_t cursor = static_cast<std::size_t>(from);  // a character start, even mid-character
  std::size_t copied = 0;                               // bytes before this are in `edited`
  bool stopped = false;
  for (;;) {
    if (remaining == 0) {
      stopped = true;
      break;
    }
    const std::size_t at = scan::nextOccurrence(search, cursor);
    if (at == scan::npos) break;
    cursor = scan::charStartAtOrAfter(bytes, cursor, at);
    if (cursor != at) continue;  // starts on the second byte of a character
    // A text cannot grow past what a 32-bit length counts: further occurrences stay as they are.
    const std::size_t grown = edited.size() + (at - copied) + with.size() + (length - at - needle.size());
    if (grown > static_cast<std::size_t>(INT_MAX)) {
      stopped = true;
      break;
    }
    edited.append(bytes.substr(copied, at - copied));
    edited.append(with);
    cursor = copied = at + needle.size();
    if (remaining > 0) --remaining;
  }
  // A walk with a one-byte subtext that runs to the end drops a lone lead byte it reaches there.
  std::size_t end = length;
  if (!stopped && needle.size() == 1 && cursor < length && scan::isLeadByte(bytes[length - 1]) &&
      scan::charStartAtOrAfter(bytes, cursor, length - 1) == length - 1) {
    end = length - 1;
  }
  edited.append(bytes.substr(copied, end - copied));
  return resultText(std::move(edited));
}

TextArray splitText(const Text& text, const Text& delimiter, std::optional<int> maxCount) {
  const std::string_view bytes = text.view();
  const std::string_view separator = delimiter.view();
  TextArray pieces;
  const std::int64_t remaining = maxCount ? std::max(0, *maxCount) : -1;  // negative: no limit
  if (bytes.empty() || remaining == 0) return pieces;
  if (separator.empty()) {
    appendMember(pieces, resultText(bytes));
    return pieces;
  }

  // The walk runs twice: once to count the pieces, so that the array is sized once instead of
  // regrown, and once to store them.
  const auto walk = [&](auto&& store) {
    scan::OccurrenceSearch search = scan::makeOccurrenceSearch(bytes, separator, false);
    std::int64_t left = remaining;
    std::size_t cursor = 0;
    std::size_t pieceStart = 0;
    for (;;) {
      const std::size_t at = scan::nextOccurrence(search, cursor);
      if (at == scan::npos) break;
      cursor = scan::charStartAtOrAfter(bytes, cursor, at);
      if (cursor != at) continue;  // starts on the second byte of a character
      store(bytes.substr(pieceStart, at - pieceStart));
      cursor = pieceStart = at + separator.size();
      if (left > 0 && --left == 0) return;  // the limit is used up: the rest is dropped
    }
    if (pieceStart < bytes.size()) store(bytes.substr(pieceStart));
  };
  int count = 0;
  walk([&](std::string_view) { ++count; });
  redimArray(pieces, {count});
  int index = 0;
  walk([&](std::string_view piece) { pieces(++index) = resultText(piece); });
  return pieces;
}

}  // namespace corvane
