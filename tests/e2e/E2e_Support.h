// E2e_Support: what the end-to-end tests need to run the real programs the
// way a user meets them: an X server of their own (Xvfb on a free display),
// child processes started from an argument list with captured output, test
// windows to draw into, screenshots read back as RGB, real key and mouse
// input through the xdotool command, and temporary folders.
//
// The e2e test executables call it from the GoogleTest main thread only. Every
// wait is bounded: a wait that runs out returns false, or the call throws
// std::runtime_error with a message that says what did not happen. Nothing here
// sleeps for a fixed time to let something happen; it polls a condition.
//
// This header does not include Xlib, so a test is not given Xlib's macros
// (None, Bool, Status, True ...) unless it includes <X11/Xlib.h> itself. The two
// Xlib types below are declared exactly as Xlib declares them for clients. A
// test that needs Xlib includes it after <gtest/gtest.h>: Xlib's None and Bool
// macros break GoogleTest's headers.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

typedef struct _XDisplay Display;
typedef unsigned long Window;

// A folder made under $TMPDIR (or /tmp) with a unique name; the destructor
// removes it with everything in it.
class Temp_Folder {
public:
    Temp_Folder();
    ~Temp_Folder();
    Temp_Folder(const Temp_Folder&) = delete;
    Temp_Folder& operator=(const Temp_Folder&) = delete;
    // Absolute path, no trailing separator.
    const std::string& Path() const;

private:
    std::string Path_;
};

// A child process started with fork/execve from an argument list (never a
// shell). A program name without '/' is looked up in the PATH of the child's
// environment. The environment is a copy of ours with `env_overrides` applied:
// a value replaces or adds the variable, an empty value removes it. stdin is
// /dev/null; stdout and stderr go to files in a temporary folder the object
// owns (a program's stdout is then fully buffered, its stderr is not).
//
// The child leads a process group of its own and is sent SIGKILL if the test
// process dies first (so a crashed or timed-out test leaves nothing running).
// The destructor sends SIGKILL to that group (the child if it still runs, and
// anything it started in the group and left running), then reaps the child.
// The child stays a zombie until then, so its id is never reused by another
// process while this object exists.
// Throws std::runtime_error when the program cannot be started.
class Child_Process {
public:
    Child_Process(const std::string& program, const std::vector<std::string>& args,
                  const std::map<std::string, std::string>& env_overrides);
    ~Child_Process();
    Child_Process(const Child_Process&) = delete;
    Child_Process& operator=(const Child_Process&) = delete;

    int Pid() const;
    // True when the process has ended within `timeout_ms` (checked every 5 ms).
    bool Wait_Exit(int timeout_ms);
    // The exit status once the process has ended (Wait_Exit returned true or
    // Running returned false); -N when signal N ended it. Throws
    // std::logic_error while it still runs.
    int Exit_Code() const;
    // False once the process has ended (the exit status is then kept).
    bool Running();
    // Sends `sig` to the process alone (not its group), as a screensaver
    // daemon stops a hack. Nothing happens once it has ended.
    void Signal(int sig);
    // The whole text the process has written so far.
    std::string Stdout();
    std::string Stderr();
    // True when the stderr text contains `text` within `timeout_ms`.
    bool Wait_Stderr_Contains(const std::string& text, int timeout_ms);

private:
    bool Check_Ended(bool block);

    std::unique_ptr<Temp_Folder> Folder_;
    int Pid_ = -1;
    bool Ended_ = false;
    int Exit_Code_ = 0;
};

// An Xvfb server of the test's own on a free display (":90" .. ":199"),
// started as `Xvfb :N -screen 0 WxHx24 -nolisten tcp -noreset`. A display is
// free when no live server holds its lock file /tmp/.X<N>-lock; when two tests
// race for the same number, the loser's server exits and the next number is
// tried. The constructor returns once the server accepts a connection (at most
// 10 s) and throws std::runtime_error, with the server's own output, when none
// starts. It also installs an X error handler that does not end the process:
// windows of the program under test may vanish between a listing and a query,
// and every function here checks the status of its own calls.
// The destructor closes the connection, sends SIGTERM, and SIGKILL after 2 s.
class Xvfb_Server {
public:
    explicit Xvfb_Server(int width = 1024, int height = 768);
    ~Xvfb_Server();
    Xvfb_Server(const Xvfb_Server&) = delete;
    Xvfb_Server& operator=(const Xvfb_Server&) = delete;

    // ":93": the value for DISPLAY of the programs under test.
    const std::string& Display_Name() const;
    // The test's own Xlib connection to the server, open for the server's life.
    Display* X() const;
    int Width() const;
    int Height() const;
    // The server process (its output is the server's log).
    Child_Process& Process();

private:
    std::unique_ptr<Child_Process> Process_;
    std::string Display_Name_;
    Display* X_ = nullptr;
    int Width_ = 0;
    int Height_ = 0;
};

// Calls `cond` until it returns true or `timeout_ms` has passed, every 20 ms;
// returns the last value it returned (it is always called at least once, and
// once more after the time has run out).
bool Wait_Until(const std::function<bool()>& cond, int timeout_ms);

// ---- Windows. Every function takes the test's connection (Xvfb_Server::X()).

// A mapped top-level window filled with `background_rgb` (0xRRGGBB), its title
// in WM_NAME and _NET_WM_NAME. Returns once it is viewable (at most 5 s, else
// throws std::runtime_error). There is no window manager: it stays where it is.
Window Create_Test_Window(Display* display, int x, int y, int w, int h,
                          unsigned long background_rgb, const std::string& title);
// A mapped child of `parent` at (x, y) in the parent's coordinates, filled with
// `background_rgb`. Returns once it is mapped (viewable when the parent is).
Window Create_Child_Window(Display* display, Window parent, int x, int y, int w, int h,
                           unsigned long background_rgb);
// Destroys the window and waits until the server has done it. A window that is
// already gone is not an error.
void Destroy_Window(Display* display, Window window);
// The children of the root window, mapped or not, bottom of the stack first.
std::vector<Window> Top_Level_Windows(Display* display);
// Every window in the whole tree whose WM_NAME or _NET_WM_NAME is exactly
// `name`, in depth-first order; with `only_viewable` only those that are viewable.
std::vector<Window> Find_Windows_By_Name(Display* display, const std::string& name,
                                         bool only_viewable);
// The children of `window`, bottom of the stack first; empty when it is gone.
std::vector<Window> Children(Display* display, Window window);
// True when the window and all its ancestors are mapped; false when it is gone.
bool Is_Viewable(Display* display, Window window);
// _NET_WM_NAME when set, else WM_NAME, as bytes; "" when neither is set.
std::string Window_Name(Display* display, Window window);

// Position on the root window (root coordinates) and size in pixels.
struct Window_Rect {
    int X = 0, Y = 0, Width = 0, Height = 0;
};
// The window's rectangle; all zero when the window is gone.
Window_Rect Window_Geometry(Display* display, Window window);

// ---- Screenshots.

// An RGB picture, 3 bytes per pixel (R, G, B), rows top to bottom.
struct Rgb_Image {
    int Width = 0, Height = 0;
    std::vector<uint8_t> Rgb;

    // 0xRRGGBB of the pixel; throws std::out_of_range outside the picture.
    uint32_t Pixel(int x, int y) const;
    // Mean of (R + G + B) / 3 over all pixels, 0 .. 255; 0 for an empty picture.
    double Mean_Brightness() const;
    // Share (0 .. 1) of the pixels whose R, G and B each differ from those of
    // `rgb` by at most `tolerance`; 0 for an empty picture.
    double Fraction_Of_Color(uint32_t rgb, int tolerance) const;
    // Writes an 8-bit RGB PNG file; false (and a line on stderr) when the
    // picture is empty or the file cannot be written.
    bool Save_Png(const std::string& path) const;
};
// What the server shows of the window's whole area, the windows drawn inside
// it included (another program's GL child window too). Parts off the screen are
// black. An empty picture (Width 0) when the window is gone or not viewable, so
// a test can wait for a window to show something with Wait_Until.
Rgb_Image Capture_Window(Display* display, Window window);

// ---- Real input: the xdotool command with DISPLAY set to the server (XTEST
// events, as from a real keyboard and mouse; they go to the focused window, or
// the one under the pointer). Each call waits for xdotool to finish (at most
// 10 s) and throws std::runtime_error with its stderr when it fails. The test's
// connection is synced first, so what it has asked for (XSelectInput) is in
// force before the input arrives.

// `xdotool key KEYS`: key names as xdotool takes them ("Escape", "alt+F4",
// "space", "Return"); several separated by spaces are pressed in turn.
void Send_Key(const Xvfb_Server& server, const std::string& keys);
// `xdotool keydown KEY` / `xdotool keyup KEY`.
void Send_Key_Down(const Xvfb_Server& server, const std::string& key);
void Send_Key_Up(const Xvfb_Server& server, const std::string& key);
// `xdotool mousemove --sync X Y` in root coordinates.
void Move_Mouse(const Xvfb_Server& server, int x, int y);
// `xdotool click BUTTON` (1 left, 2 middle, 3 right, 4/5 wheel) where the pointer is.
void Click_Mouse(const Xvfb_Server& server, int button);
// `xdotool windowfocus --sync WINDOW`: returns once the window has the focus.
void Focus_Window(const Xvfb_Server& server, Window window);

// ---- Paths.

// The install tree the build writes (the program `glowsaver`, Plugins/, Info/),
// from the GLOWSAVER_TREE variable CTest sets. Throws std::runtime_error when
// the variable is not set or names no folder.
std::string Tree_Folder();
// Copies everything in folder `from` into folder `to` (made when missing),
// recursively, replacing files of the same name, symbolic links copied as
// links. Throws std::filesystem::filesystem_error on failure.
void Copy_Tree(const std::string& from, const std::string& to);
// Gives the runs that use the key store `key_store` an install folder of their
// own, `install` (made when missing), whose Plugins/ is the build's: the
// settings file a run writes is then theirs alone. The key store file is
// written, naming the folder.
void Make_Own_Install_Folder(const std::string& install, const std::string& key_store);
