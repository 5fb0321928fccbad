#include "glowsaver/host/Deterministic_Run.h"

#include "glowsaver/host/Host_State.h"
#include "glowsaver/host/Keys_Unit.h"
#include "platform/Platform_Clock.h"
#include "platform/Platform_Display.h"
#include "platform/Platform_Files.h"

#include <QImage>

#include <cmath>
#include <ctime>
#include <cstdio>

namespace {

// The virtual clock starts one hour in, so tick arithmetic never starts at 0.
constexpr uint64_t Virtual_Start_Us = 3'600'000'000ull;

// The monotonic clock shared by every process, for the first-frame report.
long long Monotonic_Ns() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<long long>(t.tv_sec) * 1000000000ll + t.tv_nsec;
}

// The process's peak resident memory, in kB (0 when unknown).
long long Peak_Memory_Kb() {
  std::FILE* f = std::fopen("/proc/self/status", "r");
  if (!f) return 0;
  char line[256];
  long long kb = 0;
  while (std::fgets(line, sizeof line, f))
    if (std::sscanf(line, "VmHWM: %lld kB", &kb) == 1) break;
  std::fclose(f);
  return kb;
}

} // namespace

void Deterministic_Start() {
  if (Host.Options.Deterministic) Clock_Use_Virtual(Virtual_Start_Us);
}

std::string Saved_Frame_Name(int64_t frame) {
  char name[32];
  std::snprintf(name, sizeof name, "frame-%06lld.png", static_cast<long long>(frame));
  return name;
}

void Deterministic_Before_Swap(Window_Handle window) {
  int64_t frame = Host.Frames_Drawn + 1;
  if (!Host.Options.Save_Frames.count(frame)) return;
  Pixel_Picture picture;
  std::string path = Host.Options.Save_Folder + "/" + Saved_Frame_Name(frame);
  if (!Desktop().Gl_Read_Back_Buffer(window, picture)) {
    std::fprintf(stderr, "glowsaver: frame %lld could not be read back\n", static_cast<long long>(frame));
    return;
  }
  QImage image(picture.Pixels.data(), picture.Width, picture.Height, picture.Row_Bytes(), QImage::Format_RGB32);
  Make_Folders(Host.Options.Save_Folder);
  if (!image.save(QString::fromStdString(path), "PNG"))
    std::fprintf(stderr, "glowsaver: could not write %s\n", path.c_str());
}

void Deterministic_After_Frame() {
  ++Host.Frames_Drawn;
  // A benchmark measures the time from its start of the process to this line.
  if (Host.Frames_Drawn == 1 && Host.Options.Print_Frame_Rate) {
    std::printf("first-frame monotonic-ns %lld\n", Monotonic_Ns());
    std::fflush(stdout);
  }
  const auto [first, last] = Host.Options.Presses.equal_range(Host.Frames_Drawn);
  for (auto press = first; press != last; ++press) Process_Keys_Once(press->second);
  if (Host.Options.Deterministic) Clock_Advance_Us(static_cast<uint64_t>(std::llround(Host.Options.Frame_Ms * 1000.0)));
  if (Host.Options.Frames > 0 && Host.Frames_Drawn == Host.Options.Frames) Request_Termination();
}

void Deterministic_Report() {
  if (!Host.Options.Print_Frame_Rate) return;
  double seconds = static_cast<double>(Clock_Now_Us() - Host.Loop_Start_Us) / 1e6;
  std::printf("frames %lld seconds %.3f fps %.2f peak-memory-kb %lld\n", static_cast<long long>(Host.Frames_Drawn),
              seconds, seconds > 0 ? static_cast<double>(Host.Frames_Drawn) / seconds : 0.0, Peak_Memory_Kb());
  std::fflush(stdout);
}
