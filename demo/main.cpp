// corvane-demo-service: a small tracking service on loopback for trying Corvane out.
#include <httplib.h>

#include <pthread.h>
#include <signal.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "demo/answers.h"

namespace {

constexpr const char* kHost = "127.0.0.1";

void printUsage() {
  std::printf(
      "Usage: corvane-demo-service [--port N]\n"
      "A small tracking service for Corvane, on %s only.\n"
      "  --port N   port to listen on (default %d); 0 picks a free port\n"
      "Endpoints:\n"
      "  GET  /js/share/company.js?           the courier list\n"
      "  POST /autonumber/auto?num=NUMBER     the couriers that may carry NUMBER\n"
      "  GET  /query?type=CODE&postid=NUMBER  the parcel's progress\n"
      "Numbers that answer badly on purpose:\n"
      "  800000000000  empty recognition answer\n"
      "  800000000001  every answer comes after %d seconds\n"
      "  800000000002  empty tracking answer\n"
      "  800000000003  tracking answer cut short, with bytes that are not UTF-8\n"
      "  800000000004  recognition answer whose list is never closed\n",
      kHost, CORVANE_DEMO_PORT, corvane::demo::kSlowSeconds);
}

// One line per request: time, method, target, status, body size.
void logRequest(const httplib::Request& req, const httplib::Response& res) {
  static std::mutex mutex;
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%H:%M:%S", &local);
  const std::lock_guard lock(mutex);
  std::printf("%s %s %s -> %d, %zu bytes\n", stamp, req.method.c_str(), req.target.c_str(),
              res.status, res.body.size());
  std::fflush(stdout);
}

void waitIfSlow(std::string_view number) {
  if (corvane::demo::quirkOf(number) == corvane::demo::Quirk::slow) {
    std::this_thread::sleep_for(std::chrono::seconds(corvane::demo::kSlowSeconds));
  }
}

void addRoutes(httplib::Server& server) {
  using corvane::demo::queryValue;
  server.Get("/js/share/company.js", [](const httplib::Request&, httplib::Response& res) {
    res.set_content(corvane::demo::companyListScript(), "application/javascript; charset=utf-8");
  });
  server.Post("/autonumber/auto", [](const httplib::Request& req, httplib::Response& res) {
    const std::string number = queryValue(req.target, "num", "");
    waitIfSlow(number);
    res.set_content(corvane::demo::recognitionAnswerWithQuirk(number),
                    "application/json; charset=utf-8");
  });
  server.Get("/query", [](const httplib::Request& req, httplib::Response& res) {
    const std::string code = queryValue(req.target, "type", "postid");
    const std::string number = queryValue(req.target, "postid", "");
    waitIfSlow(number);
    res.set_content(corvane::demo::trackingAnswerWithQuirk(code, number),
                    "application/json; charset=utf-8");
  });
}

}  // namespace

int main(int argc, char** argv) {
  int port = CORVANE_DEMO_PORT;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      printUsage();
      return 0;
    }
    if (arg == "--port" && i + 1 < argc) {
      char* end = nullptr;
      const long value = std::strtol(argv[++i], &end, 10);
      if (*end != '\0' || value < 0 || value > 65535) {
        std::fprintf(stderr, "corvane-demo-service: bad port '%s'\n", argv[i]);
        return 2;
      }
      port = static_cast<int>(value);
      continue;
    }
    std::fprintf(stderr, "corvane-demo-service: unknown argument '%s' (try --help)\n", argv[i]);
    return 2;
  }

  // SIGINT and SIGTERM are taken by the main thread with sigwait; every server thread
  // inherits the blocked mask, so none of them is interrupted.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  httplib::Server server;
  addRoutes(server);
  server.set_logger(logRequest);

  if (port == 0) {
    port = server.bind_to_any_port(kHost);
  } else if (!server.bind_to_port(kHost, port)) {
    port = -1;
  }
  if (port <= 0) {
    std::fprintf(stderr, "corvane-demo-service: cannot listen on %s:%d\n", kHost, port);
    return 1;
  }
  std::printf("corvane-demo-service listening on http://%s:%d\n", kHost, port);
  std::fflush(stdout);

  std::thread listener([&server] { server.listen_after_bind(); });
  int signal = 0;
  sigwait(&stopSignals, &signal);
  server.stop();
  listener.join();
  std::printf("corvane-demo-service stopped\n");
  return 0;
}
