#include "app/handlers.h"

namespace corvane {

void onGetInfoClicked() {}

}  // namespace corvane
