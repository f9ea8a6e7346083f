// Closing a modal message box from inside a test: a timer finds the box once its own event loop
// runs, lets the test look at it, and presses its OK button.
#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>

namespace corvane::testing_support {

// Polls every 10 ms, at most `attempts` times, for the active modal message box.
inline void closeModalBoxSoon(std::function<void(QMessageBox&)> inspect, int attempts = 300) {
  auto* timer = new QTimer(qApp);
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, timer, [timer, attempts, inspect]() mutable {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr && --attempts > 0) return;
    timer->stop();
    timer->deleteLater();
    if (box == nullptr) return;
    inspect(*box);
    if (QAbstractButton* ok = box->button(QMessageBox::Ok)) {
      ok->click();
    } else {
      box->reject();
    }
  });
  timer->start();
}

}  // namespace corvane::testing_support
