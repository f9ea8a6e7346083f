// URL dissection, on the toolkit's text operations.
#include "web/url.h"

#include "text/extract.h"
#include "text/operations.h"
#include "text/text_array.h"

namespace corvane {
namespace {

// The text after 1-based position `position`.
Text textAfter(const Text& text, int position) {
  return textRight(text, textLength(text) - position);
}

// Drops the ":port" of a host unless the caller wants it kept.
Text applyPortStep(const Text& host, bool keepPort) {
  if (keepPort) {
    return host;
  }
  const int colon = findText(host, ":");
  return colon == -1 ? host : textLeft(host, colon - 1);
}

Text hostAfterScheme(const Text& url, bool baseDomainOnly) {
  Text t = toLowerCase(url);
  if (!(textRight(t, 1) == "/")) {
    t = concatText(t, "/");
  }
  Text host;
  if (textLeft(t, 8) == "https://") {
    host = extractBetween(t, "https://", "/");
  } else {
    if (findText(t, "http://") == -1) {
      t = concatText("http://", t);
    }
    host = extractBetween(t, "http://", "/");
  }
  if (baseDomainOnly) {
    const TextArray pieces = splitText(host, ".");
    const int count = memberCount(pieces);
    if (count >= 2) {
      host = concatText(pieces(count - 1), ".", pieces(count));
    }
  }
  return host;
}

Text hostByLevels(const Text& url, bool baseDomainOnly, int levels) {
  Text t = toLowerCase(url);
  t = replaceText(t, "http://", {}, 1, -1, true);
  t = replaceText(t, "https://", {}, 1, -1, true);
  const int slash = findText(t, "/");
  if (slash != -1) {
    t = textLeft(t, slash - 1);
  }
  // p walks back one "." per level; a "." in the last character never counts.
  int p = textLength(t);
  for (int step = 0; step < levels && p != -1; ++step) {
    p = findTextReverse(t, ".", p);
  }
  const int c = p == -1 ? -1 : findTextReverse(t, ".", p);
  if (baseDomainOnly) {
    return c == -1 ? t : textAfter(t, c);
  }
  if (c == -1) {
    return t;
  }
  const int e = findTextReverse(t, ".", c);
  return e == -1 ? t : textAfter(t, e);
}

}  // namespace

Text urlHost(const Text& url, bool baseDomainOnly, bool keepPort, std::optional<int> levels) {
  const Text host = levels ? hostByLevels(url, baseDomainOnly, *levels)
                           : hostAfterScheme(url, baseDomainOnly);
  return applyPortStep(host, keepPort);
}

int urlPort(const Text& url) {
  const Text host = urlHost(url, false, true);
  if (findText(host, ":") != -1) {
    return textToInt(textAfter(host, findTextReverse(host, ":")));
  }
  return toLowerCase(textLeft(url, 5)) == "https" ? 443 : 80;
}

Text urlPath(const Text& url) {
  const int hostAt = findText(url, urlHost(url), 1, true);
  const int slash = findText(url, "/", hostAt == -1 ? 1 : hostAt);
  if (slash <= 0) {
    return "/";
  }
  return textAfter(url, slash - 1);
}

}  // namespace corvane
