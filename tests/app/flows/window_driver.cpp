#include "window_driver.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include "app/courier_table.h"
#include "app/window_ops.h"

namespace corvane::testing {
namespace {

template <typename Widget>
Widget* findControl(const char* name) {
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (auto* found = top->findChild<Widget*>(QString::fromUtf8(name))) return found;
  }
  return nullptr;
}

}  // namespace

Controls openMainWindow() {
  loadWindow();
  Controls controls;
  controls.listView = findControl<QTreeView>("超级列表框1");
  controls.editBox = findControl<QLineEdit>("编辑框1");
  controls.courierList = findControl<QComboBox>("组合框1");
  controls.getInfo = findControl<QPushButton>("按钮1");
  return controls;
}

void resetWindowAndTable(const Controls& controls) {
  CourierTable = TextArray();
  clearItems();
  deleteAllRows();
  setDisabled(true);
  controls.editBox->clear();
}

void typeNumber(const Controls& controls, const QString& number) {
  controls.editBox->setFocus();
  controls.editBox->selectAll();
  QTest::keyClick(controls.editBox, Qt::Key_Delete);
  for (const QChar c : number) {
    if (c.unicode() < 0x80) {
      QTest::keyClick(controls.editBox, c.toLatin1());
    } else {
      // Chinese comes from an input method, as the user's own does: committed text.
      QInputMethodEvent typed;
      typed.setCommitString(QString(c));
      QApplication::sendEvent(controls.editBox, &typed);
    }
  }
}

void pressGetInfo(const Controls& controls) { QTest::mouseClick(controls.getInfo, Qt::LeftButton); }

void pickCourier(const Controls& controls, int index) {
  QComboBox* list = controls.courierList;
  list->showPopup();
  QAbstractItemView* view = list->view();
  view->setCurrentIndex(view->model()->index(index, list->modelColumn()));
  QTest::keyClick(view, Qt::Key_Return);
}

std::vector<std::pair<QString, int>> courierItems(const Controls& controls) {
  std::vector<std::pair<QString, int>> items;
  for (int i = 0; i < controls.courierList->count(); ++i) {
    items.emplace_back(controls.courierList->itemText(i), controls.courierList->itemData(i).toInt());
  }
  return items;
}

std::vector<std::pair<QString, QString>> shownRows(const Controls& controls) {
  std::vector<std::pair<QString, QString>> rows;
  const QAbstractItemModel* model = controls.listView->model();
  for (int i = 0; i < model->rowCount(); ++i) {
    rows.emplace_back(model->index(i, 0).data().toString(), model->index(i, 1).data().toString());
  }
  return rows;
}

SeenMessageBox closingMessageBoxes(const std::function<void()>& action) {
  SeenMessageBox seen;
  QTimer watcher;
  QElapsedTimer age;
  age.start();
  watcher.setInterval(20);
  QObject::connect(&watcher, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) {
      if (age.elapsed() > 20000) watcher.stop();  // a bound, whatever happens
      return;
    }
    seen.shown = true;
    seen.caption = box->windowTitle();
    seen.text = box->text();
    seen.icon = box->icon();
    if (QAbstractButton* ok = box->button(QMessageBox::Ok)) {
      ok->click();
    } else {
      box->reject();
    }
  });
  watcher.start();
  action();
  watcher.stop();
  return seen;
}

}  // namespace corvane::testing
