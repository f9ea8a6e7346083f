// Where the keyboard focus goes: the button first, then the Tab cycle edit box, list view,
// button; the drop-down list is never a stop of it.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>

#include "tests/app/window_fixture.h"

namespace corvane {
namespace {

using testing_support::LoadedWindowTest;

class FocusTest : public LoadedWindowTest {
 protected:
  QWidget* afterKey(QWidget* from, Qt::KeyboardModifiers modifiers) {
    from->setFocus();
    EXPECT_EQ(QApplication::focusWidget(), from);
    QTest::keyClick(from, modifiers & Qt::ShiftModifier ? Qt::Key_Backtab : Qt::Key_Tab, modifiers);
    return QApplication::focusWidget();
  }
};

TEST_F(FocusTest, TheButtonHoldsTheFocusWhenTheWindowIsFirstShown) {
  EXPECT_EQ(QApplication::focusWidget(), button);
  EXPECT_TRUE(button->hasFocus());
}

TEST_F(FocusTest, TabCyclesEditBoxListViewButton) {
  struct Row {
    QWidget* from;
    Qt::KeyboardModifiers modifiers;
    QWidget* to;
  };
  const Row rows[] = {
      {edit, Qt::NoModifier, list},     {list, Qt::NoModifier, button},
      {button, Qt::NoModifier, edit},   {edit, Qt::ShiftModifier, button},
      {button, Qt::ShiftModifier, list}, {list, Qt::ShiftModifier, edit},
  };
  for (const bool listEnabled : {false, true}) {
    setDisabled(!listEnabled);
    for (const Row& row : rows) {
      SCOPED_TRACE(testing::Message() << row.from->objectName().toStdString()
                                      << (row.modifiers ? " shift+tab" : " tab")
                                      << (listEnabled ? ", drop-down list enabled" : ""));
      EXPECT_EQ(afterKey(row.from, row.modifiers), row.to);
    }
  }
}

TEST_F(FocusTest, FromTheDropDownListTabGoesToTheEditBoxAndShiftTabToTheButton) {
  fillCourierList(2);
  QTest::mouseClick(combo, Qt::LeftButton);
  combo->hidePopup();
  ASSERT_EQ(QApplication::focusWidget(), combo) << "a click gives it the focus";
  EXPECT_EQ(afterKey(combo, Qt::NoModifier), edit);
  EXPECT_EQ(afterKey(combo, Qt::ShiftModifier), button);
  EXPECT_EQ(selections, 0);
}

TEST_F(FocusTest, ADisabledOrHiddenControlIsPassedOver) {
  list->setEnabled(false);
  EXPECT_EQ(afterKey(edit, Qt::NoModifier), button);
  EXPECT_EQ(afterKey(button, Qt::ShiftModifier), edit);
  list->setEnabled(true);
  button->hide();
  EXPECT_EQ(afterKey(list, Qt::NoModifier), edit);
  EXPECT_EQ(afterKey(edit, Qt::ShiftModifier), list);
}

TEST_F(FocusTest, TheSelectedRowStandsOutOnlyWhileTheListViewHasTheFocus) {
  insertRow(-1, Text("a"));
  list->setCurrentIndex(list->model()->index(0, 0));
  const auto highlightShown = [this] {
    const QPalette palette = list->palette();
    return palette.color(QPalette::Active, QPalette::Highlight) != palette.color(QPalette::Active, QPalette::Base);
  };
  button->setFocus();
  EXPECT_FALSE(highlightShown());
  list->setFocus();
  EXPECT_TRUE(highlightShown());
  edit->setFocus();
  EXPECT_FALSE(highlightShown());
}

}  // namespace
}  // namespace corvane
