#include "text/runtime_error.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace corvane {
namespace {

TEST(RuntimeErrorTest, MessageHasHeadingCodeAndText) {
  // 运行时出错! CR LF CR LF 错误代码：3 CR LF CR LF 错误信息：引用数组成员时维数不为1且... CR LF
  const std::string message(runtimeErrorMessage(3).view());
  EXPECT_EQ(message.rfind("\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!\r\n\r\n"
                          "\xB4\xED\xCE\xF3\xB4\xFA\xC2\xEB\xA3\xBA" "3\r\n\r\n"
                          "\xB4\xED\xCE\xF3\xD0\xC5\xCF\xA2\xA3\xBA\xD2\xFD\xD3\xC3",
                          0),
            0u);
  EXPECT_EQ(message.substr(message.size() - 2), "\r\n");
  EXPECT_NE(std::string(runtimeErrorMessage(10).view()).find("10\r\n"), std::string::npos);
}

using RuntimeErrorDeathTest = ::testing::Test;

TEST(RuntimeErrorDeathTest, DefaultNoticeWritesToStandardErrorAndExitsMinusOne) {
  EXPECT_EXIT(reportRuntimeError(10), ::testing::ExitedWithCode(255), "10");
}

TEST(RuntimeErrorDeathTest, InstalledNoticeIsShownAndEndOfRunRoutinesAreSkipped) {
  EXPECT_EXIT(
      {
        std::atexit([] { std::fputs("end-of-run routine ran", stderr); });
        setRuntimeErrorNotice([](const Text& message) {
          std::fprintf(stderr, "notice[%d bytes]", textLength(message));
        });
        reportRuntimeError(3);
      },
      ::testing::ExitedWithCode(255), "^notice\\[[0-9]+ bytes\\]$");
}

}  // namespace
}  // namespace corvane
