// The screensaver program from its command line under an Xvfb server of each
// test's own: the full-screen run, the keys that end it and the hot keys of
// its show, the preview inside a foreign window, XScreenSaver's -root,
// SIGTERM, the message to the settings dialog that started a run, the missing
// resource library, a bad window number, and the deterministic offscreen run
// that saves frames.
#include "E2e_Support.h"

#include <gtest/gtest.h>

// After GoogleTest: Xlib's macros (None, Bool) would break its headers.
#include <X11/Xlib.h>
#ifdef GLOWSAVER_E2E_XFIXES
#include <X11/extensions/Xfixes.h>
#endif

#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cerrno>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>

namespace fs = std::filesystem;

namespace {

const std::string Saver_Title = "Quenloth ScreenSaver";
const std::string Resource_Library = "Plugins/ServiceFullSet.bioTarvik";
constexpr uint32_t White = 0xFFFFFF;
// Message 984: a full-screen run started by the settings dialog has ended.
constexpr uint32_t Preview_Ended_Message = 984;

// Longest wait for the program to show something (a window, a frame, a box),
// in milliseconds: start-up under llvmpipe on a busy 2-core machine.
constexpr int Show_Ms = 8000;
// Longest wait for a run to end once it has been asked to, in milliseconds.
constexpr int End_Ms = 5000;
// A run ends the orderly way within this time of SIGTERM, in milliseconds.
// Its end writes the settings file and flushes it to disk, which waits for
// the disk when other tests keep it busy.
constexpr int Sigterm_Ms = 5000;
// The preview ends within this time of its parent window going, in milliseconds.
constexpr int Parent_Gone_Ms = 1000;
// A white test window counts as drawn into once less than this share of its
// pixels is still white, each channel within White_Tolerance (the frames may
// be black or the tunnel; the "processing ..." text may still show).
constexpr double White_Left = 0.1;
constexpr int White_Tolerance = 8;

// The text the missing resource library puts in the message box and on
// stderr: the box's carriage returns become line feeds there.
const std::string Missing_Library_Text =
    "Running Screensaver process has STOPED!  Reason :\n"
    "Some Files, Registry data, Libraries and Directories - IS  MISSING  or CORRUPT !!!\n"
    "Please Reinstall (download) Program - this is most light way to Restore!  \n"
    "\n"
    "     Can`t LoadLibrary :: \"ServiceFullSet.bioTarvik\"\n";

// A known add-on pack's file name, for a damaged pack of that name.
std::string Damaged_Pack_Name() { return "Ember Reef 3D.dtexx"; }

std::string Hex(Window window) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%lx", window);
    return text;
}

// Width and height from a PNG file's header (the IHDR chunk right after the
// signature: width at bytes 16..19, height at 20..23, big-endian).
std::optional<std::pair<uint32_t, uint32_t>> Png_Size(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::array<unsigned char, 24> head{};
    if (!in.read(reinterpret_cast<char*>(head.data()), head.size())) return std::nullopt;
    static const unsigned char Signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    if (std::memcmp(head.data(), Signature, 8) != 0 || std::memcmp(head.data() + 12, "IHDR", 4) != 0) {
        return std::nullopt;
    }
    auto be32 = [&](size_t at) {
        return (uint32_t{head[at]} << 24) | (uint32_t{head[at + 1]} << 16) | (uint32_t{head[at + 2]} << 8) |
               uint32_t{head[at + 3]};
    };
    return std::pair{be32(16), be32(20)};
}

std::string Read_File(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every regular file under `folder`, recursively; empty when it does not exist.
std::vector<std::string> Files_Under(const fs::path& folder) {
    std::vector<std::string> files;
    std::error_code error;
    if (!fs::exists(folder, error)) return files;
    for (const auto& entry : fs::recursive_directory_iterator(folder, error)) {
        if (entry.is_regular_file()) files.push_back(entry.path().string());
    }
    return files;
}

// The child of the root window that holds `window` (itself when it is one).
Window Top_Level_Of(Display* display, Window window) {
    Window root = DefaultRootWindow(display);
    for (;;) {
        Window parent_root = 0, parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(display, window, &parent_root, &parent, &children, &count)) return 0;
        if (children) XFree(children);
        if (parent == root || parent == 0) return window;
        window = parent;
    }
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) text += line + "\n";
    return text;
}

// The receiving end of the local channel of a settings dialog's window: an
// abstract AF_UNIX datagram socket named "glowsaver-window-<handle>", bound
// before the program starts. Each datagram is one message record.
class Dialog_Channel {
public:
    struct Record {
        uint32_t Message;
        uint32_t Reserved;
        uint64_t WParam;
        int64_t LParam;
    };
    static_assert(sizeof(Record) == 24);

    // Binds the name of the first handle of `handles` that no other process
    // has bound (a suite running at the same time may hold the first one).
    explicit Dialog_Channel(const std::vector<uint32_t>& handles) {
        for (uint32_t handle : handles) {
            int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
            if (fd < 0) throw std::runtime_error("socket: " + std::string(std::strerror(errno)));
            std::string name = "glowsaver-window-" + std::to_string(handle);
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            std::memcpy(address.sun_path + 1, name.data(), name.size());
            auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
            if (bind(fd, reinterpret_cast<sockaddr*>(&address), length) == 0) {
                Fd_ = fd;
                Handle_ = handle;
                return;
            }
            int error = errno;
            close(fd);
            if (error != EADDRINUSE) throw std::runtime_error("bind " + name + ": " + std::strerror(error));
        }
        throw std::runtime_error("every channel name of the test is taken");
    }
    ~Dialog_Channel() { close(Fd_); }
    Dialog_Channel(const Dialog_Channel&) = delete;
    Dialog_Channel& operator=(const Dialog_Channel&) = delete;

    uint32_t Handle() const { return Handle_; }

    // Every datagram that has arrived so far; the size of each is kept so a
    // record of the wrong length shows up as such.
    std::vector<std::pair<ssize_t, Record>> Drain() {
        std::vector<std::pair<ssize_t, Record>> got;
        for (;;) {
            std::array<unsigned char, 64> buffer{};
            ssize_t size = recv(Fd_, buffer.data(), buffer.size(), 0);
            if (size < 0) break;
            Record record{};
            std::memcpy(&record, buffer.data(), std::min<size_t>(sizeof record, static_cast<size_t>(size)));
            got.emplace_back(size, record);
        }
        return got;
    }

private:
    int Fd_ = -1;
    uint32_t Handle_ = 0;
};

// Notes every top-level window mapped from its construction on (the root's
// MapNotify events on the test's connection). There is no window manager,
// so every window a program shows on its own is mapped as a child of the root.
class Top_Level_Map_Watch {
public:
    explicit Top_Level_Map_Watch(Display* display) : X_(display) {
        XSelectInput(X_, DefaultRootWindow(X_), SubstructureNotifyMask);
        XSync(X_, False);
    }
    ~Top_Level_Map_Watch() {
        XSelectInput(X_, DefaultRootWindow(X_), NoEventMask);
        XSync(X_, False);
    }
    Top_Level_Map_Watch(const Top_Level_Map_Watch&) = delete;
    Top_Level_Map_Watch& operator=(const Top_Level_Map_Watch&) = delete;

    // The windows mapped so far, each with its name when it still has one.
    std::vector<std::string> Mapped() {
        XSync(X_, False);
        XEvent event;
        while (XCheckWindowEvent(X_, DefaultRootWindow(X_), SubstructureNotifyMask, &event)) {
            if (event.type == MapNotify) {
                Mapped_.push_back(Hex(event.xmap.window) + " \"" + Window_Name(X_, event.xmap.window) + "\"");
            }
        }
        return Mapped_;
    }

private:
    Display* X_;
    std::vector<std::string> Mapped_;
};

class Glowsaver : public ::testing::Test {
protected:
    // The screen is 1024 x 768 unless a fixture made from this one asks for
    // another size.
    explicit Glowsaver(int screen_width = 1024, int screen_height = 768) : Server(screen_width, screen_height) {}

    Xvfb_Server Server;
    Display* X = Server.X();
    Temp_Folder Home;

    fs::path Config_Folder() const { return fs::path(Home.Path()) / "config"; }
    fs::path Data_Folder() const { return fs::path(Home.Path()) / "data"; }
    fs::path Cache_Folder() const { return fs::path(Home.Path()) / "cache"; }

    // Starts the program of `tree` (the build's install tree by default) with
    // per-user folders of this test's own, this test's display, software GL,
    // and no XSCREENSAVER_WINDOW unless `env` sets it.
    std::unique_ptr<Child_Process> Start(const std::vector<std::string>& args,
                                         std::map<std::string, std::string> env = {},
                                         const std::string& tree = Tree_Folder()) {
        fs::path runtime = fs::path(Home.Path()) / "runtime";
        for (const fs::path& folder : {Config_Folder(), Data_Folder(), Cache_Folder(), runtime}) {
            fs::create_directories(folder);
        }
        fs::permissions(runtime, fs::perms::owner_all);
        std::map<std::string, std::string> all = {
            {"DISPLAY", Server.Display_Name()},
            {"LIBGL_ALWAYS_SOFTWARE", "1"},
            {"XDG_CONFIG_HOME", Config_Folder().string()},
            {"XDG_DATA_HOME", Data_Folder().string()},
            {"XDG_CACHE_HOME", Cache_Folder().string()},
            {"XDG_RUNTIME_DIR", runtime.string()},
            {"XSCREENSAVER_WINDOW", ""},
        };
        for (auto& [name, value] : env) all[name] = value;
        if (tree == Tree_Folder() && !env.count("GLOWSAVER_KEY_STORE")) {
            Use_Own_Install_Folder();
            all["GLOWSAVER_KEY_STORE"] = Key_Store();
        }
        return std::make_unique<Child_Process>(tree + "/glowsaver", args, all);
    }

    // The runs of this test get an install folder of their own (named in the
    // key store), whose Plugins/ is the build's: the settings file a run writes
    // is then this test's alone.
    std::string Install_Folder() const { return Home.Path() + "/install"; }
    std::string Key_Store() const { return Home.Path() + "/keys.ini"; }
    void Use_Own_Install_Folder() { Make_Own_Install_Folder(Install_Folder(), Key_Store()); }

    // What to print when a check about the run fails.
    static std::string Output(Child_Process& saver) {
        return "stdout:\n" + saver.Stdout() + "stderr:\n" + saver.Stderr();
    }

    // The render loop's window: the viewable saver window that covers the
    // whole screen once the splash (the launch form, titled the same and made
    // first) has made way for it.
    std::optional<Window> Wait_Fullscreen_Window(Child_Process& saver) {
        std::optional<Window> found;
        Wait_Until(
            [&] {
                // A client's window ids grow: the loop's window is the newest.
                auto all = Find_Windows_By_Name(X, Saver_Title, false);
                auto viewable = Find_Windows_By_Name(X, Saver_Title, true);
                if (all.size() < 2 || viewable.size() != 1 ||
                    viewable.front() != *std::max_element(all.begin(), all.end()))
                    return !saver.Running();
                for (Window window : viewable) {
                    Window_Rect where = Window_Geometry(X, window);
                    if (where.X == 0 && where.Y == 0 && where.Width == Server.Width() &&
                        where.Height == Server.Height()) {
                        found = window;
                        return true;
                    }
                }
                return !saver.Running();
            },
            Show_Ms);
        return found;
    }

    // The viewable top-level window named `title`, once there is one.
    std::optional<Window> Wait_Window_Named(Child_Process& saver, const std::string& title) {
        std::optional<Window> found;
        Wait_Until(
            [&] {
                auto windows = Find_Windows_By_Name(X, title, true);
                if (!windows.empty()) found = windows.front();
                return found || !saver.Running();
            },
            Show_Ms);
        return found;
    }

    // True once the white test window shows the saver's frames instead.
    bool Wait_Drawn(Window window, Child_Process& saver) {
        return Wait_Until(
            [&] {
                Rgb_Image shot = Capture_Window(X, window);
                return (shot.Width > 0 && shot.Fraction_Of_Color(White, White_Tolerance) < White_Left) ||
                       !saver.Running();
            },
            Show_Ms) &&
               saver.Running();
    }

    // A copy of the install tree without the resource library.
    std::string Tree_Without_Library() {
        std::string tree = Home.Path() + "/tree";
        Copy_Tree(Tree_Folder(), tree);
        fs::remove(fs::path(tree) / Resource_Library);
        return tree;
    }
};

// ---- The show.

TEST_F(Glowsaver, Full_Screen_Shows_A_Moving_Picture) {
    auto saver = Start({});
    auto window = Wait_Fullscreen_Window(*saver);
    ASSERT_TRUE(window) << Output(*saver);
    // Not black: some of the picture is lit (the intro's star burst rises out
    // of the black, then the tunnel fades in).
    auto lit = [](const Rgb_Image& shot) { return shot.Width > 0 && shot.Fraction_Of_Color(0x000000, 8) < 0.99; };
    // Two pictures a second apart, the first a second after the window came
    // (by then the splash's last pixels are long painted over).
    auto after = [](int ms) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        Wait_Until([&] { return std::chrono::steady_clock::now() >= until; }, ms + 1000);
    };
    after(1000);
    Rgb_Image first = Capture_Window(X, *window);
    after(1000);
    Rgb_Image second = Capture_Window(X, *window);
    ASSERT_TRUE(saver->Running()) << Output(*saver);
    ASSERT_EQ(second.Width, first.Width);
    EXPECT_TRUE(lit(first)) << "the first picture is black";
    EXPECT_TRUE(lit(second)) << "the second picture is black";
    EXPECT_NE(first.Rgb, second.Rgb) << "two pictures a second apart are the same";
    saver->Signal(SIGTERM);
    ASSERT_TRUE(saver->Wait_Exit(End_Ms));
    EXPECT_EQ(saver->Exit_Code(), 0);
}

// ---- Loading.

TEST_F(Glowsaver, Full_Screen_Start_Shows_The_Splash_Then_The_Render_Loop) {
    auto saver = Start({});
    // The splash: the loader picture fills the screen.
    EXPECT_TRUE(Wait_Until(
        [&] {
            Rgb_Image shot = Capture_Window(X, DefaultRootWindow(X));
            return (shot.Width > 0 && shot.Mean_Brightness() > 20) || !saver->Running();
        },
        Show_Ms));
    auto window = Wait_Fullscreen_Window(*saver);
    ASSERT_TRUE(window) << Output(*saver);
    EXPECT_GT(Capture_Window(X, *window).Width, 0) << "the render loop's window shows";
    saver->Signal(SIGTERM);
    ASSERT_TRUE(saver->Wait_Exit(End_Ms));
    EXPECT_EQ(saver->Exit_Code(), 0);
    // The run's end wrote the settings counter into its install folder.
    EXPECT_NE(Read_File(fs::path(Install_Folder()) / "Config.navigator").find("curr_Skins_Pack="), std::string::npos);
}

TEST_F(Glowsaver, Loading_Errors_Show_Their_Message_And_End_With_0) {
    struct Case {
        const char* Name;
        std::string Settings;       // Adjustment_Form_Section lines
        bool Damaged_Pack;
        std::string Text;           // on stderr (carriage returns as line feeds)
        std::string Answer;         // key for the box
    } cases[] = {
        {"an empty custom folder", "CheckBox_Use_Custom_JPEG / Cheked or Not=1\r\n", false,
         "   There is no \"JPG\" files in your custom directory!   \n       Run Setting and choose any textures!   \n",
         "Return"},
        {"a damaged add-on pack", "CheckListBox_10Textures / This Checked Items [ 0 ] ordinal number=0\r\n", true,
         "Please Reinstall (download) Program - this is most light way to Restore!  \n" + Damaged_Pack_Name() +
             "\n Current Error = From \"Load_ALL_Jpegs_fromDLL and AssignIt_to_Bitmaps\" Procedrue !!!  in library : " +
             Damaged_Pack_Name() + "\n",
         "n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Temp_Folder install;
        fs::create_directories(fs::path(install.Path()) / "Plugins");
        fs::create_symlink(fs::path(Tree_Folder()) / Resource_Library, fs::path(install.Path()) / Resource_Library);
        if (c.Damaged_Pack) std::ofstream(fs::path(install.Path()) / "Plugins" / Damaged_Pack_Name()) << "not a pack";
        std::ofstream(fs::path(install.Path()) / "Config.navigator", std::ios::binary)
            << "[Adjustment_Form_Section]\r\n" << c.Settings;
        std::string keys = install.Path() + "/keys.ini";
        std::ofstream(keys) << "[HKEY_CURRENT_USER\\SOFTWARE\\Tarvik\\Quenloth]\nPath=" << install.Path() << "\n";
        auto saver = Start({}, {{"GLOWSAVER_KEY_STORE", keys}});
        ASSERT_TRUE(saver->Wait_Stderr_Contains(c.Text, Show_Ms)) << Output(*saver);
        // The box: a viewable window of its caption that is not the splash.
        std::optional<Window> box;
        ASSERT_TRUE(Wait_Until(
            [&] {
                for (Window w : Find_Windows_By_Name(X, c.Damaged_Pack ? "Confirm" : Saver_Title, true))
                    if (Window_Geometry(X, w).Width < Server.Width()) box = w;
                return box.has_value();
            },
            Show_Ms));
        Focus_Window(Server, *box);
        Send_Key(Server, c.Answer);
        ASSERT_TRUE(saver->Wait_Exit(End_Ms)) << Output(*saver);
        EXPECT_EQ(saver->Exit_Code(), 0);
    }
}

// ---- Full screen.

TEST_F(Glowsaver, Full_Screen_Run_Shows_A_Titled_Screen_Sized_Window_And_Esc_Ends_It) {
    auto saver = Start({});
    auto window = Wait_Fullscreen_Window(*saver);
    ASSERT_TRUE(window) << "no viewable " << Server.Width() << "x" << Server.Height() << " window titled \""
                        << Saver_Title << "\"\n"
                        << Output(*saver);
    EXPECT_EQ(Top_Level_Of(X, *window), *window) << "the full-screen window is not a top-level window";
    EXPECT_TRUE(saver->Running()) << Output(*saver);

    // A quick tap (xdotool lets the key go about 12 ms after pressing it,
    // often before the next frame has looked at the keys) ends the run too.
    Focus_Window(Server, *window);
    Send_Key(Server, "Escape");
    ASSERT_TRUE(saver->Wait_Exit(End_Ms)) << "an Esc tap did not end the run\n" << Output(*saver);
    EXPECT_EQ(saver->Exit_Code(), 0) << Output(*saver);
}

TEST_F(Glowsaver, Alt_F4_Ends_A_Full_Screen_Run) {
    auto saver = Start({});
    auto window = Wait_Fullscreen_Window(*saver);
    ASSERT_TRUE(window) << Output(*saver);
    Focus_Window(Server, *window);
    Send_Key(Server, "alt+F4");
    ASSERT_TRUE(saver->Wait_Exit(End_Ms)) << "Alt+F4 did not end the run\n" << Output(*saver);
    EXPECT_EQ(saver->Exit_Code(), 0) << Output(*saver);
}

// ---- The hot keys of the full-screen show.

// Settings under which only the keys change the picture once the show has
// settled: no star-burst intro (the tunnel fades in from a tint in about
// 3 s), no automatic skin or style changes, no show chain after its first
// step (V_Coord rises to 1 in about 0.6 s after the fade-in, then the chain
// ends), no objects, no clock overlay; keyboard control on; three skins of
// built-in pack 3, for a quick start.
const std::string Still_Show_Settings =
    "[Current StarBurst Blob Help Tentacle and SkinsPack image interleaving section]\r\n"
    "curr_Skins_Pack=3\r\n"
    "[Adjustment_Form_Section]\r\n"
    "CheckBox_Use_Extra_Layer / Cheked or Not=0\r\n"
    "RadioButton_MIX / Cheked or Not=0\r\n"
    "RadioButton_OneSkin / Cheked or Not=1\r\n"
    "CheckBox_UsePresetsCycle / Cheked or Not=0\r\n"
    "CheckBox_Show_Alien_Objects / Cheked or Not=0\r\n"
    "RadioButton_DateTime / Cheked or Not=0\r\n"
    "CheckBox_KeyBControl / Cheked or Not=1\r\n"
    "TrackBar_Skins_Quanto / Position=3\r\n";

// The screen of the keys' runs: software GL draws a smaller picture faster,
// and the timers of the fades tick at most once per frame.
constexpr int Keys_Screen_Width = 640;
constexpr int Keys_Screen_Height = 480;
// Longest wait for the picture to settle, in milliseconds: the fade-in, a
// skin cross-fade (23 to 334 timer ticks) or a style swap (29 to 432 ticks).
// The timers tick at most 64 times a second, and at most once per frame: a
// busy machine draws fewer frames and stretches every fade.
constexpr int Settle_Ms = 45000;
// Longest wait for a held key to show its effect, in milliseconds.
constexpr int Key_Effect_Ms = 10000;
// A picture is still when two screenshots this far apart (milliseconds)
// differ in no more than Still_Share of their pixels, by any amount. With
// the travel stopped, these settings, and the fade-in and V_Coord's rise
// over, nothing moves: the picture is drawn from the tunnel's parameters
// alone (the only parts drawn from the animation clock, the intro's
// star-burst disc and the particle burst, are not drawn; no object event
// starts), so the screenshots are equal. The gap is many frames long even on
// a busy machine, and the slowest fade changes a good share of the pixels by
// a level or more within it.
constexpr int Still_Gap_Ms = 800;
constexpr double Still_Share = 0.0005;
// The travel shows once more than this share of the pixels has changed.
constexpr double Moving_Share = 0.01;
// The whirlpool has travelled far enough to show what stays the same once
// more than this share of its pixels has changed.
constexpr double Travelled_Share = 0.5;
// Another skin or the other style: more than Different_Share of the pixels
// differ by more than Different_Tolerance in a channel.
constexpr double Different_Share = 0.25;
constexpr int Different_Tolerance = 24;
// The whirlpool is a cone of 33 rings around the view axis. Its last ring
// (radius 1/3, 36.2 deep, seen with a 45 degree field of view) leaves an
// opening at the very centre, of 2.2 % of half the picture's height in
// radius (5.3 pixels at 480), through which the background picture at the
// back shows: a flat patch that neither the skin nor the travel changes. The
// tube never shows the background: its rings close to a point, and its far
// end sways away from the centre, so its centre shows the moving wall. The
// checks look at the disc within Opening_Share of the opening's radius: its
// pixels are within Opening_Spread of their mean in each channel.
constexpr double Opening_Radius_Of_Half_Height = 0.0222;
constexpr double Opening_Share = 0.7;
constexpr int Opening_Spread = 20;

// Share (0 .. 1) of the pixels whose R, G or B differs between the two
// pictures by more than `tolerance`; 1 when their sizes differ.
double Changed_Share(const Rgb_Image& a, const Rgb_Image& b, int tolerance) {
    if (a.Width != b.Width || a.Height != b.Height || a.Rgb.empty()) return 1.0;
    size_t changed = 0;
    for (size_t i = 0; i < a.Rgb.size(); i += 3) {
        for (size_t c = i; c < i + 3; ++c) {
            if (std::abs(int{a.Rgb[c]} - int{b.Rgb[c]}) > tolerance) {
                ++changed;
                break;
            }
        }
    }
    return static_cast<double>(changed) / static_cast<double>(a.Rgb.size() / 3);
}

// The pixels (0xRRGGBB) of the whirlpool's opening: those whose centres lie
// within Opening_Share of its radius from the picture's centre, row by row.
std::vector<uint32_t> Opening_Disc(const Rgb_Image& shot) {
    const double radius = Opening_Share * Opening_Radius_Of_Half_Height * shot.Height / 2.0;
    const double cx = shot.Width / 2.0, cy = shot.Height / 2.0;
    const int top = std::max(0, static_cast<int>(cy - radius) - 1);
    const int bottom = std::min(shot.Height - 1, static_cast<int>(cy + radius) + 1);
    const int left = std::max(0, static_cast<int>(cx - radius) - 1);
    const int right = std::min(shot.Width - 1, static_cast<int>(cx + radius) + 1);
    std::vector<uint32_t> disc;
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            if (std::hypot(x + 0.5 - cx, y + 0.5 - cy) <= radius) disc.push_back(shot.Pixel(x, y));
        }
    }
    return disc;
}

// The largest distance of a channel of a pixel from that channel's mean.
int Spread(const std::vector<uint32_t>& pixels) {
    if (pixels.empty()) return 0;
    double spread = 0;
    for (int shift : {16, 8, 0}) {
        auto channel = [shift](uint32_t pixel) { return static_cast<double>((pixel >> shift) & 0xFF); };
        double mean = 0;
        for (uint32_t p : pixels) mean += channel(p);
        mean /= static_cast<double>(pixels.size());
        for (uint32_t p : pixels) spread = std::max(spread, std::fabs(channel(p) - mean));
    }
    return static_cast<int>(std::lround(spread));
}

// Holds `key` down until `effect` returns true or `timeout_ms` has passed,
// then lets it go; returns whether the effect came. The key is held as a
// person holds it, for many frames, and the effect is waited for while it is
// down.
bool Hold_Key_Until(const Xvfb_Server& server, const std::string& key, const std::function<bool()>& effect,
                    int timeout_ms) {
    Send_Key_Down(server, key);
    bool seen = Wait_Until(effect, timeout_ms);
    Send_Key_Up(server, key);
    return seen;
}

class Glowsaver_Keys : public Glowsaver {
protected:
    Glowsaver_Keys() : Glowsaver(Keys_Screen_Width, Keys_Screen_Height) {}
};

// One run for all the keys: each start costs seconds. Every failure names
// the key that did not do its part.
TEST_F(Glowsaver_Keys, Stop_And_Resume_The_Travel_Change_The_Skin_And_Swap_To_The_Whirlpool) {
    Use_Own_Install_Folder();
    std::ofstream(fs::path(Install_Folder()) / "Config.navigator", std::ios::binary) << Still_Show_Settings;
    // A held key presses once: a repeat after the repeat delay would start a
    // second fade once the first has ended.
    XAutoRepeatOff(X);
    XSync(X, False);
    auto saver = Start({});
    auto window = Wait_Fullscreen_Window(*saver);
    ASSERT_TRUE(window) << Output(*saver);
    Focus_Window(Server, *window);

    auto shot = [&] { return Capture_Window(X, *window); };
    auto after = [](int ms) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        Wait_Until([&] { return std::chrono::steady_clock::now() >= until; }, ms + 1000);
    };
    auto running = [&] { return saver->Running(); };
    // The picture when it has not changed over Still_Gap_Ms.
    auto still_picture = [&]() -> std::optional<Rgb_Image> {
        Rgb_Image first = shot();
        after(Still_Gap_Ms);
        Rgb_Image second = shot();
        if (second.Width == 0 || Changed_Share(first, second, 0) > Still_Share) return std::nullopt;
        return second;
    };
    // Holds `key` until the picture is still, and returns that picture.
    auto hold_until_still = [&](const std::string& key) -> std::optional<Rgb_Image> {
        std::optional<Rgb_Image> still;
        Hold_Key_Until(Server, key, [&] { return (still = still_picture()) || !running(); }, Settle_Ms);
        return running() ? still : std::nullopt;
    };
    // Holds `key` until the picture leaves `before`, then waits until it is
    // still again: the picture the fade or swap that the key started ends on.
    // `failure` says what did not happen.
    std::string failure;
    auto change_with = [&](const std::string& key, const Rgb_Image& before) -> std::optional<Rgb_Image> {
        failure = key + " started no change of the still picture";
        auto left = [&] { return Changed_Share(before, shot(), 0) > Still_Share || !running(); };
        if (!Hold_Key_Until(Server, key, left, Key_Effect_Ms) || !running()) return std::nullopt;
        failure = "the change that " + key + " started did not come to rest";
        std::optional<Rgb_Image> still;
        Wait_Until([&] { return (still = still_picture()) || !running(); }, Settle_Ms);
        return running() ? still : std::nullopt;
    };

    // 1. End stops the travel: once the fade-in is over the picture stands
    // still, also after the key is let go.
    auto stopped = hold_until_still("End");
    ASSERT_TRUE(stopped) << "End did not stop the tunnel's travel\n" << Output(*saver);
    after(1000);
    EXPECT_LE(Changed_Share(*stopped, shot(), 0), Still_Share) << "the travel went on after End was let go";
    // 2. Home resumes it, and End stops it again.
    ASSERT_TRUE(Hold_Key_Until(
        Server, "Home", [&] { return Changed_Share(*stopped, shot(), 0) > Moving_Share || !running(); },
        Key_Effect_Ms) && running())
        << "Home did not resume the tunnel's travel\n" << Output(*saver);
    auto tube_first_skin = hold_until_still("End");
    ASSERT_TRUE(tube_first_skin) << "End did not stop the travel that Home had resumed\n" << Output(*saver);

    // 3. Enter cross-fades to another skin.
    auto tube_second_skin = change_with("Return", *tube_first_skin);
    ASSERT_TRUE(tube_second_skin) << "Enter: " << failure << "\n" << Output(*saver);
    EXPECT_GT(Changed_Share(*tube_first_skin, *tube_second_skin, Different_Tolerance), Different_Share)
        << "Enter's cross-fade ended on much the same picture, not on another skin";

    // 4. The style key turns the tube into the whirlpool: a picture unlike the
    // tube's, with a flat patch at its centre ...
    auto whirlpool = change_with("KP_Add", *tube_second_skin);
    ASSERT_TRUE(whirlpool) << "numeric-pad plus: " << failure << "\n" << Output(*saver);
    EXPECT_GT(Changed_Share(*tube_second_skin, *whirlpool, Different_Tolerance), Different_Share)
        << "the style swap of numeric-pad plus ended on much the same picture as the tube";
    const std::vector<uint32_t> opening = Opening_Disc(*whirlpool);
    EXPECT_LE(Spread(opening), Opening_Spread)
        << "after numeric-pad plus the centre of the picture is no flat patch: not the whirlpool";
    // ... that is the opening onto the background: while the whirlpool
    // travels and the rest of the picture changes, it stays as it is.
    std::optional<Rgb_Image> travelling;
    EXPECT_TRUE(Hold_Key_Until(
        Server, "Home",
        [&] {
            Rgb_Image now = shot();
            if (Changed_Share(*whirlpool, now, 0) > Travelled_Share) travelling = std::move(now);
            return travelling || !running();
        },
        Settle_Ms) && running())
        << "Home did not resume the travel in the whirlpool\n" << Output(*saver);
    if (travelling) {
        EXPECT_TRUE(Opening_Disc(*travelling) == opening)
            << "the centre of the whirlpool changed with the travel: it is no opening onto the background";
    }

    // 5. Backslash, another style key, starts the swap back to the tube.
    auto whirlpool_stopped = hold_until_still("End");
    ASSERT_TRUE(whirlpool_stopped) << "End did not stop the travel in the whirlpool\n" << Output(*saver);
    EXPECT_TRUE(Hold_Key_Until(
        Server, "backslash",
        [&] { return Changed_Share(*whirlpool_stopped, shot(), 0) > Still_Share || !running(); },
        Key_Effect_Ms) && running())
        << "backslash started no style swap in the still whirlpool\n" << Output(*saver);

    saver->Signal(SIGTERM);
    ASSERT_TRUE(saver->Wait_Exit(Sigterm_Ms)) << Output(*saver);
    EXPECT_EQ(saver->Exit_Code(), 0) << Output(*saver);
}

#ifdef GLOWSAVER_E2E_XFIXES
// True when the cursor the server shows now has no visible pixel.
bool Cursor_Is_Blank(Display* display) {
    XFixesCursorImage* image = XFixesGetCursorImage(display);
    if (!image) return false;
    bool blank = true;
    for (int i = 0; i < image->width * image->height; ++i) {
        if ((image->pixels[i] >> 24) & 0xFF) blank = false;
    }
    XFree(image);
    return blank;
}

TEST_F(Glowsaver, Full_Screen_Run_Hides_The_Mouse_Cursor) {
    // Not the middle of the screen, where the pointer starts: a move there
    // would never be seen to happen.
    Move_Mouse(Server, Server.Width() / 3, Server.Height() / 3);
    ASSERT_FALSE(Cursor_Is_Blank(X)) << "the server's own cursor reads back blank: the check proves nothing";
    auto saver = Start({});
    ASSERT_TRUE(Wait_Fullscreen_Window(*saver)) << Output(*saver);
    EXPECT_TRUE(Wait_Until([&] { return Cursor_Is_Blank(X); }, Show_Ms))
        << "the cursor over the full-screen window is still visible\n"
        << Output(*saver);
}
#endif

// ---- SIGTERM ends any run the orderly way.

TEST_F(Glowsaver, Sigterm_Ends_A_Running_Show_Promptly_With_Exit_Code_0) {
    struct Case {
        const char* Name;
        bool Preview;
    };
    for (const Case& c : {Case{"full_screen", false}, Case{"preview", true}}) {
        SCOPED_TRACE(c.Name);
        Window host = c.Preview ? Create_Test_Window(X, 100, 100, 320, 240, White, "e2e preview host") : 0;
        auto saver = c.Preview ? Start({"/p", std::to_string(host)}) : Start({});
        if (c.Preview) {
            ASSERT_TRUE(Wait_Drawn(host, *saver)) << "no frames in the preview\n" << Output(*saver);
        } else {
            ASSERT_TRUE(Wait_Fullscreen_Window(*saver)) << Output(*saver);
        }
        saver->Signal(SIGTERM);
        ASSERT_TRUE(saver->Wait_Exit(Sigterm_Ms)) << "still running 5 s after SIGTERM\n" << Output(*saver);
        EXPECT_EQ(saver->Exit_Code(), 0) << Output(*saver);
        if (c.Preview) Destroy_Window(X, host);
    }
}

// ---- Preview inside another program's window.

TEST_F(Glowsaver, Preview_Draws_Into_The_Given_Window_And_Ends_When_It_Goes) {
    Window host = Create_Test_Window(X, 100, 100, 320, 240, White, "e2e preview host");
    ASSERT_EQ(Capture_Window(X, host).Fraction_Of_Color(White, 0), 1.0);
    Top_Level_Map_Watch watch(X);
    auto saver = Start({"/p", std::to_string(host)});

    ASSERT_TRUE(Wait_Drawn(host, *saver)) << "the preview window never showed frames\n" << Output(*saver);
    // The frames come from a child window that fills the given one.
    auto children = Children(X, host);
    ASSERT_FALSE(children.empty());
    Window_Rect host_rect = Window_Geometry(X, host), child_rect = Window_Geometry(X, children.back());
    EXPECT_EQ(child_rect.X, host_rect.X);
    EXPECT_EQ(child_rect.Y, host_rect.Y);
    EXPECT_EQ(child_rect.Width, host_rect.Width);
    EXPECT_EQ(child_rect.Height, host_rect.Height);
    EXPECT_TRUE(watch.Mapped().empty()) << "the preview showed windows of its own:\n" << Joined(watch.Mapped());
    for (Window named : Find_Windows_By_Name(X, Saver_Title, true)) {
        EXPECT_EQ(Top_Level_Of(X, named), host) << "a viewable window titled \"" << Saver_Title
                                                << "\" outside the preview window: " << Hex(named);
    }

    Destroy_Window(X, host);
    ASSERT_TRUE(saver->Wait_Exit(Parent_Gone_Ms)) << "still running 1 s after its window went\n"
                                                  << Output(*saver);
    EXPECT_EQ(saver->Exit_Code(), 0) << Output(*saver);
    // Nothing saved: no settings or key store, and the run's own temporary folder is gone.
    EXPECT_EQ(Joined(Files_Under(Config_Folder())), "");
    EXPECT_EQ(Joined(Files_Under(Data_Folder())), "");
    EXPECT_FALSE(fs::exists(Cache_Folder() / "glowsaver" / ("run-" + std::to_string(saver->Pid()))));
}

// ---- XScreenSaver's -root: the window named by XSCREENSAVER_WINDOW.

TEST_F(Glowsaver, Root_Switch_Draws_Into_The_Window_Of_Xscreensaver_Window) {
    Window host = Create_Test_Window(X, 50, 60, 400, 300, White, "e2e xscreensaver window");
    ASSERT_EQ(Capture_Window(X, host).Fraction_Of_Color(White, 0), 1.0);
    Top_Level_Map_Watch watch(X);
    auto saver = Start({"--root"}, {{"XSCREENSAVER_WINDOW", Hex(host)}});

    ASSERT_TRUE(Wait_Drawn(host, *saver)) << "the window never showed frames\n" << Output(*saver);
    EXPECT_FALSE(Children(X, host).empty()) << "no window of the saver inside the given window";
    EXPECT_TRUE(watch.Mapped().empty()) << "the saver showed windows of its own:\n" << Joined(watch.Mapped());

    saver->Signal(SIGTERM);
    ASSERT_TRUE(saver->Wait_Exit(Sigterm_Ms)) << "still running 5 s after SIGTERM\n" << Output(*saver);
    EXPECT_EQ(saver->Exit_Code(), 0) << Output(*saver);
}

// ---- The full-screen run started by the settings dialog's Preview button.

TEST_F(Glowsaver, Run_Started_By_The_Settings_Dialog_Tells_It_Once_That_It_Has_Ended) {
    Dialog_Channel dialog({5678, 1000000u + static_cast<uint32_t>(getpid())});
    auto saver = Start({"U", std::to_string(dialog.Handle()), "--frames", "60"});
    ASSERT_TRUE(saver->Wait_Exit(Show_Ms + End_Ms)) << "60 frames did not end the run\n" << Output(*saver);
    EXPECT_EQ(saver->Exit_Code(), 0) << Output(*saver);

    // Sent before the process ended, so everything has arrived by now.
    auto records = dialog.Drain();
    ASSERT_EQ(records.size(), 1u) << Output(*saver);
    EXPECT_EQ(records[0].first, 24);
    EXPECT_EQ(records[0].second.Message, Preview_Ended_Message);
    EXPECT_EQ(records[0].second.WParam, 0u);
    EXPECT_EQ(records[0].second.LParam, 0);
}

// ---- The deterministic run without a window.

TEST_F(Glowsaver, Offscreen_Run_Saves_The_Asked_Frames_At_The_Given_Size_Without_A_Window) {
    Top_Level_Map_Watch watch(X);
    fs::path frames = fs::path(Home.Path()) / "frames";
    auto saver = Start({"--seed", "7", "--frames", "20", "--offscreen", "--size", "320x240", "--save-frames",
                        "1,20", "--save-dir", frames.string()});
    ASSERT_TRUE(saver->Wait_Exit(Show_Ms)) << Output(*saver);
    EXPECT_EQ(saver->Exit_Code(), 0) << Output(*saver);

    std::vector<std::string> expected_files = {(frames / "frame-000001.png").string(),
                                               (frames / "frame-000020.png").string()};
    auto files = Files_Under(frames);
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, expected_files);
    for (const auto& file : expected_files) {
        SCOPED_TRACE(file);
        auto size = Png_Size(file);
        ASSERT_TRUE(size) << "not a PNG file";
        EXPECT_EQ(size->first, 320u);
        EXPECT_EQ(size->second, 240u);
    }
    EXPECT_TRUE(watch.Mapped().empty()) << "the offscreen run showed windows:\n" << Joined(watch.Mapped());
}

TEST_F(Glowsaver, Same_Seed_Saves_The_Same_Frames) {
    std::vector<fs::path> folders;
    for (int run = 0; run < 2; ++run) {
        folders.push_back(fs::path(Home.Path()) / ("frames-" + std::to_string(run)));
        // Both runs start from the same settings: a run's end moves the
        // settings file on to the next skins pack.
        fs::remove(fs::path(Install_Folder()) / "Config.navigator");
        auto saver = Start({"--seed", "7", "--frames", "20", "--offscreen", "--size", "160x120", "--save-frames",
                            "5,20", "--save-dir", folders.back().string()});
        ASSERT_TRUE(saver->Wait_Exit(Show_Ms)) << Output(*saver);
        ASSERT_EQ(saver->Exit_Code(), 0) << Output(*saver);
    }
    for (const char* name : {"frame-000005.png", "frame-000020.png"}) {
        SCOPED_TRACE(name);
        std::string first = Read_File(folders[0] / name);
        ASSERT_FALSE(first.empty());
        EXPECT_TRUE(first == Read_File(folders[1] / name)) << "the two runs saved different frames";
    }
}

// ---- Errors at start-up.

TEST_F(Glowsaver, Missing_Resource_Library_Is_Reported_And_Answer_Decides_About_The_Product_Page) {
    // A stand-in for xdg-open, which opens the product page: it notes the
    // address, in a file that appears whole (written aside, then renamed).
    Temp_Folder tools;
    fs::path opened = fs::path(tools.Path()) / "opened";
    fs::path opener = fs::path(tools.Path()) / "xdg-open";
    std::ofstream(opener) << "#!/bin/sh\nprintf '%s' \"$1\" > '" << opened.string() << ".part' && mv '"
                          << opened.string() << ".part' '" << opened.string() << "'\n";
    fs::permissions(opener, fs::perms::owner_all);
    const char* path = std::getenv("PATH");
    std::string tools_path = tools.Path() + ":" + (path ? path : "/usr/bin:/bin");
    std::string tree = Tree_Without_Library();

    struct Case {
        const char* Name;
        std::vector<std::string> Args;
        const char* Key;     // the answer, as a key pressed in the box
        bool Opens_Page;
    };
    const Case cases[] = {
        {"full_screen_escape_is_no", {}, "Escape", false},
        {"password_mode_n_is_no", {"a"}, "n", false},
        {"full_screen_y_is_yes", {}, "y", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        fs::remove(opened);
        auto saver = Start(c.Args, {{"PATH", tools_path}}, tree);
        auto box = Wait_Window_Named(*saver, "Confirm");
        ASSERT_TRUE(box) << "no message box titled \"Confirm\"\n" << Output(*saver);
        EXPECT_TRUE(saver->Wait_Stderr_Contains(Missing_Library_Text, Show_Ms)) << Output(*saver);

        Focus_Window(Server, *box);
        Send_Key(Server, c.Key);
        ASSERT_TRUE(saver->Wait_Exit(End_Ms)) << "the answer did not end the program\n" << Output(*saver);
        EXPECT_EQ(saver->Exit_Code(), 0) << Output(*saver);
        if (c.Opens_Page) {
            ASSERT_TRUE(Wait_Until([&] { return fs::exists(opened); }, End_Ms)) << "Yes opened no page";
            std::string address = Read_File(opened);
            EXPECT_TRUE(address.starts_with("http") && address.ends_with("/quenloth-screensaver.shtml")) << address;
        } else {
            // Yes would have started the opener before the program ended.
            EXPECT_FALSE(fs::exists(opened)) << "No opened the page " << Read_File(opened);
        }
    }
}

TEST_F(Glowsaver, Window_Number_That_Is_Not_A_Number_Ends_With_An_Error) {
    auto saver = Start({"/p", "abc"});
    // The same text is shown in a box titled "Error"; it is answered when it comes.
    auto box = Wait_Window_Named(*saver, "Error");
    if (box) {
        Focus_Window(Server, *box);
        Send_Key(Server, "Escape");
    }
    ASSERT_TRUE(saver->Wait_Exit(End_Ms)) << Output(*saver);
    EXPECT_NE(saver->Exit_Code(), 0) << Output(*saver);
    EXPECT_NE(saver->Stderr().find("is not a number"), std::string::npos) << Output(*saver);
    EXPECT_NE(saver->Stderr().find("\"abc\""), std::string::npos) << Output(*saver);
}

}  // namespace
