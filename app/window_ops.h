// The operations the program's routines perform on MainWindow and its controls. Each one
// works on the loaded window; when no window is loaded they do nothing and give their
// "nothing there" result. Texts cross this layer in GBK; indices count from 0.
#pragma once

#include <cstdint>

#include "text/text.h"

namespace corvane {

// The native handle of a window, as the drawing routine takes it; 0 when there is none.
using WindowHandle = std::uintptr_t;

// The message box style the program uses: information icon and one OK button.
inline constexpr int kMessageBoxInformation = 64;

// Creates and shows MainWindow (non-modal); true when the window exists.
bool loadWindow(bool modal = false);

// The loaded window's handle; 0 when it is not loaded.
[[nodiscard]] WindowHandle windowHandle();

// "组合框1": greys it and keeps input and focus from it, or lets them back.
void setDisabled(bool disabled);

// "编辑框1": its bytes as they stand; the missing text when the box is empty.
[[nodiscard]] Text readText();

// "组合框1": removes every item; nothing selected afterwards.
void clearItems();

// "组合框1": adds an item at the end with its item data; its index, or -1.
int addItem(const Text& itemText, int itemData);

// "组合框1": the item data at `index`; -1 for an index out of range.
[[nodiscard]] int itemData(int index);

// "组合框1": the selected index; -1 when nothing is selected.
[[nodiscard]] int currentSelection();

// "组合框1": selects min(index, count - 1), -1 and below clearing it; raises no event.
void setCurrentSelection(int index);

// "超级列表框1": removes every row.
void deleteAllRows();

// "超级列表框1": inserts a row with `caption` in column 0 at `position` (negative or past the
// end: at the end); the new row's index, or -1.
int insertRow(int position, const Text& caption);

// "超级列表框1": replaces the text of a cell; a cell that does not exist is left alone.
void setCellText(int row, int column, const Text& text);

// A message box without owner, modal for the whole program, caption "信息：". Returns the
// button pressed.
int messageBox(const Text& message, int style = kMessageBoxInformation);

}  // namespace corvane
