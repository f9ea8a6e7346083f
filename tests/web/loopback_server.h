// A small HTTP server on 127.0.0.1 for the web tests: raw sockets (optionally TLS), an ephemeral
// port, the exact bytes of every request recorded, and a scripted reply per request.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace corvane::webtest {

struct ReceivedRequest {
  std::string raw;  // the request as it arrived: head, empty line, body
  std::string head;
  std::string body;

  [[nodiscard]] std::string requestLine() const;
  // The header lines after the request line, in order.
  [[nodiscard]] std::vector<std::string> headerLines() const;
  // The value of the first header of that name (any case), or empty.
  [[nodiscard]] std::string header(std::string_view name) const;
  [[nodiscard]] int countHeaders(std::string_view name) const;
};

struct Reply {
  enum class Then { Close, Reset, Stall };
  std::string bytes;              // written exactly as they are
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
  [[nodiscard]] std::vector<ReceivedRequest> requests() const;
  [[nodiscard]] int connections() const { return connections_; }

 private:
  void acceptLoop();
  void serve(int socket);

  Handler handler_;
  void* tlsContext_ = nullptr;  // SSL_CTX*
  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  std::atomic<int> connections_{0};
  mutable std::mutex mutex_;
  std::vector<ReceivedRequest> requests_;
  std::vector<std::thread> workers_;
  std::thread acceptor_;
};

// A port on 127.0.0.1 where nothing listens (taken and released at once).
[[nodiscard]] int unusedPort();

}  // namespace corvane::webtest
