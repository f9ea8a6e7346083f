// Cookie merging, on the toolkit's text and array operations.
#include "web/cookies.h"

#include <algorithm>

#include "text/operations.h"
#include "text/text_array.h"

namespace corvane {
namespace {

bool hasItemNamed(const TextArray& list, const Text& name) {
  return std::any_of(list.members().begin(), list.members().end(), [&](const Text& item) {
    return compareText(cookieName(item), name) == 0;
  });
}

bool isDeletionMark(const Text& item) {
  return compareText(textRight(item, 8), "=deleted") == 0;
}

}  // namespace

Text mergeCookies(Text& cookies, Text& newCookies) {
  cookies = removeAllSpaces(cookies);
  newCookies = removeAllSpaces(newCookies);
  const TextArray oldList = splitText(cookies, ";");
  TextArray newList = splitText(newCookies, ";");

  // An old cookie survives only when no new one (nor an earlier old one) has its name.
  for (const Text& old : oldList.members()) {
    if (!hasItemNamed(newList, cookieName(old))) {
      appendMember(newList, old);
    }
  }

  Text merged;
  for (const Text& item : newList.members()) {
    if (!isDeletionMark(item)) {
      merged = concatText(merged, item, "; ");
    }
  }
  merged = textLeft(merged, textLength(merged) - 2);

  cookies = uniqueJoin(merged, "; ");
  return cookies;
}

Text cookieName(const Text& item) {
  const int equals = findText(item, "=");
  return trimSpaces(equals == -1 ? item : textLeft(item, equals - 1));
}

Text uniqueJoin(const Text& text, const Text& separator) {
  const TextArray items = splitText(text, separator);
  TextArray seen;
  Text joined;
  for (const Text& item : items.members()) {
    const bool already = std::any_of(seen.members().begin(), seen.members().end(),
                                     [&](const Text& s) { return compareText(s, item) == 0; });
    if (!already) {
      appendMember(seen, item);
      joined = concatText(joined, item, separator);
    }
  }
  return textLeft(joined, textLength(joined) - textLength(separator));
}

}  // namespace corvane
