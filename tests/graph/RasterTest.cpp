// The pixel rules, on a plain buffer.
#include <gtest/gtest.h>

#include <cstdlib>

#include "graph/Font.h"
#include "graph/Raster.h"

namespace {

using namespace Graph::Raster;

constexpr Colour kBg = 0x101010, kInk = 0xABCDEF;

struct Buffer {
  Buffer(int w, int h) : pixels(static_cast<std::size_t>(w) * h, kBg), p{pixels.data(), w, h} {}
  std::vector<Colour> pixels;
  Pixels p;
  Colour at(int x, int y) const { return p.at(x, y); }
  // Number of pixels of colour c inside [l, r) x [t, b), and in the whole buffer.
  int Count(Colour c, int l, int t, int r, int b) const {
    int n = 0;
    for (int y = t; y < b; ++y)
      for (int x = l; x < r; ++x) n += at(x, y) == c;
    return n;
  }
  int Count(Colour c) const { return Count(c, 0, 0, p.width, p.height); }
};

TEST(RasterTest, FilledRectangleStopsOneShortOfTheFarBounds) {
  Buffer b(1024, 700);
  Area a = FillRect(b.p, 0, 0, 250, 700, kInk);
  EXPECT_EQ(b.Count(kInk, 0, 0, 249, 699), 249 * 699);
  EXPECT_EQ(b.Count(kInk), 249 * 699);  // column 249 and row 699 keep their colour
  EXPECT_EQ(a.right, 249);
  EXPECT_EQ(a.bottom, 699);

  Buffer thin(40, 40);
  EXPECT_TRUE(FillRect(thin.p, 10, 10, 11, 20, kInk).Empty());
  FillRect(thin.p, 10, 10, 20, 11, kInk);
  EXPECT_EQ(thin.Count(kInk), 0);
  FillRect(thin.p, 30, 30, 60, 60, kInk);  // clipped at the edge
  EXPECT_EQ(thin.Count(kInk), 10 * 10);
}

TEST(RasterTest, OutlineCoversFourSidesAndLeavesTheInside) {
  Buffer b(40, 40);
  FrameRect(b.p, 5, 6, 15, 12, kInk, LineStyle::Solid);
  for (int y = 6; y <= 11; ++y) EXPECT_TRUE(b.at(5, y) == kInk && b.at(14, y) == kInk) << y;
  for (int x = 5; x <= 14; ++x) EXPECT_TRUE(b.at(x, 6) == kInk && b.at(x, 11) == kInk) << x;
  EXPECT_EQ(b.Count(kInk), 2 * 10 + 2 * 4);
  Buffer dashed(40, 40);
  FrameRect(dashed.p, 0, 0, 39, 39, kInk, LineStyle::Dot);
  EXPECT_GT(dashed.Count(kInk), 0);
  EXPECT_LT(dashed.Count(kInk), 4 * 37);
  FrameRect(dashed.p, 2, 2, 30, 30, 0x1, LineStyle::Invisible);
  EXPECT_EQ(dashed.Count(0x1), 0);
}

TEST(RasterTest, LineDrawsItsStartButNotItsEnd) {
  Buffer b(200, 200);
  Line(b.p, 7, 100, 7, 90, kInk, LineStyle::Solid);
  EXPECT_EQ(b.Count(kInk, 7, 91, 8, 101), 10);
  EXPECT_EQ(b.Count(kInk), 10);
  Line(b.p, 9, 90, 9, 100, kInk, LineStyle::Solid);
  EXPECT_EQ(b.Count(kInk, 9, 90, 10, 100), 10);
  EXPECT_EQ(b.Count(kInk), 20);

  // A slanted line: connected, from its start up to but not including its end.
  Buffer s(200, 200);
  Line(s.p, 10, 20, 60, 41, kInk, LineStyle::Solid);
  EXPECT_EQ(s.at(10, 20), kInk);
  EXPECT_NE(s.at(60, 41), kInk);
  EXPECT_EQ(s.Count(kInk), 50);  // one pixel per column
  for (int x = 10; x < 60; ++x) EXPECT_EQ(s.Count(kInk, x, 0, x + 1, 200), 1) << x;
}

TEST(RasterTest, DrawingOutsideTheBufferIsDropped) {
  Buffer b(100, 50);
  EXPECT_TRUE(Plot(b.p, 100, 0, kInk).Empty());
  EXPECT_TRUE(Plot(b.p, 0, 50, kInk).Empty());
  EXPECT_TRUE(Plot(b.p, 0xFFFFFFFF, 0, kInk).Empty());
  // A far-off start: only the part inside is drawn, and promptly.
  Line(b.p, 0xFFFFFFF0u, 10, 20, 10, kInk, LineStyle::Solid);
  EXPECT_EQ(b.Count(kInk), 79);
  EXPECT_EQ(b.Count(kInk, 21, 10, 100, 11), 79);
  Line(b.p, 5, 0xFFFFFFF0u, 0xFFFFFFF0u, 5, kInk, LineStyle::Solid);  // passes beside the buffer
  Text(b.p, 98, 45, "AB", 0x2, true, 0);  // the first cell, cut off at the corner
  EXPECT_EQ(b.Count(0) + b.Count(0x2), 2 * 5);
  EXPECT_EQ(b.Count(0, 98, 45, 100, 50) + b.Count(0x2, 98, 45, 100, 50), 2 * 5);
}

TEST(RasterTest, CaptureTakesTheNamedBlockAndIsBlackBeyondTheEdge) {
  Buffer b(1024, 700);
  for (int y = 0; y < 700; ++y)
    for (int x = 0; x < 1024; ++x) b.p.at(x, y) = static_cast<Colour>(x << 12 | y);
  Image img = Capture(b.p, 500, 500, 536, 536);
  ASSERT_EQ(img.width, 36);
  ASSERT_EQ(img.height, 36);
  EXPECT_EQ(img.pixels.front(), static_cast<Colour>(500 << 12 | 500));
  EXPECT_EQ(img.pixels.back(), static_cast<Colour>(535 << 12 | 535));
  Image edge = Capture(b.p, 1020, 696, 1025, 701);
  EXPECT_EQ(edge.pixels[3], static_cast<Colour>(1023 << 12 | 696));
  EXPECT_EQ(edge.pixels[4], 0u);
  EXPECT_EQ(edge.pixels[4 * 5 + 3], 0u);
}

TEST(RasterTest, PutWritesExactlyItsBlockByEachMode) {
  Image img{2, 3, {0xF0F0F0, 0x0F0F0F, 0x000000, 0xFFFFFF, 0x123456, 0xFF00FF}};
  Buffer b(10, 10);
  Put(b.p, 4, 5, img, kCopy);
  EXPECT_EQ(b.Count(kBg), 100 - 6);
  EXPECT_EQ(b.at(4, 5), 0xF0F0F0u);
  EXPECT_EQ(b.at(4, 6), 0x000000u);  // black is drawn, not transparent
  EXPECT_EQ(b.at(5, 7), 0xFF00FFu);
  struct {
    std::uint32_t op;
    Colour expected;
  } modes[] = {{kCopy, 0x0F0F0F},
               {kAndNot, 0x0F0F0F & ~kBg},
               {kAnd, 0x0F0F0F & kBg},
               {kOr, 0x0F0F0F | kBg},
               {kXor, 0x0F0F0F ^ kBg}};
  for (auto m : modes) {
    Buffer d(10, 10);
    Put(d.p, 0, 0, img, m.op);
    EXPECT_EQ(d.at(1, 0), m.expected) << std::hex << m.op;
  }
  Buffer edge(10, 10);
  Put(edge.p, 9, 9, img, kCopy);  // clipped to its one visible pixel
  EXPECT_EQ(edge.Count(kBg), 99);
}

TEST(RasterTest, TextPaintsWholeCellsOnItsBackground) {
  const int w = Graph::Font::kCellWidth, h = Graph::Font::kCellHeight;
  EXPECT_LE(h, 20);
  Buffer b(100, 40);
  Text(b.p, 3, 4, "Ab", kInk, true, 0x000001);
  for (int row = 0; row < h; ++row)
    for (int col = 0; col < w; ++col) {
      bool ink = Graph::Font::kGlyphs[static_cast<unsigned char>('b')][row] & (0x80 >> col);
      EXPECT_EQ(b.at(3 + w + col, 4 + row), ink ? kInk : 0x000001u) << row << "," << col;
    }
  EXPECT_EQ(b.Count(kInk) + b.Count(0x000001), 2 * w * h);
  Text(b.p, 3, 4, "  ", kInk, true, 0x000001);  // blanks clear the old text
  EXPECT_EQ(b.Count(0x000001), 2 * w * h);
  Text(b.p, 3, 4, "A", kInk, false, 0x000001);  // transparent: the cell keeps its colour
  EXPECT_EQ(b.Count(kBg), 100 * 40 - 2 * w * h);
  EXPECT_GT(b.Count(kInk), 0);
}

}  // namespace
