// The platform services a run plays on, handed in as one value: main makes the real ones,
// tests make them from doubles.
#pragma once

#include "console/IO.h"
#include "console/Lib.h"
#include "graph/Graph.h"
#include "support/SoundPlayer.h"

namespace NovaGunner {

// Each must outlive the run.
struct Services {
  IO::KeySource* keys;                 // the terminal in main; a scripted source in tests
  Lib::Clock* clock;                   // the clock whose pauses read the terminal; virtual in tests
  StandardSound::SoundPlayer* sounds;  // SDL2_mixer; a recording player in tests
  Graph::WindowSystemKind window;      // Sdl, or None (headless, tests)
};

}  // namespace NovaGunner
