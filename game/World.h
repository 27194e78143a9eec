// The game loop's own state and what watches it. Run() keeps its per-play bookkeeping here
// so that tests can play single ticks and a run can watch each one.
#pragma once

#include <cstdint>

#include "game/Game.h"

namespace NovaGunner::World {

// A tick's input record: the codes IO.RdKey returned to the game loop during the tick,
// read when and as the loop reads them. One code, or two when the first is 0 and the
// arrow reader took a second (which may be 0 too: two Ctrl+letter keys in one tick).
struct TickInput {
  std::int64_t tick = 0;  // the tick, from 1
  int count = 0;
  std::uint8_t codes[2] = {0, 0};
};

// Run's variables, set afresh by StartRun; a part of the play (Play.h). Slots are
// numbered from 1.
struct RunState {
  Object proj[MAXPROJ + 1];
  bool bullet[MAXPROJ + 1];
  bool thembullet[MAXPROJ + 1];
  bool dead[MAXTHEM + 1];
  INTEGER shootcounter[MAXTHEM + 1];
  bool boxbool[MAXBOX + 1];
  bool boxplode[MAXBOX + 1];
  INTEGER aantalvijanden;
  INTEGER tijdvijanden;
  INTEGER tijdbigboss;
  INTEGER aantalbox;
  INTEGER tijdbox;
  // Highest slot of proj / themkogel in use; stays at MAXPROJ once the pool is full,
  // after which new shots take the lowest free slot.
  INTEGER aantalprojectielen;
  INTEGER aantalvijandigeprojectielen;
  INTEGER kogelsover;
  INTEGER rakettenover;
  INTEGER raketpenaltycounter;
  bool exit;
  // Bookkeeping beyond the loop's own variables.
  std::int64_t tick;   // ticks completed
  std::int64_t fired;  // player projectiles fired, spent shots included
  std::int64_t shots;  // enemy shots fired
  INTEGER bossslot;    // slot of them[] the boss took, 0 before it enters
  TickInput input;     // what the tick under way (or the last one) read
};

// The length of a tick: the pause that closes each.
constexpr unsigned kTickMs = 60;

// The play's loop state (play.loop).
RunState& State();

// Start of Run: flags, the 4.5 s pause, the ship, the counters.
void StartRun();
// One tick of the loop, the closing delay included. The play is over once State().exit.
void Tick();

// Figures after a tick, for traces and recordings.
struct TickReport {
  std::int64_t tick;
  INTEGER x, y, hitpoints;
  CARDINAL score;
  INTEGER kogelsover, rakettenover, aantalvijanden, alive, aantalbox;
  std::int64_t fired, shots;
  INTEGER bosshitpoints;
};
TickReport Report();

// What Run tells of each tick: the run (Program.h) records, traces and pauses there.
class TickWatcher {
 public:
  virtual ~TickWatcher() = default;
  // Before each tick, with its number: a replay hands that tick's keys to IO here.
  virtual void BeforeTick(std::int64_t tick) = 0;
  // After each tick, before the next: its figures and its input record.
  virtual void AfterTick(const TickReport& report, const TickInput& input) = 0;
};

// The loop's part of the game's start (StartUp): Run tells watcher of every tick from now
// on (nullptr: no one). watcher must outlive its use.
void Init(TickWatcher* watcher);

// IO.RdKey, its code kept in the tick's input record.
std::uint8_t ReadKey();

}  // namespace NovaGunner::World
