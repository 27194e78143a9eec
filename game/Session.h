// The game's start and its session: what a run calls once it has chosen its services.
#pragma once

#include "console/IO.h"
#include "game/Services.h"
#include "game/World.h"
#include "graph/Graph.h"

namespace NovaGunner {

// What a run hands the game's start beside its services.
struct StartOptions {
  IO::KeyOptions keys;                    // the key backlog; keys pushed from the window
  Graph::WindowOptions window;            // its scale, full screen, keys and icon
  World::TickWatcher* watcher = nullptr;  // told of every tick of Run
  bool game = true;                       // the whole game (not a demo's play alone)
  int volume = 100;                       // of the sound, 0 to 100
};

// The start every run shares: each module started on the services, after those it uses
// (for the game, then an empty console line), the first play started (NewPlay), the
// window opened. FALSE, with the console told, when the window cannot be.
bool StartUp(const Services& services, const StartOptions& options);

// Everything of one run after the window has opened: sound, sprites, the story, the
// menu and, when chosen, one play with its result screen and the credits. With again,
// the menu comes back after each play's result screen, and leaving it ends with the
// credits once a play was made.
void Session(bool again = false);
// The rest of a session whose play has just ended (one the player took over from a
// replay): its result screen and, with again, the menu and further plays; the credits.
void SessionAfterPlay(bool again);

}  // namespace NovaGunner
