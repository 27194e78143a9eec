// The game's random numbers: the fixed sequence, the interval rule, the library generator.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "console/Lib.h"
#include "support/StandardLib.h"
#include "tests/common/Io.h"

namespace {

TEST(StandardLib, FixedSequenceFirstGameCallsAndAFullPeriod) {
  StandardLib::Reset();
  const std::array<std::uint32_t, 10> first = {716, 230, 841, 546, 327, 446, 682, 452, 762, 168};
  for (std::uint32_t v : first) EXPECT_EQ(StandardLib::PseudoRandomCardGenerator(), v);
  StandardLib::Reset();  // the game's first calls
  EXPECT_EQ(StandardLib::RandomCard(10, 720), 513u);
  EXPECT_EQ(StandardLib::RandomCard(10, 60), 21u);
  EXPECT_EQ(StandardLib::RandomCard(1, 2), 2u);
  EXPECT_EQ(StandardLib::RandomCard(10, 50), 32u);
  EXPECT_EQ(StandardLib::RandomCard(30, 130), 62u);
  StandardLib::Reset();
  std::array<int, 1013> seen{};
  for (int i = 0; i < 1012; ++i) ++seen[StandardLib::PseudoRandomCardGenerator()];
  EXPECT_EQ(StandardLib::gSeed, 94u);  // one period brings it back
  for (int v = 0; v < 1013; ++v) EXPECT_EQ(seen[v], v == 509 ? 0 : 1) << v;
  StandardLib::gSeed = 509;  // the fixed point is stepped over
  EXPECT_EQ(StandardLib::PseudoRandomCardGenerator(), 510u);
}

TEST(StandardLib, IntervalEdges) {
  // The rounding constant makes the top reachable from generator value 507 on.
  for (std::uint32_t g = 0; g <= 1012; ++g) {
    StandardLib::gSeed = g;
    const std::uint32_t next = StandardLib::PseudoRandomCardGenerator();
    StandardLib::gSeed = g;
    EXPECT_EQ(StandardLib::RandomCard(1, 2), next >= 507 ? 2u : 1u) << next;
    // The widest interval never runs past its top (which would wrap round to 0).
    StandardLib::gSeed = g;
    EXPECT_GE(StandardLib::RandomCard(1, 0xFFFFFFFFu), 1u);
  }
  for (bool pseudo : {true, false}) {
    StandardLib::Reset();
    StandardLib::gPseudoRandom = pseudo;
    EXPECT_EQ(StandardLib::RandomCard(7, 7), 7u);
    EXPECT_EQ(StandardLib::gSeed, pseudo ? 716u : 94u);  // still one step on its path
  }
  StandardLib::Reset();
}

TEST(StandardLib, MinAboveMaxWritesOneLineAndKeepsTheGenerator) {
  StandardLib::Reset();
  std::uint32_t result = 0;
  std::string out = CaptureStdout([&] { result = StandardLib::RandomCard(5, 3); });
  EXPECT_EQ(out, "ERROR calling RandomCardFromInterval: min 5 is bigger than max 3\n");
  EXPECT_EQ(result, 5u);
  EXPECT_EQ(StandardLib::gSeed, 94u);
}

TEST(LibRandom, KnownSequencesAndRandomizeSeedsFromTheClockWhileTheGameStaysFixed) {
  Lib::ResetRandom();  // unseeded: the first call seeds with 12345
  EXPECT_EQ(Lib::RANDOM(0), 8683u);
  EXPECT_EQ(Lib::RANDOM(0), 32068u);
  EXPECT_EQ(Lib::RANDOM(1), 0u);
  Lib::SeedRandom(4321);
  EXPECT_EQ(Lib::RANDOM(0), 29014u);
  EXPECT_EQ(Lib::RANDOM(1000), 286u);
  EXPECT_EQ(Lib::RANDOM(0), 55372u);

  Lib::ResetRandom();
  Lib::RANDOMIZE();
  const std::uint32_t v = Lib::RANDOM(0);
  bool found = false;  // the seed is second (0..59) x hundredths (0..99)
  for (std::uint32_t s = 0; s <= 59 * 99 && !found; ++s) {
    Lib::SeedRandom(s);
    found = Lib::RANDOM(0) == v;
  }
  EXPECT_TRUE(found);
  StandardLib::Init();
  StandardLib::Init();
  EXPECT_TRUE(StandardLib::gPseudoRandom);
  EXPECT_EQ(StandardLib::RandomCard(10, 720), 513u);
  StandardLib::Reset();
}

}  // namespace
