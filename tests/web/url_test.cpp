// URL dissection: host in both modes with every option, port and path, including the odd but
// intended results (the host found inside the scheme, port 0 for an empty port text).
#include <gtest/gtest.h>

#include <optional>

#include "web/url.h"

namespace corvane {
namespace {

struct HostCase {
  const char* url;
  bool baseDomainOnly;
  bool keepPort;
  std::optional<int> levels;
  const char* expected;
};

TEST(UrlHost, TakesTheHostAsWritten) {
  const HostCase cases[] = {
      {"", false, false, std::nullopt, ""},
      {"HTTP://A.B.C/x?y=1", false, false, std::nullopt, "a.b.c"},
      {"a.b.c:81/p", false, false, std::nullopt, "a.b.c"},
      {"a.b.c:81/p", false, true, std::nullopt, "a.b.c:81"},
      {"https://a.b.c.d/", true, false, std::nullopt, "c.d"},
      {"http://a.b.c:81/", true, true, std::nullopt, "b.c:81"},
      {"http://a.b.c:81/", true, false, std::nullopt, "b.c"},
      {"http://single/", true, false, std::nullopt, "single"},
      {"HTTPS://Secure.Example:8443/x", false, true, std::nullopt, "secure.example:8443"},
      // "http://" anywhere counts as the scheme: the host is found after it
      {"x?u=http://inner/p", false, false, std::nullopt, "inner"},
      {"http://a.b?q=1", false, false, std::nullopt, "a.b?q=1"},
      {"http://127.0.0.1:8086", false, false, std::nullopt, "127.0.0.1"},
  };
  for (const HostCase& row : cases) {
    SCOPED_TRACE(row.url);
    EXPECT_EQ(urlHost(row.url, row.baseDomainOnly, row.keepPort, row.levels).str(), row.expected);
  }
}

TEST(UrlHost, KeepsTheLastLabelsWhenLevelsAreSupplied) {
  const HostCase cases[] = {
      {"http://a.b.c.d/x", false, false, 0, "c.d"},
      {"http://a.b.c.d/x", false, false, 1, "b.c.d"},
      {"http://a.b.c.d/x", true, false, 0, "d"},
      {"http://a.b.c.d/x", true, false, 1, "c.d"},
      {"http://a.b.c.d/x", false, false, 5, "a.b.c.d"},
      {"http://a.b.c.d/x", true, false, 5, "a.b.c.d"},
      {"http://a.b.c.d/x", false, false, -3, "c.d"},
      // a dot in the last character is not counted for the first step
      {"a.b.c.", false, false, 0, "b.c."},
      {"HTTPS://WWW.Example.COM:8080/p", false, false, 0, "example.com"},
      {"HTTPS://WWW.Example.COM:8080/p", false, true, 0, "example.com:8080"},
      {"http://x", false, false, 0, "x"},
      {"", false, false, 1, ""},
  };
  for (const HostCase& row : cases) {
    SCOPED_TRACE(std::string(row.url) + " levels " + std::to_string(*row.levels) +
                 (row.baseDomainOnly ? " base" : ""));
    EXPECT_EQ(urlHost(row.url, row.baseDomainOnly, row.keepPort, row.levels).str(), row.expected);
  }
}

TEST(UrlPort, ReadsThePortOrTheSchemesDefault) {
  const struct {
    const char* url;
    int expected;
  } cases[] = {
      {"", 80},
      {"http://a.b/", 80},
      {"a.b", 80},
      {"https://a.b/", 443},
      {"HTTPS://a.b/", 443},
      {"http://a.b:81/x", 81},
      {"http://a.b:/x", 0},
      {"http://a.b:xy/x", 0},
      {"https://a.b:8443", 8443},
      {"http://127.0.0.1:8086/js?", 8086},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.url);
    EXPECT_EQ(urlPort(row.url), row.expected);
  }
}

TEST(UrlPath, KeepsPathAndQueryAsTheCallerWroteThem) {
  const struct {
    const char* url;
    const char* expected;
  } cases[] = {
      {"", "/"},
      {"http://a.b", "/"},
      {"http://a.b/x/Y?z=1", "/x/Y?z=1"},
      {"http://a.b:82/q", "/q"},
      {"http://a.b/js?", "/js?"},
      // the host 't' is found inside the scheme first
      {"http://t/x", "//t/x"},
      {"HTTP://Host.Example/Path?Q=A B", "/Path?Q=A B"},
      {"http://a.b/autonumber/auto?num=12 34", "/autonumber/auto?num=12 34"},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.url);
    EXPECT_EQ(urlPath(row.url).str(), row.expected);
  }
}

}  // namespace
}  // namespace corvane
