// Where the tracking service lives: "http://" and its host, without a trailing slash.
#pragma once

#include "text/text.h"

namespace corvane {

// Compiled in from the build's CORVANE_SERVICE_HOST; nothing at run time changes it. Tests
// that start their own service point it there.
extern Text ServiceBase;

}  // namespace corvane
