// The window on a real display, through SDL2 (with a few X11 calls SDL does not offer).
// All SDL video calls stay on the window thread.
// clang-format off
#include "graph/Graph.h"  // before Xlib, whose macro None would meet WindowSystemKind::None
// clang-format on

#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <strings.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "graph/Displays.h"
#include "graph/Event.h"
#include "graph/Font.h"
#include "graph/WindowKeys.h"
#include "graph/WindowSystem.h"

namespace Graph::detail {

namespace {

constexpr Uint64 kFrameMs = 16;  // at most one present per frame
constexpr int kQuitCode = 1;
constexpr int kMaxScale = 8;
constexpr int kTile = 32;  // picture pixels a side: the unit of a scaled present
// The overlay text: its characters' size, the black around them, and the play field's
// left edge in the picture (the text is centred right of it).
constexpr int kOverlayScale = 4, kOverlayMargin = 16, kFieldLeft = 250;

std::atomic<bool> eventsHeld{false};  // SDL's event queue, from the first window to the end

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

class SdlWindowSystem final : public WindowSystem {
 public:
  ~SdlWindowSystem() override { Close(); }

  bool Open(int x, int y, WindowShared& shared, MessageFn message) override {
    x_ = x;
    y_ = y;
    shared_ = &shared;
    options_ = Graph::CurrentWindowOptions();
    options_.scale = std::clamp(options_.scale, 0, kMaxScale);
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
    // Scaled or full screen, the paint writes every pixel after the locks anyway.
    SDL_Surface* s = SDL_GetWindowSurface(window_);
    if (s && scale_ == 1 && !fullscreen_)
      std::memset(s->pixels, 0, static_cast<std::size_t>(s->h) * s->pitch);
    Repaint();
    Loop();
    Stop();
  }

  // Starts SDL's video on the first driver that works of those SDL_VIDEODRIVER lists, else
  // of X11 (where DISPLAY names a display) and Wayland (where WAYLAND_DISPLAY names one).
  // On a Wayland desktop XWayland comes first, as in SDL 2's own order: only there does the
  // window get its X11 extras (place, frame, focus given back). Wayland is tried only where
  // the compositor offers what SDL's driver needs. With no display named nothing is tried:
  // SDL's Wayland probe would print its own complaint on standard error.
  static bool StartVideo() {
    auto named = [](const char* name) {
      const char* v = std::getenv(name);
      return std::string(v ? v : "");
    };
    std::string drivers = named("SDL_VIDEODRIVER");
    if (drivers.empty())
      drivers = (named("DISPLAY").empty() ? "" : "x11,") +
                std::string(named("WAYLAND_DISPLAY").empty() ? "" : "wayland");
    for (std::size_t at = 0, end = 0; at < drivers.size(); at = end + 1) {
      end = std::min(drivers.find(',', at), drivers.size());
      const std::string driver = drivers.substr(at, end - at);
      if (driver.empty() || (strcasecmp(driver.c_str(), "wayland") == 0 && !WaylandOffersWindows()))
        continue;
      SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, driver.c_str(), SDL_HINT_OVERRIDE);
      if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) return true;
    }
    return false;
  }

  // Makes the window; FALSE after a message, or silently when there is no real display.
  bool Start() {
    SDL_SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0", SDL_HINT_OVERRIDE);
    HandleXErrors();
    // The sound starts SDL's audio on a thread of its own, which must not meet SDL's video
    // ending with the window: SDL counts the users of its event queue without a lock, so
    // the queue is kept to the end, and the audio's device events, of no use here, would
    // wake the video's event wait.
    if (!eventsHeld.exchange(true)) {
      SDL_InitSubSystem(SDL_INIT_EVENTS);
      SDL_EventState(SDL_AUDIODEVICEADDED, SDL_IGNORE);
      SDL_EventState(SDL_AUDIODEVICEREMOVED, SDL_IGNORE);
    }
    if (!StartVideo()) return false;
    // Without a display SDL quietly picks an invisible driver; only a real one will do.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || (std::strcmp(driver, "x11") != 0 && std::strcmp(driver, "wayland") != 0)) {
      SDL_QuitSubSystem(SDL_INIT_VIDEO);
      return false;
    }
    // SDL's Wayland driver has no window surface of its own: it draws through a texture.
    const bool wayland = std::strcmp(driver, "wayland") == 0;
    if (wayland) SDL_SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, "1", SDL_HINT_OVERRIDE);
    canShowBox_ = true;

    wakeEvent_ = SDL_RegisterEvents(1);
    if (wakeEvent_ == static_cast<Uint32>(-1)) {
      message_("Win class was not registered", "Error");
      SDL_QuitSubSystem(SDL_INIT_VIDEO);
      return false;
    }
    // Scale 0 is taken as the largest that fits until the frame is known.
    scale_ = options_.scale == 0 ? FittingScale(0, 0, 0, 0) : options_.scale;
    window_ = SDL_CreateWindow("Graph", x_, y_, shared_->width * scale_, shared_->depth * scale_,
                               SDL_WINDOW_HIDDEN | SDL_WINDOW_ALWAYS_ON_TOP);
    if (!window_) {
      message_("Couldn't create main window", "Error");
      SDL_QuitSubSystem(SDL_INIT_VIDEO);
      return false;
    }
    if (wayland && !SDL_GetWindowSurface(window_)) {  // no renderer for the texture
      message_("Couldn't create main window", "Error");
      return false;
    }
    if (options_.iconSize > 0 &&
        options_.icon.size() == std::size_t(options_.iconSize) * options_.iconSize) {
      // For the title bar and the task list only: nothing drawn changes.
      SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(
          options_.icon.data(), options_.iconSize, options_.iconSize, 32, options_.iconSize * 4,
          SDL_PIXELFORMAT_ARGB8888);
      if (icon) SDL_SetWindowIcon(window_, icon);
      SDL_FreeSurface(icon);
    }
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window_, &info) && info.subsystem == SDL_SYSWM_X11) {
      display_ = info.info.x11.display;
      xWindow_ = info.info.x11.window;
      SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);  // to learn of the window's destruction
      char name[] = "graph", windowClass[] = "GraphWnd";
      XClassHint hint{name, windowClass};
      XSetClassHint(display_, xWindow_, &hint);
      OfferNoMaximise(display_, xWindow_);
      int revert = 0;
      XGetInputFocus(display_, &previousFocus_, &revert);
    }
    if (options_.windowKeys) StartKeys();
    SDL_ShowWindow(window_);
    wmRuns_ = display_ && WindowManagerRuns(display_);
    if (options_.scale == 1)
      FitFrame();
    else
      PlaceScaled();
    if (options_.fullscreen) SetFullscreen(true);
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
    if (!WaitForFrame(top, left, bottom, right)) return;
    SDL_SetWindowSize(window_, std::max(1, shared_->width - left - right),
                      std::max(1, shared_->depth - top - bottom));
    SDL_SetWindowPosition(window_, x_ + left, y_ + top);
  }

  // The frame's sizes; FALSE when there is no frame (no window manager) or none came.
  bool WaitForFrame(int& top, int& left, int& bottom, int& right) {
    auto framed = [&] {
      return SDL_GetWindowBordersSize(window_, &top, &left, &bottom, &right) == 0 &&
             (top || left || bottom || right);
    };
    if (!wmRuns_) return false;
    for (int waited = 0; !framed() && waited < 1000; waited += 10) {
      SDL_PumpEvents();
      SDL_Delay(10);
    }
    return framed();
  }

  // The largest scale whose window, with a frame of these sizes, fits the usable area.
  int FittingScale(int top, int left, int bottom, int right) const {
    SDL_Rect usable;
    int display = window_ ? std::max(0, SDL_GetWindowDisplayIndex(window_)) : 0;
    if (SDL_GetDisplayUsableBounds(display, &usable) != 0) return 1;
    int n = std::min((usable.w - left - right) / shared_->width,
                     (usable.h - top - bottom) / shared_->depth);
    return std::clamp(n, 1, kMaxScale);
  }

  // A scaled window keeps its whole client area, scale x the surface; its frame's corner
  // goes to (x, y), moved into the usable area where the window fits there.
  void PlaceScaled() {
    int top = 0, left = 0, bottom = 0, right = 0;
    WaitForFrame(top, left, bottom, right);
    if (options_.scale == 0) {
      int n = FittingScale(top, left, bottom, right);
      if (n != scale_) {
        scale_ = n;
        SDL_SetWindowSize(window_, shared_->width * n, shared_->depth * n);
      }
    }
    SDL_Rect usable{x_, y_, 0, 0};
    SDL_GetDisplayUsableBounds(std::max(0, SDL_GetWindowDisplayIndex(window_)), &usable);
    int outerW = shared_->width * scale_ + left + right;
    int outerH = shared_->depth * scale_ + top + bottom;
    int x = std::clamp(x_, usable.x, std::max(usable.x, usable.x + usable.w - outerW));
    int y = std::clamp(y_, usable.y, std::max(usable.y, usable.y + usable.h - outerH));
    SDL_SetWindowPosition(window_, x + left, y + top);
  }

  // Full screen is the desktop-sized window of SDL where a window manager runs. Without
  // one SDL would only believe the window full screen (the X window keeps its size), so
  // the window itself is moved over the whole display and put back afterwards.
  void SetFullscreen(bool on) {
    if (on == fullscreen_) return;
    if (!display_ || wmRuns_) {
      if (SDL_SetWindowFullscreen(window_, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) return;
    } else if (on) {
      SDL_Rect bounds;
      if (SDL_GetDisplayBounds(std::max(0, SDL_GetWindowDisplayIndex(window_)), &bounds) != 0)
        return;
      SDL_GetWindowPosition(window_, &windowed_.x, &windowed_.y);
      SDL_GetWindowSize(window_, &windowed_.w, &windowed_.h);
      SDL_SetWindowPosition(window_, bounds.x, bounds.y);
      SDL_SetWindowSize(window_, bounds.w, bounds.h);
      SDL_RaiseWindow(window_);
    } else {
      SDL_SetWindowSize(window_, windowed_.w, windowed_.h);
      SDL_SetWindowPosition(window_, windowed_.x, windowed_.y);
    }
    fullscreen_ = on;
  }

  static bool TogglesFullscreen(const SDL_KeyboardEvent& key) {
    return key.keysym.sym == SDLK_F11 ||
           (key.keysym.sym == SDLK_RETURN && (key.keysym.mod & KMOD_ALT) != 0);
  }

  void Stop() {
    {
      std::lock_guard lock(shared_->windowLock);
      shared_->alive = false;
      shared_->wakePending = false;
    }
    if (keys_) {
      keys_.reset();  // closes the pads
      SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    }
    if (gone_) {
      // SDL 2.26 hides a window before destroying it and waits for its unmapping, which
      // a window that is gone never reports: here is one for it to find.
      XEvent unmap{};
      unmap.xunmap.type = UnmapNotify;
      unmap.xunmap.display = display_;
      unmap.xunmap.event = unmap.xunmap.window = xWindow_;
      XPutBackEvent(display_, &unmap);
    }
    if (window_) SDL_DestroyWindow(window_);
    window_ = nullptr;
    display_ = nullptr;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }

  // The window's keys and the game pads go to the key sink; without pads the keys still go.
  void StartKeys() {
    SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
    keys_ = std::make_unique<WindowKeys>([](const IO::KeyEvent& e) {
      if (KeySink sink = CurrentKeySink()) sink(e);
    });
  }

  // An event, waiting at most timeoutMs (-1: no limit), and less when the keys want a call.
  int WaitEvent(SDL_Event* e, int timeoutMs) {
    const int repeat = keys_ ? keys_->Repeat(SDL_GetTicks64()) : -1;
    if (repeat >= 0 && (timeoutMs < 0 || repeat < timeoutMs)) timeoutMs = repeat;
    return timeoutMs < 0 ? SDL_WaitEvent(e) : SDL_WaitEventTimeout(e, timeoutMs);
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
        got = WaitEvent(&e, static_cast<int>(lastPresent + kFrameMs - now));
      } else {
        got = WaitEvent(&e, -1);
      }
      while (got) {
        if (e.type == wakeEvent_) {
          if (e.user.code == kQuitCode) return;
          presentWanted = true;
        } else if (e.type == SDL_QUIT) {
          return;
        } else if (e.type == SDL_SYSWMEVENT) {
          // Destroyed by another client (xdotool's windowclose does it): a closed window.
          const XEvent& x = e.syswm.msg->msg.x11.event;
          if (x.type == DestroyNotify && x.xdestroywindow.window == xWindow_) {
            gone_ = true;
            return;
          }
        } else if ((e.type == SDL_KEYDOWN || e.type == SDL_KEYUP) && TogglesFullscreen(e.key)) {
          // The window's own keys, whatever else the window does with keys.
          if (e.type == SDL_KEYDOWN && !e.key.repeat) {
            SetFullscreen(!fullscreen_);
            Repaint();
          }
        } else if (keys_ && keys_->Handle(e, SDL_GetTicks64())) {
          // a key or a game pad's, gone to the key sink
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
                if (!keys_) GiveFocusBack();  // with window keys the window keeps it
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

  // Where the picture lies in the window's surface: every pixel an n x n block, the
  // top-left corner at (x, y). Full screen centres the largest whole scale that fits.
  struct View {
    int n = 1, x = 0, y = 0;
  };
  View ViewOf(const SDL_Surface* s) const {
    if (!fullscreen_) return View{scale_, 0, 0};
    int n = std::max(1, std::min(s->w / shared_->width, s->h / shared_->depth));
    return View{n, std::max(0, (s->w - n * shared_->width) / 2),
                std::max(0, (s->h - n * shared_->depth) / 2)};
  }

  // Copies a block of 0xRRGGBB pixels into the window's own surface.
  static void Copy(SDL_Surface* to, const Raster::Colour* from, int stride, const SDL_Rect& r,
                   const View& v) {
    SDL_ConvertPixels(
        r.w, r.h, SDL_PIXELFORMAT_RGB888, from + static_cast<std::size_t>(r.y) * stride + r.x,
        stride * 4, to->format->format,
        static_cast<Uint8*>(to->pixels) + static_cast<std::size_t>(v.y + r.y) * to->pitch +
            (v.x + r.x) * to->format->BytesPerPixel,
        to->pitch);
  }

  template <int N>
  static void Widen(Uint32* to, const Raster::Colour* from, int w, int n) {
    const int k = N ? N : n;
    for (int i = 0; i < w; ++i, to += k)
      for (int j = 0; j < k; ++j) to[j] = from[i];
  }

  // Writes block b of the picture (its top-left pixel at `from`) into the surface, every
  // pixel an n x n block: each row once, widened, then copied to the n - 1 rows below it.
  // 0xRRGGBB is the surface's own format on a 24-bit display; any other goes through
  // SDL's conversion row by row.
  void ShowBlock(SDL_Surface* to, const Raster::Colour* from, int stride, const SDL_Rect& b,
                 const View& v) {
    const int n = v.n, bpp = to->format->BytesPerPixel;
    const std::size_t rowBytes = static_cast<std::size_t>(b.w) * n * bpp;
    const bool direct = bpp == 4 && to->format->Rmask == 0xFF0000 && to->format->Gmask == 0xFF00 &&
                        to->format->Bmask == 0xFF;
    if (!direct) converted_.resize(static_cast<std::size_t>(b.w) * bpp);
    for (int row = 0; row < b.h; ++row, from += stride) {
      Uint8* first = static_cast<Uint8*>(to->pixels) +
                     static_cast<std::size_t>(v.y + (b.y + row) * n) * to->pitch +
                     static_cast<std::size_t>(v.x + b.x * n) * bpp;
      if (direct) {
        Uint32* out = reinterpret_cast<Uint32*>(first);
        switch (n) {
          case 2:
            Widen<2>(out, from, b.w, n);
            break;
          case 3:
            Widen<3>(out, from, b.w, n);
            break;
          case 4:
            Widen<4>(out, from, b.w, n);
            break;
          default:
            Widen<0>(out, from, b.w, n);
            break;
        }
      } else {
        SDL_ConvertPixels(b.w, 1, SDL_PIXELFORMAT_RGB888, from, b.w * 4, to->format->format,
                          converted_.data(), b.w * bpp);
        Uint8* out = first;
        for (int i = 0; i < b.w; ++i)
          for (int j = 0; j < n; ++j, out += bpp)
            std::memcpy(out, &converted_[static_cast<std::size_t>(i) * bpp], bpp);
      }
      for (int copy = 1; copy < n; ++copy)
        std::memcpy(first + static_cast<std::size_t>(copy) * to->pitch, first, rowBytes);
    }
  }

  // Under the lock, scaled: brings the window thread's copy of the picture up to date in
  // block r and lists in blocks_ the parts that changed. Every pixel shown costs n x n, so
  // only the tiles that differ from the copy count: the changed area is the box around a
  // tick's changes, most of which is the same picture again.
  void TakeChanged(const Raster::Colour* from, const SDL_Rect& r, bool whole) {
    const int width = shared_->width;
    const std::size_t pictureSize = static_cast<std::size_t>(width) * shared_->depth;
    if (shown_.size() != pictureSize) shown_.assign(pictureSize, 0), whole = true;
    auto at = [width](auto* picture, int x, int y) {
      return picture + static_cast<std::size_t>(y) * width + x;
    };
    auto take = [&](const SDL_Rect& b) {
      for (int y = b.y; y < b.y + b.h; ++y)
        std::memcpy(at(shown_.data(), b.x, y), at(from, b.x, y), static_cast<std::size_t>(b.w) * 4);
    };
    blocks_.clear();
    if (whole) return take(r), blocks_.push_back(r);
    // A run of changed tiles in a row of tiles is listed once the row below does not
    // continue it with a run of the same columns: each upload has a cost of its own.
    auto flush = [&] {
      for (const SDL_Rect& b : open_)
        if (b.w > 0) blocks_.push_back(b);
    };
    open_.clear();
    const int right = r.x + r.w, bottom = r.y + r.h;
    for (int top = r.y; top < bottom; top = top / kTile * kTile + kTile) {
      const int rows = std::min(top / kTile * kTile + kTile, bottom) - top;
      below_.clear();
      auto add = [&](int left, int columns) {
        take(SDL_Rect{left, top, columns, rows});
        for (SDL_Rect& b : open_)
          if (b.x == left && b.w == columns) {
            below_.push_back(SDL_Rect{left, b.y, columns, b.h + rows});
            b.w = 0;
            return;
          }
        below_.push_back(SDL_Rect{left, top, columns, rows});
      };
      int run = -1;  // the left of a run of changed tiles
      for (int left = r.x;;) {
        const int next = std::min(left / kTile * kTile + kTile, right);
        bool differs = false;
        for (int y = top; left < right && y < top + rows && !differs; ++y)
          differs = std::memcmp(at(from, left, y), at(shown_.data(), left, y),
                                static_cast<std::size_t>(next - left) * 4) != 0;
        if (differs && run < 0) run = left;
        if (!differs && run >= 0) add(run, left - run), run = -1;
        if (left >= right) break;
        left = next;
      }
      flush();
      open_.swap(below_);
    }
    flush();
  }

  // The part of the area that has whole blocks in the surface, in picture pixels.
  SDL_Rect Visible(SDL_Surface* s, const View& v, const Raster::Area& a) const {
    int right = std::min({a.right, (s->w - v.x) / v.n, shared_->width}),
        bottom = std::min({a.bottom, (s->h - v.y) / v.n, shared_->depth});
    return SDL_Rect{a.left, a.top, std::max(0, right - a.left), std::max(0, bottom - a.top)};
  }

  // Writes block r of a picture into the surface, while the lock is held: a plain copy at
  // scale 1; scaled, the changed parts are taken and Finish scales them after the lock.
  void Take(SDL_Surface* s, const Raster::Colour* from, const SDL_Rect& r, const View& v,
            bool whole) {
    if (v.n != 1) return TakeChanged(from, r, whole);
    Copy(s, from, shared_->width, r, v);
    shown_.clear();  // no longer kept: the next scaled view starts whole
    blocks_.assign(1, r);
  }
  // Then the window's changed parts are in changed_.
  void Finish(SDL_Surface* s, const View& v) {
    changed_.clear();
    for (const SDL_Rect& b : blocks_) {
      if (v.n != 1)
        ShowBlock(s, &shown_[static_cast<std::size_t>(b.y) * shared_->width + b.x], shared_->width,
                  b, v);
      changed_.push_back(SDL_Rect{v.x + b.x * v.n, v.y + b.y * v.n, b.w * v.n, b.h * v.n});
    }
  }

  // Under the lock: a new overlay text made into overlay_. The area where the window must
  // show it or the picture again (empty when the text did not change).
  Raster::Area TakeOverlay() {
    if (shared_->overlayVersion == overlayVersion_) return Raster::Area{};
    overlayVersion_ = shared_->overlayVersion;
    Raster::Area changed = overlayBox_;
    overlayBox_ = Raster::Area{};
    overlay_.clear();
    const std::string_view text = shared_->overlayText;
    const int width = shared_->width, depth = shared_->depth;
    const int fieldLeft = width > kFieldLeft ? kFieldLeft : 0;
    const int cellWidth = Font::kCellWidth * kOverlayScale;
    const int cellHeight = Font::kCellHeight * kOverlayScale;
    const int room = std::max(0, (width - fieldLeft - 2 * kOverlayMargin) / cellWidth);
    const int n =
        static_cast<int>(std::min<std::size_t>(text.size(), static_cast<std::size_t>(room)));
    if (n == 0) return changed;
    const int w = n * cellWidth + 2 * kOverlayMargin, h = cellHeight + 2 * kOverlayMargin;
    const int left = fieldLeft + (width - fieldLeft - w) / 2, top = std::max(0, (depth - h) / 2);
    overlayBox_ = Raster::Area{left, top, left + w, std::min(depth, top + h)};
    overlay_.assign(static_cast<std::size_t>(w) * h, 0);
    for (int i = 0; i < n; ++i)
      for (int y = 0; y < cellHeight; ++y)
        for (int x = 0; x < cellWidth; ++x) {
          const std::uint8_t row =
              Font::kGlyphs[static_cast<unsigned char>(text[i])][y / kOverlayScale];
          if (row & (0x80 >> (x / kOverlayScale)))
            overlay_[static_cast<std::size_t>(kOverlayMargin + y) * w + kOverlayMargin +
                     i * cellWidth + x] = 0xFFFFFF;
        }
    changed.Add(overlayBox_);
    return changed;
  }

  // After Finish: the overlay over the parts of it just written from the picture.
  void ShowOverlay(SDL_Surface* s, const View& v) {
    const int w = overlayBox_.right - overlayBox_.left;
    for (const SDL_Rect& b : blocks_) {
      const int left = std::max(b.x, overlayBox_.left), top = std::max(b.y, overlayBox_.top);
      const int right = std::min(b.x + b.w, overlayBox_.right);
      const int bottom = std::min(b.y + b.h, overlayBox_.bottom);
      if (right <= left || bottom <= top) continue;
      ShowBlock(
          s,
          &overlay_[static_cast<std::size_t>(top - overlayBox_.top) * w + left - overlayBox_.left],
          w, SDL_Rect{left, top, right - left, bottom - top}, v);
    }
  }

  // Shows what the server drew since the last present, and a new overlay text.
  void Present() {
    auto start = std::chrono::steady_clock::now();
    SDL_Surface* s = SDL_GetWindowSurface(window_);
    SDL_Rect r{};
    View v;
    {
      std::lock_guard lock(shared_->windowLock);
      shared_->wakePending = false;
      Raster::Area area = shared_->dirty;
      const Raster::Area overlay = TakeOverlay();
      area.Add(overlay);
      if (s) v = ViewOf(s), r = Visible(s, v, area);
      shared_->dirty = Raster::Area{};
      // Where the overlay came or went the picture is shown again, changed or not.
      if (r.w > 0 && r.h > 0) Take(s, shared_->window.data(), r, v, !overlay.Empty());
    }
    if (r.w > 0 && r.h > 0) {
      Finish(s, v);
      ShowOverlay(s, v);
      if (!changed_.empty())
        SDL_UpdateWindowSurfaceRects(window_, changed_.data(), static_cast<int>(changed_.size()));
    }
    shared_->presentNanoseconds +=
        static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                       std::chrono::steady_clock::now() - start)
                                       .count());
    shared_->presents++;
  }

  // The whole window again from the surface: window lock, then surface lock.
  void Repaint() {
    SDL_Surface* s = SDL_GetWindowSurface(window_);
    if (!s) return;
    SDL_Rect r{};
    View v = ViewOf(s);
    {
      std::lock_guard windowLock(shared_->windowLock);
      std::lock_guard surfaceLock(shared_->surfaceLock);
      TakeOverlay();
      r = Visible(s, v, Raster::Area{0, 0, shared_->width, shared_->depth});
      if (r.w > 0 && r.h > 0) Take(s, shared_->surface.data(), r, v, true);
    }
    if (r.w > 0 && r.h > 0) Finish(s, v), ShowOverlay(s, v);
    if (fullscreen_ || scale_ != 1) BlackAround(s, v);
    SDL_UpdateWindowSurface(window_);
  }

  // Black where the surface has no picture.
  void BlackAround(SDL_Surface* s, const View& v) const {
    int right = v.x + shared_->width * v.n, bottom = v.y + shared_->depth * v.n;
    SDL_Rect bands[4] = {{0, 0, s->w, v.y},
                         {0, bottom, s->w, s->h - bottom},
                         {0, v.y, v.x, bottom - v.y},
                         {right, v.y, s->w - right, bottom - v.y}};
    for (SDL_Rect& b : bands)
      if (b.w > 0 && b.h > 0) SDL_FillRect(s, &b, 0);
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
  Display* display_ = nullptr;  // X11 only, like xWindow_
  ::Window xWindow_ = None;
  bool gone_ = false;  // destroyed by another client
  ::Window previousFocus_ = None;
  bool firstActivation_ = true;
  std::unique_ptr<WindowKeys> keys_;
  Graph::WindowOptions options_;
  int scale_ = 1;  // of the window, when not full screen
  bool fullscreen_ = false;
  bool wmRuns_ = false;
  SDL_Rect windowed_{};  // the window's place before full screen without a window manager
  std::vector<Raster::Colour> shown_;   // the picture as the surface shows it, when scaled
  std::vector<SDL_Rect> blocks_;        // changed parts of it, in picture pixels
  std::vector<SDL_Rect> changed_;       // the same in the window's pixels
  std::vector<SDL_Rect> open_, below_;  // runs of changed tiles, in picture pixels
  std::vector<Uint8> converted_;
  std::uint64_t overlayVersion_ = 0;     // of the text in overlay_
  Raster::Area overlayBox_;              // where overlay_ goes, in picture pixels; empty: none
  std::vector<Raster::Colour> overlay_;  // the overlay's pixels, row by row
};

}  // namespace

std::unique_ptr<WindowSystem> MakeSdlWindowSystem() {
  return std::make_unique<SdlWindowSystem>();
}

void ReleaseSdl() {
  if (eventsHeld.exchange(false)) SDL_QuitSubSystem(SDL_INIT_EVENTS);
  if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) SDL_Quit();
}

bool ShowErrorBox(std::string_view caption, std::string_view message) {
  std::string c(caption), m(message);
  return SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, c.c_str(), m.c_str(), nullptr) == 0;
}

}  // namespace Graph::detail
