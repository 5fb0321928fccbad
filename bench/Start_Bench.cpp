// Start_Bench: time from process start to the first frame of a full-screen
// run with the full built-in asset set, next to the time libjpeg-turbo needs
// just to decode the same pictures on one core (the limit), and the run's
// peak memory. Prints figures; asserts nothing.
//
// Usage: start_bench [runs]   (GLOWSAVER_TREE names the install tree)
#include "E2e_Support.h"
#include "platform/Jpeg_Decoder.h"
#include "platform/Resource_Module.h"

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

long long Monotonic_Ns() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<long long>(t.tv_sec) * 1000000000ll + t.tv_nsec;
}

std::string Two_Digits(int n) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d", n);
  return text;
}

// The JPEG pictures a full-screen run decodes with skins pack `pack` (all its
// skins, random skins on): background, one star burst, the nine frames, the 20
// blob pictures, the help panel, the five UFO pictures, the pack's skins.
std::vector<std::string> Run_Pictures(int pack) {
  static const int First[] = {1, 18, 35, 52, 69, 86}, Last[] = {17, 34, 51, 68, 85, 99};
  std::vector<std::string> names{"BCKGRND", "Starburst_01", "Help_Panel"};
  for (int n = 15; n <= 23; ++n) names.push_back("Starburst_" + Two_Digits(n));
  for (int n = 1; n <= 20; ++n) names.push_back("BlobPlasmaTex_" + Two_Digits(n));
  for (int n = 1; n <= 5; ++n) names.push_back("ufo_texx_0" + std::to_string(n));
  for (int n = First[pack - 1]; n <= Last[pack - 1]; ++n) names.push_back("Texx_" + Two_Digits(n));
  if (pack == 1) names.push_back("Texx_01");
  return names;
}

// Best of three: decoding the run's pictures one after the other on one core.
double Decode_Limit_Ms(const Resource_Module& library, int pack, double* megapixels) {
  std::vector<std::vector<uint8_t>> files;
  for (const auto& name : Run_Pictures(pack))
    if (auto bytes = library.Read("JPEG", name)) files.push_back(std::move(*bytes));
  double best = 1e30;
  for (int round = 0; round < 3; ++round) {
    long long start = Monotonic_Ns();
    double pixels = 0;
    for (const auto& f : files)
      if (auto p = Decode_Jpeg(f)) pixels += double(p->Width) * p->Height;
    best = std::min(best, (Monotonic_Ns() - start) / 1e6);
    *megapixels = pixels / 1e6;
  }
  return best;
}

} // namespace

int main(int argc, char** argv) {
  int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  setenv("GLOWSAVER_TREE", GLOWSAVER_TREE_DEFAULT, 0);
  std::string tree = Tree_Folder();
  auto library = Resource_Module::Open(tree + "/Plugins/ServiceFullSet.bioTarvik");
  if (!library) {
    std::printf("no resource library in %s\n", tree.c_str());
    return 1;
  }
  Xvfb_Server x(1920, 1080);
  std::printf("start-up to the first frame, full screen 1920x1080, llvmpipe under Xvfb (best of %d runs)\n", runs);
  std::printf("%-6s %10s %12s %14s %8s %12s\n", "pack", "first ms", "decode ms", "decode Mpix", "ratio", "peak MB");
  for (int pack : {1, 6}) {
    double best_ms = 1e30;
    long long peak_kb = 0;
    for (int r = 0; r < runs; ++r) {
      Temp_Folder home;
      std::string install = home.Path() + "/install";
      std::filesystem::create_directories(install);
      std::filesystem::create_directory_symlink(tree + "/Plugins", install + "/Plugins");
      // The settings file names the pack (every other setting at its default).
      std::ofstream(install + "/Config.navigator")
          << "[Current StarBurst Blob Help Tentacle and SkinsPack image interleaving section]\r\ncurr_Skins_Pack="
          << pack << "\r\n";
      std::ofstream(home.Path() + "/keys.ini") << "[HKEY_CURRENT_USER\\SOFTWARE\\Tarvik\\Quenloth]\nPath=" << install << "\n";
      long long start = Monotonic_Ns();
      Child_Process run(tree + "/glowsaver", {"--frames", "2", "--print-frame-rate"},
                        {{"DISPLAY", x.Display_Name()}, {"LIBGL_ALWAYS_SOFTWARE", "1"},
                         {"GLOWSAVER_KEY_STORE", home.Path() + "/keys.ini"},
                         {"XDG_CONFIG_HOME", home.Path() + "/config"}, {"XDG_DATA_HOME", home.Path() + "/data"},
                         {"XDG_CACHE_HOME", home.Path() + "/cache"}, {"XSCREENSAVER_WINDOW", ""}});
      if (!run.Wait_Exit(120000)) continue;
      long long first = 0, frames = 0, kb = 0;
      double seconds = 0, fps = 0;
      std::string out = run.Stdout();
      std::sscanf(out.c_str(), "first-frame monotonic-ns %lld\nframes %lld seconds %lf fps %lf peak-memory-kb %lld", &first,
                  &frames, &seconds, &fps, &kb);
      if (first == 0) continue;
      best_ms = std::min(best_ms, (first - start) / 1e6);
      peak_kb = std::max(peak_kb, kb);
    }
    double megapixels = 0;
    double limit = Decode_Limit_Ms(*library, pack, &megapixels);
    std::printf("%-6d %10.1f %12.1f %14.2f %8.2f %12.1f\n", pack, best_ms, limit, megapixels, best_ms / limit,
                peak_kb / 1024.0);
  }
  std::printf("ratio = first frame / one-core decode time (target: at most 1.3); peak memory target: under 200 MB\n");
  return 0;
}
