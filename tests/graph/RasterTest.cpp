// The pixel rules, on a plain buffer.
#include <gtest/gtest.h>

#include <bit>
#include <vector>

#include "graph/Font.h"
#include "graph/Raster.h"

namespace {

using namespace Graph::Raster;

constexpr Colour kBg = 0x101010, kInk = 0xABCDEF;

struct Buffer {
  Buffer(int w, int h) : pixels(static_cast<std::size_t>(w) * h, kBg), p{pixels.data(), w, h} {}
  std::vector<Colour> pixels;
  Pixels p;
  // Number of pixels of colour c inside [l, r) x [t, b), or in the whole buffer.
  int Count(Colour c, int l, int t, int r, int b) const {
    int n = 0;
    for (int y = t; y < b; ++y)
      for (int x = l; x < r; ++x) n += p.at(x, y) == c;
    return n;
  }
  int Count(Colour c) const { return Count(c, 0, 0, p.width, p.height); }
};

// Filled: up to one short of the far corner. Outline: those four sides, the inside kept.
TEST(RasterTest, RectanglesStopOneShortOfTheFarBounds) {
  Buffer f(10, 10);
  EXPECT_EQ(FillRect(f.p, 2, 3, 9, 7, kInk), (Area{2, 3, 8, 6}));
  EXPECT_TRUE(f.Count(kInk, 2, 3, 8, 6) == 6 * 3 && f.Count(kInk) == 6 * 3);
  Buffer thin(40, 40);
  EXPECT_TRUE(FillRect(thin.p, 10, 10, 11, 20, kInk).Empty());
  FillRect(thin.p, 10, 10, 20, 11, kInk);
  EXPECT_EQ(thin.Count(kInk), 0);
  FillRect(thin.p, 30, 30, 60, 60, kInk);  // clipped at the edge
  EXPECT_EQ(thin.Count(kInk), 10 * 10);

  Buffer o(40, 40);
  FrameRect(o.p, 5, 6, 15, 12, kInk, LineStyle::Solid);
  EXPECT_EQ(o.Count(kInk, 5, 6, 15, 12), 2 * 10 + 2 * 4);
  EXPECT_EQ(o.Count(kInk, 6, 7, 14, 11), 0);
  EXPECT_EQ(o.Count(kInk), 2 * 10 + 2 * 4);

  // Styled: the pattern of on and off runs goes on clockwise from the top-left corner, each
  // pixel once; a frame one row high is that row alone; a line starts the pattern afresh.
  const std::pair<LineStyle, std::vector<int>> styles[] = {
      {LineStyle::ShortDash, {18, 6}},
      {LineStyle::Dot, {3, 3}},
      {LineStyle::DashDot, {9, 6, 3, 6}},
      {LineStyle::DashDoubleDot, {9, 3, 3, 3, 3, 3}},
      {LineStyle::Invisible, {0, 1}}};
  for (const auto& [style, runs] : styles) {
    Buffer f(40, 20), want(40, 20);
    FrameRect(f.p, 1, 1, 31, 11, kInk, style);
    FrameRect(f.p, 1, 15, 31, 16, kInk, style);
    Line(f.p, 35, 1, 35, 19, kInk, style);
    std::vector<std::pair<int, int>> frame, row, line;
    for (int x = 1; x <= 30; ++x) frame.push_back({x, 1}), row.push_back({x, 15});
    for (int y = 2; y <= 10; ++y) frame.push_back({30, y});
    for (int x = 29; x >= 1; --x) frame.push_back({x, 10});
    for (int y = 9; y >= 2; --y) frame.push_back({1, y});
    for (int y = 1; y < 19; ++y) line.push_back({35, y});
    for (const auto& path : {frame, row, line}) {
      std::vector<bool> on;
      while (on.size() < path.size())
        for (std::size_t k = 0; k < runs.size(); ++k) on.insert(on.end(), runs[k], k % 2 == 0);
      for (std::size_t i = 0; i < path.size(); ++i)
        if (on[i]) want.p.at(path[i].first, path[i].second) = kInk;
    }
    EXPECT_TRUE(f.pixels == want.pixels) << static_cast<int>(style);
  }
}

TEST(RasterTest, LineDrawsItsStartButNotItsEnd) {
  // Upward, as the game's shots, it is pinned by the golden pictures. Slanted lines, their
  // ends excluded; where the error term ties, a steep line steps across and a shallow one
  // down at once.
  Buffer t(8, 8);
  Line(t.p, 0, 0, 2, 4, kInk, LineStyle::Solid);
  Line(t.p, 3, 0, 7, 2, kInk, LineStyle::Solid);
  for (auto [x, y] : {std::pair{0, 0}, {1, 1}, {1, 2}, {2, 3}, {3, 0}, {4, 1}, {5, 1}, {6, 2}})
    EXPECT_EQ(t.p.at(x, y), kInk) << x << "," << y;
  EXPECT_EQ(t.Count(kInk), 8);
}

TEST(RasterTest, DrawingOutsideTheBufferIsDropped) {
  Buffer b(100, 50);
  for (auto [x, y] : {std::pair{100u, 0u}, {0u, 50u}, {0xFFFFFFFFu, 0u}})
    EXPECT_TRUE(Plot(b.p, x, y, kInk).Empty());
  // A far-off start: only the part inside is drawn, and promptly.
  Line(b.p, 0xFFFFFFF0u, 10, 20, 10, kInk, LineStyle::Solid);
  Line(b.p, 5, 0xFFFFFFF0u, 0xFFFFFFF0u, 5, kInk, LineStyle::Solid);  // passes beside the buffer
  EXPECT_EQ(b.Count(kInk, 21, 10, 100, 11), 79);
  EXPECT_EQ(b.Count(kInk), 79);
  Text(b.p, 98, 45, "AB", 0x2, true, 0);  // the first cell, cut off at the corner
  EXPECT_EQ(b.Count(0, 98, 45, 100, 50) + b.Count(0x2, 98, 45, 100, 50), 2 * 5);
  EXPECT_EQ(b.Count(0) + b.Count(0x2), 2 * 5);
}

TEST(RasterTest, PutWritesExactlyItsBlockByEachMode) {
  Image img{2, 3, {0xF0F0F0, 0x0F0F0F, 0x000000, 0xFFFFFF, 0x123456, 0xFF00FF}};
  Buffer b(10, 10);
  Put(b.p, 4, 5, img, kCopy);
  EXPECT_EQ(b.Count(kBg), 100 - 6);
  EXPECT_TRUE(b.p.at(4, 5) == 0xF0F0F0 && b.p.at(5, 7) == 0xFF00FF);
  EXPECT_EQ(b.p.at(4, 6), 0x000000u);  // black is drawn, not transparent
  const Colour s = img.pixels[1];
  const std::pair<std::uint32_t, Colour> modes[] = {
      {kCopy, s}, {kAndNot, s & ~kBg}, {kAnd, s & kBg}, {kOr, s | kBg}, {kXor, s ^ kBg}};
  for (auto [op, expected] : modes) {
    Buffer d(10, 10);
    Put(d.p, 0, 0, img, op);
    EXPECT_EQ(d.p.at(1, 0), expected) << std::hex << op;
  }
  Buffer edge(10, 10);
  Put(edge.p, 9, 9, img, kCopy);  // clipped to its one visible pixel
  EXPECT_EQ(edge.Count(kBg), 99);
}

// Opaque text, the game's, is pinned by the golden pictures; transparent text draws its ink
// alone and leaves the rest of the cell.
TEST(RasterTest, TransparentTextDrawsOnlyItsInk) {
  Buffer b(100, 40);
  Text(b.p, 3, 4, "Ab", kInk, false, 0x000001);
  int ink = 0;
  for (char c : {'A', 'b'})
    for (std::uint8_t row : Graph::Font::kGlyphs[static_cast<unsigned char>(c)])
      ink += std::popcount(row);
  EXPECT_EQ(b.Count(kInk), ink);
  EXPECT_EQ(b.Count(kBg), 100 * 40 - ink);
}

// Its values are pinned by every golden picture; here that it sees every pixel and its place.
TEST(RasterTest, FingerprintSeesEveryPixelAndItsPlace) {
  std::vector<Colour> surface(1024 * 700, 0);
  const Pixels p{surface.data(), 1024, 700};
  const std::uint64_t black = Fingerprint(p);
  for (std::size_t i : {0u, 1u, 2u, 7u, 8u, 358407u, 716799u}) {
    surface[i] = 1;
    EXPECT_NE(Fingerprint(p), black) << i;
    surface[i] = 0;
  }
  surface[5] = 1, surface[6] = 2;  // two neighbours the other way round
  const std::uint64_t swapped = Fingerprint(p);
  surface[5] = 2, surface[6] = 1;
  EXPECT_NE(Fingerprint(p), swapped);
}

}  // namespace
