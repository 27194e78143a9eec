// The real window under an Xvfb server. A process opens the window once, so each
// scenario runs in a child process of its own (death-test style) and starts its own
// X server there.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include "graph/Graph.h"
#include "tests/common/Xvfb.h"

namespace {

using namespace std::chrono_literals;
using Graph::CARDINAL;

// Waits until the X server shows exactly the surface in the window.
std::string WindowMatchesSurface(const std::string& display) {
  const auto surface = Graph::ReadSurface();
  for (auto deadline = std::chrono::steady_clock::now() + 5s;
       std::chrono::steady_clock::now() < deadline; std::this_thread::sleep_for(20ms)) {
    auto shown = testing_x::ReadWindowPixels(display, "Graph");
    if (shown && shown->width == 1024 && shown->height == 700 && shown->pixels == surface)
      return "";
  }
  return "the window does not show the 1024x700 surface";
}

void DrawAPicture() {
  Graph::Rectangle(0, 0, 250, 700, 7, true);
  Graph::Rectangle(250, 0, 1024, 700, 9, true);
  for (CARDINAL i = 0; i < 200; ++i) Graph::Plot(300 + i, 300 + i / 2, i);
  Graph::Line(600, 400, 600, 100, 14);
  Graph::RawOutText(20, 20, 15, "Score: 12345");
  CARDINAL image = 0;
  Graph::GetImage(290, 290, 400, 360, image);
  Graph::PutImage(700, 500, image, Graph::_GPSET);
}

// Runs the scenario in a child process of its own; it passes when no complaint came back.
void InChild(const std::function<std::string()>& scenario, const char* output = "") {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  auto child = [&] {
    const std::string complaint = scenario();
    std::fprintf(stderr, "%s", complaint.c_str());
    std::fflush(nullptr);
    std::exit(complaint.empty() ? 0 : 1);
  };
  EXPECT_EXIT(child(), testing::ExitedWithCode(0), output);
}

// An Xvfb server with the window open on it for the scenario, closed after it.
std::string OnXvfb(const std::function<std::string(const std::string& display)>& scenario) {
  testing_x::XvfbServer x;
  if (!x.Running() || !Graph::Init(1, 1, 1024, 700)) return "no window";
  std::string complaint = scenario(x.Display());
  Graph::Exit();
  return complaint;
}

TEST(WindowTest, ShowsTheSurfaceRepaintsItAfterBeingCoveredAndOutlivesItsClose) {
  InChild([] {
    return OnXvfb([](const std::string& display) {
      DrawAPicture();
      std::string complaint = WindowMatchesSurface(display);
      testing_x::CoverAndUncover(display, 100, 100, 400, 300);
      Graph::Plot(150, 150, 12);  // drawn after the cover left, before or after the repaint
      if (!complaint.empty() || !(complaint = WindowMatchesSurface(display)).empty())
        return complaint;
      // Closed, the window goes and the surface goes on working.
      if (!testing_x::CloseWindow(display, "Graph")) return std::string("no window to close");
      for (int i = 0; i < 250 && testing_x::ReadWindowPixels(display, "Graph"); ++i)
        std::this_thread::sleep_for(20ms);
      if (testing_x::ReadWindowPixels(display, "Graph")) return std::string("window stayed");
      for (CARDINAL i = 0; i < 10000; ++i) Graph::Plot(i % 1024, 600, i % 15 + 1);
      Graph::Rectangle(10, 10, 20, 20, 12, true);
      CARDINAL image = 0;
      Graph::GetImage(10, 10, 12, 12, image);
      Graph::PutImage(900, 10, image, Graph::_GPSET);
      bool ok =
          Graph::ReadPixel(901, 11) == 0xFF0000 && Graph::ReadPixel(9999 % 1024, 600) == 0x00FF00;
      return ok ? std::string() : std::string("drawing after the close went wrong");
    });
  });
}

TEST(WindowTest, TheKeyboardGoesBackToTheTerminalAfterTheFirstActivationOnly) {
  InChild([] {
    testing_x::XvfbServer x;
    testing_x::XStandIn terminal(x.Display(), "terminal");
    if (!x.Running() || !Graph::Init(1, 1, 1024, 700)) return std::string("no window");
    std::this_thread::sleep_for(500ms);  // shown, activated, and 50 ms later given back
    unsigned long graph = terminal.Find("Graph");
    bool givenBack = terminal.FocusedWindow() == terminal.Id();
    terminal.Focus(graph);  // a click on the window later on
    std::this_thread::sleep_for(500ms);
    bool kept = terminal.FocusedWindow() == graph;
    Graph::Exit();
    if (!givenBack) return std::string("the window kept the focus it took at first");
    return kept ? std::string() : std::string("a later activation was given away");
  });
}

TEST(WindowTest, WithoutADisplayInitFailsAtOnceAndSilently) {
  InChild(
      [] {
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        std::fflush(stdout);
        dup2(2, 1);  // anything written to either stream fails the test
        auto start = std::chrono::steady_clock::now();
        bool opened = Graph::Init(1, 1, 1024, 700);
        auto took = std::chrono::steady_clock::now() - start;
        Graph::Plot(1, 1, 15);  // dropped, not waiting for a server that never came
        CARDINAL image = 99;
        Graph::GetImage(0, 0, 5, 5, image);
        if (opened || image != 0 || took > 5s) std::abort();
        return std::string();
      },
      "^$");
}

TEST(WindowTest, InitAfterExitOpensAgainOnTheSameServer) {
  InChild([] {
    auto threads = [] {
      return std::distance(std::filesystem::directory_iterator("/proc/self/task"), {});
    };
    Graph::UseWindowSystem(Graph::WindowSystemKind::None);
    if (!Graph::Init(1, 1, 64, 48)) return std::string("first Init failed");
    Graph::Plot(1, 1, 15);
    auto before = threads();
    Graph::Exit();
    if (!Graph::Init(1, 1, 32, 24)) return std::string("second Init failed");
    Graph::Plot(2, 2, 12);
    bool ok = Graph::ReadPixel(1, 1) == 0 && Graph::ReadPixel(2, 2) == 0xFF0000 &&
              Graph::ReadSurface().size() == 32u * 24 && threads() == before;
    return ok ? std::string() : std::string("the second opening went wrong");
  });
}

// A million mixed requests while the window repaints (it is covered again and again) and
// is closed half-way. Chiefly for the thread sanitizer build.
TEST(WindowTest, StressWithRepaintsAndACloseHalfWay) {
  InChild([] {
    return OnXvfb([](const std::string& display) {
      std::atomic<bool> done{false};
      std::thread coverer([&] {
        while (!done) testing_x::CoverAndUncover(display, 50, 50, 300, 200);
      });
      CARDINAL image = 0;
      Graph::GetImage(0, 0, 35, 35, image);
      for (CARDINAL i = 0; i < 1000000; ++i) {
        CARDINAL x1 = i * 7 % 1000, y1 = i * 13 % 680, c = i % 16;
        switch (i % 5) {
          case 0:
            Graph::Plot(x1, y1, c);
            break;
          case 1:
            Graph::Rectangle(x1, y1, x1 + 40, y1 + 40, c, true);
            break;
          case 2:
            Graph::Line(x1, y1 + 20, x1, y1, c);
            break;
          case 3:
            Graph::RawOutText(x1, y1, c, "stress");
            break;
          default:
            Graph::PutImage(x1, y1, image, Graph::_GPSET);
        }
        if (i == 500000) testing_x::CloseWindow(display, "Graph");
      }
      Graph::Plot(3, 3, 10);
      bool ok = Graph::ReadPixel(3, 3) == 0x00FF00;
      done = true;
      coverer.join();
      return ok ? std::string() : std::string("last plot not seen");
    });
  });
}

}  // namespace

// SDL's video start opens a D-Bus connection whose library keeps a buffer to the end of
// the process, whatever SDL_Quit does. Only that is excused.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libdbus-1.so\n";
}
