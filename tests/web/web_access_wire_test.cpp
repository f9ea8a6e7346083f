// What WebAccess puts on the wire, checked byte for byte on a loopback server: the request line,
// the agent, the completed header lines in order, the Cookie line, the body rules, and the
// escaping that keeps any typed number inside one request line.
#include <gtest/gtest.h>

#include "web/http_client.h"
#include "web/web_access.h"
#include "web_test_support.h"

namespace corvane {
namespace {

using webtest::answerOk;
using webtest::bodyOf;
using webtest::kDefaultAgent;
using testserver::LoopbackServer;
using testserver::ReceivedRequest;

class WebAccessWire : public ::testing::Test {
 protected:
  void SetUp() override { clearHttpCookieStore(); }

  // The one request the server received.
  ReceivedRequest onlyRequest() const {
    const auto requests = server.requests();
    EXPECT_EQ(requests.size(), 1u);
    return requests.empty() ? ReceivedRequest{} : requests.front();
  }
  std::string hostLine() const { return "Host: 127.0.0.1:" + std::to_string(server.port()); }

  LoopbackServer server{answerOk()};
};

TEST_F(WebAccessWire, TheCourierListRequestIsExactlyTheseBytes) {
  const ByteSet body = WebAccess(Text(server.url("/js/share/company.js?")), 0);

  EXPECT_EQ(bodyOf(body), "ok");
  EXPECT_EQ(onlyRequest().raw, "GET /js/share/company.js? HTTP/1.1\r\n" + hostLine() +
                                   "\r\n"
                                   "User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)\r\n"
                                   "Accept: */*\r\n"
                                   "Accept-Language: zh-cn\r\n"
                                   "Content-Type: application/x-www-form-urlencoded\r\n"
                                   "\r\n");
}

TEST_F(WebAccessWire, TheNumberRecognitionPostStatesAnEmptyBody) {
  WebAccess(Text(server.url("/autonumber/auto?num=1234567890")), 1);

  EXPECT_EQ(onlyRequest().raw, "POST /autonumber/auto?num=1234567890 HTTP/1.1\r\n" + hostLine() +
                                   "\r\n"
                                   "User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)\r\n"
                                   "Accept: */*\r\n"
                                   "Accept-Language: zh-cn\r\n"
                                   "Content-Type: application/x-www-form-urlencoded\r\n"
                                   "Content-Length: 0\r\n"
                                   "\r\n");
}

TEST(WebAccessHeaderText, IsCompletedStoredBackAndSentInOrder) {
  const struct {
    const char* given;
    const char* completed;
  } cases[] = {
      {"", "Accept: */*\r\nAccept-Language: zh-cn\r\nContent-Type: application/x-www-form-urlencoded"},
      {"Referer: r",
       "Referer: r\r\nAccept: */*\r\nAccept-Language: zh-cn\r\n"
       "Content-Type: application/x-www-form-urlencoded"},
      // the searches regard case: a lower-case accept line still gets the default one
      {"accept: text/html",
       "accept: text/html\r\nAccept: */*\r\nAccept-Language: zh-cn\r\n"
       "Content-Type: application/x-www-form-urlencoded"},
      {"Accept: text/html",
       "Accept: text/html\r\nAccept-Language: zh-cn\r\nContent-Type: application/x-www-form-urlencoded"},
      // ...and look anywhere: X-Accept: counts as an Accept line
      {"X-Accept: 1",
       "X-Accept: 1\r\nAccept-Language: zh-cn\r\nContent-Type: application/x-www-form-urlencoded"},
      {"Content-Type: text/plain\r\nAccept-Language: en",
       "Content-Type: text/plain\r\nAccept-Language: en\r\nAccept: */*"},
  };
  clearHttpCookieStore();
  LoopbackServer server(answerOk());
  for (const auto& row : cases) {
    SCOPED_TRACE(row.given);
    WebAccessArgs args;
    args.extraHeaders = row.given;
    WebAccess(Text(server.url("/h")), args);

    EXPECT_EQ(args.extraHeaders.str(), row.completed);
    const ReceivedRequest request = server.requests().back();
    std::vector<std::string> expected = {"Host: 127.0.0.1:" + std::to_string(server.port()),
                                         std::string("User-Agent: ") + kDefaultAgent};
    for (const std::string& line : webtest::linesOf(row.completed)) {
      expected.push_back(line);
    }
    EXPECT_EQ(request.headerLines(), expected);
    EXPECT_EQ(request.body, "");
  }
}

TEST(WebAccessAgent, FollowsTheAgentRuleAndStaysOnOneLine) {
  const struct {
    const char* headers;
    const char* agent;
  } cases[] = {
      {"", kDefaultAgent},
      {"Referer: r", kDefaultAgent},
      {"User-Agent: Tester\r\nAccept: */*", "Tester"},
      {"User-Agent: Tester", "Tester"},
      // a name that only contains the marker: its value, as no line of the text is a User-Agent
      {"X-Orig-User-Agent: Foo", "Foo"},
      // the fallback takes everything after the first colon; the line ends at its first CR
      {"Referer: r\r\nX-Orig-user-agent: Foo", "r"},
  };
  clearHttpCookieStore();
  LoopbackServer server(answerOk());
  for (const auto& row : cases) {
    SCOPED_TRACE(row.headers);
    WebAccessArgs args;
    args.extraHeaders = row.headers;
    WebAccess(Text(server.url("/agent")), args);

    const ReceivedRequest request = server.requests().back();
    EXPECT_EQ(request.header("User-Agent"), row.agent);
    EXPECT_EQ(request.countHeaders("User-Agent"), 1);
    EXPECT_EQ(request.countHeaders("X-Orig-user-agent"), std::string(row.headers).find("X-Orig") != std::string::npos ? 1 : 0);
  }
}

TEST_F(WebAccessWire, SuppliedCookiesGoOutAsTheLastHeaderLine) {
  WebAccessArgs args;
  args.cookies = Text("a=1; b=2");
  args.extraHeaders = "Cookie: old=1";
  WebAccess(Text(server.url("/c")), args);

  const auto lines = onlyRequest().headerLines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "Cookie: a=1; b=2");
  EXPECT_EQ(onlyRequest().countHeaders("Cookie"), 2);  // added whatever the text held
  EXPECT_EQ(args.extraHeaders.str(),
            "Cookie: old=1\r\nAccept: */*\r\nAccept-Language: zh-cn\r\n"
            "Content-Type: application/x-www-form-urlencoded\r\nCookie: a=1; b=2");
}

TEST_F(WebAccessWire, SuppliedEmptyCookiesSendNoCookieLine) {
  WebAccessArgs args;
  args.cookies = Text("");
  WebAccess(Text(server.url("/c")), args);

  EXPECT_EQ(onlyRequest().countHeaders("Cookie"), 0);
}

TEST(WebAccessBody, IsSentExactlyWhenTheMethodIsNotZero) {
  using namespace std::string_literals;
  const struct {
    int method;
    const char* postText;
    std::string postBytes;
    const char* verb;
    std::string body;
    const char* contentLength;  // empty: no such line
    std::string postBytesAfter;
  } cases[] = {
      {0, "text", "", "GET", "", "", ""},
      {0, "text", "bytes", "GET", "", "", "bytes"},
      {1, "text", "", "POST", "text", "4", "text"},
      {1, "text", "b\0ytes"s, "POST", "b\0ytes"s, "6", "b\0ytes"s},
      {1, "", "", "POST", "", "0", ""},
      // every method but 0 and 1 is a GET that carries a body
      {2, "text", "", "GET", "text", "4", "text"},
  };
  clearHttpCookieStore();
  LoopbackServer server(answerOk());
  for (const auto& row : cases) {
    SCOPED_TRACE("method " + std::to_string(row.method) + " postBytes '" + row.postBytes + "'");
    WebAccessArgs args;
    args.method = row.method;
    args.postText = row.postText;
    args.postBytes = ByteSet(row.postBytes);
    WebAccess(Text(server.url("/b")), args);

    const ReceivedRequest request = server.requests().back();
    EXPECT_EQ(request.requestLine(), std::string(row.verb) + " /b HTTP/1.1");
    EXPECT_EQ(request.body, row.body);
    EXPECT_EQ(request.header("Content-Length"), row.contentLength);
    EXPECT_EQ(request.countHeaders("Expect"), 0);
    EXPECT_EQ(std::string(args.postBytes.view()), row.postBytesAfter);
  }
}

TEST(WebAccessRequestLine, EscapesWhatHttpDoesNotAllowAndNothingElse) {
  const struct {
    std::string path;
    std::string target;
  } cases[] = {
      {"/autonumber/auto?num=12 34", "/autonumber/auto?num=12%2034"},
      {"/auto?num=1\r\nX-Injected: 1\r\n\r\nGET / HTTP/1.1",
       "/auto?num=1%0D%0AX-Injected:%201%0D%0A%0D%0AGET%20/%20HTTP/1.1"},
      {"/auto?num=\xB0\xA1\xD6\xD0", "/auto?num=%B0%A1%D6%D0"},  // GBK bytes of two characters
      {"/a\tb\x7F" "c\x01", "/a%09b%7Fc%01"},
      {"/kept?a=%20&b=[1]{2}|\"<>#frag", "/kept?a=%20&b=[1]{2}|\"<>#frag"},
      {"/Case/Stays?Q=A", "/Case/Stays?Q=A"},
  };
  clearHttpCookieStore();
  LoopbackServer server(answerOk());
  for (const auto& row : cases) {
    SCOPED_TRACE(row.target);
    const ByteSet body = WebAccess(Text(server.url(row.path)), 1);

    EXPECT_EQ(bodyOf(body), "ok");
    const ReceivedRequest request = server.requests().back();
    EXPECT_EQ(request.requestLine(), "POST " + row.target + " HTTP/1.1");
    EXPECT_EQ(request.countHeaders("X-Injected"), 0);
    EXPECT_EQ(request.header("Content-Length"), "0");
  }
  EXPECT_EQ(server.connections(), static_cast<int>(std::size(cases)));
}

TEST_F(WebAccessWire, AStrayLineBreakInTheHeaderTextEndsItsLine) {
  WebAccessArgs args;
  args.extraHeaders = "X-A: 1\rX-Injected: 2\r\nX-B: 3\nX-Injected: 4\r\nX-Empty:";
  WebAccess(Text(server.url("/s")), args);

  const ReceivedRequest request = onlyRequest();
  EXPECT_EQ(request.countHeaders("X-Injected"), 0);
  EXPECT_EQ(request.header("X-A"), "1");
  EXPECT_EQ(request.header("X-B"), "3");
  EXPECT_EQ(request.countHeaders("X-Empty"), 1);  // sent with its empty value, not dropped
  EXPECT_EQ(args.extraHeaders.str().substr(0, 12), "X-A: 1\rX-Inj");  // stored back as completed
}

TEST(WebAccessProxyRoute, HttpsGoesThroughTheSuppliedProxyAsATunnel) {
  // A proxy that refuses every tunnel: it is enough to see where the request went.
  LoopbackServer proxy([](const ReceivedRequest&) {
    return testserver::Reply{testserver::response("HTTP/1.1 403 Forbidden")};
  });
  WebAccessArgs args;
  args.proxy = Text("127.0.0.1:" + std::to_string(proxy.port()));
  const ByteSet body = WebAccess("https://127.0.0.1:1/x", args);

  EXPECT_TRUE(body.empty());
  ASSERT_EQ(proxy.requests().size(), 1u);
  EXPECT_EQ(proxy.requests().front().requestLine(), "CONNECT 127.0.0.1:1 HTTP/1.1");
  EXPECT_EQ(proxy.requests().front().countHeaders("Cookie"), 0);
}

}  // namespace
}  // namespace corvane
