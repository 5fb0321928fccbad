// E2e_Support: Xvfb, child processes, test windows, screenshots, xdotool
// input and temporary folders for the end-to-end tests (see the header).
#include "E2e_Support.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <zlib.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

// First and last display number the servers of the tests may take.
constexpr int E2e_First_Display = 90;
constexpr int E2e_Last_Display = 199;
// Longest wait for a server to accept a connection, in milliseconds.
constexpr int E2e_Server_Start_Ms = 10000;
// Time a server has to end after SIGTERM before it gets SIGKILL, in milliseconds.
constexpr int E2e_Server_Stop_Ms = 2000;
// Longest wait for one xdotool command, in milliseconds.
constexpr int E2e_Xdotool_Ms = 10000;
// Longest wait for a created window to be mapped, in milliseconds.
constexpr int E2e_Map_Ms = 5000;

std::string Errno_Text(int error) {
    return std::strerror(error);
}

// Windows of the program under test come and go while a test lists and
// queries them; a query about a window that has just gone is answered with
// BadWindow or BadDrawable, and the caller sees it in the call's status.
// Other errors are printed, as they point at a fault in the test.
int E2e_X_Error_Handler(Display* display, XErrorEvent* error) {
    if (error->error_code == BadWindow || error->error_code == BadDrawable) {
        return 0;
    }
    char text[256] = {};
    XGetErrorText(display, error->error_code, text, sizeof text);
    std::fprintf(stderr, "e2e: X error ignored: %s (request %d.%d, resource 0x%lx)\n", text,
                 error->request_code, error->minor_code, error->resourceid);
    return 0;
}

std::string Read_File(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string Join(const std::vector<std::string>& words) {
    std::string text;
    for (const auto& word : words) {
        if (!text.empty()) text += ' ';
        text += word;
    }
    return text;
}

// The program file to execute: `program` itself when it names a path, else
// the first executable of that name along `path_list` (a PATH value).
std::string Resolve_Program(const std::string& program, const std::string& path_list) {
    if (program.find('/') != std::string::npos) return program;
    std::stringstream folders(path_list);
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        if (folder.empty()) folder = ".";
        std::string candidate = folder + "/" + program;
        if (access(candidate.c_str(), X_OK) == 0 && !fs::is_directory(candidate)) return candidate;
    }
    return {};
}

// ---- Display numbers.

std::string Lock_File(int number) {
    return "/tmp/.X" + std::to_string(number) + "-lock";
}

// The process id in a display's lock file; 0 when the file holds none yet,
// -1 when there is no lock file.
long Lock_Pid(int number) {
    std::ifstream in(Lock_File(number));
    if (!in) return -1;
    long pid = 0;
    if (!(in >> pid)) return 0;
    return pid;
}

// The id of the process listening on a display's local socket, found the way
// Xlib connects (the abstract socket first, then the socket file); 0 when
// nothing listens. Only a plain socket is opened, no X connection, so asking
// about another test's server that is going away cannot end this process.
pid_t Display_Listener(int number) {
    std::string path = "/tmp/.X11-unix/X" + std::to_string(number);
    for (bool abstract : {true, false}) {
        int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) return 0;
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        size_t offset = abstract ? 1 : 0;  // an abstract name starts with a NUL byte
        std::memcpy(address.sun_path + offset, path.data(), path.size());
        auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset + path.size() + (abstract ? 0 : 1));
        pid_t listener = 0;
        if (connect(fd, reinterpret_cast<sockaddr*>(&address), length) == 0) {
            ucred peer{};
            socklen_t size = sizeof peer;
            if (getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0) listener = peer.pid;
            if (listener == 0) listener = -1;  // someone listens; who is unknown
        }
        close(fd);
        if (listener != 0) return listener;
    }
    return 0;
}

// A display is free when no live process holds its lock and nothing listens
// on its sockets. A stale lock or socket file of a dead server does not count:
// Xvfb replaces both.
bool Display_Free(int number) {
    long pid = Lock_Pid(number);
    if (pid == 0) return false;  // being written by a server starting now
    if (pid > 0 && (kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM)) return false;
    return Display_Listener(number) == 0;
}

// ---- Pixels.

struct Channel_Mask {
    unsigned long Mask = 0;
    int Shift = 0;
    unsigned long Max = 0;
};

Channel_Mask Make_Channel_Mask(unsigned long mask) {
    Channel_Mask channel;
    channel.Mask = mask;
    if (mask == 0) return channel;
    while (((mask >> channel.Shift) & 1) == 0) ++channel.Shift;
    channel.Max = mask >> channel.Shift;
    return channel;
}

unsigned long To_Channel(const Channel_Mask& channel, unsigned value_0_255) {
    if (channel.Max == 0) return 0;
    return ((value_0_255 * channel.Max + 127) / 255) << channel.Shift;
}

uint8_t From_Channel(const Channel_Mask& channel, unsigned long pixel) {
    if (channel.Max == 0) return 0;
    unsigned long value = (pixel & channel.Mask) >> channel.Shift;
    return static_cast<uint8_t>((value * 255 + channel.Max / 2) / channel.Max);
}

// The pixel value of 0xRRGGBB in a TrueColor visual (the only class Xvfb's
// 24-bit screen offers).
unsigned long Rgb_To_Pixel(const Visual* visual, unsigned long rgb) {
    return To_Channel(Make_Channel_Mask(visual->red_mask), (rgb >> 16) & 0xFF) |
           To_Channel(Make_Channel_Mask(visual->green_mask), (rgb >> 8) & 0xFF) |
           To_Channel(Make_Channel_Mask(visual->blue_mask), rgb & 0xFF);
}

// ---- Window properties.

// The bytes of an 8-bit text property of any type (STRING, UTF8_STRING,
// COMPOUND_TEXT); "" when it is not set or the window is gone.
std::string Read_Text_Property(Display* display, Window window, Atom property) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    int status = XGetWindowProperty(display, window, property, 0, 1 << 16, False,
                                    AnyPropertyType, &type, &format, &count, &after, &data);
    std::string text;
    if (status == Success && data && type != None && format == 8) {
        text.assign(reinterpret_cast<const char*>(data), count);
    }
    if (data) XFree(data);
    return text;
}

// ---- PNG.

void Put_U32(std::string& out, uint32_t value) {
    out += static_cast<char>(value >> 24);
    out += static_cast<char>(value >> 16);
    out += static_cast<char>(value >> 8);
    out += static_cast<char>(value);
}

void Put_Chunk(std::string& out, const char type[4], const std::string& data) {
    Put_U32(out, static_cast<uint32_t>(data.size()));
    std::string body(type, 4);
    body += data;
    out += body;
    Put_U32(out, static_cast<uint32_t>(
                     crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()))));
}

// ---- xdotool.

void Run_Xdotool(const Xvfb_Server& server, const std::vector<std::string>& args) {
    XSync(server.X(), False);
    Child_Process xdotool("xdotool", args, {{"DISPLAY", server.Display_Name()}});
    if (!xdotool.Wait_Exit(E2e_Xdotool_Ms)) {
        throw std::runtime_error("e2e: `xdotool " + Join(args) + "` did not finish within " +
                                 std::to_string(E2e_Xdotool_Ms / 1000) + " s");
    }
    if (xdotool.Exit_Code() != 0) {
        throw std::runtime_error("e2e: `xdotool " + Join(args) + "` failed with exit code " +
                                 std::to_string(xdotool.Exit_Code()) + ": " + xdotool.Stderr());
    }
}

}  // namespace

// ---------------------------------------------------------------- Temp_Folder

Temp_Folder::Temp_Folder() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/e2e-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!mkdtemp(buffer.data())) {
        throw std::runtime_error("e2e: cannot make a temporary folder " + pattern + ": " +
                                 Errno_Text(errno));
    }
    Path_ = fs::absolute(buffer.data()).string();
}

Temp_Folder::~Temp_Folder() {
    std::error_code error;
    fs::remove_all(Path_, error);
    if (error) {
        std::fprintf(stderr, "e2e: cannot remove the temporary folder %s: %s\n", Path_.c_str(),
                     error.message().c_str());
    }
}

const std::string& Temp_Folder::Path() const {
    return Path_;
}

// -------------------------------------------------------------- Child_Process

Child_Process::Child_Process(const std::string& program, const std::vector<std::string>& args,
                             const std::map<std::string, std::string>& env_overrides) {
    std::map<std::string, std::string> environment;
    for (char** entry = environ; entry && *entry; ++entry) {
        std::string text = *entry;
        auto equals = text.find('=');
        if (equals == std::string::npos) continue;
        environment[text.substr(0, equals)] = text.substr(equals + 1);
    }
    for (const auto& [name, value] : env_overrides) {
        if (value.empty()) {
            environment.erase(name);
        } else {
            environment[name] = value;
        }
    }
    auto path_entry = environment.find("PATH");
    std::string file = Resolve_Program(
        program, path_entry != environment.end() ? path_entry->second : "/usr/local/bin:/usr/bin:/bin");
    if (file.empty()) {
        throw std::runtime_error("e2e: cannot start `" + program + "`: no such program in PATH");
    }

    // Everything the child needs is made before fork: after it, the child
    // calls only async-signal-safe functions.
    std::vector<std::string> argv_text{program};
    argv_text.insert(argv_text.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& word : argv_text) argv.push_back(word.data());
    argv.push_back(nullptr);
    std::vector<std::string> env_text;
    for (const auto& [name, value] : environment) env_text.push_back(name + "=" + value);
    std::vector<char*> envp;
    for (auto& entry : env_text) envp.push_back(entry.data());
    envp.push_back(nullptr);

    Folder_ = std::make_unique<Temp_Folder>();
    std::string out_path = Folder_->Path() + "/stdout";
    std::string err_path = Folder_->Path() + "/stderr";
    int in_fd = open("/dev/null", O_RDONLY | O_CLOEXEC);
    int out_fd = open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    int err_fd = open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    int report[2] = {-1, -1};
    auto close_all = [&] {
        for (int fd : {in_fd, out_fd, err_fd, report[0], report[1]}) {
            if (fd >= 0) close(fd);
        }
    };
    if (in_fd < 0 || out_fd < 0 || err_fd < 0 || pipe2(report, O_CLOEXEC) != 0) {
        int error = errno;
        close_all();
        throw std::runtime_error("e2e: cannot start `" + program + "`: " + Errno_Text(error));
    }

    pid_t parent = getpid();
    pid_t pid = fork();
    if (pid < 0) {
        int error = errno;
        close_all();
        throw std::runtime_error("e2e: cannot start `" + program + "`: fork: " + Errno_Text(error));
    }
    if (pid == 0) {
        setpgid(0, 0);
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent) _exit(127);  // the test ended before prctl
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        signal(SIGPIPE, SIG_DFL);
        dup2(in_fd, 0);
        dup2(out_fd, 1);
        dup2(err_fd, 2);
        // No descriptor of the test (its X connection, its files) reaches the program.
        close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);
        execve(file.c_str(), argv.data(), envp.data());
        int error = errno;
        ssize_t written = write(report[1], &error, sizeof error);
        (void)written;
        _exit(127);
    }
    setpgid(pid, pid);  // also here, so the group exists before any killpg below
    Pid_ = pid;
    close(report[1]);
    report[1] = -1;
    int exec_error = 0;
    ssize_t got;
    do {
        got = read(report[0], &exec_error, sizeof exec_error);
    } while (got < 0 && errno == EINTR);
    close_all();
    if (got == static_cast<ssize_t>(sizeof exec_error)) {
        int status = 0;
        waitpid(pid, &status, 0);
        Pid_ = -1;
        throw std::runtime_error("e2e: cannot start `" + file + "`: " + Errno_Text(exec_error));
    }
}

Child_Process::~Child_Process() {
    if (Pid_ <= 0) return;
    // The child is not reaped yet, so its group id still belongs to it.
    killpg(Pid_, SIGKILL);
    int status = 0;
    while (waitpid(Pid_, &status, 0) < 0 && errno == EINTR) {
    }
}

bool Child_Process::Check_Ended(bool block) {
    if (Ended_) return true;
    siginfo_t info{};
    int flags = WEXITED | WNOWAIT | (block ? 0 : WNOHANG);
    if (waitid(P_PID, static_cast<id_t>(Pid_), &info, flags) != 0 || info.si_pid != Pid_) {
        return false;
    }
    Ended_ = true;
    Exit_Code_ = info.si_code == CLD_EXITED ? info.si_status : -info.si_status;
    return true;
}

int Child_Process::Pid() const {
    return Pid_;
}

bool Child_Process::Wait_Exit(int timeout_ms) {
    auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
    for (;;) {
        if (Check_Ended(false)) return true;
        auto now = Clock::now();
        if (now >= deadline) return false;
        std::this_thread::sleep_for(std::min<Clock::duration>(std::chrono::milliseconds(5), deadline - now));
    }
}

int Child_Process::Exit_Code() const {
    if (!Ended_) {
        throw std::logic_error("e2e: Exit_Code of process " + std::to_string(Pid_) +
                               " asked before it ended");
    }
    return Exit_Code_;
}

bool Child_Process::Running() {
    return !Check_Ended(false);
}

void Child_Process::Signal(int sig) {
    if (!Check_Ended(false)) kill(Pid_, sig);
}

std::string Child_Process::Stdout() {
    return Read_File(Folder_->Path() + "/stdout");
}

std::string Child_Process::Stderr() {
    return Read_File(Folder_->Path() + "/stderr");
}

bool Child_Process::Wait_Stderr_Contains(const std::string& text, int timeout_ms) {
    return Wait_Until([&] { return Stderr().find(text) != std::string::npos; }, timeout_ms);
}

// ---------------------------------------------------------------- Xvfb_Server

Xvfb_Server::Xvfb_Server(int width, int height) : Width_(width), Height_(height) {
    if (width <= 0 || height <= 0) {
        throw std::invalid_argument("e2e: Xvfb screen size must be positive, not " +
                                    std::to_string(width) + "x" + std::to_string(height));
    }
    XSetErrorHandler(E2e_X_Error_Handler);
    std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    auto deadline = Clock::now() + std::chrono::milliseconds(E2e_Server_Start_Ms);
    std::string last_log = "no free display number in :" + std::to_string(E2e_First_Display) +
                           " .. :" + std::to_string(E2e_Last_Display);

    for (int number = E2e_First_Display; number <= E2e_Last_Display && Clock::now() < deadline;
         ++number) {
        if (!Display_Free(number)) continue;
        std::string name = ":" + std::to_string(number);
        auto server = std::make_unique<Child_Process>(
            "Xvfb", std::vector<std::string>{name, "-screen", "0", screen, "-nolisten", "tcp", "-noreset"},
            std::map<std::string, std::string>{});
        // Either our server listens on the display, or it exits because another
        // test took the number a moment before us. Xlib connects only once
        // our server is the one listening: a connection to another test's
        // server that then ends would end this process in Xlib's I/O error handler.
        for (;;) {
            if (!server->Running()) {
                last_log = "Xvfb " + name + " exited with code " + std::to_string(server->Exit_Code()) +
                           ": " + server->Stderr();
                break;
            }
            if (Display_Listener(number) == server->Pid()) {
                Display* display = XOpenDisplay(name.c_str());
                if (!display) {
                    throw std::runtime_error("e2e: Xvfb " + name + " listens but refuses a connection: " +
                                             server->Stderr());
                }
                Process_ = std::move(server);
                Display_Name_ = name;
                X_ = display;
                return;
            }
            auto now = Clock::now();
            if (now >= deadline) {
                last_log = "Xvfb " + name + " accepted no connection within " +
                           std::to_string(E2e_Server_Start_Ms / 1000) + " s: " + server->Stderr();
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    throw std::runtime_error("e2e: cannot start an X server: " + last_log);
}

Xvfb_Server::~Xvfb_Server() {
    // The connection goes first: closing it after the server has gone would
    // end the test process in Xlib's I/O error handler.
    if (X_) XCloseDisplay(X_);
    Process_->Signal(SIGTERM);
    if (!Process_->Wait_Exit(E2e_Server_Stop_Ms)) {
        std::fprintf(stderr, "e2e: Xvfb %s did not end on SIGTERM within %d s; sending SIGKILL\n",
                     Display_Name_.c_str(), E2e_Server_Stop_Ms / 1000);
    }
    // The Child_Process destructor sends SIGKILL when it still runs, and reaps it.
}

const std::string& Xvfb_Server::Display_Name() const {
    return Display_Name_;
}

Display* Xvfb_Server::X() const {
    return X_;
}

int Xvfb_Server::Width() const {
    return Width_;
}

int Xvfb_Server::Height() const {
    return Height_;
}

Child_Process& Xvfb_Server::Process() {
    return *Process_;
}

// ------------------------------------------------------------------ Wait_Until

bool Wait_Until(const std::function<bool()>& cond, int timeout_ms) {
    auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
    for (;;) {
        if (cond()) return true;
        auto now = Clock::now();
        if (now >= deadline) return false;
        std::this_thread::sleep_for(std::min<Clock::duration>(std::chrono::milliseconds(20), deadline - now));
    }
}

// --------------------------------------------------------------------- Windows

static Window Create_Filled_Window(Display* display, Window parent, int x, int y, int w, int h,
                                   unsigned long background_rgb) {
    if (w <= 0 || h <= 0) {
        throw std::invalid_argument("e2e: window size must be positive, not " + std::to_string(w) + "x" +
                                    std::to_string(h));
    }
    Visual* visual = DefaultVisual(display, DefaultScreen(display));
    unsigned long pixel = Rgb_To_Pixel(visual, background_rgb);
    return XCreateSimpleWindow(display, parent, x, y, static_cast<unsigned>(w), static_cast<unsigned>(h), 0,
                               pixel, pixel);
}

Window Create_Test_Window(Display* display, int x, int y, int w, int h, unsigned long background_rgb,
                          const std::string& title) {
    Window window = Create_Filled_Window(display, DefaultRootWindow(display), x, y, w, h, background_rgb);
    XStoreName(display, window, title.c_str());
    Atom net_wm_name = XInternAtom(display, "_NET_WM_NAME", False);
    Atom utf8_string = XInternAtom(display, "UTF8_STRING", False);
    XChangeProperty(display, window, net_wm_name, utf8_string, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(title.data()), static_cast<int>(title.size()));
    XMapWindow(display, window);
    XSync(display, False);
    if (!Wait_Until([&] { return Is_Viewable(display, window); }, E2e_Map_Ms)) {
        throw std::runtime_error("e2e: test window \"" + title + "\" was not viewable within " +
                                 std::to_string(E2e_Map_Ms / 1000) + " s");
    }
    return window;
}

Window Create_Child_Window(Display* display, Window parent, int x, int y, int w, int h,
                           unsigned long background_rgb) {
    Window window = Create_Filled_Window(display, parent, x, y, w, h, background_rgb);
    XMapWindow(display, window);
    XSync(display, False);
    bool mapped = Wait_Until(
        [&] {
            XWindowAttributes attributes;
            return XGetWindowAttributes(display, window, &attributes) && attributes.map_state != IsUnmapped;
        },
        E2e_Map_Ms);
    if (!mapped) {
        throw std::runtime_error("e2e: child window of window " + std::to_string(parent) +
                                 " was not mapped within " + std::to_string(E2e_Map_Ms / 1000) + " s");
    }
    return window;
}

void Destroy_Window(Display* display, Window window) {
    XDestroyWindow(display, window);
    XSync(display, False);
}

std::vector<Window> Children(Display* display, Window window) {
    Window root = 0, parent = 0;
    Window* list = nullptr;
    unsigned int count = 0;
    std::vector<Window> children;
    if (XQueryTree(display, window, &root, &parent, &list, &count)) {
        children.assign(list, list + count);
    }
    if (list) XFree(list);
    return children;
}

std::vector<Window> Top_Level_Windows(Display* display) {
    return Children(display, DefaultRootWindow(display));
}

std::vector<Window> Find_Windows_By_Name(Display* display, const std::string& name, bool only_viewable) {
    Atom net_wm_name = XInternAtom(display, "_NET_WM_NAME", False);
    std::vector<Window> found;
    // Depth first, parents before their children, bottom of each stack first.
    std::vector<Window> pending{DefaultRootWindow(display)};
    while (!pending.empty()) {
        Window window = pending.back();
        pending.pop_back();
        bool named = Read_Text_Property(display, window, XA_WM_NAME) == name ||
                     Read_Text_Property(display, window, net_wm_name) == name;
        if (named && (!only_viewable || Is_Viewable(display, window))) found.push_back(window);
        auto children = Children(display, window);
        pending.insert(pending.end(), children.rbegin(), children.rend());
    }
    return found;
}

bool Is_Viewable(Display* display, Window window) {
    XWindowAttributes attributes;
    return XGetWindowAttributes(display, window, &attributes) && attributes.map_state == IsViewable;
}

std::string Window_Name(Display* display, Window window) {
    std::string name = Read_Text_Property(display, window, XInternAtom(display, "_NET_WM_NAME", False));
    return name.empty() ? Read_Text_Property(display, window, XA_WM_NAME) : name;
}

Window_Rect Window_Geometry(Display* display, Window window) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes)) return {};
    int x = 0, y = 0;
    Window child = 0;
    if (!XTranslateCoordinates(display, window, attributes.root, 0, 0, &x, &y, &child)) return {};
    return {x, y, attributes.width, attributes.height};
}

// ----------------------------------------------------------------- Rgb_Image

uint32_t Rgb_Image::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= Width || y >= Height) {
        throw std::out_of_range("e2e: pixel (" + std::to_string(x) + ", " + std::to_string(y) +
                                ") is outside the " + std::to_string(Width) + "x" + std::to_string(Height) +
                                " picture");
    }
    size_t at = (static_cast<size_t>(y) * static_cast<size_t>(Width) + static_cast<size_t>(x)) * 3;
    return (uint32_t{Rgb[at]} << 16) | (uint32_t{Rgb[at + 1]} << 8) | uint32_t{Rgb[at + 2]};
}

double Rgb_Image::Mean_Brightness() const {
    if (Rgb.empty()) return 0.0;
    double sum = 0.0;
    for (uint8_t value : Rgb) sum += value;
    return sum / static_cast<double>(Rgb.size());
}

double Rgb_Image::Fraction_Of_Color(uint32_t rgb, int tolerance) const {
    size_t pixels = Rgb.size() / 3;
    if (pixels == 0) return 0.0;
    int want[3] = {static_cast<int>((rgb >> 16) & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                   static_cast<int>(rgb & 0xFF)};
    size_t matching = 0;
    for (size_t at = 0; at < pixels * 3; at += 3) {
        if (std::abs(Rgb[at] - want[0]) <= tolerance && std::abs(Rgb[at + 1] - want[1]) <= tolerance &&
            std::abs(Rgb[at + 2] - want[2]) <= tolerance) {
            ++matching;
        }
    }
    return static_cast<double>(matching) / static_cast<double>(pixels);
}

bool Rgb_Image::Save_Png(const std::string& path) const {
    size_t row_bytes = static_cast<size_t>(Width) * 3;
    if (Width <= 0 || Height <= 0 || Rgb.size() != row_bytes * static_cast<size_t>(Height)) {
        std::fprintf(stderr, "e2e: cannot save %s: the picture is empty or its size is wrong (%dx%d, %zu bytes)\n",
                     path.c_str(), Width, Height, Rgb.size());
        return false;
    }
    // Every row with filter type 0 (none), then deflated.
    std::string raw;
    raw.reserve((row_bytes + 1) * static_cast<size_t>(Height));
    for (int y = 0; y < Height; ++y) {
        raw += '\0';
        raw.append(reinterpret_cast<const char*>(Rgb.data()) + static_cast<size_t>(y) * row_bytes, row_bytes);
    }
    uLongf packed_size = compressBound(static_cast<uLong>(raw.size()));
    std::string packed(packed_size, '\0');
    if (compress2(reinterpret_cast<Bytef*>(packed.data()), &packed_size,
                  reinterpret_cast<const Bytef*>(raw.data()), static_cast<uLong>(raw.size()), 6) != Z_OK) {
        std::fprintf(stderr, "e2e: cannot save %s: deflate failed\n", path.c_str());
        return false;
    }
    packed.resize(packed_size);

    std::string header;
    Put_U32(header, static_cast<uint32_t>(Width));
    Put_U32(header, static_cast<uint32_t>(Height));
    header += std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, no filter set, no interlace
    std::string file("\x89PNG\r\n\x1a\n", 8);
    Put_Chunk(file, "IHDR", header);
    Put_Chunk(file, "IDAT", packed);
    Put_Chunk(file, "IEND", {});

    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(file.data(), static_cast<std::streamsize>(file.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "e2e: cannot write %s: %s\n", path.c_str(), Errno_Text(errno).c_str());
        return false;
    }
    return true;
}

Rgb_Image Capture_Window(Display* display, Window window) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes) || attributes.map_state != IsViewable) return {};
    XWindowAttributes root;
    int x = 0, y = 0;
    Window child = 0;
    if (!XGetWindowAttributes(display, attributes.root, &root) ||
        !XTranslateCoordinates(display, window, attributes.root, 0, 0, &x, &y, &child)) {
        return {};
    }
    Rgb_Image image;
    image.Width = attributes.width;
    image.Height = attributes.height;
    image.Rgb.assign(static_cast<size_t>(image.Width) * static_cast<size_t>(image.Height) * 3, 0);

    // The server answers only for the part of the window that is on the screen.
    int x0 = std::max(0, -x), y0 = std::max(0, -y);
    int x1 = std::min(attributes.width, root.width - x), y1 = std::min(attributes.height, root.height - y);
    if (x1 <= x0 || y1 <= y0) return image;
    XImage* shot = XGetImage(display, window, x0, y0, static_cast<unsigned>(x1 - x0),
                             static_cast<unsigned>(y1 - y0), AllPlanes, ZPixmap);
    if (!shot) return {};  // unmapped or gone since the query above
    const Visual* visual = attributes.visual;
    Channel_Mask red = Make_Channel_Mask(shot->red_mask ? shot->red_mask : visual->red_mask);
    Channel_Mask green = Make_Channel_Mask(shot->green_mask ? shot->green_mask : visual->green_mask);
    Channel_Mask blue = Make_Channel_Mask(shot->blue_mask ? shot->blue_mask : visual->blue_mask);
    for (int row = 0; row < y1 - y0; ++row) {
        uint8_t* out = image.Rgb.data() +
                       (static_cast<size_t>(row + y0) * static_cast<size_t>(image.Width) + static_cast<size_t>(x0)) * 3;
        for (int column = 0; column < x1 - x0; ++column) {
            unsigned long pixel = XGetPixel(shot, column, row);
            *out++ = From_Channel(red, pixel);
            *out++ = From_Channel(green, pixel);
            *out++ = From_Channel(blue, pixel);
        }
    }
    XDestroyImage(shot);
    return image;
}

// ---------------------------------------------------------------------- Input

void Send_Key(const Xvfb_Server& server, const std::string& keys) {
    std::vector<std::string> args{"key"};
    std::istringstream words(keys);
    std::string word;
    while (words >> word) args.push_back(word);
    if (args.size() == 1) throw std::invalid_argument("e2e: Send_Key needs at least one key name");
    Run_Xdotool(server, args);
}

void Send_Key_Down(const Xvfb_Server& server, const std::string& key) {
    Run_Xdotool(server, {"keydown", key});
}

void Send_Key_Up(const Xvfb_Server& server, const std::string& key) {
    Run_Xdotool(server, {"keyup", key});
}

void Move_Mouse(const Xvfb_Server& server, int x, int y) {
    Run_Xdotool(server, {"mousemove", "--sync", std::to_string(x), std::to_string(y)});
}

void Click_Mouse(const Xvfb_Server& server, int button) {
    Run_Xdotool(server, {"click", std::to_string(button)});
}

void Focus_Window(const Xvfb_Server& server, Window window) {
    Run_Xdotool(server, {"windowfocus", "--sync", std::to_string(window)});
}

// ---------------------------------------------------------------------- Paths

std::string Tree_Folder() {
    const char* tree = std::getenv("GLOWSAVER_TREE");
    if (!tree || !*tree) {
        throw std::runtime_error(
            "e2e: GLOWSAVER_TREE is not set; run the e2e tests through CTest, which sets it to the install tree");
    }
    if (!fs::is_directory(tree)) {
        throw std::runtime_error(std::string("e2e: GLOWSAVER_TREE names no folder: ") + tree);
    }
    return tree;
}

void Copy_Tree(const std::string& from, const std::string& to) {
    if (!fs::is_directory(from)) {
        throw fs::filesystem_error("e2e: Copy_Tree needs a folder to copy from", from,
                                   std::make_error_code(std::errc::not_a_directory));
    }
    fs::create_directories(to);
    fs::copy(from, to,
             fs::copy_options::recursive | fs::copy_options::overwrite_existing | fs::copy_options::copy_symlinks);
}

void Make_Own_Install_Folder(const std::string& install, const std::string& key_store) {
    if (fs::exists(install)) return;
    fs::create_directories(install);
    fs::create_directory_symlink(fs::path(Tree_Folder()) / "Plugins", fs::path(install) / "Plugins");
    std::ofstream store(key_store);
    store << "[HKEY_CURRENT_USER\\SOFTWARE\\Tarvik\\Quenloth]\nPath=" << install << "\n";
}
