// The fatal run-time error report, the one way the program stops on a broken contract.
#pragma once

#include <functional>

#include "text/text.h"

namespace corvane {

// Shows the error message to the user and waits until it is dismissed. The application installs
// a message box; the default writes the message to standard error.
using RuntimeErrorNotice = std::function<void(const Text& message)>;

// Installs the notice; an empty function restores the default.
void setRuntimeErrorNotice(RuntimeErrorNotice notice);

// The message text for `code`: "运行时出错!", the code, and the code's message, in GBK.
[[nodiscard]] Text runtimeErrorMessage(int code);

// Shows the message through the notice and ends the process with exit code -1 at once, without
// running the program's end-of-run routines.
[[noreturn]] void reportRuntimeError(int code);

}  // namespace corvane
