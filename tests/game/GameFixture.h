// Shared fixture of the game tests: one off-screen graphics service and one set of
// sprites per process; per test a virtual clock, scripted keys, a recording sound
// player, the game globals back at program start and the generator at its seed.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "console/IO.h"
#include "console/Lib.h"
#include "game/NovaGunner.h"
#include "game/World.h"
#include "graph/Graph.h"
#include "graph/Palette.h"
#include "support/StandardLib.h"
#include "support/StandardSound.h"
#include "tests/common/ScriptedKeys.h"

namespace gametest {

// What the process-wide set-up left behind.
struct Shared {
  bool graphOk = false;
  NovaGunner::Sprites sprites{};
};

inline Shared& Process() {
  static Shared shared = [] {
    Shared s;
    static Lib::VirtualClock clock;
    static IO::ScriptedKeySource keys;
    Lib::Init(clock);
    IO::Init(keys);
    if (!(s.graphOk = NovaGunner::StartUp(false, Graph::WindowSystemKind::None))) return s;
    StandardLib::Reset();
    NovaGunner::InitObjects();
    NovaGunner::BuildSprites();
    s.sprites = NovaGunner::sprites;
    return s;
  }();
  return shared;
}

class GameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Shared& s = Process();
    ASSERT_TRUE(s.graphOk) << "the off-screen graphics service did not start";
    IO::Init(keys);
    Lib::Init(clock);
    StandardSound::Reset();
    StandardSound::SetSoundPlayer(&sounds);
    StandardSound::InitSound(true);
    NovaGunner::ResetState();
    NovaGunner::sprites = s.sprites;
    StandardLib::Reset();
    Graph::Rectangle(0, 0, 1025, 701, 0, true);
  }

  void TearDown() override {
    static IO::ScriptedKeySource noKeys;  // the test's keys and clock are gone
    static Lib::RealClock realClock;
    IO::Init(noKeys);
    StandardSound::SetSoundPlayer(nullptr);
    StandardSound::Reset();
    Lib::Init(realClock);
  }

  void Ticks(int n) {
    for (int i = 0; i < n; ++i) NovaGunner::World::Tick();
  }
  NovaGunner::World::RunState& S() { return NovaGunner::World::State(); }

  std::uint32_t Palette(NovaGunner::CARDINAL c) { return Graph::kStdPalette[c]; }
  std::uint32_t Pixel(int x, int y) { return Graph::ReadPixel(x, y); }

  IO::ScriptedKeySource keys;
  Lib::VirtualClock clock;
  StandardSound::RecordingPlayer sounds;  // every sound reported as played
};

}  // namespace gametest
