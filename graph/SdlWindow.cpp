// The window on a real display, through SDL2 (with a few X11 calls SDL does not offer).
// All SDL video calls stay on the window thread.
#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xproto.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <system_error>
#include <thread>

#include "graph/Event.h"
#include "graph/WindowSystem.h"

namespace Graph::detail {

namespace {

constexpr Uint64 kFrameMs = 16;  // at most one present per frame
constexpr int kQuitCode = 1;

bool WindowManagerRuns(Display* display) {
  Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
  if (check == None) return false;
  Atom type;
  int format;
  unsigned long count = 0, after;
  unsigned char* data = nullptr;
  bool runs = XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False, XA_WINDOW,
                                 &type, &format, &count, &after, &data) == Success &&
              count == 1;
  if (data) XFree(data);
  return runs;
}

// A title bar with a close box and a minimise box, no maximise box (Motif window hints).
void OfferNoMaximise(Display* display, ::Window window) {
  enum : unsigned long { kFunctions = 1, kDecorations = 2 };
  enum : unsigned long { kMove = 4, kMinimise = 8, kClose = 32 };
  enum : unsigned long { kBorder = 2, kTitle = 8, kMenu = 16, kMinimiseBox = 32 };
  unsigned long hints[5] = {kFunctions | kDecorations, kMove | kMinimise | kClose,
                            kBorder | kTitle | kMenu | kMinimiseBox, 0, 0};
  Atom motif = XInternAtom(display, "_MOTIF_WM_HINTS", False);
  XChangeProperty(display, window, motif, motif, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(hints), 5);
}

// SDL's video start connects to the session bus (for input methods and the screen saver).
// Without a bus address and without the usual per-user bus, libdbus would fork and run
// dbus-launch to start a bus for this display: milliseconds at every start, and a bus
// daemon that outlives the game where dbus-launch is installed. Said "no bus" instead.
// Called before any other thread of the program reads the environment.
void NoBusAutolaunch() {
  if (std::getenv("DBUS_SESSION_BUS_ADDRESS")) return;
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime && *runtime && ::access((std::string(runtime) + "/bus").c_str(), F_OK) == 0) return;
  ::setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 0);
}

XErrorHandler previousXErrorHandler = nullptr;

// Two requests may meet a window that has just gone, harmlessly: SDL wakes its event
// wait by sending an event to its window from a second connection, which the X server may
// take only after the window closed; and the focus goes back to a window that may have
// closed meanwhile. Any other error goes where it went before.
int TolerateVanishedWindows(Display* display, XErrorEvent* error) {
  if (error->error_code == BadWindow && error->request_code == X_SendEvent) return 0;
  if ((error->error_code == BadWindow || error->error_code == BadMatch) &&
      error->request_code == X_SetInputFocus)
    return 0;
  return previousXErrorHandler ? previousXErrorHandler(display, error) : 0;
}

class SdlWindowSystem final : public WindowSystem {
 public:
  ~SdlWindowSystem() override { Close(); }

  bool Open(int x, int y, WindowShared& shared, MessageFn message) override {
    x_ = x;
    y_ = y;
    shared_ = &shared;
    message_ = std::move(message);
    NoBusAutolaunch();
    try {
      thread_ = std::thread(&SdlWindowSystem::Run, this);
    } catch (const std::system_error&) {
      message_("Graph server not run", "Graph");
      return false;
    }
    // A display that never answers must not hold the program forever.
    int pending = kPending;
    if (!started_.WaitFor(std::chrono::seconds(20)) &&
        state_.compare_exchange_strong(pending, kAbandoned)) {
      thread_.detach();
      return false;
    }
    started_.Wait();
    if (state_ != kOpen) {
      thread_.join();
      return false;
    }
    return true;
  }

  void Changed() override {
    if (shared_->wakePending) return;
    shared_->wakePending = true;
    SDL_Event e{};
    e.type = wakeEvent_;
    SDL_PushEvent(&e);
  }

  void Close() override {
    if (!thread_.joinable()) return;
    {
      std::lock_guard lock(shared_->windowLock);
      if (shared_->alive) {
        SDL_Event e{};
        e.type = wakeEvent_;
        e.user.code = kQuitCode;
        SDL_PushEvent(&e);
      }
    }
    if (thread_.get_id() != std::this_thread::get_id()) thread_.join();
  }

  bool CanShowBox() const override { return canShowBox_; }

 private:
  void Run() {
    RunWindow();
    SDL_TLSCleanup();  // SDL's per-thread data, which it frees only for threads it made
  }

  void RunWindow() {
    bool ok = Start();
    int pending = kPending;
    if (!state_.compare_exchange_strong(pending, ok ? kOpen : kFailed)) ok = false;  // given up on
    started_.Set();
    if (!ok) {
      if (window_) Stop();
      return;
    }
    // The first paint goes on while the program draws on. The first touch of the window's
    // shared memory (page faults, some 10 ms) comes before the locks that drawing needs.
    if (SDL_Surface* s = SDL_GetWindowSurface(window_))
      std::memset(s->pixels, 0, static_cast<std::size_t>(s->h) * s->pitch);
    Repaint();
    Loop();
    Stop();
  }

  // Makes the window; FALSE after a message, or silently when there is no real display.
  bool Start() {
    SDL_SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0", SDL_HINT_OVERRIDE);
    // Ctrl+C in the console must end the program, not become a window event.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // With no display named, say nothing and try nothing: SDL's Wayland probe would
    // print its own complaint on standard error.
    auto named = [](const char* name) {
      const char* v = std::getenv(name);
      return v && *v;
    };
    if (!named("SDL_VIDEODRIVER")) {
      if (named("WAYLAND_DISPLAY")) {
      } else if (named("DISPLAY")) {
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
      } else {
        return false;
      }
    }
    // Before SDL's video starts: SDL chains its own handler to the one it finds and puts
    // that one back when its video ends, so this one stays in force throughout.
    static bool tolerant = false;
    if (!tolerant) {
      tolerant = true;
      previousXErrorHandler = XSetErrorHandler(TolerateVanishedWindows);
    }
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
    // Without a display SDL quietly picks an invisible driver; only a real one will do.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || (std::strcmp(driver, "x11") != 0 && std::strcmp(driver, "wayland") != 0)) {
      SDL_QuitSubSystem(SDL_INIT_VIDEO);
      return false;
    }
    canShowBox_ = true;

    wakeEvent_ = SDL_RegisterEvents(1);
    if (wakeEvent_ == static_cast<Uint32>(-1)) {
      message_("Win class was not registered", "Error");
      SDL_QuitSubSystem(SDL_INIT_VIDEO);
      return false;
    }
    window_ = SDL_CreateWindow("Graph", x_, y_, shared_->width, shared_->depth,
                               SDL_WINDOW_HIDDEN | SDL_WINDOW_ALWAYS_ON_TOP);
    if (!window_) {
      message_("Couldn't create main window", "Error");
      SDL_QuitSubSystem(SDL_INIT_VIDEO);
      return false;
    }
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window_, &info) && info.subsystem == SDL_SYSWM_X11) {
      display_ = info.info.x11.display;
      char name[] = "graph", windowClass[] = "GraphWnd";
      XClassHint hint{name, windowClass};
      XSetClassHint(display_, info.info.x11.window, &hint);
      OfferNoMaximise(display_, info.info.x11.window);
      int revert = 0;
      XGetInputFocus(display_, &previousFocus_, &revert);
    }
    SDL_ShowWindow(window_);
    FitFrame();
    {
      std::lock_guard lock(shared_->windowLock);
      shared_->alive = true;
    }
    return true;
  }

  // The outer size, frame included, is the surface size, and the frame's corner is (x, y).
  // A window manager tells the frame's size a moment after the window is mapped.
  void FitFrame() {
    int top = 0, left = 0, bottom = 0, right = 0;
    auto framed = [&] {
      return SDL_GetWindowBordersSize(window_, &top, &left, &bottom, &right) == 0 &&
             (top || left || bottom || right);
    };
    if (!display_ || !WindowManagerRuns(display_)) return;
    for (int waited = 0; !framed() && waited < 1000; waited += 10) {
      SDL_PumpEvents();
      SDL_Delay(10);
    }
    if (!framed()) return;
    SDL_SetWindowSize(window_, std::max(1, shared_->width - left - right),
                      std::max(1, shared_->depth - top - bottom));
    SDL_SetWindowPosition(window_, x_ + left, y_ + top);
  }

  void Stop() {
    {
      std::lock_guard lock(shared_->windowLock);
      shared_->alive = false;
      shared_->wakePending = false;
    }
    if (window_) SDL_DestroyWindow(window_);
    window_ = nullptr;
    display_ = nullptr;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }

  void Loop() {
    bool presentWanted = false;
    Uint64 lastPresent = 0;
    for (;;) {
      SDL_Event e;
      int got;
      if (presentWanted) {
        Uint64 now = SDL_GetTicks64();
        if (now >= lastPresent + kFrameMs) {
          Present();
          lastPresent = now;
          presentWanted = false;
          continue;
        }
        got = SDL_WaitEventTimeout(&e, static_cast<int>(lastPresent + kFrameMs - now));
      } else {
        got = SDL_WaitEvent(&e);
      }
      while (got) {
        if (e.type == wakeEvent_) {
          if (e.user.code == kQuitCode) return;
          presentWanted = true;
        } else if (e.type == SDL_QUIT) {
          return;
        } else if (e.type == SDL_WINDOWEVENT) {
          switch (e.window.event) {
            case SDL_WINDOWEVENT_CLOSE:
              return;
            case SDL_WINDOWEVENT_EXPOSED:
            case SDL_WINDOWEVENT_SIZE_CHANGED:
            case SDL_WINDOWEVENT_RESTORED:
              Repaint();
              break;
            case SDL_WINDOWEVENT_FOCUS_GAINED:
              if (firstActivation_) {
                firstActivation_ = false;
                GiveFocusBack();
              }
              break;
            default:
              break;
          }
        }
        got = SDL_PollEvent(&e);
      }
    }
  }

  // The console keeps the keyboard: the window takes it only when clicked later.
  void GiveFocusBack() {
    if (!display_ || previousFocus_ == None || previousFocus_ == PointerRoot) return;
    SDL_Delay(50);
    XSetInputFocus(display_, previousFocus_, RevertToParent, CurrentTime);
    XFlush(display_);
  }

  // Copies a block of 0xRRGGBB pixels into the window's own surface.
  static void Copy(SDL_Surface* to, const Raster::Colour* from, int stride, const SDL_Rect& r) {
    SDL_ConvertPixels(r.w, r.h, SDL_PIXELFORMAT_RGB888,
                      from + static_cast<std::size_t>(r.y) * stride + r.x, stride * 4,
                      to->format->format,
                      static_cast<Uint8*>(to->pixels) + static_cast<std::size_t>(r.y) * to->pitch +
                          r.x * to->format->BytesPerPixel,
                      to->pitch);
  }

  SDL_Rect Visible(SDL_Surface* s, const Raster::Area& a) const {
    int right = std::min({a.right, s->w, shared_->width}),
        bottom = std::min({a.bottom, s->h, shared_->depth});
    return SDL_Rect{a.left, a.top, std::max(0, right - a.left), std::max(0, bottom - a.top)};
  }

  // Shows what the server drew since the last present.
  void Present() {
    SDL_Surface* s = SDL_GetWindowSurface(window_);
    SDL_Rect r{};
    {
      std::lock_guard lock(shared_->windowLock);
      shared_->wakePending = false;
      if (s) r = Visible(s, shared_->dirty);
      shared_->dirty = Raster::Area{};
      if (r.w > 0 && r.h > 0) Copy(s, shared_->window.data(), shared_->width, r);
    }
    if (r.w > 0 && r.h > 0) SDL_UpdateWindowSurfaceRects(window_, &r, 1);
  }

  // The whole window again from the surface: window lock, then surface lock.
  void Repaint() {
    SDL_Surface* s = SDL_GetWindowSurface(window_);
    if (!s) return;
    SDL_Rect r{};
    {
      std::lock_guard windowLock(shared_->windowLock);
      std::lock_guard surfaceLock(shared_->surfaceLock);
      r = Visible(s, Raster::Area{0, 0, shared_->width, shared_->depth});
      if (r.w > 0 && r.h > 0) Copy(s, shared_->surface.data(), shared_->width, r);
    }
    SDL_UpdateWindowSurface(window_);
  }

  int x_ = 0, y_ = 0;
  WindowShared* shared_ = nullptr;
  MessageFn message_;
  std::thread thread_;
  ManualResetEvent started_;
  enum { kPending, kOpen, kFailed, kAbandoned };
  std::atomic<int> state_{kPending};
  std::atomic<bool> canShowBox_{false};
  Uint32 wakeEvent_ = 0;
  // Window thread only.
  SDL_Window* window_ = nullptr;
  Display* display_ = nullptr;
  ::Window previousFocus_ = None;
  bool firstActivation_ = true;
};

}  // namespace

std::unique_ptr<WindowSystem> MakeSdlWindowSystem() {
  return std::make_unique<SdlWindowSystem>();
}

void ReleaseSdl() {
  if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) SDL_Quit();
}

bool ShowErrorBox(std::string_view caption, std::string_view message) {
  std::string c(caption), m(message);
  return SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, c.c_str(), m.c_str(), nullptr) == 0;
}

}  // namespace Graph::detail
