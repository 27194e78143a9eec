// Shared fixture of the game tests: the game started once per process without a window,
// its sprites built; per test the modules started on a virtual clock, scripted keys and a
// recording sound player, and a new play.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>

#include "console/IO.h"
#include "console/Lib.h"
#include "game/NovaGunner.h"
#include "game/Session.h"
#include "graph/Graph.h"
#include "graph/Palette.h"
#include "support/StandardSound.h"
#include "tests/common/RecordingPlayer.h"
#include "tests/common/ScriptedKeys.h"

namespace gametest {

// Services that outlive every test: the process's start, and between two tests.
struct StandIns {
  IO::ScriptedKeySource keys;
  Lib::VirtualClock clock;
  StandardSound::RecordingPlayer sounds;
};

inline StandIns& Idle() {
  static StandIns standIns;
  return standIns;
}

// FALSE when the off-screen graphics service did not start.
inline bool Started() {
  static const bool ok = [] {
    StandIns& s = Idle();
    NovaGunner::StartOptions demoLike;  // no empty console line
    demoLike.game = false;
    if (!NovaGunner::StartUp({&s.keys, &s.clock, &s.sounds, Graph::WindowSystemKind::None},
                             demoLike))
      return false;
    NovaGunner::BuildSprites();
    return true;
  }();
  return ok;
}

class GameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Started()) << "the off-screen graphics service did not start";
    Lib::Init(clock);
    IO::Init(keys);
    StandardSound::Init(sounds);
    StandardSound::InitSound(true);
    NovaGunner::NewPlay();
    Graph::Rectangle(0, 0, 1025, 701, 0, true);
  }

  void TearDown() override {  // the test's keys, clock and player are gone
    Lib::Init(Idle().clock);
    IO::Init(Idle().keys);
    StandardSound::Init(Idle().sounds);
  }

  void Ticks(int n) {
    for (int i = 0; i < n; ++i) NovaGunner::World::Tick();
  }
  NovaGunner::World::RunState& S() { return NovaGunner::World::State(); }

  IO::ScriptedKeySource keys;
  Lib::VirtualClock clock;
  StandardSound::RecordingPlayer sounds;  // every sound reported as played
};

}  // namespace gametest
