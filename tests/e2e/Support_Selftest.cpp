// Proves the e2e harness against the real tools it drives: an Xvfb server of
// its own, windows read back through screenshots, processes started without a
// shell, xdotool input arriving as X events, PNG files another decoder reads.
#include "E2e_Support.h"

#include <gtest/gtest.h>

// After GoogleTest: Xlib's macros (None, Bool) would break its headers.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <signal.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

constexpr uint32_t Red = 0xFF0000;
constexpr uint32_t Green = 0x00FF00;
// Longest wait in these tests for anything to happen, in milliseconds.
constexpr int Wait_Ms = 5000;

void Write_File(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

std::string Read_File(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool Contains(const std::vector<Window>& windows, Window window) {
    return std::find(windows.begin(), windows.end(), window) != windows.end();
}

class E2e_X : public ::testing::Test {
protected:
    Xvfb_Server Server;
    Display* X = Server.X();

    // Waits for an event of `mask` on `window`; false when none came in time.
    bool Wait_Event(Window window, long mask, XEvent& event) {
        return Wait_Until([&] { return XCheckWindowEvent(X, window, mask, &event) == True; }, Wait_Ms);
    }
};

}  // namespace

// ---- The server.

TEST(E2e_Server, Two_Servers_Run_Side_By_Side_On_Their_Own_Displays) {
    Xvfb_Server first;
    Xvfb_Server second(640, 480);
    EXPECT_NE(first.Display_Name(), second.Display_Name());
    for (const Xvfb_Server* server : {&first, &second}) {
        int number = std::stoi(server->Display_Name().substr(1));
        EXPECT_GE(number, 90);
        EXPECT_LE(number, 199);
        ASSERT_NE(server->X(), nullptr);
        EXPECT_EQ(std::string(DisplayString(server->X())), server->Display_Name());
    }
    EXPECT_EQ(DisplayWidth(second.X(), 0), 640);
    EXPECT_EQ(DisplayHeight(second.X(), 0), 480);
}

// The server's id in its display's lock file; -1 when there is none.
static long Lock_Holder(const std::string& lock) {
    std::ifstream in(lock);
    long pid = -1;
    in >> pid;
    return pid;
}

TEST(E2e_Server, Stopped_Server_Has_Ended_And_Freed_Its_Display) {
    std::string lock;
    int pid = 0;
    {
        Xvfb_Server server;
        lock = "/tmp/.X" + server.Display_Name().substr(1) + "-lock";
        pid = server.Process().Pid();
        EXPECT_EQ(Lock_Holder(lock), pid);
    }
    // Another test may take the number at once, so the lock is only no longer ours.
    EXPECT_NE(Lock_Holder(lock), pid);
    EXPECT_EQ(kill(pid, 0), -1);
    EXPECT_EQ(errno, ESRCH);
}

// ---- Windows and screenshots.

struct Capture_Case {
    const char* Name;
    int X, Y;                // position of a 200 x 150 red window on the 1024 x 768 screen
    double Visible_Fraction; // part of the window on the screen
};

void PrintTo(const Capture_Case& c, std::ostream* out) {
    *out << c.Name;
}

class E2e_Capture : public E2e_X, public ::testing::WithParamInterface<Capture_Case> {};

TEST_P(E2e_Capture, Window_Reads_Back_Red_Where_It_Is_On_Screen) {
    const Capture_Case& c = GetParam();
    Window window = Create_Test_Window(X, c.X, c.Y, 200, 150, Red, "e2e red");
    Rgb_Image shot = Capture_Window(X, window);
    ASSERT_EQ(shot.Width, 200);
    ASSERT_EQ(shot.Height, 150);
    EXPECT_DOUBLE_EQ(shot.Fraction_Of_Color(Red, 0), c.Visible_Fraction);
    EXPECT_EQ(shot.Pixel(150, 100), Red);
    EXPECT_DOUBLE_EQ(shot.Fraction_Of_Color(0x000000, 0), 1.0 - c.Visible_Fraction);
}

INSTANTIATE_TEST_SUITE_P(
    Positions, E2e_Capture,
    ::testing::Values(Capture_Case{"Whole_On_Screen", 30, 40, 1.0},
                      Capture_Case{"Off_The_Top_Left", -50, -40, (150.0 * 110.0) / (200.0 * 150.0)},
                      Capture_Case{"Off_The_Bottom_Right", 1024 - 180, 768 - 140, (180.0 * 140.0) / (200.0 * 150.0)}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(E2e_X, Child_Window_Is_Listed_And_Drawn_Inside_Its_Parent) {
    Window parent = Create_Test_Window(X, 10, 10, 200, 150, Red, "e2e parent");
    Window child = Create_Child_Window(X, parent, 50, 40, 60, 30, Green);
    EXPECT_EQ(Children(X, parent), std::vector<Window>{child});
    EXPECT_TRUE(Is_Viewable(X, child));
    Window_Rect where = Window_Geometry(X, child);
    EXPECT_EQ(where.X, 60);
    EXPECT_EQ(where.Y, 50);
    EXPECT_EQ(where.Width, 60);
    EXPECT_EQ(where.Height, 30);

    Rgb_Image shot = Capture_Window(X, parent);
    ASSERT_EQ(shot.Width, 200);
    EXPECT_EQ(shot.Pixel(80, 55), Green);
    EXPECT_EQ(shot.Pixel(10, 10), Red);
    EXPECT_DOUBLE_EQ(shot.Fraction_Of_Color(Green, 0), (60.0 * 30.0) / (200.0 * 150.0));
}

TEST_F(E2e_X, Titled_Window_Is_Found_By_Name_While_It_Exists) {
    const std::string title = "e2e titled window";
    Window window = Create_Test_Window(X, 0, 0, 50, 50, Green, title);
    Create_Test_Window(X, 60, 0, 50, 50, Green, "e2e other window");
    EXPECT_EQ(Find_Windows_By_Name(X, title, true), std::vector<Window>{window});
    EXPECT_EQ(Window_Name(X, window), title);
    EXPECT_TRUE(Contains(Top_Level_Windows(X), window));

    XUnmapWindow(X, window);
    XSync(X, False);
    EXPECT_FALSE(Is_Viewable(X, window));
    EXPECT_TRUE(Find_Windows_By_Name(X, title, true).empty());
    EXPECT_EQ(Find_Windows_By_Name(X, title, false), std::vector<Window>{window});
    EXPECT_EQ(Capture_Window(X, window).Width, 0);

    Destroy_Window(X, window);
    EXPECT_TRUE(Find_Windows_By_Name(X, title, false).empty());
    EXPECT_FALSE(Contains(Top_Level_Windows(X), window));
    EXPECT_TRUE(Children(X, window).empty());
    EXPECT_EQ(Window_Geometry(X, window).Width, 0);
}

// ---- Input through xdotool.

TEST_F(E2e_X, Keys_Reach_The_Focused_Window) {
    Window window = Create_Test_Window(X, 100, 100, 100, 100, Red, "e2e keys");
    XSelectInput(X, window, KeyPressMask | KeyReleaseMask);
    Focus_Window(Server, window);

    XEvent event;
    Send_Key(Server, "space");
    ASSERT_TRUE(Wait_Event(window, KeyPressMask, event));
    EXPECT_EQ(XLookupKeysym(&event.xkey, 0), static_cast<KeySym>(XK_space));

    Send_Key_Down(Server, "a");
    ASSERT_TRUE(Wait_Event(window, KeyPressMask, event));
    EXPECT_EQ(XLookupKeysym(&event.xkey, 0), static_cast<KeySym>(XK_a));
    Send_Key_Up(Server, "a");
    ASSERT_TRUE(Wait_Until(
        [&] {
            return XCheckWindowEvent(X, window, KeyReleaseMask, &event) == True &&
                   XLookupKeysym(&event.xkey, 0) == XK_a;
        },
        Wait_Ms));
}

TEST_F(E2e_X, Click_Arrives_Where_The_Mouse_Was_Moved) {
    Window window = Create_Test_Window(X, 100, 100, 100, 100, Red, "e2e mouse");
    XSelectInput(X, window, ButtonPressMask);
    Move_Mouse(Server, 110, 120);
    Click_Mouse(Server, 3);

    XEvent event;
    ASSERT_TRUE(Wait_Event(window, ButtonPressMask, event));
    EXPECT_EQ(event.xbutton.button, 3u);
    EXPECT_EQ(event.xbutton.x, 10);
    EXPECT_EQ(event.xbutton.y, 20);
}

// ---- Child processes.

TEST(E2e_Child_Process, Reports_Exit_Code_And_Captured_Output) {
    Child_Process shell("/bin/sh", {"-c", "echo out; echo hi >&2; exit 3"}, {});
    ASSERT_TRUE(shell.Wait_Exit(Wait_Ms));
    EXPECT_FALSE(shell.Running());
    EXPECT_EQ(shell.Exit_Code(), 3);
    EXPECT_EQ(shell.Stdout(), "out\n");
    EXPECT_EQ(shell.Stderr(), "hi\n");
}

TEST(E2e_Child_Process, Wait_Runs_Out_On_A_Running_Process_And_A_Signal_Ends_It) {
    Child_Process sleeper("sleep", {"5"}, {});
    EXPECT_FALSE(sleeper.Wait_Exit(100));
    EXPECT_TRUE(sleeper.Running());
    EXPECT_THROW(sleeper.Exit_Code(), std::logic_error);
    sleeper.Signal(SIGTERM);
    ASSERT_TRUE(sleeper.Wait_Exit(Wait_Ms));
    EXPECT_EQ(sleeper.Exit_Code(), -SIGTERM);
}

TEST(E2e_Child_Process, Arguments_Pass_Unchanged_Without_A_Shell) {
    Child_Process printer("printf", {"%s|", "a b", "$HOME", "*", ""}, {});
    ASSERT_TRUE(printer.Wait_Exit(Wait_Ms));
    EXPECT_EQ(printer.Stdout(), "a b|$HOME|*||");
}

TEST(E2e_Child_Process, Environment_Overrides_Add_Replace_And_Remove) {
    setenv("E2E_SELFTEST_KEPT", "kept", 1);
    setenv("E2E_SELFTEST_REMOVED", "present", 1);
    Child_Process shell(
        "/bin/sh", {"-c", "echo \"$E2E_SELFTEST_KEPT ${E2E_SELFTEST_REMOVED-unset} $E2E_SELFTEST_ADDED\""},
        {{"E2E_SELFTEST_REMOVED", ""}, {"E2E_SELFTEST_ADDED", "added"}});
    ASSERT_TRUE(shell.Wait_Exit(Wait_Ms));
    EXPECT_EQ(shell.Stdout(), "kept unset added\n");
}

TEST(E2e_Child_Process, Waits_For_Stderr_Text_And_Destructor_Ends_The_Process) {
    int pid = 0;
    {
        Child_Process shell("/bin/sh", {"-c", "echo ready >&2; exec sleep 30"}, {});
        pid = shell.Pid();
        EXPECT_TRUE(shell.Wait_Stderr_Contains("ready", Wait_Ms));
        EXPECT_FALSE(shell.Wait_Stderr_Contains("never written", 100));
    }
    EXPECT_EQ(kill(pid, 0), -1);
    EXPECT_EQ(errno, ESRCH);
}

TEST(E2e_Child_Process, Program_That_Cannot_Start_Is_A_Clear_Error) {
    struct Case {
        const char* Name;
        const char* Program;
        const char* Reason;
    };
    for (const Case& c : {Case{"not_in_path", "e2e-no-such-program", "no such program in PATH"},
                          Case{"not_executable", "/etc/passwd", "Permission denied"}}) {
        SCOPED_TRACE(c.Name);
        try {
            Child_Process process(c.Program, {}, {});
            ADD_FAILURE() << "started " << c.Program;
        } catch (const std::runtime_error& error) {
            std::string text = error.what();
            EXPECT_NE(text.find(c.Program), std::string::npos) << text;
            EXPECT_NE(text.find(c.Reason), std::string::npos) << text;
        }
    }
}

// ---- Waiting.

TEST(E2e_Wait_Until, Returns_True_Once_The_Condition_Holds_And_False_When_It_Never_Does) {
    int calls = 0;
    EXPECT_TRUE(Wait_Until([&] { return ++calls == 3; }, Wait_Ms));
    EXPECT_EQ(calls, 3);
    calls = 0;
    EXPECT_FALSE(Wait_Until([&] { return ++calls < 0; }, 50));
    EXPECT_GE(calls, 2);  // once at the start, once when the time has run out
}

// ---- Pictures.

TEST(E2e_Image, Brightness_And_Color_Share_Of_A_Known_Picture) {
    Rgb_Image image;
    image.Width = 2;
    image.Height = 2;
    image.Rgb = {0, 0, 0, 255, 255, 255, 255, 0, 0, 250, 5, 5};
    EXPECT_EQ(image.Pixel(1, 1), 0xFA0505u);
    EXPECT_DOUBLE_EQ(image.Mean_Brightness(), (0.0 + 255.0 + 85.0 + 260.0 / 3.0) / 4.0);
    EXPECT_DOUBLE_EQ(image.Fraction_Of_Color(Red, 0), 0.25);
    EXPECT_DOUBLE_EQ(image.Fraction_Of_Color(Red, 5), 0.5);
    EXPECT_THROW(image.Pixel(2, 0), std::out_of_range);
}

TEST(E2e_Image, Saved_Png_Reads_Back_Identical_In_ImageMagick) {
    Rgb_Image image;
    image.Width = 5;
    image.Height = 3;
    for (int i = 0; i < image.Width * image.Height * 3; ++i) image.Rgb.push_back(static_cast<uint8_t>(i * 17));
    Temp_Folder folder;
    std::string path = folder.Path() + "/picture.png";
    ASSERT_TRUE(image.Save_Png(path));

    Child_Process convert("convert", {path, "-depth", "8", "rgb:-"}, {});
    ASSERT_TRUE(convert.Wait_Exit(Wait_Ms * 2));
    ASSERT_EQ(convert.Exit_Code(), 0) << convert.Stderr();
    std::string back = convert.Stdout();
    EXPECT_EQ(std::vector<uint8_t>(back.begin(), back.end()), image.Rgb);

    EXPECT_FALSE(Rgb_Image{}.Save_Png(folder.Path() + "/empty.png"));
}

// ---- Folders.

TEST(E2e_Files, Copy_Tree_Copies_Nested_Files_And_Temp_Folder_Removes_Everything) {
    std::string removed;
    {
        Temp_Folder folder;
        removed = folder.Path();
        fs::path from = fs::path(folder.Path()) / "from";
        Write_File(from / "top.txt", "top");
        Write_File(from / "Plugins" / "deep" / "inner.bin", std::string("a\0b", 3));
        fs::path to = fs::path(folder.Path()) / "to" / "new";
        Write_File(to / "top.txt", "old");

        Copy_Tree(from.string(), to.string());
        EXPECT_EQ(Read_File(to / "top.txt"), "top");
        EXPECT_EQ(Read_File(to / "Plugins" / "deep" / "inner.bin"), std::string("a\0b", 3));
        EXPECT_THROW(Copy_Tree((from / "missing").string(), to.string()), fs::filesystem_error);
    }
    EXPECT_FALSE(fs::exists(removed));
}
