// MainWindow as loaded: the window's settings and every control's place and initial state.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFontInfo>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTreeView>

#include "tests/app/window_fixture.h"

namespace corvane {
namespace {

using testing_support::LoadedWindowTest;

using MainWindowTest = LoadedWindowTest;

TEST_F(MainWindowTest, WindowIsAFixedCentredNonModalWindowCalledCorvane) {
  EXPECT_EQ(window->windowTitle(), QStringLiteral("Corvane"));
  EXPECT_TRUE(window->isWindow());
  EXPECT_EQ(window->windowModality(), Qt::NonModal);
  EXPECT_EQ(window->minimumSize(), window->maximumSize()) << "the user cannot resize it";
  const Qt::WindowFlags flags = window->windowFlags();
  EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
  EXPECT_TRUE(flags & Qt::WindowSystemMenuHint);
  EXPECT_FALSE(flags & Qt::WindowStaysOnTopHint);

  // Outer size 465 x 425 where the platform knows the frame; else the client area stands in.
  const QSize frame = window->frameGeometry().size() - window->size();
  if (frame.isNull()) {
    EXPECT_EQ(window->size(), QSize(459, 397));
  } else {
    EXPECT_EQ(window->frameGeometry().size(), QSize(465, 425));
  }
  const QRect screen = window->screen()->geometry();
  EXPECT_EQ(window->frameGeometry().topLeft(),
            QPoint((screen.width() - 465) / 2, (screen.height() - 425) / 2));
}

TEST_F(MainWindowTest, WindowHasTheFaceColourTheDefaultFontAndAnIcon) {
  EXPECT_TRUE(window->autoFillBackground());
  EXPECT_EQ(window->backgroundRole(), QPalette::Window);
  EXPECT_EQ(window->font(), QApplication::font());
  EXPECT_EQ(list->font(), QApplication::font(list));
  EXPECT_EQ(edit->font(), QApplication::font(edit));
  EXPECT_FALSE(window->windowIcon().isNull());
  EXPECT_FALSE(window->windowIcon().pixmap(32, 32).isNull());
}

TEST_F(MainWindowTest, ControlsStandWhereTheWindowDefinitionPutsThem) {
  struct Row {
    QWidget* control;
    const char* name;
    QRect geometry;  // a height of 0: follows the control's font
    bool enabled;
    bool tabStop;
  };
  const Row rows[] = {
      {list, "超级列表框1", {5, 40, 450, 350}, true, true},
      {edit, "编辑框1", {5, 10, 75, 25}, true, true},
      {combo, "组合框1", {180, 10, 160, 0}, false, false},
      {button, "按钮1", {90, 10, 80, 25}, true, true},
  };
  // Creation order, which is also the stacking order.
  QList<QWidget*> created;
  for (QObject* child : window->children()) {
    if (auto* widget = qobject_cast<QWidget*>(child); widget && !widget->isWindow()) created.append(widget);
  }
  ASSERT_EQ(created.size(), 4);
  for (int i = 0; i < 4; ++i) {
    const Row& row = rows[i];
    SCOPED_TRACE(row.name);
    EXPECT_EQ(created[i], row.control);
    EXPECT_EQ(row.control->objectName(), QString::fromUtf8(row.name));
    EXPECT_TRUE(row.control->isVisible());
    EXPECT_EQ(row.control->pos(), row.geometry.topLeft());
    EXPECT_EQ(row.control->width(), row.geometry.width());
    if (row.geometry.height() != 0) {
      EXPECT_EQ(row.control->height(), row.geometry.height());
    } else {
      EXPECT_EQ(row.control->height(), row.control->sizeHint().height());
      EXPECT_LT(row.control->geometry().bottom(), 40) << "clear of the list view";
    }
    EXPECT_EQ(row.control->isEnabled(), row.enabled);
    EXPECT_EQ(bool(row.control->focusPolicy() & Qt::TabFocus), row.tabStop);
    EXPECT_FALSE(row.control->accessibleName().isEmpty());
  }
  // A screen reader tells them apart by their names.
  QStringList names;
  for (const Row& row : rows) names.append(row.control->accessibleName());
  names.removeDuplicates();
  EXPECT_EQ(names.size(), 4);
}

TEST_F(MainWindowTest, ListViewIsAnEmptyTwoColumnReport) {
  EXPECT_EQ(list->model()->rowCount(), 0);
  ASSERT_EQ(list->model()->columnCount(), 2);
  EXPECT_EQ(list->header()->count(), 2);
  EXPECT_FALSE(list->isHeaderHidden());
  EXPECT_EQ(list->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("时间"));
  EXPECT_EQ(list->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("地点和跟踪进度"));
  EXPECT_EQ(list->columnWidth(0), 140);
  EXPECT_EQ(list->columnWidth(1), 306);
  EXPECT_TRUE(list->header()->sectionsClickable());
  EXPECT_FALSE(list->rootIsDecorated());
  EXPECT_FALSE(list->isSortingEnabled());
  EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);
  EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);
  EXPECT_EQ(list->editTriggers(), QAbstractItemView::NoEditTriggers);
}

TEST_F(MainWindowTest, EditBoxIsEmptyAndTakesAnyText) {
  EXPECT_TRUE(edit->text().isEmpty());
  EXPECT_FALSE(edit->isReadOnly());
  EXPECT_EQ(edit->echoMode(), QLineEdit::Normal);
  EXPECT_TRUE(edit->inputMask().isEmpty());
  EXPECT_EQ(edit->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
  // No length limit: a number far longer than any real one arrives whole.
  const QString longText(40000, QLatin1Char('7'));
  edit->setFocus();
  edit->insert(longText);
  EXPECT_EQ(edit->text().size(), longText.size());
  EXPECT_EQ(textLength(readText()), 40000);
}

TEST_F(MainWindowTest, CourierListIsADisabledEmptyPickOnlyList) {
  EXPECT_FALSE(combo->isEnabled());
  EXPECT_EQ(combo->count(), 0);
  EXPECT_EQ(combo->currentIndex(), -1);
  EXPECT_TRUE(combo->currentText().isEmpty());
  EXPECT_FALSE(combo->isEditable());
  EXPECT_EQ(combo->focusPolicy(), Qt::ClickFocus);
}

TEST_F(MainWindowTest, ButtonIsAnOrdinaryButtonCalledGetInfo) {
  EXPECT_EQ(button->text(), QStringLiteral("获取信息"));
  EXPECT_FALSE(button->isDefault());
  EXPECT_FALSE(button->autoDefault());
  EXPECT_TRUE(button->icon().isNull());
}

TEST_F(MainWindowTest, CourierListAndButtonUseAChineseFaceWithTwelvePixelCharacters) {
  for (QWidget* control : {static_cast<QWidget*>(combo), static_cast<QWidget*>(button)}) {
    SCOPED_TRACE(control->objectName().toStdString());
    EXPECT_EQ(control->font().family(), QStringLiteral("微软雅黑"));
    EXPECT_EQ(control->font().pixelSize(), 12);
    EXPECT_EQ(control->font().weight(), QFont::Normal);
    EXPECT_FALSE(control->font().italic());
    // Whatever face stands in must draw Chinese.
    EXPECT_TRUE(QFontMetrics(control->font()).inFont(QChar(0x83B7))) << QFontInfo(control->font()).family().toStdString();
  }
}

TEST_F(MainWindowTest, CourierListOpensAListAbout160PixelsTallWithTheField) {
  fillCourierList(40);
  combo->showPopup();
  QWidget* popup = combo->view()->window();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(popup));
  const int total = combo->height() + popup->height();
  EXPECT_GE(total, 145);
  EXPECT_LE(total, 165);
  EXPECT_GE(popup->geometry().top(), combo->mapToGlobal(QPoint(0, 0)).y()) << "opens below the field";
  combo->hidePopup();
}

}  // namespace
}  // namespace corvane
