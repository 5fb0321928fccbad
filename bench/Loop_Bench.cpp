// Loop_Bench: frames per second of the render loop with the frame as it is
// today, full screen under Xvfb with Mesa's llvmpipe, at 1280x720 and
// 1920x1080. Prints figures; asserts nothing.
//
// Usage: loop_bench [frames]   (GLOWSAVER_TREE names the install tree)
#include "E2e_Support.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
  int frames = argc > 1 ? std::atoi(argv[1]) : 600;
  setenv("GLOWSAVER_TREE", GLOWSAVER_TREE_DEFAULT, 0); // the build's tree unless one is named
  std::string saver = Tree_Folder() + "/glowsaver";
  std::printf("render loop, empty frame, llvmpipe under Xvfb, %d frames per run\n", frames);
  std::printf("%-10s %12s %12s\n", "size", "fps", "ms/frame");
  for (auto [w, h] : {std::pair{1280, 720}, std::pair{1920, 1080}}) {
    Xvfb_Server x(w, h);
    Temp_Folder home;
    Child_Process run(saver, {"--frames", std::to_string(frames), "--print-frame-rate"},
                      {{"DISPLAY", x.Display_Name()}, {"LIBGL_ALWAYS_SOFTWARE", "1"},
                       {"XDG_CONFIG_HOME", home.Path() + "/config"}, {"XDG_DATA_HOME", home.Path() + "/data"},
                       {"XDG_CACHE_HOME", home.Path() + "/cache"}, {"XSCREENSAVER_WINDOW", ""}});
    if (!run.Wait_Exit(300000)) {
      std::printf("%dx%d: did not finish\n", w, h);
      continue;
    }
    long long n = 0;
    double seconds = 0, fps = 0;
    if (std::sscanf(run.Stdout().c_str(), "frames %lld seconds %lf fps %lf", &n, &seconds, &fps) != 3) {
      std::printf("%dx%d: no report (%s)\n", w, h, run.Stderr().c_str());
      continue;
    }
    std::printf("%4dx%-5d %12.1f %12.3f\n", w, h, fps, fps > 0 ? 1000.0 / fps : 0.0);
  }
  return 0;
}
