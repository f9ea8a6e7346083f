// A tiny HTTP server on loopback for the flow tests: it records every request byte for byte
// and answers with whatever the test has set for the request's path.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace corvane::testing {

struct RecordedRequest {
  std::string raw;                       // every byte received, header block and body
  std::string requestLine;               // without its CRLF
  std::vector<std::string> headerLines;  // in order, without CRLF
  std::string body;
  [[nodiscard]] std::string method() const;
  [[nodiscard]] std::string target() const;
};

// How the server answers one request.
struct Reply {
  std::string bytes;   // sent as they are, then the connection is closed
  bool stall = false;  // true: never answer; the connection stays open until the server stops
};

// A complete "200 OK" answer with this body.
[[nodiscard]] Reply okReply(const std::string& body);

class RecordingServer {
 public:
  using Answer = std::function<Reply(const RecordedRequest&)>;

  explicit RecordingServer(Answer answer);
  ~RecordingServer();
  RecordingServer(const RecordingServer&) = delete;
  RecordingServer& operator=(const RecordingServer&) = delete;

  [[nodiscard]] int port() const { return port_; }
  // "http://127.0.0.1:port"
  [[nodiscard]] std::string base() const;
  void setAnswer(Answer answer);
  [[nodiscard]] std::vector<RecordedRequest> requests() const;
  void clearRequests();

 private:
  void serve();
  void handle(int connection);

  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  mutable std::mutex mutex_;
  Answer answer_;
  std::vector<RecordedRequest> requests_;
  std::thread thread_;
};

}  // namespace corvane::testing
