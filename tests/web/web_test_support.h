// Helpers shared by the WebAccess tests.
#pragma once

#include <string>
#include <vector>

#include "loopback_server.h"
#include "text/byte_set.h"
#include "text/text.h"

namespace corvane::webtest {

inline constexpr const char* kDefaultAgent =
    "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";

// A server that answers every request with 200 and the body "ok".
[[nodiscard]] inline testserver::Handler answerOk() {
  return [](const testserver::ReceivedRequest&) {
    return testserver::Reply{testserver::response("HTTP/1.1 200 OK", {}, "ok")};
  };
}

[[nodiscard]] inline std::string bodyOf(const ByteSet& bytes) {
  return std::string(bytes.view());
}

// The lines of a CRLF-separated text.
[[nodiscard]] std::vector<std::string> linesOf(const std::string& text);

// A temporary directory, removed with everything in it when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  [[nodiscard]] const std::string& path() const { return path_; }
  [[nodiscard]] std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// A self-signed certificate for 127.0.0.1, made with the openssl command in `dir`.
[[nodiscard]] testserver::TlsFiles makeLoopbackCertificate(const TempDir& dir);

}  // namespace corvane::webtest
