// Text: the byte string every routine of Corvane works on, and its primitive operations.
//
// A text holds GBK bytes and never a NUL; lengths and positions count bytes, positions are
// 1-based. A text is either missing or present: a missing text behaves like the empty text in
// every operation and differs only at a platform call, which receives a null pointer for it.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace corvane {

class Text {
 public:
  // The missing text.
  Text() = default;
  // A present text of the bytes up to the first NUL; a null pointer gives the missing text.
  Text(const char* literal);  // NOLINT(google-explicit-constructor): literals are texts
  // A present text of the bytes up to the first NUL.
  explicit Text(std::string_view bytes);
  explicit Text(std::string&& bytes);

  [[nodiscard]] bool isMissing() const { return !present_; }
  [[nodiscard]] std::string_view view() const { return bytes_; }
  [[nodiscard]] const std::string& str() const { return bytes_; }
  [[nodiscard]] int size() const { return static_cast<int>(bytes_.size()); }
  // What a platform call receives: null for the missing text, the NUL-terminated bytes otherwise.
  [[nodiscard]] const char* platformPointer() const { return present_ ? bytes_.c_str() : nullptr; }

  // A missing and an empty text are equal.
  friend bool operator==(const Text& a, const Text& b) { return a.bytes_ == b.bytes_; }

 private:
  std::string bytes_;
  bool present_ = false;
};

// Builds a result text: the missing text when `bytes` is empty, a present one otherwise.
// Every operation but concatText produces its empty results this way.
[[nodiscard]] Text resultText(std::string&& bytes);
[[nodiscard]] Text resultText(std::string_view bytes);

// Number of bytes; 0 for a missing or empty text.
[[nodiscard]] int textLength(const Text& text);

// All the parts' bytes in order; always a present text, also when empty.
[[nodiscard]] Text concatText(std::initializer_list<std::string_view> parts);
template <typename... More>
[[nodiscard]] Text concatText(const Text& a, const Text& b, const More&... more) {
  return concatText({a.view(), b.view(), Text(more).view()...});
}

// -1, 0 or 1; bytes compare unsigned, the shorter of two texts that agree so far is smaller.
[[nodiscard]] int compareText(const Text& a, const Text& b);

// The one byte of the code's low 8 bits; a low byte of 0 gives the missing text (no NUL in a text).
[[nodiscard]] Text charFromCode(int code);

// n ASCII spaces; n of 0 or less gives the missing text.
[[nodiscard]] Text blankText(int n);

// Full-width forms folded, leading white space skipped, an optional sign, decimal digits in
// wrapping 32-bit arithmetic; no digits gives 0.
[[nodiscard]] int textToInt(const Text& text);

// The bitwise OR of all the values.
[[nodiscard]] int bitwiseOr(std::initializer_list<int> values);

}  // namespace corvane
