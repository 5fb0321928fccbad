// The keyboard commands: what keyboard control off leaves working, the order
// of a skin step and a style swap pressed together, tunnel stop and resume,
// the clock keys, the held adjustments and the credits chord.
#include "glowsaver/director/Changers_Unit.h"
#include "glowsaver/director/FullTimersUnit.h"
#include "glowsaver/host/ALL_Variables.h"
#include "glowsaver/host/Host_State.h"
#include "glowsaver/host/Keys_Unit.h"
#include "glowsaver/host/Random_Unit.h"
#include "platform/Platform_Clock.h"
#include "platform/Platform_Messages.h"

#include <gtest/gtest.h>

#include "Show_Fixture.h"

#include <initializer_list>
#include <memory>
#include <vector>

namespace {


class Keys : public Show_Fixture {
 protected:
  // Moves the clock `steps` grid steps, taking and dispatching every message after each.
  void Run_Grid_Steps(int steps) {
    for (int i = 0; i < steps; ++i) {
      Run_Grid_Step();
    }
  }
  static void Hold(std::initializer_list<uint8_t> keys) {
    for (uint8_t k : keys) All.Keys[k] = True32;
  }
};

// The values any command could change, to see that nothing did.
std::vector<double> Command_State(const TFULL_Timers_Form& f) {
  const auto& s = All;
  std::vector<double> v = {
      s.Tunnel_Speed, s.Tunnel_Velocity, s.Far_Param, s.V_Coord, s.X_Collapse, s.Y_Collapse,
      s.TexCoord2f_Sshift, s.Help_Panel_Alpha, s.Help_Panel_X, s.Help_Panel_Y, s.Help_Panel_Size,
      s.Help_Panel_Tex_Scale, static_cast<double>(s.Current_Skin), s.Blend_Alpha, s.Style_Morph,
      static_cast<double>(s.Tunnel_Texture_A), static_cast<double>(s.Tunnel_Texture_B)};
  for (bool32 b : {s.Skin_Blend_Idle, s.Style_Blend_Idle, s.Draw_Style2_A, s.UFO_Flying, s.UFO_Hidden_Toggle,
                   s.TexGen_S_On, s.TexGen_T_On, s.Help_Toggle, s.Help_Key_Ready, s.Time_Toggle,
                   s.Time_Key_Ready, s.FPS_Toggle, s.FPS_Key_Ready, s.Date_Hidden, s.Auto_Drift_Armed,
                   s.Credits_Mode, s.Key_Event})
    v.push_back(b);
  for (const Platform_Timer* t : {&f.Angle_Speed_Timer, &f.Angle_by_TrackBarSpeed_Timer, &f.FluentTexturesBLENDER_Timer,
                                  &f.FluentTunStyleChanger_Timer, &f.Start_Texx_S_Timer})
    v.push_back(t->Enabled());
  for (bool32 k : s.Keys) v.push_back(k);
  return v;
}

TEST_F(Keys, Keyboard_Control_Off_Only_F5_Captures_The_Wallpaper) {
  auto& s = All;
  s.Keyboard_Control = False32;
  Hold({116});
  Process_Keys_Once(0);
  EXPECT_TRUE(s.Wallpaper_Requested);
  ASSERT_NE(s.Wallpaper_Bitmap, nullptr);
  EXPECT_GT(s.Wallpaper_Bitmap->Width, 0);
}

TEST_F(Keys, Keyboard_Control_Off_Every_Other_Command_Is_A_No_Op) {
  struct Case {
    const char* Name;
    uint8_t Pressed;               // code passed to Process_Keys_Once (0: only the held keys)
    std::vector<uint8_t> Held;     // keys down in Keys during both handlers
  } cases[] = {
      {"Enter: skin step", 13, {}},          {"Backspace: skin step back", 8, {}},
      {"numeric plus: style swap", 107, {}}, {"End: tunnel stop", 35, {}},
      {"Insert: tunnel reset", 45, {}},      {"U: UFO", 85, {}},
      {"S: texture generation", 83, {}},     {"0: stretch reset", 48, {}},
      {"F1: help", 112, {}},                 {"T: clock without date", 84, {}},
      {"F: frame rate", 70, {}},             {"Up held: faster, drifts stop", 0, {38}},
      {"Page Up held: panel opacity", 0, {33}}, {"[ held: ring spacing", 0, {219}},
      {"1 held: narrowing", 0, {49}},        {"Ctrl+Shift+1+4: credits", 0, {17, 16, 49, 52}},
  };
  for (const auto& c : cases) {
    TearDown();
    SetUp();
    auto& s = All;
    s.Keyboard_Control = False32;
    s.Auto_Drift_Armed = True32;
    Form->Angle_Speed_Timer.Set_Enabled(true);
    for (uint8_t k : c.Held) s.Keys[k] = True32;
    const auto before = Command_State(*Form);
    Process_Keys_Once(c.Pressed);
    Process_Held_Keys();
    EXPECT_EQ(Command_State(*Form), before) << c.Name;
    EXPECT_FALSE(s.Wallpaper_Requested) << c.Name;
  }
}

TEST_F(Keys, Keyboard_Control_Off_The_Directors_Presses_Do_Nothing) {
  auto& s = All;
  s.Keyboard_Control = False32;
  Form->AllTexturesChanger_Timer.Set_Interval(100);
  Form->AllTexturesChanger_Timer.Set_Enabled(true);
  Form->AllStylesChanger_Timer.Set_Interval(100);
  Form->AllStylesChanger_Timer.Set_Enabled(true);
  Run_Grid_Steps(8); // both changers have ticked once
  EXPECT_EQ(s.Current_Skin, 1);
  EXPECT_TRUE(s.Skin_Blend_Idle);
  EXPECT_TRUE(s.Style_Blend_Idle);
  EXPECT_FALSE(Form->FluentTexturesBLENDER_Timer.Enabled());
  EXPECT_FALSE(Form->FluentTunStyleChanger_Timer.Enabled());
  EXPECT_FLOAT_EQ(s.Style_Morph, 1.15f);
  // The skin changer goes on ticking for the whole run, the style changer waits for a swap.
  EXPECT_TRUE(Form->AllTexturesChanger_Timer.Enabled());
  EXPECT_FALSE(Form->AllStylesChanger_Timer.Enabled());
}

TEST_F(Keys, Enter_With_A_Style_Key_Steps_The_Skin_And_Refuses_The_Swap) {
  for (uint8_t style_key : {107, 220, 191, 111}) {
    TearDown();
    SetUp();
    auto& s = All;
    Hold({13, style_key});
    Process_Keys_Once(0);
    EXPECT_FALSE(s.Skin_Blend_Idle) << int(style_key);
    EXPECT_EQ(s.Current_Skin, 2) << int(style_key);
    EXPECT_TRUE(Form->FluentTexturesBLENDER_Timer.Enabled()) << int(style_key);
    EXPECT_TRUE(s.Style_Blend_Idle) << int(style_key);
    EXPECT_FALSE(Form->FluentTunStyleChanger_Timer.Enabled()) << int(style_key);
    EXPECT_FALSE(s.Draw_Style2_A) << int(style_key);
  }
}

TEST_F(Keys, A_Simulated_Key_Is_Released_And_The_Key_Event_Taken) {
  auto& s = All;
  Process_Keys_Once(13);
  EXPECT_FALSE(s.Keys[13]);
  EXPECT_FALSE(s.Key_Event);
}

TEST_F(Keys, End_Stops_And_Home_Resumes_The_Tunnel_Travel) {
  // The travel timer is the one the velocity setting chooses; End stops it
  // either way and Home never starts the other one as well.
  struct Case {
    const char* Name;
    bool32 Random_Velocities;
    Platform_Timer TFULL_Timers_Form::* Travel;
    Platform_Timer TFULL_Timers_Form::* Other;
  } cases[] = {
      {"random velocities", True32, &TFULL_Timers_Form::Angle_Speed_Timer,
       &TFULL_Timers_Form::Angle_by_TrackBarSpeed_Timer},
      {"the velocity of the slider", False32, &TFULL_Timers_Form::Angle_by_TrackBarSpeed_Timer,
       &TFULL_Timers_Form::Angle_Speed_Timer},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TearDown();
    SetUp();
    auto& s = All;
    s.Random_Velocities = c.Random_Velocities;
    s.Tunnel_Speed = 0.5f;
    s.Tunnel_Velocity = 0.5f;
    Platform_Timer& travel = (*Form).*c.Travel;
    Platform_Timer& other = (*Form).*c.Other;
    travel.Set_Enabled(true);
    Process_Keys_Once(35);
    EXPECT_FALSE(travel.Enabled());
    const float phase = s.Tunnel_Phase;
    Run_Grid_Steps(10);
    EXPECT_EQ(s.Tunnel_Phase, phase);
    Process_Keys_Once(36);
    EXPECT_TRUE(travel.Enabled());
    EXPECT_FALSE(other.Enabled());
    Run_Grid_Steps(10);
    EXPECT_GT(s.Tunnel_Phase, phase);
  }
}

TEST_F(Keys, D_Shows_The_Clock_With_The_Date_T_Without_And_Either_Hides_It) {
  auto& s = All;
  Process_Keys_Once(84); // T
  EXPECT_TRUE(s.Time_Toggle);
  EXPECT_TRUE(s.Date_Hidden);
  EXPECT_FALSE(s.Time_Key_Ready);
  EXPECT_FALSE(s.Keys[84]);
  EXPECT_FALSE(s.Keys[68]); // D, pressed instead of T, is released too
  Process_Keys_Once(68);    // D while the slide runs: refused
  EXPECT_TRUE(s.Time_Toggle);
  Process_Keys_Once(84);    // T forces the ready flag: hides the clock
  EXPECT_FALSE(s.Time_Toggle);
  s.Time_Key_Ready = True32; // the slide ended
  Process_Keys_Once(68);
  EXPECT_TRUE(s.Time_Toggle);
  EXPECT_FALSE(s.Date_Hidden);
}

TEST_F(Keys, One_Shot_Toggles) {
  auto& s = All;
  Process_Keys_Once(85);
  EXPECT_TRUE(s.UFO_Hidden_Toggle);
  EXPECT_FALSE(s.UFO_Flying);
  Process_Keys_Once(85);
  EXPECT_TRUE(s.UFO_Flying);
  Process_Keys_Once(83);
  EXPECT_TRUE(s.TexGen_S_On);
  EXPECT_FALSE(s.TexGen_T_On);
  Process_Keys_Once(82);
  EXPECT_TRUE(s.TexGen_T_On);
  Process_Keys_Once(112);
  EXPECT_TRUE(s.Help_Toggle);
  EXPECT_FALSE(s.Help_Key_Ready);
  Process_Keys_Once(112); // refused until the slide sets the flag again
  EXPECT_TRUE(s.Help_Toggle);
  Process_Keys_Once(70);
  EXPECT_TRUE(s.FPS_Toggle);
  EXPECT_FALSE(s.FPS_Key_Ready);
}

TEST_F(Keys, First_Up_Stops_The_Texture_Drifts_Once) {
  auto& s = All;
  s.X_Collapse = 15.0f;
  Form->Start_Texx_S_Timer.Set_Enabled(true);
  Hold({38});
  Process_Keys_Once(0);
  EXPECT_FALSE(s.Auto_Drift_Armed);
  EXPECT_FALSE(Form->Start_Texx_S_Timer.Enabled());
  EXPECT_FLOAT_EQ(s.X_Collapse, 12.0f);
  s.X_Collapse = 15.0f;
  Process_Keys_Once(0);
  EXPECT_FLOAT_EQ(s.X_Collapse, 15.0f);
}

TEST_F(Keys, Held_Keys_Adjust_Their_Value) {
  using Field = float All_Variables::*;
  struct Case {
    const char* Name;
    std::vector<uint8_t> Held;
    Field Value;
    float Delta;
  } cases[] = {
      {"Page Down: panel less opaque", {34}, &All_Variables::Help_Panel_Alpha, -0.02f},
      {"Page Up: panel more opaque", {33}, &All_Variables::Help_Panel_Alpha, +0.02f},
      {"Ctrl+Up: panel up", {17, 38}, &All_Variables::Help_Panel_Y, +0.025f},
      {"Ctrl+Down: panel down", {17, 40}, &All_Variables::Help_Panel_Y, -0.025f},
      {"Ctrl+Left: panel left", {17, 37}, &All_Variables::Help_Panel_X, -0.025f},
      {"Ctrl+Right: panel right", {17, 39}, &All_Variables::Help_Panel_X, +0.025f},
      {"Ctrl+Up: speed untouched", {17, 38}, &All_Variables::Tunnel_Speed, 0.0f},
      {"Shift+Left: panel larger", {16, 37}, &All_Variables::Help_Panel_Size, +0.01f},
      {"Shift+Right: panel smaller", {16, 39}, &All_Variables::Help_Panel_Size, -0.01f},
      {"Shift+Left: texture scale untouched", {16, 37}, &All_Variables::Help_Panel_Tex_Scale, 0.0f},
      {"Left: texture scale down", {37}, &All_Variables::Help_Panel_Tex_Scale, -0.02f},
      {"Right: texture scale up", {39}, &All_Variables::Help_Panel_Tex_Scale, +0.02f},
      {"Up: faster", {38}, &All_Variables::Tunnel_Speed, +Angle_Speed_Key_Step},
      {"Down: slower", {40}, &All_Variables::Tunnel_Speed, -Angle_Speed_Key_Step},
      {"[: rings further apart", {219}, &All_Variables::Far_Param, +0.01f},
      {"]: rings closer", {221}, &All_Variables::Far_Param, -0.01f},
      {"-: stretch up", {189}, &All_Variables::V_Coord, +0.0005f},
      {"=: stretch down", {187}, &All_Variables::V_Coord, -0.0005f},
      {",: shift up", {188}, &All_Variables::TexCoord2f_Sshift, +0.00075f},
      {".: shift down", {190}, &All_Variables::TexCoord2f_Sshift, -0.00075f},
      {"1: x divisor up", {49}, &All_Variables::X_Collapse, +0.1f},
      {"2: x divisor down", {50}, &All_Variables::X_Collapse, -0.1f},
      {"3: y divisor up", {51}, &All_Variables::Y_Collapse, +0.1f},
      {"4: y divisor down", {52}, &All_Variables::Y_Collapse, -0.1f},
  };
  for (const auto& c : cases) {
    TearDown();
    SetUp();
    auto& s = All;
    s.Help_Panel_Alpha = 0.5f;
    for (uint8_t k : c.Held) s.Keys[k] = True32;
    const float before = s.*c.Value;
    Process_Held_Keys();
    EXPECT_FLOAT_EQ(s.*c.Value, before + c.Delta) << c.Name;
  }
}

TEST_F(Keys, Panel_Opacity_Stays_Within_0_And_1) {
  auto& s = All;
  s.Help_Panel_Alpha = 0.99f;
  Hold({33});
  Process_Held_Keys();
  EXPECT_EQ(s.Help_Panel_Alpha, 1.0f);
  s.Keys[33] = False32;
  s.Help_Panel_Alpha = 0.01f;
  Hold({34});
  Process_Held_Keys();
  EXPECT_EQ(s.Help_Panel_Alpha, 0.0f);
}

TEST_F(Keys, Up_Sets_The_Velocity_Unless_Velocities_Are_Random) {
  auto& s = All;
  s.Tunnel_Speed = 0.3f;
  s.Tunnel_Velocity = 0.1f;
  Hold({38});
  Process_Held_Keys();
  EXPECT_FLOAT_EQ(s.Tunnel_Velocity, 0.1f);
  s.Random_Velocities = False32;
  Process_Held_Keys();
  EXPECT_FLOAT_EQ(s.Tunnel_Velocity, 0.3f + 2 * Angle_Speed_Key_Step);
}

TEST_F(Keys, Credits_Chord_Freezes_The_Keyboard_But_Not_F5) {
  auto& s = All;
  // Three of the four keys are not the chord.
  const std::vector<uint8_t> chord = {17, 16, 49, 52};
  for (size_t missing = 0; missing < chord.size(); ++missing) {
    s.Keys.fill(False32);
    for (size_t i = 0; i < chord.size(); ++i)
      if (i != missing) s.Keys[chord[i]] = True32;
    Process_Held_Keys();
    EXPECT_FALSE(s.Credits_Mode) << "without key " << int(chord[missing]);
  }
  s.Keys.fill(False32);
  s.X_Collapse = 12.0f;
  Form->Angle_Speed_Timer.Set_Enabled(true);
  Hold({17, 16, 49, 52});
  Process_Held_Keys();
  EXPECT_TRUE(s.Credits_Mode);
  EXPECT_FALSE(Form->Angle_Speed_Timer.Enabled());
  EXPECT_FLOAT_EQ(s.X_Collapse, 12.0f); // the held 1 and 4 did nothing
  s.Keys.fill(False32);
  Hold({38});
  const float speed = s.Tunnel_Speed;
  Process_Held_Keys();
  Process_Keys_Once(13);
  Process_Keys_Once(36);
  EXPECT_EQ(s.Tunnel_Speed, speed);
  EXPECT_TRUE(s.Skin_Blend_Idle);
  EXPECT_FALSE(Form->Angle_Speed_Timer.Enabled());
  EXPECT_TRUE(s.Credits_Mode);
  Hold({116});
  Process_Keys_Once(0);
  EXPECT_TRUE(s.Wallpaper_Requested);
}

} // namespace
