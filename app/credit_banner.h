// The credit lines: a general routine that draws one line of text onto a window, and the
// handler that draws the program's two lines when the window is first activated.
#pragma once

#include <optional>

#include "app/window_ops.h"
#include "text/text.h"

namespace corvane {

inline constexpr int kDefaultFontSize = 28;
inline constexpr int kDefaultTextColour = 0x0000FF;  // 0x00BBGGRR: pure red

// Draws `lineText` with its top-left corner at (x, y) of the window's client area, over a
// transparent background. Omitted: `window` is the active window, `lineText` a default line,
// `fontName` "宋体", `fontSize` (the whole character cell, in pixels) 28, `textColour` red.
// An empty line draws nothing.
void drawTextOnWindow(std::optional<WindowHandle> window = std::nullopt,
                      std::optional<Text> lineText = std::nullopt,
                      std::optional<Text> fontName = std::nullopt,
                      std::optional<int> fontSize = std::nullopt,
                      std::optional<int> textColour = std::nullopt, int x = 0, int y = 0);

// The author credit and the contact line, as GBK texts.
[[nodiscard]] Text creditLine();
[[nodiscard]] Text contactLine();

}  // namespace corvane
