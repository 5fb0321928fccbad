// The show as the deterministic mode draws it (fixed seed, virtual clock,
// keys pressed after chosen frames, offscreen at 320x240, Mesa llvmpipe under
// an Xvfb of the test's own), at known moments: the star-burst intro, the
// tinted fade-in, the plain tube, a skin cross-fade, texture generation and
// the whirlpool. Each frame, reduced to 80x60 by 4x4 averages, is compared
// with a small reference picture in reference/; a few properties that matter
// are checked on the full frame as well.
//
// Tolerance: on the machine that made the references the frames are the same
// bit for bit (the run is deterministic). The averages absorb what another
// build of the rasteriser may round differently: the mean difference over all
// channels must stay within Mean_Tolerance levels, and at most
// Outlier_Share of the reduced pixels may differ by more than
// Outlier_Levels in any channel.
//
// When the show or the assets change on purpose, make new references with
// GLOWSAVER_UPDATE_REFERENCES=1 (they are written into the source tree) and
// look at them before committing. A failing comparison leaves the frame and
// its reduced picture in the build folder (show-frames-actual/).
#include <gtest/gtest.h>

#include "E2e_Support.h"

#include <QImage>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr double Mean_Tolerance = 2.0;    // levels, mean over all channels
constexpr int Outlier_Levels = 24;        // levels in one channel
constexpr double Outlier_Share = 0.01;    // of the reduced pixels
constexpr int Reduce = 4;                 // 320x240 -> 80x60

struct Rgb {
  double R = 0, G = 0, B = 0;
  double Brightness() const { return (R + G + B) / 3; }
};

// The mean colour of a rectangle of the picture.
Rgb Mean(const QImage& image, int x0, int y0, int w, int h) {
  Rgb sum;
  for (int y = y0; y < y0 + h; ++y)
    for (int x = x0; x < x0 + w; ++x) {
      const QRgb p = image.pixel(x, y);
      sum.R += qRed(p), sum.G += qGreen(p), sum.B += qBlue(p);
    }
  const double n = static_cast<double>(w) * h;
  return {sum.R / n, sum.G / n, sum.B / n};
}

QImage Reduced(const QImage& frame) {
  QImage out(frame.width() / Reduce, frame.height() / Reduce, QImage::Format_RGB888);
  for (int y = 0; y < out.height(); ++y)
    for (int x = 0; x < out.width(); ++x) {
      const Rgb m = Mean(frame, x * Reduce, y * Reduce, Reduce, Reduce);
      out.setPixel(x, y, qRgb(static_cast<int>(std::lround(m.R)), static_cast<int>(std::lround(m.G)),
                              static_cast<int>(std::lround(m.B))));
    }
  return out;
}

// Empty when the pictures agree within the tolerance, else what differs.
std::string Compare(const QImage& got, const QImage& want) {
  if (got.size() != want.size()) return "the reference has another size";
  double total = 0;
  int outliers = 0;
  for (int y = 0; y < got.height(); ++y)
    for (int x = 0; x < got.width(); ++x) {
      const QRgb a = got.pixel(x, y), b = want.pixel(x, y);
      const int d[3] = {std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))};
      total += d[0] + d[1] + d[2];
      outliers += std::max({d[0], d[1], d[2]}) > Outlier_Levels;
    }
  const double pixels = static_cast<double>(got.width()) * got.height();
  const double mean = total / (3 * pixels);
  if (mean <= Mean_Tolerance && outliers <= Outlier_Share * pixels) return {};
  return "mean difference " + std::to_string(mean) + " levels, " + std::to_string(outliers) +
         " reduced pixels differ by more than " + std::to_string(Outlier_Levels);
}

struct Moment {
  const char* Name;        // also the reference's file name
  const char* Run;         // which run of the saver draws it
  int Frame;
  // A property of the full frame that matters at this moment; `frames` holds
  // every saved frame of the same run by number.
  std::function<void(const QImage& frame, const std::map<int, QImage>& frames)> Check;
};

// Run "show": the show untouched up to frame 1300, then Enter (a skin step).
// Run "keys": S switches texture generation on after frame 1300 and off after
// 1310; numeric-pad plus after 1311 starts the swap to the whirlpool.
const std::map<std::string, std::string> Presses = {{"show", "1300:13"}, {"keys", "1300:83,1310:83,1311:107"}};

std::vector<Moment> Moments() {
  return {
      {"intro", "show", 400,
       [](const QImage& f, const std::map<int, QImage>&) {
         // The two additive star-burst copies saturate the disc's centre in
         // its own colour: green and red full, no blue.
         const Rgb c = Mean(f, 152, 112, 16, 16);
         EXPECT_GE(c.R, 240) << "disc centre red";
         EXPECT_GE(c.G, 240) << "disc centre green";
         EXPECT_LE(c.B, 30) << "disc centre blue";
       }},
      {"fade-in", "show", 700,
       [](const QImage& f, const std::map<int, QImage>& frames) {
         // Away from the disc the tube shows through its rising tint: darker
         // than once the fade-in is over.
         const double now = Mean(f, 0, 0, 48, 48).Brightness();
         const double after = Mean(frames.at(1300), 0, 0, 48, 48).Brightness();
         EXPECT_LT(now, 0.75 * after) << "tinted corner " << now << ", untinted " << after;
         EXPECT_GT(now, 10) << "the tube is already on its way in";
       }},
      {"tube", "show", 1300, nullptr},
      {"skin-cross-fade", "show", 1340, nullptr},
      {"texture-generation", "keys", 1310, nullptr},
      {"whirlpool", "keys", 1611, nullptr},
  };
}

class Show_Frames : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    Server = std::make_unique<Xvfb_Server>(640, 480);
    Home = std::make_unique<Temp_Folder>();
  }
  static void TearDownTestSuite() {
    Home.reset();
    Server.reset();
  }

  // Runs the saver in deterministic mode until `last`, saving `frames`; the
  // run gets an install folder of its own so no settings file of an earlier
  // run changes its skins.
  static std::map<int, QImage> Run_Saver(const std::string& run, const std::vector<int>& frames) {
    const fs::path root = fs::path(Home->Path()) / run;
    const std::string store = (root / "keys.ini").string();
    Make_Own_Install_Folder((root / "install").string(), store);
    std::string list;
    int last = 0;
    for (int n : frames) {
      list += (list.empty() ? "" : ",") + std::to_string(n);
      last = std::max(last, n);
    }
    const fs::path saved = root / "frames";
    Child_Process saver(Tree_Folder() + "/glowsaver",
                        {"--seed", "7", "--frames", std::to_string(last), "--offscreen", "--size", "320x240",
                         "--press", Presses.at(run), "--save-frames", list, "--save-dir", saved.string(), "/s"},
                        {{"DISPLAY", Server->Display_Name()},
                         {"LIBGL_ALWAYS_SOFTWARE", "1"},
                         {"GLOWSAVER_KEY_STORE", store},
                         {"XDG_CONFIG_HOME", (root / "config").string()},
                         {"XDG_DATA_HOME", (root / "data").string()},
                         {"XDG_CACHE_HOME", (root / "cache").string()},
                         {"XSCREENSAVER_WINDOW", ""}});
    std::map<int, QImage> images;
    if (!saver.Wait_Exit(120000)) {
      ADD_FAILURE() << "the " << run << " run did not end";
      return images;
    }
    EXPECT_EQ(saver.Exit_Code(), 0) << saver.Stderr();
    for (int n : frames) {
      char name[32];
      std::snprintf(name, sizeof name, "frame-%06d.png", n);
      QImage image((saved / name).string().c_str());
      if (image.isNull())
        ADD_FAILURE() << run << ": frame " << n << " was not saved";
      else
        images[n] = image.convertToFormat(QImage::Format_RGB888);
    }
    return images;
  }

  static inline std::unique_ptr<Xvfb_Server> Server;
  static inline std::unique_ptr<Temp_Folder> Home;
};

TEST_F(Show_Frames, Known_Moments_Look_As_Their_References) {
  const bool update = std::getenv("GLOWSAVER_UPDATE_REFERENCES") != nullptr;
  const fs::path references = GLOWSAVER_REFERENCE_DIR;
  const fs::path actual = fs::path(GLOWSAVER_ACTUAL_DIR);
  std::map<std::string, std::vector<int>> wanted;
  for (const Moment& m : Moments()) wanted[m.Run].push_back(m.Frame);
  wanted["show"].push_back(1300); // the fade-in's untinted comparison
  std::map<std::string, std::map<int, QImage>> runs;
  for (const auto& [run, frames] : wanted) runs[run] = Run_Saver(run, frames);

  for (const Moment& m : Moments()) {
    SCOPED_TRACE(std::string(m.Name) + " (frame " + std::to_string(m.Frame) + ")");
    const auto& frames = runs[m.Run];
    auto found = frames.find(m.Frame);
    if (found == frames.end()) continue; // reported by Run_Saver
    const QImage& frame = found->second;
    ASSERT_EQ(frame.width(), 320);
    ASSERT_EQ(frame.height(), 240);
    if (m.Check) m.Check(frame, frames);
    const QImage reduced = Reduced(frame);
    const fs::path reference = references / (std::string(m.Name) + ".png");
    if (update) {
      EXPECT_TRUE(reduced.save(reference.string().c_str(), "PNG")) << reference;
      continue;
    }
    const QImage want(reference.string().c_str());
    ASSERT_FALSE(want.isNull()) << "no reference " << reference;
    const std::string difference = Compare(reduced, want.convertToFormat(QImage::Format_RGB888));
    if (!difference.empty()) {
      fs::create_directories(actual);
      frame.save((actual / (std::string(m.Name) + "-frame.png")).string().c_str(), "PNG");
      reduced.save((actual / (std::string(m.Name) + ".png")).string().c_str(), "PNG");
      ADD_FAILURE() << difference << "; the frame is in " << actual;
    }
  }
}

} // namespace
