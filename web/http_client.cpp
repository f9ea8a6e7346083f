// The parts of the HTTP client that every backend shares: the time-outs and the request target.
#include "web/http_client.h"

#include <mutex>

namespace corvane {
namespace {

std::mutex timeoutsMutex;
HttpTimeouts currentTimeouts;

bool allowedInTarget(unsigned char byte) {
  return byte > 0x20 && byte < 0x7F;
}

}  // namespace

HttpTimeouts httpTimeouts() {
  const std::lock_guard lock(timeoutsMutex);
  return currentTimeouts;
}

void setHttpTimeouts(const HttpTimeouts& timeouts) {
  const std::lock_guard lock(timeoutsMutex);
  currentTimeouts = timeouts;
}

std::string escapeRequestTarget(std::string_view object) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string target;
  target.reserve(object.size());
  for (const char c : object) {
    const auto byte = static_cast<unsigned char>(c);
    if (allowedInTarget(byte)) {
      target += c;
    } else {
      target += '%';
      target += kHex[byte >> 4];
      target += kHex[byte & 0x0F];
    }
  }
  return target;
}

}  // namespace corvane
