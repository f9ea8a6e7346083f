#include "text/text_array.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace corvane {
namespace {

using ::testing::ElementsAre;

std::vector<std::string> flat(const TextArray& array) {
  std::vector<std::string> out;
  for (const Text& member : array.members()) out.emplace_back(member.view());
  return out;
}

TextArray twoByTwo() {
  TextArray array;
  redimArray(array, {2, 2});
  array(1, 1) = "a";
  array(1, 2) = "b";
  array(2, 1) = "c";
  array(2, 2) = "d";
  return array;
}

TEST(TextArrayTest, FreshArrayHasOneEmptyDimension) {
  const TextArray array;
  EXPECT_EQ(memberCount(array), 0);
  EXPECT_THAT(array.dimensions(), ElementsAre(0));
}

TEST(TextArrayTest, MembersLieRowAfterRow) {
  const TextArray array = twoByTwo();
  EXPECT_THAT(flat(array), ElementsAre("a", "b", "c", "d"));
  EXPECT_EQ(array(3).view(), "c");
  EXPECT_EQ(array.at({2, 2}).view(), "d");
}

TEST(TextArrayTest, RedimKeepsFlatOrder) {
  TextArray grown = twoByTwo();
  redimArray(grown, {3, 2});
  EXPECT_THAT(flat(grown), ElementsAre("a", "b", "c", "d", "", ""));
  EXPECT_TRUE(grown(3, 1).isMissing());

  TextArray shrunk = twoByTwo();
  redimArray(shrunk, {3, 2});
  redimArray(shrunk, {1, 2});
  EXPECT_THAT(flat(shrunk), ElementsAre("a", "b"));

  TextArray fresh;
  redimArray(fresh, {1, 2});
  EXPECT_EQ(memberCount(fresh), 2);
  EXPECT_TRUE(fresh(1, 2).isMissing());

  TextArray reshaped = twoByTwo();
  redimArray(reshaped, {4});
  EXPECT_EQ(reshaped(4).view(), "d");
  redimArray(reshaped, {0});
  EXPECT_EQ(memberCount(reshaped), 0);
}

TEST(TextArrayTest, AppendFlattensToOneDimension) {
  TextArray array = twoByTwo();
  appendMember(array, "e");
  EXPECT_THAT(array.dimensions(), ElementsAre(5));
  EXPECT_THAT(flat(array), ElementsAre("a", "b", "c", "d", "e"));

  TextArray fresh;
  const Text kept = "kept";
  appendMember(fresh, kept);
  EXPECT_EQ(fresh(1), kept);
}

using TextArrayDeathTest = ::testing::Test;

TEST(TextArrayDeathTest, TwoSubscriptsOnOneDimensionStopWithCode3) {
  TextArray array;
  appendMember(array, "a");
  EXPECT_EXIT((void)array(1, 1), ::testing::ExitedWithCode(255), "3");
}

TEST(TextArrayDeathTest, BadRedimSizesStopWithCode10) {
  struct Case {
    const char* name;
    std::vector<int> sizes;
  };
  const Case cases[] = {
      {"zero in two dimensions", {2, 0}},
      {"negative single size", {-1}},
      {"member count past 32 bits", {INT_MAX, 2}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EXIT(
        {
          TextArray array;
          if (c.sizes.size() == 1) {
            redimArray(array, {c.sizes[0]});
          } else {
            redimArray(array, {c.sizes[0], c.sizes[1]});
          }
        },
        ::testing::ExitedWithCode(255), "10");
  }
}

TEST(TextArrayDeathTest, SubscriptOutsideItsDimensionStops) {
  const TextArray array = twoByTwo();
  EXPECT_EXIT((void)array(3, 1), ::testing::ExitedWithCode(255), "1");
  EXPECT_EXIT((void)array(5), ::testing::ExitedWithCode(255), "1");
  EXPECT_EXIT((void)array(0), ::testing::ExitedWithCode(255), "1");
  EXPECT_EXIT((void)TextArray()(INT_MIN), ::testing::ExitedWithCode(255), "1");
}

}  // namespace
}  // namespace corvane
