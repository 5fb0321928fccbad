#include "glowsaver/render/Scene_Setup_Unit.h"

#include "glowsaver/host/ALL_Variables.h"
#include "glowsaver/host/Host_State.h"
#include "glowsaver/host/Launch_Unit.h"
#include "glowsaver/scene/TexturesUnit.h"
#include "platform/Platform_GL.h"

void Setup_Scene_Objects() {
  auto& s = All;
  // 1.
  Gl.Enable(GL_TEXTURE_2D);
  // 2. The splash shows the upload.
  TLaunch_Form* launch = Host.Launch_Form;
  if (s.Run_Mode_Fullscreen && launch) {
    launch->Image_Tarvik_Site.Set_Visible(true);
    launch->MacProgressBar.Set_Visible(true);
    launch->glLabel_Loading.Set_Caption("LOADING...");
    launch->glLabel_Loading.Repaint();
    const Control_Bounds& bar = launch->MacProgressBar.Bounds();
    launch->glLabel_Loading.Set_Left(bar.Left + bar.Width - launch->glLabel_Loading.Bounds().Width);
    launch->Form.Repaint();
  }
  // 3.
  Upload_Scene_Textures(Advance_Progress, [] { Set_Progress(110); });
  // 5. No star-burst intro and no jump gate outside full screen.
  if (!s.Run_Mode_Fullscreen) {
    s.Use_Extra_Layer = False32;
    s.Jump_Gate_On = False32;
  }
}
