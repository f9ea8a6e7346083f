// Which routine each event of MainWindow runs. The program runs the real handlers; a test can
// put its own in place before the window is loaded.
#pragma once

#include <functional>

namespace corvane {

struct WindowHandlers {
  std::function<void()> firstActivated;   // MainWindow becomes active for the first time
  std::function<void()> courierSelected;  // "组合框1": an item was picked
  std::function<void()> getInfoClicked;   // "按钮1": pressed
};

// onWindowFirstActivated, onCourierSelected and onGetInfoClicked.
[[nodiscard]] WindowHandlers programHandlers();

// The handlers that the next loadWindow binds; an empty member means the program's own.
void setWindowHandlers(WindowHandlers handlers);

// What loadWindow binds: the handlers set, the program's own where none was set.
[[nodiscard]] WindowHandlers handlersToBind();

}  // namespace corvane
