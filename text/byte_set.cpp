#include "text/byte_set.h"

#include <algorithm>

namespace corvane {

int bytesLength(const ByteSet& bytes) { return bytes.size(); }

ByteSet concatBytes(std::initializer_list<std::string_view> parts) {
  std::size_t total = 0;
  for (const auto part : parts) total += part.size();
  std::string bytes;
  bytes.reserve(total);
  for (const auto part : parts) bytes.append(part);
  return ByteSet(std::move(bytes));
}

int compareBytes(const ByteSet& a, const ByteSet& b) { return a.view() == b.view() ? 0 : 1; }

ByteSet textToBytes(const Text& text) { return ByteSet(text.view()); }

Text bytesToText(const ByteSet& bytes) {
  // The text ends at the first NUL; resultText gives the missing text for nothing before it.
  const auto view = bytes.view();
  return resultText(view.substr(0, std::min(view.find('\0'), view.size())));
}

ByteSet blankBytes(int n) {
  if (n <= 0) return ByteSet();
  return ByteSet(std::string(static_cast<std::size_t>(n), '\0'));
}

ByteSet bytesLeft(const ByteSet& bytes, int n) {
  if (n <= 0) return ByteSet();
  return ByteSet(bytes.view().substr(0, static_cast<std::size_t>(n)));
}

}  // namespace corvane
