// The code-page conversion on ICU.
//
// - UTF-8 is decoded with ICU's UTF-8 macros, which delimit invalid sequences the way ICU's
//   converters do; ASCII and well-formed three-byte characters take a shortcut.
// - GBK is ICU's "windows-936" converter. For speed its bytes for every BMP character are read
//   out once, in one bulk conversion, into a table; what the table cannot hold (supplementary
//   characters, lone surrogates) goes through the converter itself, one per thread. Decoding
//   GBK, needed only for the short texts of the window, uses the converter throughout.
// - The composite check is ICU's canonical composition of a pair, asked only when a character
//   that may combine with the one before it comes along.
#include <unicode/normalizer2.h>
#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

#include "text/codepage_platform.h"

namespace corvane {
namespace {

// --- UTF-16 units as little-endian byte pairs ---------------------------------------------

// On a little-endian machine a pair is the unit as it lies in memory: one load or store.
constexpr bool kLittleEndianHost = std::endian::native == std::endian::little;

char16_t loadUnit(const char* pair) {
  if constexpr (kLittleEndianHost) {
    char16_t unit;
    std::memcpy(&unit, pair, sizeof unit);
    return unit;
  }
  const auto low = static_cast<unsigned char>(pair[0]);
  const auto high = static_cast<unsigned char>(pair[1]);
  return static_cast<char16_t>(low | (high << 8));
}

void storeUnit(char* pair, char16_t unit) {
  if constexpr (kLittleEndianHost) {
    std::memcpy(pair, &unit, sizeof unit);
    return;
  }
  pair[0] = static_cast<char>(unit & 0xFF);
  pair[1] = static_cast<char>(unit >> 8);
}

// Eight ASCII bytes as eight units (sixteen bytes of pairs).
void storeAsciiUnits(char* pairs, const std::uint8_t* ascii) {
  if constexpr (kLittleEndianHost) {
    // Spread each half of the eight bytes so that a zero byte follows each.
    const auto spread = [](std::uint64_t x) {
      x = (x | (x << 16)) & 0x0000FFFF0000FFFFULL;
      return (x | (x << 8)) & 0x00FF00FF00FF00FFULL;
    };
    std::uint64_t bytes;
    std::memcpy(&bytes, ascii, sizeof bytes);
    const std::uint64_t low = spread(bytes & 0xFFFFFFFFULL);
    const std::uint64_t high = spread(bytes >> 32);
    std::memcpy(pairs, &low, sizeof low);
    std::memcpy(pairs + 8, &high, sizeof high);
    return;
  }
  for (int k = 0; k < 8; ++k) storeUnit(pairs + 2 * k, ascii[k]);
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

// --- The encoding table ---------------------------------------------------------------------

// The converter's bytes for every BMP character, taken from it once in one bulk conversion,
// together with whether the character may combine with the one before it (combining marks,
// Hangul vowels and trailing consonants). Encoding a character then costs one lookup instead
// of a converter or normalizer call; surrogates and whatever the table cannot hold go to ICU.
class GbkTable {
 public:
  // Entry layout: the GBK bytes (first byte in bits 0-7, second in 8-15), their count in
  // bits 16-17 (0: ask the converter), and two flags.
  static constexpr std::uint32_t kCombining = 1U << 18;  // may combine with what precedes it
  static constexpr std::uint32_t kPlain = 1U << 19;      // tabled, not combining, no surrogate

  GbkTable() {
    UErrorCode status = U_ZERO_ERROR;
    nfc_ = icu::Normalizer2::getNFCInstance(status);
    if (U_FAILURE(status)) nfc_ = nullptr;
    for (UChar32 c = 0; c < 0x10000; ++c) {
      if (nfc_ != nullptr && !nfc_->hasBoundaryBefore(c))
        entries_[static_cast<std::size_t>(c)] = kCombining;
    }
    fillBytes();
  }

  [[nodiscard]] std::uint32_t entry(char16_t unit) const { return entries_[unit]; }

  [[nodiscard]] bool mayCombineBackward(UChar32 c) const {
    if (c < 0x10000) return (entries_[static_cast<std::size_t>(c)] & kCombining) != 0;
    return nfc_ != nullptr && !nfc_->hasBoundaryBefore(c);
  }

  // The precomposed character of base + mark, or a negative value when there is none.
  [[nodiscard]] UChar32 composePair(UChar32 base, UChar32 mark) const {
    return nfc_ != nullptr ? nfc_->composePair(base, mark) : -1;
  }

 private:
  void fillBytes() {
    GbkConverter converter;
    if (converter.get() == nullptr) return;
    std::vector<UChar> characters;
    characters.reserve(0x10000);
    for (UChar32 c = 0; c < 0x10000; ++c) {
      if (!U16_IS_SURROGATE(c)) characters.push_back(static_cast<UChar>(c));
    }
    // At most two bytes a character in this code page; room for more only to notice them.
    std::vector<char> bytes(characters.size() * 4);
    std::vector<int32_t> offsets(bytes.size());
    const UChar* source = characters.data();
    char* target = bytes.data();
    int32_t* offset = offsets.data();
    UErrorCode status = U_ZERO_ERROR;
    ucnv_fromUnicode(converter.get(), &target, bytes.data() + bytes.size(), &source,
                     characters.data() + characters.size(), offset, true, &status);
    if (U_FAILURE(status)) return;
    const auto written = static_cast<std::size_t>(target - bytes.data());

    std::vector<std::uint8_t> counts(0x10000, 0);
    std::vector<std::uint16_t> codes(0x10000, 0);
    for (std::size_t k = 0; k < written; ++k) {
      if (offsets[k] < 0 || static_cast<std::size_t>(offsets[k]) >= characters.size()) continue;
      const char16_t c = characters[static_cast<std::size_t>(offsets[k])];
      const auto byte = static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[k]));
      if (counts[c] < 2)
        codes[c] = static_cast<std::uint16_t>(codes[c] | (byte << (8 * counts[c])));
      if (counts[c] < 3) ++counts[c];
    }
    for (const char16_t c : characters) {
      if (counts[c] != 1 && counts[c] != 2) continue;  // left to the converter
      std::uint32_t& e = entries_[c];
      e |= codes[c] | (static_cast<std::uint32_t>(counts[c]) << 16);
      if ((e & kCombining) == 0) e |= kPlain;
    }
  }

  const icu::Normalizer2* nfc_ = nullptr;
  std::array<std::uint32_t, 0x10000> entries_{};
};

const GbkTable& gbkTable() {
  static const GbkTable table;
  return table;
}

// A character's GBK bytes, packed as in the table (first byte lowest), and their count.
struct Encoded {
  std::uint32_t bytes = 0;
  int length = 0;
};

// The bytes of one character the table does not hold (a supplementary character, a lone
// surrogate), from the thread's converter.
Encoded encodeByConverter(UChar32 c) {
  Encoded encoded;
  UConverter* converter = threadGbkConverter();
  if (converter == nullptr) return encoded;
  UChar units[2];
  int32_t count = 0;
  if (U_IS_SURROGATE(c)) {
    units[count++] = static_cast<UChar>(c);  // a lone surrogate, as it came
  } else {
    U16_APPEND_UNSAFE(units, count, c);
  }
  char bytes[16];
  UErrorCode status = U_ZERO_ERROR;
  const int32_t length = ucnv_fromUChars(converter, bytes, sizeof bytes, units, count, &status);
  if (U_FAILURE(status) || length <= 0 || length > 4) return Encoded{'?', 1};
  for (int32_t k = 0; k < length; ++k) {
    encoded.bytes |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[k])) << (8 * k);
  }
  encoded.length = length;
  return encoded;
}

Encoded encodeOne(const GbkTable& table, UChar32 c) {
  if (c < 0x10000) {
    const std::uint32_t entry = table.entry(static_cast<char16_t>(c));
    const auto length = static_cast<int>((entry >> 16) & 3);
    if (length != 0) return Encoded{entry & 0xFFFF, length};
  }
  return encodeByConverter(c);
}

// --- Encoding -------------------------------------------------------------------------------

// Where an encoding run stands: the next unit to read, the bytes so far, and the held-back
// base character (see encode).
struct PlainRun {
  int next;
  std::int64_t out;
  Encoded held;
  UChar32 heldChar;
};

// The common case, kept tight: characters of the table that combine with nothing before them.
// Two bytes are stored whatever the length; a one-byte character's second byte is 0 and is
// overwritten by what follows, so this runs only while two bytes fit. Stops at the first other
// character. Kept out of line so that its variables stay in registers.
template <bool Write>
[[gnu::noinline]] PlainRun encodePlainRun(const GbkTable& table, const char* source, int unitCount,
                                          char* target, int capacity, PlainRun run) {
  int i = run.next;
  std::int64_t out = run.out;
  std::uint32_t heldBytes = run.held.bytes;
  int heldLength = run.held.length;
  UChar32 heldChar = run.heldChar;
  for (; i < unitCount; ++i) {
    // ASCII, four units at a time: each is its own byte.
    while (kLittleEndianHost && i + 4 <= unitCount) {
      std::uint64_t four;
      std::memcpy(&four, source + 2 * static_cast<std::size_t>(i), sizeof four);
      if ((four & 0xFF80FF80FF80FF80ULL) != 0)
        break;  // little-endian pairs: a unit of 0x80 or more
      const char* ascii = source + 2 * static_cast<std::size_t>(i);
      if constexpr (Write) {
        if (out + heldLength + 3 > capacity) break;
        target[out] = static_cast<char>(heldBytes);
        target[out + 1] = static_cast<char>(heldBytes >> 8);
        out += heldLength;
        target[out] = ascii[0];
        target[out + 1] = ascii[2];
        target[out + 2] = ascii[4];
      } else {
        out += heldLength;
      }
      out += 3;
      heldBytes = static_cast<unsigned char>(ascii[6]);
      heldLength = 1;
      heldChar = static_cast<unsigned char>(ascii[6]);
      i += 4;
    }
    if (i >= unitCount) break;
    const char16_t unit = loadUnit(source + 2 * static_cast<std::size_t>(i));
    const std::uint32_t entry = table.entry(unit);
    if ((entry & GbkTable::kPlain) == 0) break;
    if constexpr (Write) {
      if (out + 2 > capacity) break;
      target[out] = static_cast<char>(heldBytes);
      target[out + 1] = static_cast<char>(heldBytes >> 8);
    }
    out += heldLength;
    heldBytes = entry & 0xFFFF;
    heldLength = static_cast<int>((entry >> 16) & 3);
    heldChar = unit;
  }
  return PlainRun{i, out, Encoded{heldBytes, heldLength}, heldChar};
}

// Counts (Write false) or writes the GBK bytes of the source's characters, with the composite
// check. The last base character is held back until the next character shows whether a mark
// combines with it, so that bytes once written stay written.
template <bool Write>
int encode(const GbkTable& table, const char* source, int unitCount, char* target, int capacity) {
  const auto unitAt = [source](int index) {
    return loadUnit(source + 2 * static_cast<std::size_t>(index));
  };
  std::int64_t out = 0;
  // Writes a character's bytes; false when they do not fit the target.
  const auto put = [&](Encoded encoded) {
    if constexpr (Write) {
      if (out + encoded.length > capacity) return false;
      for (int k = 0; k < encoded.length; ++k)
        target[out + k] = static_cast<char>(encoded.bytes >> (8 * k));
    }
    out += encoded.length;
    return true;
  };

  Encoded held;          // the held-back base character's bytes; length 0 when none
  UChar32 heldChar = 0;  // and the character itself
  int i = 0;
  while (i < unitCount) {
    PlainRun run{i, out, held, heldChar};
    run = encodePlainRun<Write>(table, source, unitCount, target, capacity, run);
    i = run.next;
    out = run.out;
    held = run.held;
    heldChar = run.heldChar;
    if (i >= unitCount) break;

    const char16_t unit = unitAt(i);
    const std::uint32_t entry = table.entry(unit);
    if ((entry & GbkTable::kPlain) != 0) {
      // Near the end of the target: the same, byte by byte.
      if (!put(held)) return static_cast<int>(out);
      held = Encoded{entry & 0xFFFF, static_cast<int>((entry >> 16) & 3)};
      heldChar = unit;
      ++i;
      continue;
    }

    UChar32 c = unit;
    if (U16_IS_LEAD(unit) && i + 1 < unitCount && U16_IS_TRAIL(unitAt(i + 1))) {
      c = U16_GET_SUPPLEMENTARY(unit, unitAt(i + 1));
      ++i;
    }
    ++i;
    const bool combining = table.mayCombineBackward(c);
    if (combining && held.length != 0) {
      const UChar32 composed = table.composePair(heldChar, c);
      if (composed >= 0) {
        // The precomposed character takes the base's place; a further mark may combine with it.
        held = encodeOne(table, composed);
        heldChar = composed;
        continue;
      }
    }
    if (!put(held)) return static_cast<int>(out);
    held = Encoded{};
    if (combining) {
      // A mark without a base, or one that has no precomposed form with it: on its own, and
      // the sequence ends.
      if (!put(encodeOne(table, c))) return static_cast<int>(out);
    } else {
      held = encodeOne(table, c);
      heldChar = c;
    }
  }
  put(held);
  return out > std::numeric_limits<int>::max() ? std::numeric_limits<int>::max()
                                               : static_cast<int>(out);
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
    // ASCII, eight bytes at a time.
    while (i + 8 <= length && (!Write || units + 8 <= capacity)) {
      std::uint64_t word;
      std::memcpy(&word, bytes + i, sizeof word);
      if ((word & 0x8080808080808080ULL) != 0) break;
      if constexpr (Write) storeAsciiUnits(target + 2 * units, bytes + i);
      units += 8;
      i += 8;
    }
    if (i >= length) break;

    const std::uint8_t lead = bytes[i];
    if (lead < 0x80) {
      if (Write && units + 1 > capacity) break;
      if constexpr (Write) storeUnit(target + 2 * units, lead);
      ++units;
      ++i;
      continue;
    }
    // Three-byte characters, where Chinese lives: a shortcut for the well-formed ones.
    if ((lead & 0xF0) == 0xE0 && i + 2 < length && U8_IS_VALID_LEAD3_AND_T1(lead, bytes[i + 1]) &&
        U8_IS_TRAIL(bytes[i + 2])) {
      if (Write && units + 1 > capacity) break;
      if constexpr (Write) {
        const auto c = static_cast<char16_t>(((lead & 0x0F) << 12) | ((bytes[i + 1] & 0x3F) << 6) |
                                             (bytes[i + 2] & 0x3F));
        storeUnit(target + 2 * units, c);
      }
      ++units;
      i += 3;
      continue;
    }
    UChar32 c;
    const int32_t start = i;
    U8_NEXT_OR_FFFD(bytes, i, length, c);
    const int needed = U16_LENGTH(c);
    if (Write && units + needed > capacity) {
      i = start;
      break;
    }
    if constexpr (Write) {
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
      if (take < produced && take > 0 && U16_IS_LEAD(scratch[static_cast<std::size_t>(take) - 1]))
        --take;
      for (int k = 0; k < take; ++k)
        storeUnit(target + 2 * (units + k), scratch[static_cast<std::size_t>(k)]);
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
  if (source == nullptr || unitCount <= 0 || capacity < 0 || (capacity > 0 && target == nullptr))
    return 0;
  const GbkTable& table = gbkTable();
  return capacity == 0 ? encode<false>(table, source, unitCount, nullptr, 0)
                       : encode<true>(table, source, unitCount, target, capacity);
}

}  // namespace corvane
