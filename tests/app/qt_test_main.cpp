// One QApplication for the whole test binary, on the offscreen platform unless one is chosen.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

namespace {

int qtArgc = 1;
char programName[] = "app_window_tests";
char* qtArgv[] = {programName, nullptr};

// The offscreen platform says so each time a fixed-size window is shown; nothing to see.
void quietMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.contains(QLatin1String("This plugin does not support"))) return;
  qt_message_output(type, context, message);
}

class QtApplicationEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietMessages);
    app_ = std::make_unique<QApplication>(qtArgc, qtArgv);
  }
  void TearDown() override { app_.reset(); }

 private:
  std::unique_ptr<QApplication> app_;
};

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleMock(&argc, argv);
  testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);
  return RUN_ALL_TESTS();
}
