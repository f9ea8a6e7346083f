// The window toolkit's own life: starting it, running its message loop, and the error box that
// the fatal run-time error report shows.
#pragma once

#include "text/text.h"

namespace corvane {

// Starts the toolkit for this process; the program's command line is not passed on.
void startToolkit();

// Dispatches events while a window of the program exists, then shuts the toolkit down.
void runMessageLoop();

// The fatal error box: caption "错误", error icon, one OK button, no owner. Returns when the
// user has dismissed it.
void showErrorBox(const Text& message);

}  // namespace corvane
