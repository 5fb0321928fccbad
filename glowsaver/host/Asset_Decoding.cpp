#include "glowsaver/host/Asset_Decoding.h"

#include "glowsaver/host/ALL_Variables.h"
#include "glowsaver/host/Host_State.h"
#include "glowsaver/host/Launch_Unit.h"
#include "glowsaver/host/Random_Unit.h"
#include "glowsaver/host/WinMainUnit.h"
#include "glowsaver/scene/Picture_Mirrors.h"
#include "glowsaver/scene/TexturesUnit.h"
#include "platform/Bmp_File.h"
#include "platform/Jpeg_Decoder.h"
#include "platform/Platform_Display.h"
#include "platform/Platform_Files.h"
#include "platform/Resource_Module.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

namespace {

// String resources 65200, 65201 and 65231: the prefixes of the numbered pictures.
constexpr const char* Starburst_Prefix = "Starburst_";
constexpr const char* Blob_Prefix = "BlobPlasmaTex_";
constexpr const char* Skin_Prefix = "Texx_";

// Raised when a resource the run needs is not in its module: the loading stops.
struct Missing_Resource {
  std::string Name;
};

std::vector<uint8_t> Read_Resource(const Resource_Module& module, const char* type, const std::string& name) {
  auto bytes = module.Read(type, name);
  if (!bytes) throw Missing_Resource{name};
  return std::move(*bytes);
}

// Collects the jobs of one run in the loader's order.
struct Plan {
  std::vector<Decode_Job> Jobs;
  Decode_Job& Add(const Resource_Module& module, const std::string& name, std::unique_ptr<Pixel_Picture>* slot) {
    Decode_Job job;
    job.Name = name;
    job.Bytes = Read_Resource(module, "JPEG", name);
    job.Slot = slot;
    Jobs.push_back(std::move(job));
    return Jobs.back();
  }
};

// The built-in skins of pack Current_Skins_Pack.
void Plan_Builtin_Skins(Plan& plan, const Resource_Module& library) {
  auto& s = All;
  int p = std::clamp(s.Current_Skins_Pack, 1, 6) - 1;
  if (s.Use_Random_Skins) {
    int f = s.First_Skin_Of_Pack[p], l = s.Last_Skin_Of_Pack[p];
    if (l - f > s.Skins_Quantity) {
      l = f + s.Skins_Quantity - 1;
      s.Last_Skin_Of_Pack[p] = static_cast<uint8_t>(l);
    }
    int slot = 0;
    size_t first_skin_job = plan.Jobs.size();
    for (int n = f; n <= l; ++n) plan.Add(library, Skin_Prefix + Resource_Number(n), &s.Skin_Bitmaps[slot++]);
    if (p == 0) {
      // Pack 1: skin 1 is decoded once more; the extra last skin holds the
      // first decoding, skin 1 the new one (both are picture 01).
      Decode_Job again = plan.Jobs[first_skin_job];
      again.Slot = &s.Skin_Bitmaps[slot];
      plan.Jobs.push_back(std::move(again));
      s.Skins_Quantity = l - f + 2;
    } else {
      s.Skins_Quantity = l - f + 1;
    }
  } else {
    plan.Add(library, Skin_Prefix + Resource_Number(s.Start_Skin_Number), &s.Skin_Bitmaps[0]).Mirror_Tile = true;
    s.Skins_Quantity = 1;
  }
  int span = s.Last_Skin_Of_Pack[p] - s.First_Skin_Of_Pack[p] + 6;
  s.Progress_Step = static_cast<uint8_t>(s.Skins_Quantity == 1 ? 14 : 100 / span);
}

// The user's custom pictures ("*.bmp" in the custom folder, in name order).
void Plan_Custom_Skins(Plan& plan) {
  auto& s = All;
  std::vector<std::filesystem::path> files;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(s.Custom_Folder, ec)) {
    std::string ext = entry.path().extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    if (ext == ".bmp") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  if (files.empty()) {
    Desktop().Show_Cursor(true);
    if (Host.Launch_Form) Host.Launch_Form->SetForeground_Timer.Set_Enabled(false);
    Show_Message_Box(Empty_Custom_Folder_Text(), Application_Title, Box_Icon::None);
    Halt_Process(0);
  }
  int loaded = 0;
  for (const auto& file : files) {
    if (loaded >= s.Skins_Quantity || loaded >= static_cast<int>(s.Skin_Bitmaps.size())) break;
    std::ifstream in(file, std::ios::binary);
    Decode_Job job;
    job.Name = file.string();
    job.Bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    job.Bmp = true;
    job.Slot = &s.Skin_Bitmaps[loaded++];
    plan.Jobs.push_back(std::move(job));
  }
  s.Skins_Quantity = loaded;
  s.Progress_Step = static_cast<uint8_t>(s.Skins_Quantity == 1 ? 50 : 100 / (s.Skins_Quantity + 1));
}

// The checked add-on packs, each fitted to 384 x 384.
void Plan_Pack_Skins(Plan& plan) {
  auto& s = All;
  int loaded = 0;
  for (int k = 0; k < s.Skin_Packs_Count && k < static_cast<int>(s.Skin_Pack_Files.size()); ++k) {
    const std::string& file = s.Skin_Pack_Files[k];
    std::string error;
    auto pack = Resource_Module::Open(s.Plugins_Folder + file, &error);
    if (!pack) {
      std::fprintf(stderr, "glowsaver: skin pack: %s\n", error.c_str());
      if (Show_Message_Box(Pack_Load_Error_Text(file), "Confirm", Box_Icon::Question, Box_Buttons::Yes_No) ==
          Box_Answer::Yes)
        Open_Reinstall_Page();
      Halt_Process(0);
    }
    for (int t = 1; t <= s.Skin_Pack_Sizes[k] && loaded < static_cast<int>(s.Skin_Bitmaps.size()); ++t) {
      Decode_Job& job = plan.Add(*pack, Skin_Prefix + Resource_Number(t), &s.Skin_Bitmaps[loaded++]);
      job.Fit_Width = job.Fit_Height = 384;
    }
  }
  s.Skins_Quantity = loaded;
  s.Progress_Step = 1;
}

// What the launch form's timer does to every loaded skin before the render
// loop: mirror-tile skins c .. Skins_Quantity (with random skins), record the
// sizes, 32 bits per pixel.
void Plan_Skin_Finish(Plan& plan) {
  auto& s = All;
  int first_tiled = s.Current_Skins_Pack == 1 && !s.Use_Custom_JPEG ? 2 : 1;
  for (auto& job : plan.Jobs) {
    for (int i = 0; i < s.Skins_Quantity; ++i) {
      if (job.Slot != &s.Skin_Bitmaps[i]) continue;
      job.Skin_Index = i;
      if (s.Run_Mode_Fullscreen && s.Use_Random_Skins && i + 1 >= first_tiled) job.Mirror_Tile = true;
    }
  }
}

void Write_Shape_Files(const Resource_Module& library) {
  for (int n = 1; n <= 2; ++n) {
    std::vector<uint8_t> text = Read_Resource(library, "TXT_DATA", "txt_00" + std::to_string(n));
    std::string error;
    if (!Write_File_Atomically(Shape_File_Path(n), std::string_view(reinterpret_cast<const char*>(text.data()), text.size()),
                               &error))
      std::fprintf(stderr, "glowsaver: shape file: %s\n", error.c_str());
  }
}

void Run_Job(Decode_Job& job, bool* ok) {
  // A picture that is not fitted (fitting makes a 24-bit picture) is decoded
  // straight into 32 bits; the mirrors keep the format.
  std::optional<Pixel_Picture> picture;
  if (job.Bmp || job.Fit_Width > 0)
    picture = Decode_Picture(job.Bytes, job.Bmp);
  else
    picture = Decode_Jpeg(job.Bytes, nullptr, 32);
  if (!picture) {
    *ok = false;
    return;
  }
  if (job.Fit_Width > 0) *picture = Fit_Bitmap_WxH(job.Fit_Width, job.Fit_Height, *picture);
  if (job.Mirror_Tile) *picture = Texture_Mirror_Tile(*picture);
  Picture_Set_Bits_Per_Pixel(*picture, 32);
  *job.Slot = std::make_unique<Pixel_Picture>(std::move(*picture));
  std::vector<uint8_t>().swap(job.Bytes);
  *ok = true;
}

} // namespace

std::string Resource_Number(int n) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d", n);
  return text;
}

std::optional<Pixel_Picture> Decode_Picture(const std::vector<uint8_t>& bytes, bool bmp) {
  std::string_view view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (bmp) return Bmp_Decode(view);
  return Decode_Jpeg(bytes);
}

bool Run_Decode_Jobs(std::vector<Decode_Job>& jobs, std::string* failed) {
  std::vector<char> ok(jobs.size(), 0);
  std::atomic<size_t> next{0};
  auto worker = [&] {
    for (size_t i; (i = next.fetch_add(1)) < jobs.size();) {
      bool good = false;
      Run_Job(jobs[i], &good);
      ok[i] = good;
    }
  };
  unsigned cores = std::clamp(std::thread::hardware_concurrency(), 1u, 8u);
  std::vector<std::thread> threads;
  for (unsigned t = 1; t < cores && t < jobs.size(); ++t) threads.emplace_back(worker);
  worker();
  for (auto& t : threads) t.join();
  for (size_t i = 0; i < jobs.size(); ++i) {
    if (ok[i]) continue;
    if (failed) *failed = jobs[i].Name;
    return false;
  }
  // The skin tables record each skin's final size.
  for (const auto& job : jobs)
    if (job.Skin_Index >= 0 && *job.Slot) {
      All.Skin_Widths[job.Skin_Index] = (*job.Slot)->Width;
      All.Skin_Heights[job.Skin_Index] = (*job.Slot)->Height;
    }
  return true;
}

bool Load_Assets() {
  auto& s = All;
  Scene_Pictures& pictures = Loaded_Scene_Pictures();
  Randomize();
  if (!Host.Resource_Library) return false;
  const Resource_Module& library = *Host.Resource_Library;
  Plan plan;
  try {
    bool full = s.Run_Mode_Fullscreen != 0;
    if (full) plan.Add(library, "BCKGRND", &pictures.Background);
    Decode_Job& burst = plan.Add(library, Starburst_Prefix + Resource_Number(RandInt(46) + 1), &pictures.StarBurst);
    if (!full) burst.Fit_Width = burst.Fit_Height = 256;
    s.StarBurst_Frames_Count = 9;
    if (full) {
      for (int n = 15; n <= 23; ++n) plan.Add(library, Starburst_Prefix + Resource_Number(n), &pictures.StarBurst_Frames[n - 15]);
      s.StarBurst_Frame = RandInt(9) + 1;
    } else {
      plan.Add(library, Starburst_Prefix + Resource_Number(RandInt(9) + 15), &pictures.StarBurst_Frames[0]);
      s.StarBurst_Frame = 1;
    }
    if (full) {
      s.Blob_Textures_Count = 20;
      for (int n = 1; n <= 20; ++n)
        plan.Add(library, Blob_Prefix + Resource_Number(n), &pictures.Blobs[n - 1]).Mirror_Tile = true;
      s.Blob_Tex_Index = RandInt(19) + 1;
      s.Tentacle_Tex_Index = RandInt(19) + 1;
    } else {
      Decode_Job& blob = plan.Add(library, Blob_Prefix + Resource_Number(RandInt(20) + 1), &pictures.Blobs[0]);
      s.Blob_Textures_Count = 1;
      blob.Fit_Width = blob.Fit_Height = 128;
      s.Blob_Tex_Index = s.Tentacle_Tex_Index = 1;
    }
    if (full) {
      plan.Add(library, "Help_Panel", &pictures.Help_Panel);
      for (int n = 1; n <= 5; ++n) plan.Add(library, "ufo_texx_0" + std::to_string(n), &pictures.UFOs[n - 1]);
    }
    Write_Shape_Files(library);
    // Skins.
    if (s.Run_Mode_Settings) {
      // The dialog loads its own preview skin.
    } else if (s.Run_Mode_Preview) {
      int n = RandInt(s.Skins_Quantity) + 1;
      s.Skins_Quantity = 1;
      plan.Add(library, Skin_Prefix + Resource_Number(n), &s.Skin_Bitmaps[0]);
    } else if (s.Use_Custom_JPEG) {
      Plan_Custom_Skins(plan);
    } else if (s.Skin_Packs_Selected && s.Skin_Packs_Found) {
      Plan_Pack_Skins(plan);
    } else {
      Plan_Builtin_Skins(plan, library);
    }
    Plan_Skin_Finish(plan);
  } catch (const Missing_Resource& missing) {
    Show_Message_Box("Resource " + missing.Name + " not found", Application_Title, Box_Icon::Error);
    return false;
  }
  std::string failed;
  if (!Run_Decode_Jobs(plan.Jobs, &failed)) {
    Show_Message_Box("Bitmap image is not valid: " + failed, Application_Title, Box_Icon::Error);
    return false;
  }
  if (pictures.Help_Panel) {
    s.Help_Panel_Width = pictures.Help_Panel->Width;
    s.Help_Panel_Height = pictures.Help_Panel->Height;
  }
  return true;
}
