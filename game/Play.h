// The play: everything a play changes, in one place, and the one way to start a new one.
#pragma once

#include "game/Game.h"
#include "game/World.h"
#include "support/StandardLib.h"

namespace NovaGunner {

// The objects and pools with the score and the flags, the loop's bookkeeping, and the
// generator's state: a play from its start depends on nothing else, so a play started
// afresh is the same game as every run's first.
struct Play {
  Game game;
  World::RunState loop;
  StandardLib::Generator random;  // StandardLib draws from it (StartUp starts it so)
};

inline Play play;

// Everything a play changes back at its start: the play given a fresh value, then the
// starting values set with their random draws in order (InitObjects). The sprite images
// are kept. Used by the program's start, by --again before each later play and by the
// tests' fixture. (Defined in Objects.cpp, beside InitObjects.)
void NewPlay();

}  // namespace NovaGunner
