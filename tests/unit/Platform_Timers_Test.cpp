// The timer facility on the virtual clock: grid periods, the enable and
// interval rules, late ticks, and delivery only when no message waits.
#include "platform/Platform_Clock.h"
#include "platform/Platform_Messages.h"

#include <gtest/gtest.h>

namespace {

constexpr uint64_t Grid = Timer_Grid_Period_Us;

class Timers : public ::testing::Test {
 protected:
  void SetUp() override {
    Clock_Use_Virtual(10 * Grid); // on a grid point
    Messages_Reset();
  }
  void TearDown() override {
    Messages_Reset();
    Clock_Use_Real();
  }
  // Takes and dispatches every message available now; returns how many.
  int Pump() {
    int n = 0;
    Window_Message m;
    while (Peek_Message(m)) {
      Dispatch_Message(m);
      ++n;
    }
    return n;
  }
  // Moves the clock by `us` in steps of `step` us, pumping after each step.
  void Run_For(uint64_t us, uint64_t step = 1000) {
    for (uint64_t t = 0; t < us; t += step) {
      Clock_Advance_Us(step);
      Pump();
    }
  }
};

TEST(Timer_Grid, Period_Is_Interval_Rounded_Up_To_Grid_Steps) {
  struct Case {
    const char* Name;
    uint32_t Interval_Ms;
    uint64_t Period_Us;
  } cases[] = {
      {"zero counts as one step", 0, Grid},        {"1 ms is one step", 1, Grid},
      {"15 ms is one step", 15, Grid},             {"16 ms needs two steps", 16, 2 * Grid},
      {"31 ms is two steps", 31, 2 * Grid},        {"100 ms is seven steps", 100, 7 * Grid},
      {"1000 ms is exactly 64 steps", 1000, 64 * Grid},
  };
  for (const auto& c : cases) EXPECT_EQ(Timer_Period_Us(c.Interval_Ms), c.Period_Us) << c.Name;
}

TEST_F(Timers, A_1_Ms_Timer_Ticks_At_Most_64_Times_In_One_Second) {
  int ticks = 0;
  Platform_Timer t("drift", 1, [&] { ++ticks; });
  t.Set_Enabled(true);
  Run_For(1'000'000, 250);
  EXPECT_EQ(ticks, 64);
}

TEST_F(Timers, Created_Disabled_And_Interval_Zero_Never_Ticks) {
  int ticks = 0;
  Platform_Timer t("idle", 1, [&] { ++ticks; });
  Run_For(100'000);
  EXPECT_EQ(ticks, 0);
  t.Set_Interval(0);
  t.Set_Enabled(true);
  Run_For(100'000);
  EXPECT_EQ(ticks, 0);
}

TEST_F(Timers, Enabling_Starts_The_Period_And_Enabling_Again_Changes_Nothing) {
  int ticks = 0;
  Platform_Timer t("wait", 100, [&] { ++ticks; }); // 7 grid steps
  t.Set_Enabled(true);
  Clock_Advance_Us(4 * Grid);
  t.Set_Enabled(true); // already enabled: the period goes on
  Clock_Advance_Us(3 * Grid - 1);
  EXPECT_EQ(Pump(), 0);
  Clock_Advance_Us(1);
  EXPECT_EQ(Pump(), 1);
  EXPECT_EQ(ticks, 1);
}

TEST_F(Timers, Disabling_And_Enabling_Restarts_The_Period) {
  int ticks = 0;
  Platform_Timer t("wait", 100, [&] { ++ticks; });
  t.Set_Enabled(true);
  Clock_Advance_Us(6 * Grid);
  t.Set_Enabled(false);
  t.Set_Enabled(true);
  Clock_Advance_Us(6 * Grid);
  EXPECT_EQ(Pump(), 0);
  Clock_Advance_Us(Grid);
  EXPECT_EQ(Pump(), 1);
}

TEST_F(Timers, A_Changed_Interval_Restarts_The_Period_The_Same_Interval_Does_Not) {
  int ticks = 0;
  Platform_Timer t("wait", 100, [&] { ++ticks; });
  t.Set_Enabled(true);
  Clock_Advance_Us(6 * Grid);
  t.Set_Interval(100); // unchanged: still due one step later
  Clock_Advance_Us(Grid);
  EXPECT_EQ(Pump(), 1);
  Clock_Advance_Us(6 * Grid);
  t.Set_Interval(50); // 4 steps from now
  Clock_Advance_Us(3 * Grid);
  EXPECT_EQ(Pump(), 0);
  Clock_Advance_Us(Grid);
  EXPECT_EQ(Pump(), 1);
  EXPECT_EQ(ticks, 2);
}

TEST_F(Timers, A_Late_Tick_Is_One_Tick_And_Missed_Periods_Are_Not_Made_Up) {
  int ticks = 0;
  Platform_Timer t("drift", 1, [&] { ++ticks; });
  t.Set_Enabled(true);
  Clock_Advance_Us(50 * Grid); // the loop was busy for 50 periods
  EXPECT_EQ(Pump(), 1);
  EXPECT_EQ(Pump(), 0);
  Clock_Advance_Us(Grid); // the next expiry after delivery
  EXPECT_EQ(Pump(), 1);
  EXPECT_EQ(ticks, 2);
}

TEST_F(Timers, Ticks_Wait_While_Posted_Messages_Wait_One_Tick_Per_Take) {
  Window_Handle w = Window_New_Handle();
  std::vector<uint32_t> order;
  Window_Set_Proc(w, [&](const Window_Message& m) {
    order.push_back(m.Message);
    return intptr_t{0};
  });
  Platform_Timer a("a", 1, [&] { order.push_back(1); });
  Platform_Timer b("b", 1, [&] { order.push_back(2); });
  a.Set_Enabled(true);
  b.Set_Enabled(true);
  Clock_Advance_Us(Grid);
  Post_Message(w, WM_KEYDOWN, 65);
  Post_Message(w, WM_KEYUP, 65);
  Window_Message m;
  // Each take is one message: first both posted ones, then one tick at a time.
  for (int i = 0; i < 4; ++i) {
    ASSERT_TRUE(Peek_Message(m));
    Dispatch_Message(m);
  }
  EXPECT_FALSE(Peek_Message(m));
  EXPECT_EQ(order, (std::vector<uint32_t>{WM_KEYDOWN, WM_KEYUP, 1, 2}));
  Window_Remove(w);
}

TEST_F(Timers, Window_Timer_Arrives_As_WM_TIMER_With_Its_Id) {
  Window_Handle w = Window_New_Handle();
  std::vector<uintptr_t> ids;
  Window_Set_Proc(w, [&](const Window_Message& m) {
    if (m.Message == WM_TIMER) ids.push_back(m.WParam);
    return intptr_t{0};
  });
  Window_Set_Timer(w, 1, 1000);
  Run_For(2'000'000, 5000);
  Window_Kill_Timer(w, 1);
  Run_For(2'000'000, 5000);
  EXPECT_EQ(ids, (std::vector<uintptr_t>{1, 1}));
  Window_Remove(w);
}

TEST_F(Timers, Get_Message_On_The_Virtual_Clock_Jumps_To_The_Next_Tick) {
  int ticks = 0;
  Platform_Timer t("slow", 1000, [&] { ++ticks; });
  t.Set_Enabled(true);
  uint64_t start = Clock_Now_Us();
  Window_Message m;
  ASSERT_TRUE(Get_Message(m));
  Dispatch_Message(m);
  EXPECT_EQ(ticks, 1);
  EXPECT_EQ(Clock_Now_Us() - start, 64 * Grid);
}

TEST_F(Timers, Key_State_Follows_Key_Messages_As_They_Are_Taken) {
  Post_Message(0, WM_SYSKEYDOWN, 18);
  Window_Message m;
  EXPECT_FALSE(Key_State_Down(18));
  ASSERT_TRUE(Peek_Message(m));
  EXPECT_TRUE(Key_State_Down(18));
  Post_Message(0, WM_SYSKEYUP, 18);
  ASSERT_TRUE(Peek_Message(m));
  EXPECT_FALSE(Key_State_Down(18));
}

} // namespace
