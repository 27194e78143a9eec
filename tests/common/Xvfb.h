// Test fixtures for a real X server: an Xvfb of the test's own, and what it shows.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct _XDisplay;  // Xlib's Display

namespace testing_x {

// An Xvfb (a screen of WIDTHxHEIGHTxDEPTH, no window manager) on a display number it picks
// itself; DISPLAY points at it until the destructor ends it. Not Running() without Xvfb:
// the test may skip.
class XvfbServer {
 public:
  explicit XvfbServer(const std::string& screen = "1280x1024x24");
  ~XvfbServer();
  XvfbServer(const XvfbServer&) = delete;
  XvfbServer& operator=(const XvfbServer&) = delete;

  bool Running() const { return pid_ > 0; }
  void Kill();  // ends the server at once, as a crash would
  const std::string& Display() const { return display_; }  // ":N"

 private:
  pid_t pid_ = -1;
  std::string display_;
  std::optional<std::string> previousDisplay_;
};

struct WindowPixels {
  int width = 0, height = 0;
  std::vector<std::uint32_t> pixels;  // row by row, 0xRRGGBB
  std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// The pixels of the mapped window titled `title` as the server holds them now.
std::optional<WindowPixels> ReadWindowPixels(const std::string& display, const std::string& title);
bool WaitForWindow(const std::string& display, const std::string& title,
                   std::chrono::milliseconds timeout);
// Covers the area with a window for a moment, so that whatever lay below must repaint.
void CoverAndUncover(const std::string& display, int x, int y, int width, int height);
// Sends WM_DELETE_WINDOW as a window manager's close box does; FALSE without such a window.
bool CloseWindow(const std::string& display, const std::string& title);
// Asks the window manager to close the window (_NET_CLOSE_WINDOW), as its close box does.
bool CloseByWindowManager(const std::string& display, const std::string& title);
// Destroys the window from a connection of its own, as xdotool's windowclose does.
bool DestroyWindow(const std::string& display, const std::string& title);

// A real window manager (openbox) on the display while it lives; not Running() when it
// could not start.
class WindowManager {
 public:
  explicit WindowManager(const std::string& display);
  ~WindowManager();
  WindowManager(const WindowManager&) = delete;
  WindowManager& operator=(const WindowManager&) = delete;
  bool Running() const { return running_; }

 private:
  pid_t pid_ = -1;
  bool running_ = false;
};

// A stand-in for the terminal that has the keyboard focus when the program starts: a
// window titled `title`, mapped and focused, on a connection of its own while it lives.
class XStandIn {
 public:
  XStandIn(const std::string& display, const std::string& title);
  ~XStandIn();
  XStandIn(const XStandIn&) = delete;
  XStandIn& operator=(const XStandIn&) = delete;

 private:
  _XDisplay* display_ = nullptr;
};

// The title of the window with the keyboard focus.
std::string FocusedTitle(const std::string& display);
// Gives the keyboard focus to the window titled `title`, as a click on it would.
void Focus(const std::string& display, const std::string& title);

}  // namespace testing_x
