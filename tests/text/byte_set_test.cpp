#include "text/byte_set.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace corvane {
namespace {

using namespace std::string_view_literals;

TEST(ByteSetTest, TextAndBytes) {
  EXPECT_EQ(bytesLength(textToBytes("abc")), 3);
  EXPECT_TRUE(textToBytes(Text()).empty());
  EXPECT_EQ(bytesToText(ByteSet("a\0b"sv)).view(), "a");
  EXPECT_TRUE(bytesToText(ByteSet()).isMissing());
  EXPECT_TRUE(bytesToText(ByteSet("\0a"sv)).isMissing());
  EXPECT_EQ(bytesToText(ByteSet("\xB0\xA1"sv)).view(), "\xB0\xA1");
}

TEST(ByteSetTest, EmptyByteSetHasNoData) {
  EXPECT_EQ(ByteSet().platformPointer(), nullptr);
  EXPECT_NE(ByteSet("x"sv).platformPointer(), nullptr);
}

TEST(ByteSetTest, BytesLeft) {
  const ByteSet block = blankBytes(1024);
  EXPECT_EQ(bytesLength(bytesLeft(block, 10)), 10);
  EXPECT_EQ(bytesLength(bytesLeft(block, 2000)), 1024);
  EXPECT_EQ(bytesLength(bytesLeft(block, INT_MAX)), 1024);
  EXPECT_TRUE(bytesLeft(block, 0).empty());
  EXPECT_TRUE(bytesLeft(block, INT_MIN).empty());
}

TEST(ByteSetTest, BlankBytesAreZeros) {
  EXPECT_EQ(blankBytes(3).view(), "\0\0\0"sv);
  EXPECT_TRUE(blankBytes(0).empty());
  EXPECT_TRUE(blankBytes(-5).empty());
}

TEST(ByteSetTest, ConcatAndCompare) {
  const ByteSet three("a\0c"sv);
  EXPECT_EQ(concatBytes(ByteSet(), three), three);
  EXPECT_TRUE(concatBytes(ByteSet(), ByteSet()).empty());
  EXPECT_EQ(concatBytes(three, ByteSet("d"sv), three).view(), "a\0cda\0c"sv);

  EXPECT_EQ(compareBytes(ByteSet(), ByteSet()), 0);
  EXPECT_EQ(compareBytes(three, ByteSet("a\0c"sv)), 0);
  EXPECT_NE(compareBytes(three, ByteSet("a\0"sv)), 0);
  EXPECT_NE(compareBytes(three, ByteSet("a\0d"sv)), 0);
}

}  // namespace
}  // namespace corvane
