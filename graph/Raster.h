// The pixel rules of Graph as pure functions over a buffer of 0xRRGGBB pixels.
// Coordinates arrive as the unsigned values the callers pass; anything that falls
// outside the buffer is dropped. Each function returns the area it may have changed.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace Graph::Raster {

using Colour = std::uint32_t;  // 0xRRGGBB

struct Pixels {
  Colour* data = nullptr;
  int width = 0;
  int height = 0;
  Colour& at(int x, int y) const { return data[static_cast<std::size_t>(y) * width + x]; }
};

// Right and bottom are exclusive; an area with right <= left or bottom <= top is empty.
struct Area {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool Empty() const { return right <= left || bottom <= top; }
  void Add(const Area& other);
  bool operator==(const Area&) const = default;
};

struct Image {
  int width = 0;
  int height = 0;
  std::vector<Colour> pixels;
};

enum class LineStyle : std::uint32_t {
  Solid = 0,
  ShortDash = 1,
  Dot = 2,
  DashDot = 3,
  DashDoubleDot = 4,
  Invisible = 5,
};

// Raster operations of PutImage, by the values callers pass.
enum RasterOp : std::uint32_t {
  kCopy = 0x00CC0020,
  kAndNot = 0x00440328,
  kAnd = 0x008800C6,
  kOr = 0x00EE0086,
  kXor = 0x00660046,
};

Area Plot(const Pixels& p, std::uint32_t x, std::uint32_t y, Colour c);
// From (x1, y1) towards (x2, y2): the start point is drawn, the end point is not.
Area Line(const Pixels& p, std::uint32_t x1, std::uint32_t y1, std::uint32_t x2, std::uint32_t y2,
          Colour c, LineStyle style);
// Columns x1 .. x2-2 and rows y1 .. y2-2 (the corners are put in order first).
Area FillRect(const Pixels& p, std::uint32_t x1, std::uint32_t y1, std::uint32_t x2,
              std::uint32_t y2, Colour c);
// Columns x1 and x2-1 over rows y1 .. y2-1, rows y1 and y2-1 over columns x1 .. x2-1.
Area FrameRect(const Pixels& p, std::uint32_t x1, std::uint32_t y1, std::uint32_t x2,
               std::uint32_t y2, Colour c, LineStyle style);
// One run of characters with the top-left of the first cell at (x, y); an opaque run
// paints every cell in the background colour first.
Area Text(const Pixels& p, std::uint32_t x, std::uint32_t y, std::string_view text, Colour fg,
          bool opaque, Colour bg);
// Columns left .. right-1 and rows top .. bottom-1 of the buffer; black beyond its edge.
Image Capture(const Pixels& p, int left, int top, int right, int bottom);
// Combines the whole image with the block at (x, y) by the raster operation; an unknown
// operation copies.
Area Put(const Pixels& p, std::uint32_t x, std::uint32_t y, const Image& image, std::uint32_t op);

// The picture's fingerprint, the same on every machine: the 0xRRGGBB values in row order
// are taken two at a time as 64-bit words w (the first value in the low half; an odd last
// value alone), word i going to lane i % 4, lane k starting at k + 1 and taking each of its
// words by h = rotl((h ^ w) * 0x9E3779B97F4A7C15, 31); then h = the number of pixels takes
// the four lanes in order by the same step. Each step is one to one in h and in w, so a
// change of one or two neighbouring pixels always changes the fingerprint.
std::uint64_t Fingerprint(const Pixels& p);

}  // namespace Graph::Raster
