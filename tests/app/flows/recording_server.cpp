#include "recording_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <strings.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>

namespace corvane::testing {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kReadLimit = std::chrono::seconds(5);
constexpr int kPollMilliseconds = 20;

// Reads until the header block and the body its Content-Length names are in, the peer closes,
// or the time is up.
std::string readRequest(int connection, const std::atomic<bool>& stopping) {
  std::string data;
  const auto deadline = Clock::now() + kReadLimit;
  while (!stopping && Clock::now() < deadline) {
    const std::size_t headerEnd = data.find("\r\n\r\n");
    if (headerEnd != std::string::npos) {
      std::size_t length = 0;
      const std::string head = data.substr(0, headerEnd);
      for (std::size_t at = head.find("\r\n"); at != std::string::npos; at = head.find("\r\n", at + 2)) {
        const std::string line = head.substr(at + 2, head.find("\r\n", at + 2) - at - 2);
        if (line.size() > 15 && strncasecmp(line.c_str(), "Content-Length:", 15) == 0) {
          length = std::strtoul(line.c_str() + 15, nullptr, 10);
        }
      }
      if (data.size() >= headerEnd + 4 + length) break;
    }
    pollfd pfd{connection, POLLIN, 0};
    if (poll(&pfd, 1, kPollMilliseconds) <= 0) continue;
    char buffer[4096];
    const ssize_t n = recv(connection, buffer, sizeof buffer, 0);
    if (n <= 0) break;
    data.append(buffer, static_cast<std::size_t>(n));
  }
  return data;
}

RecordedRequest dissect(std::string raw) {
  RecordedRequest request;
  const std::size_t headerEnd = raw.find("\r\n\r\n");
  const std::string head = raw.substr(0, headerEnd);
  std::size_t lineStart = 0;
  bool first = true;
  while (lineStart <= head.size()) {
    std::size_t lineEnd = head.find("\r\n", lineStart);
    if (lineEnd == std::string::npos) lineEnd = head.size();
    std::string line = head.substr(lineStart, lineEnd - lineStart);
    if (first) {
      request.requestLine = std::move(line);
      first = false;
    } else {
      request.headerLines.push_back(std::move(line));
    }
    lineStart = lineEnd + 2;
  }
  if (headerEnd != std::string::npos) request.body = raw.substr(headerEnd + 4);
  request.raw = std::move(raw);
  return request;
}

}  // namespace

std::string RecordedRequest::method() const { return requestLine.substr(0, requestLine.find(' ')); }

std::string RecordedRequest::target() const {
  const std::size_t first = requestLine.find(' ');
  const std::size_t last = requestLine.rfind(' ');
  if (first == std::string::npos || last <= first) return {};
  return requestLine.substr(first + 1, last - first - 1);
}

Reply okReply(const std::string& body) {
  return Reply{"HTTP/1.1 200 OK\r\nContent-Type: text/plain; charset=utf-8\r\nContent-Length: " +
                   std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body,
               false};
}

RecordingServer::RecordingServer(Answer answer) : answer_(std::move(answer)) {
  listener_ = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t length = sizeof address;
  if (listener_ < 0 || bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(listener_, 16) != 0 ||
      getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    std::abort();
  }
  port_ = ntohs(address.sin_port);
  thread_ = std::thread([this] { serve(); });
}

RecordingServer::~RecordingServer() {
  stopping_ = true;
  thread_.join();
  close(listener_);
}

std::string RecordingServer::base() const { return "http://127.0.0.1:" + std::to_string(port_); }

void RecordingServer::setAnswer(Answer answer) {
  const std::lock_guard lock(mutex_);
  answer_ = std::move(answer);
}

std::vector<RecordedRequest> RecordingServer::requests() const {
  const std::lock_guard lock(mutex_);
  return requests_;
}

void RecordingServer::clearRequests() {
  const std::lock_guard lock(mutex_);
  requests_.clear();
}

void RecordingServer::serve() {
  while (!stopping_) {
    pollfd pfd{listener_, POLLIN, 0};
    if (poll(&pfd, 1, kPollMilliseconds) <= 0) continue;
    const int connection = accept(listener_, nullptr, nullptr);
    if (connection < 0) continue;
    handle(connection);
    close(connection);
  }
}

// One connection at a time: the program under test sends one request and waits for it.
void RecordingServer::handle(int connection) {
  RecordedRequest request = dissect(readRequest(connection, stopping_));
  Reply reply;
  {
    const std::lock_guard lock(mutex_);
    requests_.push_back(request);
    reply = answer_(request);
  }
  if (reply.stall) {
    while (!stopping_) {
      pollfd pfd{connection, POLLIN, 0};
      // The peer giving up shows as readable with nothing left to read.
      if (poll(&pfd, 1, kPollMilliseconds) > 0) {
        char scratch[256];
        if (recv(connection, scratch, sizeof scratch, 0) <= 0) return;
      }
    }
    return;
  }
  std::size_t sent = 0;
  while (sent < reply.bytes.size()) {
    const ssize_t n = send(connection, reply.bytes.data() + sent, reply.bytes.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) break;
    sent += static_cast<std::size_t>(n);
  }
  shutdown(connection, SHUT_WR);
}

}  // namespace corvane::testing
