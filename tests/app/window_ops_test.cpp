// The window operations the routines use, with their results for every index out of range.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QTreeView>
#include <climits>
#include <string>
#include <vector>

#include "tests/app/window_fixture.h"

namespace corvane {
namespace {

using testing_support::cellText;
using testing_support::listRowCount;
using testing_support::LoadedWindowTest;

using WindowOpsTest = LoadedWindowTest;

std::vector<std::string> rowCaptions(const QTreeView* list) {
  std::vector<std::string> captions;
  for (int i = 0; i < listRowCount(list); ++i) captions.push_back(cellText(list, i, 0).toStdString());
  return captions;
}

TEST_F(WindowOpsTest, WindowHandleNamesTheLoadedWindowOnly) {
  EXPECT_NE(windowHandle(), 0u);
  EXPECT_EQ(QWidget::find(static_cast<WId>(windowHandle())), window);
}

TEST_F(WindowOpsTest, LoadingAgainKeepsTheOneWindow) {
  EXPECT_TRUE(loadWindow(false));
  EXPECT_EQ(loadedMainWindow(), window);
  EXPECT_EQ(firstActivations, 1);
}

TEST_F(WindowOpsTest, SetDisabledGreysTheCourierListAndLetsItBack) {
  setDisabled(false);
  EXPECT_TRUE(combo->isEnabled());
  setDisabled(true);
  EXPECT_FALSE(combo->isEnabled());
  setDisabled(true);
  EXPECT_FALSE(combo->isEnabled());
  setDisabled(false);
  EXPECT_TRUE(combo->isEnabled());
}

TEST_F(WindowOpsTest, ReadTextGivesTheEditBoxBytesAsTheyStand) {
  EXPECT_TRUE(readText().isMissing()) << "an empty box gives the missing text";

  edit->setFocus();
  QTest::keyClicks(edit, "  SF 1234  ");
  EXPECT_EQ(readText(), Text("  SF 1234  ")) << "not trimmed";

  edit->setText(QStringLiteral("单号"));  // GBK: B5 A5 BA C5
  EXPECT_EQ(readText(), Text("\xB5\xA5\xBA\xC5"));

  edit->clear();
  EXPECT_TRUE(readText().isMissing());
}

TEST_F(WindowOpsTest, AddItemAppendsInOrderWithItsDataAndSelectsNothing) {
  EXPECT_EQ(addItem(Text("\xD6\xD0\xCD\xA8"), 7), 0);  // "中通"
  EXPECT_EQ(addItem(Text("b"), -5), 1);
  EXPECT_EQ(addItem(Text(), INT_MAX), 2) << "a missing text is an empty item";
  ASSERT_EQ(combo->count(), 3);
  EXPECT_EQ(combo->itemText(0), QStringLiteral("中通"));
  EXPECT_EQ(combo->itemText(1), QStringLiteral("b"));
  EXPECT_EQ(combo->itemText(2), QString());
  EXPECT_EQ(currentSelection(), -1) << "the program selects an item itself";
  EXPECT_TRUE(combo->currentText().isEmpty());
  EXPECT_EQ(itemData(0), 7);
  EXPECT_EQ(itemData(1), -5);
  EXPECT_EQ(itemData(2), INT_MAX);
}

TEST_F(WindowOpsTest, ItemDataOutOfRangeIsMinusOne) {
  fillCourierList(3);
  const struct {
    int index;
    int expected;
  } rows[] = {{INT_MIN, -1}, {-1, -1}, {0, 100}, {2, 102}, {3, -1}, {INT_MAX, -1}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.index);
    EXPECT_EQ(itemData(row.index), row.expected);
  }
  clearItems();
  EXPECT_EQ(itemData(0), -1);
}

TEST_F(WindowOpsTest, SetCurrentSelectionBringsTheIndexIntoRange) {
  const struct {
    int items;
    int index;
    int expected;
  } rows[] = {
      {3, 0, 0},  {3, 2, 2},       {3, 5, 2},        {3, INT_MAX, 2}, {3, -1, -1},
      {3, -7, -1}, {3, INT_MIN, -1}, {0, 0, -1},     {0, 5, -1},      {0, -1, -1},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << row.items << " items, index " << row.index);
    clearItems();
    fillCourierList(row.items);
    setCurrentSelection(row.items > 0 ? 1 : 0);
    setCurrentSelection(row.index);
    EXPECT_EQ(currentSelection(), row.expected);
    EXPECT_EQ(combo->currentIndex(), row.expected);
    if (row.expected == -1) {
      EXPECT_TRUE(combo->currentText().isEmpty()) << "the field is blank";
    }
  }
  EXPECT_EQ(selections, 0) << "setting the selection raises no event";
}

TEST_F(WindowOpsTest, ClearItemsEmptiesTheListAndTheSelection) {
  fillCourierList(3);
  setCurrentSelection(1);
  clearItems();
  EXPECT_EQ(combo->count(), 0);
  EXPECT_EQ(currentSelection(), -1);
  EXPECT_TRUE(combo->currentText().isEmpty());
  clearItems();
  EXPECT_EQ(combo->count(), 0);
  EXPECT_EQ(selections, 0);
}

TEST_F(WindowOpsTest, InsertRowAtTheTopPushesTheOthersDown) {
  EXPECT_EQ(insertRow(0, Text("A")), 0);
  EXPECT_EQ(insertRow(0, Text("B")), 0);
  EXPECT_EQ(insertRow(0, Text("C")), 0);
  EXPECT_EQ(rowCaptions(list), (std::vector<std::string>{"C", "B", "A"}));
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(cellText(list, i, 1).isEmpty());
}

TEST_F(WindowOpsTest, InsertRowOutOfRangeAppends) {
  const struct {
    int position;
    int expectedIndex;
  } rows[] = {{-1, 2}, {INT_MIN, 2}, {2, 2}, {3, 2}, {INT_MAX, 2}, {1, 1}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.position);
    deleteAllRows();
    insertRow(0, Text("x"));
    insertRow(1, Text("y"));
    EXPECT_EQ(insertRow(row.position, Text("new")), row.expectedIndex);
    ASSERT_EQ(listRowCount(list), 3);
    EXPECT_EQ(cellText(list, row.expectedIndex, 0), QStringLiteral("new"));
  }
}

TEST_F(WindowOpsTest, InsertRowShowsGbkCaptions) {
  insertRow(-1, Text("\xC9\xCF\xBA\xA3"));  // "上海"
  EXPECT_EQ(cellText(list, 0, 0), QStringLiteral("上海"));
}

TEST_F(WindowOpsTest, SetCellTextReplacesAnExistingCellAndLeavesOthersAlone) {
  insertRow(0, Text("time"));
  setCellText(0, 1, Text("\xC9\xCF\xBA\xA3"));  // "上海"
  setCellText(0, 0, Text("2024-01-01"));
  EXPECT_EQ(cellText(list, 0, 0), QStringLiteral("2024-01-01"));
  EXPECT_EQ(cellText(list, 0, 1), QStringLiteral("上海"));

  const struct {
    int row;
    int column;
  } outside[] = {{-1, 0}, {1, 0}, {INT_MAX, 1}, {0, -1}, {0, 2}, {INT_MIN, INT_MIN}};
  for (const auto& cell : outside) {
    SCOPED_TRACE(testing::Message() << cell.row << ", " << cell.column);
    setCellText(cell.row, cell.column, Text("bad"));
    ASSERT_EQ(listRowCount(list), 1);
    EXPECT_EQ(cellText(list, 0, 0), QStringLiteral("2024-01-01"));
    EXPECT_EQ(cellText(list, 0, 1), QStringLiteral("上海"));
  }
  setCellText(0, 1, Text());
  EXPECT_TRUE(cellText(list, 0, 1).isEmpty());
}

TEST_F(WindowOpsTest, DeleteAllRowsEmptiesTheListView) {
  deleteAllRows();
  EXPECT_EQ(listRowCount(list), 0);
  for (const char* caption : {"a", "b", "c"}) insertRow(-1, Text(caption));
  deleteAllRows();
  EXPECT_EQ(listRowCount(list), 0);
  EXPECT_EQ(insertRow(5, Text("again")), 0);
}

TEST_F(WindowOpsTest, TheSelectedRowKeepsItsSelectionAsRowsGoInAboveIt) {
  insertRow(-1, Text("a"));
  list->setCurrentIndex(list->model()->index(0, 1));
  insertRow(0, Text("b"));
  insertRow(1, Text("c"));
  const QModelIndexList selected = list->selectionModel()->selectedRows();
  ASSERT_EQ(selected.size(), 1);
  EXPECT_EQ(selected.front().row(), 2);
  EXPECT_EQ(list->currentIndex().row(), 2);
  EXPECT_EQ(list->selectionModel()->selectedIndexes().size(), 2) << "the whole row";
  deleteAllRows();
  EXPECT_FALSE(list->selectionModel()->hasSelection());
  EXPECT_FALSE(list->currentIndex().isValid());
}

TEST_F(WindowOpsTest, RowsCannotBeEditedOrSorted) {
  insertRow(-1, Text("b"));
  insertRow(-1, Text("a"));
  list->setFocus();
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(0, 0)).center());
  QTest::keyClick(list, Qt::Key_F2);
  EXPECT_EQ(cellText(list, 0, 0), QStringLiteral("b"));
  EXPECT_EQ(list->findChild<QLineEdit*>(), nullptr) << "no editor opened";
  QTest::mouseClick(list->header()->viewport(), Qt::LeftButton, {}, QPoint(10, 5));
  EXPECT_EQ(rowCaptions(list), (std::vector<std::string>{"b", "a"})) << "a header click sorts nothing";
}

TEST_F(WindowOpsTest, OperationsAfterTheWindowClosedDoNothing) {
  window->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  ASSERT_EQ(loadedMainWindow(), nullptr) << "closing the window ends it";
  EXPECT_EQ(windowHandle(), 0u);
  setDisabled(false);
  EXPECT_TRUE(readText().isMissing());
  clearItems();
  EXPECT_EQ(addItem(Text("a"), 1), -1);
  EXPECT_EQ(itemData(0), -1);
  EXPECT_EQ(currentSelection(), -1);
  setCurrentSelection(0);
  deleteAllRows();
  EXPECT_EQ(insertRow(0, Text("a")), -1);
  setCellText(0, 0, Text("a"));
}

TEST(ModalWindowTest, LoadingModallyReturnsOnceTheWindowHasClosed) {
  int firstActivations = 0;
  setWindowHandlers({[&] {
                       ++firstActivations;
                       loadedMainWindow()->close();
                     },
                     {}, {}});
  EXPECT_TRUE(loadWindow(true));
  setWindowHandlers({});
  EXPECT_EQ(firstActivations, 1);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(loadedMainWindow(), nullptr);
}

}  // namespace
}  // namespace corvane
