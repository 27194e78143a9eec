// The real window under an Xvfb server. A process opens the window once, so each
// scenario runs in a child process of its own (death-test style) with its own X server.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <thread>

#include "graph/Graph.h"
#include "graph/Present.h"
#include "tests/common/Xvfb.h"

// Last: Xlib's macros (None, Bool, Status) would meet names in the headers above.
// clang-format off
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
// clang-format on

namespace {

using namespace std::chrono_literals;
using Graph::CARDINAL;

// How a window of width x height shows the surface: every pixel a scale x scale block,
// the picture's top-left corner at (x, y), black around it, the overlay text over it.
struct Look {
  int scale = 1, x = 0, y = 0, width = 1024, height = 700;
  const char* overlay = "";
};

// The window's pixels that show the surface so.
std::vector<std::uint32_t> Expected(std::optional<Look> look) {
  auto surface = Graph::ReadSurface();
  const auto overlay = Graph::Present::OverlayOf(look ? look->overlay : "", {1024, 700});
  for (int y = overlay.box.top; y < overlay.box.bottom; ++y)
    for (int x = overlay.box.left; x < overlay.box.right; ++x)
      surface[y * 1024 + x] =
          overlay.pixels[(y - overlay.box.top) * overlay.Width() + x - overlay.box.left];
  std::vector<std::uint32_t> expected;
  for (int y = 0; look && y < look->height; ++y)
    for (int x = 0; x < look->width; ++x) {
      const int px = (x - look->x) / look->scale, py = (y - look->y) / look->scale;
      const bool in = x >= look->x && y >= look->y && px < 1024 && py < 700;
      expected.push_back(in ? surface[py * 1024 + px] : 0);
    }
  return expected;
}

// Whether the window comes to show the surface so (or, with no look, goes) within 5 s.
bool Soon(const std::string& display, std::optional<Look> look = Look{}) {
  const auto expected = Expected(look);
  for (auto end = std::chrono::steady_clock::now() + 5s; std::chrono::steady_clock::now() < end;
       std::this_thread::sleep_for(20ms)) {
    auto shown = testing_x::ReadWindowPixels(display, "Graph");
    if (!look ? !shown : shown && shown->width == look->width && shown->pixels == expected)
      return true;
  }
  return false;
}

// Presses the keys together in the window with the focus, as a keyboard does.
void Type(const std::string& display, std::initializer_list<KeySym> keys) {
  Display* d = XOpenDisplay(display.c_str());
  for (KeySym k : keys) XTestFakeKeyEvent(d, XKeysymToKeycode(d, k), True, 0);
  for (auto k = std::rbegin(keys); k != std::rend(keys); ++k)
    XTestFakeKeyEvent(d, XKeysymToKeycode(d, *k), False, 0);
  XCloseDisplay(d);
}

// The window open on an Xvfb of its own, over a stand-in for the terminal, with a picture,
// in a child process of its own; it passes when the scenario has no complaint.
void OnXvfb(const std::function<std::string(const std::string& display)>& scenario,
            const std::string& screen = "1280x1024x24", Graph::WindowOptions options = {}) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  auto child = [&] {
    const std::string complaint = [&]() -> std::string {
      testing_x::XvfbServer x(screen);
      if (!x.Running()) return "no Xvfb";
      testing_x::XStandIn terminal(x.Display(), "terminal");
      if (!Graph::Init(1, 1, 1024, 700, Graph::WindowSystemKind::Sdl, options)) return "no window";
      Graph::Rectangle(250, 0, 1024, 700, 9, true);
      for (CARDINAL i = 0; i < 200; ++i) Graph::Plot(300 + i, 300 + i / 2, i);
      Graph::RawOutText(20, 20, 15, "Score: 12345");
      std::string complaint = scenario(x.Display());
      Graph::Exit();
      return complaint;
    }();
    std::fputs(complaint.c_str(), stderr);
    std::exit(complaint.empty() ? 0 : 1);
  };
  EXPECT_EXIT(child(), testing::ExitedWithCode(0), "");
}

// What the window shows is planned by Present (PresentTest); here the real window.
TEST(WindowTest, ShowsTheSurfaceRepaintsItHandsTheFocusBackAndGoesWhenClosed) {
  OnXvfb([](const std::string& display) {
    if (!Soon(display)) return "the window does not show the surface";
    testing_x::CoverAndUncover(display, 100, 100, 400, 300);
    Graph::Plot(150, 150, 12);  // drawn after the cover left, before or after the repaint
    if (!Soon(display)) return "the window was not repainted";
    // An overlay text: in the window only, over a repaint and over drawing below it.
    const auto surface = Graph::ReadSurface();
    Graph::SetOverlayText("PAUSED");
    if (!Soon(display, Look{.overlay = "PAUSED"})) return "no overlay text";
    if (Graph::ReadSurface() != surface) return "the overlay text went into the surface";
    testing_x::CoverAndUncover(display, 500, 300, 300, 100);
    Graph::Rectangle(500, 300, 800, 400, 12, true);
    if (!Soon(display, Look{.overlay = "PAUSED"}))
      return "the overlay text went with a repaint or a drawing";
    Graph::SetOverlayText("");
    if (!Soon(display)) return "the picture did not come back from under the overlay";
    // Activated when shown and 50 ms later given back to the terminal; not so later on.
    if (testing_x::FocusedTitle(display) != "terminal") return "the window kept the focus";
    testing_x::Focus(display, "Graph");  // a click on the window
    std::this_thread::sleep_for(500ms);
    if (testing_x::FocusedTitle(display) != "Graph") return "a later activation was given away";
    if (!testing_x::CloseWindow(display, "Graph")) return "no window to close";
    return Soon(display, std::nullopt) ? "" : "the window stayed";
  });
  // Scaled, only the changed tiles are shown again. (A window destroyed by another client
  // is closed while the game goes on: ProgramTest.)
  OnXvfb(
      [](const std::string& display) {
        const Look twice{2, 0, 0, 2048, 1400};
        if (!Soon(display, twice)) return "the window does not show the surface at scale 2";
        testing_x::CoverAndUncover(display, 100, 100, 400, 300);
        Graph::Plot(150, 150, 12);
        Graph::Plot(700, 600, 12);
        return Soon(display, twice) ? "" : "the window at scale 2 was not repainted";
      },
      "2400x1600x24", {.scale = 2});
}

// Full screen with no window manager (the window itself then covers the display).
TEST(WindowTest, FullScreenCentresTheLargestWholeScaleAndAltEnterOrF11Toggle) {
  OnXvfb(
      [](const std::string& display) {
        const Look full{2, 176, 100, 2400, 1600};
        if (!Soon(display, full)) return "not centred at scale 2";
        testing_x::Focus(display, "Graph");
        std::this_thread::sleep_for(100ms);
        Type(display, {XK_Alt_L, XK_Return});
        Graph::Plot(150, 150, 12);
        if (!Soon(display)) return "Alt+Enter did not give the window back";
        Type(display, {XK_F11});
        return Soon(display, full) ? "" : "F11 did not make it full screen again";
      },
      "2400x1600x24", {.fullscreen = true});
}

}  // namespace

// SDL's video start opens a D-Bus connection whose library keeps a buffer to the end of
// the process, whatever SDL_Quit does. Only that is excused.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libdbus-1.so\n";
}
