// The HTTP client on libcurl. Each WebAccess call makes one easy handle (the root) and frees it
// before returning. The transfer is driven through a multi handle so that the body can be pulled
// in chunks as the routine reads it, and redirects are followed here, hop by hop, each with its
// own request target: libcurl's own following would reuse the first target on every hop.
#include <curl/curl.h>

#include <algorithm>
#include <array>
#include <mutex>

#include "web/http_client.h"

namespace corvane {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kMaxRedirects = 10;
// The routine keeps at most 4999 characters of a header block; a longer one only has to show
// that it is too long, so storing stops here.
constexpr std::size_t kMaxHeaderBlock = 64 * 1024;
constexpr long kReceiveBufferSize = 128 * 1024;
constexpr std::chrono::milliseconds kPollSlice{250};

struct EasyCloser {
  void operator()(CURL* easy) const noexcept { curl_easy_cleanup(easy); }
};
struct MultiCloser {
  void operator()(CURLM* multi) const noexcept { curl_multi_cleanup(multi); }
};
struct SlistCloser {
  void operator()(curl_slist* list) const noexcept { curl_slist_free_all(list); }
};
struct UrlCloser {
  void operator()(CURLU* url) const noexcept { curl_url_cleanup(url); }
};
struct CurlTextCloser {
  void operator()(char* text) const noexcept { curl_free(text); }
};
using EasyHandle = std::unique_ptr<CURL, EasyCloser>;
using MultiHandle = std::unique_ptr<CURLM, MultiCloser>;
using HeaderList = std::unique_ptr<curl_slist, SlistCloser>;
using UrlHandle = std::unique_ptr<CURLU, UrlCloser>;
using CurlText = std::unique_ptr<char, CurlTextCloser>;

void ensureCurlReady() {
  static const CURLcode initialised = curl_global_init(CURL_GLOBAL_DEFAULT);
  (void)initialised;  // a failed start shows as a handle that cannot be made
}

// The cookie store shared by every request that leaves cookies to the client, as a browser's
// session keeps them between pages.
class CookieStore {
 public:
  CookieStore() : share_(curl_share_init()) {
    if (share_ != nullptr) {
      curl_share_setopt(share_, CURLSHOPT_LOCKFUNC, &CookieStore::lock);
      curl_share_setopt(share_, CURLSHOPT_UNLOCKFUNC, &CookieStore::unlock);
      curl_share_setopt(share_, CURLSHOPT_USERDATA, this);
      curl_share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
    }
  }
  ~CookieStore() { curl_share_cleanup(share_); }
  CookieStore(const CookieStore&) = delete;
  CookieStore& operator=(const CookieStore&) = delete;

  [[nodiscard]] CURLSH* share() const { return share_; }

 private:
  static void lock(CURL*, curl_lock_data data, curl_lock_access, void* user) {
    static_cast<CookieStore*>(user)->mutexFor(data).lock();
  }
  static void unlock(CURL*, curl_lock_data data, void* user) {
    static_cast<CookieStore*>(user)->mutexFor(data).unlock();
  }
  std::mutex& mutexFor(curl_lock_data data) {
    const auto index = static_cast<std::size_t>(data);
    return mutexes_[index < mutexes_.size() ? index : 0];
  }

  CURLSH* share_;
  std::array<std::mutex, CURL_LOCK_DATA_LAST> mutexes_;
};

CookieStore& cookieStore() {
  ensureCurlReady();
  static CookieStore store;
  return store;
}

std::mutex trustMutex;
std::string trustedCertificates;  // empty: the system's trust store alone

std::string trustedCertificatesFile() {
  const std::lock_guard lock(trustMutex);
  return trustedCertificates;
}

// One request of a redirect chain: where it goes and what it carries.
struct Hop {
  bool secure = false;
  std::string host;
  int port = 0;  // 0: the scheme's default
  std::string target;  // origin form, already escaped
  std::string verb;
  std::optional<std::string> body;
};

std::string authority(const Hop& hop) {
  std::string text = (hop.secure ? "https://" : "http://") + hop.host;
  if (hop.port != 0) {
    text += ':' + std::to_string(hop.port);
  }
  return text;
}

int statusCodeOf(std::string_view statusLine) {
  const auto space = statusLine.find(' ');
  if (space == std::string_view::npos || statusLine.size() < space + 4) {
    return 0;
  }
  int code = 0;
  for (const char c : statusLine.substr(space + 1, 3)) {
    if (c < '0' || c > '9') {
      return 0;
    }
    code = code * 10 + (c - '0');
  }
  return code;
}

bool sameLetters(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
           return lower(x) == lower(y);
         });
}

// The value of the first header line called `name` in a block, blanks trimmed.
std::string headerValue(std::string_view block, std::string_view name) {
  std::size_t start = block.find("\r\n");
  while (start != std::string_view::npos) {
    start += 2;
    const std::size_t end = block.find("\r\n", start);
    const std::string_view line = block.substr(start, end - start);
    const std::size_t colon = line.find(':');
    if (colon != std::string_view::npos && sameLetters(line.substr(0, colon), name)) {
      std::string_view value = line.substr(colon + 1);
      const std::size_t first = value.find_first_not_of(" \t");
      if (first == std::string_view::npos) {
        return {};
      }
      value = value.substr(first, value.find_last_not_of(" \t") - first + 1);
      return std::string(value);
    }
    start = end;
  }
  return {};
}

std::optional<std::string> urlPart(CURLU* url, CURLUPart part, unsigned int flags = 0) {
  char* raw = nullptr;
  if (curl_url_get(url, part, &raw, flags) != CURLUE_OK || raw == nullptr) {
    return std::nullopt;
  }
  const CurlText owned(raw);
  return std::string(raw);
}

}  // namespace

struct HttpSession {
  EasyHandle easy;
  std::array<char, CURL_ERROR_SIZE> error{};  // libcurl's words on the last failure
  std::string agent;
  std::optional<std::string> proxy;
};

struct HttpConnection {
  HttpSession& session;
  std::string host;
  int port = 0;
};

struct HttpRequest {
  HttpRequest(HttpConnection& to, HttpRequestFlags how)
      : connection(to), flags(how), multi(curl_multi_init()) {}

  HttpConnection& connection;
  HttpRequestFlags flags;
  MultiHandle multi;
  HeaderList headers;
  Hop hop;
  std::chrono::milliseconds stall{};
  bool attached = false;

  // The response of the current hop.
  std::string block;       // the header block being received
  bool inBlock = false;
  int blockStatus = 0;
  std::optional<std::string> finalBlock;
  std::string pending;     // body bytes that came before anyone took them
  const HttpBodyPiece* take = nullptr;  // while set, body bytes go straight to it
  std::size_t pieceSize = 0;
  bool finished = false;
  Clock::time_point lastActivity;
  curl_off_t lastUploaded = 0;

  [[nodiscard]] CURL* easy() const { return connection.session.easy.get(); }
};

namespace {

void takeHeaderLine(HttpRequest& request, std::string_view line) {
  request.lastActivity = Clock::now();
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
    line.remove_suffix(1);
  }
  if (request.finalBlock) {
    return;  // trailers of a chunked body are no part of the block
  }
  if (!request.inBlock) {
    if (line.substr(0, 5) == "HTTP/") {
      request.block.assign(line).append("\r\n");
      request.inBlock = true;
      request.blockStatus = statusCodeOf(line);
    }
    return;
  }
  request.block.append(line.substr(0, kMaxHeaderBlock)).append("\r\n");
  if (request.block.size() > kMaxHeaderBlock) {
    request.block.resize(kMaxHeaderBlock);  // long enough to be refused; keep memory bounded
  }
  if (line.empty()) {
    request.inBlock = false;
    if (request.blockStatus >= 200 || request.blockStatus < 100) {  // an interim 1xx is not it
      request.finalBlock = std::move(request.block);
    }
    request.block.clear();
  }
}

std::size_t onHeaderLine(char* data, std::size_t size, std::size_t count, void* user) {
  try {
    takeHeaderLine(*static_cast<HttpRequest*>(user), std::string_view(data, size * count));
  } catch (...) {
    return 0;  // out of memory: libcurl ends the transfer
  }
  return size * count;
}

// Gives bytes to the taker in pieces; false when it wants no more.
bool handOver(HttpRequest& request, std::string_view bytes) {
  while (!bytes.empty()) {
    const std::size_t n = std::min(bytes.size(), request.pieceSize);
    if (!(*request.take)(bytes.substr(0, n))) {
      return false;
    }
    bytes.remove_prefix(n);
  }
  return true;
}

std::size_t onBodyBytes(char* data, std::size_t size, std::size_t count, void* user) {
  auto& request = *static_cast<HttpRequest*>(user);
  request.lastActivity = Clock::now();
  const std::string_view bytes(data, size * count);
  try {
    if (request.take == nullptr) {
      request.pending.append(bytes);
    } else if (!handOver(request, bytes)) {
      return 0;  // libcurl ends the transfer
    }
  } catch (...) {
    return 0;
  }
  return bytes.size();
}

int onProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t uploaded) {
  auto& request = *static_cast<HttpRequest*>(user);
  if (uploaded != request.lastUploaded) {
    request.lastUploaded = uploaded;
    request.lastActivity = Clock::now();
  }
  return 0;
}

void detach(HttpRequest& request) {
  if (request.attached) {
    curl_multi_remove_handle(request.multi.get(), request.easy());
    request.attached = false;
  }
}

// Sets the hop's options on the easy handle and starts its transfer.
bool startHop(HttpRequest& request) {
  CURL* easy = request.easy();
  const Hop& hop = request.hop;
  const bool throughProxy = request.connection.session.proxy.has_value();
  // A proxy that forwards plain http needs the absolute form; https goes through a tunnel.
  const std::string target =
      throughProxy && !hop.secure ? authority(hop) + hop.target : hop.target;
  const std::string url = authority(hop) + "/";
  curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
  curl_easy_setopt(easy, CURLOPT_REQUEST_TARGET, target.c_str());
  if (hop.body) {
    curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(hop.body->size()));
    curl_easy_setopt(easy, CURLOPT_POSTFIELDS, hop.body->data());
  } else {
    curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
  }
  curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, hop.verb.c_str());

  request.block.clear();
  request.inBlock = false;
  request.finalBlock.reset();
  request.pending.clear();
  request.finished = false;
  request.lastUploaded = 0;
  request.lastActivity = Clock::now();
  request.attached = curl_multi_add_handle(request.multi.get(), easy) == CURLM_OK;
  request.finished = !request.attached;
  return request.attached;
}

// Lets libcurl work once and notes the end of the transfer; when that brought nothing, waits
// briefly for the socket. A transfer that has not moved a byte for the stall time is given up.
void pump(HttpRequest& request) {
  const auto activityBefore = request.lastActivity;
  int running = 0;
  if (curl_multi_perform(request.multi.get(), &running) != CURLM_OK) {
    request.finished = true;
    return;
  }
  int queued = 0;
  while (CURLMsg* message = curl_multi_info_read(request.multi.get(), &queued)) {
    if (message->msg == CURLMSG_DONE) {
      request.finished = true;
    }
  }
  if (request.finished || request.lastActivity != activityBefore) {
    return;  // bytes came: the caller takes them before the socket is asked again
  }
  const auto idle = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() -
                                                                          request.lastActivity);
  if (idle >= request.stall) {
    request.finished = true;
    return;
  }
  const auto wait = std::min(kPollSlice, request.stall - idle);
  curl_multi_poll(request.multi.get(), nullptr, 0, static_cast<int>(wait.count()) + 1, nullptr);
}

bool isRedirectStatus(int status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// Where the final response of the current hop sends us, when it is a redirect we may follow.
std::optional<Hop> redirectHop(const HttpRequest& request) {
  const std::string& block = *request.finalBlock;
  const int status = statusCodeOf(block.substr(0, block.find("\r\n")));
  const std::string location = headerValue(block, "Location");
  if (!isRedirectStatus(status) || location.empty()) {
    return std::nullopt;
  }
  const UrlHandle url(curl_url());
  if (!url) {
    return std::nullopt;
  }
  const Hop& current = request.hop;
  if (curl_url_set(url.get(), CURLUPART_URL, (authority(current) + current.target).c_str(), 0) !=
      CURLUE_OK) {
    curl_url_set(url.get(), CURLUPART_URL, (authority(current) + "/").c_str(), 0);
  }
  if (curl_url_set(url.get(), CURLUPART_URL, location.c_str(), CURLU_ALLOW_SPACE) != CURLUE_OK) {
    return std::nullopt;  // a Location we cannot read: the redirect itself is the answer
  }
  const auto scheme = urlPart(url.get(), CURLUPART_SCHEME);
  const auto host = urlPart(url.get(), CURLUPART_HOST);
  const auto port = urlPart(url.get(), CURLUPART_PORT, CURLU_DEFAULT_PORT);
  const auto path = urlPart(url.get(), CURLUPART_PATH);
  const auto query = urlPart(url.get(), CURLUPART_QUERY);
  if (!scheme || !host || !port || (*scheme != "http" && *scheme != "https")) {
    return std::nullopt;
  }
  if (current.secure && *scheme == "http") {
    return std::nullopt;  // never from https down to plain http
  }
  Hop next = current;
  next.secure = *scheme == "https";
  next.host = *host;
  next.port = std::atoi(port->c_str());
  next.target = escapeRequestTarget(path.value_or("/") + (query ? "?" + *query : ""));
  if (status == 301 || status == 302 || status == 303) {
    next.verb = "GET";  // as browsers do: the redirected request is a plain GET
    next.body.reset();
  }
  return next;
}

// A header line as libcurl must be given it: a line with an empty value is written with ";",
// since "Name:" alone would remove the header instead of sending it.
std::string listEntry(const std::string& line) {
  const std::size_t colon = line.find(':');
  if (colon != std::string::npos && line.find_first_not_of(" \t", colon + 1) == std::string::npos) {
    return line.substr(0, colon) + ";";
  }
  return line;
}

}  // namespace

void HttpSessionCloser::operator()(HttpSession* session) const noexcept {
  delete session;
}

void HttpConnectionCloser::operator()(HttpConnection* connection) const noexcept {
  delete connection;
}

void HttpRequestCloser::operator()(HttpRequest* request) const noexcept {
  if (request != nullptr) {
    detach(*request);
  }
  delete request;
}

HttpSessionHandle httpOpenSession(std::string_view agent, const std::optional<std::string>& proxy) {
  ensureCurlReady();
  if (proxy && proxy->empty()) {
    return nullptr;  // a proxy that names no server cannot carry the request
  }
  HttpSessionHandle session(new HttpSession{EasyHandle(curl_easy_init()), {}, std::string(agent),
                                            proxy});
  CURL* easy = session->easy.get();
  if (easy == nullptr) {
    return nullptr;
  }
  curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, session->error.data());
  curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 0L);
  curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
  curl_easy_setopt(easy, CURLOPT_USERAGENT, session->agent.c_str());
  // An empty proxy means none; otherwise libcurl would read http_proxy and friends.
  curl_easy_setopt(easy, CURLOPT_PROXY, proxy ? proxy->c_str() : "");
  if (proxy) {
    curl_easy_setopt(easy, CURLOPT_NOPROXY, "");  // and no_proxy may not bypass it either
  }
  curl_easy_setopt(easy, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
  curl_easy_setopt(easy, CURLOPT_BUFFERSIZE, kReceiveBufferSize);
  curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 2L);
  if (const std::string extra = trustedCertificatesFile(); !extra.empty()) {
    curl_easy_setopt(easy, CURLOPT_CAINFO, extra.c_str());
  }
  return session;
}

HttpConnectionHandle httpConnect(HttpSession& session, std::string_view host, int port) {
  if (host.empty() || port < 0 || port > 65535) {
    return nullptr;
  }
  // The host must come back from libcurl's URL parser as it went in: nothing of a path, a
  // query, a user or a port may hide in it.
  const UrlHandle url(curl_url());
  const std::string probe = "http://" + std::string(host) + "/";
  if (!url || curl_url_set(url.get(), CURLUPART_URL, probe.c_str(), 0) != CURLUE_OK) {
    return nullptr;
  }
  const auto parsed = urlPart(url.get(), CURLUPART_HOST);
  if (!parsed || !sameLetters(*parsed, host)) {
    return nullptr;
  }
  return HttpConnectionHandle(new HttpConnection{session, std::string(host), port});
}

HttpRequestHandle httpOpenRequest(HttpConnection& connection, std::string_view verb,
                                  std::string_view object, HttpRequestFlags flags) {
  HttpRequestHandle request(new HttpRequest(connection, flags));
  if (!request->multi || verb.empty()) {
    return nullptr;
  }
  const HttpTimeouts timeouts = httpTimeouts();
  request->stall = timeouts.stall;
  request->hop = Hop{flags.secure, connection.host, connection.port, escapeRequestTarget(object),
                     std::string(verb), std::nullopt};

  CURL* easy = request->easy();
  curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(timeouts.connect.count()));
  // Every hop on a connection of its own: a server may close one after its answer, and a hop sent
  // on such a connection before the close is seen would be lost.
  curl_easy_setopt(easy, CURLOPT_FRESH_CONNECT, 1L);
  curl_easy_setopt(easy, CURLOPT_FORBID_REUSE, 1L);
  curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &onHeaderLine);
  curl_easy_setopt(easy, CURLOPT_HEADERDATA, request.get());
  curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &onBodyBytes);
  curl_easy_setopt(easy, CURLOPT_WRITEDATA, request.get());
  curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, &onProgress);
  curl_easy_setopt(easy, CURLOPT_XFERINFODATA, request.get());
  curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
  if (!flags.noCookies) {
    CURLSH* share = cookieStore().share();
    if (share == nullptr) {
      return nullptr;
    }
    curl_easy_setopt(easy, CURLOPT_SHARE, share);
    curl_easy_setopt(easy, CURLOPT_COOKIEFILE, "");  // switches the cookie engine on, reads no file
  }
  return request;
}

bool httpSendRequest(HttpRequest& request, const std::vector<std::string>& headerLines,
                     std::optional<std::string_view> body) {
  HeaderList list;
  const auto add = [&list](const std::string& entry) {
    curl_slist* grown = curl_slist_append(list.get(), entry.c_str());
    if (grown == nullptr) {
      return false;
    }
    (void)list.release();
    list.reset(grown);
    return true;
  };
  for (const std::string& line : headerLines) {
    if (line.find(':') != std::string::npos && !add(listEntry(line))) {
      return false;
    }
  }
  // Headers libcurl would add of its own; the header lines alone decide these.
  for (const char* own : {"Accept:", "Expect:", "Content-Type:"}) {
    if (!add(own)) {
      return false;
    }
  }
  request.headers = std::move(list);
  curl_easy_setopt(request.easy(), CURLOPT_HTTPHEADER, request.headers.get());
  if (body) {
    request.hop.body = std::string(*body);
  }

  for (int redirects = 0;; ++redirects) {
    if (!startHop(request)) {
      return false;
    }
    while (!request.finished && !request.finalBlock) {
      pump(request);
    }
    if (!request.finalBlock) {
      return false;
    }
    if (request.flags.noRedirect || redirects == kMaxRedirects) {
      return true;
    }
    std::optional<Hop> next = redirectHop(request);
    if (!next) {
      return true;
    }
    detach(request);
    request.hop = std::move(*next);
  }
}

void httpReceiveBody(HttpRequest& request, int pieceSize, const HttpBodyPiece& take) {
  request.take = &take;
  request.pieceSize = static_cast<std::size_t>(std::max(pieceSize, 1));
  try {
    const std::string early = std::move(request.pending);
    request.pending.clear();
    if (handOver(request, early)) {
      while (!request.finished && request.attached) {
        pump(request);
      }
    }
  } catch (...) {
    // the taker failed: the rest of the body is not wanted
  }
  request.take = nullptr;
}

std::optional<long long> httpContentLength(const HttpRequest& request) {
  curl_off_t length = -1;
  if (!request.finalBlock ||
      curl_easy_getinfo(request.easy(), CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) != CURLE_OK ||
      length < 0) {
    return std::nullopt;
  }
  return static_cast<long long>(length);
}

std::optional<std::string> httpRawHeaders(const HttpRequest& request) {
  return request.finalBlock;
}

void setTrustedCertificatesForTesting(const std::string& pemFile) {
  const std::lock_guard lock(trustMutex);
  trustedCertificates = pemFile;
}

void clearHttpCookieStore() {
  const EasyHandle easy(curl_easy_init());
  CURLSH* share = cookieStore().share();
  if (easy && share != nullptr) {
    curl_easy_setopt(easy.get(), CURLOPT_SHARE, share);
    curl_easy_setopt(easy.get(), CURLOPT_COOKIELIST, "ALL");
  }
}

}  // namespace corvane
