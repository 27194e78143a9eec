// StandardLib: the game's random numbers, from a fixed-seed generator of its own.
#pragma once

#include <cstdint>

namespace StandardLib {

// The own generator's state: the value it returned last (94 at the start), and whether
// RandomCard draws from it (else from Lib.RANDOM). A fresh value is the generator at its
// start; the game keeps the one of the play under way (NovaGunner's Play).
struct Generator {
  std::uint32_t seed = 94;
  bool pseudoRandom = true;
};

// Starts the module on generator, which must outlive its use: every later draw comes from
// it. The first start also seeds Lib.RANDOM from the clock.
void Init(Generator& generator);
std::uint32_t PseudoRandomCardGenerator();
std::uint32_t RandomCard(std::uint32_t min, std::uint32_t max);

}  // namespace StandardLib
