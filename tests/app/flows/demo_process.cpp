#include "demo_process.h"

#include <QRegularExpression>

#include <signal.h>
#include <sys/prctl.h>

namespace corvane::testing {

DemoProcess::DemoProcess() {
  process_.setProgram(QStringLiteral(CORVANE_DEMO_SERVICE_PATH));
  process_.setArguments({QStringLiteral("--port"), QStringLiteral("0")});
  process_.setProcessChannelMode(QProcess::MergedChannels);
  // A test that dies (a fatal run-time error ends the process at once) takes the service along.
  process_.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
  process_.start();
  if (!process_.waitForStarted(5000)) return;
  static const QRegularExpression listening(QStringLiteral("listening on http://127\\.0\\.0\\.1:(\\d+)"));
  for (int attempt = 0; attempt < 150 && port_ == 0; ++attempt) {
    process_.waitForReadyRead(100);
    output_ += QString::fromUtf8(process_.readAll());
    if (const auto match = listening.match(output_); match.hasMatch()) port_ = match.captured(1).toInt();
  }
}

DemoProcess::~DemoProcess() {
  process_.terminate();
  if (!process_.waitForFinished(5000)) {
    process_.kill();
    process_.waitForFinished(5000);
  }
}

std::string DemoProcess::base() const { return "http://127.0.0.1:" + std::to_string(port_); }

QString DemoProcess::output() {
  process_.waitForReadyRead(50);
  output_ += QString::fromUtf8(process_.readAll());
  return output_;
}

}  // namespace corvane::testing
