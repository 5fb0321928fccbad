#include "glowsaver/host/Keys_Unit.h"

#include "glowsaver/director/Changers_Unit.h"
#include "glowsaver/director/FullTimersUnit.h"
#include "glowsaver/host/ALL_Variables.h"
#include "glowsaver/host/Host_State.h"
#include "glowsaver/host/Launch_Unit.h"

namespace {

// Virtual-key codes of the commands.
enum : uint8_t {
  Key_Backspace = 8,
  Key_Enter = 13,
  Key_Shift = 16,
  Key_Ctrl = 17,
  Key_Page_Up = 33,
  Key_Page_Down = 34,
  Key_End = 35,
  Key_Home = 36,
  Key_Left = 37,
  Key_Up = 38,
  Key_Right = 39,
  Key_Down = 40,
  Key_Insert = 45,
  Key_0 = 48,
  Key_1 = 49,
  Key_2 = 50,
  Key_3 = 51,
  Key_4 = 52,
  Key_D = 68,
  Key_F = 70,
  Key_R = 82,
  Key_S = 83,
  Key_T = 84,
  Key_U = 85,
  Key_Numpad_Plus = 107,
  Key_Numpad_Divide = 111,
  Key_F1 = 112,
  Key_F5 = 116,
  Key_Equals = 187,
  Key_Comma = 188,
  Key_Minus = 189,
  Key_Period = 190,
  Key_Slash = 191,
  Key_Left_Bracket = 219,
  Key_Backslash = 220,
  Key_Right_Bracket = 221,
};

bool Down(uint8_t key) { return All.Keys[key] != False32; }

// End also stops a run with a fixed velocity, and Home never starts a
// second travel timer that would double the speed.
void Set_Travel(bool travel) {
  if (Host.Timers_Form) Host.Timers_Form->Set_Tunnel_Travel(travel);
}

} // namespace

bool32 Flip_Toggle(bool32& toggle) {
  toggle = To_Bool32(!toggle);
  return toggle;
}

void Process_Keys_Once(uint8_t key) {
  auto& s = All;
  // 1. The wallpaper capture works even with keyboard control off.
  if (Down(Key_F5)) {
    Capture_Wallpaper();
    s.Wallpaper_Requested = True32;
  }
  // 2.
  if (s.Credits_Mode || !s.Keyboard_Control) return;
  // 3. A simulated key is down until the end of this call.
  s.Key_Event = False32;
  uint8_t release = key;
  if (key != 0) s.Keys[key] = True32;
  // 4. The first Up or Down stops the texture drifts of the show.
  if (s.Auto_Drift_Armed && (Down(Key_Up) || Down(Key_Down))) {
    if (Host.Timers_Form) Host.Timers_Form->Stop_Texture_Drifts(false);
    s.Auto_Drift_Armed = False32;
  }
  // 5. Skin steps; 6. style swaps. Each refuses while a fade or swap runs,
  // so a swap pressed together with a skin step is refused.
  if (Down(Key_Enter)) Skin_Step(+1);
  if (Down(Key_Backspace)) Skin_Step(-1);
  if (Down(Key_Numpad_Plus) || Down(Key_Backslash) || Down(Key_Slash) || Down(Key_Numpad_Divide)) Style_Swap();
  // 7.
  if (Down(Key_Insert) && Host.Timers_Form) Host.Timers_Form->Stop_Texture_Drifts(true);
  // 8. Tunnel travel stops and resumes.
  if (Down(Key_End)) Set_Travel(false);
  if (Down(Key_Home)) Set_Travel(true);
  // 10. The UFO on and off.
  if (Down(Key_U)) s.UFO_Flying = To_Bool32(!Flip_Toggle(s.UFO_Hidden_Toggle));
  // 12. Texture-coordinate generation.
  if (Down(Key_S)) s.TexGen_S_On = Flip_Toggle(s.TexGen_S_Toggle);
  if (Down(Key_R)) s.TexGen_T_On = Flip_Toggle(s.TexGen_T_Toggle);
  // 13. Texture stretch and shift back to rest.
  if (Down(Key_0)) {
    s.V_Coord = 1.0f;
    s.TexCoord2f_Sshift = 0.0f;
  }
  // 14. Help panel; its slide sets the ready flag again when it ends.
  if (Down(Key_F1) && s.Help_Key_Ready) {
    s.Help_Key_Ready = False32;
    Flip_Toggle(s.Help_Toggle);
  }
  // 15. D shows the clock with the date.
  if (Down(Key_D) && s.Time_Key_Ready) s.Date_Hidden = False32;
  // 16. T is D without the date, and ignores a running slide.
  if (Down(Key_T)) {
    s.Keys[Key_T] = False32;
    s.Keys[Key_D] = True32;
    release = Key_D;
    s.Time_Key_Ready = True32;
    s.Date_Hidden = True32;
  }
  // 17. Clock overlay.
  if (Down(Key_D) && s.Time_Key_Ready) {
    s.Time_Key_Ready = False32;
    Flip_Toggle(s.Time_Toggle);
  }
  // 18. Frame-rate overlay.
  if (Down(Key_F) && s.FPS_Key_Ready) {
    s.FPS_Key_Ready = False32;
    Flip_Toggle(s.FPS_Toggle);
  }
  // 19.
  if (release != 0) s.Keys[release] = False32;
}

void Process_Held_Keys() {
  auto& s = All;
  // 1. The credits chord, for the rest of the run. With keyboard control off
  // it is a key like the others and does nothing: then only Esc, Alt+F4 and
  // F5 act.
  if (s.Keyboard_Control && Down(Key_Ctrl) && Down(Key_Shift) && Down(Key_1) && Down(Key_4)) {
    Set_Travel(false);
    s.Credits_Mode = True32;
  }
  // 2.
  if (s.Credits_Mode || !s.Keyboard_Control) return;
  const bool ctrl = Down(Key_Ctrl);
  const bool shift = Down(Key_Shift);
  // 3. Help panel opacity, kept within 0 .. 1.
  if (Down(Key_Page_Down)) s.Help_Panel_Alpha -= 0.02f;
  if (Down(Key_Page_Up)) s.Help_Panel_Alpha += 0.02f;
  if (s.Help_Panel_Alpha >= 1.0f) s.Help_Panel_Alpha = 1.0f;
  if (s.Help_Panel_Alpha <= 0.0f) s.Help_Panel_Alpha = 0.0f;
  // 4. Ctrl + arrows move the help panel.
  if (ctrl) {
    if (Down(Key_Up)) s.Help_Panel_Y += 0.025f;
    if (Down(Key_Down)) s.Help_Panel_Y -= 0.025f;
    if (Down(Key_Left)) s.Help_Panel_X -= 0.025f;
    if (Down(Key_Right)) s.Help_Panel_X += 0.025f;
  }
  // 5. Shift + Left / Right size it.
  if (shift) {
    if (Down(Key_Left)) s.Help_Panel_Size += 0.01f;
    if (Down(Key_Right)) s.Help_Panel_Size -= 0.01f;
  }
  // 6. Plain arrows: texture scale of the panel and the tunnel speed.
  if (!ctrl && !shift) {
    if (Down(Key_Left)) s.Help_Panel_Tex_Scale -= 0.02f;
    if (Down(Key_Right)) s.Help_Panel_Tex_Scale += 0.02f;
    if (Down(Key_Up)) s.Tunnel_Speed += Angle_Speed_Key_Step;
    if (Down(Key_Down)) s.Tunnel_Speed -= Angle_Speed_Key_Step;
    if (!s.Random_Velocities) s.Tunnel_Velocity = s.Tunnel_Speed;
  }
  // 7. Ring spacing.
  if (Down(Key_Left_Bracket)) s.Far_Param += 0.01f;
  if (Down(Key_Right_Bracket)) s.Far_Param -= 0.01f;
  // 8. Texture stretch.
  if (Down(Key_Minus)) s.V_Coord += 0.0005f;
  if (Down(Key_Equals)) s.V_Coord -= 0.0005f;
  // 9. Texture shift.
  if (Down(Key_Comma)) s.TexCoord2f_Sshift += 0.00075f;
  if (Down(Key_Period)) s.TexCoord2f_Sshift -= 0.00075f;
  // 10. Narrowing divisors.
  if (Down(Key_1)) s.X_Collapse += 0.1f;
  if (Down(Key_2)) s.X_Collapse -= 0.1f;
  if (Down(Key_3)) s.Y_Collapse += 0.1f;
  if (Down(Key_4)) s.Y_Collapse -= 0.1f;
}
