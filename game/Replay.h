// The program's entry with options: normal runs (recorded or not), replays and
// timedemos, and the key source that gives a demo's keys back tick by tick.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "console/IO.h"
#include "game/DemoFile.h"
#include "game/Options.h"
#include "game/World.h"

namespace NovaGunner::Replay {

// Gives IO the key events that make it return each demo tick's codes, during that tick
// alone: the game loop names each tick as it begins, and what a tick left unread is gone.
class DemoKeySource final : public IO::KeyEventSource {
 public:
  explicit DemoKeySource(std::vector<Demo::TickInput> ticks) : ticks_(std::move(ticks)) {}
  void BeginTick(std::int64_t tick);
  bool Peek(IO::KeyEvent& event) override;
  IO::KeyEvent Read() override;

 private:
  std::vector<Demo::TickInput> ticks_;
  std::size_t next_ = 0;              // the first demo tick not yet begun
  std::vector<IO::KeyEvent> events_;  // the tick under way's, still to read
};

std::string TraceLine(const World::TickReport& r);
// "picture T HASH": the fingerprint of the whole picture after tick T, in 16 hex digits.
std::string PictureLine(std::int64_t tick, std::uint64_t fingerprint);
std::string OutcomeLine();

// Runs the program as the options ask. Returns the exit status.
int Main(const Options& options);

}  // namespace NovaGunner::Replay
