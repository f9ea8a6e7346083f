#include "tests/app/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <map>
#include <thread>

extern char** environ;

namespace corvane::testing_support {
namespace {

// Our environment with `overrides` put over it.
std::vector<std::string> mergedEnvironment(const std::vector<std::string>& overrides) {
  std::map<std::string, std::string> byName;
  const auto add = [&](const std::string& entry) {
    const auto equals = entry.find('=');
    if (equals != std::string::npos) byName[entry.substr(0, equals)] = entry;
  };
  for (char** entry = environ; *entry != nullptr; ++entry) add(*entry);
  for (const std::string& entry : overrides) add(entry);
  std::vector<std::string> merged;
  for (auto& [name, entry] : byName) merged.push_back(entry);
  return merged;
}

std::vector<char*> pointers(std::vector<std::string>& strings) {
  std::vector<char*> result;
  for (std::string& s : strings) result.push_back(s.data());
  result.push_back(nullptr);
  return result;
}

pid_t spawn(const std::vector<std::string>& argv, const ProcessOptions& options, int stdoutFd) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!options.errorPath.empty()) {
    posix_spawn_file_actions_addopen(&actions, 2, options.errorPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  } else if (options.quiet) {
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  }
  if (stdoutFd >= 0) {
    posix_spawn_file_actions_adddup2(&actions, stdoutFd, 1);
  } else if (options.quiet) {
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  }
  if (options.passFd >= 0) {
    // Clearing close-on-exec: dup2 onto itself does not, so pass it through fcntl first.
    fcntl(options.passFd, F_SETFD, 0);
  }
  std::vector<std::string> args = argv;
  std::vector<std::string> env = mergedEnvironment(options.environment);
  std::vector<char*> argPointers = pointers(args);
  std::vector<char*> envPointers = pointers(env);
  pid_t pid = -1;
  const int failed = posix_spawnp(&pid, argPointers[0], &actions, nullptr, argPointers.data(), envPointers.data());
  posix_spawn_file_actions_destroy(&actions);
  return failed == 0 ? pid : -1;
}

}  // namespace

pid_t startProcess(const std::vector<std::string>& argv, const ProcessOptions& options) {
  return spawn(argv, options, -1);
}

std::optional<int> waitForExit(pid_t pid, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    int status = 0;
    const pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid) {
      if (WIFEXITED(status)) return WEXITSTATUS(status);
      if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    }
    if (done < 0) return std::nullopt;
    if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

void stopProcess(pid_t pid) {
  if (pid <= 0) return;
  kill(pid, SIGTERM);
  if (waitForExit(pid, std::chrono::seconds(3))) return;
  kill(pid, SIGKILL);
  (void)waitForExit(pid, std::chrono::seconds(3));
}

std::optional<std::string> commandOutput(const std::vector<std::string>& argv,
                                         const std::vector<std::string>& environment,
                                         std::chrono::milliseconds timeout) {
  int pipeFds[2];
  if (pipe2(pipeFds, O_CLOEXEC) != 0) return std::nullopt;
  ProcessOptions options;
  options.environment = environment;
  const pid_t pid = spawn(argv, options, pipeFds[1]);
  close(pipeFds[1]);
  if (pid < 0) {
    close(pipeFds[0]);
    return std::nullopt;
  }
  std::string output;
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    pollfd readable{pipeFds[0], POLLIN, 0};
    if (poll(&readable, 1, static_cast<int>(left.count())) <= 0) break;
    char buffer[4096];
    const ssize_t got = read(pipeFds[0], buffer, sizeof buffer);
    if (got <= 0) break;
    output.append(buffer, static_cast<size_t>(got));
  }
  close(pipeFds[0]);
  const std::optional<int> code = waitForExit(pid, std::chrono::seconds(1));
  if (!code) stopProcess(pid);
  if (code != 0) return std::nullopt;
  return output;
}

}  // namespace corvane::testing_support
