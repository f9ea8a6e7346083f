// programStart from start to end, each run in a child process of its own: a normal end exits
// with 0 and releases CourierTable once, after the loop; the fatal error path shows the error
// box and exits with -1 without releasing it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <cstdio>
#include <cstdlib>

#include "app/courier_table.h"
#include "app/main_window.h"
#include "app/program_start.h"
#include "app/window_handlers.h"
#include "tests/app/modal_box.h"
#include "text/text_array.h"

namespace corvane {
namespace {

using testing::AllOf;
using testing::HasSubstr;
using testing::Not;
using testing_support::closeModalBoxSoon;

// Registered before programStart registers its own routine, so it runs after that one.
void reportTableAtExit() {
  std::fprintf(stderr, "at exit: %d members in %zu dimension(s)\n", memberCount(CourierTable),
               CourierTable.dimensions().size());
}

[[noreturn]] void runProgram(WindowHandlers handlers) {
  std::atexit(reportTableAtExit);
  setWindowHandlers(std::move(handlers));
  const int result = programStart();
  std::fprintf(stderr, "programStart returned %d, table still has %d members\n", result,
               memberCount(CourierTable));
  std::exit(result);
}

void fillTable() {
  redimArray(CourierTable, {2, 2});
  CourierTable(1, 1) = Text("a");
  CourierTable(1, 2) = Text("b");
  CourierTable(2, 1) = Text("c");
  CourierTable(2, 2) = Text("d");
}

void describeToolkit() {
  std::fprintf(stderr, "version %s, arguments %s, table %d members\n",
               qPrintable(QCoreApplication::applicationVersion()),
               qPrintable(QCoreApplication::arguments().join(QLatin1Char(' '))), memberCount(CourierTable));
}

TEST(ProgramStartDeathTest, ClosingTheWindowEndsTheProgramAndReleasesTheFilledTable) {
  EXPECT_EXIT(runProgram({[] {
                            describeToolkit();
                            fillTable();
                            loadedMainWindow()->close();
                          },
                          {}, {}}),
              testing::ExitedWithCode(0),
              AllOf(HasSubstr("version 1.0.0.0, arguments corvane, table 0 members"),
                    HasSubstr("programStart returned 0, table still has 4 members"),
                    HasSubstr("at exit: 0 members in 1 dimension(s)")));
}

TEST(ProgramStartDeathTest, ClosingTheWindowWithTheTableEmptyEndsTheProgramToo) {
  EXPECT_EXIT(runProgram({[] { loadedMainWindow()->close(); }, {}, {}}), testing::ExitedWithCode(0),
              AllOf(HasSubstr("programStart returned 0, table still has 0 members"),
                    HasSubstr("at exit: 0 members in 1 dimension(s)")));
}

TEST(ProgramStartDeathTest, ABrokenArrayContractShowsTheErrorBoxAndExitsWithMinusOne) {
  const auto breakTheContract = [] {
    fillTable();
    closeModalBoxSoon([](QMessageBox& box) {
      std::fprintf(stderr, "box \"%s\" icon %d, %lld button(s), %s: %s\n", qPrintable(box.windowTitle()),
                   static_cast<int>(box.icon()), static_cast<long long>(box.buttons().size()),
                   box.parentWidget() ? "owned" : "no owner", qPrintable(box.text()));
    });
    // The table has two dimensions; three subscripts break the contract (run-time error 3).
    (void)CourierTable.at({1, 1, 1});
  };
  EXPECT_EXIT(runProgram({breakTheContract, {}, {}}), testing::ExitedWithCode(255),
              AllOf(HasSubstr("box \"错误\" icon 3, 1 button(s), no owner: 运行时出错!"),
                    HasSubstr("错误代码：3"), Not(HasSubstr("programStart returned")),
                    Not(HasSubstr("at exit"))));
}

}  // namespace
}  // namespace corvane
