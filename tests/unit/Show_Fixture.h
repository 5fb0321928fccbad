// Show_Fixture: the base of the tests of the keys and the changers: the
// virtual clock on a grid point, a fixed seed, a timers form with the
// changers' handlers as Host.Timers_Form, and a full-screen run with five
// skins whose texture names are 101..105.
#pragma once

#include "glowsaver/director/Changers_Unit.h"
#include "glowsaver/director/FullTimersUnit.h"
#include "glowsaver/host/ALL_Variables.h"
#include "glowsaver/host/Host_State.h"
#include "glowsaver/host/Random_Unit.h"
#include "platform/Platform_Clock.h"
#include "platform/Platform_Messages.h"

#include <gtest/gtest.h>

#include <memory>

class Show_Fixture : public ::testing::Test {
 protected:
  static constexpr uint64_t Grid = Timer_Grid_Period_Us;

  void SetUp() override {
    Clock_Use_Virtual(10 * Grid);
    Messages_Reset();
    Reset_All_Variables();
    Reset_Changers_State();
    Random_Set_State(20261211);
    Form = std::make_unique<TFULL_Timers_Form>();
    Install_Changer_Handlers(*Form);
    Host.Timers_Form = Form.get();
    auto& s = All;
    s.Run_Mode_Fullscreen = True32;
    s.Skins_Quantity = 5;
    for (size_t i = 0; i < 5; ++i) s.Skin_Textures[i] = static_cast<uint32_t>(101 + i);
    s.Tunnel_Texture_A = s.Tunnel_Texture_B = s.Skin_Textures[0];
  }
  void TearDown() override {
    Host.Timers_Form = nullptr;
    Form.reset();
    Messages_Reset();
    Reset_All_Variables();
    Reset_Changers_State();
    Clock_Use_Real();
  }
  // Moves the clock one grid step and takes and dispatches every message.
  static void Run_Grid_Step() {
    Clock_Advance_Us(Grid);
    Window_Message m;
    while (Peek_Message(m)) Dispatch_Message(m);
  }
  std::unique_ptr<TFULL_Timers_Form> Form;
};
