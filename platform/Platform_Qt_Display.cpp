// The Qt back-end of Platform_Display: Qt 6 windows on X11 with an OpenGL
// context each, a watcher for foreign parent windows, and the desktop
// services (message boxes, cursor, browser, movie control, text drawing).
#include "platform/Platform_Display.h"
#include "platform/Platform_Keys.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QBuffer>
#include <QCursor>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMovie>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QOpenGLFunctions>
#include <QPainter>
#include <QPixmap>
#include <QRasterWindow>
#include <QScreen>
#include <QTimer>
#include <QUrl>
#include <QWindow>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>
// Xlib's event-name macros clash with Qt's event names.
#undef KeyPress
#undef KeyRelease
#undef FocusIn
#undef FocusOut
#undef Expose
#undef None

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>
#include <thread>

namespace {

// Posted by the parent watcher to a child window when its foreign parent got a
// new size: lParam holds height << 16 | width. The child follows, then its
// procedure gets WM_SIZE.
constexpr uint32_t Msg_Parent_Resized = 0x8001;
// Posted by the parent watcher to a child window when its foreign parent was
// destroyed; the child's procedure then gets WM_DESTROY directly (sent, not
// queued, as the system sends it to a window being destroyed).
constexpr uint32_t Msg_Parent_Destroyed = 0x8002;

intptr_t Size_LParam(int w, int h) { return static_cast<intptr_t>((h & 0xFFFF) << 16 | (w & 0xFFFF)); }

int Ignore_X_Error(::Display*, XErrorEvent*) { return 0; }

// A window of ours: it turns Qt's native events into window messages.
class Message_Window : public QWindow {
 public:
  Message_Window(QWindow* parent) : QWindow(parent) {}
  Window_Handle Handle = 0;

 protected:
  bool event(QEvent* e) override {
    switch (e->type()) {
      case QEvent::KeyPress:
      case QEvent::KeyRelease: Post_Key(static_cast<QKeyEvent*>(e)); return true;
      case QEvent::MouseMove: {
        auto* m = static_cast<QMouseEvent*>(e);
        QPoint p = m->position().toPoint();
        Post_Message(Handle, WM_MOUSEMOVE, 0, Size_LParam(p.x(), p.y()));
        return true;
      }
      case QEvent::MouseButtonPress: {
        auto* m = static_cast<QMouseEvent*>(e);
        QPoint p = m->position().toPoint();
        uint32_t msg = m->button() == Qt::RightButton ? WM_RBUTTONDOWN
                       : m->button() == Qt::MiddleButton ? WM_MBUTTONDOWN
                                                         : WM_LBUTTONDOWN;
        Post_Message(Handle, msg, 0, Size_LParam(p.x(), p.y()));
        return true;
      }
      case QEvent::Wheel: {
        auto* w = static_cast<QWheelEvent*>(e);
        auto delta = static_cast<int16_t>(w->angleDelta().y());
        Post_Message(Handle, WM_MOUSEWHEEL, static_cast<uintptr_t>(static_cast<uint16_t>(delta)) << 16, 0);
        return true;
      }
      case QEvent::Resize: {
        QSize s = size() * devicePixelRatio();
        Post_Message(Handle, WM_SIZE, 0, Size_LParam(s.width(), s.height()));
        return QWindow::event(e);
      }
      case QEvent::Close:
        // The loop decides what a close request means.
        e->ignore();
        Post_Message(Handle, WM_CLOSE, 0, 0);
        return true;
      default: return QWindow::event(e);
    }
  }

 private:
  // Alt and Alt combinations arrive as system keys; auto-repeat arrives as
  // repeated key-downs and one key-up at release.
  void Post_Key(QKeyEvent* k) {
    bool down = k->type() == QEvent::KeyPress;
    if (!down && k->isAutoRepeat()) return;
    uint32_t vk = Virtual_Key_From_Qt(k->key(), k->modifiers() & Qt::KeypadModifier);
    if (vk == 0) return;
    bool system = vk == VK_MENU || (k->modifiers() & Qt::AltModifier);
    uint32_t msg = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
    intptr_t lparam = 1 | (k->isAutoRepeat() ? 1 << 30 : 0) | (down ? 0 : 3 << 30);
    Post_Message(Handle, msg, vk, lparam);
  }
};

// The movie control: loops an animated picture, scaled to fit, on black.
class Movie_Window : public QRasterWindow {
 public:
  Movie_Window(QWindow* parent, const std::vector<uint8_t>& movie) : Bytes_(reinterpret_cast<const char*>(movie.data()), static_cast<qsizetype>(movie.size())) {
    setParent(parent);
    Buffer_.setData(Bytes_);
    Buffer_.open(QIODevice::ReadOnly);
    Movie_.setDevice(&Buffer_);
    QObject::connect(&Movie_, &QMovie::frameChanged, this, [this](int) { update(); });
  }
  // A still picture is a movie of one frame: it shows and stays.
  bool Start() {
    if (!Movie_.isValid()) return false;
    Movie_.start();
    return Movie_.state() == QMovie::Running || !Movie_.currentImage().isNull();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(QRect(QPoint(0, 0), size()), Qt::black);
    QImage frame = Movie_.currentImage();
    if (frame.isNull()) return;
    QSize fitted = frame.size().scaled(size(), Qt::KeepAspectRatio);
    QRect target(QPoint((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted);
    p.drawImage(target, frame);
  }

 private:
  QByteArray Bytes_;
  QBuffer Buffer_;
  QMovie Movie_;
};

struct Window_Entry {
  QWindow* Window = nullptr; // owned (deleted on destroy)
  bool Foreign_Parent = false;
  std::unique_ptr<QOpenGLContext> Context;
  std::unique_ptr<QOffscreenSurface> Offscreen;
  std::unique_ptr<QOpenGLFramebufferObject> Frame_Buffer;
  QSize Offscreen_Size;
};

// Watches foreign parent windows on an X connection of its own, on a thread
// of its own, so a parent destroyed while the GUI thread hangs in a swap is
// still noticed.
class Parent_Watcher {
 public:
  explicit Parent_Watcher(const char* display_name) {
    X_ = XOpenDisplay(display_name);
    if (X_) Thread_ = std::thread([this] { Run(); });
  }
  ~Parent_Watcher() {
    {
      std::lock_guard<std::mutex> lock(Lock_);
      Stop_ = true;
    }
    Wake_.notify_all();
    if (Thread_.joinable()) Thread_.join();
    if (X_) XCloseDisplay(X_);
  }
  // Watches `parent` for the child `child`; false when the parent is gone already.
  bool Watch(::Window parent, Window_Handle child) {
    if (!X_) return false;
    std::lock_guard<std::mutex> lock(Lock_);
    XSelectInput(X_, parent, StructureNotifyMask);
    XWindowAttributes a;
    bool alive = XGetWindowAttributes(X_, parent, &a) != 0;
    XFlush(X_);
    if (alive) Children_[parent] = child;
    return alive;
  }
  void Set_Fallback(std::function<void()> f) {
    std::lock_guard<std::mutex> lock(Lock_);
    Fallback_ = std::move(f);
  }
  QAbstractEventDispatcher* Gui_Dispatcher = nullptr;

 private:
  void Run() {
    int fd = ConnectionNumber(X_);
    for (;;) {
      {
        std::lock_guard<std::mutex> lock(Lock_);
        if (Stop_) return;
      }
      pollfd p{fd, POLLIN, 0};
      poll(&p, 1, 100);
      std::unique_lock<std::mutex> lock(Lock_);
      while (XPending(X_)) {
        XEvent e;
        XNextEvent(X_, &e);
        if (e.type == DestroyNotify && Children_.count(e.xdestroywindow.window)) {
          Window_Handle child = Children_[e.xdestroywindow.window];
          Children_.erase(e.xdestroywindow.window);
          Post_Message(child, Msg_Parent_Destroyed, 0, 0);
          if (Gui_Dispatcher) Gui_Dispatcher->wakeUp();
          // The GUI thread ends the process on WM_DESTROY; if it has not
          // done so in time it is stuck, and the fallback ends it.
          if (Wake_.wait_for(lock, std::chrono::milliseconds(700), [this] { return Stop_; })) return;
          if (Fallback_) Fallback_();
        } else if (e.type == ConfigureNotify && Children_.count(e.xconfigure.window)) {
          Post_Message(Children_[e.xconfigure.window], Msg_Parent_Resized, 0,
                       Size_LParam(e.xconfigure.width, e.xconfigure.height));
          if (Gui_Dispatcher) Gui_Dispatcher->wakeUp();
        }
      }
    }
  }

  ::Display* X_ = nullptr;
  std::thread Thread_;
  std::mutex Lock_;
  std::condition_variable Wake_;
  bool Stop_ = false;
  std::map<::Window, Window_Handle> Children_;
  std::function<void()> Fallback_;
};

class Qt_Display : public Display_Backend {
 public:
  Qt_Display(std::unique_ptr<QApplication> app) : App_(std::move(app)) {
    XSetErrorHandler(Ignore_X_Error);
    if (auto* x11 = App_->nativeInterface<QNativeInterface::QX11Application>()) X_ = x11->display();
    Watcher_ = std::make_unique<Parent_Watcher>(X_ ? DisplayString(X_) : nullptr);
    Watcher_->Gui_Dispatcher = QAbstractEventDispatcher::instance();
    Wake_Timer_.setSingleShot(true);
    Messages_Set_Native_Pump(Native_Pump{
        [] { QCoreApplication::processEvents(QEventLoop::AllEvents); },
        [this](int timeout_ms) {
          if (timeout_ms <= 0) {
            QCoreApplication::processEvents(QEventLoop::AllEvents);
            return;
          }
          Wake_Timer_.start(timeout_ms);
          QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
          Wake_Timer_.stop();
        }});
  }

  ~Qt_Display() override {
    Messages_Set_Native_Pump(Native_Pump{});
    Watcher_.reset();
    for (auto& [handle, entry] : Windows_) Release(entry);
    Windows_.clear();
  }

  bool Screen_Metrics(int& width, int& height, int& bits_per_pixel) override {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return false;
    QSize s = screen->geometry().size() * screen->devicePixelRatio();
    width = s.width();
    height = s.height();
    bits_per_pixel = screen->depth();
    return true;
  }

  Window_Handle Create_Top_Level_Window(const std::string& title, int x, int y, int w, int h, bool topmost,
                                        bool full_screen, Window_Proc proc) override {
    auto* window = new Message_Window(nullptr);
    Qt::WindowFlags flags = Qt::Window | Qt::FramelessWindowHint;
    if (topmost) flags |= Qt::WindowStaysOnTopHint;
    window->setFlags(flags);
    window->setGeometry(x, y, w, h);
    Full_Screen_[window] = full_screen;
    return Adopt(window, title, false, std::move(proc));
  }

  Window_Handle Create_Child_Window(Window_Handle parent, const std::string& title, int w, int h,
                                    Window_Proc proc) override {
    bool foreign = !Windows_.count(parent);
    QWindow* parent_window = foreign ? QWindow::fromWinId(static_cast<WId>(static_cast<uint32_t>(parent)))
                                     : Windows_[parent].Window;
    if (!parent_window) return 0;
    auto* window = new Message_Window(parent_window);
    window->setGeometry(0, 0, w, h);
    Window_Handle handle = Adopt(window, title, foreign, std::move(proc));
    if (foreign && handle) Watcher_->Watch(static_cast<::Window>(static_cast<uint32_t>(parent)), handle);
    return handle;
  }

  Window_Handle Create_Offscreen_Target(int w, int h, Window_Proc proc) override {
    Window_Handle handle = Window_New_Handle();
    Window_Entry entry;
    entry.Offscreen = std::make_unique<QOffscreenSurface>();
    entry.Offscreen_Size = QSize(w, h);
    Windows_[handle] = std::move(entry);
    Window_Set_Proc(handle, std::move(proc));
    return handle;
  }

  void Show_Window(Window_Handle handle, bool show) override {
    QWindow* w = Qt_Window(handle);
    if (!w) return;
    if (!show)
      w->hide();
    else if (Full_Screen_[w])
      w->showFullScreen();
    else
      w->show();
  }

  void Destroy_Window(Window_Handle handle) override {
    auto it = Windows_.find(handle);
    if (it == Windows_.end()) return;
    Release(it->second);
    Windows_.erase(it);
    Window_Remove(handle);
  }

  void Force_Foreground(Window_Handle handle) override {
    if (QWindow* w = Qt_Window(handle)) {
      w->raise();
      w->requestActivate();
    }
  }

  bool Window_Size(Window_Handle handle, int& width, int& height) override {
    auto it = Windows_.find(handle);
    if (it != Windows_.end()) {
      QSize s = it->second.Window ? it->second.Window->size() * it->second.Window->devicePixelRatio()
                                  : it->second.Offscreen_Size;
      width = s.width();
      height = s.height();
      return true;
    }
    if (!X_ || handle == 0) return false;
    XWindowAttributes a;
    if (!XGetWindowAttributes(X_, static_cast<::Window>(static_cast<uint32_t>(handle)), &a)) return false;
    width = a.width;
    height = a.height;
    return true;
  }

  bool Gl_Create_Context(Window_Handle handle, const Gl_Format_Request& request) override {
    auto it = Windows_.find(handle);
    if (it == Windows_.end()) return false;
    Window_Entry& e = it->second;
    QSurfaceFormat format = To_Surface_Format(request);
    if (e.Window) {
      // The visual of a native window is fixed when it is made: make it anew
      // with the requested format (the handle stays the same).
      if (e.Window->format() != format) {
        e.Window->destroy();
        e.Window->setFormat(format);
        e.Window->create();
      }
    } else {
      e.Offscreen->setFormat(format);
      e.Offscreen->create();
    }
    auto context = std::make_unique<QOpenGLContext>();
    context->setFormat(format);
    if (!context->create()) return false;
    e.Context = std::move(context);
    if (e.Offscreen) {
      if (!e.Context->makeCurrent(e.Offscreen.get())) return false;
      QOpenGLFramebufferObjectFormat fbo_format;
      fbo_format.setAttachment(QOpenGLFramebufferObject::CombinedDepthStencil);
      e.Frame_Buffer = std::make_unique<QOpenGLFramebufferObject>(e.Offscreen_Size, fbo_format);
      if (!e.Frame_Buffer->isValid()) return false;
    }
    return true;
  }

  bool Gl_Make_Current(Window_Handle handle) override {
    auto it = Windows_.find(handle);
    if (it == Windows_.end() || !it->second.Context) return false;
    Window_Entry& e = it->second;
    QSurface* surface = e.Window ? static_cast<QSurface*>(e.Window) : e.Offscreen.get();
    if (!e.Context->makeCurrent(surface)) return false;
    if (e.Frame_Buffer) e.Frame_Buffer->bind();
    Current_ = e.Context.get();
    return true;
  }

  void Gl_Done_Current() override {
    if (Current_) Current_->doneCurrent();
    Current_ = nullptr;
  }

  void Gl_Delete_Context(Window_Handle handle) override {
    auto it = Windows_.find(handle);
    if (it == Windows_.end()) return;
    if (it->second.Context && it->second.Context.get() == Current_) Gl_Done_Current();
    if (it->second.Frame_Buffer && it->second.Context) {
      it->second.Context->makeCurrent(it->second.Offscreen.get());
      it->second.Frame_Buffer.reset();
      it->second.Context->doneCurrent();
    }
    it->second.Context.reset();
  }

  void Gl_Swap_Buffers(Window_Handle handle) override {
    auto it = Windows_.find(handle);
    if (it == Windows_.end() || !it->second.Context) return;
    if (it->second.Window)
      it->second.Context->swapBuffers(it->second.Window);
    else
      it->second.Context->functions()->glFlush();
  }

  void* Gl_Proc_Address(const char* name) override {
    QOpenGLContext* context = Current_ ? Current_ : QOpenGLContext::currentContext();
    return context ? reinterpret_cast<void*>(context->getProcAddress(name)) : nullptr;
  }

  bool Gl_Read_Back_Buffer(Window_Handle handle, Pixel_Picture& picture) override {
    auto it = Windows_.find(handle);
    if (it == Windows_.end() || !it->second.Context || it->second.Context.get() != Current_) return false;
    int w = 0, h = 0;
    Window_Size(handle, w, h);
    if (w <= 0 || h <= 0) return false;
    QOpenGLFunctions* f = Current_->functions();
    std::vector<uint8_t> rgba(static_cast<size_t>(w) * h * 4);
    f->glPixelStorei(GL_PACK_ALIGNMENT, 1);
    if (!it->second.Frame_Buffer) {
      // Fixed-function 1.1 entry: the back buffer is the one being drawn.
      using Read_Buffer_Fn = void (*)(GLenum);
      if (auto read_buffer = reinterpret_cast<Read_Buffer_Fn>(Current_->getProcAddress("glReadBuffer")))
        read_buffer(GL_BACK);
    }
    f->glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    picture.Width = w;
    picture.Height = h;
    picture.Bits_Per_Pixel = 32;
    picture.Pixels.resize(rgba.size());
    for (int y = 0; y < h; ++y) {
      const uint8_t* src = &rgba[static_cast<size_t>(h - 1 - y) * w * 4];
      uint8_t* dst = &picture.Pixels[static_cast<size_t>(y) * w * 4];
      for (int x = 0; x < w; ++x) {
        dst[x * 4 + 0] = src[x * 4 + 2];
        dst[x * 4 + 1] = src[x * 4 + 1];
        dst[x * 4 + 2] = src[x * 4 + 0];
        dst[x * 4 + 3] = src[x * 4 + 3];
      }
    }
    return true;
  }

  int Show_Cursor(bool show) override {
    int before = Cursor_Count_;
    Cursor_Count_ += show ? 1 : -1;
    if (before >= 0 && Cursor_Count_ < 0) QGuiApplication::setOverrideCursor(QCursor(Qt::BlankCursor));
    if (before < 0 && Cursor_Count_ >= 0) QGuiApplication::restoreOverrideCursor();
    return Cursor_Count_;
  }

  Box_Answer Message_Box(const std::string& text, const std::string& caption, Box_Icon icon,
                         Box_Buttons buttons) override {
    QMessageBox::Icon qt_icon = icon == Box_Icon::Error         ? QMessageBox::Critical
                                : icon == Box_Icon::Question    ? QMessageBox::Question
                                : icon == Box_Icon::Information ? QMessageBox::Information
                                                                : QMessageBox::NoIcon;
    QMessageBox box(qt_icon, QString::fromStdString(caption), QString::fromStdString(Box_Display_Text(text)),
                    buttons == Box_Buttons::Yes_No ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    int answer = box.exec();
    if (buttons == Box_Buttons::Ok) return Box_Answer::Ok;
    return answer == QMessageBox::Yes ? Box_Answer::Yes : Box_Answer::No;
  }

  bool Open_Url(const std::string& url) override {
    return QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
  }

  bool Play_Movie(Window_Handle parent, const std::vector<uint8_t>& movie, int x, int y, int w, int h) override {
    QWindow* parent_window = Windows_.count(parent)
                                 ? Windows_[parent].Window
                                 : QWindow::fromWinId(static_cast<WId>(static_cast<uint32_t>(parent)));
    if (!parent_window) return false;
    auto* player = new Movie_Window(parent_window, movie);
    player->setGeometry(x, y, w, h);
    if (!player->Start()) {
      delete player;
      return false;
    }
    player->show();
    return true;
  }

  bool Capture_Screen(Pixel_Picture& picture) override {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return false;
    QImage shot = screen->grabWindow(0).toImage().convertToFormat(QImage::Format_BGR888);
    if (shot.isNull()) return false;
    picture.Width = shot.width();
    picture.Height = shot.height();
    picture.Bits_Per_Pixel = 24;
    picture.Pixels.resize(static_cast<size_t>(picture.Row_Bytes()) * picture.Height);
    for (int y = 0; y < picture.Height; ++y)
      std::memcpy(&picture.Pixels[static_cast<size_t>(y) * picture.Row_Bytes()], shot.constScanLine(y),
                  static_cast<size_t>(picture.Row_Bytes()));
    return true;
  }

  void Draw_Text(Window_Handle handle, int x, int y, const std::string& text, const Text_Style& style) override {
    if (!X_) return;
    QFont font(QString::fromStdString(style.Family));
    font.setPointSize(style.Point_Size);
    font.setBold(style.Bold);
    QFontMetrics metrics(font);
    QString line = QString::fromStdString(text);
    QSize size(metrics.horizontalAdvance(line) + 2, metrics.height());
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor::fromRgb(style.Background_Rgb));
    {
      QPainter p(&image);
      p.setFont(font);
      p.setPen(QColor::fromRgb(style.Color_Rgb));
      p.drawText(QPoint(1, metrics.ascent()), line);
    }
    ::Window target = static_cast<::Window>(static_cast<uint32_t>(handle));
    if (auto it = Windows_.find(handle); it != Windows_.end() && it->second.Window) target = it->second.Window->winId();
    XWindowAttributes a;
    if (!XGetWindowAttributes(X_, target, &a) || a.depth < 24) return;
    XImage* ximage = XCreateImage(X_, a.visual, static_cast<unsigned>(a.depth), ZPixmap, 0,
                                  reinterpret_cast<char*>(image.bits()), static_cast<unsigned>(size.width()),
                                  static_cast<unsigned>(size.height()), 32, static_cast<int>(image.bytesPerLine()));
    if (!ximage) return;
    GC gc = XCreateGC(X_, target, 0, nullptr);
    XPutImage(X_, target, gc, ximage, 0, 0, x, y, static_cast<unsigned>(size.width()),
              static_cast<unsigned>(size.height()));
    XFreeGC(X_, gc);
    ximage->data = nullptr; // owned by the QImage
    XDestroyImage(ximage);
    XFlush(X_);
  }

  void Set_Parent_Lost_Fallback(std::function<void()> fallback) override { Watcher_->Set_Fallback(std::move(fallback)); }

 private:
  static QSurfaceFormat To_Surface_Format(const Gl_Format_Request& r) {
    QSurfaceFormat f;
    f.setRenderableType(QSurfaceFormat::OpenGL);
    f.setProfile(QSurfaceFormat::CompatibilityProfile);
    if (r.Color_Bits > 0) {
      f.setRedBufferSize(8);
      f.setGreenBufferSize(8);
      f.setBlueBufferSize(8);
    }
    f.setAlphaBufferSize(0);
    // More than 24 depth bits is not offered by the X servers we run on;
    // 24 is the closest. 0 leaves the choice to the system.
    if (r.Depth_Bits > 0) f.setDepthBufferSize(std::min(r.Depth_Bits, 24));
    f.setStencilBufferSize(r.Stencil_Bits);
    f.setSwapBehavior(r.Double_Buffer ? QSurfaceFormat::DoubleBuffer : QSurfaceFormat::SingleBuffer);
    return f;
  }

  QWindow* Qt_Window(Window_Handle handle) {
    auto it = Windows_.find(handle);
    return it == Windows_.end() ? nullptr : it->second.Window;
  }

  // Makes the native window and files it under its X11 id (or a fresh handle
  // when the server hands out an id we still know).
  Window_Handle Adopt(Message_Window* window, const std::string& title, bool foreign_parent, Window_Proc proc) {
    window->setSurfaceType(QSurface::OpenGLSurface);
    window->setTitle(QString::fromStdString(title));
    window->create();
    auto handle = static_cast<Window_Handle>(window->winId());
    if (handle <= 0 || Windows_.count(handle) || Window_Exists(handle)) handle = Window_New_Handle();
    window->Handle = handle;
    Window_Entry entry;
    entry.Window = window;
    entry.Foreign_Parent = foreign_parent;
    Windows_[handle] = std::move(entry);
    Window_Set_Proc(handle, [this, handle, user = std::move(proc)](const Window_Message& m) -> intptr_t {
      if (m.Message == Msg_Parent_Destroyed) return user ? user(Window_Message{handle, WM_DESTROY, 0, 0}) : 0;
      if (m.Message != Msg_Parent_Resized) return user ? user(m) : 0;
      int w = static_cast<int>(m.LParam & 0xFFFF), h = static_cast<int>((m.LParam >> 16) & 0xFFFF);
      if (QWindow* child = Qt_Window(handle)) child->resize(w, h);
      return user ? user(Window_Message{handle, WM_SIZE, 0, m.LParam}) : 0;
    });
    return handle;
  }

  void Release(Window_Entry& e) {
    if (e.Context && e.Context.get() == Current_) Gl_Done_Current();
    e.Frame_Buffer.reset();
    e.Context.reset();
    if (e.Window) {
      Full_Screen_.erase(e.Window);
      delete e.Window;
      e.Window = nullptr;
    }
    e.Offscreen.reset();
  }

  std::unique_ptr<QApplication> App_;
  ::Display* X_ = nullptr; // Qt's own X connection (GUI thread)
  std::unique_ptr<Parent_Watcher> Watcher_;
  std::map<Window_Handle, Window_Entry> Windows_;
  std::map<QWindow*, bool> Full_Screen_;
  QOpenGLContext* Current_ = nullptr;
  QTimer Wake_Timer_;
  int Cursor_Count_ = 0;
};

} // namespace

std::unique_ptr<Display_Backend> Make_Qt_Display(int& argc, char** argv, const std::string& application_title) {
  const char* display = std::getenv("DISPLAY");
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if ((!display || !*display) && !platform) return nullptr;
  if (!platform) {
    // Qt ends the process when it cannot reach the display: ask first.
    ::Display* probe = XOpenDisplay(display);
    if (!probe) return nullptr;
    XCloseDisplay(probe);
    qputenv("QT_QPA_PLATFORM", "xcb");
  }
  auto app = std::make_unique<QApplication>(argc, argv);
  QApplication::setApplicationName(QString::fromStdString(application_title));
  QApplication::setQuitOnLastWindowClosed(false);
  return std::make_unique<Qt_Display>(std::move(app));
}
