// Code-page conversion: service answers arrive in UTF-8, every text of the program is GBK, and
// the window toolkit speaks UTF-16.
#pragma once

#include <string>
#include <string_view>

#include "text/byte_set.h"
#include "text/text.h"

namespace corvane {

// UTF-8 bytes to a GBK text, by way of UTF-16. Invalid UTF-8 and characters GBK lacks become
// "?"; a base character followed by combining marks becomes the precomposed character where
// one exists; a zero character ends the text.
[[nodiscard]] Text utf8ToGbk(const ByteSet& utf8);

// UTF-8 bytes to UTF-16 code units, little-endian, two bytes a unit.
[[nodiscard]] ByteSet utf8ToUtf16(const ByteSet& utf8);

// UTF-16 code units (little-endian bytes) to a GBK text, up to the first zero byte.
[[nodiscard]] Text utf16ToGbk(const ByteSet& utf16);

// For the window toolkit: a GBK text as UTF-16, and UTF-16 back to a GBK text (characters GBK
// lacks become "?").
[[nodiscard]] std::u16string gbkToUnicode(const Text& gbk);
[[nodiscard]] Text unicodeToGbk(std::u16string_view unicode);

}  // namespace corvane
