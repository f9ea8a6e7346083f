// ByteSet: a length-counted byte buffer (any byte values, NUL included), and its operations.
#pragma once

#include <string>
#include <string_view>

#include "text/text.h"

namespace corvane {

class ByteSet {
 public:
  ByteSet() = default;
  explicit ByteSet(std::string_view bytes) : bytes_(bytes) {}
  explicit ByteSet(std::string&& bytes) : bytes_(std::move(bytes)) {}

  [[nodiscard]] std::string_view view() const { return bytes_; }
  [[nodiscard]] std::string& buffer() { return bytes_; }
  [[nodiscard]] int size() const { return static_cast<int>(bytes_.size()); }
  [[nodiscard]] bool empty() const { return bytes_.empty(); }
  // What a platform call receives: null data for the empty byte set.
  [[nodiscard]] const char* platformPointer() const { return bytes_.empty() ? nullptr : bytes_.data(); }

  friend bool operator==(const ByteSet& a, const ByteSet& b) = default;

 private:
  std::string bytes_;
};

// Number of bytes.
[[nodiscard]] int bytesLength(const ByteSet& bytes);

// All the parts' bytes in order.
[[nodiscard]] ByteSet concatBytes(std::initializer_list<std::string_view> parts);
template <typename... More>
[[nodiscard]] ByteSet concatBytes(const ByteSet& a, const ByteSet& b, const More&... more) {
  return concatBytes({a.view(), b.view(), more.view()...});
}

// 0 when both hold the same bytes, nonzero otherwise.
[[nodiscard]] int compareBytes(const ByteSet& a, const ByteSet& b);

// The text's bytes without a terminating NUL.
[[nodiscard]] ByteSet textToBytes(const Text& text);

// The bytes up to the first NUL; empty or NUL-led byte sets give the missing text.
[[nodiscard]] Text bytesToText(const ByteSet& bytes);

// n zero bytes; n of 0 or less gives the empty byte set.
[[nodiscard]] ByteSet blankBytes(int n);

// The first min(n, length) bytes; n of 0 or less gives the empty byte set.
[[nodiscard]] ByteSet bytesLeft(const ByteSet& bytes, int n);

}  // namespace corvane
