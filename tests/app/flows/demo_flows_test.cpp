// Corvane against its bundled demo service, started on a free port: what a user sees.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QTreeView>
#include <memory>
#include <string>
#include <vector>

#include "app/service_base.h"
#include "demo/answers.h"
#include "demo/courier_catalog.h"
#include "demo/recognition.h"
#include "demo/tracking_story.h"
#include "demo_process.h"
#include "window_driver.h"

namespace corvane::testing {
namespace {

using Items = std::vector<std::pair<QString, int>>;
using Rows = std::vector<std::pair<QString, QString>>;

// The items the window should offer for a number: the demo's candidates, each with its row
// in the courier list, which names the catalogue's couriers in order.
Items expectedItems(const std::string& number) {
  Items items;
  const auto& catalog = demo::courierCatalog();
  for (const std::string& code : demo::candidateCodes(number)) {
    const demo::Courier* courier = demo::findCourier(code);
    items.emplace_back(QString::fromStdString(courier->name), static_cast<int>(courier - catalog.data()) + 1);
  }
  return items;
}

// The progress, newest on top.
Rows expectedRows(const std::string& code, const std::string& number) {
  Rows rows;
  for (const demo::ProgressEntry& e : demo::progressEntries(*demo::findCourier(code), number)) {
    rows.insert(rows.begin(), {QString::fromStdString(e.time), QString::fromStdString(e.context)});
  }
  return rows;
}

class FlowsOnDemoService : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { demo_ = std::make_unique<DemoProcess>(); }
  static void TearDownTestSuite() { demo_.reset(); }

  void SetUp() override {
    ASSERT_NE(demo_->port(), 0) << demo_->output().toStdString();
    controls_ = openMainWindow();
    ASSERT_NE(controls_.courierList, nullptr);
    resetWindowAndTable(controls_);
    ServiceBase = Text(demo_->base());
  }

  static std::unique_ptr<DemoProcess> demo_;
  Controls controls_;
};

std::unique_ptr<DemoProcess> FlowsOnDemoService::demo_;

TEST_F(FlowsOnDemoService, LookUpShowsTheCouriersThenTheProgressNewestFirst) {
  const struct {
    const char* number;
    int pick;
  } cases[] = {{"773012345678", 0}, {"773012345678", 1}, {"SF1412345678901", 1},
               {"EA123456789CN", 0}, {"4312345678901", 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.number);
    typeNumber(controls_, QString::fromUtf8(c.number));
    pressGetInfo(controls_);
    const Items items = expectedItems(c.number);
    ASSERT_EQ(courierItems(controls_), items);
    EXPECT_EQ(controls_.courierList->currentIndex(), 0);

    const SeenMessageBox box = closingMessageBoxes([&] { pickCourier(controls_, c.pick); });
    EXPECT_FALSE(box.shown);
    const std::string code = demo::courierCatalog()[static_cast<std::size_t>(items[static_cast<std::size_t>(c.pick)].second - 1)].code;
    const Rows rows = expectedRows(code, c.number);
    EXPECT_GE(rows.size(), 3u);
    EXPECT_EQ(shownRows(controls_), rows);
  }
}

TEST_F(FlowsOnDemoService, InventedCouriersAreFoundFarDownTheList) {
  const auto& catalog = demo::courierCatalog();
  const demo::Courier& last = catalog.back();
  typeNumber(controls_, QString::fromStdString(last.sampleNumber));
  pressGetInfo(controls_);
  EXPECT_EQ(courierItems(controls_), (Items{{QString::fromStdString(last.name), static_cast<int>(catalog.size())}}));
  closingMessageBoxes([&] { pickCourier(controls_, 0); });
  EXPECT_EQ(shownRows(controls_), expectedRows(last.code, last.sampleNumber));
}

TEST_F(FlowsOnDemoService, CourierThatDoesNotCarryTheEditedNumberIsRejected) {
  typeNumber(controls_, QStringLiteral("773012345678"));
  pressGetInfo(controls_);
  ASSERT_FALSE(courierItems(controls_).empty());
  closingMessageBoxes([&] { pickCourier(controls_, 0); });
  ASSERT_FALSE(shownRows(controls_).empty());

  typeNumber(controls_, QStringLiteral("SF1412345678901"));  // not a zhongtong number
  const SeenMessageBox box = closingMessageBoxes([&] { pickCourier(controls_, 0); });
  EXPECT_TRUE(box.shown);
  EXPECT_EQ(box.caption, QString::fromUtf8("信息："));
  EXPECT_EQ(box.text, QString::fromUtf8("快递公司参数异常!\n可能是快递公司选错或未返回进度信息!"));
  EXPECT_TRUE(shownRows(controls_).empty());
}

TEST_F(FlowsOnDemoService, BadlyAnsweringNumbersLeaveASoundWindow) {
  const struct {
    const char* number;
    bool offered;      // couriers come up
    bool rowsShown;    // picking the first shows rows
  } cases[] = {
      {"800000000000", false, false},  // empty recognition answer
      {"800000000004", false, false},  // recognition list never closed
      {"800000000002", true, false},   // empty tracking answer
      {"800000000003", true, true},    // tracking answer cut short, with bytes that are not UTF-8
      {"12 34&5中", false, false},     // a number of no known shape
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.number);
    typeNumber(controls_, QString::fromUtf8(c.number));
    pressGetInfo(controls_);
    EXPECT_EQ(!courierItems(controls_).empty(), c.offered);
    EXPECT_TRUE(controls_.courierList->isEnabled());
    if (!c.offered) continue;
    const SeenMessageBox box = closingMessageBoxes([&] { pickCourier(controls_, 0); });
    EXPECT_FALSE(box.shown);
    EXPECT_EQ(!shownRows(controls_).empty(), c.rowsShown);
  }
  // The service printed one line per request, and took the strange number whole.
  EXPECT_TRUE(demo_->output().contains(QStringLiteral("POST /autonumber/auto?num=12%2034&5%D6%D0 -> 200")));
}

}  // namespace
}  // namespace corvane::testing
