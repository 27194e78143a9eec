// The game's random numbers: the rule's edges and the interval rule.
#include <gtest/gtest.h>

#include <string>

#include "support/StandardLib.h"
#include "tests/common/Io.h"

namespace {

StandardLib::Generator generator;  // the tests' own, started afresh by each

// The sequence is pinned by every golden replay; here the values a replay need not reach.
TEST(StandardLib, TheSeedMappedToItselfAndTheWidestInterval) {
  StandardLib::Init(generator = {});
  generator.seed = 509;  // the one value the rule maps to itself goes on to the next
  EXPECT_EQ(StandardLib::PseudoRandomCardGenerator(), 510u);
  // The widest interval from its bottom to its top, for the generator's values 0, 1, 506
  // and 1012 (after the seeds 952, 167, 838 and 724): the top never wraps round to 0.
  const std::pair<std::uint32_t, std::uint32_t> widest[] = {
      {952, 1}, {167, 4244039}, {838, 2147483648u}, {724, 0xFFFFFFFFu}};
  for (const auto& [seed, value] : widest) {
    generator.seed = seed;
    EXPECT_EQ(StandardLib::RandomCard(1, 0xFFFFFFFFu), value) << "seed " << seed;
  }
}

TEST(StandardLib, MinAboveMaxWritesOneLineAndKeepsTheGenerator) {
  StandardLib::Init(generator = {});
  std::uint32_t result = 0;
  std::string out = CaptureStdout([&] { result = StandardLib::RandomCard(5, 3); });
  EXPECT_EQ(out, "ERROR calling RandomCardFromInterval: min 5 is bigger than max 3\n");
  EXPECT_EQ(result, 5u);
  EXPECT_EQ(generator.seed, 94u);
  out = CaptureStdout([&] { result = StandardLib::RandomCard(3, 3); });  // equal: a draw
  EXPECT_TRUE(out.empty() && result == 3u && generator.seed != 94u) << out;
}

}  // namespace
