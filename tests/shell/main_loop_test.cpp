// The main-loop tick: step count, accumulator ceiling, frame counting and mode dispatch.
#include "shell/main_loop.h"

#include <gtest/gtest.h>

#include <memory>

#include "shell/timers.h"
#include "world/world_state.h"

namespace skerrow {
namespace {

struct CountingHost : LoopHost {
  int updates = 0, renders = 0;
  void UpdateDispatch() override { ++updates; }
  void RenderDispatch() override { ++renders; }
};

TEST(MainLoopTick, ThirtyNineThenOneRunsExactlyOneStep) {
  auto w = std::make_unique<WorldState>();
  CountingHost host;
  EXPECT_EQ(MainLoopTick(*w, 39, host), 0);
  EXPECT_EQ(host.renders, 1);
  EXPECT_EQ(w->lagAccumulator, 39);
  EXPECT_EQ(MainLoopTick(*w, 1, host), 1);
  EXPECT_EQ(host.updates, 1);
  EXPECT_EQ(host.renders, 2);
  EXPECT_EQ(w->lagAccumulator, 0);
  EXPECT_EQ(w->lastLagCount, 1);
  EXPECT_EQ(w->frameCounter, 2);
}

TEST(MainLoopTick, LongStallRunsSixStepsAndKeepsTen) {
  struct Case {
    int32_t startLag, elapsed;
    int steps, lagAfter;
  };
  const Case cases[] = {
      {0, 2000, 6, 10},  // 2-second stall: capped at 250
      {0, 250, 6, 10},         {0, 240, 6, 0},
      {39, 2147483647, 6, 10},  // no overflow on a huge elapsed value
      {0, 80, 2, 0},           {30, 50, 2, 0},
  };
  for (const Case& c : cases) {
    auto w = std::make_unique<WorldState>();
    w->lagAccumulator = c.startLag;
    CountingHost host;
    EXPECT_EQ(MainLoopTick(*w, c.elapsed, host), c.steps) << c.startLag << "+" << c.elapsed;
    EXPECT_EQ(host.updates, c.steps);
    EXPECT_EQ(w->lagAccumulator, c.lagAfter);
    EXPECT_EQ(w->lastLagCount, c.elapsed);
    EXPECT_EQ(host.renders, 1);
  }
}

TEST(TimerService, FiresAfterIntervalWithElapsedAndNeverReentrantly) {
  TimerService timers;
  std::vector<int32_t> fired;
  int slow = 0;
  int fast = timers.Add(1, [&](int32_t e) {
    fired.push_back(e);
    timers.Advance(timers.Now() + 500);  // re-entrant call: ignored
  });
  int startup = timers.Add(205, [&](int32_t) { ++slow; });
  timers.SetEnabled(startup, true);
  timers.Advance(40);
  EXPECT_TRUE(fired.empty());  // disabled timers never fire
  timers.SetEnabled(fast, true);
  timers.Advance(40);  // enabled now: nothing due yet
  timers.Advance(80);
  timers.Advance(81);
  EXPECT_EQ(fired, (std::vector<int32_t>{40, 1}));
  EXPECT_EQ(slow, 0);
  timers.Advance(205);
  EXPECT_EQ(slow, 1);
  timers.Advance(409);
  EXPECT_EQ(slow, 1);
  timers.Advance(410);
  EXPECT_EQ(slow, 2);
  timers.SetEnabled(startup, false);
  timers.Advance(5000);
  EXPECT_EQ(slow, 2);
}

}  // namespace
}  // namespace skerrow
