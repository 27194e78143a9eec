// Kept plays (--keep-plays): every finished play written as a demo file, with notes on how
// it ended, into the player's data folder, where --best lists and proves them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "game/World.h"

namespace NovaGunner::KeptPlays {

// $XDG_DATA_HOME/nova-gunner/plays; ~/.local/share/nova-gunner/plays when that is unset,
// empty or relative.
std::string Folder();

// How a play ended, as a replay's outcome line says it ("outcome: won ticks=T score=S ...").
struct Outcome {
  bool won = false;
  std::int64_t ticks = 0;
  std::uint32_t score = 0;
};
// The outcome of such a line; FALSE when it is not one.
bool ParseOutcome(std::string_view line, Outcome& outcome);

// A kept play's notes: the '#' lines after its header, which demo readers skip.
struct Notes {
  Outcome outcome;
  std::string date;     // "2025-06-01 12:34:56 +0200", local time
  std::string version;  // the program's that played it
};
// The notes of a demo text; FALSE with the fault when the outcome note is missing or bad.
bool ReadNotes(std::string_view text, Notes& notes, std::string& fault);

// Keeps the plays of one run. A play is kept when it reaches its end (won, lost, or given
// up with Escape, which the game counts as lost) after more than one tick: a play left on
// its first tick shows nothing worth keeping. Keeping is a comfort beside the play, so
// a failure is one line on standard error, and the run's status stays as it is.
class Keeper {
 public:
  // Makes the folder. FALSE, said in one line, when it cannot be: no play is kept then.
  bool Start(const std::string& folder);
  void Begin();                             // a play's first tick begins
  void Add(const World::TickInput& input);  // a tick ended
  // The play ended after ticks ticks, with the replay's outcome line: its file is written.
  void End(std::int64_t ticks, const std::string& outcomeLine);

 private:
  std::string folder_;
  bool on_ = false;   // a folder to keep plays in, and no failure yet
  std::string keys_;  // the play's demo lines so far
  int plays_ = 0;
};

}  // namespace NovaGunner::KeptPlays
