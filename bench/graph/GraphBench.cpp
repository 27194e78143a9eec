// Requests per second through the whole protocol: claim, hand over, draw into the
// surface and, when DISPLAY names a display, into the shown window as well.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "graph/Graph.h"

namespace {

using Graph::CARDINAL;

CARDINAL image = 0;

// Every request made so far is carried out.
void Settle() {
  benchmark::DoNotOptimize(Graph::ReadPixel(0, 0));
}

void BM_Plot(benchmark::State& state) {
  CARDINAL i = 0;
  for (auto _ : state) {
    Graph::Plot(250 + i % 700, i / 700 % 600, i % 16);
    ++i;
  }
  Settle();
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Plot)->UseRealTime();

void BM_Rectangle40x40(benchmark::State& state) {
  CARDINAL i = 0;
  for (auto _ : state) {
    CARDINAL x = 250 + i * 41 % 700, y = i * 43 % 600;
    Graph::Rectangle(x, y, x + 41, y + 41, i % 16, true);  // 40 x 40 pixels filled
    ++i;
  }
  Settle();
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Rectangle40x40)->UseRealTime();

void BM_PutImage36x36(benchmark::State& state) {
  CARDINAL i = 0;
  for (auto _ : state) {
    Graph::PutImage(250 + i * 37 % 700, i * 39 % 600, image, Graph::_GPSET);
    ++i;
  }
  Settle();
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PutImage36x36)->UseRealTime();

void BM_RawOutText40(benchmark::State& state) {
  const std::string text(40, 'W');
  CARDINAL i = 0;
  for (auto _ : state) {
    Graph::RawOutText(250 + i * 3 % 400, i * 20 % 680, i % 16, text);
    ++i;
  }
  Settle();
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RawOutText40)->UseRealTime();

// The plots that build the game's sprites and a title word, one after another.
void BM_Plot16862Requests(benchmark::State& state) {
  CARDINAL round = 0;
  for (auto _ : state) {
    for (CARDINAL i = 0; i < 16862; ++i) Graph::Plot(250 + i % 700, i / 700, (i + round) % 16);
    Settle();
    ++round;
  }
  state.SetItemsProcessed(state.iterations() * 16862);
}
BENCHMARK(BM_Plot16862Requests)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  // --scale N: the window shown at that scale (drawing goes on at 1024 x 700 all the same).
  Graph::WindowOptions options;
  for (int i = 1; i + 1 < argc; ++i)
    if (std::string(argv[i]) == "--scale") options.scale = std::atoi(argv[i + 1]);
  const char* display = std::getenv("DISPLAY");
  bool window = display && *display;
  if (!Graph::Init(1, 1, 1024, 700,
                   window ? Graph::WindowSystemKind::Sdl : Graph::WindowSystemKind::None,
                   options)) {
    std::fprintf(stderr, "graph_bench: the window could not be opened on DISPLAY=%s\n", display);
    return 1;
  }
  benchmark::AddCustomContext("graph_window", window
                                                  ? std::string("shown on DISPLAY=") + display +
                                                        " at scale " + std::to_string(options.scale)
                                                  : std::string("none (surface only)"));
  Graph::Rectangle(0, 0, 100, 100, 14, true);
  Graph::GetImage(0, 0, 34, 34, image);  // 36 x 36
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  Graph::Exit();
  return 0;
}
