// The service through its request protocol, on the surface alone. (That each request is
// carried out before the next, in order, the golden pictures pin: the sprites are captured
// between drawings.)
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "graph/Graph.h"

namespace {

using Graph::CARDINAL;

// 265 character cells across, so that the 257-character limit of a text shows.
constexpr CARDINAL kWidth = 1856, kDepth = 700;

class ServiceTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(Graph::Init(1, 1, kWidth, kDepth, Graph::WindowSystemKind::None, {}));
  }
  static void TearDownTestSuite() { Graph::Exit(); }
  void SetUp() override { Graph::Rectangle(0, 0, kWidth + 1, kDepth + 1, 0, true); }

  static CARDINAL Image(CARDINAL x1, CARDINAL y1, CARDINAL x2, CARDINAL y2) {
    CARDINAL h = 0;
    Graph::GetImage(x1, y1, x2, y2, h);
    return h;
  }
};

// Numbers count by their low eight bits, those past 15 are black. (0-15 are pinned by every
// golden picture.)
TEST_F(ServiceTest, ColourNumbersCountByTheirLowEightBits) {
  Graph::Rectangle(0, 0, 300, 10, 15, true);
  const std::pair<CARDINAL, std::uint32_t> cases[] = {
      {16, 0}, {255, 0}, {256, 0}, {271, 0xFFFFFF}, {0xFFFFFF0C, 0xFF0000}};
  for (CARDINAL x = 0; x < 5; ++x) Graph::Plot(x, 0, cases[x].first);
  for (CARDINAL x = 0; x < 5; ++x) EXPECT_EQ(Graph::ReadPixel(x, 0), cases[x].second) << x;
}

// The block from the first to the second corner in either order, each included, and one
// more column and row; what lies beyond the surface comes back black.
TEST_F(ServiceTest, GetImageClampsOrdersAndTakesOneMore) {
  for (CARDINAL y = 495; y < 540; ++y)
    for (CARDINAL x = 495; x < 540; ++x) Graph::Plot(x, y, (x * 3 + y) % 15 + 1);
  CARDINAL a = Image(500, 500, 534, 534), b = Image(534, 534, 500, 500);
  Graph::PutImage(0, 0, a, Graph::_GPSET);
  Graph::PutImage(100, 0, b, Graph::_GPSET);
  const auto at = &Graph::ReadPixel;
  for (CARDINAL y = 0; y < 37; ++y)
    for (CARDINAL x = 0; x < 37; ++x) {
      ASSERT_EQ(at(x, y), x < 36 && y < 36 ? at(500 + x, 500 + y) : 0u) << x << "," << y;
      ASSERT_EQ(at(100 + x, y), at(x, y)) << x << "," << y;
    }
  Graph::Rectangle(kWidth - 10, kDepth - 10, kWidth + 1, kDepth + 1, 14, true);
  Graph::PutImage(0, 100, Image(kWidth + 50, kDepth + 9, kWidth - 4, kDepth - 3), Graph::_GPSET);
  EXPECT_EQ(Graph::ReadPixel(3, 102), 0xFFFF00u);  // the far corner, clamped to the last pixel
  EXPECT_EQ(Graph::ReadPixel(4, 102) | Graph::ReadPixel(3, 103), 0u);
  Graph::ClearScreen(0);  // the whole surface, its last column and row included
  EXPECT_EQ(Graph::ReadPixel(kWidth - 1, kDepth - 1), 0u);
}

// (Cut at a NUL, as the panel's numbers are, is pinned by the golden pictures.)
TEST_F(ServiceTest, TextIsCutAt257CharactersAndUsesTheBackground) {
  Graph::Rectangle(0, 0, kWidth + 1, 40, 9, true);
  Graph::RawOutText(0, 0, 15, std::string(300, ' '));
  EXPECT_EQ(Graph::ReadPixel(257 * 7 - 1, 0), 0u);
  EXPECT_EQ(Graph::ReadPixel(257 * 7, 0), 0x0000FFu);
  EXPECT_EQ(Graph::SetBkColor(4), 0u);
  Graph::RawOutText(300, 20, 15, " ");
  EXPECT_EQ(Graph::ReadPixel(300, 20), 0xB00000u);
  EXPECT_EQ(Graph::SetBkColor(0), 4u);
}

// A second Init while open fails and keeps the first window; after Exit, Init opens
// afresh at the new size, on the same server thread. The text grid follows the size.
TEST_F(ServiceTest, ASecondInitKeepsTheWindowAnInitAfterExitOpensAfresh) {
  auto threads = [] {
    const std::filesystem::directory_iterator tasks("/proc/self/task");
    return std::distance(begin(tasks), end(tasks));
  };
  EXPECT_TRUE(Graph::Columns == kWidth / 7 && Graph::Rows == (kDepth - 2) / 14);
  Graph::Plot(7, 7, 12);
  EXPECT_FALSE(Graph::Init(5, 5, 640, 480));
  EXPECT_EQ(Graph::ReadPixel(7, 7), 0xFF0000u);

  const auto before = threads();
  Graph::Exit();
  ASSERT_TRUE(Graph::Init(5, 5, 640, 480, Graph::WindowSystemKind::None, {}));
  EXPECT_EQ(threads(), before);  // no second server
  EXPECT_TRUE(Graph::Columns == 640 / 7 && Graph::Rows == (480 - 2) / 14);
  std::vector<std::uint32_t> surface = Graph::ReadSurface();
  EXPECT_EQ(std::ranges::count(surface, 0u), 640 * 480);  // cleared, the old picture gone
  Graph::Plot(639, 479, 12);
  Graph::Plot(640, 7, 12);  // beyond the new width: dropped
  surface = Graph::ReadSurface();
  EXPECT_EQ(surface.back(), 0xFF0000u);
  EXPECT_EQ(std::ranges::count(surface, 0xFF0000u), 1);

  Graph::Exit();  // the other tests' size again
  ASSERT_TRUE(Graph::Init(1, 1, kWidth, kDepth, Graph::WindowSystemKind::None, {}));
}

}  // namespace
