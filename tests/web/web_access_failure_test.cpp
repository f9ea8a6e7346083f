// WebAccess when things go wrong: dead, silent and resetting services give the empty body within
// the (shortened) time-outs and still finish the routine; a URL that makes no address, or a
// proxy that names nothing, leaves every in/out parameter untouched; a body beyond 64 MiB is
// abandoned.
#include <gtest/gtest.h>

#include <chrono>

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

// Far above the shortened time-outs, far below a hang.
constexpr auto kGiveUpBound = std::chrono::seconds(10);

const char* const kCompletedHeaders =
    "Accept: */*\r\nAccept-Language: zh-cn\r\nContent-Type: application/x-www-form-urlencoded";

TEST(WebAccessDeadService, GivesTheEmptyBodyAndFinishesTheRoutine) {
  enum class Kind { Silent, Reset, Unreachable };
  const struct {
    const char* name;
    Kind kind;
  } cases[] = {
      {"never answers", Kind::Silent},
      {"resets the connection", Kind::Reset},
      {"nothing listens", Kind::Unreachable},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.name);
    LoopbackServer server([kind = row.kind](const ReceivedRequest&) {
      Reply reply;
      reply.silent = kind == Kind::Silent;
      reply.then = kind == Kind::Reset ? Reply::Then::Reset : Reply::Then::Close;
      return reply;
    });
    const std::string url =
        row.kind == Kind::Unreachable ? "http://127.0.0.1:" + std::to_string(testserver::unusedPort()) + "/x"
                                      : server.url("/x");
    WebAccessArgs args;
    args.method = 1;
    args.postText = "num=1";
    args.cookies = Text("b=2; a=1");
    args.returnedCookies = "stale";
    args.returnedHeaders = "stale";

    const auto started = std::chrono::steady_clock::now();
    const ByteSet body = WebAccess(Text(url), args);

    EXPECT_LT(std::chrono::steady_clock::now() - started, kGiveUpBound);
    EXPECT_TRUE(body.empty());
    EXPECT_EQ(args.extraHeaders.str(), std::string(kCompletedHeaders) + "\r\nCookie: b=2; a=1");
    EXPECT_EQ(std::string(args.postBytes.view()), "num=1");
    EXPECT_EQ(args.returnedHeaders.str(), std::string(5000, ' '));
    EXPECT_EQ(args.returnedCookies.str(), "");
    EXPECT_EQ(args.cookies->str(), "b=2; a=1");  // merged with nothing
  }
}

TEST(WebAccessDeadService, KeepsTheBodyReadBeforeTheServiceFailed) {
  const struct {
    const char* name;
    Reply::Then then;
  } cases[] = {{"reset midway", Reply::Then::Reset}, {"stalls midway", Reply::Then::Stall}};
  for (const auto& row : cases) {
    SCOPED_TRACE(row.name);
    LoopbackServer server([then = row.then](const ReceivedRequest&) {
      Reply reply{"HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n"};
      reply.fillerBytes = 3000;
      reply.then = then;
      return reply;
    });
    WebAccessArgs args;
    const auto started = std::chrono::steady_clock::now();
    const ByteSet body = WebAccess(Text(server.url("/partial")), args);

    EXPECT_LT(std::chrono::steady_clock::now() - started, kGiveUpBound);
    EXPECT_EQ(bodyOf(body), std::string(3000, 'x'));
    EXPECT_EQ(args.returnedHeaders.str(), "HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n");
  }
}

TEST(WebAccessNoAddress, LeavesEveryInOutParameterUntouched) {
  LoopbackServer server(webtest::answerOk());
  const std::string port = std::to_string(server.port());
  const std::string urls[] = {
      "",
      "http:///x",
      "http://a b/x",
      "http://127.0.0.1?q=1",
      "http://127.0.0.1:99999/x",
      "http://127.0.0.1:-5/x",
      "http://user@127.0.0.1:" + port + "/x",
  };
  for (const std::string& url : urls) {
    SCOPED_TRACE(url);
    WebAccessArgs args;
    args.method = 1;
    args.postText = "p";
    args.cookies = Text("a=1");
    args.extraHeaders = "Referer: r";
    args.returnedCookies = "rc";
    args.returnedHeaders = "rh";

    EXPECT_TRUE(WebAccess(Text(url), args).empty());
    EXPECT_EQ(args.extraHeaders.str(), "Referer: r");
    EXPECT_TRUE(args.postBytes.empty());
    EXPECT_EQ(args.cookies->str(), "a=1");
    EXPECT_EQ(args.returnedCookies.str(), "rc");
    EXPECT_EQ(args.returnedHeaders.str(), "rh");
  }
  EXPECT_EQ(server.connections(), 0);
}

TEST(WebAccessNoAddress, ASuppliedProxyThatNamesNothingCarriesNoRequest) {
  LoopbackServer server(webtest::answerOk());
  WebAccessArgs args;
  args.proxy = Text("");
  args.extraHeaders = "Referer: r";

  EXPECT_TRUE(WebAccess(Text(server.url("/x")), args).empty());
  EXPECT_EQ(args.extraHeaders.str(), "Referer: r");
  EXPECT_EQ(server.connections(), 0);
}

TEST(WebAccessLargeBody, IsAbandonedBeyond64MiB) {
  constexpr std::size_t kLimit = 64u * 1024 * 1024;
  const struct {
    std::size_t size;
    bool kept;
  } cases[] = {{kLimit, true}, {kLimit + 1, false}};
  for (const auto& row : cases) {
    SCOPED_TRACE(row.size);
    LoopbackServer server([size = row.size](const ReceivedRequest&) {
      Reply reply{"HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(size) + "\r\n\r\n"};
      reply.fillerBytes = size;
      return reply;
    });
    WebAccessArgs args;
    const ByteSet body = WebAccess(Text(server.url("/big")), args);

    EXPECT_EQ(body.view().size(), row.kept ? row.size : 0u);
    EXPECT_EQ(args.returnedHeaders.str().substr(0, 15), "HTTP/1.1 200 OK");
  }
}

}  // namespace
}  // namespace corvane
