// WebAccess: one HTTP or HTTPS request from start to end, returning the response body.
#pragma once

#include <optional>

#include "text/byte_set.h"
#include "text/text.h"

namespace corvane {

// The optional parameters of WebAccess, with its in/out and out parameters. A caller that
// wants a value back keeps this object and reads it after the call.
struct WebAccessArgs {
  int method = 0;                  // 1: POST; anything else GET. A body is sent unless 0.
  Text postText;                   // body as text, used when postBytes is empty
  std::optional<Text> cookies;     // in/out; supplied: sent, merged, the client's store left out
  Text returnedCookies;            // out: the first name=value of each Set-Cookie line
  Text extraHeaders;               // in/out: extra header lines; receives the text sent
  Text returnedHeaders;            // out: the raw response header block
  bool noRedirect = false;         // true: return a redirect response instead of following it
  ByteSet postBytes;               // in/out: body as bytes; receives postText's bytes when empty
  std::optional<Text> proxy;       // supplied: "host:port" of the proxy the request goes through
};

// Performs the request and returns the whole body; empty on failure.
ByteSet WebAccess(const Text& url, WebAccessArgs& args);

// The program's own calls: a URL and a method, everything else omitted.
ByteSet WebAccess(const Text& url, int method = 0);

}  // namespace corvane
