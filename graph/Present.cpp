#include "graph/Present.h"

#include <algorithm>
#include <cstring>

#include "graph/Font.h"

namespace Graph::Present {

namespace {

// The overlay text: its characters' size, the black around them, and the play field's left
// edge in the picture (the text is centred right of it).
constexpr int kOverlayScale = 4, kOverlayMargin = 16, kFieldLeft = 250;
// The bar: its thickness, and the gap above it.
constexpr int kBarHeight = 4, kBarGap = 8;
constexpr Colour kBarEmpty = 0x555555;

template <int N>
void WidenRow(std::uint32_t* to, const Colour* from, int w, int n) {
  const int k = N ? N : n;
  for (int i = 0; i < w; ++i, to += k)
    for (int j = 0; j < k; ++j) to[j] = from[i];
}

}  // namespace

View ViewOf(Size surface, Size picture, int scale, bool fullscreen) {
  if (!fullscreen) return View{scale, 0, 0};
  const int n = std::max(1, std::min(surface.w / picture.w, surface.h / picture.h));
  return View{n, std::max(0, (surface.w - n * picture.w) / 2),
              std::max(0, (surface.h - n * picture.h) / 2)};
}

Rect Visible(const View& v, Size surface, Size picture, const Raster::Area& a) {
  const int right = std::min({a.right, (surface.w - v.x) / v.n, picture.w});
  const int bottom = std::min({a.bottom, (surface.h - v.y) / v.n, picture.h});
  return Rect{a.left, a.top, std::max(0, right - a.left), std::max(0, bottom - a.top)};
}

std::array<Rect, 4> Around(const View& v, Size surface, Size picture) {
  const int right = v.x + picture.w * v.n, bottom = v.y + picture.h * v.n;
  return {Rect{0, 0, surface.w, v.y}, Rect{0, bottom, surface.w, surface.h - bottom},
          Rect{0, v.y, v.x, bottom - v.y}, Rect{right, v.y, surface.w - right, bottom - v.y}};
}

int FittingScale(Size usable, Size frame, Size picture) {
  const int n = std::min((usable.w - frame.w) / picture.w, (usable.h - frame.h) / picture.h);
  return std::clamp(n, 1, kMaxScale);
}

Rect Overlap(const Rect& a, const Raster::Area& b) {
  const int left = std::max(a.x, b.left), top = std::max(a.y, b.top);
  const int right = std::min(a.x + a.w, b.right), bottom = std::min(a.y + a.h, b.bottom);
  if (right <= left || bottom <= top) return Rect{};
  return Rect{left, top, right - left, bottom - top};
}

void Shown::Take(const Colour* from, Size size, const Rect& r, bool whole,
                 std::vector<Rect>& blocks) {
  const int width = size.w;
  const std::size_t pictureSize = static_cast<std::size_t>(width) * size.h;
  if (pixels_.size() != pictureSize || width_ != width)
    pixels_.assign(pictureSize, 0), width_ = width, whole = true;
  auto at = [width](auto* picture, int x, int y) {
    return picture + static_cast<std::size_t>(y) * width + x;
  };
  auto take = [&](const Rect& b) {
    for (int y = b.y; y < b.y + b.h; ++y)
      std::memcpy(at(pixels_.data(), b.x, y), at(from, b.x, y), static_cast<std::size_t>(b.w) * 4);
  };
  blocks.clear();
  if (whole) return take(r), blocks.push_back(r);
  // A run still open is listed once the row below does not continue it.
  auto flush = [&] {
    for (const Rect& b : open_)
      if (b.w > 0) blocks.push_back(b);
  };
  open_.clear();
  const int right = r.x + r.w, bottom = r.y + r.h;
  for (int top = r.y; top < bottom; top = top / kTile * kTile + kTile) {
    const int rows = std::min(top / kTile * kTile + kTile, bottom) - top;
    below_.clear();
    auto add = [&](int left, int columns) {
      take(Rect{left, top, columns, rows});
      for (Rect& b : open_)
        if (b.x == left && b.w == columns) {
          below_.push_back(Rect{left, b.y, columns, b.h + rows});
          b.w = 0;
          return;
        }
      below_.push_back(Rect{left, top, columns, rows});
    };
    int run = -1;  // the left of a run of changed tiles
    for (int left = r.x;;) {
      const int next = std::min(left / kTile * kTile + kTile, right);
      bool differs = false;
      for (int y = top; left < right && y < top + rows && !differs; ++y)
        differs = std::memcmp(at(from, left, y), at(pixels_.data(), left, y),
                              static_cast<std::size_t>(next - left) * 4) != 0;
      if (differs && run < 0) run = left;
      if (!differs && run >= 0) add(run, left - run), run = -1;
      if (left >= right) break;
      left = next;
    }
    flush();
    open_.swap(below_);
  }
  flush();
}

void Widen(const Target& to, const Colour* from, int stride, const Rect& b, const View& v) {
  const int n = v.n;
  const std::size_t rowBytes = static_cast<std::size_t>(b.w) * n * 4;
  for (int row = 0; row < b.h; ++row, from += stride) {
    std::uint8_t* first = to.pixels + static_cast<std::size_t>(v.y + (b.y + row) * n) * to.pitch +
                          static_cast<std::size_t>(v.x + b.x * n) * 4;
    auto* out = reinterpret_cast<std::uint32_t*>(first);
    switch (n) {
      case 2:
        WidenRow<2>(out, from, b.w, n);
        break;
      case 3:
        WidenRow<3>(out, from, b.w, n);
        break;
      case 4:
        WidenRow<4>(out, from, b.w, n);
        break;
      default:
        WidenRow<0>(out, from, b.w, n);
        break;
    }
    for (int copy = 1; copy < n; ++copy)
      std::memcpy(first + static_cast<std::size_t>(copy) * to.pitch, first, rowBytes);
  }
}

Overlay OverlayOf(std::string_view text, Size picture, double bar) {
  const int width = picture.w, depth = picture.h;
  const int fieldLeft = width > kFieldLeft ? kFieldLeft : 0;
  const int cellWidth = Font::kCellWidth * kOverlayScale;
  const int cellHeight = Font::kCellHeight * kOverlayScale;
  const int room = std::max(0, (width - fieldLeft - 2 * kOverlayMargin) / cellWidth);
  const int n =
      static_cast<int>(std::min<std::size_t>(text.size(), static_cast<std::size_t>(room)));
  Overlay o;
  if (n == 0) return o;
  const bool withBar = bar >= 0;
  const int w = n * cellWidth + 2 * kOverlayMargin,
            h = cellHeight + 2 * kOverlayMargin + (withBar ? kBarGap + kBarHeight : 0);
  const int left = fieldLeft + (width - fieldLeft - w) / 2,
            top = std::max(0, withBar ? depth - h - kOverlayMargin : (depth - h) / 2);
  o.box = Raster::Area{left, top, left + w, std::min(depth, top + h)};
  o.pixels.assign(static_cast<std::size_t>(w) * h, 0);
  for (int i = 0; i < n; ++i)
    for (int y = 0; y < cellHeight; ++y)
      for (int x = 0; x < cellWidth; ++x) {
        const std::uint8_t row =
            Font::kGlyphs[static_cast<unsigned char>(text[i])][y / kOverlayScale];
        if (row & (0x80 >> (x / kOverlayScale)))
          o.pixels[static_cast<std::size_t>(kOverlayMargin + y) * w + kOverlayMargin +
                   i * cellWidth + x] = 0xFFFFFF;
      }
  if (withBar) {
    const int length = w - 2 * kOverlayMargin;
    const int filled = static_cast<int>(std::min(bar, 1.0) * length + 0.5);
    for (int y = h - kOverlayMargin - kBarHeight; y < h - kOverlayMargin; ++y)
      for (int x = 0; x < length; ++x)
        o.pixels[static_cast<std::size_t>(y) * w + kOverlayMargin + x] =
            x < filled ? 0xFFFFFF : kBarEmpty;
  }
  return o;
}

}  // namespace Graph::Present
