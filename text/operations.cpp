// Byte slicing, case lowering and space removal.
#include "text/operations.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "text/char_scan.h"

namespace corvane {

Text textLeft(const Text& text, int n) {
  if (n <= 0) return Text();
  return resultText(text.view().substr(0, static_cast<std::size_t>(n)));
}

Text textRight(const Text& text, int n) {
  if (n <= 0) return Text();
  const std::string_view bytes = text.view();
  const std::size_t count = std::min(bytes.size(), static_cast<std::size_t>(n));
  return resultText(bytes.substr(bytes.size() - count));
}

Text textMid(const Text& text, int start, int n) {
  const std::string_view bytes = text.view();
  const auto length = static_cast<std::int64_t>(bytes.size());
  if (start < 1 || start > length || n <= 0) return Text();
  return resultText(bytes.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(n)));
}

Text toLowerCase(const Text& text) {
  std::string lowered(text.view());
  for (std::size_t at = 0; at < lowered.size();) {
    if (scan::isLeadByte(lowered[at])) {
      at += 2;  // a two-byte character (or a lone lead byte) stays as it is
    } else {
      lowered[at] = scan::foldCase(lowered[at]);
      at += 1;
    }
  }
  return resultText(std::move(lowered));
}

Text trimSpaces(const Text& text) { return resultText(scan::trimSpaceChars(text.view())); }

Text removeAllSpaces(const Text& text) {
  const std::string_view bytes = text.view();
  std::string kept;
  kept.reserve(bytes.size());
  for (std::size_t at = 0; at < bytes.size();) {
    if (!scan::isLeadByte(bytes[at])) {
      if (bytes[at] != ' ') kept.push_back(bytes[at]);
      at += 1;
    } else if (at + 1 == bytes.size()) {
      break;  // a lone lead byte at the very end is dropped
    } else {
      if (bytes[at] != '\xA1' || bytes[at + 1] != '\xA1') kept.append(bytes.substr(at, 2));
      at += 2;
    }
  }
  return resultText(std::move(kept));
}

}  // namespace corvane
