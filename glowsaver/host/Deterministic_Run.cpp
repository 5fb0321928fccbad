#include "glowsaver/host/Deterministic_Run.h"

#include "glowsaver/host/Host_State.h"
#include "platform/Platform_Clock.h"
#include "platform/Platform_Display.h"
#include "platform/Platform_Files.h"

#include <QImage>

#include <cmath>
#include <cstdio>

namespace {

// The virtual clock starts one hour in, so tick arithmetic never starts at 0.
constexpr uint64_t Virtual_Start_Us = 3'600'000'000ull;

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
  if (Host.Options.Deterministic) Clock_Advance_Us(static_cast<uint64_t>(std::llround(Host.Options.Frame_Ms * 1000.0)));
  if (Host.Options.Frames > 0 && Host.Frames_Drawn == Host.Options.Frames) Request_Termination();
}

void Deterministic_Report() {
  if (!Host.Options.Print_Frame_Rate) return;
  double seconds = static_cast<double>(Clock_Now_Us() - Host.Loop_Start_Us) / 1e6;
  std::printf("frames %lld seconds %.3f fps %.2f\n", static_cast<long long>(Host.Frames_Drawn), seconds,
              seconds > 0 ? static_cast<double>(Host.Frames_Drawn) / seconds : 0.0);
  std::fflush(stdout);
}
