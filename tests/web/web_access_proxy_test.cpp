// A real proxy on loopback (tinyproxy, started by the test with a configuration it writes):
// a supplied proxy carries the request, also when no_proxy names the host; without one the
// request goes direct even when http_proxy and friends name the proxy.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <thread>

#include "web/http_client.h"
#include "web/web_access.h"
#include "web_test_support.h"

extern char** environ;

namespace corvane {
namespace {

using webtest::bodyOf;
using testserver::LoopbackServer;

bool accepts(int port) {
  const int probe = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  const bool connected = ::connect(probe, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  ::close(probe);
  return connected;
}

// tinyproxy in the foreground on a free loopback port, stopped with the object.
class Tinyproxy {
 public:
  explicit Tinyproxy(const webtest::TempDir& dir) : port_(testserver::unusedPort()) {
    const std::string config = dir.file("tinyproxy.conf");
    std::ofstream(config) << "Port " << port_ << "\nListen 127.0.0.1\nTimeout 10\nMaxClients 20\n"
                          << "Allow 127.0.0.1\nLogLevel Critical\n";
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
    std::string program = "tinyproxy";
    std::string foreground = "-d";
    std::string configFlag = "-c";
    char* argv[] = {program.data(), foreground.data(), configFlag.data(),
                    const_cast<char*>(config.c_str()), nullptr};
    if (posix_spawnp(&pid_, "tinyproxy", &quiet, nullptr, argv, environ) != 0) {
      pid_ = -1;
    }
    posix_spawn_file_actions_destroy(&quiet);
    for (int attempt = 0; pid_ > 0 && attempt < 100 && !accepts(port_); ++attempt) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
  }
  ~Tinyproxy() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  Tinyproxy(const Tinyproxy&) = delete;
  Tinyproxy& operator=(const Tinyproxy&) = delete;

  [[nodiscard]] bool running() const { return pid_ > 0 && accepts(port_); }
  [[nodiscard]] std::string address() const { return "127.0.0.1:" + std::to_string(port_); }

 private:
  int port_;
  pid_t pid_ = -1;
};

// Sets environment variables for one test and puts the old values back.
class ScopedEnvironment {
 public:
  void set(const char* name, const std::string& value) {
    const char* old = std::getenv(name);
    saved_.emplace_back(name, old != nullptr ? std::optional<std::string>(old) : std::nullopt);
    ::setenv(name, value.c_str(), 1);
  }
  ~ScopedEnvironment() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
      if (it->second) {
        ::setenv(it->first.c_str(), it->second->c_str(), 1);
      } else {
        ::unsetenv(it->first.c_str());
      }
    }
  }

 private:
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

class WebAccessProxy : public ::testing::Test {
 protected:
  void SetUp() override {
    clearHttpCookieStore();
    ASSERT_TRUE(proxy.running()) << "tinyproxy did not start";
  }

  webtest::TempDir dir;
  Tinyproxy proxy{dir};
  LoopbackServer server{webtest::answerOk()};
};

TEST_F(WebAccessProxy, ASuppliedProxyCarriesTheRequest) {
  ScopedEnvironment environment;
  environment.set("no_proxy", "127.0.0.1,localhost");
  environment.set("NO_PROXY", "127.0.0.1,localhost");
  WebAccessArgs args;
  args.proxy = Text(proxy.address());
  const ByteSet body = WebAccess(Text(server.url("/through?x=1")), args);

  EXPECT_EQ(bodyOf(body), "ok");
  ASSERT_EQ(server.requests().size(), 1u);
  const auto request = server.requests()[0];
  EXPECT_EQ(request.requestLine(), "GET /through?x=1 HTTP/1.1");
  EXPECT_NE(request.header("Via").find("tinyproxy"), std::string::npos);
  EXPECT_EQ(request.header("Accept-Language"), "zh-cn");
}

TEST_F(WebAccessProxy, WithoutAProxyTheEnvironmentsProxyIsBypassed) {
  ScopedEnvironment environment;
  const std::string viaProxy = "http://" + proxy.address();
  for (const char* name : {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"}) {
    environment.set(name, viaProxy);
  }
  const ByteSet body = WebAccess(Text(server.url("/direct")));

  EXPECT_EQ(bodyOf(body), "ok");
  ASSERT_EQ(server.requests().size(), 1u);
  EXPECT_EQ(server.requests()[0].countHeaders("Via"), 0);
}

TEST_F(WebAccessProxy, HttpsGoesThroughTheProxysTunnel) {
  const auto certificate = webtest::makeLoopbackCertificate(dir);
  setTrustedCertificatesForTesting(certificate.certificate);
  LoopbackServer secure(webtest::answerOk(), &certificate);
  WebAccessArgs args;
  args.proxy = Text(proxy.address());
  const ByteSet body = WebAccess(Text(secure.url("/tunnelled")), args);
  setTrustedCertificatesForTesting("");

  EXPECT_EQ(bodyOf(body), "ok");
  ASSERT_EQ(secure.requests().size(), 1u);
  EXPECT_EQ(secure.requests()[0].requestLine(), "GET /tunnelled HTTP/1.1");
}

}  // namespace
}  // namespace corvane
