// How the window shows the picture, planned on plain buffers.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "graph/Font.h"
#include "graph/Present.h"

namespace {

using namespace Graph::Present;
using Graph::Raster::Area;

constexpr Size kPicture{1024, 700};

TEST(PresentTest, FullScreenCentresTheLargestWholeScaleWithBlackAround) {
  EXPECT_EQ(ViewOf({3072, 2100}, kPicture, 3, false), (View{3, 0, 0}));
  // Odd sizes: the spare pixel goes to the right and the bottom.
  const View odd = ViewOf({1281, 801}, kPicture, 3, true);
  EXPECT_EQ(odd, (View{1, 128, 50}));
  EXPECT_EQ(ViewOf({2400, 1600}, kPicture, 1, true), (View{2, 176, 100}));
  EXPECT_EQ(ViewOf({800, 600}, kPicture, 1, true), (View{1, 0, 0}));
  EXPECT_EQ(Around(odd, {1281, 801}, kPicture),
            (std::array<Rect, 4>{
                {{0, 0, 1281, 50}, {0, 750, 1281, 51}, {0, 50, 128, 700}, {1152, 50, 129, 700}}}));
  for (const Rect& b : Around(View{2, 0, 0}, {2048, 1400}, kPicture)) EXPECT_TRUE(b.Empty());
  // Only whole blocks are shown: a surface a pixel short loses a row and a column.
  const Area all{0, 0, 1024, 700};
  EXPECT_EQ(Visible(odd, {1281, 801}, kPicture, all), (Rect{0, 0, 1024, 700}));
  EXPECT_EQ(Visible(View{2, 0, 0}, {2047, 1399}, kPicture, all), (Rect{0, 0, 1023, 699}));
  EXPECT_TRUE(Visible(View{2, 0, 0}, {800, 600}, kPicture, Area{500, 0, 600, 10}).Empty());
  // A window scaled to fit: its frame counts, and the scale stays within 1 to 8.
  EXPECT_EQ(FittingScale({3072, 2100}, {0, 0}, kPicture), 3);
  EXPECT_EQ(FittingScale({3072, 2100}, {2, 24}, kPicture), 2);
  EXPECT_EQ(FittingScale({800, 600}, {2, 24}, kPicture), 1);
  EXPECT_EQ(FittingScale({20000, 20000}, {0, 0}, kPicture), kMaxScale);
}

// A picture and the window's copy of it, 256 x 128: tiles 8 across, 4 down.
struct Scaled {
  std::vector<Colour> picture = std::vector<Colour>(256 * 128, 0x203040);
  Shown shown;
  std::vector<Rect> blocks;
  const std::vector<Rect>& Take(const Rect& r, bool whole = false) {
    shown.Take(picture.data(), {256, 128}, r, whole, blocks);
    return blocks;
  }
  void Change(int x, int y) { picture[static_cast<std::size_t>(y) * 256 + x] ^= 0xFFFFFF; }
  // Whether the copy is the picture.
  bool Same() const { return std::equal(picture.begin(), picture.end(), shown.At(0, 0)); }
};

TEST(PresentTest, ScaledOnlyTheTilesThatDifferAreTakenInRunsAndBlocks) {
  using Blocks = std::vector<Rect>;
  const Rect all{0, 0, 256, 128};
  Scaled s;
  // A new copy takes the area whole, as one block (and black elsewhere, so a wider area
  // then differs everywhere); an unchanged picture gives nothing.
  EXPECT_EQ(s.Take(Rect{10, 10, 20, 20}), (Blocks{{10, 10, 20, 20}}));
  EXPECT_EQ(s.Take(all), Blocks{all});
  EXPECT_TRUE(s.Same());
  EXPECT_TRUE(s.Take(all).empty());
  // One pixel: its tile, within the area taken.
  s.Change(70, 40);
  EXPECT_EQ(s.Take(all), (Blocks{{64, 32, 32, 32}}));
  s.Change(60, 25);
  EXPECT_EQ(s.Take(Rect{50, 20, 100, 50}), (Blocks{{50, 20, 14, 12}}));
  // On a tile's edge: that tile alone; either side of an edge: one run of both tiles.
  s.Change(32, 32);
  EXPECT_EQ(s.Take(all), (Blocks{{32, 32, 32, 32}}));
  s.Change(31, 100), s.Change(32, 100);
  EXPECT_EQ(s.Take(all), (Blocks{{0, 96, 64, 32}}));
  // Two runs in a row of tiles.
  s.Change(5, 5), s.Change(100, 5), s.Change(130, 5);
  EXPECT_EQ(s.Take(all), (Blocks{{0, 0, 32, 32}, {96, 0, 64, 32}}));
  // A run continued below by the same columns is one block; by others, a block of its own.
  s.Change(40, 0), s.Change(70, 31), s.Change(33, 32), s.Change(95, 63), s.Change(40, 64);
  EXPECT_EQ(s.Take(all), (Blocks{{32, 0, 64, 64}, {32, 64, 32, 32}}));
  EXPECT_TRUE(s.Same());
  // A change outside the area is not taken, and shows in a later area that covers it.
  s.Change(200, 100);
  EXPECT_TRUE(s.Take(Rect{0, 0, 128, 128}).empty());
  EXPECT_FALSE(s.Same());
  EXPECT_EQ(s.Take(all), (Blocks{{192, 96, 32, 32}}));
  // Whole (the overlay came or went): the area, changed or not; a forgotten copy likewise.
  EXPECT_EQ(s.Take(Rect{1, 2, 3, 4}, true), (Blocks{{1, 2, 3, 4}}));
  s.shown.Forget();
  EXPECT_EQ(s.Take(Rect{5, 6, 7, 8}), (Blocks{{5, 6, 7, 8}}));
  s.Take(all, true);  // a picture of another width, as many pixels: a new copy too
  s.shown.Take(s.picture.data(), {128, 256}, Rect{0, 0, 128, 256}, false, s.blocks);
  EXPECT_EQ(s.blocks, (Blocks{{0, 0, 128, 256}}));
}

TEST(PresentTest, WideningMakesEachPixelOfTheBlockAnNByNBlockAndNothingElse) {
  constexpr Colour kUntouched = 0xDEAD01;
  std::vector<Colour> picture(8 * 6);
  for (std::size_t i = 0; i < picture.size(); ++i) picture[i] = 0x010203 * (i + 1);
  const Rect b{2, 1, 3, 2};
  for (int n = 1; n <= 5; ++n) {
    constexpr int kWidth = 50, kHeight = 30, kPitch = kWidth + 3;  // rows with padding
    std::vector<Colour> surface(kPitch * kHeight, kUntouched);
    const View v{n, 5, 4};
    Widen({reinterpret_cast<std::uint8_t*>(surface.data()), kPitch * 4}, &picture[b.y * 8 + b.x], 8,
          b, v);
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kPitch; ++x) {
        const int px = x < v.x ? -1 : (x - v.x) / n, py = y < v.y ? -1 : (y - v.y) / n;
        const bool in = px >= b.x && px < b.x + b.w && py >= b.y && py < b.y + b.h;
        ASSERT_EQ(surface[y * kPitch + x], in ? picture[py * 8 + px] : kUntouched)
            << n << ": " << x << "," << y;
      }
  }
}

TEST(PresentTest, OverlayIsTheTextFourTimesItsSizeWhiteOnBlackOnThePlayField) {
  const Overlay paused = OverlayOf("PAUSED", kPicture);
  // Six cells of 28 x 56 and 16 around them, centred right of x 250.
  ASSERT_EQ(paused.box, (Area{537, 306, 737, 394}));
  ASSERT_EQ(paused.pixels.size(), 200u * 88);
  for (int y = 0; y < 88; ++y)
    for (int x = 0; x < 200; ++x) {
      bool ink = false;
      if (x >= 16 && x < 184 && y >= 16 && y < 72) {
        const int cell = (x - 16) / 28, gx = (x - 16) % 28 / 4, gy = (y - 16) / 4;
        ink = Graph::Font::kGlyphs[static_cast<unsigned char>("PAUSED"[cell])][gy] & (0x80 >> gx);
      }
      ASSERT_EQ(paused.pixels[y * 200 + x], ink ? 0xFFFFFFu : 0u) << x << "," << y;
    }
  // As many characters as fit on a line; a picture no wider than the panel centres on all
  // of it; a short one cuts the box; no text, no box.
  EXPECT_EQ(OverlayOf(std::string(40, 'X'), kPicture).Width(), 26 * 28 + 32);
  EXPECT_EQ(OverlayOf("PAUSED", {240, 100}).box, (Area{20, 6, 220, 94}));
  EXPECT_EQ(OverlayOf("PAUSED", {1024, 50}).box, (Area{537, 0, 737, 50}));
  EXPECT_TRUE(OverlayOf("", kPicture).box.Empty());
  // With a bar: the box at the foot of the field, the text as without, a bar of 4 rows
  // under it, white as far as it is filled and grey beyond.
  const Overlay barred = OverlayOf("PAUSED", kPicture, 0.25);
  ASSERT_EQ(barred.box, (Area{537, 584, 737, 684}));
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 200; ++x) {
      const bool bar = y >= 80 && y < 84 && x >= 16 && x < 184;
      const Colour want = y < 80        ? paused.pixels[y * 200 + x]
                          : !bar        ? 0u
                          : x < 16 + 42 ? 0xFFFFFFu
                                        : 0x555555u;
      ASSERT_EQ(barred.pixels[y * 200 + x], want) << x << "," << y;
    }
  EXPECT_EQ(OverlayOf("PAUSED", kPicture, 1.5).pixels[80 * 200 + 183], 0xFFFFFFu);
  EXPECT_EQ(Overlap(Rect{500, 300, 64, 32}, paused.box), (Rect{537, 306, 27, 26}));
  EXPECT_TRUE(Overlap(Rect{0, 0, 537, 700}, paused.box).Empty());
}

}  // namespace
