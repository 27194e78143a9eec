// Test fixtures for a real X server: an Xvfb started for the test, and reading a
// window's pixels back from it.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct _XDisplay;  // Xlib's Display

namespace testing_x {

// Starts `Xvfb :N -screen 0 1280x1024x24 -nolisten tcp` on a free display number N,
// waits until it accepts connections and points DISPLAY at it; the destructor kills it
// and puts DISPLAY back. Check Running() (a test may GTEST_SKIP without Xvfb).
class XvfbServer {
 public:
  XvfbServer();
  ~XvfbServer();
  XvfbServer(const XvfbServer&) = delete;
  XvfbServer& operator=(const XvfbServer&) = delete;

  bool Running() const { return pid_ > 0; }
  // Ends the server at once, as a crash would; its clients lose their connection.
  void Kill();
  const std::string& Display() const { return display_; }  // ":N"

 private:
  pid_t pid_ = -1;
  std::string display_;
  std::optional<std::string> previousDisplay_;
};

struct WindowPixels {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // row by row, 0xRRGGBB
  std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// The client-area pixels of the first window titled `title` on `display` (as the X
// server holds them now), or nothing when no such window is mapped.
std::optional<WindowPixels> ReadWindowPixels(const std::string& display, const std::string& title);

// Waits until a window titled `title` is mapped on `display`.
bool WaitForWindow(const std::string& display, const std::string& title,
                   std::chrono::milliseconds timeout = std::chrono::seconds(10));

// Maps a plain window over the area (x, y, width, height) for a moment, fills it, then
// destroys it, so that whatever lay below must repaint itself.
void CoverAndUncover(const std::string& display, int x, int y, int width, int height);

// Asks the window titled `title` to close, as the close box of a window manager does
// (WM_DELETE_WINDOW). FALSE when no such window is found.
bool CloseWindow(const std::string& display, const std::string& title);

// A plain top-level window of the test's own, on a connection of its own: a stand-in
// for the terminal that has the keyboard focus when the program starts.
class XStandIn {
 public:
  // Maps the window titled `title` and gives it the keyboard focus.
  XStandIn(const std::string& display, const std::string& title);
  ~XStandIn();
  XStandIn(const XStandIn&) = delete;
  XStandIn& operator=(const XStandIn&) = delete;

  unsigned long Id() const { return window_; }
  // The window that holds the keyboard focus now (None, 0, when nobody does).
  unsigned long FocusedWindow() const;
  // The first mapped window titled `title`, or 0.
  unsigned long Find(const std::string& title) const;
  // Gives the keyboard focus to `window`, as a click on it would.
  void Focus(unsigned long window) const;

 private:
  _XDisplay* display_ = nullptr;
  unsigned long window_ = 0;
};

}  // namespace testing_x
