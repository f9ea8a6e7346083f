// WebAccess over loopback: reading a 50 MB body against the curl command on the same server,
// and 1,000 small requests in a row against the server's own time.
#include <benchmark/benchmark.h>

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "loopback_server.h"
#include "web/web_access.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kLargeBody = 50u * 1000 * 1000;
constexpr int kSmallRequests = 1000;

// A minimal HTTP server on 127.0.0.1: "/large" answers 50 MB, anything else "ok". It serves one
// connection at a time and adds up the time it spends between a complete request and the end of
// its answer. It shares only the listening socket with the tests' LoopbackServer: that one
// starts a thread per connection and records every request, which would count here as the
// client's time.
class BenchServer {
 public:
  BenchServer() {
    const corvane::testserver::LoopbackListener listener = corvane::testserver::listenOnLoopback(128);
    listener_ = listener.socket;
    port_ = listener.port;
    large_ = "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(kLargeBody) + "\r\n\r\n" +
             std::string(kLargeBody, 'x');
    thread_ = std::thread([this] { run(); });
  }
  ~BenchServer() {
    stopping_ = true;
    thread_.join();
    ::close(listener_);
  }

  [[nodiscard]] std::string url(const char* path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
  }
  [[nodiscard]] std::chrono::nanoseconds serverTime() const { return std::chrono::nanoseconds(busy_.load()); }
  void resetServerTime() { busy_ = 0; }

 private:
  void run() {
    static const std::string small = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok";
    while (!stopping_) {
      pollfd waiting{listener_, POLLIN, 0};
      if (::poll(&waiting, 1, 50) <= 0) {
        continue;
      }
      const int socket = ::accept(listener_, nullptr, nullptr);
      if (socket < 0) {
        continue;
      }
      std::string request;
      char buffer[4096];
      while (request.find("\r\n\r\n") == std::string::npos) {
        const ssize_t n = ::recv(socket, buffer, sizeof buffer, 0);
        if (n <= 0) {
          break;
        }
        request.append(buffer, static_cast<std::size_t>(n));
      }
      const auto started = Clock::now();
      const std::string& answer = request.find(" /large ") != std::string::npos ? large_ : small;
      for (std::size_t sent = 0; sent < answer.size();) {
        const ssize_t n = ::send(socket, answer.data() + sent, answer.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) {
          break;
        }
        sent += static_cast<std::size_t>(n);
      }
      busy_ += (Clock::now() - started).count();
      ::close(socket);
    }
  }

  int listener_ = -1;
  int port_ = 0;
  std::string large_;
  std::atomic<bool> stopping_{false};
  std::atomic<long long> busy_{0};
  std::thread thread_;
};

BenchServer& server() {
  static BenchServer instance;
  return instance;
}

struct CurlRun {
  double transferRate = 0;  // bytes per second, as curl measures its own transfer
  double commandRate = 0;   // bytes per second over the whole command, start to exit
};

// Runs `curl -s -o /dev/null` on the URL; zero rates when it fails.
CurlRun runCurl(const std::string& url, std::size_t bytes) {
  const std::string command = "curl -s -o /dev/null -w '%{speed_download}' '" + url + "'";
  const auto started = Clock::now();
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) {
    return {};
  }
  char output[64] = {};
  const std::size_t n = std::fread(output, 1, sizeof output - 1, pipe);
  const bool succeeded = ::pclose(pipe) == 0;
  const double seconds = std::chrono::duration<double>(Clock::now() - started).count();
  output[n] = '\0';
  return succeeded ? CurlRun{std::atof(output), bytes / seconds} : CurlRun{};
}

// WebAccess and the curl command read the same body in turn in every iteration, so that both
// see the same load on the (shared) machine. The ratio is WebAccess's rate over curl's own
// transfer rate; ratio_cmd compares with the whole curl command instead.
void BM_LargeBody(benchmark::State& state) {
  const corvane::Text url(server().url("/large"));
  double oursSeconds = 0;
  double curlSeconds = 0;
  double commandSeconds = 0;
  for (auto _ : state) {
    {
      const auto started = Clock::now();
      const corvane::ByteSet body = corvane::WebAccess(url);
      oursSeconds += std::chrono::duration<double>(Clock::now() - started).count();
      if (body.view().size() != kLargeBody) {
        state.SkipWithError("short body");
        return;
      }
    }
    const CurlRun curl = runCurl(url.str(), kLargeBody);
    if (curl.transferRate <= 0) {
      state.SkipWithError("curl failed");
      return;
    }
    curlSeconds += kLargeBody / curl.transferRate;
    commandSeconds += kLargeBody / curl.commandRate;
  }
  const double bytes = static_cast<double>(state.iterations()) * kLargeBody;
  state.counters["WebAccess_MBps"] = bytes / oursSeconds / 1e6;
  state.counters["curl_MBps"] = bytes / curlSeconds / 1e6;
  state.counters["curl_cmd_MBps"] = bytes / commandSeconds / 1e6;
  state.counters["ratio"] = curlSeconds / oursSeconds;
  state.counters["ratio_cmd"] = commandSeconds / oursSeconds;
}
BENCHMARK(BM_LargeBody)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

void BM_SmallRequestsInARow(benchmark::State& state) {
  const corvane::Text url(server().url("/small"));
  std::chrono::duration<double> total{0};
  std::chrono::duration<double> serverTime{0};
  for (auto _ : state) {
    server().resetServerTime();
    const auto started = Clock::now();
    for (int i = 0; i < kSmallRequests; ++i) {
      benchmark::DoNotOptimize(corvane::WebAccess(url));
    }
    total += Clock::now() - started;
    serverTime += server().serverTime();
  }
  const double requests = static_cast<double>(state.iterations()) * kSmallRequests;
  state.counters["ms_per_request"] = total.count() * 1e3 / requests;
  state.counters["server_ms_per_request"] = serverTime.count() * 1e3 / requests;
  state.counters["overhead_ms_per_request"] = (total - serverTime).count() * 1e3 / requests;
}
BENCHMARK(BM_SmallRequestsInARow)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace
