// What WebAccess hands back: the raw header block, the cookies a response sets, the body in its
// framings, redirects followed or not, and the client's cookie store kept between calls.
#include <gtest/gtest.h>

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

class WebAccessResponse : public ::testing::Test {
 protected:
  void SetUp() override { clearHttpCookieStore(); }
};

std::string lowered(std::string text) {
  for (char& c : text) {
    c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  }
  return text;
}

// A server that answers every request with these bytes.
LoopbackServer serverAnswering(std::string bytes) {
  return LoopbackServer([bytes = std::move(bytes)](const ReceivedRequest&) { return Reply{bytes}; });
}

TEST_F(WebAccessResponse, TakesTheFirstPairOfEachSetCookieLine) {
  const struct {
    std::vector<std::string> headerLines;
    const char* cookies;
  } cases[] = {
      {{"Set-Cookie: a=1; path=/", "set-cookie: b=2"}, "a=1; b=2"},
      {{"SET-COOKIE: a=1; Expires=Wed, 21 Oct 2037 07:28:00 GMT; HttpOnly"}, "a=1"},
      {{"Content-Type: text/plain"}, ""},
      // no "Set-Cookie:" with its colon in the line, but a ";": an empty item
      {{"Set-Cookie: a=1", "Set-Cookie2: x=1; v=1", "Set-Cookie: b=2"}, "a=1; ; b=2"},
      {{"Set-Cookie:   spaced=1   "}, "spaced=1"},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.cookies);
    LoopbackServer server = serverAnswering(response("HTTP/1.1 200 OK", row.headerLines, "body"));
    WebAccessArgs args;
    args.returnedCookies = "stale";
    const ByteSet body = WebAccess(Text(server.url("/")), args);

    EXPECT_EQ(bodyOf(body), "body");
    EXPECT_EQ(args.returnedCookies.str(), row.cookies);
  }
}

TEST_F(WebAccessResponse, ReturnsTheHeaderBlockAsItCameWithSetCookieSpelledOneWay) {
  LoopbackServer server = serverAnswering(
      "HTTP/1.1 200 OK\r\nX-First: 1\r\nset-cookie: a=1\r\nSeT-CoOkIe: b=2\r\n"
      "Content-Length: 2\r\n\r\nok");
  WebAccessArgs args;
  WebAccess(Text(server.url("/")), args);

  EXPECT_EQ(args.returnedHeaders.str(),
            "HTTP/1.1 200 OK\r\nX-First: 1\r\nSet-Cookie: a=1\r\nSet-Cookie: b=2\r\n"
            "Content-Length: 2\r\n\r\n");
  EXPECT_EQ(args.returnedCookies.str(), "a=1; b=2");
}

TEST_F(WebAccessResponse, AHeaderBlockThatDoesNotFitComesBackAsBlanks) {
  const std::string blanks(5000, ' ');
  const std::string start = "HTTP/1.1 200 OK\r\nSet-Cookie: a=1\r\nContent-Length: 2\r\nX-Pad: ";
  const auto blockOfSize = [&](std::size_t size) {
    return start + std::string(size - start.size() - 4, 'p') + "\r\n\r\n";
  };
  const struct {
    std::size_t blockSize;
    bool kept;
  } cases[] = {{4999, true}, {5000, false}, {20000, false}};
  for (const auto& row : cases) {
    SCOPED_TRACE(row.blockSize);
    const std::string block = blockOfSize(row.blockSize);
    ASSERT_EQ(block.size(), row.blockSize);
    LoopbackServer server = serverAnswering(block + "ok");
    WebAccessArgs args;
    args.cookies = Text("z=9");
    const ByteSet body = WebAccess(Text(server.url("/")), args);

    EXPECT_EQ(bodyOf(body), "ok");
    EXPECT_EQ(args.returnedHeaders.str(), row.kept ? block : blanks);
    EXPECT_EQ(args.returnedCookies.str(), row.kept ? "a=1" : "");
    EXPECT_EQ(args.cookies->str(), row.kept ? "a=1; z=9" : "z=9");
  }
}

TEST_F(WebAccessResponse, ReadsChunkedAndBinaryBodiesWhole) {
  using namespace std::string_literals;
  LoopbackServer chunked = serverAnswering(
      "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
      "5\r\nhello\r\n1\r\n \r\n400\r\n" + std::string(1024, 'w') + "\r\n0\r\nX-Trailer: t\r\n\r\n");
  WebAccessArgs args;
  EXPECT_EQ(bodyOf(WebAccess(Text(chunked.url("/")), args)), "hello " + std::string(1024, 'w'));
  EXPECT_EQ(args.returnedHeaders.str(), "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n");

  const std::string binary = "\0\x01\xFF\r\n\0end"s;
  LoopbackServer raw = serverAnswering(response("HTTP/1.1 200 OK", {}, binary));
  EXPECT_EQ(bodyOf(WebAccess(Text(raw.url("/")))), binary);

  // a body that ends with the connection, without a stated length
  LoopbackServer unframed = serverAnswering("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\nuntil close");
  EXPECT_EQ(bodyOf(WebAccess(Text(unframed.url("/")))), "until close");
}

TEST_F(WebAccessResponse, FollowsARedirectWithTheNewTarget) {
  LoopbackServer server([](const ReceivedRequest& request) {
    if (request.requestLine() == "GET /start?n=1 HTTP/1.1") {
      return Reply{response("HTTP/1.1 302 Found", {"Location: /final/a b?x=\xB0\xA1"}, "moved")};
    }
    return Reply{response("HTTP/1.1 200 OK", {"X-Final: yes"}, "final")};
  });
  WebAccessArgs args;
  const ByteSet body = WebAccess(Text(server.url("/start?n=1")), args);

  EXPECT_EQ(bodyOf(body), "final");
  EXPECT_EQ(args.returnedHeaders.str(), "HTTP/1.1 200 OK\r\nX-Final: yes\r\nContent-Length: 5\r\n\r\n");
  const auto requests = server.requests();
  ASSERT_EQ(requests.size(), 2u);
  // the Location's space and GBK bytes arrive percent-encoded, on one request line
  EXPECT_EQ(lowered(requests[1].requestLine()), "get /final/a%20b?x=%b0%a1 http/1.1");
  EXPECT_EQ(requests[1].header("Accept-Language"), "zh-cn");
}

TEST_F(WebAccessResponse, FollowsARedirectToAnotherServer) {
  LoopbackServer target(webtest::answerOk());
  LoopbackServer server = serverAnswering(
      response("HTTP/1.1 301 Moved Permanently", {"Location: " + target.url("/there?q=1")}));
  const ByteSet body = WebAccess(Text(server.url("/here")));

  EXPECT_EQ(bodyOf(body), "ok");
  ASSERT_EQ(target.requests().size(), 1u);
  EXPECT_EQ(target.requests()[0].requestLine(), "GET /there?q=1 HTTP/1.1");
  EXPECT_EQ(target.requests()[0].header("Host"), "127.0.0.1:" + std::to_string(target.port()));
}

TEST_F(WebAccessResponse, ReturnsTheRedirectItselfWhenToldNotToFollow) {
  LoopbackServer server = serverAnswering(response("HTTP/1.1 302 Found", {"Location: /elsewhere"}, "moved"));
  WebAccessArgs args;
  args.noRedirect = true;
  const ByteSet body = WebAccess(Text(server.url("/start")), args);

  EXPECT_EQ(bodyOf(body), "moved");
  EXPECT_EQ(args.returnedHeaders.str(),
            "HTTP/1.1 302 Found\r\nLocation: /elsewhere\r\nContent-Length: 5\r\n\r\n");
  EXPECT_EQ(server.requests().size(), 1u);
}

TEST_F(WebAccessResponse, ARedirectedPostBecomesAGetExceptFor307And308) {
  const struct {
    const char* status;
    const char* verb;
    const char* body;
  } cases[] = {
      {"HTTP/1.1 301 Moved Permanently", "GET", ""},
      {"HTTP/1.1 302 Found", "GET", ""},
      {"HTTP/1.1 303 See Other", "GET", ""},
      {"HTTP/1.1 307 Temporary Redirect", "POST", "payload"},
      {"HTTP/1.1 308 Permanent Redirect", "POST", "payload"},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.status);
    const std::string status = row.status;
    LoopbackServer server([status](const ReceivedRequest& request) {
      if (request.requestLine().find("/form") != std::string::npos) {
        return Reply{response(status, {"Location: /done"})};
      }
      return Reply{response("HTTP/1.1 200 OK", {}, "done")};
    });
    WebAccessArgs args;
    args.method = 1;
    args.postText = "payload";
    EXPECT_EQ(bodyOf(WebAccess(Text(server.url("/form")), args)), "done");

    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].requestLine(), std::string(row.verb) + " /done HTTP/1.1");
    EXPECT_EQ(requests[1].body, row.body);
  }
}

TEST_F(WebAccessResponse, ARedirectLoopEndsAfterBoundedHops) {
  LoopbackServer server = serverAnswering(response("HTTP/1.1 302 Found", {"Location: /loop"}, "again"));
  WebAccessArgs args;
  const ByteSet body = WebAccess(Text(server.url("/loop")), args);

  EXPECT_EQ(bodyOf(body), "again");
  EXPECT_EQ(args.returnedHeaders.str().substr(0, 18), "HTTP/1.1 302 Found");
  EXPECT_EQ(server.requests().size(), 11u);  // the first request and ten redirects
}

TEST_F(WebAccessResponse, ARedirectToAnotherSchemeIsNotFollowed) {
  LoopbackServer server = serverAnswering(response("HTTP/1.1 302 Found", {"Location: ftp://127.0.0.1/x"}, "no"));
  EXPECT_EQ(bodyOf(WebAccess(Text(server.url("/")))), "no");
  EXPECT_EQ(server.requests().size(), 1u);
}

TEST_F(WebAccessResponse, TheClientKeepsCookiesBetweenCallsOnlyWhenNoneAreSupplied) {
  LoopbackServer server([](const ReceivedRequest& request) {
    const std::string line = request.requestLine();
    std::vector<std::string> headers;
    if (line.find("/set-kept") != std::string::npos) {
      headers.push_back("Set-Cookie: kept=1; Path=/");
    } else if (line.find("/set-other") != std::string::npos) {
      headers.push_back("Set-Cookie: other=2; Path=/");
    }
    return Reply{response("HTTP/1.1 200 OK", headers, "ok")};
  });
  WebAccess(Text(server.url("/set-kept")));
  WebAccess(Text(server.url("/plain")));

  WebAccessArgs supplied;
  supplied.cookies = Text("");
  WebAccess(Text(server.url("/set-other")), supplied);
  WebAccess(Text(server.url("/plain")));

  const auto requests = server.requests();
  ASSERT_EQ(requests.size(), 4u);
  EXPECT_EQ(requests[1].header("Cookie"), "kept=1");
  EXPECT_EQ(requests[2].countHeaders("Cookie"), 0);  // supplied: the store stays out
  EXPECT_EQ(requests[3].header("Cookie"), "kept=1");  // and kept nothing of that response
  EXPECT_EQ(supplied.cookies->str(), "other=2");
  EXPECT_EQ(supplied.returnedCookies.str(), "other=2");
}

TEST_F(WebAccessResponse, SuppliedCookiesAreMergedWithTheResponses) {
  LoopbackServer server = serverAnswering(response(
      "HTTP/1.1 200 OK", {"Set-Cookie: b=3; path=/", "Set-Cookie: gone=deleted", "Set-Cookie: c=4"}, "ok"));
  WebAccessArgs args;
  args.cookies = Text("a=1; b=2; gone=x");
  WebAccess(Text(server.url("/")), args);

  EXPECT_EQ(args.cookies->str(), "b=3; c=4; a=1");
  EXPECT_EQ(args.returnedCookies.str(), "b=3;gone=deleted;c=4");
  EXPECT_EQ(server.requests()[0].header("Cookie"), "a=1; b=2; gone=x");
}

TEST_F(WebAccessResponse, AHostileCookieCannotAddAHeaderLineToTheNextRequest) {
  LoopbackServer server = serverAnswering(
      "HTTP/1.1 200 OK\r\nSet-Cookie: s=1\rX-Injected: yes\r\nContent-Length: 2\r\n\r\nok");
  WebAccessArgs first;
  first.cookies = Text("");
  WebAccess(Text(server.url("/")), first);
  WebAccessArgs second;
  second.cookies = first.cookies;
  WebAccess(Text(server.url("/")), second);

  const auto requests = server.requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[1].countHeaders("X-Injected"), 0);
  EXPECT_EQ(requests[1].header("Cookie"), "s=1");
}

}  // namespace
}  // namespace corvane
