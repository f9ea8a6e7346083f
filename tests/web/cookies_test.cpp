// Cookie merging: the merged text, both in/out parameters, names and items compared with regard
// to case, deletion marks and repeated items.
#include <gtest/gtest.h>

#include "web/cookies.h"

namespace corvane {
namespace {

TEST(MergeCookies, BringsTheOldTextUpToDate) {
  const struct {
    const char* old;
    const char* fresh;
    const char* merged;
    const char* freshAfter;
  } cases[] = {
      {"", "", "", ""},
      {"a=1; b=2", "b=3; c=4", "b=3; c=4; a=1", "b=3;c=4"},
      {"a=1; b=2", "a=deleted", "b=2", "a=deleted"},
      {"", "x=1; x=1", "x=1", "x=1;x=1"},
      {"", "x=1; x=2", "x=1; x=2", "x=1;x=2"},
      {"a=1; a=2", "", "a=1", ""},
      {"A=1", "a=2", "a=2; A=1", "a=2"},
      {"a=1", "a=Deleted", "a=Deleted", "a=Deleted"},
      {"k=a b", "", "k=ab", ""},
      {"a=1;;b=2", "", "a=1; ; b=2", ""},
      {"flag; a=1", "flag", "flag; a=1", "flag"},
      {"a=1", "b=deleted", "a=1", "b=deleted"},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(std::string("old '") + row.old + "' new '" + row.fresh + "'");
    Text cookies = row.old;
    Text fresh = row.fresh;
    const Text result = mergeCookies(cookies, fresh);
    EXPECT_EQ(cookies.str(), row.merged);
    EXPECT_EQ(result.str(), row.merged);
    EXPECT_EQ(fresh.str(), row.freshAfter);
  }
}

TEST(MergeCookies, RemovesFullWidthBlanksToo) {
  Text cookies = "k=a\xA1\xA1" "b";  // a full-width space inside the value
  Text fresh;
  EXPECT_EQ(mergeCookies(cookies, fresh).str(), "k=ab");
}

TEST(CookieName, IsTheTrimmedTextBeforeTheFirstEquals) {
  const struct {
    const char* item;
    const char* name;
  } cases[] = {
      {"", ""}, {"a=1", "a"}, {" a =1=2", "a"}, {"flag", "flag"}, {"=v", ""}, {"Ab=x", "Ab"},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.item);
    EXPECT_EQ(cookieName(row.item).str(), row.name);
  }
}

TEST(UniqueJoin, KeepsEachItemAtItsFirstOccurrence) {
  const struct {
    const char* text;
    const char* separator;
    const char* joined;
  } cases[] = {
      {"", "; ", ""},
      {"a; b; a", "; ", "a; b"},
      {"a; A", "; ", "a; A"},
      {"a; ; b; ", "; ", "a; ; b"},
      {"x,y,x,z,y", ",", "x,y,z"},
      {"only", ";", "only"},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(uniqueJoin(row.text, row.separator).str(), row.joined);
  }
}

}  // namespace
}  // namespace corvane
