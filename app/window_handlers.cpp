#include "app/window_handlers.h"

#include <utility>

#include "app/handlers.h"
#include "app/window_ops.h"

namespace corvane {
namespace {

WindowHandlers& chosenHandlers() {
  static WindowHandlers handlers;
  return handlers;
}

}  // namespace

WindowHandlers programHandlers() {
  return {onWindowFirstActivated, onCourierSelected, onGetInfoClicked};
}

void setWindowHandlers(WindowHandlers handlers) { chosenHandlers() = std::move(handlers); }

WindowHandlers handlersToBind() {
  WindowHandlers handlers = chosenHandlers();
  const WindowHandlers program = programHandlers();
  if (!handlers.firstActivated) handlers.firstActivated = program.firstActivated;
  if (!handlers.courierSelected) handlers.courierSelected = program.courierSelected;
  if (!handlers.getInfoClicked) handlers.getInfoClicked = program.getInfoClicked;
  return handlers;
}

}  // namespace corvane
