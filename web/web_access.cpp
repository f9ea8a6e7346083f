// WebAccess: one HTTP or HTTPS request from start to end, written as the routine's steps on top
// of the platform's HTTP client (http_client.h).
#include "web/web_access.h"

#include <string>
#include <string_view>
#include <vector>

#include "text/extract.h"
#include "text/operations.h"
#include "text/text_array.h"
#include "web/cookies.h"
#include "web/http_client.h"
#include "web/url.h"

namespace corvane {
namespace {

constexpr const char* kDefaultAgent = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";
constexpr int kReadChunk = 1024;
// The raw header block is taken into a buffer of this many bytes, its terminating zero included.
constexpr int kHeaderBuffer = 5000;
// A body beyond this is abandoned, so that a hostile service cannot exhaust memory.
constexpr int kMaxBody = 64 * 1024 * 1024;

// The agent: the value of a User-Agent line, or the default. A line spelled in another case, or
// one without CRLF after it, falls back to everything after the header text's first colon.
Text agentFor(const Text& extraHeaders) {
  if (findText(extraHeaders, "User-Agent:", 1, true) == -1) {
    return kDefaultAgent;
  }
  Text agent = trimSpaces(extractBetween(extraHeaders, "User-Agent:", "\r\n"));
  if (textLength(agent) == 0) {
    const int colon = findText(extraHeaders, ":");
    agent = colon == -1 ? Text()
                        : trimSpaces(textRight(extraHeaders, textLength(extraHeaders) - colon));
  }
  return agent;
}

// Everything up to the first CR or LF: nothing may split a line of the request.
std::string_view firstLine(std::string_view text) {
  return text.substr(0, text.find_first_of("\r\n"));
}

// The header text with the default lines it lacks, and the caller's cookies.
Text completedHeaders(Text headers, const std::optional<Text>& cookies) {
  if (textLength(headers) == 0) {
    headers = "Accept: */*";
  } else if (findText(headers, "Accept:") == -1) {
    headers = concatText(headers, "\r\nAccept: */*");
  }
  if (findText(headers, "Accept-Language:") == -1) {
    headers = concatText(headers, "\r\nAccept-Language: zh-cn");
  }
  if (findText(headers, "Content-Type:") == -1) {
    headers = concatText(headers, "\r\nContent-Type: application/x-www-form-urlencoded");
  }
  if (cookies && textLength(*cookies) > 0) {
    headers = concatText(headers, "\r\nCookie: ", *cookies);
  }
  return headers;
}

// The header text as lines for the wire: split at CRLF, a stray CR or LF ending its line there
// (a cookie a hostile service set cannot add a header line of its own), empty lines left out.
std::vector<std::string> wireLines(const Text& headers) {
  std::vector<std::string> lines;
  std::string_view rest = headers.view();
  while (!rest.empty()) {
    const std::size_t end = rest.find("\r\n");
    const std::string_view line = firstLine(rest.substr(0, end));
    if (!line.empty()) {
      lines.emplace_back(line);
    }
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 2);
  }
  return lines;
}

// The raw header block as a zero-terminated text in the 5000-byte buffer: the blanks stay when
// no block came or it does not fit. Set-Cookie in any case is then spelled "Set-Cookie".
Text headerBlockText(const std::optional<std::string>& block) {
  Text text = blankText(kHeaderBuffer);
  if (block && static_cast<int>(block->size()) < kHeaderBuffer) {
    text = Text(std::string_view(*block));
  }
  return replaceText(text, "Set-Cookie", "Set-Cookie", 1, -1, false);
}

// The first name=value pair of every Set-Cookie line, joined by "; ".
Text cookiesSetBy(const Text& headers) {
  Text cookies;
  const TextArray lines = splitText(headers, "\r\n");
  for (const Text& line : lines.members()) {
    if (findText(line, "Set-Cookie") == -1) {
      continue;
    }
    const Text item = findText(line, ";") != -1
                          ? trimSpaces(extractBetween(line, "Set-Cookie:", ";"))
                          : trimSpaces(replaceText(line, "Set-Cookie:", {}, 1, -1, false));
    cookies = concatText(cookies, item, "; ");
  }
  return textLeft(cookies, textLength(cookies) - 2);
}

}  // namespace

ByteSet WebAccess(const Text& url, WebAccessArgs& args) {
  const std::string_view verb = args.method == 1 ? "POST" : "GET";
  const bool secure = toLowerCase(textLeft(url, 5)) == "https";
  const Text agent = agentFor(args.extraHeaders);

  const std::optional<std::string> proxy =
      args.proxy ? std::optional<std::string>(args.proxy->str()) : std::nullopt;
  HttpSessionHandle session = httpOpenSession(firstLine(agent.view()), proxy);
  if (!session) {
    return {};
  }
  HttpConnectionHandle connection = httpConnect(*session, urlHost(url).view(), urlPort(url));
  if (!connection) {
    return {};
  }
  const HttpRequestFlags flags{secure, args.cookies.has_value(), args.noRedirect};
  HttpRequestHandle request = httpOpenRequest(*connection, verb, urlPath(url).view(), flags);
  if (!request) {
    return {};
  }

  args.extraHeaders = completedHeaders(args.extraHeaders, args.cookies);
  std::optional<std::string_view> body;
  if (args.method != 0) {
    if (args.postBytes.empty()) {
      args.postBytes = textToBytes(args.postText);
    }
    body = args.postBytes.view();
  }
  httpSendRequest(*request, wireLines(args.extraHeaders), body);

  // The body, in chunks of at most 1024 bytes appended in order; one beyond 64 MiB is abandoned.
  ByteSet received;
  if (const auto stated = httpContentLength(*request); stated && *stated <= kMaxBody) {
    received.buffer().reserve(static_cast<std::size_t>(*stated));  // one allocation for the body
  }
  bool tooLarge = false;
  httpReceiveBody(*request, kReadChunk, [&](std::string_view chunk) {
    if (received.size() > kMaxBody - static_cast<int>(chunk.size())) {
      tooLarge = true;
      return false;
    }
    received.buffer().append(chunk);
    return true;
  });
  if (tooLarge) {
    received = ByteSet();
  }

  args.returnedHeaders = headerBlockText(httpRawHeaders(*request));
  request.reset();
  connection.reset();
  session.reset();

  args.returnedCookies = cookiesSetBy(args.returnedHeaders);
  if (args.cookies) {
    mergeCookies(*args.cookies, args.returnedCookies);
  }
  return received;
}

ByteSet WebAccess(const Text& url, int method) {
  WebAccessArgs args;
  args.method = method;
  return WebAccess(url, args);
}

}  // namespace corvane
