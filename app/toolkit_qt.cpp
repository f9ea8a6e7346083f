// The toolkit's life on Qt: one QApplication for the process.
#include <QApplication>
#include <QMessageBox>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <memory>

#include "app/qt_text.h"
#include "app/toolkit.h"

namespace corvane {
namespace {

// The program reads no command line: Qt sees the program's name only.
int toolkitArgc = 1;
char programName[] = "corvane";
char* toolkitArgv[] = {programName, nullptr};

std::unique_ptr<QApplication>& application() {
  static std::unique_ptr<QApplication> app;
  return app;
}

}  // namespace

void startToolkit() {
  if (qApp != nullptr) return;
  application() = std::make_unique<QApplication>(toolkitArgc, toolkitArgv);
  QApplication::setApplicationName(QStringLiteral("Corvane"));
  QApplication::setApplicationVersion(QStringLiteral(CORVANE_VERSION));
  QApplication::setDesktopFileName(QStringLiteral("corvane"));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/corvane/corvane.png")));
}

void runMessageLoop() {
  // The loop ends when the last window has closed; without a window it is not entered.
  const QWidgetList windows = QApplication::topLevelWidgets();
  if (std::any_of(windows.begin(), windows.end(), [](const QWidget* w) { return w->isVisible(); })) {
    QApplication::exec();
  }
  application().reset();
}

void showErrorBox(const Text& message) {
  if (qApp == nullptr) {
    std::fputs(toQString(message).toUtf8().constData(), stderr);
    return;
  }
  QMessageBox box(QMessageBox::Critical, QStringLiteral("错误"), toBoxText(message), QMessageBox::Ok);
  box.setTextFormat(Qt::PlainText);
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
}

}  // namespace corvane
