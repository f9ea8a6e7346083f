// The loopback test server: one thread accepts, one thread serves each connection; every wait is
// a short slice that looks at the stop flag, so the server always ends with the test.
#include "loopback_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <stdexcept>

namespace corvane::testserver {
namespace {

using Clock = std::chrono::steady_clock;

std::string lowered(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
  return out;
}

bool startsWithName(std::string_view line, std::string_view name) {
  return line.size() > name.size() && line[name.size()] == ':' &&
         lowered(line.substr(0, name.size())) == lowered(name);
}

// One accepted connection, plain or TLS. Reads wait at most a short slice.
struct Channel {
  int fd = -1;
  SSL* ssl = nullptr;

  // Bytes read; 0 when the peer is gone; -1 when nothing came within the slice.
  int read(char* buffer, int size) const {
    if (ssl != nullptr) {
      const int n = SSL_read(ssl, buffer, size);
      if (n > 0) {
        return n;
      }
      const int error = SSL_get_error(ssl, n);
      return error == SSL_ERROR_WANT_READ || error == SSL_ERROR_WANT_WRITE ? -1 : 0;
    }
    const ssize_t n = ::recv(fd, buffer, static_cast<std::size_t>(size), 0);
    if (n > 0) {
      return static_cast<int>(n);
    }
    return n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) ? -1 : 0;
  }

  bool write(std::string_view bytes, const std::atomic<bool>& stopping) const {
    while (!bytes.empty()) {
      if (stopping) {
        return false;
      }
      long n = 0;
      if (ssl != nullptr) {
        n = SSL_write(ssl, bytes.data(), static_cast<int>(std::min<std::size_t>(bytes.size(), 1 << 20)));
        if (n <= 0) {
          const int error = SSL_get_error(ssl, static_cast<int>(n));
          if (error == SSL_ERROR_WANT_WRITE || error == SSL_ERROR_WANT_READ) {
            continue;
          }
          return false;
        }
      } else {
        n = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (n < 0) {
          if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) {
            continue;
          }
          return false;
        }
      }
      bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
  }
};

// Reads until the peer goes or the server stops: a connection held open without a word.
void holdOpen(const Channel& channel, const std::atomic<bool>& stopping) {
  char sink[4096];
  while (!stopping && channel.read(sink, sizeof sink) != 0) {
  }
}

bool readRequest(const Channel& channel, const std::atomic<bool>& stopping,
                 ReceivedRequest& request) {
  char buffer[16384];
  std::size_t headEnd = std::string::npos;
  while ((headEnd = request.raw.find("\r\n\r\n")) == std::string::npos) {
    if (stopping || request.raw.size() > (1u << 20)) {
      return false;
    }
    const int n = channel.read(buffer, sizeof buffer);
    if (n == 0) {
      return false;
    }
    if (n > 0) {
      request.raw.append(buffer, static_cast<std::size_t>(n));
    }
  }
  request.head = request.raw.substr(0, headEnd + 4);
  const std::string length = request.header("Content-Length");
  const std::size_t bodyLength = length.empty() ? 0 : std::stoul(length);
  while (request.raw.size() < headEnd + 4 + bodyLength) {
    if (stopping) {
      return false;
    }
    const int n = channel.read(buffer, sizeof buffer);
    if (n == 0) {
      break;
    }
    if (n > 0) {
      request.raw.append(buffer, static_cast<std::size_t>(n));
    }
  }
  request.body = request.raw.substr(headEnd + 4);
  return true;
}

void setTimeouts(int fd) {
  timeval slice{0, 100'000};
  setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &slice, sizeof slice);
  setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &slice, sizeof slice);
}

void resetConnection(int fd) {
  linger abortive{1, 0};
  setsockopt(fd, SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
}

}  // namespace

std::string ReceivedRequest::requestLine() const {
  return head.substr(0, head.find("\r\n"));
}

std::string ReceivedRequest::method() const {
  const std::string line = requestLine();
  return line.substr(0, line.find(' '));
}

std::string ReceivedRequest::target() const {
  const std::string line = requestLine();
  const std::size_t first = line.find(' ');
  const std::size_t last = line.rfind(' ');
  if (first == std::string::npos || last <= first) {
    return {};
  }
  return line.substr(first + 1, last - first - 1);
}

std::vector<std::string> ReceivedRequest::headerLines() const {
  std::vector<std::string> lines;
  std::size_t start = head.find("\r\n");
  while (start != std::string::npos) {
    start += 2;
    const std::size_t end = head.find("\r\n", start);
    if (end == std::string::npos || end == start) {
      break;
    }
    lines.push_back(head.substr(start, end - start));
    start = end;
  }
  return lines;
}

std::string ReceivedRequest::header(std::string_view name) const {
  for (const std::string& line : headerLines()) {
    if (startsWithName(line, name)) {
      const std::size_t value = line.find_first_not_of(' ', name.size() + 1);
      return value == std::string::npos ? std::string() : line.substr(value);
    }
  }
  return {};
}

int ReceivedRequest::countHeaders(std::string_view name) const {
  const auto lines = headerLines();
  return static_cast<int>(std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
    return startsWithName(line, name);
  }));
}

std::string response(std::string_view statusLine, const std::vector<std::string>& headers,
                     std::string_view body) {
  std::string text(statusLine);
  text += "\r\n";
  bool framed = false;
  for (const std::string& line : headers) {
    text += line + "\r\n";
    framed = framed || startsWithName(line, "Content-Length") ||
             startsWithName(line, "Transfer-Encoding");
  }
  if (!framed) {
    text += "Content-Length: " + std::to_string(body.size()) + "\r\n";
  }
  text += "\r\n";
  text += body;
  return text;
}

Reply okReply(std::string_view body) {
  return Reply{response("HTTP/1.1 200 OK",
                        {"Content-Type: text/plain; charset=utf-8",
                         "Content-Length: " + std::to_string(body.size()), "Connection: close"},
                        body)};
}

LoopbackListener listenOnLoopback(int backlog) {
  const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
  const int yes = 1;
  setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t length = sizeof address;
  if (listener < 0 || ::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(listener, backlog) != 0 ||
      ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    if (listener >= 0) {
      ::close(listener);
    }
    throw std::runtime_error("test server: cannot listen on loopback");
  }
  return LoopbackListener{listener, ntohs(address.sin_port)};
}

LoopbackServer::LoopbackServer(Handler handler, const TlsFiles* tls)
    : handler_(std::make_shared<const Handler>(std::move(handler))) {
  // SSL_write has no MSG_NOSIGNAL: a client that hangs up must not end the whole test binary.
  std::signal(SIGPIPE, SIG_IGN);
  if (tls != nullptr) {
    SSL_CTX* context = SSL_CTX_new(TLS_server_method());
    if (context == nullptr ||
        SSL_CTX_use_certificate_chain_file(context, tls->certificate.c_str()) != 1 ||
        SSL_CTX_use_PrivateKey_file(context, tls->key.c_str(), SSL_FILETYPE_PEM) != 1) {
      SSL_CTX_free(context);
      throw std::runtime_error("test server: cannot load the TLS certificate");
    }
    tlsContext_ = context;
  }
  LoopbackListener listener;
  try {
    listener = listenOnLoopback(64);
  } catch (...) {
    SSL_CTX_free(static_cast<SSL_CTX*>(tlsContext_));
    throw;
  }
  listener_ = listener.socket;
  port_ = listener.port;
  acceptor_ = std::thread([this] { acceptLoop(); });
}

LoopbackServer::~LoopbackServer() {
  stopping_ = true;
  acceptor_.join();
  for (std::thread& worker : workers_) {
    worker.join();
  }
  ::close(listener_);
  SSL_CTX_free(static_cast<SSL_CTX*>(tlsContext_));
}

std::string LoopbackServer::url(std::string_view path) const {
  return std::string(tlsContext_ != nullptr ? "https" : "http") + "://127.0.0.1:" +
         std::to_string(port_) + std::string(path);
}

std::vector<ReceivedRequest> LoopbackServer::requests() const {
  const std::lock_guard lock(mutex_);
  return requests_;
}

void LoopbackServer::setHandler(Handler handler) {
  auto replacement = std::make_shared<const Handler>(std::move(handler));
  const std::lock_guard lock(mutex_);
  handler_ = std::move(replacement);
}

void LoopbackServer::clearRequests() {
  const std::lock_guard lock(mutex_);
  requests_.clear();
}

void LoopbackServer::acceptLoop() {
  while (!stopping_) {
    pollfd waiting{listener_, POLLIN, 0};
    if (::poll(&waiting, 1, 50) <= 0) {
      continue;
    }
    const int socket = ::accept(listener_, nullptr, nullptr);
    if (socket >= 0) {
      ++connections_;
      workers_.emplace_back([this, socket] { serve(socket); });
    }
  }
}

void LoopbackServer::serve(int socket) {
  setTimeouts(socket);
  Channel channel{socket, nullptr};
  bool ready = true;
  if (tlsContext_ != nullptr) {
    channel.ssl = SSL_new(static_cast<SSL_CTX*>(tlsContext_));
    SSL_set_fd(channel.ssl, socket);
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    for (;;) {
      const int accepted = SSL_accept(channel.ssl);
      if (accepted == 1) {
        break;
      }
      const int error = SSL_get_error(channel.ssl, accepted);
      if ((error != SSL_ERROR_WANT_READ && error != SSL_ERROR_WANT_WRITE) || stopping_ ||
          Clock::now() > deadline) {
        ready = false;  // the client refused our certificate, or went away
        break;
      }
    }
  }

  ReceivedRequest request;
  if (ready && readRequest(channel, stopping_, request)) {
    std::shared_ptr<const Handler> handler;
    {
      const std::lock_guard lock(mutex_);
      requests_.push_back(request);
      handler = handler_;
    }
    const Reply reply = (*handler)(request);
    bool written = reply.silent || channel.write(reply.bytes, stopping_);
    std::string filler(std::min<std::size_t>(reply.fillerBytes, 1 << 16), 'x');
    for (std::size_t left = reply.fillerBytes; written && left > 0;) {
      const std::size_t n = std::min(left, filler.size());
      written = channel.write(std::string_view(filler).substr(0, n), stopping_);
      left -= n;
    }
    if (reply.silent || reply.then == Reply::Then::Stall) {
      holdOpen(channel, stopping_);
    } else if (reply.then == Reply::Then::Reset) {
      resetConnection(socket);
    } else if (channel.ssl != nullptr) {
      SSL_shutdown(channel.ssl);
    }
  }
  SSL_free(channel.ssl);
  ::close(socket);
}

int unusedPort() {
  const LoopbackListener probe = listenOnLoopback(1);
  ::close(probe.socket);
  return probe.port;
}

}  // namespace corvane::testserver
