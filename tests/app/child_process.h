// Starting, watching and stopping other programs from a test, every wait bounded in time.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace corvane::testing_support {

struct ProcessOptions {
  std::vector<std::string> environment;  // "NAME=value" entries set on top of ours
  int passFd = -1;                       // kept open in the child under the same number
  bool quiet = true;                     // standard output and error to /dev/null
  std::string errorPath;                 // if set: standard error to this file instead
};

// Starts `argv[0]` (looked up on PATH); -1 when it cannot be started.
pid_t startProcess(const std::vector<std::string>& argv, const ProcessOptions& options = {});

// The exit code (128 + signal for a killed process), or nothing if it has not ended in time.
std::optional<int> waitForExit(pid_t pid, std::chrono::milliseconds timeout);

// Ends a process we started: SIGTERM, then SIGKILL after a grace period; always reaps it.
void stopProcess(pid_t pid);

// Runs a short command and returns its standard output; nothing on failure or timeout.
std::optional<std::string> commandOutput(const std::vector<std::string>& argv,
                                         const std::vector<std::string>& environment,
                                         std::chrono::milliseconds timeout = std::chrono::seconds(5));

}  // namespace corvane::testing_support
