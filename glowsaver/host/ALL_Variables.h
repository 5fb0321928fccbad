// ALL_Variables: the one shared record of the screensaver.
//
// Every value that more than one unit of glowsaver reads or writes lives here,
// in the single instance `All`: the run mode and folders, the window and GL
// handles, the texture slots, the tunnel and object parameters, the overlay
// positions, the settings and the sound handles. The program entry fills the
// run mode and folders, the launch form and the settings reader fill the
// settings and asset lists, the render loop's set-up fills the GL handles and
// texture names; from then on the director's timer handlers, the key handlers
// and the settings dialog change the show values, and the renderer reads them
// when it composes the next frame. Nothing keeps a copy of a field.
//
// Only the GUI thread touches the record. The sound mixing thread's effect
// callbacks keep their own state and never read or write it.
//
// Flags are bool32: True32 (-1) or False32 (0). Texture names and display lists
// are the GL's unsigned names, 0 = none; window handles, device and rendering
// contexts and module handles are 0 when there is none. Arrays are indexed from
// 0 unless a field's comment says otherwise. Tests call Reset_All_Variables
// between cases.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/Platform_Picture.h"
#include "platform/Platform_Types.h"

struct All_Variables {
  // ---- host: run mode and folders ---------------------------------------
  std::string Run_Mode;                // mode word after parsing: "a", "c", "p", "FullScreen_from_SettingsPreview", "First_Launch" (then "c") or empty
  bool32 Run_Mode_Fullscreen = False32;      // full-screen saver run (any mode word other than a, p, c)
  bool32 Run_Mode_Settings = False32;        // settings dialog run (also the install-time first run)
  bool32 Run_Mode_Preview = False32;         // small preview inside a foreign window
  bool32 Fullscreen_From_Settings = False32; // full-screen run started by the dialog's Preview button: no music start, no volume reset at exit
  bool32 First_Launch_Flag = False32;        // install-time first run: the program installs itself as the screensaver when the dialog closes
  bool32 Stay_On_Top = False32;              // set true at start-up: launch form and full-screen window are topmost
  Window_Handle Preview_Parent_Window = 0;   // second argument: preview parent window, or the dialog window of a full-screen preview
  std::string Install_Folder;                // install folder with trailing separator (Config.navigator, 001.txt, 002.txt)
  std::string Info_Folder;                   // Install_Folder + "Info" + separator (help page)
  std::string Plugins_Folder;                // Install_Folder + "Plugins" + separator (resource library, *.dtexx packs, songs)
  std::string Custom_Folder;                 // Install_Folder + "Custom" + separator (user pictures used as skins)
  std::string Windows_Folder;                // system folder with trailing separator (temporary movie file, wallpaper bitmap)
  uintptr_t Resource_Library = 0;            // handle of the loaded resource library ServiceFullSet.bioTarvik; 0 = not loaded
  std::string Product_Page_Url;              // product web page, built from the application title
  std::string Support_Page_Url;              // support web page (dialog link)
  std::string Reinstall_Page_Url;            // product web page stored whole; opened after a skin-pack load error

  // ---- host: random generator ---------------------------------------------
  uint64_t Random_Seed = 0; // state of the program's random generator (RandInt, Gauss_Clamped); reseeding writes it

  // ---- host: loop and input -----------------------------------------------
  bool32 Main_Loop_Stop = False32; // leave the render loop at the top of the next pass
  bool32 App_Closing = False32;    // launch form closed or dialog hidden: the loop stops at the next message
  bool32 Render_Paused = False32;  // settings run: a separate full-screen preview is showing; frames are not drawn
  uint32_t Loop_Start_Tick = 0;    // clock tick (ms) taken just before the first loop pass
  int32_t Prev_Anim_Clock = 0;     // Anim_Clock_Ms of the previous frame (ms)
  int32_t Anim_Clock_Ms = 0;       // smoothed animation clock (ms since the loop started): (previous + elapsed) div 2 per frame
  int32_t Frames_Counted = 1;      // frames drawn since the last frame-rate sample
  int32_t Current_FPS = 1;         // frames drawn in the last 1000 ms sample period
  int32_t Mouse_Move_Count = 0;    // mouse-move messages seen by the full-screen window since start; never reset
  std::array<bool32, 256> Keys{};  // key-down state by virtual-key code; program code sets entries to simulate keys
  bool32 Key_Down = False32;       // set by any key-down, cleared by any key-up
  bool32 Key_Event = True32;       // set by any key-down; cleared when the one-shot key handler runs

  // ---- host: launch form and assets ---------------------------------------
  int32_t View_Center_X = 0;                   // View_Width div 2 (pixels)
  int32_t View_Center_Y = 0;                   // View_Height div 2 (pixels)
  bool32 Skin_Packs_Found = False32;           // the Plugins scan found at least one known skin pack
  int32_t Skin_Packs_Installed = 0;            // number of known *.dtexx packs found by the Plugins scan
  std::array<std::string, 10> Installed_Pack_Files{}; // file names of installed packs in scan order (index = check-list item)
  std::array<int32_t, 10> Installed_Pack_Sizes{};     // texture count of each installed pack
  uint8_t Progress_Step = 1;                   // amount added to the loading progress bar per upload step
  std::array<uint8_t, 6> First_Skin_Of_Pack = {{1, 18, 35, 52, 69, 86}}; // first built-in skin number of pack p at entry p - 1
  std::array<uint8_t, 6> Last_Skin_Of_Pack = {{17, 34, 51, 68, 85, 99}}; // last built-in skin number of pack p at entry p - 1; the loader may shorten it
  std::array<std::string, 10> Known_Pack_Files = {{
      // file names of the ten known add-on skin packs (matched case-sensitively)
      "Crystal Caverns 3D.dtexx", "Ember Reef 3D.dtexx",    "Frostwheel Spiral 3D.dtexx",
      "Amber Comet 3D.dtexx",     "Velvet Orbit 3D.dtexx",  "Quartz Lagoon 3D.dtexx",
      "Sapphire Dunes 3D.dtexx",  "Copper Aurora 3D.dtexx", "Lumen Forge 3D.dtexx",
      "Moss Nebula 3D.dtexx"}};
  std::array<std::string, 10> Known_Pack_Titles = {{
      // display titles of the known packs, row for row with Known_Pack_Files
      "Crystal Caverns Textures", "Ember Reef Textures",    "Frostwheel Spiral Textures",
      "Amber Comet Textures",     "Velvet Orbit Textures",  "Quartz Lagoon Textures",
      "Sapphire Dunes Textures",  "Copper Aurora Textures", "Lumen Forge Textures",
      "Moss Nebula Textures"}};
  std::array<int32_t, 10> Known_Pack_Sizes = {{9, 9, 8, 10, 8, 9, 8, 9, 7, 12}}; // texture count of each known pack
  uint8_t About_Anim_Variant = 1;              // next About animation of the dialog, cycling 1..3
  int32_t Preview_Wait_Ticks = 0;              // preview: "processing ..." ticks shown so far (loading starts at 7)
  std::unique_ptr<Pixel_Picture> Wallpaper_Bitmap; // last captured screen picture (24 bits per pixel); null = none
  std::string Flash_Temp_File = "Wish916.PQ17"; // temporary movie file; "Wish916.PQ17" in this run's own folder once a movie is saved; deleted at exit

  // ---- host: key commands ---------------------------------------------------
  bool32 Credits_Mode = False32;        // credits chord pressed: tunnel phase and keyboard control frozen, credits drawn; stays set
  bool32 Wallpaper_Requested = False32; // F5 captured the picture; the wallpaper is written when the launch form closes
  bool32 Date_Hidden = False32;         // clock overlay without the date and frame-rate lines (T key; D clears it)

  // ---- renderer: window and context ---------------------------------------
  bool32 GL_Ready = False32;  // pixel format set and context created and current; GL shutdown runs only when true
  Window_Handle GL_Window = 0; // window rendered into: full-screen window, preview child, or the dialog's preview window
  uintptr_t GL_DC = 0;         // device context of GL_Window, kept until shutdown
  uintptr_t GL_RC = 0;         // the OpenGL rendering context
  int32_t View_Width = 0;      // width of the render area (pixels): desktop width, or the preview parent's width
  int32_t View_Height = 0;     // height of the render area (pixels)
  int32_t Desktop_Width = 0;   // desktop width (pixels), measured in full-screen and settings runs
  int32_t Desktop_Height = 0;  // desktop height (pixels)
  int32_t Desktop_Bpp = 0;     // desktop colour depth (bits per pixel); colour and depth bits of the pixel format; 0 in preview

  // ---- renderer: tunnel -----------------------------------------------------
  float Tunnel_Phase = 0.0f; // tunnel travel phase; advanced by Tunnel_Speed (or Tunnel_Velocity) per angle-timer tick

  // ---- textures -------------------------------------------------------------
  uint8_t StarBurst_Frames_Count = 9;               // star-burst frame textures in use (9 full screen, 1 otherwise)
  uint8_t Blob_Textures_Count = 20;                 // blob plasma textures in use (20 full screen, 1 otherwise)
  std::array<uint32_t, 150> Skin_Textures{};        // texture names of the loaded skins, entries 0 .. Skins_Quantity - 1
  std::array<std::unique_ptr<Pixel_Picture>, 150> Skin_Bitmaps{}; // decoded skin pictures awaiting upload; null once uploaded
  std::array<int32_t, 150> Skin_Widths{};           // pixel width of each skin picture
  std::array<int32_t, 150> Skin_Heights{};          // pixel height of each skin picture
  uint32_t StarBurst_Texture = 0;                   // texture of the star-burst disc (one random Starburst_NN picture)
  uint32_t Background_Texture = 0;                  // texture of the BCKGRND picture (full screen only)
  std::array<uint32_t, 9> StarBurst_Frame_Textures{}; // textures of the star-burst frame pictures
  std::array<uint32_t, 20> Blob_Textures{};         // textures of the BlobPlasmaTex_NN pictures
  std::array<uint32_t, 5> UFO_Textures{};           // textures of ufo_texx_01 .. 05
  uint32_t Help_Panel_Texture = 0;                  // texture of the Help_Panel picture
  int32_t Help_Panel_Width = 0;                     // pixel width of the Help_Panel picture
  int32_t Help_Panel_Height = 0;                    // pixel height of the Help_Panel picture
  uint32_t Font_Texture = 0;                        // texture of the FONTLINES picture (with alpha) used for text

  // ---- objects: morph cloud -------------------------------------------------
  bool32 Morph_Rotate = True32;    // rotate 90 degrees about (0,1,1) before each sprite (cumulative)
  bool32 Morph_Additive = False32; // blend (one, one) when true, (source colour, one) when false

  // ---- objects: UFO and jump gate -------------------------------------------
  uint8_t Current_UFO_Model = 1;   // UFO model 1..4, cycled after each flight
  bool32 UFO_Flying = False32;     // a UFO flight is shown
  bool32 UFO_Leaving = False32;    // the UFO is accelerating away and fading
  bool32 Jump_Gate_On = False32;   // jump gate shown
  float JG_Pos = 0.0f;             // jump gate travel (+0.005 per step tick); gate at z = 1 - JG_Pos
  float JG_Alpha = 1.0f;           // jump gate opacity; falls 0.005 per tick once JG_Pos > 4
  float JG_Pulse = 0.0f;           // runway light pulse 0..2 (+0.02 per tick, wraps to 0)
  uint32_t UFO_Texture = 0;        // texture of the current UFO: a UFO texture or Tunnel_Texture_A

  // ---- keys/toggles ---------------------------------------------------------
  bool32 Help_Toggle = False32;       // flipped by the help key (true = show)
  bool32 UFO_Hidden_Toggle = False32; // flipped by the UFO key (true = no UFO)
  bool32 TexGen_S_Toggle = False32;   // toggle behind TexGen_S_On
  bool32 TexGen_T_Toggle = False32;   // toggle behind TexGen_T_On
  bool32 Time_Toggle = False32;       // flipped by the time key
  bool32 FPS_Toggle = False32;        // flipped by the frame-rate key

  // ---- director: show and presets -------------------------------------------
  bool32 Auto_Skin_Change = True32;   // timed skin changer runs; cleared by RadioButton_OneSkin and when Skins_Quantity <= 1
  float Tunnel_Speed = 1.0f;          // tunnel phase increment per angle-timer tick (random at start, arrows change it)
  float Far_Param = 1.0f;             // depth spacing of tunnel rings (ring j at z = -j * Far_Param)
  float V_Coord = 0.8f;               // multiplier of the time term of the far-edge V coordinate of each ring strip (1 = no stretch)
  float X_Collapse = 12.0f;           // tunnel narrowing divisor in x (ring radius factor 3 - j / X_Collapse)
  float Y_Collapse = 12.0f;           // tunnel narrowing divisor in y
  float Style_Boltanka = 32.0f;       // texture V divisor per ring (V = ring / Style_Boltanka + phase)
  bool32 Auto_Drift_Armed = True32;   // cleared by the first Up/Down press, which stops the texture drifts once
  bool32 TexGen_S_On = False32;       // tunnel draw enables generated (sphere-map) S coordinates
  bool32 TexGen_T_On = False32;       // tunnel draw enables the generated second texture coordinate
  float TexCoord2f_Sshift = 0.0f;     // shift added to the tunnel texture coordinates
  uint8_t Tunnel_Color_R = 0;         // red of the tunnel tint while Tunnel_Tinted (0..255)
  uint8_t Tunnel_Color_G = 0;         // green of the tunnel tint (0..255)
  uint8_t Tunnel_Color_B = 0;         // blue of the tunnel tint (0..255)
  uint8_t StarBurst_Color_R = 0;      // red of the star-burst disc colour (0..255)
  uint8_t StarBurst_Color_G = 0;      // green of the star-burst disc colour (0..255)
  uint8_t StarBurst_Color_B = 0;      // blue of the star-burst disc colour (0..255)
  bool32 Tunnel_Tinted = True32;      // tunnel strips drawn with the Tunnel_Color tint (intro fade-in); cleared when it ends
  bool32 Intro_Finished = False32;    // star-burst intro and fade-in over; the disc is drawn only while false

  // ---- director: skin and style changers ------------------------------------
  uint32_t Tunnel_Texture_A = 0;      // texture of tunnel layer A (also jump gate, blob fallback, UFO skin)
  uint32_t Tunnel_Texture_B = 0;      // texture of tunnel layer B
  int32_t Current_Skin = 1;           // 1-based skin number (into Skin_Textures) most recently blended in
  bool32 Draw_Style1_A = True32;      // draw style 1 (plain grid) with Tunnel_Texture_A
  bool32 Draw_Style1_B = False32;     // draw style 1 with Tunnel_Texture_B
  bool32 Draw_Style2_A = False32;     // draw style 2 (whirlpool) with Tunnel_Texture_A
  bool32 Draw_Style2_B = False32;     // draw style 2 with Tunnel_Texture_B
  bool32 Skin_Blend_Idle = True32;    // no skin cross-fade running (a skin step may start)
  bool32 Style_Blend_Idle = True32;   // no style cross-fade running (a style swap may start)
  bool32 Style1_Grid_Frozen = False32; // style 1 grid is not recomputed per frame (style 1 faded out)
  float Style_Morph = 1.15f;          // style cross-fade position 0..1.15, read by the style-2 draw
  float Blend_Alpha = 1.0f;           // alpha of layer A (layer B drawn with 1 - Blend_Alpha), 0..1

  // ---- director: object events ----------------------------------------------
  uint8_t Particle_Color_R = 0;        // red of the particle burst colour (0..255)
  uint8_t Particle_Color_G = 0;        // green of the particle burst colour (0..255)
  uint8_t Particle_Color_B = 0;        // blue of the particle burst colour (0..255)
  uint8_t Particle_Spacing = 0;        // depth spacing factor of the 30 burst particles (5..12)
  float Particle_Z = 0.0f;             // particle burst travel counter 0..500 (+1 per tick)
  bool32 Particles_On = False32;       // particle burst visible
  int32_t StarBurst_Frame = 0;         // 1-based entry of StarBurst_Frame_Textures used by particles and the morph blob
  int32_t Blob_Tex_Index = 0;          // 1-based entry of Blob_Textures for the blob body; advanced per blob show
  int32_t Tentacle_Tex_Index = 0;      // 1-based entry of Blob_Textures for the tentacles; moves backwards per show
  bool32 Blob_Show_Blob = False32;     // blob show kind 1: blob body (scale 0.015)
  bool32 Blob_Show_Cloud = False32;    // blob show kind 2: morphing sprite cloud with a star-burst frame texture
  bool32 Blob_Show_Tentacles = False32; // blob show kind 3: six tentacles
  bool32 Blob_Show_Both = False32;     // blob show kind 4: blob body (scale 0.01) and tentacles
  float Blob_Amplitude = 0.0f;         // surface wobble amplitude of the blob body
  float Blob_Scale = 0.0f;             // overall scale of the blob/tentacle group (grows in, shrinks out)
  float Blob_Start_Clock = 0.0f;       // Anim_Clock_Ms (ms) at the start of the blob show (spin reference)
  uint8_t Blob_Wait_Count = 0;         // wait-timer ticks so far in this show (0..2)
  int32_t Blob_Side = 0;               // -1 or +1: side of the screen the blob group sits on
  float Tentacle_Drift = 0.0f;         // radius of the tentacle group's wandering (0..6, +0.05 per frame)
  float Blob_Spin_Damp = 0.0f;         // divisor term of the blob spin (+0.008, later -0.006 per frame)

  // ---- overlays ---------------------------------------------------------------
  bool32 Help_Panel_Visible = False32;   // help panel (and resolution line) drawn
  bool32 Time_Overlay_Visible = False32; // clock overlay drawn
  bool32 FPS_Overlay_Visible = False32;  // frame-rate overlay drawn
  bool32 Help_Key_Ready = True32;        // help key may act (cleared at a press, set when its slide ends)
  bool32 Time_Key_Ready = True32;        // clock key may act
  bool32 FPS_Key_Ready = True32;         // frame-rate key may act
  float Help_Panel_X = 3.7f;             // help panel x offset (scene units)
  float Help_Panel_Y = 1.7f;             // help panel y offset (drawn at y - 1.4)
  float Help_Panel_Alpha = 0.8f;         // help panel opacity 0..1
  float Help_Panel_Tex_Scale = 1.0f;     // help panel texture-coordinate extent
  float Help_Panel_Size = 4.0f;          // help panel quad half-size (Shift+Left/Right)
  float Time_Text_X = 0.0f;              // clock line x
  float Time_Text_Y = 0.0f;              // clock line y
  float Date_Text_X = 0.0f;              // date line x
  float Date_Text_Y = 0.0f;              // date line y
  float FPS_Text_X = 0.0f;               // frame-rate line x
  float FPS_Text_Y = 0.0f;               // frame-rate line y
  float Res_Text_X = 0.0f;               // resolution line x (frame-rate text at x + 0.92)
  float Res_Text_Y = 0.0f;               // resolution line y

  // ---- settings ---------------------------------------------------------------
  int32_t Current_Skins_Pack = 1;          // curr_Skins_Pack: built-in pack 1..6; advanced (6 -> 1) at every settings write
  bool32 Skin_Packs_Selected = False32;    // the settings name at least one checked add-on pack
  int32_t Skin_Packs_Count = 0;            // entries in Skin_Pack_Files / Skin_Pack_Sizes
  std::array<std::string, 10> Skin_Pack_Files{}; // file names of the skin packs to use
  std::array<int32_t, 10> Skin_Pack_Sizes{};     // texture count of each pack in Skin_Pack_Files
  int32_t Skins_Quantity = 99;             // skins to load (TrackBar_Skins_Quanto, 1..99); loading sets it to what was loaded
  uint8_t Start_Skin_Number = 1;           // 1-based start skin (ComboBox_WatchSkins ItemIndex + 1)
  bool32 Tunnel_Start_Morphing = True32;   // start tunnel type Morphing (RadioButton_MIX)
  bool32 Tunnel_Start_Whirlpool = False32; // start tunnel type Whirlpool (RadioButton_WRAP)
  bool32 Show_Alien_Objects = True32;      // CheckBox_Show_Alien_Objects
  bool32 Use_Presets_Cycle = True32;       // CheckBox_UsePresetsCycle
  bool32 Use_Special_Effects = False32;    // CheckBox_UseSpecialEffects
  bool32 Use_Extra_Layer = True32;         // CheckBox_Use_Extra_Layer
  bool32 Random_Velocities = True32;       // CheckBox_RandomVelo
  float Tunnel_Velocity = 0.0f;            // TrackBar_TunVelo position / 100 (-0.50..0.50)
  bool32 Exit_On_Mouse_Move = False32;     // CheckBox_ExitMouse
  bool32 Keyboard_Control = True32;        // CheckBox_KeyBControl
  bool32 Use_Random_Skins = True32;        // CheckBox_UseRandomSkins (random start skin)
  bool32 Wallpaper_On_Exit = False32;      // CheckBox_Wallpaper_on_exit
  bool32 Use_Custom_JPEG = False32;        // CheckBox_Use_Custom_JPEG (skins from the custom folder)
  bool32 Use_Custom_Gamma = False32;       // inverse of CheckBox_Default_Gamma: apply Gamma_Factor
  double Gamma_Factor = 1.0;               // TrackBar_Gamma position p (30..150): p / 100, or p * 1.3 / 100 when p > 100
  bool32 Show_Help_Overlay = False32;      // RadioButton_Help (start-up overlay: help)
  bool32 Show_FPS_Overlay = False32;       // RadioButton_FPS (start-up overlay: frame rate)
  bool32 Show_Time_Overlay = True32;       // RadioButton_DateTime (start-up overlay: clock)
  bool32 Clock_24h = True32;               // RadioButton_24h (false = 12-hour clock)
  bool32 Skins_Change_Randomly = True32;   // RadioButton_RandomSkins; false = RadioButton_SkinsChanging
  bool32 No_Skin_Change_Per_Cycle = False32; // RadioButton_OneSkin; false = RadioButton_CycleSkin
  int32_t Skin_Change_Interval_Ms = 0;     // TrackBar_SkinChanger seconds * 1000 (ms); 0 when Skins_Change_Randomly
  int32_t Presets_Change_Interval_Ms = 0;  // TrackBar_PresetsChanger seconds * 1000 (ms); 0 when Use_Presets_Cycle

  // ---- settings dialog ----------------------------------------------------------
  Window_Handle Settings_Preview_Window = 0; // child window of the dialog's preview panel; render target in settings runs
  bool32 Exit_Hover = True32;                // the mouse is over the dialog's close picture

  // ---- sound: music -------------------------------------------------------------
  bool32 No_Music = False32;              // CheckBox_NoMusic; also forced true when sound start-up or song loading fails
  int32_t Music_Select_Index = 0;         // ComboBox_SelectMusic: 0 random, 1..4 theme songs, 5 custom, 6 browse (dialog only)
  bool32 Autoplay_In_Settings = True32;   // CheckBox_Autoplay (music plays inside the settings dialog)
  int32_t Volume_Level = 50;              // TrackBar_Volume position 0..100; output volume = 100 - position
  uint32_t Music_Channel = 0;             // handle of the playing stream or module music; 0 = none

  // ---- sound: effects -------------------------------------------------------------
  int32_t Reverb_Level = 20;              // TrackBar_Reverb position 0..30; reverb mix = -0.012 * p^3 dB
  int32_t Equalizer1_Level = 20;          // TrackBar_Equalizer1 position 0..40; gain = 20 - position dB at 125 Hz
  int32_t Equalizer2_Level = 20;          // TrackBar_Equalizer2 position 0..40; gain = 20 - position dB at 1000 Hz
  int32_t Equalizer3_Level = 20;          // TrackBar_Equalizer3 position 0..40; gain = 20 - position dB at 8000 Hz
  bool32 DSP_Rotate_On = False32;         // CheckBox_Rotate
  bool32 DSP_Echo_On = False32;           // CheckBox_Echo
  bool32 DSP_Flanger_On = False32;        // CheckBox_Flanger
};

// The one instance, alive for the whole process.
extern All_Variables All;

// Puts every field of All back to its initial value and frees any pictures it
// holds. Tests call it between cases.
void Reset_All_Variables();
