#include "text/char_scan.h"

#include <cstring>

namespace corvane::scan {

namespace {

// Needles up to this length are checked byte by byte at every candidate, which costs at most
// this factor over a plain scan; longer ones go through the automaton.
constexpr std::size_t kShortNeedle = 32;

bool sameBytes(const char* a, const char* b, std::size_t count, bool ignoreCase) {
  if (!ignoreCase) return std::memcmp(a, b, count) == 0;
  for (std::size_t i = 0; i < count; ++i) {
    if (foldCase(a[i]) != foldCase(b[i])) return false;
  }
  return true;
}

// Short needles: find a candidate by its first byte, then compare the rest.
std::size_t nextShortOccurrence(std::string_view text, std::string_view needle, bool ignoreCase,
                                std::size_t from) {
  const std::size_t lastStart = text.size() - needle.size();
  const char first = needle.front();
  const char* data = text.data();
  const bool letter = ignoreCase && foldCase(first) >= 'a' && foldCase(first) <= 'z';
  if (!letter) {
    for (std::size_t at = from; at <= lastStart; ++at) {
      const void* hit = std::memchr(data + at, first, lastStart - at + 1);
      if (hit == nullptr) return npos;
      at = static_cast<std::size_t>(static_cast<const char*>(hit) - data);
      if (sameBytes(data + at + 1, needle.data() + 1, needle.size() - 1, ignoreCase)) return at;
    }
    return npos;
  }
  // Setting bit 0x20 maps exactly the two cases of a letter onto its small form.
  const char small = foldCase(first);
  for (std::size_t at = from; at <= lastStart; ++at) {
    if (static_cast<char>(data[at] | 0x20) == small &&
        sameBytes(data + at + 1, needle.data() + 1, needle.size() - 1, true)) {
      return at;
    }
  }
  return npos;
}

// Long needles: the prefix-function automaton reads every byte of the text once.
std::size_t nextLongOccurrence(OccurrenceSearch& search, std::size_t from) {
  const std::string& pattern = search.pattern;
  const std::size_t k = pattern.size();
  if (from > search.scanned) {
    search.scanned = from;
    search.matched = 0;
  }
  while (search.scanned < search.text.size()) {
    char byte = search.text[search.scanned];
    if (search.ignoreCase) byte = foldCase(byte);
    while (search.matched > 0 && pattern[search.matched] != byte) {
      search.matched = search.prefix[search.matched - 1];
    }
    if (pattern[search.matched] == byte) ++search.matched;
    ++search.scanned;
    if (search.matched == k) {
      search.matched = search.prefix[k - 1];
      const std::size_t start = search.scanned - k;
      if (start >= from) return start;
    }
  }
  return npos;
}

}  // namespace

std::size_t charStartAtOrAfter(std::string_view text, std::size_t known, std::size_t target) {
  if (target <= known) return known;
  // Just after a byte below 0x80 a character always starts (that byte was a whole character or
  // the second byte of one); from there up to the target only lead bytes follow, two per
  // character.
  std::size_t base = target;
  while (base > known && isLeadByte(text[base - 1])) --base;
  return (target - base) % 2 == 0 ? target : target + 1;
}

OccurrenceSearch makeOccurrenceSearch(std::string_view text, std::string_view needle,
                                      bool ignoreCase) {
  OccurrenceSearch search;
  search.text = text;
  search.needle = needle;
  search.ignoreCase = ignoreCase;
  if (needle.size() > kShortNeedle) {
    search.pattern.assign(needle);
    if (ignoreCase) {
      for (char& byte : search.pattern) byte = foldCase(byte);
    }
    const std::string& pattern = search.pattern;
    search.prefix.assign(pattern.size(), 0);
    for (std::size_t i = 1; i < pattern.size(); ++i) {
      std::size_t length = search.prefix[i - 1];
      while (length > 0 && pattern[i] != pattern[length]) length = search.prefix[length - 1];
      if (pattern[i] == pattern[length]) ++length;
      search.prefix[i] = length;
    }
  }
  return search;
}

std::size_t nextOccurrence(OccurrenceSearch& search, std::size_t from) {
  if (search.found != npos && search.found >= from) return search.found;
  if (search.exhausted) return npos;
  const std::size_t k = search.needle.size();
  if (k > search.text.size() || from > search.text.size() - k) {
    search.exhausted = true;
    return npos;
  }
  search.found = search.pattern.empty()
                     ? nextShortOccurrence(search.text, search.needle, search.ignoreCase, from)
                     : nextLongOccurrence(search, from);
  if (search.found == npos) search.exhausted = true;
  return search.found;
}

std::size_t findCharAligned(std::string_view text, std::string_view needle, std::size_t from,
                            bool ignoreCase) {
  OccurrenceSearch search = makeOccurrenceSearch(text, needle, ignoreCase);
  std::size_t cursor = from;
  for (;;) {
    const std::size_t at = nextOccurrence(search, cursor);
    if (at == npos) return npos;
    cursor = charStartAtOrAfter(text, cursor, at);
    if (cursor == at) return at;
  }
}

std::string_view trimSpaceChars(std::string_view text) {
  const std::size_t n = text.size();
  std::size_t begin = 0;
  for (;;) {
    if (begin < n && text[begin] == ' ') {
      begin += 1;
    } else if (begin + 1 < n && text[begin] == '\xA1' && text[begin + 1] == '\xA1') {
      begin += 2;
    } else {
      break;
    }
  }
  // The trailing run of spaces begins after the character holding the last byte that belongs
  // to no space character; walking only from that character keeps trimming cheap.
  std::size_t walk = begin;
  for (std::size_t i = n; i > begin; --i) {
    if (text[i - 1] != ' ' && text[i - 1] != '\xA1') {
      const std::size_t last = i - 1;
      walk = charStartAtOrAfter(text, begin, last) == last ? last : last - 1;
      break;
    }
  }
  std::size_t end = n;
  std::size_t runStart = npos;
  for (std::size_t at = walk; at < n;) {
    if (isLeadByte(text[at]) && at + 1 == n) {
      end = at;  // a lone lead byte goes, the spaces in front of it stay
      runStart = npos;
      break;
    }
    const std::size_t width = charWidth(text, at);
    const bool space = width == 1 ? text[at] == ' ' : text[at] == '\xA1' && text[at + 1] == '\xA1';
    if (!space) {
      runStart = npos;
    } else if (runStart == npos) {
      runStart = at;
    }
    at += width;
  }
  if (runStart != npos) end = runStart;
  return text.substr(begin, end - begin);
}

}  // namespace corvane::scan
