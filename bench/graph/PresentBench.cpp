// What one present of the window costs at scales 1, 2 and 3: the copy (scaled where the
// scale is above 1) into the window's surface and its upload to the X server, as the
// window thread itself times it. Needs DISPLAY; an Xvfb large enough for a 3072 x 2100
// window shows the true cost (a window beyond the screen's edge uploads less):
//   Xvfb :9 -screen 0 3200x2200x24 & DISPLAY=:9 bench/graph/graph_present_bench
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>

#include "graph/Graph.h"
#include "graph/Raster.h"
#include "graph/WindowSystem.h"

namespace {

using namespace std::chrono_literals;
using Graph::detail::WindowShared;
using Graph::detail::WindowSystem;

constexpr int kWidth = 1024, kDepth = 700;

// One window at a time, opened again when the scale changes.
struct Shown {
  int scale = 0;
  std::unique_ptr<WindowShared> shared;
  std::unique_ptr<WindowSystem> window;
};
Shown shown;

bool Show(int scale) {
  if (shown.scale == scale) return true;
  if (shown.window) shown.window->Close();
  shown = Shown{};
  auto shared = std::make_unique<WindowShared>();
  shared->width = kWidth;
  shared->depth = kDepth;
  shared->surface.assign(static_cast<std::size_t>(kWidth) * kDepth, 0);
  shared->window.assign(static_cast<std::size_t>(kWidth) * kDepth, 0);
  auto window = Graph::detail::MakeSdlWindowSystem();
  auto say = [](std::string_view m, std::string_view) {
    std::fprintf(stderr, "%.*s\n", static_cast<int>(m.size()), m.data());
  };
  if (!window->Open(1, 1, *shared, Graph::WindowOptions{.scale = scale}, say)) return false;
  std::this_thread::sleep_for(300ms);  // the first paint
  shown = Shown{scale, std::move(shared), std::move(window)};
  return true;
}

// Draws into the window's picture as the server does, waits for the present and gives its
// time as the iteration's.
template <typename Draw>
void Measure(benchmark::State& state, Draw draw) {
  if (!Show(static_cast<int>(state.range(0)))) {
    state.SkipWithError("no window (DISPLAY?)");
    return;
  }
  WindowShared& sh = *shown.shared;
  Graph::Raster::Pixels px{sh.window.data(), kWidth, kDepth};
  std::uint64_t pixels = 0;
  Graph::Raster::Colour colour = 0x102030;
  for (auto _ : state) {
    const std::uint64_t presents = sh.presents, spent = sh.presentNanoseconds;
    {
      std::lock_guard lock(sh.windowLock);
      Graph::Raster::Area changed = draw(px, colour += 0x010101);
      pixels +=
          static_cast<std::uint64_t>(changed.right - changed.left) * (changed.bottom - changed.top);
      sh.dirty.Add(changed);
      shown.window->Changed();
    }
    while (sh.presents == presents) std::this_thread::sleep_for(100us);
    state.SetIterationTime(static_cast<double>(sh.presentNanoseconds - spent) * 1e-9);
  }
  state.counters["picture_px_per_present"] =
      benchmark::Counter(static_cast<double>(pixels) / static_cast<double>(state.iterations()));
}

// Everything changed: a clearing, a new screen.
void BM_PresentWholeWindow(benchmark::State& state) {
  Measure(state, [](const Graph::Raster::Pixels& px, Graph::Raster::Colour c) {
    return Graph::Raster::FillRect(px, 0, 0, kWidth + 1, kDepth + 1, c);
  });
}
BENCHMARK(BM_PresentWholeWindow)->Arg(1)->Arg(2)->Arg(3)->Iterations(60)->UseManualTime();

// A tick of play: three dozen sprites of 40 x 40 moved over the field (the changed area
// is the box around them all).
void BM_PresentTick36Sprites(benchmark::State& state) {
  static int tick = 0;
  Measure(state, [](const Graph::Raster::Pixels& px, Graph::Raster::Colour c) {
    Graph::Raster::Area changed;
    ++tick;
    for (int i = 0; i < 36; ++i) {
      std::uint32_t x = 260 + (i * 97 + tick * 3) % 700, y = (i * 61 + tick * 5) % 640;
      changed.Add(Graph::Raster::FillRect(px, x, y, x + 41, y + 41, c + i));
    }
    return changed;
  });
}
BENCHMARK(BM_PresentTick36Sprites)->Arg(1)->Arg(2)->Arg(3)->Iterations(60)->UseManualTime();

// The same sprites in one corner of the field: a small changed area.
void BM_PresentTick36SpritesNearby(benchmark::State& state) {
  static int tick = 0;
  Measure(state, [](const Graph::Raster::Pixels& px, Graph::Raster::Colour c) {
    Graph::Raster::Area changed;
    ++tick;
    for (int i = 0; i < 36; ++i) {
      std::uint32_t x = 300 + (i % 6) * 45 + tick % 5, y = 100 + (i / 6) * 45 + tick % 7;
      changed.Add(Graph::Raster::FillRect(px, x, y, x + 41, y + 41, c + i));
    }
    return changed;
  });
}
BENCHMARK(BM_PresentTick36SpritesNearby)->Arg(1)->Arg(2)->Arg(3)->Iterations(60)->UseManualTime();

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  const char* display = std::getenv("DISPLAY");
  if (!display || !*display) {
    std::puts("graph_present_bench: no DISPLAY, nothing measured");
    return 0;
  }
  benchmark::AddCustomContext("graph_window", std::string("shown on DISPLAY=") + display);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (shown.window) shown.window->Close();
  Graph::detail::ReleaseSdl();
  return 0;
}
