// The code-page conversion on ICU: UTF-8 decoded with ICU's UTF-8 macros, GBK through ICU's
// "windows-936" converter (one per thread), the composite check through ICU's canonical
// composition of a pair.
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <array>
#include <bitset>
#include <cstdint>
#include <cstring>
#include <limits>

#include "text/codepage_platform.h"

namespace corvane {
namespace {

// --- UTF-16 units as little-endian byte pairs ---------------------------------------------

char16_t loadUnit(const char* pair) {
  const auto low = static_cast<unsigned char>(pair[0]);
  const auto high = static_cast<unsigned char>(pair[1]);
  return static_cast<char16_t>(low | (high << 8));
}

void storeUnit(char* pair, char16_t unit) {
  pair[0] = static_cast<char>(unit & 0xFF);
  pair[1] = static_cast<char>(unit >> 8);
}

// --- The GBK converter ----------------------------------------------------------------------

// Every character the code page cannot encode becomes the substitute "?". ICU's own substitute
// callback writes nothing for default-ignorable characters such as the byte-order mark; here
// they are converted like any other character.
void substituteFromUnicode(const void* /*context*/, UConverterFromUnicodeArgs* args,
                           const UChar* /*units*/, int32_t /*length*/, UChar32 /*codePoint*/,
                           UConverterCallbackReason reason, UErrorCode* status) {
  if (reason > UCNV_IRREGULAR) return;  // reset, close, clone: nothing to write
  *status = U_ZERO_ERROR;
  ucnv_cbFromUWriteSub(args, 0, status);
}

// Every invalid or unassigned GBK sequence becomes one U+FFFD.
void substituteToUnicode(const void* /*context*/, UConverterToUnicodeArgs* args,
                         const char* /*bytes*/, int32_t /*length*/, UConverterCallbackReason reason,
                         UErrorCode* status) {
  if (reason > UCNV_IRREGULAR) return;
  *status = U_ZERO_ERROR;
  static constexpr UChar replacement = 0xFFFD;
  ucnv_cbToUWriteUChars(args, &replacement, 1, 0, status);
}

// Opening a converter costs far more than a short conversion, so each thread keeps its own.
class GbkConverter {
 public:
  GbkConverter() {
    UErrorCode status = U_ZERO_ERROR;
    // The alias "windows-936" is ambiguous in ICU's alias table (a warning, not an error); it
    // opens windows-936-2000, the table of the Windows code page.
    converter_ = ucnv_open("windows-936", &status);
    if (U_FAILURE(status)) {
      converter_ = nullptr;
      return;
    }
    // Best-fit mappings stay on, as on Windows when they are not switched off.
    ucnv_setFallback(converter_, true);
    status = U_ZERO_ERROR;
    ucnv_setFromUCallBack(converter_, substituteFromUnicode, nullptr, nullptr, nullptr, &status);
    ucnv_setToUCallBack(converter_, substituteToUnicode, nullptr, nullptr, nullptr, &status);
  }
  ~GbkConverter() {
    if (converter_ != nullptr) ucnv_close(converter_);
  }
  GbkConverter(const GbkConverter&) = delete;
  GbkConverter& operator=(const GbkConverter&) = delete;

  // Null when ICU has no table for the code page; the calls then convert nothing.
  [[nodiscard]] UConverter* get() const { return converter_; }

 private:
  UConverter* converter_ = nullptr;
};

UConverter* threadGbkConverter() {
  thread_local GbkConverter converter;
  return converter.get();
}

// --- The composite check --------------------------------------------------------------------

// Characters that may combine with the character before them (combining marks, Hangul vowels
// and trailing consonants): one bit per BMP character, so that the common case costs a lookup
// and not a normalizer call.
class CombiningTable {
 public:
  CombiningTable() {
    UErrorCode status = U_ZERO_ERROR;
    nfc_ = icu::Normalizer2::getNFCInstance(status);
    if (U_FAILURE(status)) {
      nfc_ = nullptr;
      return;
    }
    for (UChar32 c = 0; c < 0x10000; ++c) bits_[static_cast<std::size_t>(c)] = !nfc_->hasBoundaryBefore(c);
  }

  [[nodiscard]] bool mayCombineBackward(UChar32 c) const {
    if (c < 0x10000) return bits_[static_cast<std::size_t>(c)];
    return nfc_ != nullptr && !nfc_->hasBoundaryBefore(c);
  }

  // The precomposed character of base + mark, or a negative value when there is none.
  [[nodiscard]] UChar32 composePair(UChar32 base, UChar32 mark) const {
    return nfc_ != nullptr ? nfc_->composePair(base, mark) : -1;
  }

 private:
  const icu::Normalizer2* nfc_ = nullptr;
  std::bitset<0x10000> bits_;
};

const CombiningTable& combiningTable() {
  static const CombiningTable table;
  return table;
}

// --- Encoding -------------------------------------------------------------------------------

// Where the converter's bytes go: counted (capacity 0) or written into the caller's target.
class GbkSink {
 public:
  GbkSink(UConverter* converter, char* target, int capacity)
      : converter_(converter), target_(target), limit_(target + capacity), sizing_(capacity == 0) {}

  void put(const UChar* units, int count, bool last) {
    if (full_) return;
    const UChar* source = units;
    const UChar* const end = units + count;
    if (sizing_) {
      for (;;) {
        char* out = scratch_.data();
        UErrorCode status = U_ZERO_ERROR;
        ucnv_fromUnicode(converter_, &out, scratch_.data() + scratch_.size(), &source, end,
                         nullptr, last, &status);
        counted_ += out - scratch_.data();
        if (status != U_BUFFER_OVERFLOW_ERROR) return;
      }
    }
    UErrorCode status = U_ZERO_ERROR;
    ucnv_fromUnicode(converter_, &target_, limit_, &source, end, nullptr, last, &status);
    if (status == U_BUFFER_OVERFLOW_ERROR) full_ = true;  // the rest does not fit: stop
  }

  // Bytes counted, or written; the capacity of the caller's target bounds the latter.
  [[nodiscard]] int result(const char* start) const {
    if (!sizing_) return static_cast<int>(target_ - start);
    return counted_ > std::numeric_limits<int>::max() ? std::numeric_limits<int>::max()
                                                      : static_cast<int>(counted_);
  }

 private:
  UConverter* converter_;
  char* target_;
  char* limit_;
  bool sizing_;
  bool full_ = false;
  std::int64_t counted_ = 0;
  std::array<char, 16384> scratch_{};
};

// Reads the source's code points (lone surrogates as they are), applies the composite check and
// hands the units to the converter in chunks.
int encode(const char* source, int unitCount, char* target, int capacity) {
  UConverter* converter = threadGbkConverter();
  if (converter == nullptr || source == nullptr || unitCount <= 0) return 0;
  ucnv_resetFromUnicode(converter);
  const CombiningTable& combining = combiningTable();
  GbkSink sink(converter, target, capacity);

  constexpr int chunkSize = 8192;
  std::array<UChar, chunkSize + 2> chunk;  // room for one more code point past the limit
  int used = 0;
  int baseStart = -1;  // where in the chunk the character that a mark may combine with starts

  const auto unitAt = [source](int index) {
    return loadUnit(source + 2 * static_cast<std::size_t>(index));
  };
  int i = 0;
  while (i < unitCount) {
    // Plain characters: nothing below U+0300 combines with what precedes it.
    while (i < unitCount && used < chunkSize) {
      const char16_t unit = unitAt(i);
      if (unit >= 0x300) break;
      baseStart = used;
      chunk[used++] = unit;
      ++i;
    }
    if (used >= chunkSize) {
      // Keep a possible base in the chunk: a mark in the next chunk may still combine with it.
      const int keep = baseStart >= 0 ? used - baseStart : 0;
      sink.put(chunk.data(), used - keep, false);
      std::memmove(chunk.data(), chunk.data() + used - keep, sizeof(UChar) * static_cast<std::size_t>(keep));
      used = keep;
      baseStart = keep > 0 ? 0 : -1;
      continue;
    }
    if (i >= unitCount) break;

    UChar32 c = unitAt(i);
    int length = 1;
    if (U16_IS_LEAD(c) && i + 1 < unitCount) {
      const char16_t next = unitAt(i + 1);
      if (U16_IS_TRAIL(next)) {
        c = U16_GET_SUPPLEMENTARY(c, next);
        length = 2;
      }
    }
    i += length;

    if (baseStart >= 0 && combining.mayCombineBackward(c)) {
      UChar32 base = chunk[static_cast<std::size_t>(baseStart)];
      if (used - baseStart == 2) base = U16_GET_SUPPLEMENTARY(base, chunk[static_cast<std::size_t>(baseStart) + 1]);
      const UChar32 composed = combining.composePair(base, c);
      if (composed >= 0) {
        // The precomposed character replaces the base; a further mark may combine with it.
        used = baseStart;
        U16_APPEND_UNSAFE(chunk.data(), used, composed);
        continue;
      }
      // No precomposed form: both are encoded on their own, and the mark ends the sequence.
      U16_APPEND_UNSAFE(chunk.data(), used, c);
      baseStart = -1;
      continue;
    }
    baseStart = used;
    U16_APPEND_UNSAFE(chunk.data(), used, c);
  }
  sink.put(chunk.data(), used, true);
  return sink.result(target);
}

// --- Decoding -------------------------------------------------------------------------------

// UTF-8 to UTF-16 units: each invalid sequence (as ICU delimits it) becomes one U+FFFD.
template <bool Write>
int decodeUtf8(std::string_view source, char* target, int capacity) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(source.data());
  const auto length = static_cast<int32_t>(source.size());
  std::int64_t units = 0;
  int32_t i = 0;
  while (i < length) {
    // ASCII runs eight bytes at a time.
    while (i + 8 <= length) {
      std::uint64_t word;
      std::memcpy(&word, bytes + i, sizeof word);
      if ((word & 0x8080808080808080ULL) != 0) break;
      if constexpr (Write) {
        if (units + 8 > capacity) break;
        char* out = target + 2 * units;
        for (int k = 0; k < 8; ++k) storeUnit(out + 2 * k, bytes[i + k]);
      }
      units += 8;
      i += 8;
    }
    if (i >= length) break;
    UChar32 c;
    const int32_t start = i;
    U8_NEXT_OR_FFFD(bytes, i, length, c);
    const int needed = U16_LENGTH(c);
    if constexpr (Write) {
      if (units + needed > capacity) {
        i = start;
        break;
      }
      char* out = target + 2 * units;
      if (needed == 1) {
        storeUnit(out, static_cast<char16_t>(c));
      } else {
        storeUnit(out, U16_LEAD(c));
        storeUnit(out + 2, U16_TRAIL(c));
      }
    }
    units += needed;
  }
  return units > std::numeric_limits<int>::max() ? std::numeric_limits<int>::max()
                                                 : static_cast<int>(units);
}

// GBK to UTF-16 units through the thread's converter.
int decodeGbk(std::string_view source, char* target, int capacity) {
  UConverter* converter = threadGbkConverter();
  if (converter == nullptr) return 0;
  ucnv_resetToUnicode(converter);
  const char* in = source.data();
  const char* const end = source.data() + source.size();
  std::array<UChar, 4096> scratch;
  std::int64_t units = 0;
  for (;;) {
    UChar* out = scratch.data();
    UErrorCode status = U_ZERO_ERROR;
    ucnv_toUnicode(converter, &out, scratch.data() + scratch.size(), &in, end, nullptr, true,
                   &status);
    const auto produced = static_cast<int>(out - scratch.data());
    if (capacity > 0) {
      // Copy what fits, without splitting a surrogate pair.
      int take = static_cast<int>(std::min<std::int64_t>(produced, capacity - units));
      if (take < produced && take > 0 && U16_IS_LEAD(scratch[static_cast<std::size_t>(take) - 1])) --take;
      for (int k = 0; k < take; ++k) storeUnit(target + 2 * (units + k), scratch[static_cast<std::size_t>(k)]);
      units += take;
      if (take < produced) break;
    } else {
      units += produced;
    }
    if (status != U_BUFFER_OVERFLOW_ERROR) break;
  }
  return units > std::numeric_limits<int>::max() ? std::numeric_limits<int>::max()
                                                 : static_cast<int>(units);
}

}  // namespace

int decodeToWide(CodePage page, std::string_view source, char* target, int capacity) {
  if (source.empty() || capacity < 0 || (capacity > 0 && target == nullptr)) return 0;
  if (page == CodePage::gbk) return decodeGbk(source, target, capacity);
  return capacity == 0 ? decodeUtf8<false>(source, nullptr, 0)
                       : decodeUtf8<true>(source, target, capacity);
}

int encodeWideToGbk(const char* source, int unitCount, char* target, int capacity) {
  if (capacity < 0 || (capacity > 0 && target == nullptr)) return 0;
  return encode(source, unitCount, target, capacity);
}

}  // namespace corvane
