#include "text/codepage.h"

#include <limits>
#include <string>
#include <utility>

#include "text/codepage_platform.h"

namespace corvane {
namespace {

// The largest unit count whose byte count still fits a ByteSet.
constexpr int maxUnits = std::numeric_limits<int>::max() / 2;

// bytesToText without the copy: the converted bytes up to the first zero byte.
Text textUpToFirstZero(ByteSet&& bytes) {
  std::string converted = std::move(bytes.buffer());
  const auto zero = converted.find('\0');
  if (zero != std::string::npos) converted.resize(zero);
  return resultText(std::move(converted));
}

}  // namespace

Text utf8ToGbk(const ByteSet& utf8) { return utf16ToGbk(utf8ToUtf16(utf8)); }

ByteSet utf8ToUtf16(const ByteSet& utf8) {
  // Size first, then convert into a buffer of exactly that size.
  int units = decodeToWide(CodePage::utf8, utf8.view(), nullptr, 0);
  if (units > maxUnits) units = maxUnits;
  ByteSet buffer = blankBytes(2 * units);
  if (units > 0) (void)decodeToWide(CodePage::utf8, utf8.view(), buffer.buffer().data(), units);
  return buffer;
}

Text utf16ToGbk(const ByteSet& utf16) {
  // An odd last byte is half a unit and is not converted.
  const int units = bytesLength(utf16) / 2;
  const char* source = utf16.platformPointer();
  const int needed = encodeWideToGbk(source, units, nullptr, 0);
  ByteSet buffer = blankBytes(needed);
  if (needed > 0) (void)encodeWideToGbk(source, units, buffer.buffer().data(), needed);
  return textUpToFirstZero(std::move(buffer));
}

std::u16string gbkToUnicode(const Text& gbk) {
  const int units = decodeToWide(CodePage::gbk, gbk.view(), nullptr, 0);
  if (units <= 0) return {};
  std::string pairs(2 * static_cast<std::size_t>(units), '\0');
  const int written = decodeToWide(CodePage::gbk, gbk.view(), pairs.data(), units);
  std::u16string unicode(static_cast<std::size_t>(written), u'\0');
  for (std::size_t k = 0; k < unicode.size(); ++k) {
    const auto low = static_cast<unsigned char>(pairs[2 * k]);
    const auto high = static_cast<unsigned char>(pairs[2 * k + 1]);
    unicode[k] = static_cast<char16_t>(low | (high << 8));
  }
  return unicode;
}

Text unicodeToGbk(std::u16string_view unicode) {
  if (unicode.size() > static_cast<std::size_t>(maxUnits)) unicode = unicode.substr(0, maxUnits);
  std::string pairs(2 * unicode.size(), '\0');
  for (std::size_t k = 0; k < unicode.size(); ++k) {
    pairs[2 * k] = static_cast<char>(unicode[k] & 0xFF);
    pairs[2 * k + 1] = static_cast<char>(unicode[k] >> 8);
  }
  return utf16ToGbk(ByteSet(std::move(pairs)));
}

}  // namespace corvane
