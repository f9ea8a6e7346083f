#include "text/text.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace corvane {

namespace {

// A text never holds a NUL: whatever follows the first one is not part of it.
std::string_view upToNul(std::string_view bytes) {
  const auto nul = bytes.find('\0');
  return nul == std::string_view::npos ? bytes : bytes.substr(0, nul);
}

}  // namespace

Text::Text(const char* literal) {
  if (literal != nullptr) {
    bytes_ = literal;
    present_ = true;
  }
}

Text::Text(std::string_view bytes) : bytes_(upToNul(bytes)), present_(true) {}

Text::Text(std::string&& bytes) : bytes_(std::move(bytes)), present_(true) {
  const auto nul = bytes_.find('\0');
  if (nul != std::string::npos) bytes_.resize(nul);
}

Text resultText(std::string&& bytes) {
  if (bytes.empty()) return Text();
  return Text(std::move(bytes));
}

Text resultText(std::string_view bytes) {
  if (bytes.empty()) return Text();
  return Text(bytes);
}

int textLength(const Text& text) { return text.size(); }

Text concatText(std::initializer_list<std::string_view> parts) {
  std::size_t total = 0;
  for (const auto part : parts) total += part.size();
  std::string bytes;
  bytes.reserve(total);
  for (const auto part : parts) bytes.append(part);
  return Text(std::move(bytes));
}

int compareText(const Text& a, const Text& b) {
  const auto x = a.view();
  const auto y = b.view();
  const auto common = std::min(x.size(), y.size());
  // memcmp compares as unsigned char, which is the order texts have.
  const int c = common == 0 ? 0 : std::memcmp(x.data(), y.data(), common);
  if (c != 0) return c < 0 ? -1 : 1;
  if (x.size() == y.size()) return 0;
  return x.size() < y.size() ? -1 : 1;
}

Text charFromCode(int code) {
  const auto byte = static_cast<char>(static_cast<std::uint32_t>(code) & 0xFFu);
  if (byte == '\0') return Text();
  return Text(std::string(1, byte));
}

Text blankText(int n) {
  if (n <= 0) return Text();
  return Text(std::string(static_cast<std::size_t>(n), ' '));
}

namespace {

// Folds the full-width forms that can stand in a number to their ASCII counterparts.
std::string foldFullWidth(std::string_view text) {
  std::string folded;
  folded.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
      folded.push_back(static_cast<char>(lead));
      ++i;
      continue;
    }
    if (i + 1 >= text.size()) break;  // a lone first byte at the very end is dropped
    const auto trail = static_cast<unsigned char>(text[i + 1]);
    if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
      folded.push_back(static_cast<char>(trail & 0x7F));
    } else if (lead == 0xA1 && trail == 0xA1) {
      folded.push_back(' ');
    } else if (lead == 0xA1 && trail == 0xAB) {
      folded.push_back('~');
    } else if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF)) {
      folded.push_back('*');
    } else {
      folded.push_back(static_cast<char>(lead));
      folded.push_back(static_cast<char>(trail));
    }
    i += 2;
  }
  return folded;
}

}  // namespace

int textToInt(const Text& text) {
  const std::string folded = foldFullWidth(text.view());
  std::size_t i = 0;
  while (i < folded.size() && (folded[i] == ' ' || (folded[i] >= '\t' && folded[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < folded.size() && (folded[i] == '+' || folded[i] == '-')) {
    negative = folded[i] == '-';
    ++i;
  }
  // Unsigned arithmetic wraps around on overflow without undefined behaviour.
  std::uint32_t value = 0;
  for (; i < folded.size() && folded[i] >= '0' && folded[i] <= '9'; ++i) {
    value = value * 10u + static_cast<std::uint32_t>(folded[i] - '0');
  }
  if (negative) value = 0u - value;
  return static_cast<int>(value);
}

int bitwiseOr(std::initializer_list<int> values) {
  int result = 0;
  for (const int value : values) result |= value;
  return result;
}

}  // namespace corvane
