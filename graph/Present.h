// How the window shows the picture, as pure functions: where the picture lies in the
// window's surface, which parts of it changed since the last present, how a part is widened
// into the surface at a scale above 1, and the overlay text's pixels. No SDL, no threads.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "graph/Raster.h"

namespace Graph::Present {

using Raster::Colour;

constexpr int kMaxScale = 8;
constexpr int kTile = 32;  // picture pixels a side: the unit of a scaled present

struct Size {
  int w = 0, h = 0;
};

// Its top-left corner and its size.
struct Rect {
  int x = 0, y = 0, w = 0, h = 0;
  bool Empty() const { return w <= 0 || h <= 0; }
  bool operator==(const Rect&) const = default;
};

// Where the picture lies in the window's surface: every pixel an n x n block, the top-left
// corner at (x, y).
struct View {
  int n = 1, x = 0, y = 0;
  bool operator==(const View&) const = default;
};

// A window shows the picture at its own scale from its corner; full screen centres the
// largest whole scale that fits the surface (at least 1).
View ViewOf(Size surface, Size picture, int scale, bool fullscreen);
// The part of the area that has whole blocks in the surface, in picture pixels.
Rect Visible(const View& v, Size surface, Size picture, const Raster::Area& a);
// The bands of the surface around the picture, shown black; a band may be empty.
std::array<Rect, 4> Around(const View& v, Size surface, Size picture);
// The largest scale (1 to kMaxScale) whose window, with a frame of that size, fits the
// usable area.
int FittingScale(Size usable, Size frame, Size picture);
// Where a and b overlap (empty when they do not).
Rect Overlap(const Rect& a, const Raster::Area& b);

// The picture as the window shows it, kept by the window when it is scaled: every pixel
// shown costs n x n, and the changed area is the box around a tick's changes, most of which
// is the same picture again, so only the 32 x 32 tiles that differ from this copy count.
class Shown {
 public:
  // Brings the copy up to date in area r of the picture (size.w x size.h, row by row) and
  // puts in `blocks` the parts of r that changed, in picture pixels: in each row of tiles the
  // runs of changed tiles, a run that the row below continues with a run of the same columns
  // joined with it into one block (each upload has a cost of its own). Whole (or the copy
  // new): all of r, as one block.
  void Take(const Colour* picture, Size size, const Rect& r, bool whole, std::vector<Rect>& blocks);
  // No longer kept (the window shows the picture at scale 1): the next Take is whole.
  void Forget() { pixels_.clear(); }
  // The copy's pixel (x, y), the rows size.w apart.
  const Colour* At(int x, int y) const {
    return pixels_.data() + static_cast<std::size_t>(y) * width_ + x;
  }

 private:
  int width_ = 0;
  std::vector<Colour> pixels_;
  std::vector<Rect> open_, below_;  // runs of changed tiles in the last row of tiles, the next
};

// A surface of 32-bit pixels in 0xRRGGBB, `pitch` bytes from one row to the next.
struct Target {
  std::uint8_t* pixels = nullptr;
  int pitch = 0;
};
// Writes block b of a picture into the surface at view v, every pixel an n x n block:
// `from` is the block's top-left pixel, its rows `stride` pixels apart. Each row is widened
// once, then copied to the n - 1 rows below it.
void Widen(const Target& to, const Colour* from, int stride, const Rect& b, const View& v);

// A text shown over the picture: the font's characters four times their size, white on a
// black box, centred on the play field (the picture right of x 250, where it is wider than
// that), as many characters as fit on one line. With a bar (0 to 1: how much of it is
// filled, white on grey) a thin bar runs under the text, and the box sits at the foot of
// the play field, so that the play stays in sight.
struct Overlay {
  Raster::Area box;            // in picture pixels, cut at its bottom; empty: no text
  std::vector<Colour> pixels;  // the whole box, row by row
  int Width() const { return box.right - box.left; }
};
Overlay OverlayOf(std::string_view text, Size picture, double bar = -1);

}  // namespace Graph::Present
