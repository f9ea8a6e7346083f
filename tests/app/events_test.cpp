// Which user actions reach the handlers: first activation, picks in the drop-down list, and
// presses of the button; and the keys that must do nothing.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>

#include "tests/app/window_fixture.h"

namespace corvane {
namespace {

using testing_support::LoadedWindowTest;

class EventsTest : public LoadedWindowTest {
 protected:
  void pressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = QApplication::focusWidget();
    ASSERT_NE(target, nullptr);
    QTest::keyClick(target, key, modifiers);
  }

  // Opens the drop-down list with the mouse, as the user does.
  QAbstractItemView* openCourierList() {
    QTest::mouseClick(combo, Qt::LeftButton);
    QAbstractItemView* view = combo->view();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(view->window()));
    return view;
  }

  void pickWithMouse(int index) {
    QAbstractItemView* view = openCourierList();
    const QRect item = view->visualRect(view->model()->index(index, 0));
    ASSERT_TRUE(item.isValid());
    // The list ignores a release that comes within a double-click time of its opening.
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    QTest::mouseMove(view->viewport(), item.center());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
    QApplication::processEvents();
    EXPECT_FALSE(view->window()->isVisible()) << "the list closes after a pick";
  }
};

TEST_F(EventsTest, FirstActivationRaisesItsEventOnceInTheWindowsLife) {
  EXPECT_EQ(firstActivations, 1);
  QWidget other;
  other.setWindowTitle(QStringLiteral("other"));
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window));
  QApplication::processEvents();
  EXPECT_EQ(firstActivations, 1);
}

TEST_F(EventsTest, EveryMousePickRaisesTheEventAlsoOfTheSelectedItem) {
  fillCourierList(3);
  setCurrentSelection(0);
  ASSERT_EQ(selections, 0);

  pickWithMouse(2);
  EXPECT_EQ(selections, 1);
  EXPECT_EQ(selectionSeenByHandler, 2) << "the pick is done before the handler runs";

  pickWithMouse(2);
  EXPECT_EQ(selections, 2) << "picking the selected item again raises it again";
  EXPECT_EQ(selectionSeenByHandler, 2);

  pickWithMouse(0);
  EXPECT_EQ(selections, 3);
  EXPECT_EQ(selectionSeenByHandler, 0);
}

TEST_F(EventsTest, AKeyboardPickRaisesTheEvent) {
  fillCourierList(3);
  setCurrentSelection(0);
  QAbstractItemView* view = openCourierList();
  QTest::keyClick(view, Qt::Key_Down);
  QTest::keyClick(view, Qt::Key_Return);
  QApplication::processEvents();
  EXPECT_EQ(selections, 1);
  EXPECT_EQ(selectionSeenByHandler, 1);

  view = openCourierList();
  QTest::keyClick(view, Qt::Key_Enter);
  EXPECT_EQ(selections, 2) << "confirming the selected item raises it again";
  EXPECT_EQ(selectionSeenByHandler, 1);
}

TEST_F(EventsTest, ClosingTheListWithoutAPickRaisesNothing) {
  fillCourierList(3);
  setCurrentSelection(1);
  QAbstractItemView* view = openCourierList();
  QTest::keyClick(view, Qt::Key_Down);
  QTest::keyClick(view, Qt::Key_Escape);
  QApplication::processEvents();
  EXPECT_EQ(selections, 0);
  EXPECT_EQ(currentSelection(), 1);
  EXPECT_TRUE(window->isVisible()) << "Esc closed the list only";
}

TEST_F(EventsTest, ProgramChangesToTheListRaiseNothing) {
  fillCourierList(3);
  setCurrentSelection(2);
  setCurrentSelection(0);
  setCurrentSelection(9);
  clearItems();
  fillCourierList(2);
  QApplication::processEvents();
  EXPECT_EQ(selections, 0);
}

TEST_F(EventsTest, ADisabledListCannotBeOpenedOrFocused) {
  fillCourierList(3);
  setDisabled(true);
  QTest::mouseClick(combo, Qt::LeftButton);
  QApplication::processEvents();
  EXPECT_FALSE(combo->view()->window()->isVisible());
  EXPECT_FALSE(combo->hasFocus());
  EXPECT_EQ(selections, 0);
}

TEST_F(EventsTest, TheButtonIsPressedByTheMouse) {
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_EQ(clicks, 1);
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_EQ(clicks, 2);
}

TEST_F(EventsTest, SpacePressesTheButtonThatHoldsTheFocusRightAfterShowing) {
  ASSERT_EQ(QApplication::focusWidget(), button);
  pressKey(Qt::Key_Space);
  EXPECT_EQ(clicks, 1);
}

TEST_F(EventsTest, EnterPressesNoButtonAndMovesNoFocus) {
  for (QWidget* focused : {static_cast<QWidget*>(button), static_cast<QWidget*>(edit), static_cast<QWidget*>(list)}) {
    SCOPED_TRACE(focused->objectName().toStdString());
    focused->setFocus();
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
      pressKey(key);
      EXPECT_EQ(QApplication::focusWidget(), focused);
    }
  }
  EXPECT_EQ(clicks, 0);
}

TEST_F(EventsTest, EscDoesNothing) {
  for (QWidget* focused : {static_cast<QWidget*>(button), static_cast<QWidget*>(edit), static_cast<QWidget*>(list)}) {
    SCOPED_TRACE(focused->objectName().toStdString());
    focused->setFocus();
    pressKey(Qt::Key_Escape);
    QApplication::processEvents();
    ASSERT_EQ(loadedMainWindow(), window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), focused);
  }
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(selections, 0);
}

TEST_F(EventsTest, ClosingTheWindowEndsItWithoutAsking) {
  EXPECT_TRUE(window->close());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(loadedMainWindow(), nullptr);
  EXPECT_EQ(windowHandle(), 0u);
}

}  // namespace
}  // namespace corvane
