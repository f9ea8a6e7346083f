// HTTPS on loopback with a certificate the test makes: TLS is spoken, an untrusted certificate
// fails like an unreachable host, a trusted one gives the body, and a redirect never leads from
// https down to plain http.
#include <gtest/gtest.h>

#include <memory>

#include "web/http_client.h"
#include "web/web_access.h"
#include "web_test_support.h"

namespace corvane {
namespace {

using webtest::bodyOf;
using testserver::LoopbackServer;
using testserver::ReceivedRequest;
using testserver::Reply;
using testserver::response;

class WebAccessTls : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    directory = std::make_unique<webtest::TempDir>();
    files = webtest::makeLoopbackCertificate(*directory);
  }
  static void TearDownTestSuite() { directory.reset(); }
  void SetUp() override { clearHttpCookieStore(); }
  void TearDown() override { setTrustedCertificatesForTesting(""); }

  static void trustTheTestCertificate() { setTrustedCertificatesForTesting(files.certificate); }

  static inline std::unique_ptr<webtest::TempDir> directory;
  static inline testserver::TlsFiles files;
};

TEST_F(WebAccessTls, AnUntrustedCertificateGivesTheEmptyBody) {
  LoopbackServer server(webtest::answerOk(), &files);
  WebAccessArgs args;
  const ByteSet body = WebAccess(Text(server.url("/secret")), args);

  EXPECT_TRUE(body.empty());
  EXPECT_EQ(args.returnedHeaders.str(), std::string(5000, ' '));
  EXPECT_EQ(server.connections(), 1);
  EXPECT_TRUE(server.requests().empty());  // nothing was sent over the refused connection
}

TEST_F(WebAccessTls, ATrustedCertificateGivesTheBodyOverTls) {
  trustTheTestCertificate();
  LoopbackServer server(webtest::answerOk(), &files);
  const struct {
    std::string url;
  } cases[] = {{server.url("/secret?a=1")}, {"HTTPS" + server.url("/secret?a=1").substr(5)}};
  for (const auto& row : cases) {
    SCOPED_TRACE(row.url);
    EXPECT_EQ(bodyOf(WebAccess(Text(row.url))), "ok");
    EXPECT_EQ(server.requests().back().requestLine(), "GET /secret?a=1 HTTP/1.1");
  }
}

TEST_F(WebAccessTls, ARedirectFromHttpsToHttpIsNotFollowed) {
  trustTheTestCertificate();
  LoopbackServer plain(webtest::answerOk());
  const std::string location = "Location: " + plain.url("/downgraded");
  LoopbackServer secure([location](const ReceivedRequest&) {
    return Reply{response("HTTP/1.1 302 Found", {location}, "stay")};
  }, &files);
  WebAccessArgs args;
  const ByteSet body = WebAccess(Text(secure.url("/start")), args);

  EXPECT_EQ(bodyOf(body), "stay");
  EXPECT_EQ(args.returnedHeaders.str().substr(0, 18), "HTTP/1.1 302 Found");
  EXPECT_EQ(plain.connections(), 0);
}

TEST_F(WebAccessTls, ARedirectFromHttpToHttpsIsFollowed) {
  trustTheTestCertificate();
  LoopbackServer secure(webtest::answerOk(), &files);
  LoopbackServer plain([location = "Location: " + secure.url("/upgraded")](const ReceivedRequest&) {
    return Reply{response("HTTP/1.1 301 Moved Permanently", {location})};
  });
  EXPECT_EQ(bodyOf(WebAccess(Text(plain.url("/start")))), "ok");
  ASSERT_EQ(secure.requests().size(), 1u);
  EXPECT_EQ(secure.requests()[0].requestLine(), "GET /upgraded HTTP/1.1");
}

}  // namespace
}  // namespace corvane
