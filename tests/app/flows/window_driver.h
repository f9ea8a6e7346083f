// Drives the real MainWindow as a user would: typing, clicking, picking from the drop-down
// list, and reading back what the window shows.
#pragma once

#include <QMessageBox>
#include <QString>
#include <functional>
#include <utility>
#include <vector>

class QComboBox;
class QLineEdit;
class QPushButton;
class QTreeView;

namespace corvane::testing {

struct Controls {
  QTreeView* listView = nullptr;      // "超级列表框1"
  QLineEdit* editBox = nullptr;       // "编辑框1"
  QComboBox* courierList = nullptr;   // "组合框1"
  QPushButton* getInfo = nullptr;     // "按钮1"
};

// Loads MainWindow when it is not loaded yet and finds its controls by their names among the
// application's top-level widgets; null members when a control is missing.
[[nodiscard]] Controls openMainWindow();

// Empties the window and CourierTable, as if the program had just started.
void resetWindowAndTable(const Controls& controls);

void typeNumber(const Controls& controls, const QString& number);
void pressGetInfo(const Controls& controls);
// Opens the drop-down list, moves to the item and confirms it with Return.
void pickCourier(const Controls& controls, int index);

// The drop-down list's items: text and item data, in order.
[[nodiscard]] std::vector<std::pair<QString, int>> courierItems(const Controls& controls);
// The list view's rows, top to bottom: time and text.
[[nodiscard]] std::vector<std::pair<QString, QString>> shownRows(const Controls& controls);

struct SeenMessageBox {
  bool shown = false;
  QString caption;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Runs the action; a message box that it opens is read and closed with its OK button.
SeenMessageBox closingMessageBoxes(const std::function<void()>& action);

}  // namespace corvane::testing
