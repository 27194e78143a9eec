// Demo files: the keys the game loop read, tick by tick, as text. Pure: no files, no
// globals; the recorder writes what Line gives and replays read what Parse accepts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "game/World.h"

namespace NovaGunner::Demo {

// The format this program writes, named on the first line of every recording. A file
// without that line is read as version 1; a file naming another version is refused.
inline constexpr int kVersion = 1;

// A demo is the input records of the ticks that read keys.
using TickInput = World::TickInput;

// The first lines of a recording.
std::string Header();
// One tick's line, ending with a newline.
std::string Line(const TickInput& input);

// Reads a demo text. On a fault returns FALSE with the line number and a description.
bool Parse(std::string_view text, std::vector<TickInput>& ticks, int& faultLine,
           std::string& fault);

}  // namespace NovaGunner::Demo
