// The game loop's own state and the hooks around it. Run() keeps its per-game
// bookkeeping here so that tests can play single ticks and replays can watch each one.
#pragma once

#include <cstdint>

#include "game/NovaGunner.h"

namespace NovaGunner::World {

// Run's variables, set afresh by StartRun. Slots are numbered from 1.
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
};

RunState& State();

// Start of Run: flags, the 4.5 s pause, the ship, the counters.
void StartRun();
// One tick of the loop, the closing delay included.
void Tick();
// Back to the state before any game (tests).
void ResetRun();

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

// Called after every tick of Run, before its next one (nullptr: none).
using TickObserver = void (*)(const TickReport&);
void SetTickObserver(TickObserver observer);
// Called with every key code the game loop reads, arrow second codes included.
using KeyObserver = void (*)(std::uint8_t code);
void SetKeyObserver(KeyObserver observer);
// Called once when Run returns.
using EndObserver = void (*)();
void SetEndObserver(EndObserver observer);

// IO.RdKey, seen by the key observer.
std::uint8_t ReadKey();

}  // namespace NovaGunner::World
