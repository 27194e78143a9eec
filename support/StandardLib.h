// StandardLib: the game's random numbers, from a fixed-seed generator of its own.
#pragma once

#include <cstdint>

namespace StandardLib {

extern bool gPseudoRandom;
// State of the module's own generator (the value it returned last); 94 after Init.
extern std::uint32_t gSeed;

// Seeds Lib.RANDOM from the clock and the own generator with 94; later calls do nothing.
void Init();
std::uint32_t PseudoRandomCardGenerator();
std::uint32_t RandomCard(std::uint32_t min, std::uint32_t max);

// The own generator back to its start value (gSeed 94, gPseudoRandom TRUE), as after
// Init; Lib's generator is left alone. For tests and replays.
void Reset();

}  // namespace StandardLib
