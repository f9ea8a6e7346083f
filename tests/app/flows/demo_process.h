// The bundled demo service, started for a test on a free loopback port and stopped after it.
#pragma once

#include <QProcess>
#include <string>

namespace corvane::testing {

class DemoProcess {
 public:
  DemoProcess();  // starts it and waits (15 seconds at most) for the port it listens on
  ~DemoProcess();
  DemoProcess(const DemoProcess&) = delete;
  DemoProcess& operator=(const DemoProcess&) = delete;

  [[nodiscard]] int port() const { return port_; }  // 0 when it did not start
  [[nodiscard]] std::string base() const;            // "http://127.0.0.1:port"
  // The lines it has printed since it started, one per request after the first.
  [[nodiscard]] QString output();

 private:
  QProcess process_;
  QString output_;
  int port_ = 0;
};

}  // namespace corvane::testing
