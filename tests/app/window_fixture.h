// A loaded MainWindow with counting handlers in place of the program's own, and ways to reach
// its controls by their names.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

#include "app/main_window.h"
#include "app/window_handlers.h"
#include "app/window_ops.h"

namespace corvane::testing_support {

template <typename Control>
Control* findControl(const QWidget* window, const char* utf8Name) {
  return window->findChild<Control*>(QString::fromUtf8(utf8Name), Qt::FindDirectChildrenOnly);
}

// The list view's rows as the view sees them through its model.
inline int listRowCount(const QTreeView* list) { return list->model()->rowCount(); }
inline QString cellText(const QTreeView* list, int row, int column) {
  return list->model()->index(row, column).data().toString();
}

class LoadedWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setWindowHandlers(handlers());
    ASSERT_TRUE(loadWindow(false));
    window = loadedMainWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    // The first-activated event comes queued after the activation.
    QApplication::processEvents();
    list = findControl<QTreeView>(window, "超级列表框1");
    edit = findControl<QLineEdit>(window, "编辑框1");
    combo = findControl<QComboBox>(window, "组合框1");
    button = findControl<QPushButton>(window, "按钮1");
    ASSERT_TRUE(list && edit && combo && button);
  }

  void TearDown() override {
    delete loadedMainWindow();
    setWindowHandlers({});
  }

  // Counting handlers; a test that wants other ones overrides this.
  virtual WindowHandlers handlers() {
    return {[this] { ++firstActivations; },
            [this] {
              ++selections;
              selectionSeenByHandler = currentSelection();
            },
            [this] { ++clicks; }};
  }

  // Enabled, with `count` items "item 0", "item 1", ... whose data is 100 + index.
  void fillCourierList(int count) {
    setDisabled(false);
    for (int i = 0; i < count; ++i) addItem(Text(std::string("item ") + std::to_string(i)), 100 + i);
  }

  MainWindow* window = nullptr;
  QTreeView* list = nullptr;
  QLineEdit* edit = nullptr;
  QComboBox* combo = nullptr;
  QPushButton* button = nullptr;
  int firstActivations = 0;
  int selections = 0;
  int clicks = 0;
  int selectionSeenByHandler = -2;
};

}  // namespace corvane::testing_support
