// Cookie merging: bringing a caller's cookie text up to date with the cookies a response set.
// A cookie text is a list of name=value items separated by ";" (in merged output: by "; ").
#pragma once

#include "text/text.h"

namespace corvane {

// Merges `newCookies` into `cookies`: the new items first, in their order, then the old items
// whose name the new ones do not carry; items ending in "=deleted" and repeated items dropped.
// On return `cookies` holds the merged text and `newCookies` its input without blanks; the
// result is a copy of the merged text. Names and items compare with regard to case.
Text mergeCookies(Text& cookies, Text& newCookies);

// The name of one item: the text before its first "=" (all of it when there is none), trimmed.
[[nodiscard]] Text cookieName(const Text& item);

// The items of `text` split at `separator`, each kept at its first occurrence only, joined again
// by `separator` with none after the last.
[[nodiscard]] Text uniqueJoin(const Text& text, const Text& separator);

}  // namespace corvane
