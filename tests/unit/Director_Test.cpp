// The show director on the virtual clock with a fixed seed: the end values and
// end conditions of the drifts, the order of a whole show cycle in each run
// mode, the stop of the texture drifts, and a day-long soak of the
// full-screen show.
#include "glowsaver/director/FullTimersUnit.h"
#include "glowsaver/host/ALL_Variables.h"
#include "glowsaver/host/Random_Unit.h"
#include "platform/Platform_Clock.h"
#include "platform/Platform_Messages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

using Form = TFULL_Timers_Form;
using Timer_Member = Platform_Timer Form::*;

constexpr uint64_t Second_Us = 1'000'000;
constexpr float None = std::numeric_limits<float>::quiet_NaN();

// Every timer of the preset chain, in the order of a show cycle with every
// option on.
const std::vector<Timer_Member> Chain = {
    &Form::StarBurst_Intro_Timer,
    &Form::TunnnelFadeIN_Timer,
    &Form::Wait_before_Preset_00_Timer,
    &Form::Wait_before_Preset_01_Timer,
    &Form::Preset_01_Timer,
    &Form::Wait_before_Preset_02_Timer,
    &Form::Preset_02_Timer,
    &Form::Wait_before_Preset_03_Timer,
    &Form::Preset_03_Timer,
    &Form::Wait_before_Preset_04_Timer,
    &Form::Preset_04_Timer,
    &Form::Wait_before_Preset_05_Timer,
    &Form::Preset_05_Timer,
    &Form::Wait_before_Preset_06_Timer,
    &Form::Preset_06_Timer,
    &Form::Wait_before_Change_Params_01_Timer,
    &Form::Far_Param_Timer_01,
    &Form::Wait_before_Change_Params_02_Timer,
    &Form::Far_Param_Timer_02,
    &Form::Wait_before_Change_Params_03_Timer,
    &Form::V_Coord_Timer_01,
    &Form::Wait_before_Change_Params_04_Timer,
    &Form::V_Coord_Timer_02,
    &Form::Wait_before_Change_Params_05_Timer,
    &Form::X_Collapse_Timer_01,
    &Form::Wait_before_Change_Params_06_Timer,
    &Form::X_Collapse_Timer_02,
    &Form::Wait_before_Change_Params_07_Timer,
    &Form::Y_Collapse_Timer_01,
    &Form::Wait_before_Change_Params_08_Timer,
    &Form::Y_Collapse_Timer_02,
    &Form::Style_Boltanka_Timer_01,
    &Form::Style_Boltanka_Timer_Waiter_01,
    &Form::Style_Boltanka_Timer_02,
    &Form::Style_Boltanka_Timer_Waiter_02,
    &Form::Style_Boltanka_Timer_03,
    &Form::Start_Texx_S_Timer,
    &Form::Wait_before_Change_Texx_01_Timer,
    &Form::Start_Texx_T_Timer,
    &Form::Wait_before_Change_V_Coord_Timer_01,
    &Form::V_Coord_Timer_011,
    &Form::Wait_before_Change_V_Coord_Timer_02,
    &Form::V_Coord_Timer_012,
    &Form::Wait_before_TexCoord2f_Sshift_Timer_01,
    &Form::TexCoord2f_Sshift_Timer_01,
    &Form::TexCoord2f_Sshift_Timer_02,
    &Form::Wait_before_TexCoord2f_Sshift_Timer_02,
    &Form::TexCoord2f_Sshift_Timer_03,
    &Form::TexCoord2f_Sshift_Timer_04,
    &Form::Set_New_texx_Timer,
};

class Director : public ::testing::Test {
 protected:
  std::unique_ptr<Form> F;

  void SetUp() override {
    Clock_Use_Virtual(10 * Timer_Grid_Period_Us);
    Messages_Reset();
    Reset_All_Variables();
    Random_Set_State(20261211);
    F = std::make_unique<Form>();
  }
  void TearDown() override {
    F.reset();
    Messages_Reset();
    Reset_All_Variables();
    Clock_Use_Real();
  }

  // Takes one message, jumping the virtual clock to the next due tick, and
  // dispatches it. False when no timer is left to tick.
  bool Step(Window_Message& m) {
    if (!Get_Message(m)) return false;
    Dispatch_Message(m);
    return true;
  }
  // Steps until `done` holds or `budget_us` of simulated time has passed.
  bool Run_Until(const std::function<bool()>& done, uint64_t budget_us) {
    uint64_t end = Clock_Now_Us() + budget_us;
    Window_Message m;
    while (!done()) {
      if (Clock_Now_Us() >= end || !Step(m)) return false;
    }
    return true;
  }
  // The names of the chain timers in the order they were switched on.
  struct Chain_Watch {
    std::vector<bool> Was_On = std::vector<bool>(Chain.size(), false);
    std::vector<std::string> Order;
    void Look(Form& f) {
      for (size_t i = 0; i < Chain.size(); ++i) {
        bool on = (f.*Chain[i]).Enabled();
        if (on && !Was_On[i]) Order.push_back((f.*Chain[i]).Name());
        Was_On[i] = on;
      }
    }
  };
  void Full_Screen_Every_Option_On() {
    All.Run_Mode_Fullscreen = True32;
    All.Use_Extra_Layer = True32;
    All.Use_Presets_Cycle = True32;
    All.Use_Special_Effects = True32;
    All.Show_Alien_Objects = True32;
    All.Tunnel_Start_Morphing = True32;
    All.Auto_Skin_Change = True32;
    All.Skins_Quantity = 20;
  }
};

TEST_F(Director, Preset_Pause_Is_The_Setting_Or_Random_5_To_20_Seconds) {
  EXPECT_EQ(Preset_Pause(7000), 7000);
  int32_t lo = 1 << 30, hi = 0;
  for (int i = 0; i < 2000; ++i) {
    int32_t p = Preset_Pause(0);
    lo = std::min(lo, p);
    hi = std::max(hi, p);
  }
  EXPECT_GE(lo, 5000);
  EXPECT_LE(hi, 19999);
  EXPECT_LT(lo, 6000);  // the whole range is used
  EXPECT_GT(hi, 19000);
}

TEST_F(Director, Every_Timer_Starts_Disabled_With_The_Intervals_Of_The_Form) {
  struct Case {
    Timer_Member Timer;
    uint32_t Interval_Ms;
  } cases[] = {
      {&Form::Angle_Speed_Timer, 1},
      {&Form::StarBurst_Intro_Timer, 30},
      {&Form::TunnnelFadeIN_Timer, 25},
      {&Form::Wait_before_Preset_00_Timer, 30},
      {&Form::Wait_before_Preset_01_Timer, 2000},
      {&Form::Preset_04_Timer, 100},
      {&Form::Style_Boltanka_Timer_02, 30},
      {&Form::TexCoord2f_Sshift_Timer_03, 1},
      {&Form::Set_New_texx_Timer, 1000},
      {&Form::AllTexturesChanger_Timer, 4000},
      {&Form::FluentTunStyleChanger_Timer, 1},
      {&Form::Blob_wait_Timer, 3000},
      {&Form::ParticleZ_Timer, 30},
      {&Form::JG_Step_Timer, 1},
      {&Form::Timer_UFO_Change, 1000},
      {&Form::Resolution_Out_Timer, 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ((F.get()->*c.Timer).Interval(), c.Interval_Ms) << (F.get()->*c.Timer).Name();
    EXPECT_FALSE((F.get()->*c.Timer).Enabled()) << (F.get()->*c.Timer).Name();
  }
  for (Timer_Member t : Chain) EXPECT_FALSE((F.get()->*t).Enabled()) << (F.get()->*t).Name();
}

TEST_F(Director, A_1_Ms_Tunnel_Timer_Ticks_At_Most_64_Times_In_One_Second) {
  All.Tunnel_Speed = 1.0f;
  F->Angle_Speed_Timer.Set_Enabled(true);
  Window_Message m;
  for (uint64_t t = 0; t < Second_Us; t += 250) {
    Clock_Advance_Us(250);
    while (Peek_Message(m)) Dispatch_Message(m);
  }
  EXPECT_EQ(All.Tunnel_Phase, 64.0f);
}

// One drift, started at its wait timer (or directly), run until it ends.
struct Drift_Case {
  const char* Name;
  std::function<void(Form&)> Start;
  Timer_Member Drift;
  float* Value;
  float End_Min, End_Max;      // the value when the drift has ended (equal: exact)
  float Reach_Max, Reach_Min;  // a turning point the value must reach on the way (NaN: none)
  float Reach_Tolerance;       // how far beyond the turning point one step may go
  int Ticks;                   // exact number of drift ticks (0: not checked)
  Timer_Member Next;           // the timer the end enables
};

TEST_F(Director, Each_Drift_Ends_With_Its_Exact_Value_After_Its_End_Condition) {
  const Drift_Case cases[] = {
      {"Wait_before_Preset_00 eases V_Coord from 0.8 to exactly 1.0",
       [](Form& f) {
         All.Run_Mode_Fullscreen = True32;
         f.Wait_before_Preset_00_Timer.Set_Enabled(true);
       },
       &Form::Wait_before_Preset_00_Timer, &All.V_Coord, 1.0f, 1.0f, None, None, 0, 0,
       &Form::Wait_before_Preset_01_Timer},
      {"preset 02 ends at exactly 0.05 however far it overshot zero",
       [](Form& f) {
         All.Tunnel_Speed = -0.39f;
         f.Preset_Step = 0.02f;
         f.Preset_02_Timer.Set_Enabled(true);
       },
       &Form::Preset_02_Timer, &All.Tunnel_Speed, 0.05f, 0.05f, None, None, 0, 20, &Form::Wait_before_Preset_03_Timer},
      {"preset 04 down from a positive speed ends at exactly 0.02",
       [](Form& f) {
         All.Tunnel_Speed = 0.4525f;
         f.Wait_before_Preset_04_Timer.Set_Enabled(true);
       },
       &Form::Preset_04_Timer, &All.Tunnel_Speed, 0.02f, 0.02f, None, None, 0, 46, &Form::Wait_before_Preset_05_Timer},
      {"preset 04 up from a negative speed ends at exactly 0.02",
       [](Form& f) {
         All.Tunnel_Speed = -0.31f;
         f.Wait_before_Preset_04_Timer.Set_Enabled(true);
       },
       &Form::Preset_04_Timer, &All.Tunnel_Speed, 0.02f, 0.02f, None, None, 0, 16, &Form::Wait_before_Preset_05_Timer},
      {"preset 06 ends on its first tick with a cruising speed of 0.25 .. 0.5",
       [](Form& f) {
         All.Tunnel_Speed = 0.3025f;
         f.Wait_before_Preset_06_Timer.Set_Enabled(true);
       },
       &Form::Preset_06_Timer, &All.Tunnel_Speed, 0.25f, 0.5f, None, None, 0, 1,
       &Form::Wait_before_Change_Params_01_Timer},
      {"depth spacing shrinks to 0.09", [](Form& f) { f.Wait_before_Change_Params_01_Timer.Set_Enabled(true); },
       &Form::Far_Param_Timer_01, &All.Far_Param, 0.08f, 0.09f, None, None, 0, 0,
       &Form::Wait_before_Change_Params_02_Timer},
      {"depth spacing ends at 0.85 only after reaching 3.5, despite an earlier turn",
       [](Form& f) {
         All.Far_Param = 0.09f;
         f.Drift_Turned = true;  // left over from an earlier two-phase drift
         f.Wait_before_Change_Params_02_Timer.Set_Enabled(true);
       },
       &Form::Far_Param_Timer_02, &All.Far_Param, 0.85f, 0.85f, 3.5f, None, 0.011f, 0,
       &Form::Wait_before_Change_Params_05_Timer},
      {"with special effects the depth drift leads to the V dip",
       [](Form& f) {
         All.Far_Param = 0.09f;
         All.Use_Special_Effects = True32;
         f.Wait_before_Change_Params_02_Timer.Set_Enabled(true);
       },
       &Form::Far_Param_Timer_02, &All.Far_Param, 0.85f, 0.85f, 3.5f, None, 0.011f, 0,
       &Form::Wait_before_Change_Params_03_Timer},
      {"V dip turns at 0.97 and ends at exactly 1.0",
       [](Form& f) { f.Wait_before_Change_Params_03_Timer.Set_Enabled(true); }, &Form::V_Coord_Timer_01, &All.V_Coord,
       1.0f, 1.0f, None, 0.97f, 0.0008f, 0, &Form::Wait_before_Change_Params_04_Timer},
      {"V hump turns at 1.03 and ends at exactly 1.0",
       [](Form& f) { f.Wait_before_Change_Params_04_Timer.Set_Enabled(true); }, &Form::V_Coord_Timer_02, &All.V_Coord,
       1.0f, 1.0f, 1.03f, None, 0.0008f, 0, &Form::Wait_before_Change_Params_05_Timer},
      {"X narrowing climbs from 12 to 16, then stops at exactly 6",
       [](Form& f) { f.Wait_before_Change_Params_05_Timer.Set_Enabled(true); }, &Form::X_Collapse_Timer_01,
       &All.X_Collapse, 6.0f, 6.0f, 16.0f, None, 0.051f, 0, &Form::Wait_before_Change_Params_06_Timer},
      {"X narrowing returns from 6 to exactly 12",
       [](Form& f) {
         All.X_Collapse = 6.0f;
         f.Wait_before_Change_Params_06_Timer.Set_Enabled(true);
       },
       &Form::X_Collapse_Timer_02, &All.X_Collapse, 12.0f, 12.0f, None, None, 0, 0,
       &Form::Wait_before_Change_Params_07_Timer},
      {"Y narrowing returns at step 0.1 to exactly 12, then the cycle ends",
       [](Form& f) {
         All.Y_Collapse = 6.0f;
         f.Wait_before_Change_Params_08_Timer.Set_Enabled(true);
       },
       &Form::Y_Collapse_Timer_02, &All.Y_Collapse, 12.0f, 12.0f, None, None, 0, 60, &Form::Set_New_texx_Timer},
      {"second V hump grows the depth spacing on its fall, at most 1.5",
       [](Form& f) {
         All.V_Coord = 1.0f;  // where the dip before it ended
         All.Far_Param = 1.45f;
         f.Wait_before_Change_V_Coord_Timer_02.Set_Enabled(true);
       },
       &Form::V_Coord_Timer_012, &All.V_Coord, 1.0f, 1.0f, 1.03f, None, 0.0008f, 0,
       &Form::Wait_before_TexCoord2f_Sshift_Timer_01},
      {"texture shift climbs to 0.6 and returns to exactly 0",
       [](Form& f) { f.Wait_before_TexCoord2f_Sshift_Timer_01.Set_Enabled(true); }, &Form::TexCoord2f_Sshift_Timer_02,
       &All.TexCoord2f_Sshift, 0.0f, 0.0f, 0.6f, None, 0.001f, 0, &Form::Wait_before_TexCoord2f_Sshift_Timer_02},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TearDown();
    SetUp();
    Form& f = *F;
    c.Start(f);
    float lo = std::numeric_limits<float>::infinity(), hi = -lo;
    bool started = false;
    int ticks = 0;
    Window_Message m;
    uint64_t end = Clock_Now_Us() + 3600 * Second_Us;
    while (!(started && !(f.*c.Drift).Enabled()) && Clock_Now_Us() < end && Step(m)) {
      if (m.Window == (f.*c.Drift).Handle()) ++ticks;
      started = started || (f.*c.Drift).Enabled();
      if ((f.*c.Drift).Enabled()) {
        lo = std::min(lo, *c.Value);
        hi = std::max(hi, *c.Value);
      }
    }
    ASSERT_TRUE(started && !(f.*c.Drift).Enabled()) << "the drift did not end";
    if (c.End_Min == c.End_Max) {
      EXPECT_EQ(*c.Value, c.End_Min);
    } else {
      EXPECT_GE(*c.Value, c.End_Min);
      EXPECT_LE(*c.Value, c.End_Max);
    }
    if (!std::isnan(c.Reach_Max)) {
      EXPECT_GE(hi, c.Reach_Max);
      EXPECT_LE(hi, c.Reach_Max + c.Reach_Tolerance);
    }
    if (!std::isnan(c.Reach_Min)) {
      EXPECT_LE(lo, c.Reach_Min);
      EXPECT_GE(lo, c.Reach_Min - c.Reach_Tolerance);
    }
    if (c.Ticks) {
      EXPECT_EQ(ticks, c.Ticks);
    }
    EXPECT_TRUE((f.*c.Next).Enabled()) << (f.*c.Next).Name();
    if (c.Drift == &Form::V_Coord_Timer_012) {
      EXPECT_EQ(All.Far_Param, 1.5f);
    }
  }
}

TEST_F(Director, The_Intro_And_The_Random_Steps_Keep_Their_Bounds) {
  // Wait_before_Preset_01: abs(Gauss(0.01)) + 0.01 lies in [0.01, 0.02].
  for (int i = 0; i < 500; ++i) {
    F->Wait_before_Preset_01_TimerTimer();
    ASSERT_GE(F->Preset_Step, 0.01f);
    ASSERT_LE(F->Preset_Step, 0.02f);
  }
  // Chain pauses without a preset interval: random 5 .. 20 s plus the step's extra.
  F->Preset_03_TimerTimer();
  All.Tunnel_Speed = 0.45f;
  F->Preset_03_TimerTimer();
  EXPECT_GE(F->Wait_before_Preset_04_Timer.Interval(), 10000u);
  EXPECT_LE(F->Wait_before_Preset_04_Timer.Interval(), 24999u);
  All.Presets_Change_Interval_Ms = 7000;
  F->Preset_05_Timer.Set_Enabled(true);
  All.Tunnel_Speed = 0.3f;
  F->Preset_05_TimerTimer();
  EXPECT_EQ(F->Wait_before_Preset_06_Timer.Interval(), 9000u);
}

// A show cycle: which chain timers come on, in which order.
struct Cycle_Case {
  const char* Name;
  std::function<void()> Options;
  std::vector<Timer_Member> Expected;  // ends with the first timer again when the cycle repeats
};

TEST_F(Director, A_Show_Cycle_Passes_Its_Steps_In_Order) {
  std::vector<Timer_Member> every_step = Chain;
  every_step.push_back(&Form::StarBurst_Intro_Timer);
  std::vector<Timer_Member> no_effects;
  for (Timer_Member t : Chain) {
    no_effects.push_back(t);
    if (t == &Form::Far_Param_Timer_02) break;
  }
  for (Timer_Member t : {&Form::Wait_before_Change_Params_05_Timer, &Form::X_Collapse_Timer_01,
                         &Form::Wait_before_Change_Params_06_Timer, &Form::X_Collapse_Timer_02,
                         &Form::Wait_before_Change_Params_07_Timer, &Form::Y_Collapse_Timer_01,
                         &Form::Wait_before_Change_Params_08_Timer, &Form::Y_Collapse_Timer_02,
                         &Form::Set_New_texx_Timer, &Form::StarBurst_Intro_Timer})
    no_effects.push_back(t);
  std::vector<Timer_Member> preview_steps(Chain.begin() + 3, Chain.end());
  preview_steps.push_back(&Form::TunnnelFadeIN_Timer);
  preview_steps.push_back(&Form::Wait_before_Preset_01_Timer);

  const Cycle_Case cases[] = {
      {"full screen, every option on: all steps, then Start_Show again", [this] { Full_Screen_Every_Option_On(); },
       every_step},
      {"full screen without special effects: no V, texture repeat, generation or shift steps",
       [this] {
         Full_Screen_Every_Option_On();
         All.Use_Special_Effects = False32;
       },
       no_effects},
      {"full screen without the presets cycle stops after the first wait",
       [this] {
         Full_Screen_Every_Option_On();
         All.Use_Presets_Cycle = False32;
       },
       {&Form::StarBurst_Intro_Timer, &Form::TunnnelFadeIN_Timer, &Form::Wait_before_Preset_00_Timer}},
      {"preview: the chain begins at preset 01 and the next cycle at the short fade-in",
       [] {
         All.Run_Mode_Preview = True32;
         All.Use_Extra_Layer = False32;
         All.Use_Special_Effects = True32;
       },
       preview_steps},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TearDown();
    SetUp();
    c.Options();
    Form& f = *F;
    Chain_Watch watch;
    if (All.Run_Mode_Fullscreen)
      f.Start_Show();
    else
      f.Start_Cycles();
    watch.Look(f);
    std::vector<std::string> expected;
    for (Timer_Member t : c.Expected) expected.push_back((f.*t).Name());
    Window_Message m;
    uint64_t end = Clock_Now_Us() + 3 * 3600 * Second_Us;
    while (watch.Order.size() < expected.size() && Clock_Now_Us() < end && Step(m)) watch.Look(f);
    // Nothing further comes on while the loop would have stopped.
    if (watch.Order.size() == expected.size() && expected.size() == 3) {
      Run_Until([] { return false; }, 3600 * Second_Us);
      watch.Look(f);
      EXPECT_TRUE(f.Timer_UFO_START.Enabled()) << "the first UFO flight is armed";
      EXPECT_TRUE(f.AllTexturesChanger_Timer.Enabled()) << "the changers go on";
    }
    EXPECT_EQ(watch.Order, expected);
  }
}

TEST_F(Director, The_Intro_Raises_The_Disc_Then_The_Fade_In_Hands_Over_To_The_Tunnel) {
  Full_Screen_Every_Option_On();
  F->Start_Show();
  EXPECT_TRUE(All.Jump_Gate_On);
  EXPECT_TRUE(F->JG_Step_Timer.Enabled());
  ASSERT_TRUE(Run_Until([&] { return F->TunnnelFadeIN_Timer.Enabled(); }, 60 * Second_Us));
  EXPECT_EQ(All.StarBurst_Color_G, 255);
  EXPECT_EQ(All.StarBurst_Color_R, 255);
  EXPECT_FALSE(All.Intro_Finished);
  ASSERT_TRUE(Run_Until([&] { return F->Wait_before_Preset_00_Timer.Enabled(); }, 60 * Second_Us));
  EXPECT_EQ(All.Tunnel_Color_R, 255);
  EXPECT_EQ(All.Tunnel_Color_G, 255);
  EXPECT_EQ(All.Tunnel_Color_B, 255);
  EXPECT_EQ(All.StarBurst_Color_G, 0);
  EXPECT_EQ(All.StarBurst_Color_R, 0);
  EXPECT_FALSE(All.Tunnel_Tinted);
  EXPECT_TRUE(All.Intro_Finished);
  EXPECT_FALSE(F->TunnnelFadeIN_Timer.Enabled());
  // The start-up choices were used once.
  EXPECT_FALSE(All.Show_Time_Overlay);
  EXPECT_GE(F->AllTexturesChanger_Timer.Interval(), 7000u);
  EXPECT_LE(F->AllTexturesChanger_Timer.Interval(), 11999u);
  EXPECT_GE(F->AllStylesChanger_Timer.Interval(), 195000u);
  EXPECT_LE(F->AllStylesChanger_Timer.Interval(), 209999u);
}

TEST_F(Director, The_First_Wait_Arms_The_First_UFO_Flight_Only_With_Alien_Objects) {
  for (bool32 aliens : {True32, False32}) {
    SCOPED_TRACE(aliens ? "alien objects on" : "alien objects off");
    TearDown();
    SetUp();
    All.Run_Mode_Fullscreen = True32;
    All.Show_Alien_Objects = aliens;
    F->Wait_before_Preset_00_Timer.Set_Enabled(true);
    ASSERT_TRUE(Run_Until([&] { return !F->Wait_before_Preset_00_Timer.Enabled(); }, 60 * Second_Us));
    EXPECT_EQ(F->Timer_UFO_START.Enabled(), bool(aliens));
    if (aliens) {
      EXPECT_GE(F->Timer_UFO_START.Interval(), 15000u);
      EXPECT_LE(F->Timer_UFO_START.Interval(), 44999u);
    }
  }
}

TEST_F(Director, Start_Cycles_For_Each_Run_Mode) {
  struct Case {
    const char* Name;
    bool32 All_Variables::*Mode;
    uint32_t Interval_Min, Interval_Max;  // of Wait_before_Preset_01_Timer
    float V_Coord;
  } cases[] = {
      {"preview: a short random wait", &All_Variables::Run_Mode_Preview, 1000, 5998, 0.8f},
      {"settings: the form's wait, V_Coord at 1", &All_Variables::Run_Mode_Settings, 2000, 2000, 1.0f},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TearDown();
    SetUp();
    All.*c.Mode = True32;
    All.Skins_Quantity = 1;
    F->Start_Cycles();
    EXPECT_FALSE(All.Auto_Skin_Change);
    EXPECT_TRUE(F->Wait_before_Preset_01_Timer.Enabled());
    EXPECT_GE(F->Wait_before_Preset_01_Timer.Interval(), c.Interval_Min);
    EXPECT_LE(F->Wait_before_Preset_01_Timer.Interval(), c.Interval_Max);
    EXPECT_EQ(All.V_Coord, c.V_Coord);
    EXPECT_FALSE(F->Wait_before_Preset_00_Timer.Enabled());
    EXPECT_FALSE(F->AllTexturesChanger_Timer.Enabled());
  }
}

TEST_F(Director, Stop_Texture_Drifts_Ends_Only_The_Late_Steps) {
  struct Case {
    const char* Name;
    Timer_Member Running;
    bool Reset_Speed;
    bool Chain_Goes_On;
    float Speed_After;
  } cases[] = {
      {"during the second V dip the cycle ends, speed reset", &Form::V_Coord_Timer_011, true, false, 0.3f},
      {"during the texture shift the cycle ends, speed kept", &Form::TexCoord2f_Sshift_Timer_03, false, false, 0.7f},
      {"during preset 01 the chain goes on", &Form::Preset_01_Timer, false, true, 0.7f},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TearDown();
    SetUp();
    Full_Screen_Every_Option_On();
    All.Tunnel_Speed = 0.7f;
    All.TexCoord2f_Sshift = -0.2f;
    All.X_Collapse = 7.0f;
    All.TexGen_S_On = True32;
    All.Auto_Drift_Armed = False32;
    F->Preset_Step = 0.001f;
    (F.get()->*c.Running).Set_Enabled(true);
    F->Stop_Texture_Drifts(c.Reset_Speed);
    EXPECT_TRUE(All.Auto_Drift_Armed);
    EXPECT_EQ(All.Tunnel_Speed, c.Speed_After);
    EXPECT_EQ(All.TexCoord2f_Sshift, 0.0f);
    EXPECT_EQ(All.X_Collapse, 12.0f);
    EXPECT_EQ(All.V_Coord, 1.0f);
    EXPECT_FALSE(All.TexGen_S_On);
    EXPECT_EQ((F.get()->*c.Running).Enabled(), c.Chain_Goes_On);
    bool next_cycle = Run_Until([&] { return F->Set_New_texx_Timer.Enabled(); }, 2 * 3600 * Second_Us);
    EXPECT_EQ(next_cycle, c.Chain_Goes_On);
  }
}

TEST_F(Director, A_Day_Of_The_Full_Screen_Show_Stays_In_Bounds) {
  Full_Screen_Every_Option_On();
  Form& f = *F;
  std::unordered_map<Window_Handle, Platform_Timer*> chain_by_window;
  for (Timer_Member t : Chain) chain_by_window[(f.*t).Handle()] = &(f.*t);
  f.Start_Show();
  const uint64_t end = Clock_Now_Us() + 24ull * 3600 * Second_Us;
  int cycles = 0;
  int steps_ended = 0;
  Window_Message m;
  while (Clock_Now_Us() < end) {
    ASSERT_TRUE(Step(m));
    auto& s = All;
    ASSERT_GE(s.Tunnel_Speed, -0.43f);
    ASSERT_LE(s.Tunnel_Speed, cycles ? 0.56f : 1.0f);  // 1.0 until preset 01
    ASSERT_GE(s.Far_Param, 0.08f);
    ASSERT_LE(s.Far_Param, 3.52f);
    ASSERT_GE(s.V_Coord, 0.8f);
    ASSERT_LE(s.V_Coord, 1.031f);
    ASSERT_GE(s.X_Collapse, 6.0f);
    ASSERT_LE(s.X_Collapse, 16.06f);
    ASSERT_GE(s.Y_Collapse, 6.0f);
    ASSERT_LE(s.Y_Collapse, 16.06f);
    ASSERT_GE(s.Style_Boltanka, 5.0f);
    ASSERT_LE(s.Style_Boltanka, 92.2f);
    ASSERT_GE(s.TexCoord2f_Sshift, -0.401f);
    ASSERT_LE(s.TexCoord2f_Sshift, 0.601f);
    auto it = chain_by_window.find(m.Window);
    if (it == chain_by_window.end() || it->second->Enabled()) continue;
    // A step has ended: the chain is one strand, exactly one step is next.
    ++steps_ended;
    if (it->second == &f.Set_New_texx_Timer) ++cycles;
    int on = 0;
    for (Timer_Member t : Chain) on += (f.*t).Enabled() ? 1 : 0;
    ASSERT_EQ(on, 1) << "after " << it->second->Name();
  }
  EXPECT_GT(cycles, 50);
  EXPECT_EQ(steps_ended / int(Chain.size()), cycles);  // every cycle ran every step
  EXPECT_EQ(Queued_Message_Count(), 0u);
}

}  // namespace
