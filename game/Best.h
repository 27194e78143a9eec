// The best kept plays (--best, --replay best:N), each proven by a headless re-simulation
// of its file before it ranks.
#pragma once

#include <string>
#include <vector>

#include "game/KeptPlays.h"

namespace NovaGunner::Best {

// The ten places --best lists.
inline constexpr int kRanks = 10;

struct Entry {
  enum class State { Proven, NotProven, Broken };
  std::string file;  // its name in the folder
  State state = State::Broken;
  KeptPlays::Notes notes;
  std::string why;  // not proven or broken: what is wrong
};

// The plays of folder: the proven ones best first (the highest score, then the fewest
// ticks), at most `proven` of them. A play is proven when program re-simulates its file
// (--timedemo FILE --headless --nosound, a process of its own: each file gets a fresh
// game, and a file that upsets the simulation cannot upset the list) to its noted outcome,
// score and ticks. Plays are tried from the highest noted score down, so those that
// cannot rank are never re-simulated; the not proven and the broken follow.
std::vector<Entry> Plays(const std::string& folder, const std::string& program, int proven);

// --best: the list on standard output. Returns the exit status (3 when it was lost).
int List(const std::string& folder, const std::string& program);

// A demo name that stands for a kept play: "best" or "best:N".
bool IsBestName(const std::string& word);
// The file of the N-th proven play; FALSE with the reason when word names none.
bool Resolve(const std::string& word, const std::string& folder, const std::string& program,
             std::string& path, std::string& error);

}  // namespace NovaGunner::Best
