// The demo service's answers: the catalogue, the recognition rules and the progress stories
// hold together, so that every sample number leads to a real lookup.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "demo/answers.h"
#include "demo/courier_catalog.h"
#include "demo/recognition.h"
#include "demo/tracking_story.h"

namespace corvane::demo {
namespace {

TEST(DemoCatalog, HoldsTheWellKnownCouriersAndEnoughInventedOnesWithUniqueCodes) {
  const auto& catalog = courierCatalog();
  EXPECT_GE(catalog.size(), 1000u);
  std::set<std::string> codes;
  std::set<std::string> names;
  for (const Courier& c : catalog) {
    SCOPED_TRACE(c.code);
    EXPECT_TRUE(codes.insert(c.code).second);
    EXPECT_TRUE(names.insert(c.name).second);
    // The list is read by markers: no quote, brace or bracket may hide in a value.
    for (const std::string* value : {&c.name, &c.shortName, &c.code, &c.telephone, &c.sampleNumber}) {
      EXPECT_EQ(value->find_first_of("'\"{}[]"), std::string::npos) << *value;
      EXPECT_FALSE(value->empty());
    }
  }
  const struct {
    const char* name;
    const char* code;
  } known[] = {{"顺丰速运", "shunfeng"}, {"中通快递", "zhongtong"}, {"圆通速递", "yuantong"},
               {"韵达快递", "yunda"},    {"申通快递", "shentong"},  {"EMS", "ems"},
               {"京东物流", "jd"},       {"邮政快递包裹", "youzhengguonei"},
               {"极兔速递", "jtexpress"}, {"德邦快递", "debangkuaidi"}};
  for (const auto& k : known) {
    SCOPED_TRACE(k.code);
    const Courier* c = findCourier(k.code);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->name, k.name);
  }
}

TEST(DemoRecognition, EverySampleNumberNamesItsCourierAndAtMostThreeKnownOnes) {
  for (const Courier& c : courierCatalog()) {
    SCOPED_TRACE(c.sampleNumber);
    const auto codes = candidateCodes(c.sampleNumber);
    EXPECT_LE(codes.size(), 3u);
    EXPECT_TRUE(carries(c.code, c.sampleNumber));
    for (const auto& code : codes) EXPECT_NE(findCourier(code), nullptr) << code;
  }
}

TEST(DemoRecognition, NumbersOfNoKnownShapeGiveNoCandidate) {
  const char* strange[] = {"", "1234", "12 34 5678 90", "773012345678&x=1", "ABCDEFGHIJ",
                           "DM99991234567890", "\xd6\xd0\xce\xc4\xb5\xa5\xba\xc5\xa3\xb1\xa3\xb2"};
  for (const char* number : strange) {
    SCOPED_TRACE(number);
    EXPECT_TRUE(candidateCodes(number).empty());
    EXPECT_EQ(recognitionAnswer(number), "[]");
  }
}

TEST(DemoTracking, StoriesAreRepeatableOrderedAndOfThreeToFifteenEntries) {
  int shortest = 99;
  int longest = 0;
  for (const Courier& c : courierCatalog()) {
    const auto entries = progressEntries(c, c.sampleNumber);
    SCOPED_TRACE(c.sampleNumber);
    shortest = std::min(shortest, static_cast<int>(entries.size()));
    longest = std::max(longest, static_cast<int>(entries.size()));
    for (std::size_t i = 1; i < entries.size(); ++i) EXPECT_LT(entries[i - 1].time, entries[i].time);
    EXPECT_EQ(trackingAnswer(c.code, c.sampleNumber), trackingAnswer(c.code, c.sampleNumber));
  }
  EXPECT_EQ(shortest, 3);
  EXPECT_EQ(longest, 15);
}

TEST(DemoTracking, AnswerOpensTheOuterObjectAndRejectsACourierThatDoesNotCarryTheNumber) {
  const std::string good = trackingAnswer("zhongtong", "773012345678");
  EXPECT_EQ(good.front(), '{');
  EXPECT_EQ(good.find(kRejectionMarker), std::string::npos);
  EXPECT_NE(good.find(R"({"time":")"), std::string::npos);

  for (const auto& [code, number] : {std::pair{"yunda", "773012345678"}, {"nosuchcode", "773012345678"},
                                     {"zhongtong", "x{y}z\"q"}}) {
    SCOPED_TRACE(code);
    const std::string rejected = trackingAnswer(code, number);
    EXPECT_NE(rejected.find(kRejectionMarker), std::string::npos);
    // An echoed number brings no brace of its own: the answer has exactly its outer pair.
    EXPECT_EQ(std::count(rejected.begin(), rejected.end(), '{'), 1);
  }
}

TEST(DemoService, QueryValuesAreTakenFromTheRawTarget) {
  EXPECT_EQ(queryValue("/autonumber/auto?num=12&34", "num", ""), "12&34");
  EXPECT_EQ(queryValue("/autonumber/auto?num=12%2034", "num", ""), "12 34");
  EXPECT_EQ(queryValue("/autonumber/auto?num=", "num", ""), "");
  EXPECT_EQ(queryValue("/query?type=ems&postid=9&8", "type", "postid"), "ems");
  EXPECT_EQ(queryValue("/query?type=ems&postid=9&8", "postid", ""), "9&8");
  EXPECT_EQ(queryValue("/query?type=ems&postid=%zz%4", "postid", ""), "%zz%4");
}

}  // namespace
}  // namespace corvane::demo
