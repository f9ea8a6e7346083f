// A small HTTP server on 127.0.0.1 for the tests: raw sockets (optionally TLS), an ephemeral
// port, the exact bytes of every request recorded, and a scripted reply per request. The web
// tests check WebAccess on the wire with it, the flow tests the whole window against it.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace corvane::testserver {

struct ReceivedRequest {
  std::string raw;  // the request as it arrived: head, empty line, body
  std::string head;
  std::string body;

  // The first line, without its CRLF.
  [[nodiscard]] std::string requestLine() const;
  // The request line's first and middle words: "GET", "/path?query".
  [[nodiscard]] std::string method() const;
  [[nodiscard]] std::string target() const;
  // The header lines after the request line, in order.
  [[nodiscard]] std::vector<std::string> headerLines() const;
  // The value of the first header of that name (any case), or empty.
  [[nodiscard]] std::string header(std::string_view name) const;
  [[nodiscard]] int countHeaders(std::string_view name) const;
};

struct Reply {
  enum class Then { Close, Reset, Stall };
  std::string bytes = {};         // written exactly as they are
  std::size_t fillerBytes = 0;    // then this many 'x' bytes
  Then then = Then::Close;        // and then: close, reset the connection, or hold it silently
  bool silent = false;            // take the request, never answer, keep the connection open
};

using Handler = std::function<Reply(const ReceivedRequest&)>;

// A whole response: status line, headers (each ended by CRLF), empty line, body. The body's
// length is stated unless a header already sets one.
[[nodiscard]] std::string response(std::string_view statusLine,
                                   const std::vector<std::string>& headers = {},
                                   std::string_view body = {});

// "200 OK" with this body as UTF-8 text, its length, and "Connection: close".
[[nodiscard]] Reply okReply(std::string_view body);

struct TlsFiles {
  std::string certificate;  // PEM
  std::string key;          // PEM
};

class LoopbackServer {
 public:
  explicit LoopbackServer(Handler handler, const TlsFiles* tls = nullptr);
  ~LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  [[nodiscard]] int port() const { return port_; }
  // "http://127.0.0.1:port" (or https) followed by `path`.
  [[nodiscard]] std::string url(std::string_view path) const;
  // The same without a path.
  [[nodiscard]] std::string base() const { return url({}); }
  [[nodiscard]] std::vector<ReceivedRequest> requests() const;
  [[nodiscard]] int connections() const { return connections_; }

  // For a server that lives across tests: each test sets its own answers and forgets the
  // requests before it. A request already being answered keeps the handler it started with.
  void setHandler(Handler handler);
  void clearRequests();

 private:
  void acceptLoop();
  void serve(int socket);

  void* tlsContext_ = nullptr;  // SSL_CTX*
  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  std::atomic<int> connections_{0};
  mutable std::mutex mutex_;  // guards handler_ and requests_
  std::shared_ptr<const Handler> handler_;
  std::vector<ReceivedRequest> requests_;
  std::vector<std::thread> workers_;
  std::thread acceptor_;
};

// A TCP socket listening on 127.0.0.1 at a port the system picked; throws when it cannot.
struct LoopbackListener {
  int socket = -1;
  int port = 0;
};
[[nodiscard]] LoopbackListener listenOnLoopback(int backlog);

// A port on 127.0.0.1 where nothing listens (taken and released at once).
[[nodiscard]] int unusedPort();

}  // namespace corvane::testserver
