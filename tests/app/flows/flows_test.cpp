// The two flows end to end: the real MainWindow, driven as a user drives it, and the real
// WebAccess, talking to a recording server on loopback whose answers each test sets.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/courier_table.h"
#include "app/handlers.h"
#include "app/service_base.h"
#include "app/window_ops.h"
#include "loopback_server.h"
#include "web/http_client.h"
#include "window_driver.h"

namespace corvane::testing {
namespace {

using testserver::LoopbackServer;
using testserver::okReply;
using testserver::ReceivedRequest;
using testserver::Reply;

using Items = std::vector<std::pair<QString, int>>;
using Rows = std::vector<std::pair<QString, QString>>;

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

// The rejection message as the box shows it: the CR LF of the program's text is a line break.
const QString kRejectionText = u("快递公司参数异常!\n可能是快递公司选错或未返回进度信息!");

struct Company {
  const char* name;
  const char* code;  // null: the entry has no code at all
};

// A courier list in the service's shape: a script with one single-quoted group per company.
std::string courierList(const std::vector<Company>& companies) {
  std::string js = "var jsoncom={'company':[";
  int cid = 0;
  for (const Company& c : companies) {
    js += (cid++ ? "," : "");
    js += "{'cid':'" + std::to_string(cid) + "','companyname':'" + c.name + "','shortname':'',";
    js += c.code ? "'tel':'400','code':'" + std::string(c.code) + "'" : std::string("'tel':'400'");
    js += ",'isavailable':'1'}";
  }
  return js + "],'error':'ok'};";
}

// A recognition answer naming these codes, in order.
std::string candidates(const std::vector<const char*>& codes) {
  std::string json = "[";
  for (const char* code : codes) {
    json += (json.size() > 1 ? "," : "");
    json += std::string(R"({"comCode":")") + code + R"(","id":"","noCount":1})";
  }
  return json + "]";
}

// What the recording server answers on each of the three paths; nullopt closes the
// connection without a word, which WebAccess sees as a failed request.
struct ServiceScript {
  std::optional<std::string> courierList;
  std::optional<std::string> recognition;
  std::optional<std::string> tracking;
  bool stall = false;
};

Reply answerFrom(const ServiceScript& script, const ReceivedRequest& request) {
  if (script.stall) return Reply{.silent = true};
  const std::string target = request.target();
  const std::optional<std::string>* body = nullptr;
  if (target.starts_with("/js/share/company.js")) body = &script.courierList;
  if (target.starts_with("/autonumber/auto")) body = &script.recognition;
  if (target.starts_with("/query")) body = &script.tracking;
  if (body == nullptr || !body->has_value()) return Reply{};
  return okReply(**body);
}

class FlowsOnTestServer : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    server_ = std::make_unique<LoopbackServer>([](const ReceivedRequest&) { return Reply{}; });
  }
  static void TearDownTestSuite() { server_.reset(); }

  void SetUp() override {
    controls_ = openMainWindow();
    ASSERT_NE(controls_.listView, nullptr);
    ASSERT_NE(controls_.editBox, nullptr);
    ASSERT_NE(controls_.courierList, nullptr);
    ASSERT_NE(controls_.getInfo, nullptr);
    resetWindowAndTable(controls_);
    ServiceBase = Text(server_->base());
    serve({});
  }

  void serve(ServiceScript script) {
    server_->setHandler([script = std::move(script)](const ReceivedRequest& r) { return answerFrom(script, r); });
    server_->clearRequests();
  }

  [[nodiscard]] std::vector<std::string> targets() const {
    std::vector<std::string> seen;
    for (const ReceivedRequest& r : server_->requests()) seen.push_back(r.method() + " " + r.target());
    return seen;
  }

  // Types the number, presses "获取信息" and picks the first courier offered.
  SeenMessageBox lookUp(const QString& number) {
    typeNumber(controls_, number);
    pressGetInfo(controls_);
    if (controls_.courierList->count() == 0) return {};
    return closingMessageBoxes([&] { pickCourier(controls_, 0); });
  }

  static std::unique_ptr<LoopbackServer> server_;
  Controls controls_;
};

std::unique_ptr<LoopbackServer> FlowsOnTestServer::server_;

const std::vector<Company> kFiveCompanies = {{"顺丰速运", "shunfeng"},
                                             {"中通快递", "zhongtong"},
                                             {"圆通速递", "yuantong"},
                                             {"韵达快递", "yunda"},
                                             {"申通快递", "shentong"}};

TEST_F(FlowsOnTestServer, WireCarriesTheThreeRequestsExactly) {
  serve({courierList(kFiveCompanies), candidates({"yunda"}), R"({"data":[]})"});
  lookUp(u("4312345678901"));

  const auto requests = server_->requests();
  ASSERT_EQ(requests.size(), 3u);
  const std::string host = "Host: 127.0.0.1:" + std::to_string(server_->port());
  const struct {
    const char* requestLine;
    bool post;
  } expected[] = {
      {"GET /js/share/company.js? HTTP/1.1", false},
      {"POST /autonumber/auto?num=4312345678901 HTTP/1.1", true},
      {"GET /query?type=yunda&postid=4312345678901 HTTP/1.1", false},
  };
  for (std::size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(expected[i].requestLine);
    const ReceivedRequest& r = requests[i];
    EXPECT_EQ(r.requestLine(), expected[i].requestLine);
    std::vector<std::string> lines = {host,
                                      "User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)",
                                      "Accept: */*",
                                      "Accept-Language: zh-cn",
                                      "Content-Type: application/x-www-form-urlencoded"};
    if (expected[i].post) lines.push_back("Content-Length: 0");  // and no body byte follows
    EXPECT_EQ(r.headerLines(), lines);
    EXPECT_EQ(r.body, "");
  }
}

TEST_F(FlowsOnTestServer, CandidatesBecomeItemsInAnswerOrderWithTheirTableRows) {
  const struct {
    const char* name;
    std::vector<Company> companies;
    std::string recognition;
    Items items;
  } cases[] = {
      {"candidate order, not table order", kFiveCompanies, candidates({"shentong", "shunfeng", "yunda"}),
       {{u("申通快递"), 5}, {u("顺丰速运"), 1}, {u("韵达快递"), 4}}},
      {"a code named twice gives two items", kFiveCompanies, candidates({"yunda", "yunda"}),
       {{u("韵达快递"), 4}, {u("韵达快递"), 4}}},
      {"of two rows with one code the first wins",
       {{"甲快递", "dup"}, {"乙快递", "dup"}}, candidates({"dup"}), {{u("甲快递"), 1}}},
      {"codes compare with case", kFiveCompanies, candidates({"YUNDA", "yunda"}), {{u("韵达快递"), 4}}},
      {"unknown codes are skipped", kFiveCompanies, candidates({"nosuch", "zhongtong"}), {{u("中通快递"), 2}}},
      {"a candidate without its code matches a row without one",
       {{"顺丰速运", "shunfeng"}, {"无代码", nullptr}}, R"([{"id":"1"}])", {{u("无代码"), 2}}},
      // The recognition answer is taken byte for byte: a UTF-8 code does not match the
      // converted (GBK) code of the courier list.
      {"the recognition answer is not converted", {{"中文代码", "中通"}}, candidates({"中通"}), {}},
      {"no bracketed list", kFiveCompanies, R"({"comCode":"yunda"})", {}},
      {"an unclosed list", kFiveCompanies, R"([{"comCode":"yunda"})", {}},
      {"an empty list", kFiveCompanies, "[]", {}},
      {"a failed request", kFiveCompanies, std::string(), {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ServiceScript script{courierList(c.companies), c.recognition, std::nullopt};
    if (c.recognition.empty()) script.recognition.reset();
    serve(script);
    typeNumber(controls_, u("12345678"));
    pressGetInfo(controls_);
    EXPECT_EQ(courierItems(controls_), c.items);
    EXPECT_EQ(controls_.courierList->currentIndex(), c.items.empty() ? -1 : 0);
    EXPECT_TRUE(controls_.courierList->isEnabled());
  }
}

TEST_F(FlowsOnTestServer, SecondPressReplacesTheItemsAndLeavesTheRowsShown) {
  serve({courierList(kFiveCompanies), candidates({"shunfeng", "zhongtong"}),
         R"({"data":[{"time":"t1","context":"c1"}]})"});
  lookUp(u("111111111"));
  ASSERT_EQ(shownRows(controls_), (Rows{{u("t1"), u("c1")}}));

  serve({courierList(kFiveCompanies), candidates({"yuantong"}), std::nullopt});
  typeNumber(controls_, u("222222222"));
  pressGetInfo(controls_);
  EXPECT_EQ(courierItems(controls_), (Items{{u("圆通速递"), 3}}));
  EXPECT_EQ(shownRows(controls_), (Rows{{u("t1"), u("c1")}}));  // the button flow leaves them
  EXPECT_EQ(targets().size(), 2u);  // and asks nothing about the tracking record
}

TEST_F(FlowsOnTestServer, TableIsRegrownByEachListAndKeptWhenAListFails) {
  // Before any list came, a failed list leaves nothing to match against.
  serve({std::nullopt, candidates({"shunfeng"}), std::nullopt});
  typeNumber(controls_, u("12345678"));
  pressGetInfo(controls_);
  EXPECT_TRUE(courierItems(controls_).empty());
  EXPECT_TRUE(controls_.courierList->isEnabled());

  // Five companies, then three: the rows of the second list only.
  serve({courierList(kFiveCompanies), candidates({"shentong"}), std::nullopt});
  pressGetInfo(controls_);
  EXPECT_EQ(courierItems(controls_), (Items{{u("申通快递"), 5}}));
  serve({courierList({{"甲", "a"}, {"乙", "b"}, {"丙", "shunfeng"}}), candidates({"shentong", "shunfeng", "a"}),
         std::nullopt});
  pressGetInfo(controls_);
  EXPECT_EQ(courierItems(controls_), (Items{{u("丙"), 3}, {u("甲"), 1}}));
  EXPECT_EQ(CourierTable.dimensions(), (std::vector<int>{3, 2}));

  // A failed or empty list keeps the three rows, and the candidates are matched against them.
  for (const std::optional<std::string>& failedList : {std::optional<std::string>(), std::optional<std::string>("")}) {
    serve({failedList, candidates({"b"}), std::nullopt});
    pressGetInfo(controls_);
    EXPECT_EQ(courierItems(controls_), (Items{{u("乙"), 2}}));
    EXPECT_EQ(CourierTable.dimensions(), (std::vector<int>{3, 2}));
  }
}

TEST_F(FlowsOnTestServer, TrackingAnswerIsShownNewestOnTopOrAsTheRejection) {
  const struct {
    const char* name;
    std::optional<std::string> answer;
    Rows rows;
    bool rejected;
  } cases[] = {
      {"entries A, B, C show C on top",
       R"({"message":"ok","data":[{"time":"2024-01-01 08:00:00","context":"【北京市】 已揽收"},)"
       R"({"time":"2024-01-02 09:00:00","context":"运输中"},{"time":"2024-01-03 10:00:00","context":"已签收"}]})",
       {{u("2024-01-03 10:00:00"), u("已签收")}, {u("2024-01-02 09:00:00"), u("运输中")},
        {u("2024-01-01 08:00:00"), u("【北京市】 已揽收")}},
       false},
      {"an entry without time or context gives empty texts",
       R"({"data":[{"context":"only text"},{"time":"only time"},{"location":"x"}]})",
       {{u(""), u("")}, {u("only time"), u("")}, {u(""), u("only text")}}, false},
      {"a blank group stops the rows", R"({"data":[{"time":"1","context":"a"},{ },{"time":"2","context":"b"}]})",
       {{u("1"), u("a")}}, false},
      {"the rejection wins over entries",
       R"({"message":"快递公司参数异常：单号不存在","data":[{"time":"1","context":"a"}]})", {}, true},
      {"an empty answer shows nothing", std::string(), {}, false},
      {"a failed request shows nothing", std::nullopt, {}, false},
      {"an answer that is not UTF-8 is still shown", std::string("{\"data\":[{\"time\":\"\xff\",\"context\":\"ok\"}]}"),
       {{u("?"), u("ok")}}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    serve({courierList(kFiveCompanies), candidates({"zhongtong"}), c.answer});
    // Rows of an earlier query must go in every case.
    setCellText(insertRow(-1, Text("old")), 1, Text("row"));
    const SeenMessageBox box = lookUp(u("773012345678"));
    EXPECT_EQ(shownRows(controls_), c.rows);
    EXPECT_EQ(box.shown, c.rejected);
    if (c.rejected) {
      EXPECT_EQ(box.caption, u("信息："));
      EXPECT_EQ(box.text, kRejectionText);
      EXPECT_EQ(box.icon, QMessageBox::Information);
    }
  }
}

TEST_F(FlowsOnTestServer, NumberGoesIntoTheAddressAsTypedAndIsReadAgainAtSelection) {
  serve({courierList({{"EMS", "ems"}}), candidates({"ems"}), R"({"data":[]})"});
  const struct {
    const char* name;
    QString typed;
    QString typedBeforePicking;
    std::string recognitionTarget;
    std::string queryTarget;
  } cases[] = {
      {"empty edit box", u(""), u(""), "/autonumber/auto?num=", "/query?type=ems&postid="},
      // Bytes a request line cannot carry are escaped; everything else stays as typed, "&" too.
      {"space, ampersand and Chinese", u("12 34&x=5中文"), u("a&b c"),
       "/autonumber/auto?num=12%2034&x=5%D6%D0%CE%C4", "/query?type=ems&postid=a&b%20c"},
      {"changed after pressing", u("EA123456789CN"), u("EA000000000CN"), "/autonumber/auto?num=EA123456789CN",
       "/query?type=ems&postid=EA000000000CN"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    server_->clearRequests();
    typeNumber(controls_, c.typed);
    pressGetInfo(controls_);
    ASSERT_EQ(controls_.courierList->count(), 1);
    typeNumber(controls_, c.typedBeforePicking);
    closingMessageBoxes([&] { pickCourier(controls_, 0); });
    EXPECT_EQ(targets(), (std::vector<std::string>{"GET /js/share/company.js?", "POST " + c.recognitionTarget,
                                                   "GET " + c.queryTarget}));
  }
}

TEST_F(FlowsOnTestServer, SelectionWithoutAnItemDoesNothing) {
  serve({courierList(kFiveCompanies), candidates({"nosuch"}), R"({"data":[{"time":"t","context":"c"}]})"});
  typeNumber(controls_, u("12345678"));
  pressGetInfo(controls_);
  ASSERT_EQ(controls_.courierList->count(), 0);
  setCellText(insertRow(-1, Text("kept")), 1, Text("row"));
  server_->clearRequests();

  // No item, so no row of the table to read: the event changes nothing and asks nothing.
  const SeenMessageBox box = closingMessageBoxes([] { onCourierSelected(); });
  EXPECT_FALSE(box.shown);
  EXPECT_TRUE(server_->requests().empty());
  EXPECT_EQ(shownRows(controls_), (Rows{{u("kept"), u("row")}}));
}

TEST_F(FlowsOnTestServer, DeadServiceLeavesTheWindowResponsiveAfterTheTimeOut) {
  const HttpTimeouts usual = httpTimeouts();
  setHttpTimeouts({std::chrono::milliseconds(500), std::chrono::milliseconds(500)});

  // A port nobody listens on refuses at once; a server that accepts and never answers is
  // given up after the time-out.
  const std::string refused = [] {
    const LoopbackServer gone([](const ReceivedRequest&) { return Reply{}; });
    return gone.base();
  }();
  const struct {
    const char* name;
    std::string base;
  } cases[] = {{"connection refused", refused}, {"no answer", server_->base()}};
  ServiceScript silent;
  silent.stall = true;
  serve(silent);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ServiceBase = Text(c.base);
    typeNumber(controls_, u("773012345678"));
    QElapsedTimer elapsed;
    elapsed.start();
    const SeenMessageBox box = closingMessageBoxes([&] { pressGetInfo(controls_); });
    EXPECT_LT(elapsed.elapsed(), 10000);
    EXPECT_FALSE(box.shown);
    EXPECT_EQ(controls_.courierList->count(), 0);
    EXPECT_TRUE(controls_.courierList->isEnabled());
    EXPECT_TRUE(shownRows(controls_).empty());

    // Responsive again: typing reaches the edit box and the button answers.
    typeNumber(controls_, u("42"));
    EXPECT_EQ(controls_.editBox->text(), u("42"));
    EXPECT_TRUE(controls_.getInfo->isEnabled());
  }
  setHttpTimeouts(usual);
}

}  // namespace
}  // namespace corvane::testing
