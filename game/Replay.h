// Recorded plays: demo files of the key codes the game loop read on each tick, a key
// source that gives them back tick by tick, and the command-line options around them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "console/IO.h"
#include "game/World.h"

namespace NovaGunner::Replay {

// One line of a demo: the codes IO.RdKey returned during one tick (two only when the
// first is 0, the second then being the one the arrow-key reader took).
struct DemoLine {
  std::int64_t tick = 0;
  int count = 0;
  std::uint8_t codes[2] = {0, 0};
};

// Parses a demo text. On a fault returns FALSE with the line number and a description.
bool ParseDemo(std::string_view text, std::vector<DemoLine>& lines, int& faultLine,
               std::string& fault);

// Gives each demo line's codes to IO during its own tick of the current play (the tick
// the game loop is in), and nothing at other times.
class DemoKeySource final : public IO::KeyEventSource {
 public:
  explicit DemoKeySource(std::vector<DemoLine> lines) : lines_(std::move(lines)) {}
  bool Peek(IO::KeyEvent& event) override;
  IO::KeyEvent Read() override;

 private:
  bool Current(IO::KeyEvent& event);
  std::vector<DemoLine> lines_;
  std::size_t next_ = 0;
};

// The console event that makes IO.RdKey return code (and, for 0, then second).
IO::KeyEvent EventFor(std::uint8_t code, std::uint8_t second);

std::string TraceLine(const World::TickReport& r);
std::string OutcomeLine();

// The program with options (argv[0] is the program's name). Returns the exit status.
int Main(int argc, char** argv);

}  // namespace NovaGunner::Replay
