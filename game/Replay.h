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

// Gives each demo tick's codes to IO during its own tick of the current play (the tick
// the game loop is in), and nothing at other times.
class DemoKeySource final : public IO::KeyEventSource {
 public:
  explicit DemoKeySource(const std::vector<Demo::TickInput>& ticks);
  bool Peek(IO::KeyEvent& event) override;
  IO::KeyEvent Read() override;

 private:
  struct Timed {
    std::int64_t tick;
    IO::KeyEvent event;
  };
  bool Current(IO::KeyEvent& event);
  std::vector<Timed> events_;
  std::size_t next_ = 0;
};

std::string TraceLine(const World::TickReport& r);
std::string OutcomeLine();

// Runs the program as the options ask. Returns the exit status.
int Main(const Options& options);

}  // namespace NovaGunner::Replay
