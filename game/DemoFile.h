// Demo files: the keys the game loop read, tick by tick, as text. Pure: no files, no
// globals; the recorder writes what Line gives and replays read what Parse accepts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace NovaGunner::Demo {

// The format this program writes, named on the first line of every recording. A file
// without that line is read as version 1; a file naming another version is refused.
inline constexpr int kVersion = 1;

// The codes IO.RdKey returned to the game loop during one tick: one code, or two when
// the first is 0 and the arrow reader took a second one (which may be 0 as well: two
// Ctrl+letter keys in one tick read 0 and 0).
struct TickInput {
  std::int64_t tick = 0;  // counted from 1, the first tick of the play
  int count = 0;
  std::uint8_t codes[2] = {0, 0};
};

// The first lines of a recording.
std::string Header();
// One tick's line, ending with a newline.
std::string Line(const TickInput& input);

// Reads a demo text. On a fault returns FALSE with the line number and a description.
bool Parse(std::string_view text, std::vector<TickInput>& ticks, int& faultLine,
           std::string& fault);

}  // namespace NovaGunner::Demo
