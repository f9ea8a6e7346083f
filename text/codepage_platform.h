// The platform's code-page conversion, as the conversion routines use it: decoding a multi-byte
// code page into UTF-16 units, and encoding UTF-16 units into GBK (code page 936).
//
// Both calls work in two steps, like the Windows calls they stand for: with a capacity of 0
// they write nothing and return the number of units (or bytes) the conversion needs; with that
// number as the capacity they convert into a target of exactly that size. Neither fails: what
// cannot be decoded or encoded becomes a substitute and the conversion goes on.
//
// UTF-16 units are held as little-endian byte pairs, the wide-character form of the platform,
// so that a ByteSet can hold them as they are.
//
// One backend implements this header: codepage_icu.cpp on ICU; a Windows build implements it
// with MultiByteToWideChar and WideCharToMultiByte. Nothing above it knows which.
#pragma once

#include <string_view>

namespace corvane {

// The multi-byte code pages the program decodes; the values are the Windows code page numbers.
enum class CodePage { gbk = 936, utf8 = 65001 };

// Decodes `source`, bytes in `page`, into UTF-16 units.
// - capacity 0: writes nothing, returns the number of units the whole of `source` needs.
// - otherwise: writes at most `capacity` units (2 × capacity bytes) to `target` and returns the
//   number written; a character whose units would not all fit is not written.
// An empty source gives 0. Every invalid sequence becomes one U+FFFD. A zero byte becomes a
// zero unit. A UTF-8 byte-order mark is decoded like any other character.
[[nodiscard]] int decodeToWide(CodePage page, std::string_view source, char* target, int capacity);

// Encodes `unitCount` UTF-16 units (little-endian byte pairs at `source`) into GBK bytes, with
// the composite check: a base character directly followed by a combining mark is encoded as
// the precomposed character where one exists (and that again with a further mark); otherwise
// each is encoded on its own. Characters GBK lacks, lone surrogates included, become "?" unless
// the code page has a best-fit equivalent for them. A zero unit becomes a zero byte.
// - capacity 0: writes nothing, returns the number of bytes the whole source needs.
// - otherwise: writes at most `capacity` bytes to `target` and returns the number written.
// An empty source gives 0.
[[nodiscard]] int encodeWideToGbk(const char* source, int unitCount, char* target, int capacity);

}  // namespace corvane
