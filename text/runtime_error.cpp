#include "text/runtime_error.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

#include "text/byte_set.h"

namespace corvane {

namespace {

// The message parts, as GBK bytes.
constexpr char kHeading[] = "\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!";  // 运行时出错!
constexpr char kCodeLabel[] = "\xB4\xED\xCE\xF3\xB4\xFA\xC2\xEB\xA3\xBA";  // 错误代码：
constexpr char kInfoLabel[] = "\xB4\xED\xCE\xF3\xD0\xC5\xCF\xA2\xA3\xBA";  // 错误信息：

// 数组成员引用下标超出定义范围
constexpr char kSubscriptOutOfRange[] =
    "\xCA\xFD\xD7\xE9\xB3\xC9\xD4\xB1\xD2\xFD\xD3\xC3\xCF\xC2\xB1\xEA\xB3\xAC\xB3\xF6\xB6\xA8\xD2"
    "\xE5\xB7\xB6\xCE\xA7";
// 引用数组成员时维数不为1且不等于该数组目前所具有的维数
constexpr char kWrongSubscriptCount[] =
    "\xD2\xFD\xD3\xC3\xCA\xFD\xD7\xE9\xB3\xC9\xD4\xB1\xCA\xB1\xCE\xAC\xCA\xFD\xB2\xBB\xCE\xAA"
    "1"
    "\xC7\xD2\xB2\xBB\xB5\xC8\xD3\xDA\xB8\xC3\xCA\xFD\xD7\xE9\xC4\xBF\xC7\xB0\xCB\xF9\xBE\xDF\xD3"
    "\xD0\xB5\xC4\xCE\xAC\xCA\xFD";
// 重定义数组时，多维数组的每一维的尺寸必须大于零，一维数组的尺寸必须大于或等于零
constexpr char kBadRedimSizes[] =
    "\xD6\xD8\xB6\xA8\xD2\xE5\xCA\xFD\xD7\xE9\xCA\xB1\xA3\xAC\xB6\xE0\xCE\xAC\xCA\xFD\xD7\xE9\xB5"
    "\xC4\xC3\xBF\xD2\xBB\xCE\xAC\xB5\xC4\xB3\xDF\xB4\xE7\xB1\xD8\xD0\xEB\xB4\xF3\xD3\xDA\xC1\xE3"
    "\xA3\xAC\xD2\xBB\xCE\xAC\xCA\xFD\xD7\xE9\xB5\xC4\xB3\xDF\xB4\xE7\xB1\xD8\xD0\xEB\xB4\xF3\xD3"
    "\xDA\xBB\xF2\xB5\xC8\xD3\xDA\xC1\xE3";

const char* codeMessage(int code) {
  switch (code) {
    case 1:
      return kSubscriptOutOfRange;
    case 3:
      return kWrongSubscriptCount;
    case 10:
      return kBadRedimSizes;
    default:
      return "";
  }
}

void writeToStandardError(const Text& message) {
  std::fwrite(message.view().data(), 1, message.view().size(), stderr);
  std::fflush(stderr);
}

RuntimeErrorNotice& installedNotice() {
  static RuntimeErrorNotice notice;
  return notice;
}

}  // namespace

void setRuntimeErrorNotice(RuntimeErrorNotice notice) { installedNotice() = std::move(notice); }

Text runtimeErrorMessage(int code) {
  return concatText({kHeading, "\r\n\r\n", kCodeLabel, std::to_string(code), "\r\n\r\n",
                     kInfoLabel, codeMessage(code), "\r\n"});
}

void reportRuntimeError(int code) {
  const Text message = runtimeErrorMessage(code);
  if (installedNotice()) {
    installedNotice()(message);
  } else {
    writeToStandardError(message);
  }
  // Ends at once: the program's own end-of-run routines do not run on this path.
  std::fflush(nullptr);
  std::_Exit(-1);
}

}  // namespace corvane
