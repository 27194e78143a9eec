// The service through its request protocol, on the surface alone.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "graph/Graph.h"

namespace {

using Graph::CARDINAL;

// 265 character cells across, so that the 257-character limit of a text shows.
constexpr CARDINAL kWidth = 1856, kDepth = 700;

class ServiceTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    static bool opened = [] {
      Graph::UseWindowSystem(Graph::WindowSystemKind::None);
      return Graph::Init(1, 1, kWidth, kDepth);
    }();
    ASSERT_TRUE(opened);
  }
  void SetUp() override { Graph::Rectangle(0, 0, kWidth + 1, kDepth + 1, 0, true); }

  static CARDINAL Image(CARDINAL x1, CARDINAL y1, CARDINAL x2, CARDINAL y2) {
    CARDINAL h = 0;
    Graph::GetImage(x1, y1, x2, y2, h);
    return h;
  }
};

// Sixteen distinct colours; the named ones are checked where the tests below draw them.
// Colour numbers count by their low eight bits, and those past 15 are black.
TEST_F(ServiceTest, InitSetsTheTextGridAndSixteenColours) {
  EXPECT_EQ(Graph::Columns, kWidth / 7);
  EXPECT_EQ(Graph::Rows, (kDepth - 2) / 14);
  Graph::Rectangle(0, 0, 300, 10, 15, true);
  const CARDINAL numbers[] = {16, 100, 255, 256, 0x10000};
  for (CARDINAL i = 0; i < 5; ++i) Graph::Plot(i, 0, numbers[i]);
  for (CARDINAL i = 0; i < 5; ++i) EXPECT_EQ(Graph::ReadPixel(i, 0), 0u) << numbers[i];
  Graph::Plot(10, 0, 271);
  Graph::Plot(11, 0, 0xFFFFFF0C);
  EXPECT_EQ(Graph::ReadPixel(10, 0), 0xFFFFFFu);
  EXPECT_EQ(Graph::ReadPixel(11, 0), 0xFF0000u);
  std::set<std::uint32_t> colours;
  for (CARDINAL c = 0; c < 16; ++c) Graph::Plot(c, 1, c), colours.insert(Graph::ReadPixel(c, 1));
  EXPECT_EQ(colours.size(), 16u);
}

TEST_F(ServiceTest, EveryRequestIsCarriedOutBeforeTheNextInOrder) {
  // Many hand-overs, each overwriting the last: only strict order leaves these colours.
  for (CARDINAL i = 0; i < 20000; ++i) {
    Graph::Rectangle(0, 0, 21, 21, i % 15, true);
    Graph::Line(3, 10, 3, 0, (i + 1) % 15);
    Graph::Plot(5, 5, (i + 2) % 15);
  }
  CARDINAL h = Image(0, 0, 9, 9);  // sees everything before it ...
  Graph::Plot(1, 1, 15);           // ... and nothing after
  Graph::PutImage(100, 100, h, Graph::_GPSET);
  auto colour = [](CARDINAL n) { return Graph::ReadPixel(200 + n, 0); };
  for (CARDINAL n = 0; n < 15; ++n) Graph::Plot(200 + n, 0, n);
  EXPECT_EQ(Graph::ReadPixel(105, 105), colour(20001 % 15));
  EXPECT_EQ(Graph::ReadPixel(103, 104), colour(20000 % 15));
  EXPECT_EQ(Graph::ReadPixel(101, 101), colour(19999 % 15));
  EXPECT_EQ(Graph::ReadPixel(1, 1), 0xFFFFFFu);
}

TEST_F(ServiceTest, GetImageClampsOrdersAndTakesOneMore) {
  for (CARDINAL y = 495; y < 540; ++y) Graph::Line(495, y, 540, y, y % 15 + 1);
  CARDINAL a = Image(500, 500, 534, 534), b = Image(534, 534, 500, 500);
  ASSERT_NE(a, 0u);
  Graph::PutImage(0, 0, a, Graph::_GPSET);
  Graph::PutImage(100, 0, b, Graph::_GPSET);
  auto s = Graph::ReadSurface();
  auto at = [&](CARDINAL x, CARDINAL y) { return s[y * kWidth + x]; };
  for (CARDINAL y = 0; y < 37; ++y)
    for (CARDINAL x = 0; x < 37; ++x) {
      bool inside = x < 36 && y < 36;
      ASSERT_EQ(at(x, y), inside ? at(500 + x, 500 + y) : 0u) << x << "," << y;
      ASSERT_EQ(at(100 + x, y), at(x, y)) << x << "," << y;
    }
  // At the right edge the extra column lies beyond the surface: black.
  Graph::Rectangle(kWidth - 10, 0, kWidth + 1, 20, 14, true);
  CARDINAL edge =
      Image(kWidth + 50, 2, kWidth - 4, 3);  // the first x is reduced to the last column
  Graph::PutImage(0, 100, edge, Graph::_GPSET);
  EXPECT_EQ(Graph::ReadPixel(3, 100), 0xFFFF00u);
  EXPECT_EQ(Graph::ReadPixel(4, 100), 0u);
  EXPECT_EQ(Graph::ReadPixel(4, 101), 0u);
  EXPECT_EQ(Graph::ReadPixel(5, 100), 0u);
}

TEST_F(ServiceTest, TextIsCutAtItsNulOr257CharactersAndUsesTheBackground) {
  Graph::Rectangle(0, 0, kWidth + 1, 40, 9, true);
  Graph::RawOutText(0, 0, 15, std::string(300, ' '));
  EXPECT_EQ(Graph::ReadPixel(257 * 7 - 1, 0), 0u);
  EXPECT_EQ(Graph::ReadPixel(257 * 7, 0), 0x0000FFu);
  Graph::RawOutText(0, 20, 15, std::string_view("  \0  ", 5));
  EXPECT_EQ(Graph::ReadPixel(13, 20), 0u);
  EXPECT_EQ(Graph::ReadPixel(14, 20), 0x0000FFu);

  EXPECT_EQ(Graph::SetBkColor(4), 0u);
  Graph::RawOutText(300, 20, 15, " ");
  EXPECT_EQ(Graph::ReadPixel(300, 20), 0xB00000u);
  EXPECT_EQ(Graph::SetBkColor(0), 4u);
}

TEST_F(ServiceTest, ASecondInitSaysSoAndKeepsTheFirstWindow) {
  Graph::Plot(7, 7, 12);
  std::string said;
  Graph::SetMessageSink([&](std::string_view m) { said = m; });
  EXPECT_FALSE(Graph::Init(5, 5, 640, 480));
  Graph::SetMessageSink(nullptr);
  EXPECT_EQ(said, "Graph window was already created");
  EXPECT_EQ(Graph::Width, kWidth);
  EXPECT_EQ(Graph::ReadPixel(7, 7), 0xFF0000u);
}

}  // namespace
