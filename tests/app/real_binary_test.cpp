// The real corvane binary on a virtual X display with a window manager: it shows a window
// titled "Corvane" of the stated size, centred, and ends with exit code 0 when it is closed.
#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <regex>
#include <string>
#include <thread>

#include "tests/app/child_process.h"

namespace corvane {
namespace {

using namespace std::chrono_literals;
using testing_support::commandOutput;
using testing_support::ProcessOptions;
using testing_support::startProcess;
using testing_support::stopProcess;
using testing_support::waitForExit;

constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;

// Repeats `attempt` every 50 ms until it gives a value or `timeout` has passed.
template <typename Attempt>
auto retry(Attempt attempt, std::chrono::milliseconds timeout) -> decltype(attempt()) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (auto result = attempt()) return result;
    if (std::chrono::steady_clock::now() >= deadline) return {};
    std::this_thread::sleep_for(50ms);
  }
}

// The integers after `label` in the output of an X tool, in order.
std::vector<long> numbersAfter(const std::string& text, const std::string& label) {
  std::vector<long> numbers;
  const auto start = text.find(label);
  if (start == std::string::npos) return numbers;
  const std::string line = text.substr(start + label.size(), text.find('\n', start) - start - label.size());
  const std::regex number("0x[0-9a-fA-F]+|-?[0-9]+");
  for (auto it = std::sregex_iterator(line.begin(), line.end(), number); it != std::sregex_iterator(); ++it) {
    numbers.push_back(std::stol(it->str(), nullptr, 0));
  }
  return numbers;
}

class RealBinaryTest : public testing::Test {
 protected:
  void SetUp() override {
    // Xvfb picks a free display itself and writes its number to the descriptor given.
    int displayPipe[2];
    ASSERT_EQ(pipe(displayPipe), 0);
    ProcessOptions xvfbOptions;
    xvfbOptions.passFd = displayPipe[1];
    xvfb_ = startProcess({"Xvfb", "-displayfd", std::to_string(displayPipe[1]), "-nolisten", "tcp", "-screen", "0",
                          std::to_string(kScreenWidth) + "x" + std::to_string(kScreenHeight) + "x24"},
                         xvfbOptions);
    close(displayPipe[1]);
    ASSERT_GT(xvfb_, 0) << "Xvfb did not start";
    std::string number;
    pollfd readable{displayPipe[0], POLLIN, 0};
    while (number.find('\n') == std::string::npos && poll(&readable, 1, 10000) > 0) {
      char buffer[16];
      const ssize_t got = read(displayPipe[0], buffer, sizeof buffer);
      if (got <= 0) break;
      number.append(buffer, static_cast<size_t>(got));
    }
    close(displayPipe[0]);
    ASSERT_FALSE(number.empty()) << "Xvfb named no display";
    display_ = "DISPLAY=:" + number.substr(0, number.find('\n'));

    ProcessOptions wmOptions;
    wmOptions.environment = {display_};
    wm_ = startProcess({"openbox"}, wmOptions);
    ASSERT_GT(wm_, 0) << "openbox did not start";
    ASSERT_TRUE(retry([&] { return x({"xprop", "-root", "_NET_SUPPORTING_WM_CHECK"}).value_or("").find("window id") != std::string::npos; }, 10s))
        << "the window manager did not come up";
  }

  void TearDown() override {
    stopProcess(program_);
    stopProcess(wm_);
    stopProcess(xvfb_);
    std::remove(errorLog_.c_str());
  }

  // What the program wrote to its standard error.
  std::string programErrors() const {
    std::ifstream log(errorLog_);
    return std::string(std::istreambuf_iterator<char>(log), std::istreambuf_iterator<char>());
  }

  std::optional<std::string> x(const std::vector<std::string>& argv) { return commandOutput(argv, {display_}); }

  std::string display_;
  pid_t xvfb_ = -1;
  pid_t wm_ = -1;
  pid_t program_ = -1;
  std::string errorLog_ = testing::TempDir() + "corvane-stderr-" + std::to_string(getpid()) + ".log";
};

TEST_F(RealBinaryTest, ShowsTheCentredCorvaneWindowAndExitsWithZeroWhenClosed) {
  ProcessOptions programOptions;
  programOptions.environment = {display_, "QT_QPA_PLATFORM=xcb"};
  programOptions.errorPath = errorLog_;
  program_ = startProcess({CORVANE_BINARY}, programOptions);
  ASSERT_GT(program_, 0);

  const std::optional<std::string> found =
      retry([&] { return x({"xdotool", "search", "--onlyvisible", "--name", "^Corvane$"}); }, 15s);
  ASSERT_TRUE(found) << "no visible window titled Corvane";
  const std::string id = found->substr(0, found->find('\n'));

  // The outer size counts the frame the window manager put around the client area.
  struct Placement {
    long left, top, width, height;
  };
  const auto outerPlacement = [&]() -> std::optional<Placement> {
    const auto info = x({"xwininfo", "-id", id});
    const auto extents = x({"xprop", "-id", id, "_NET_FRAME_EXTENTS"});
    if (!info || !extents) return std::nullopt;
    const auto frame = numbersAfter(*extents, "=");
    const auto x0 = numbersAfter(*info, "Absolute upper-left X:");
    const auto y0 = numbersAfter(*info, "Absolute upper-left Y:");
    const auto w = numbersAfter(*info, "Width:");
    const auto h = numbersAfter(*info, "Height:");
    if (frame.size() != 4 || x0.empty() || y0.empty() || w.empty() || h.empty()) return std::nullopt;
    const Placement placement{x0[0] - frame[0], y0[0] - frame[2], w[0] + frame[0] + frame[1], h[0] + frame[2] + frame[3]};
    if (placement.width != 465 || placement.height != 425) return std::nullopt;  // still settling
    return placement;
  };
  const std::optional<Placement> placement = retry(outerPlacement, 10s);
  ASSERT_TRUE(placement) << x({"xwininfo", "-id", id}).value_or("") << x({"xprop", "-id", id}).value_or("");
  EXPECT_EQ(placement->left, (kScreenWidth - 465) / 2);
  EXPECT_EQ(placement->top, (kScreenHeight - 425) / 2);

  // Fixed size, and neither a minimize nor a maximize button asked of the window manager.
  const std::string hints = x({"xprop", "-id", id, "WM_NORMAL_HINTS", "_MOTIF_WM_HINTS"}).value_or("");
  EXPECT_EQ(numbersAfter(hints, "program specified minimum size:"), numbersAfter(hints, "program specified maximum size:"));
  const auto motif = numbersAfter(hints, "_MOTIF_WM_HINTS(_MOTIF_WM_HINTS) =");
  ASSERT_EQ(motif.size(), 5u) << hints;
  EXPECT_EQ(motif[1] & (0x08 | 0x10), 0) << "minimize and maximize functions";
  EXPECT_EQ(motif[2] & (0x20 | 0x40), 0) << "minimize and maximize buttons";

  // Alt+F4 through the window manager, as the user closes it.
  ASSERT_TRUE(x({"xdotool", "windowactivate", "--sync", id}));
  ASSERT_TRUE(x({"xdotool", "key", "--clearmodifiers", "alt+F4"}));
  const std::optional<int> exitCode = waitForExit(program_, 15s);
  ASSERT_TRUE(exitCode) << "the program did not end after its window closed";
  program_ = -1;
  EXPECT_EQ(*exitCode, 0) << programErrors();
}

}  // namespace
}  // namespace corvane
