#include <gtest/gtest.h>

#include <string>

#include "runtime/ExitHandlers.h"

namespace qlx::runtime {
namespace {

std::string calls;
ExitHandlers* reentered = nullptr;

void first() { calls += "1"; }
void second() { calls += "2"; }
void third() { calls += "3"; }
void registersAnother() {
  calls += "R";
  reentered->add(&third);
}
void endsAgain() {
  calls += "E";
  reentered->runAll();
}

class ExitHandlersTest : public testing::Test {
 protected:
  void SetUp() override { calls.clear(); }
  ExitHandlers handlers;
};

TEST_F(ExitHandlersTest, RunLatestFirstAndOnlyOnce) {
  handlers.add(&first);
  handlers.add(&second);
  handlers.add(&third);
  handlers.runAll();
  handlers.runAll();
  EXPECT_EQ(calls, "321");
}

TEST_F(ExitHandlersTest, AHandlerRegisteredWhileEndingStillRuns) {
  reentered = &handlers;
  handlers.add(&first);
  handlers.add(&registersAnother);
  handlers.runAll();
  EXPECT_EQ(calls, "R31");
}

TEST_F(ExitHandlersTest, EndingAgainFromAHandlerRunsNothingTwice) {
  reentered = &handlers;
  handlers.add(&first);
  handlers.add(&endsAgain);
  handlers.runAll();
  EXPECT_EQ(calls, "E1");
}

TEST_F(ExitHandlersTest, AFullTableRefusesWithoutLosingWhatItHolds) {
  for (std::size_t i = 0; i < ExitHandlers::kCapacity; ++i) ASSERT_TRUE(handlers.add(&first));
  EXPECT_FALSE(handlers.add(&second));
  EXPECT_FALSE(handlers.add(nullptr));
  handlers.runAll();
  EXPECT_EQ(calls, std::string(ExitHandlers::kCapacity, '1'));
}

}  // namespace
}  // namespace qlx::runtime
