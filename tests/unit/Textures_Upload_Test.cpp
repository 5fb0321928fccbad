// The upload step and the preview skin on the null display, with the GL and
// GLU tables pointing at recorders: which pictures become textures in which
// order and format, the progress steps, the messages let through between
// skins, the start-skin rule, and the replaced preview texture.
#include <gtest/gtest.h>

#include "glowsaver/host/ALL_Variables.h"
#include "glowsaver/host/Host_State.h"
#include "glowsaver/host/Random_Unit.h"
#include "glowsaver/scene/TexturesUnit.h"
#include "platform/Platform_GL.h"
#include "platform/Platform_Messages.h"
#include "platform/Resource_Module.h"

#include <turbojpeg.h>
#include <unistd.h>
#include <zip.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

// What the recording GL saw, in order: "enable", "build WxH format", "delete N",
// "message", and any texture parameter or environment call.
struct Gl_Log {
  std::vector<std::string> Events;
  GLuint Next_Name = 0;
  std::vector<GLint> Internal_Formats;
  std::vector<GLenum> Types;
};
Gl_Log* Log = nullptr; // the running test's log

std::string Format_Name(GLenum f) { return f == GL_RGBA ? "RGBA" : f == GL_BGRA ? "BGRA" : std::to_string(f); }

void Install_Recording_Gl() {
  Gl.GenTextures = [](GLsizei n, GLuint* names) {
    for (GLsizei i = 0; i < n; ++i) names[i] = ++Log->Next_Name;
  };
  Gl.Enable = [](GLenum cap) { Log->Events.push_back(cap == GL_TEXTURE_2D ? "enable" : "enable other"); };
  Gl.DeleteTextures = [](GLsizei n, const GLuint* names) {
    for (GLsizei i = 0; i < n; ++i) Log->Events.push_back("delete " + std::to_string(names[i]));
  };
  Gl.TexParameteri = [](GLenum, GLenum, GLint) { Log->Events.push_back("TexParameter"); };
  Gl.TexParameterf = [](GLenum, GLenum, GLfloat) { Log->Events.push_back("TexParameter"); };
  Gl.TexEnvi = [](GLenum, GLenum, GLint) { Log->Events.push_back("TexEnv"); };
  Gl.TexEnvf = [](GLenum, GLenum, GLfloat) { Log->Events.push_back("TexEnv"); };
  Glu.Build2DMipmaps = [](GLenum, GLint internal, GLsizei w, GLsizei h, GLenum format, GLenum type,
                          const void*) -> GLint {
    Log->Events.push_back("build " + std::to_string(w) + "x" + std::to_string(h) + " " + Format_Name(format));
    Log->Internal_Formats.push_back(internal);
    Log->Types.push_back(type);
    return 0;
  };
}

std::unique_ptr<Pixel_Picture> Picture(int w, int h) {
  auto p = std::make_unique<Pixel_Picture>();
  p->Width = w;
  p->Height = h;
  p->Bits_Per_Pixel = 32;
  p->Pixels.assign(static_cast<size_t>(w * h * 4), 100);
  return p;
}

Bytes Jpeg(int w, int h) {
  Bytes bgr(static_cast<size_t>(w * h * 3), 90);
  tjhandle tj = tjInitCompress();
  unsigned char* out = nullptr;
  unsigned long size = 0;
  tjCompress2(tj, bgr.data(), w, 0, h, TJPF_BGR, &out, &size, TJSAMP_444, 90, 0);
  Bytes jpeg(out, out + size);
  tjFree(out);
  tjDestroy(tj);
  return jpeg;
}

// A 2 x 1 font strip, 32 bits with alpha.
Bytes Font_Tga() {
  return {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 1, 0, 32, 8, 1, 2, 3, 4, 5, 6, 7, 8};
}

class Texture_Upload : public testing::Test {
 protected:
  void SetUp() override {
    Reset_All_Variables();
    Host = Host_State{};
    Loaded_Scene_Pictures() = Scene_Pictures{};
    Messages_Reset();
    Log = &Log_;
    Install_Recording_Gl();
    std::string pattern = (fs::temp_directory_path() / "textures_test.XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    Folder_ = pattern;
    Use_Library({{"TGA/FONTLINES", Font_Tga()}});
  }
  void TearDown() override {
    Gl_Unbind();
    Log = nullptr;
    Host = Host_State{};
    Loaded_Scene_Pictures() = Scene_Pictures{};
    Messages_Reset();
    std::error_code ignored;
    fs::remove_all(Folder_, ignored);
  }

  // Opens a resource library holding the given "TYPE/NAME" entries.
  void Use_Library(const std::vector<std::pair<std::string, Bytes>>& entries) {
    const std::string path = (Folder_ / "library.zip").string();
    int err = 0;
    zip_t* z = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &err);
    ASSERT_NE(z, nullptr);
    for (const auto& [name, bytes] : entries) {
      zip_source_t* source = zip_source_buffer(z, bytes.data(), bytes.size(), 0);
      ASSERT_GE(zip_file_add(z, name.c_str(), source, ZIP_FL_OVERWRITE), 0);
    }
    ASSERT_EQ(zip_close(z), 0);
    std::string error;
    Host.Resource_Library = Resource_Module::Open(path, &error);
    ASSERT_TRUE(Host.Resource_Library) << error;
  }

  // Fills Skins_Quantity skins of distinct sizes (skin i: (i + 1) * 8 x 4).
  void Fill_Skins(int count) {
    All.Skins_Quantity = count;
    for (int i = 0; i < count; ++i) {
      All.Skin_Bitmaps[static_cast<size_t>(i)] = Picture((i + 1) * 8, 4);
      All.Skin_Widths[static_cast<size_t>(i)] = (i + 1) * 8;
      All.Skin_Heights[static_cast<size_t>(i)] = 4;
    }
  }

  // Every picture slot of the full-screen run, each with a size of its own.
  void Fill_Scene_Pictures() {
    auto& p = Loaded_Scene_Pictures();
    for (size_t i = 0; i < p.UFOs.size(); ++i) p.UFOs[i] = Picture(static_cast<int>(i) + 1, 1);
    p.Help_Panel = Picture(6, 2);
    All.Help_Panel_Width = 6;
    All.Help_Panel_Height = 2;
    p.StarBurst = Picture(7, 7);
    p.Background = Picture(9, 9);
    for (size_t i = 0; i < p.StarBurst_Frames.size(); ++i) p.StarBurst_Frames[i] = Picture(static_cast<int>(i) + 1, 3);
    for (size_t i = 0; i < p.Blobs.size(); ++i) p.Blobs[i] = Picture(static_cast<int>(i) + 1, 5);
  }

  int Count(const std::string& prefix) const {
    return static_cast<int>(std::count_if(Log_.Events.begin(), Log_.Events.end(),
                                          [&](const std::string& e) { return e.rfind(prefix, 0) == 0; }));
  }

  Gl_Log Log_;
  fs::path Folder_;
};

TEST_F(Texture_Upload, Full_Screen_Uploads_Every_Picture_In_The_Loaders_Order_And_Frees_It) {
  All.Run_Mode_Fullscreen = True32;
  Fill_Skins(2);
  Fill_Scene_Pictures();
  Upload_Scene_Textures(nullptr, nullptr);

  std::vector<std::string> expected = {"enable", "build 8x4 RGBA", "build 16x4 RGBA"};
  for (int i = 1; i <= 5; ++i) expected.push_back("build " + std::to_string(i) + "x1 RGBA");
  expected.push_back("build 6x2 RGBA");  // help panel
  expected.push_back("build 2x1 BGRA");  // font, with its own alpha
  expected.push_back("build 7x7 RGBA");  // star burst
  expected.push_back("build 9x9 RGBA");  // background
  for (int i = 1; i <= 9; ++i) expected.push_back("build " + std::to_string(i) + "x3 RGBA");
  for (int i = 1; i <= 20; ++i) expected.push_back("build " + std::to_string(i) + "x5 RGBA");
  EXPECT_EQ(Log_.Events, expected) << "no texture parameter or environment is set";
  EXPECT_TRUE(std::all_of(Log_.Internal_Formats.begin(), Log_.Internal_Formats.end(),
                          [](GLint f) { return f == GL_RGBA; }));
  EXPECT_TRUE(std::all_of(Log_.Types.begin(), Log_.Types.end(), [](GLenum t) { return t == GL_UNSIGNED_BYTE; }));

  const auto& s = All;
  EXPECT_EQ(s.Skin_Textures[0], 1u);
  EXPECT_EQ(s.Skin_Textures[1], 2u);
  EXPECT_EQ(s.UFO_Textures[4], 7u);
  EXPECT_EQ(s.Help_Panel_Texture, 8u);
  EXPECT_EQ(s.Font_Texture, 9u);
  EXPECT_EQ(s.StarBurst_Texture, 10u);
  EXPECT_EQ(s.Background_Texture, 11u);
  EXPECT_EQ(s.StarBurst_Frame_Textures[8], 20u);
  EXPECT_EQ(s.Blob_Textures[19], 40u);
  EXPECT_FALSE(s.Skin_Bitmaps[0] || s.Skin_Bitmaps[1]);
  const auto& p = Loaded_Scene_Pictures();
  EXPECT_FALSE(p.StarBurst || p.Background || p.Help_Panel || p.UFOs[0] || p.StarBurst_Frames[8] || p.Blobs[19]);
}

TEST_F(Texture_Upload, Preview_Uploads_One_Skin_Frame_And_Blob_And_Shows_The_Skin) {
  All.Run_Mode_Preview = True32;
  Fill_Skins(1);
  Fill_Scene_Pictures();
  int advanced = 0;
  Upload_Scene_Textures([&] { ++advanced; }, [&] { ++advanced; });
  EXPECT_EQ(Log_.Events,
            (std::vector<std::string>{"enable", "build 8x4 RGBA", "build 7x7 RGBA", "build 1x3 RGBA", "build 1x5 RGBA"}));
  EXPECT_EQ(All.Tunnel_Texture_A, All.Skin_Textures[0]);
  EXPECT_NE(All.Tunnel_Texture_A, 0u);
  EXPECT_EQ(advanced, 0) << "the preview has no progress bar";
  EXPECT_TRUE(Loaded_Scene_Pictures().Background) << "not a picture of the preview: left alone";
}

TEST_F(Texture_Upload, Progress_Advances_After_Skins_Below_The_Last_Two_Then_Per_Step) {
  struct Case {
    const char* Name;
    int Skins;
    int Advances;
  } cases[] = {
      {"one skin: the three steps only", 1, 3},
      {"two skins: still none from the skins", 2, 3},
      {"three skins: after skin 1", 3, 4},
      {"six skins: after skins 1 to 4", 6, 7},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Reset_All_Variables();
    All.Run_Mode_Fullscreen = True32;
    Fill_Skins(c.Skins);
    int advances = 0, completes = 0;
    std::vector<int> order;
    Upload_Scene_Textures([&] { ++advances; order.push_back(1); }, [&] { ++completes; order.push_back(2); });
    EXPECT_EQ(advances, c.Advances);
    EXPECT_EQ(completes, 1);
    EXPECT_EQ(order.back(), 2) << "the bar is set to 110 last";
  }
}

TEST_F(Texture_Upload, Pending_Messages_Run_Before_Each_Skin_And_A_Quit_Stays_Queued) {
  All.Run_Mode_Fullscreen = True32;
  Fill_Skins(3);
  Window_Handle window = Window_New_Handle();
  Window_Set_Proc(window, [](const Window_Message&) -> intptr_t {
    Log->Events.push_back("message");
    return 0;
  });
  Post_Message(window, 1024); // a message of the application's own
  Post_Quit_Message(0);
  Upload_Scene_Textures(nullptr, nullptr);
  ASSERT_GE(Log_.Events.size(), 3u);
  EXPECT_EQ(Log_.Events[1], "message");
  EXPECT_EQ(Log_.Events[2], "build 8x4 RGBA");
  EXPECT_EQ(Count("message"), 1);
  Window_Message m;
  ASSERT_TRUE(Peek_Message(m));
  EXPECT_EQ(m.Message, static_cast<uint32_t>(WM_QUIT)) << "the render loop still sees the quit";
}

TEST_F(Texture_Upload, The_Start_Skin_Is_Never_The_Last_With_Random_Skins) {
  // One skin: start skin 1, both layers show it.
  All.Run_Mode_Fullscreen = True32;
  Fill_Skins(1);
  Upload_Scene_Textures(nullptr, nullptr);
  EXPECT_EQ(All.Current_Skin, 1);
  EXPECT_EQ(All.Tunnel_Texture_A, All.Skin_Textures[0]);
  EXPECT_EQ(All.Tunnel_Texture_B, All.Skin_Textures[0]);

  // Three skins over many seeds: start skin 1 or 2, layer B the next skin.
  std::set<int> seen;
  for (uint64_t seed = 1; seed <= 200; ++seed) {
    Reset_All_Variables();
    All.Run_Mode_Fullscreen = True32;
    Fill_Skins(3);
    Random_Set_State(seed);
    Upload_Scene_Textures(nullptr, nullptr);
    const auto& s = All;
    ASSERT_TRUE(s.Current_Skin == 1 || s.Current_Skin == 2) << "seed " << seed << ": " << s.Current_Skin;
    seen.insert(s.Current_Skin);
    EXPECT_EQ(s.Tunnel_Texture_A, s.Skin_Textures[static_cast<size_t>(s.Current_Skin - 1)]);
    EXPECT_EQ(s.Tunnel_Texture_B, s.Skin_Textures[static_cast<size_t>(s.Current_Skin)]);
  }
  EXPECT_EQ(seen, (std::set<int>{1, 2}));

  // Without random skins: skin 1.
  Reset_All_Variables();
  All.Run_Mode_Fullscreen = True32;
  All.Use_Random_Skins = False32;
  Fill_Skins(3);
  Upload_Scene_Textures(nullptr, nullptr);
  EXPECT_EQ(All.Current_Skin, 1);
  EXPECT_EQ(All.Tunnel_Texture_B, All.Skin_Textures[1]);
}

TEST_F(Texture_Upload, A_Recorded_Size_That_Disagrees_With_The_Picture_Is_Not_Trusted) {
  All.Run_Mode_Fullscreen = True32;
  Fill_Skins(1);
  All.Skin_Widths[0] = 4096; // larger than the pixels held
  Upload_Scene_Textures(nullptr, nullptr);
  EXPECT_EQ(Log_.Events[1], "build 8x4 RGBA");
}

TEST_F(Texture_Upload, The_Preview_Skin_Is_Fitted_Tiled_And_Replaces_The_Last_One) {
  Use_Library({{"JPEG/Texx_01", Jpeg(300, 200)}, {"JPEG/Texx_02", Jpeg(64, 48)}, {"JPEG/Texx_03", Bytes{1, 2, 3}}});
  All.Run_Mode_Settings = True32;
  struct Step {
    const char* Name;
    int Number;
    bool Ok;
    const char* Built; // nullptr: nothing built
    const char* Deleted;
  } steps[] = {
      {"skin 1: fitted to 256 x 256, not tiled", 1, true, "build 256x256 RGBA", nullptr},
      {"skin 2: small enough, tiled", 2, true, "build 128x96 RGBA", "delete 1"},
      {"skin 1 again", 1, true, "build 256x256 RGBA", "delete 2"},
      {"a missing skin", 7, false, nullptr, nullptr},
      {"a damaged skin", 3, false, nullptr, nullptr},
  };
  for (const auto& step : steps) {
    SCOPED_TRACE(step.Name);
    Log_.Events.clear();
    const uint32_t before = All.Tunnel_Texture_A;
    EXPECT_EQ(Load_Preview_Skin(step.Number), step.Ok);
    std::vector<std::string> expected;
    if (step.Built) expected.push_back(step.Built);
    if (step.Deleted) expected.push_back(step.Deleted);
    EXPECT_EQ(Log_.Events, expected);
    EXPECT_EQ(All.Tunnel_Texture_A, step.Ok ? Log_.Next_Name : before);
  }
  // A texture another slot still shows is kept.
  All.Tunnel_Texture_B = All.Tunnel_Texture_A;
  Log_.Events.clear();
  EXPECT_TRUE(Load_Preview_Skin(2));
  EXPECT_EQ(Log_.Events, (std::vector<std::string>{"build 128x96 RGBA"}));
  // The full-screen run keeps the picture's size.
  All.Run_Mode_Settings = False32;
  All.Run_Mode_Fullscreen = True32;
  Log_.Events.clear();
  EXPECT_TRUE(Load_Preview_Skin(1));
  EXPECT_EQ(Log_.Events.front(), "build 300x200 RGBA");
}

} // namespace
