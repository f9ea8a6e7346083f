// Closing a modal message box from inside a test: a timer finds the box once its own event loop
// runs, lets the test look at it, and presses its OK button.
#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <memory>

namespace corvane::testing_support {

// Polls every 10 ms, at most `attempts` times, for the active modal message box.
inline void closeModalBoxSoon(std::function<void(QMessageBox&)> inspect, int attempts = 300) {
  auto timer = std::make_shared<QTimer>();
  auto left = std::make_shared<int>(attempts);
  timer->setInterval(10);
  QObject::connect(timer.get(), &QTimer::timeout, [timer, left, inspect] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr && --*left > 0) return;
    timer->stop();
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
