// The window on a real display, through SDL2: SDL's life and its event loop. The display
// it goes to, its X11 side, its place and what it shows are in Displays, X11Extras,
// WindowPlace and SdlPresenter. All SDL video calls stay on the window thread.
#include <SDL2/SDL.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <system_error>
#include <thread>

#include "graph/Displays.h"
#include "graph/Event.h"
#include "graph/Present.h"
#include "graph/Screenshot.h"
#include "graph/SdlPresenter.h"
#include "graph/WindowKeys.h"
#include "graph/WindowPlace.h"
#include "graph/WindowSystem.h"
#include "graph/X11Extras.h"

namespace Graph::detail {

namespace {

constexpr Uint64 kFrameMs = 16;  // at most one present per frame
constexpr int kQuitCode = 1;
constexpr Uint64 kNoteMs = 1500;  // how long the mute key's note stays

std::atomic<bool> eventsHeld{false};  // SDL's event queue, from the first window to the end

class SdlWindowSystem final : public WindowSystem {
 public:
  ~SdlWindowSystem() override { Close(); }

  bool Open(int x, int y, WindowShared& shared, WindowOptions options, MessageFn message) override {
    x_ = x;
    y_ = y;
    shared_ = &shared;
    presenter_ = std::make_unique<SdlPresenter>(shared);
    place_ = std::make_unique<WindowPlace>(Present::Size{shared.width, shared.depth}, x, y);
    options_ = std::move(options);
    options_.scale = std::clamp(options_.scale, 0, Present::kMaxScale);
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
    if (s && place_->Scale() == 1 && !place_->Fullscreen())
      std::memset(s->pixels, 0, static_cast<std::size_t>(s->h) * s->pitch);
    Repaint();
    const bool closedHere = Loop();
    Stop();
    if (closedHere && options_.closed) options_.closed();
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
    const VideoDriver driver = StartVideo();
    if (driver == VideoDriver::None) return false;
    // SDL's Wayland driver has no window surface of its own: it draws through a texture.
    const bool wayland = driver == VideoDriver::Wayland;
    if (wayland) SDL_SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, "1", SDL_HINT_OVERRIDE);
    canShowBox_ = true;

    wakeEvent_ = SDL_RegisterEvents(1);
    if (wakeEvent_ == static_cast<Uint32>(-1)) {
      message_("Win class was not registered", "Error");
      SDL_QuitSubSystem(SDL_INIT_VIDEO);
      return false;
    }
    const int scale = place_->Made(options_.scale);
    window_ =
        SDL_CreateWindow("Graph", x_, y_, shared_->width * scale, shared_->depth * scale,
                         SDL_WINDOW_HIDDEN | (options_.keepAbove ? SDL_WINDOW_ALWAYS_ON_TOP : 0));
    if (!window_) {
      message_("Couldn't create main window", "Error");
      SDL_QuitSubSystem(SDL_INIT_VIDEO);
      return false;
    }
    if (wayland && !SDL_GetWindowSurface(window_)) {  // no renderer for the texture
      message_("Couldn't create main window", "Error");
      return false;
    }
    SetIcon();
    x11_.Adopt(window_);
    StartKeys();
    SDL_ShowWindow(window_);
    wmRuns_ = x11_.WindowManagerRuns();
    place_->Place(window_, options_.scale, wmRuns_);
    if (options_.fullscreen) SetFullscreen(true);
    {
      std::lock_guard lock(shared_->windowLock);
      shared_->alive = true;
    }
    return true;
  }

  // For the title bar and the task list only: nothing drawn changes.
  void SetIcon() {
    const int side = options_.iconSize;
    if (side <= 0 || options_.icon.size() != std::size_t(side) * side) return;
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(options_.icon.data(), side, side, 32,
                                                           side * 4, SDL_PIXELFORMAT_ARGB8888);
    if (icon) SDL_SetWindowIcon(window_, icon);
    SDL_FreeSurface(icon);
  }

  void Stop() {
    {
      std::lock_guard lock(shared_->windowLock);
      shared_->alive = false;
      shared_->wakePending = false;
    }
    keys_.reset();  // closes the pads
    if (options_.windowKeys) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    if (writer_.joinable()) writer_.join();
    x11_.Release();
    if (window_) SDL_DestroyWindow(window_);
    window_ = nullptr;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }

  // With window keys the keys and the game pads go to the key sink; without pads the keys
  // still go. The window's own keys work in any window.
  void StartKeys() {
    WindowKeys::Sink sink;
    if (options_.windowKeys) {
      SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
      sink = [this](const IO::KeyEvent& e) {
        if (options_.keySink) options_.keySink(e);
      };
    }
    keys_ = std::make_unique<WindowKeys>(std::move(sink), options_.bindings,
                                         [this](Action a) { Own(a); });
  }

  void Own(Action action) {
    if (action == Action::Mute) {
      muted_ = !muted_;
      if (options_.muteSink) options_.muteSink(muted_);
      SetNote(muted_ ? "SOUND OFF" : "SOUND ON");
      noteEnds_ = SDL_GetTicks64() + kNoteMs;
    } else if (action == Action::Screenshot) {
      std::vector<std::uint32_t> pixels;
      {
        std::lock_guard lock(shared_->surfaceLock);
        pixels.assign(shared_->surface.begin(), shared_->surface.end());
      }
      // Written beside the window's work, one at a time; the window's end waits for it.
      if (writer_.joinable()) writer_.join();
      writer_ = std::thread([pixels = std::move(pixels), w = shared_->width, d = shared_->depth] {
        WriteScreenshot(pixels, w, d, ScreenshotFolder());
      });
    }
  }

  // The note over the picture (over the program's overlay text while it lasts).
  void SetNote(const char* text) {
    std::lock_guard lock(shared_->windowLock);
    shared_->noteText = text;
    shared_->overlayVersion++;
    presentWanted_ = true;
  }

  void SetFullscreen(bool on) { place_->SetFullscreen(window_, on, x11_.OnX11() && !wmRuns_); }

  // An event, waiting at most timeoutMs (-1: no limit), and less when the keys want a call.
  int WaitEvent(SDL_Event* e, int timeoutMs) {
    const Uint64 now = SDL_GetTicks64();
    int repeat = options_.windowKeys ? keys_->Repeat(now) : -1;
    if (noteEnds_ != 0 && (repeat < 0 || noteEnds_ - now < Uint64(repeat)))
      repeat = static_cast<int>(noteEnds_ - now);
    if (repeat >= 0 && (timeoutMs < 0 || repeat < timeoutMs)) timeoutMs = repeat;
    return timeoutMs < 0 ? SDL_WaitEvent(e) : SDL_WaitEventTimeout(e, timeoutMs);
  }

  // Until the window is closed (Exit, the close box, the window manager's close, destroyed
  // by another client): presents at most one per frame, the first after a quiet spell at
  // once, and handles the window's events meanwhile. TRUE when it closed other than by Exit.
  bool Loop() {
    presentWanted_ = false;
    Uint64 lastPresent = 0;
    for (;;) {
      if (noteEnds_ != 0 && SDL_GetTicks64() >= noteEnds_) {
        noteEnds_ = 0;
        SetNote("");
      }
      SDL_Event e;
      int got;
      if (presentWanted_) {
        Uint64 now = SDL_GetTicks64();
        if (now >= lastPresent + kFrameMs) {
          presenter_->PresentChanges(window_, place_->Scale(), place_->Fullscreen());
          lastPresent = now;
          presentWanted_ = false;
          continue;
        }
        got = WaitEvent(&e, static_cast<int>(lastPresent + kFrameMs - now));
      } else {
        got = WaitEvent(&e, -1);
      }
      for (; got; got = SDL_PollEvent(&e))
        if (!Handle(e)) return !(e.type == wakeEvent_ && e.user.code == kQuitCode);
    }
  }

  // One event; FALSE when it closed the window.
  bool Handle(const SDL_Event& e) {
    if (e.type == wakeEvent_) {
      if (e.user.code == kQuitCode) return false;
      presentWanted_ = true;
    } else if (e.type == SDL_QUIT) {
      return false;
    } else if (e.type == SDL_SYSWMEVENT) {
      return !x11_.Destroyed(e);
    } else if ((e.type == SDL_KEYDOWN || e.type == SDL_KEYUP) && TogglesFullscreen(e.key)) {
      // The window's own keys, whatever else the window does with keys.
      if (e.type == SDL_KEYDOWN && !e.key.repeat) {
        SetFullscreen(!place_->Fullscreen());
        Repaint();
      }
    } else if (keys_ && keys_->Handle(e, SDL_GetTicks64())) {
      // a key or a game pad's, gone to the key sink
    } else if (e.type == SDL_WINDOWEVENT) {
      return HandleWindowEvent(e.window);
    }
    return true;
  }

  static bool TogglesFullscreen(const SDL_KeyboardEvent& key) {
    return key.keysym.sym == SDLK_F11 ||
           (key.keysym.sym == SDLK_RETURN && (key.keysym.mod & KMOD_ALT) != 0);
  }

  bool HandleWindowEvent(const SDL_WindowEvent& e) {
    switch (e.event) {
      case SDL_WINDOWEVENT_CLOSE:
        return false;
      case SDL_WINDOWEVENT_EXPOSED:
      case SDL_WINDOWEVENT_SIZE_CHANGED:
      case SDL_WINDOWEVENT_RESTORED:
        Repaint();
        break;
      case SDL_WINDOWEVENT_FOCUS_GAINED:
        if (firstActivation_) {
          firstActivation_ = false;
          if (!options_.windowKeys) x11_.GiveFocusBack();  // with window keys the window keeps it
        }
        break;
      default:
        break;
    }
    return true;
  }

  void Repaint() { presenter_->Repaint(window_, place_->Scale(), place_->Fullscreen()); }

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
  WindowOptions options_;
  SDL_Window* window_ = nullptr;
  X11Window x11_;
  std::unique_ptr<WindowKeys> keys_;
  std::unique_ptr<SdlPresenter> presenter_;
  std::unique_ptr<WindowPlace> place_;
  bool presentWanted_ = false;
  bool firstActivation_ = true;
  bool wmRuns_ = false;
  bool muted_ = false;
  Uint64 noteEnds_ = 0;  // when the note goes (0: none shown)
  std::thread writer_;   // the last screenshot's writing
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
