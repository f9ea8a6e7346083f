// The HTTP client under WebAccess: the few operations the routine needs of the platform, in the
// order it calls them (open a root, name the server, open a request, send it, read the body,
// query the raw header block, close). A backend defines the handle types and the operations;
// http_client_curl.cpp is the libcurl one. Failures come back as null handles, false or 0.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

struct HttpSession;     // the root: agent and proxy
struct HttpConnection;  // one server: host and port
struct HttpRequest;     // one request to that server and its response

// Closing a handle: a request before its connection, a connection before its session.
struct HttpSessionCloser {
  void operator()(HttpSession* session) const noexcept;
};
struct HttpConnectionCloser {
  void operator()(HttpConnection* connection) const noexcept;
};
struct HttpRequestCloser {
  void operator()(HttpRequest* request) const noexcept;
};
using HttpSessionHandle = std::unique_ptr<HttpSession, HttpSessionCloser>;
using HttpConnectionHandle = std::unique_ptr<HttpConnection, HttpConnectionCloser>;
using HttpRequestHandle = std::unique_ptr<HttpRequest, HttpRequestCloser>;

struct HttpRequestFlags {
  bool secure = false;      // speak TLS, the peer verified against the system's trust store
  bool noCookies = false;   // neither send nor keep cookies of the client's own store
  bool noRedirect = false;  // hand back a redirect response instead of following it
};

// Opens the root. With a proxy ("host:port") http and https requests go through it; without one
// they go direct, whatever the environment names. Null when no root can be made.
[[nodiscard]] HttpSessionHandle httpOpenSession(std::string_view agent,
                                                const std::optional<std::string>& proxy);

// Names the server. A port of 0 stands for the scheme's default. Null when host and port do not
// make an address.
[[nodiscard]] HttpConnectionHandle httpConnect(HttpSession& session, std::string_view host,
                                               int port);

// Opens a request for `verb` and `object` (the path and query as the caller wrote them; what
// HTTP does not allow in a request target is escaped on the wire). Null on failure.
[[nodiscard]] HttpRequestHandle httpOpenRequest(HttpConnection& connection, std::string_view verb,
                                                std::string_view object, HttpRequestFlags flags);

// Sends the request: these header lines in this order (each one line, no CR or LF inside), then
// the body when there is one (nullopt: no body; an empty view: an empty body of length 0).
// Returns once the final response's header block is in, redirects followed as the flags say;
// false when no response came.
bool httpSendRequest(HttpRequest& request, const std::vector<std::string>& headerLines,
                     std::optional<std::string_view> body);

// Hands the body to `take` in pieces of at most `pieceSize` bytes, in order of arrival, straight
// from the client's buffer, until the body ends, the transfer fails, or `take` returns false
// (then the rest is abandoned). A piece is valid during its call only.
using HttpBodyPiece = std::function<bool(std::string_view piece)>;
void httpReceiveBody(HttpRequest& request, int pieceSize, const HttpBodyPiece& take);

// The body length the final response states, when it states one (a hint for the reader's buffer).
[[nodiscard]] std::optional<long long> httpContentLength(const HttpRequest& request);

// The final response's header block as it came: status line first, CRLF after each line, the
// empty line last. Nullopt when no complete block came.
[[nodiscard]] std::optional<std::string> httpRawHeaders(const HttpRequest& request);

// How long a request may wait: for its connection, and for the next byte once connected.
struct HttpTimeouts {
  std::chrono::milliseconds connect{60'000};
  std::chrono::milliseconds stall{60'000};
};
[[nodiscard]] HttpTimeouts httpTimeouts();
void setHttpTimeouts(const HttpTimeouts& timeouts);  // tests shorten them

// The object as it goes into the request line: controls, space, DEL and bytes of 0x80 and above
// as %XX, everything else as written, so that no text can split the line.
[[nodiscard]] std::string escapeRequestTarget(std::string_view object);

// Test hooks: trust the certificates in `pemFile` for the requests opened after it (empty: the
// system's trust store alone again); forget every cookie of the client's shared store.
void setTrustedCertificatesForTesting(const std::string& pemFile);
void clearHttpCookieStore();

}  // namespace corvane
