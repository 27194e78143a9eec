// StandardLib: random numbers for the game from a fixed-seed generator of its own.
#include "support/StandardLib.h"

#include "console/IO.h"
#include "console/Lib.h"

namespace StandardLib {

namespace {

Generator gOwn;  // draws before the first start
Generator* gGenerator = &gOwn;

}  // namespace

void Init(Generator& generator) {
  gGenerator = &generator;
  static bool seeded = false;
  if (seeded) return;
  seeded = true;
  Lib::RANDOMIZE();
}

std::uint32_t PseudoRandomCardGenerator() {
  std::uint32_t& seed = gGenerator->seed;
  std::uint32_t next = (seed * 351u + 138u) % 1013u;
  if (next == seed) ++next;  // 509 maps to itself
  seed = next;
  return next;
}

std::uint32_t RandomCard(std::uint32_t min, std::uint32_t max) {
  if (max < min) {
    IO::WrStr("ERROR calling RandomCardFromInterval: min ");
    IO::WrCard(min, 0);
    IO::WrStr(" is bigger than max ");
    IO::WrCard(max, 0);
    IO::WrLn();
    return min;
  }
  const std::uint32_t d = max - min;
  if (gGenerator->pseudoRandom) {
    // The single-precision value nearest 0.99999 lets the top of the range come up for
    // the generator's largest values; double keeps the result below d + 1 for every d.
    constexpr double kC = 2097131.0 / 2097152.0;
    const double f = (static_cast<double>(d) + kC) / 1012.0;
    const std::uint32_t g = PseudoRandomCardGenerator();
    return min + static_cast<std::uint32_t>(f * g);
  }
  return min + Lib::RANDOM(d + 1);
}

}  // namespace StandardLib
