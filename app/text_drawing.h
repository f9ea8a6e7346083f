// Painting a line of text onto a window's client area: the toolkit's part of the credit lines.
#pragma once

#include "app/window_ops.h"
#include "text/text.h"

namespace corvane {

// The program's active window; 0 when none of its windows is active.
[[nodiscard]] WindowHandle foregroundWindow();

// Paints `line` with its top-left corner at (x, y) of the window's client area, over a
// transparent background, in `fontName` with a character cell `cellHeight` pixels high and
// the colour `colour` (0x00BBGGRR). A window that cannot be drawn on is left alone.
void drawTextLine(WindowHandle window, const Text& line, const Text& fontName, int cellHeight,
                  int colour, int x, int y);

}  // namespace corvane
