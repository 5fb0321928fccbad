// The tunnel on the null display: the geometry of both styles, the particle
// seeds, and, through a recording GL table, the switches of the tunnel draw
// (depth function, layer alpha, dimming, texture generation), the particle
// cut-off and the order and conditions of the frame's layers.
#include <gtest/gtest.h>

#include "glowsaver/host/ALL_Variables.h"
#include "glowsaver/host/Random_Unit.h"
#include "glowsaver/render/Compose_Frame_Unit.h"
#include "glowsaver/render/Tunnel_Unit.h"
#include "platform/Platform_GL.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr float Tol = 1e-4f;

class Tunnel_Geometry_Test : public testing::Test {
 protected:
  void SetUp() override {
    Reset_All_Variables();
    Tunnel() = Tunnel_Geometry{};
  }
};

TEST_F(Tunnel_Geometry_Test, Style2_Grid_Is_A_Cone_Of_Radius_3_Minus_J_Over_12) {
  struct Case {
    const char* name;
    int i, j;
    float x, y, z;
  };
  const Case cases[] = {
      {"mouth at angle 0", 0, 0, 3, 0, 0},
      {"mouth at a quarter turn", 8, 0, 0, 3, 0},
      {"eighth turn at ring 6", 4, 6, 1.767767f, 1.767767f, -6},
      {"half turn at ring 12", 16, 12, -2, 0, -12},
      {"seam at ring 24 meets angle 0", 32, 24, 1, 0, -24},
      {"last ring", 24, 32, 0, -0.333333f, -32},
  };
  Build_Tunnel_Grids();
  for (const auto& c : cases) {
    const auto& p = Tunnel().Style2_Grid[c.i][c.j];
    EXPECT_NEAR(p[0], c.x, Tol) << c.name;
    EXPECT_NEAR(p[1], c.y, Tol) << c.name;
    EXPECT_NEAR(p[2], c.z, Tol) << c.name;
  }
}

TEST_F(Tunnel_Geometry_Test, Style1_Grid_Sways_Deep_Rings_At_Known_Phases) {
  struct Case {
    const char* name;
    float phase, x_collapse, y_collapse, far;
    int i, j;
    float x, y, z;
  };
  const Case cases[] = {
      {"phase 0, ring 36 closed and swung", 0, 12, 12, 1, 0, 36, 0.959666f, -4.035742f, -36},
      {"phase 50, ring 20", 50, 12, 12, 1, 3, 20, -0.336206f, -1.643271f, -20},
      {"phase 123.5, own divisors and depth", 123.5f, 16, 6, 2.5f, 7, 38, 2.441132f, 3.690147f, -95},
  };
  for (const auto& c : cases) {
    All.Tunnel_Phase = c.phase;
    All.X_Collapse = c.x_collapse;
    All.Y_Collapse = c.y_collapse;
    All.Far_Param = c.far;
    Animate_Style1_Grid();
    const auto& p = Tunnel().Style1_Grid[c.i][c.j];
    EXPECT_NEAR(p[0], c.x, Tol) << c.name;
    EXPECT_NEAR(p[1], c.y, Tol) << c.name;
    EXPECT_NEAR(p[2], c.z, Tol) << c.name;
  }
}

TEST_F(Tunnel_Geometry_Test, Style1_Mouth_Stays_Centred_And_The_Seam_Closes) {
  for (const float phase : {0.0f, 7.25f, 333.0f, 4000.0f}) {
    All.Tunnel_Phase = phase;
    Animate_Style1_Grid();
    const auto& g = Tunnel().Style1_Grid;
    for (int i = 0; i <= 12; ++i) {
      EXPECT_NEAR(g[i][0][0], 3 * std::cos(i * std::numbers::pi / 6), Tol) << "phase " << phase << " i " << i;
      EXPECT_NEAR(g[i][0][1], 3 * std::sin(i * std::numbers::pi / 6), Tol) << "phase " << phase << " i " << i;
    }
    for (int j = 0; j <= 38; ++j)
      for (int c = 0; c < 3; ++c) EXPECT_NEAR(g[0][j][c], g[12][j][c], Tol) << "phase " << phase << " ring " << j;
  }
}

TEST_F(Tunnel_Geometry_Test, Particle_Seeds_Draw_Six_Numbers_Each_Drift_First) {
  Random_Set_State(12345);
  int32_t u[6];
  for (auto& v : u) v = RandInt(100);
  for (int n = 6; n < 240; ++n) RandInt(100);
  const int32_t after = RandInt(1000000);

  Random_Set_State(12345);
  Build_Tunnel_Grids();
  EXPECT_EQ(RandInt(1000000), after) << "40 records of six draws";
  const auto& p = Tunnel().Particle_Seeds[0];
  EXPECT_FLOAT_EQ(p.vx, static_cast<float>(u[0]) / 2000.0f - 0.025f);
  EXPECT_FLOAT_EQ(p.vy, static_cast<float>(u[1]) / 2000.0f - 0.025f);
  EXPECT_FLOAT_EQ(p.vz, static_cast<float>(u[2]) / 3000.0f + 0.2f);
}

TEST_F(Tunnel_Geometry_Test, Particle_Seeds_Are_Scattered_Within_16_And_Repeat_For_A_Seed) {
  Random_Set_State(99);
  Build_Tunnel_Grids();
  const auto first = Tunnel().Particle_Seeds;
  Random_Set_State(99);
  Build_Tunnel_Grids();
  const auto& again = Tunnel().Particle_Seeds;
  bool spread = false;
  for (size_t n = 0; n < first.size(); ++n) {
    const auto& p = first[n];
    EXPECT_EQ(p.x, again[n].x);
    EXPECT_EQ(p.y, again[n].y);
    EXPECT_EQ(p.z, again[n].z);
    // vz >= 0.2 over 500 steps carries every seed past 16 at least once, so
    // each has been put back to the origin and lies within 16 of it now.
    EXPECT_LE(std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z), 16.0f) << "seed " << n;
    EXPECT_GE(p.vz, 0.2f);
    if (n > 0 && std::fabs(p.z - first[0].z) > 1) spread = true;
  }
  EXPECT_TRUE(spread) << "the seeds are not all at one depth";
}

// ---- the draw through a recording GL table --------------------------------

struct Gl_Log {
  std::vector<std::string> Events;  // "enable N", "disable N", "depth N", "bind N"
  std::vector<std::vector<float>> Color4f, Color3f, Scalef;
  int Color3ub = 0;
  int Begins = 0;
};
Gl_Log* Log = nullptr;  // the running test's log

void Install_Recording_Gl() {
  Gl.Enable = [](GLenum cap) { Log->Events.push_back("enable " + std::to_string(cap)); };
  Gl.Disable = [](GLenum cap) { Log->Events.push_back("disable " + std::to_string(cap)); };
  Gl.DepthFunc = [](GLenum f) { Log->Events.push_back("depth " + std::to_string(f)); };
  Gl.BindTexture = [](GLenum, GLuint t) { Log->Events.push_back("bind " + std::to_string(t)); };
  Gl.Color4f = [](GLfloat r, GLfloat g, GLfloat b, GLfloat a) { Log->Color4f.push_back({r, g, b, a}); };
  Gl.Color3f = [](GLfloat r, GLfloat g, GLfloat b) { Log->Color3f.push_back({r, g, b}); };
  Gl.Color3ub = [](GLubyte, GLubyte, GLubyte) { ++Log->Color3ub; };
  Gl.Scalef = [](GLfloat x, GLfloat y, GLfloat z) { Log->Scalef.push_back({x, y, z}); };
  Gl.Begin = [](GLenum) { ++Log->Begins; };
}

class Tunnel_Draw : public testing::Test {
 protected:
  void SetUp() override {
    Reset_All_Variables();
    Tunnel() = Tunnel_Geometry{};
    Random_Set_State(7);
    Build_Tunnel_Grids();
    All.Tunnel_Tinted = False32;
    Log = &Log_;
    Install_Recording_Gl();
  }
  void TearDown() override {
    Gl_Unbind();
    Log = nullptr;
  }
  static std::string On(GLenum cap) { return "enable " + std::to_string(cap); }
  static std::string Off(GLenum cap) { return "disable " + std::to_string(cap); }
  int Count(const std::string& event) const {
    int n = 0;
    for (const auto& e : Log_.Events) n += e == event;
    return n;
  }
  Gl_Log Log_;
};

TEST_F(Tunnel_Draw, At_Rest_One_Opaque_Tube_Dimmed_Only_In_Its_Last_Three_Slices) {
  Draw_Tunnel();
  EXPECT_EQ(Log_.Begins, 38);
  EXPECT_EQ(Count("depth " + std::to_string(GL_LESS)), 1);
  ASSERT_EQ(Log_.Color4f.size(), 1u);
  EXPECT_EQ(Log_.Color4f[0][3], 1.0f);
  ASSERT_EQ(Log_.Color3f.size(), 38u);
  for (size_t k = 0; k <= 34; ++k) EXPECT_EQ(Log_.Color3f[k][0], 1.0f) << "slice " << k;
  EXPECT_NEAR(Log_.Color3f[35][0], 1.1f, 1e-6);
  EXPECT_NEAR(Log_.Color3f[36][0], 1.0f, 1e-6);
  EXPECT_NEAR(Log_.Color3f[37][0], 0.9f, 1e-6);
  // Blending was switched on for style 1 and is off at the end.
  const auto last_blend = std::find_if(Log_.Events.rbegin(), Log_.Events.rend(), [](const std::string& e) {
    return e == On(GL_BLEND) || e == Off(GL_BLEND);
  });
  ASSERT_NE(last_blend, Log_.Events.rend());
  EXPECT_EQ(*last_blend, Off(GL_BLEND));
}

TEST_F(Tunnel_Draw, A_Skin_Fade_Draws_Both_Layers_Undimmed_With_Lequal) {
  All.Skin_Blend_Idle = False32;
  All.Draw_Style1_B = True32;
  All.Blend_Alpha = 0.3f;
  All.Tunnel_Texture_A = 5;
  All.Tunnel_Texture_B = 6;
  Draw_Tunnel();
  EXPECT_EQ(Log_.Begins, 76);
  EXPECT_EQ(Count("depth " + std::to_string(GL_LEQUAL)), 1);
  EXPECT_TRUE(Log_.Color3f.empty()) << "no slice is dimmed";
  ASSERT_EQ(Log_.Color4f.size(), 2u);
  EXPECT_FLOAT_EQ(Log_.Color4f[0][3], 0.3f);
  EXPECT_FLOAT_EQ(Log_.Color4f[1][3], 0.7f);
  EXPECT_EQ(Count("bind 5"), 1);
  EXPECT_EQ(Count("bind 6"), 1);
}

TEST_F(Tunnel_Draw, Texture_Generation_Switches_S_And_R_Never_T) {
  All.TexGen_S_On = True32;
  All.TexGen_T_On = True32;
  Draw_Tunnel();
  EXPECT_EQ(Log_.Events.front(), On(GL_TEXTURE_GEN_S));
  EXPECT_EQ(Log_.Events[1], On(GL_TEXTURE_GEN_R));
  EXPECT_EQ(Count(On(GL_TEXTURE_GEN_T)), 0);
  ASSERT_GE(Log_.Events.size(), 2u);
  EXPECT_EQ(Log_.Events[Log_.Events.size() - 2], Off(GL_TEXTURE_GEN_S));
  EXPECT_EQ(Log_.Events.back(), Off(GL_TEXTURE_GEN_R));
}

TEST_F(Tunnel_Draw, Particles_Nearer_Than_26_Are_Not_Drawn) {
  struct Case {
    const char* name;
    float particle_z;
    size_t drawn;
  };
  const Case cases[] = {{"d = 25 is not drawn", 25, 0}, {"d = 26 is drawn at scale 100/19", 26, 30}};
  for (const auto& c : cases) {
    Log_ = Gl_Log{};
    All.Particle_Spacing = 0;  // every seed at d = Particle_Z
    All.Particle_Z = c.particle_z;
    Draw_Particles();
    ASSERT_EQ(Log_.Scalef.size(), c.drawn) << c.name;
    for (const auto& s : Log_.Scalef) EXPECT_NEAR(s[0], 100.0f / 19.0f, 1e-5) << c.name;
  }
}

TEST_F(Tunnel_Draw, The_Frame_Draws_Its_Layers_In_Order_Under_Their_Conditions) {
  All.Background_Texture = 11;
  All.Tunnel_Texture_A = 12;
  All.StarBurst_Texture = 13;
  All.StarBurst_Frame_Textures[0] = 14;
  All.StarBurst_Frame = 1;
  struct Case {
    const char* name;
    bool32 intro_finished, particles_on, skin_blend_idle, style_blend_idle;
    std::vector<std::string> binds;
  };
  // An opaque tunnel (no fade running) comes before the plate it hides.
  const Case cases[] = {
      {"intro with particles", False32, True32, True32, True32,
       {"bind 12", "bind 11", "bind 13", "bind 13", "bind 14"}},
      {"after the intro, no particles", True32, False32, True32, True32, {"bind 12", "bind 11"}},
      {"skin fade: the plate shows through, so it comes first", True32, False32, False32, True32,
       {"bind 11", "bind 12"}},
      {"style swap: the plate first", True32, False32, True32, False32, {"bind 11", "bind 12"}},
  };
  for (const auto& c : cases) {
    Log_ = Gl_Log{};
    All.Intro_Finished = c.intro_finished;
    All.Particles_On = c.particles_on;
    All.Skin_Blend_Idle = c.skin_blend_idle;
    All.Style_Blend_Idle = c.style_blend_idle;
    Compose_Frame();
    std::vector<std::string> binds;
    for (const auto& e : Log_.Events)
      if (e.starts_with("bind ")) binds.push_back(e);
    EXPECT_EQ(binds, c.binds) << c.name;
  }
}

}  // namespace
