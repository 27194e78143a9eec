// Seek figures of the replay viewer, in process on the off-screen surface: from the End key
// to its picture drawn, for a seek from the long play's first tick to its last (the first
// such seek also finds where the play ends), and the re-simulation's ticks per second.
//
//   seek_bench [runs]     (default 5)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "game/NovaGunner.h"
#include "game/Replay.h"
#include "game/Session.h"
#include "game/Viewer.h"
#include "graph/Graph.h"
#include "support/StandardSound.h"
#include "tests/common/RecordingPlayer.h"
#include "tests/common/ScriptedKeys.h"

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  using namespace NovaGunner;
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  std::vector<Demo::TickInput> ticks;
  std::string error;
  if (!Replay::ReadDemo(std::string(NOVA_DEMO_DIR) + "/long-play.demo", ticks, error)) {
    std::fprintf(stderr, "seek_bench: %s\n", error.c_str());
    return 1;
  }
  Replay::DemoKeySource demo(std::move(ticks));
  IO::ScriptedKeySource player;
  Lib::VirtualClock clock;
  StandardSound::RecordingPlayer sounds;
  StartOptions start;
  start.game = false;
  if (!StartUp({&demo, &clock, &sounds, Graph::WindowSystemKind::None}, start)) return 1;
  BuildSprites();
  Viewer viewer(player, demo, clock, sounds);
  viewer.StartKeys();
  Lib::Init(viewer.Clock());
  StandardSound::Init(viewer.Sounds());
  Background();
  World::StartRun();

  // The End key from the first tick, as the player presses it.
  const auto endKey = [&] {
    player.PushExtended(79);
    player.PushCode(27);  // Between returns once both are acted on
    const auto t0 = Clock::now();
    viewer.Between();
    Graph::ReadPixel(0, 0);  // every drawing request carried out
    return MsSince(t0);
  };
  const double cold = endKey();  // the first also finds where the play ends
  const std::int64_t last = World::State().tick;
  double best = 1e9, sum = 0;
  for (int i = 0; i < runs; ++i) {
    viewer.Seek(1);
    const double ms = endKey();
    best = std::min(best, ms);
    sum += ms;
  }
  std::printf(
      "seek from tick 1 to the last (%lld) of the long play: %.1f ms mean, %.1f ms best "
      "over %d runs (target <= 150 ms)\n",
      static_cast<long long>(last), sum / runs, best, runs);
  std::printf("re-simulation: %.0f ticks/s (best run)\n", static_cast<double>(last) / best * 1000);
  std::printf("the viewing's first End key (the play's end found first): %.1f ms\n", cold);
  return 0;
}
