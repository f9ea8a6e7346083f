// Start-up of the shell: loading MainWindow in a running toolkit, and the whole program from
// process start until its window is mapped on a virtual X display (with its resident memory);
// and filling the list view with many rows.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QWindow>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/window_ops.h"

extern char** environ;

namespace corvane {
namespace {

using Clock = std::chrono::steady_clock;

void ensureToolkit() {
  if (QApplication::instance() != nullptr) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "app_bench";
  static char* argv[] = {name, nullptr};
  new QApplication(argc, argv);  // lives until the process ends
}

// Loading the window until the platform has exposed it, then closing it again.
void BM_LoadWindowUntilExposed(benchmark::State& state) {
  ensureToolkit();
  delete loadedMainWindow();
  for (auto _ : state) {
    loadWindow(false);
    QWindow* shown = loadedMainWindow()->windowHandle();
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    while ((shown == nullptr || !shown->isExposed()) && Clock::now() < deadline) {
      QApplication::processEvents();
      shown = loadedMainWindow()->windowHandle();
    }
    QApplication::processEvents();  // the first-activated event and the credit lines
    delete loadedMainWindow();
  }
}
BENCHMARK(BM_LoadWindowUntilExposed)->Unit(benchmark::kMillisecond);

// "超级列表框1" alone, shown: `rows` rows each inserted on top and given its second cell, as a
// tracking answer fills it, laid out and painted, then emptied. Each row should cost the same however many there are.
void BM_ListViewRowsInsertedOnTop(benchmark::State& state) {
  ensureToolkit();
  loadWindow(false);
  const Text time("2024-05-01 08:10:00");
  const Text context("\xA1\xBE\xBA\xBC\xD6\xDD\xCA\xD0\xA1\xBF");  // "【杭州市】"
  const int rows = static_cast<int>(state.range(0));
  for (auto _ : state) {
    for (int i = 0; i < rows; ++i) setCellText(insertRow(0, time), 1, context);
    QApplication::processEvents();  // the view lays the rows out and paints them once
    deleteAllRows();
  }
  state.SetComplexityN(rows);
  delete loadedMainWindow();
}
BENCHMARK(BM_ListViewRowsInsertedOnTop)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

// The same rows appended at the end (a position past the last row).
void BM_ListViewRowsAppended(benchmark::State& state) {
  ensureToolkit();
  loadWindow(false);
  const Text time("2024-05-01 08:10:00");
  const int rows = static_cast<int>(state.range(0));
  for (auto _ : state) {
    for (int i = 0; i < rows; ++i) setCellText(insertRow(-1, time), 1, time);
    deleteAllRows();
  }
  state.SetComplexityN(rows);
  delete loadedMainWindow();
}
BENCHMARK(BM_ListViewRowsAppended)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

// A process we started, with its standard output on a pipe when asked.
struct Child {
  pid_t pid = -1;
  int output = -1;
};

Child spawnChild(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnvironment, bool readOutput) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  int pipeFds[2] = {-1, -1};
  if (readOutput && pipe2(pipeFds, O_CLOEXEC) == 0) {
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
  } else {
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  }
  std::vector<std::string> env;
  for (char** entry = environ; *entry != nullptr; ++entry) env.emplace_back(*entry);
  env.insert(env.end(), extraEnvironment.begin(), extraEnvironment.end());  // later entries win
  std::vector<std::string> args = argv;
  std::vector<char*> argPointers, envPointers;
  for (auto& a : args) argPointers.push_back(a.data());
  for (auto& e : env) envPointers.push_back(e.data());
  argPointers.push_back(nullptr);
  envPointers.push_back(nullptr);
  Child child;
  if (posix_spawnp(&child.pid, argPointers[0], &actions, nullptr, argPointers.data(), envPointers.data()) != 0) child.pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  if (pipeFds[1] >= 0) close(pipeFds[1]);
  child.output = pipeFds[0];
  return child;
}

void endChild(Child& child) {
  if (child.output >= 0) close(child.output);
  if (child.pid > 0) {
    kill(child.pid, SIGTERM);
    int status = 0;
    for (int i = 0; i < 300 && waitpid(child.pid, &status, WNOHANG) == 0; ++i) usleep(10000);
    if (waitpid(child.pid, &status, WNOHANG) == 0) {
      kill(child.pid, SIGKILL);
      waitpid(child.pid, &status, 0);
    }
  }
  child = Child{};
}

// Reads until `marker` shows up in the output or `timeout` passes.
bool waitForOutput(int fd, const std::string& marker, std::chrono::milliseconds timeout) {
  std::string seen;
  const auto deadline = Clock::now() + timeout;
  while (Clock::now() < deadline) {
    pollfd readable{fd, POLLIN, 0};
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (poll(&readable, 1, static_cast<int>(std::max<long>(left, 1))) <= 0) continue;
    char buffer[4096];
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got <= 0) return false;
    seen.append(buffer, static_cast<size_t>(got));
    if (seen.find(marker) != std::string::npos) return true;
  }
  return false;
}

double residentMegabytes(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
  }
  return 0;
}

// corvane beside this benchmark in the build tree: bench/app_bench and app/corvane.
std::string corvaneBinary() {
  return (std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / "app" / "corvane").string();
}

// From process start until the X server maps the window; then, once it has painted, its
// resident memory. No window manager: the map is the program's own doing.
void BM_ProcessStartToWindowMapped(benchmark::State& state) {
  Child xvfb = spawnChild({"Xvfb", "-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "1024x768x24"}, {}, true);
  std::string display;
  {
    pollfd readable{xvfb.output, POLLIN, 0};
    char buffer[16] = {};
    if (xvfb.pid > 0 && poll(&readable, 1, 10000) > 0 && read(xvfb.output, buffer, sizeof buffer - 1) > 0) {
      display = ":" + std::string(buffer).substr(0, std::string(buffer).find('\n'));
    }
  }
  if (display.empty() || !std::filesystem::exists(corvaneBinary())) {
    endChild(xvfb);
    state.SkipWithError("needs Xvfb and the corvane binary");
    return;
  }
  double rssTotal = 0;
  for (auto _ : state) {
    // Line-buffered: xev writes to a pipe here.
    Child watcher = spawnChild({"stdbuf", "-oL", "xev", "-display", display, "-root", "-event", "substructure"}, {}, true);
    usleep(200000);  // until xev listens
    const auto start = Clock::now();
    Child program = spawnChild({corvaneBinary()}, {"DISPLAY=" + display, "QT_QPA_PLATFORM=xcb"}, false);
    const bool mapped = waitForOutput(watcher.output, "MapNotify", std::chrono::seconds(10));
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    usleep(300000);  // painted and settled
    rssTotal += residentMegabytes(program.pid);
    endChild(program);
    endChild(watcher);
    if (!mapped) {
      state.SkipWithError("the window was not mapped");
      break;
    }
  }
  state.counters["rss_MB"] = benchmark::Counter(rssTotal / static_cast<double>(std::max<int64_t>(state.iterations(), 1)));
  endChild(xvfb);
}
BENCHMARK(BM_ProcessStartToWindowMapped)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace corvane
