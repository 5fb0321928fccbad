// The skin and style changers on the virtual clock with a fixed seed: the
// wrap of the skin number, two fades in a row, the layer flags through a
// style swap and back, the speed factor taken back, the refusal of a second
// start while one runs, and the automatic changers' presses.
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

#include <functional>
#include <memory>

namespace {

// More grid steps than any fade or swap takes (a fade at most 334 ticks, a
// swap at most 15 * 1.15 / 0.04 ticks).
constexpr int Step_Limit = 2000;

class Changers_Fixture : public Show_Fixture {
 protected:
  // Moves the clock one grid step at a time, dispatching every message, until
  // `done` holds; false when it does not within Step_Limit steps.
  bool Run_Until(const std::function<bool()>& done, const std::function<void()>& each_step = {}) {
    for (int i = 0; i < Step_Limit; ++i) {
      if (done()) return true;
      Run_Grid_Step();
      if (each_step) each_step();
    }
    return done();
  }
  static bool Idle() { return All.Skin_Blend_Idle && All.Style_Blend_Idle; }
};

TEST_F(Changers_Fixture, Skin_Step_Wraps_At_Both_Ends) {
  struct Case {
    const char* Name;
    uint8_t Key;
    int32_t From, To;
  } cases[] = {
      {"Enter in the middle", 13, 2, 3},
      {"Enter past the last skin brings in skin 1", 13, 5, 1},
      {"Backspace in the middle", 8, 3, 2},
      {"Backspace before the first skin brings in the last", 8, 1, 5},
  };
  for (const auto& c : cases) {
    TearDown();
    SetUp();
    auto& s = All;
    s.Current_Skin = c.From;
    Process_Keys_Once(c.Key);
    EXPECT_EQ(s.Current_Skin, c.To) << c.Name;
    // The first fade brings the skin in through texture B.
    EXPECT_EQ(s.Tunnel_Texture_B, s.Skin_Textures[static_cast<size_t>(c.To - 1)]) << c.Name;
    EXPECT_EQ(s.Blend_Alpha, 1.0f) << c.Name;
    EXPECT_TRUE(s.Draw_Style1_A && s.Draw_Style1_B) << c.Name;
    ASSERT_TRUE(Run_Until(Idle)) << c.Name;
    EXPECT_EQ(s.Tunnel_Texture_A, s.Tunnel_Texture_B) << c.Name;
    EXPECT_FALSE(s.Draw_Style1_A) << c.Name;
    EXPECT_TRUE(s.Draw_Style1_B) << c.Name;
  }
}

TEST_F(Changers_Fixture, One_Skin_Never_Steps) {
  auto& s = All;
  s.Skins_Quantity = 1;
  Process_Keys_Once(13);
  Process_Keys_Once(8);
  EXPECT_TRUE(s.Skin_Blend_Idle);
  EXPECT_EQ(s.Current_Skin, 1);
  EXPECT_FALSE(Form->FluentTexturesBLENDER_Timer.Enabled());
}

TEST_F(Changers_Fixture, Two_Steps_In_A_Row_Show_Texture_A_With_The_Skin_Two_On) {
  auto& s = All;
  s.Current_Skin = 2;
  Process_Keys_Once(13);
  Process_Keys_Once(13); // refused: the first fade runs
  EXPECT_EQ(s.Current_Skin, 3);
  ASSERT_TRUE(Run_Until(Idle));
  Process_Keys_Once(13);
  ASSERT_TRUE(Run_Until(Idle));
  EXPECT_EQ(s.Current_Skin, 4);
  EXPECT_EQ(s.Tunnel_Texture_A, s.Skin_Textures[3]);
  EXPECT_EQ(s.Tunnel_Texture_B, s.Skin_Textures[3]);
  EXPECT_TRUE(s.Draw_Style1_A);
  EXPECT_FALSE(s.Draw_Style1_B);
  EXPECT_FALSE(Form->FluentTexturesBLENDER_Timer.Enabled());
}

TEST_F(Changers_Fixture, Speed_Is_Multiplied_At_The_Start_And_Divided_Back) {
  struct Case {
    const char* Name;
    uint8_t Key;
    bool Whirlpool_First; // start from style 2 (a swap back to style 1)
  } cases[] = {
      {"skin fade", 13, false},
      {"style swap to the whirlpool", 107, false},
      {"style swap back to the plain tube", 220, true},
  };
  for (const auto& c : cases) {
    TearDown();
    SetUp();
    auto& s = All;
    s.Tunnel_Start_Morphing = False32;
    if (c.Whirlpool_First) {
      Process_Keys_Once(107);
      ASSERT_TRUE(Run_Until(Idle)) << c.Name;
    }
    s.Tunnel_Speed = 0.4f;
    Process_Keys_Once(c.Key);
    EXPECT_FALSE(Idle()) << c.Name;
    EXPECT_FLOAT_EQ(s.Tunnel_Speed, 0.44f) << c.Name;
    ASSERT_TRUE(Run_Until(Idle)) << c.Name;
    EXPECT_FLOAT_EQ(s.Tunnel_Speed, 0.4f) << c.Name;
  }
}

TEST_F(Changers_Fixture, Swap_To_The_Whirlpool_And_Back) {
  auto& s = All;
  s.Tunnel_Start_Morphing = False32;
  Process_Keys_Once(191);
  EXPECT_TRUE(s.Draw_Style1_A && s.Draw_Style2_A);
  EXPECT_FALSE(s.Draw_Style1_B || s.Draw_Style2_B);
  // Blend_Alpha reaches 0 well before Style_Morph does and stays there.
  bool alpha_rose = false;
  float morph_when_alpha_0 = -1.0f;
  ASSERT_TRUE(Run_Until(Idle, [&] {
    if (s.Style_Blend_Idle) return;
    if (s.Blend_Alpha == 0.0f && morph_when_alpha_0 < 0) morph_when_alpha_0 = s.Style_Morph;
    if (morph_when_alpha_0 >= 0 && s.Blend_Alpha != 0.0f) alpha_rose = true;
  }));
  EXPECT_GT(morph_when_alpha_0, 0.0f);
  EXPECT_FALSE(alpha_rose);
  EXPECT_EQ(s.Style_Morph, 0.0f);
  EXPECT_EQ(s.Blend_Alpha, 1.0f);
  EXPECT_FALSE(s.Draw_Style1_A);
  EXPECT_TRUE(s.Draw_Style2_A);
  EXPECT_TRUE(s.Style1_Grid_Frozen);
  // A skin step during a swap is refused; so is a second swap.
  Process_Keys_Once(111);
  EXPECT_FALSE(s.Style_Blend_Idle);
  Process_Keys_Once(13);
  Process_Keys_Once(107);
  EXPECT_TRUE(s.Skin_Blend_Idle);
  EXPECT_EQ(s.Current_Skin, 1);
  ASSERT_TRUE(Run_Until(Idle));
  EXPECT_EQ(s.Style_Morph, 1.15f);
  EXPECT_EQ(s.Blend_Alpha, 0.0f);
  EXPECT_TRUE(s.Draw_Style1_A);
  EXPECT_FALSE(s.Draw_Style2_A || s.Draw_Style2_B);
  EXPECT_FALSE(s.Style1_Grid_Frozen);
  EXPECT_FALSE(Form->AllStylesChanger_Timer.Enabled());
}

TEST_F(Changers_Fixture, Morphing_Start_Rearms_The_Style_Changer_After_Each_Swap) {
  auto& s = All;
  s.Tunnel_Start_Morphing = True32;
  s.Presets_Change_Interval_Ms = 20000;
  Process_Keys_Once(107);
  ASSERT_TRUE(Run_Until(Idle));
  EXPECT_TRUE(Form->AllStylesChanger_Timer.Enabled());
  EXPECT_GE(Form->AllStylesChanger_Timer.Interval(), 5000u);
  EXPECT_LT(Form->AllStylesChanger_Timer.Interval(), 15000u);
  // Its tick presses the style key: the swap back starts by itself.
  ASSERT_TRUE(Run_Until([] { return !All.Style_Blend_Idle; }));
  EXPECT_FALSE(Form->AllStylesChanger_Timer.Enabled());
  ASSERT_TRUE(Run_Until(Idle));
  EXPECT_EQ(s.Style_Morph, 1.15f);
  EXPECT_TRUE(Form->AllStylesChanger_Timer.Enabled());
  EXPECT_EQ(Form->AllStylesChanger_Timer.Interval(), 25000u);
}

TEST_F(Changers_Fixture, Skin_Changer_Presses_Enter_And_Rearms_Itself) {
  struct Case {
    const char* Name;
    bool Randomly;
    int32_t Quantity;
    bool Steps;
  } cases[] = {
      {"random intervals", true, 5, true},
      {"fixed interval", false, 5, true},
      {"one skin: no step", true, 1, false},
  };
  for (const auto& c : cases) {
    TearDown();
    SetUp();
    auto& s = All;
    s.Skins_Change_Randomly = To_Bool32(c.Randomly);
    s.Skin_Change_Interval_Ms = c.Randomly ? 0 : 30000;
    s.Skins_Quantity = c.Quantity;
    Form->AllTexturesChanger_Timer.Set_Interval(100);
    Form->AllTexturesChanger_Timer.Set_Enabled(true);
    ASSERT_TRUE(Run_Until([&] { return Form->AllTexturesChanger_Timer.Interval() != 100; })) << c.Name;
    EXPECT_EQ(s.Current_Skin, c.Steps ? 2 : 1) << c.Name;
    EXPECT_EQ(Form->FluentTexturesBLENDER_Timer.Enabled(), c.Steps) << c.Name;
    EXPECT_TRUE(Form->AllTexturesChanger_Timer.Enabled()) << c.Name;
    const uint32_t interval = Form->AllTexturesChanger_Timer.Interval();
    if (c.Randomly) {
      EXPECT_GE(interval, 5000u) << c.Name;
      EXPECT_LT(interval, 15000u) << c.Name;
    } else {
      EXPECT_EQ(interval, 31000u) << c.Name;
    }
  }
}

} // namespace
