#include "web_test_support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "web/http_client.h"

namespace corvane::webtest {

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = text.find("\r\n", start);
    lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) {
      break;
    }
    start = end + 2;
  }
  return lines;
}

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "corvane-web-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    throw std::runtime_error("cannot make a temporary directory");
  }
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

testserver::TlsFiles makeLoopbackCertificate(const TempDir& dir) {
  testserver::TlsFiles files{dir.file("certificate.pem"), dir.file("key.pem")};
  const std::string command =
      "openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2"
      " -subj /CN=127.0.0.1 -addext subjectAltName=IP:127.0.0.1"
      " -keyout '" + files.key + "' -out '" + files.certificate + "' >/dev/null 2>&1";
  if (std::system(command.c_str()) != 0) {
    throw std::runtime_error("openssl could not make the test certificate");
  }
  return files;
}

namespace {

// Dead services must give up within a second or two, not a minute.
class ShortTimeouts : public ::testing::Environment {
 public:
  void SetUp() override {
    using std::chrono::milliseconds;
    setHttpTimeouts(HttpTimeouts{milliseconds(1500), milliseconds(1000)});
  }
};

[[maybe_unused]] const ::testing::Environment* const shortTimeouts =
    ::testing::AddGlobalTestEnvironment(new ShortTimeouts);

}  // namespace
}  // namespace corvane::webtest
