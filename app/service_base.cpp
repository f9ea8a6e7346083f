#include "app/service_base.h"

namespace corvane {

Text ServiceBase = "http://" CORVANE_SERVICE_HOST;

}  // namespace corvane
