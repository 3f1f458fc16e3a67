#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/FailureReport.h"

namespace qlx::runtime {
namespace {

std::vector<std::string> written;
FailureReport* active = nullptr;

TEST(FailureReport, TheBoxOnlyForSomeoneThereTheLineAlways) {
  for (bool attended : {true, false}) {
    written.clear();
    FailureReport report;
    report.configure(attended, [](const char* what) { written.emplace_back(what); });
    EXPECT_EQ(report.report("Out of memory."), attended);
    EXPECT_EQ(written, std::vector<std::string>{"Out of memory."});
  }
  FailureReport untouched;
  EXPECT_TRUE(untouched.report("Out of memory."));  // before the command line is read
}

TEST(FailureReport, AFailureWhileWritingTheLineDoesNotWriteAgain) {
  written.clear();
  FailureReport report;
  active = &report;
  report.configure(false, [](const char* what) {
    written.emplace_back(what);
    active->report("Out of memory.");  // the write itself runs out of memory
  });
  EXPECT_FALSE(report.report("The program stopped because of an internal error."));
  EXPECT_EQ(written.size(), 1u);
}

}  // namespace
}  // namespace qlx::runtime
