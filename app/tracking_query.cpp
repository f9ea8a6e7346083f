#include "app/handlers.h"

namespace corvane {

void onCourierSelected() {}

}  // namespace corvane
