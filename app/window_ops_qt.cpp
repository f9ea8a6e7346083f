// The window operations on Qt Widgets.
#include <QApplication>
#include <QComboBox>
#include <QEventLoop>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <algorithm>

#include "app/list_rows_model.h"
#include "app/main_window.h"
#include "app/qt_text.h"
#include "app/window_handlers.h"
#include "app/window_ops.h"

namespace corvane {
namespace {

// What the message box returns for its OK button.
constexpr int kOkPressed = 1;

QPointer<MainWindow>& theWindow() {
  static QPointer<MainWindow> window;
  return window;
}

QComboBox* courierList() { return theWindow() ? theWindow()->courierList() : nullptr; }
ListRowsModel* listRows() { return theWindow() ? theWindow()->listRows() : nullptr; }

QMessageBox::Icon iconForStyle(int style) {
  switch (style & 0xF0) {
    case 0x10: return QMessageBox::Critical;
    case 0x20: return QMessageBox::Question;
    case 0x30: return QMessageBox::Warning;
    case 0x40: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
  }
}

}  // namespace

MainWindow* loadedMainWindow() { return theWindow(); }

bool loadWindow(bool modal) {
  if (qApp == nullptr) return false;
  if (theWindow()) return true;  // the program has one window
  auto* window = new MainWindow(handlersToBind());
  theWindow() = window;
  if (!modal) {
    window->show();
    return true;
  }
  window->setWindowModality(Qt::ApplicationModal);
  QEventLoop untilClosed;
  QObject::connect(window, &QObject::destroyed, &untilClosed, &QEventLoop::quit);
  window->show();
  untilClosed.exec();
  return true;
}

WindowHandle windowHandle() { return theWindow() ? static_cast<WindowHandle>(theWindow()->winId()) : 0; }

void setDisabled(bool disabled) {
  QComboBox* list = courierList();
  if (list == nullptr) return;
  list->setEnabled(!disabled);
  // Shown at once, also when a long handler keeps the loop from painting.
  if (list->isVisible()) list->repaint();
}

Text readText() {
  return theWindow() ? fromQString(theWindow()->editBox()->text()) : Text();
}

void clearItems() {
  if (QComboBox* list = courierList()) list->clear();
}

int addItem(const Text& itemText, int itemData) {
  QComboBox* list = courierList();
  if (list == nullptr) return -1;
  const int index = list->count();
  const int selected = list->currentIndex();
  list->addItem(toQString(itemText), itemData);
  if (list->count() != index + 1) return -1;
  // Qt selects the first item added to an empty list on its own; the program selects itself.
  if (list->currentIndex() != selected) list->setCurrentIndex(selected);
  return index;
}

int itemData(int index) {
  QComboBox* list = courierList();
  if (list == nullptr || index < 0 || index >= list->count()) return -1;
  return list->itemData(index).toInt();
}

int currentSelection() {
  QComboBox* list = courierList();
  return list ? list->currentIndex() : -1;
}

void setCurrentSelection(int index) {
  QComboBox* list = courierList();
  if (list == nullptr) return;
  list->setCurrentIndex(std::max(std::min(index, list->count() - 1), -1));
}

void deleteAllRows() {
  if (ListRowsModel* rows = listRows()) rows->removeAllRows();
}

int insertRow(int position, const Text& caption) {
  ListRowsModel* rows = listRows();
  return rows ? rows->insertCaptionRow(position, toQString(caption)) : -1;
}

void setCellText(int row, int column, const Text& text) {
  if (ListRowsModel* rows = listRows()) rows->setCellText(row, column, toQString(text));
}

int messageBox(const Text& message, int style) {
  if (qApp == nullptr) return 0;
  // No owner: the box stands on its own and blocks every window of the program.
  QMessageBox box(iconForStyle(style), QStringLiteral("信息："), toBoxText(message), QMessageBox::Ok);
  box.setTextFormat(Qt::PlainText);
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
  return kOkPressed;
}

}  // namespace corvane
