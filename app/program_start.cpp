#include "app/program_start.h"

#include <cstdlib>

#include "app/courier_table.h"
#include "app/toolkit.h"
#include "app/window_ops.h"
#include "text/runtime_error.h"

namespace corvane {

int programStart() {
  startToolkit();
  // A broken array contract from here on shows the toolkit's error box before the process ends.
  setRuntimeErrorNotice(showErrorBox);

  CourierTable = TextArray();
  // Registered once: exit runs it at a normal end, the fatal report's immediate exit never does.
  static const bool releaseRegistered = std::atexit(releaseCourierTable) == 0;
  (void)releaseRegistered;

  loadWindow(false);
  runMessageLoop();
  // The box went with the toolkit; a late report falls back to the plain notice.
  setRuntimeErrorNotice({});
  return 0;
}

}  // namespace corvane
