// What the graphics service needs from a window system, and what it shares with it.
#pragma once

#include <sys/mman.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "graph/Raster.h"
#include "graph/WindowOptions.h"

namespace Graph::detail {

// Memory for the two whole-window pictures, on huge pages where the system offers them:
// the first touch of 2.8 MB of small pages costs some 700 page faults, about 10 ms on a
// virtual machine, and both pictures are made while the program starts.
template <typename T>
struct PictureAllocator {
  using value_type = T;
  static constexpr std::size_t kHuge = std::size_t{2} << 20;
  PictureAllocator() = default;
  template <typename U>
  PictureAllocator(const PictureAllocator<U>&) {}
  T* allocate(std::size_t n) {
    const std::size_t bytes = std::max<std::size_t>(1, (n * sizeof(T) + kHuge - 1) / kHuge) * kHuge;
    void* p = std::aligned_alloc(kHuge, bytes);
    if (!p) throw std::bad_alloc();
    ::madvise(p, bytes, MADV_HUGEPAGE);  // only advice: small pages work as well
    return static_cast<T*>(p);
  }
  void deallocate(T* p, std::size_t) { std::free(p); }
  template <typename U>
  bool operator==(const PictureAllocator<U>&) const {
    return true;
  }
};
using Picture = std::vector<Raster::Colour, PictureAllocator<Raster::Colour>>;

// State shared between the server thread and the window thread.
struct WindowShared {
  int width = 0, depth = 0;
  // The surface: the picture the window is repainted from.
  std::mutex surfaceLock;
  Picture surface;
  // The window's own picture, drawn by the server as each request arrives.
  std::mutex windowLock;
  Picture window;                    // guarded by windowLock, like the fields below
  Raster::Area dirty;                // drawn but not yet shown
  bool alive = false;                // a window shows the picture
  bool wakePending = false;          // the window thread has been woken and not yet presented
  std::string overlayText;           // shown over the picture by the window
  std::string noteText;              // the window's own note, shown instead while it lasts
  std::uint64_t overlayVersion = 0;  // counts the changes of overlayText and overlayBar
  double overlayBar = -1;            // the overlay's bar, filled 0 to 1 (below 0: none)
  bool held = false;                 // the window shows nothing new until let go
  // What the presents of changed areas cost so far (for the benchmarks).
  std::atomic<std::uint64_t> presents{0}, presentNanoseconds{0};
};

using MessageFn = std::function<void(std::string_view message, std::string_view caption)>;

class WindowSystem {
 public:
  virtual ~WindowSystem() = default;
  // Starts the window thread and returns once the window is shown (TRUE) or has failed: at
  // (x, y), made as the options say. Failure with no usable display says nothing; other
  // failures go to `message`.
  virtual bool Open(int x, int y, WindowShared& shared, WindowOptions options,
                    MessageFn message) = 0;
  // Holding the window lock with `alive` set: the window picture changed (server thread)
  // or the overlay text did (game thread).
  virtual void Changed() = 0;
  // Ends the window thread and removes the window (nothing if it already ended).
  virtual void Close() = 0;
  // Whether the failure messages can be shown in a box on this display.
  virtual bool CanShowBox() const = 0;
};

std::unique_ptr<WindowSystem> MakeSdlWindowSystem();
// At the end of the program: lets SDL free what it keeps after its video part closed
// (hints, its D-Bus connection), unless another part of the program still uses SDL.
void ReleaseSdl();
// Shows an error box and waits until it is closed; FALSE when no box can be shown.
bool ShowErrorBox(std::string_view caption, std::string_view message);

}  // namespace Graph::detail
