#include "graph/Raster.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "graph/Font.h"

namespace Graph::Raster {

namespace {

using Wide = std::int64_t;
constexpr std::uint32_t kNear = 1u << 16;

bool Inside(const Pixels& p, Wide x, Wide y) {
  return x >= 0 && y >= 0 && x < p.width && y < p.height;
}

// Clips the half-open block [l, r) x [t, b) to the buffer.
Area Clip(const Pixels& p, Wide l, Wide t, Wide r, Wide b) {
  Area a;
  a.left = static_cast<int>(std::clamp<Wide>(l, 0, p.width));
  a.top = static_cast<int>(std::clamp<Wide>(t, 0, p.height));
  a.right = static_cast<int>(std::clamp<Wide>(r, 0, p.width));
  a.bottom = static_cast<int>(std::clamp<Wide>(b, 0, p.height));
  if (a.Empty()) return Area{};
  return a;
}

void Fill(const Pixels& p, const Area& a, Colour c) {
  for (int y = a.top; y < a.bottom; ++y)
    std::fill(&p.at(a.left, y), &p.at(a.left, y) + (a.right - a.left), c);
}

// On/off run lengths of the dashed styles, in pixels, as a cosmetic pen draws them.
struct Pattern {
  int runs[6];
  int count;
};
const Pattern* PatternOf(LineStyle style) {
  static const Pattern kDash{{18, 6}, 2};
  static const Pattern kDot{{3, 3}, 2};
  static const Pattern kDashDot{{9, 6, 3, 6}, 4};
  static const Pattern kDashDotDot{{9, 3, 3, 3, 3, 3}, 6};
  switch (style) {
    case LineStyle::ShortDash:
      return &kDash;
    case LineStyle::Dot:
      return &kDot;
    case LineStyle::DashDot:
      return &kDashDot;
    case LineStyle::DashDoubleDot:
      return &kDashDotDot;
    default:
      return nullptr;
  }
}

// Walks a pattern one pixel at a time; pixels of even runs are drawn.
class Pen {
 public:
  explicit Pen(LineStyle style)
      : pattern_(PatternOf(style)), invisible_(style == LineStyle::Invisible) {}
  bool Next() {
    if (invisible_) return false;
    if (!pattern_) return true;
    bool on = run_ % 2 == 0;
    if (++step_ >= pattern_->runs[run_]) {
      step_ = 0;
      run_ = (run_ + 1) % pattern_->count;
    }
    return on;
  }

 private:
  const Pattern* pattern_;
  bool invisible_;
  int run_ = 0;
  int step_ = 0;
};

class Tracker {
 public:
  void Mark(Wide x, Wide y) {
    left_ = std::min(left_, x);
    top_ = std::min(top_, y);
    right_ = std::max(right_, x + 1);
    bottom_ = std::max(bottom_, y + 1);
  }
  Area Result() const {
    if (right_ <= left_) return Area{};
    return Area{static_cast<int>(left_), static_cast<int>(top_), static_cast<int>(right_),
                static_cast<int>(bottom_)};
  }

 private:
  Wide left_ = INT32_MAX, top_ = INT32_MAX, right_ = INT32_MIN, bottom_ = INT32_MIN;
};

// Bresenham from (x1, y1) to (x2, y2), end point excluded, through a pen.
void Walk(const Pixels& p, Wide x1, Wide y1, Wide x2, Wide y2, Colour c, Pen& pen, Tracker& t) {
  Wide dx = std::llabs(x2 - x1), dy = -std::llabs(y2 - y1);
  Wide sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
  Wide err = dx + dy;
  Wide x = x1, y = y1;
  while (x != x2 || y != y2) {
    if (pen.Next() && Inside(p, x, y)) {
      p.at(static_cast<int>(x), static_cast<int>(y)) = c;
      t.Mark(x, y);
    }
    Wide e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y += sy;
    }
  }
}

}  // namespace

void Area::Add(const Area& other) {
  if (other.Empty()) return;
  if (Empty()) {
    *this = other;
    return;
  }
  left = std::min(left, other.left);
  top = std::min(top, other.top);
  right = std::max(right, other.right);
  bottom = std::max(bottom, other.bottom);
}

Area Plot(const Pixels& p, std::uint32_t x, std::uint32_t y, Colour c) {
  if (!Inside(p, x, y)) return Area{};
  p.at(static_cast<int>(x), static_cast<int>(y)) = c;
  return Area{static_cast<int>(x), static_cast<int>(y), static_cast<int>(x) + 1,
              static_cast<int>(y) + 1};
}

Area Line(const Pixels& p, std::uint32_t x1, std::uint32_t y1, std::uint32_t x2, std::uint32_t y2,
          Colour c, LineStyle style) {
  Pen pen(style);
  if (x1 == x2 && style == LineStyle::Solid) {  // the common case: a vertical run, clipped at once
    Wide top = y1 < y2 ? y1 : Wide{y2} + 1, bottom = y1 < y2 ? y2 : Wide{y1} + 1;
    Area a = Clip(p, x1, top, Wide{x1} + 1, bottom);
    Fill(p, a, c);
    return a;
  }
  Tracker t;
  Wide ax = x1, ay = y1, bx = x2, by = y2;
  if (std::max({x1, y1, x2, y2}) >= kNear) {
    // A far-off end would make a long walk over nothing: clip the segment to a box just
    // around the buffer first, so that both ends it walks between lie on or outside it.
    double t0 = 0, t1 = 1, dx = bx - ax, dy = by - ay;
    auto edge = [&](double pp, double q) {
      if (pp == 0) return q >= 0;
      double r = q / pp;
      if (pp < 0) {
        if (r > t1) return false;
        t0 = std::max(t0, r);
      } else {
        if (r < t0) return false;
        t1 = std::min(t1, r);
      }
      return true;
    };
    if (!edge(-dx, ax + 1.0) || !edge(dx, p.width - ax + 0.0) || !edge(-dy, ay + 1.0) ||
        !edge(dy, p.height - ay + 0.0))
      return Area{};
    Wide nbx = std::llround(ax + t1 * dx), nby = std::llround(ay + t1 * dy);
    ax = std::llround(ax + t0 * dx);
    ay = std::llround(ay + t0 * dy);
    bx = nbx;
    by = nby;
  }
  Walk(p, ax, ay, bx, by, c, pen, t);
  return t.Result();
}

Area FillRect(const Pixels& p, std::uint32_t x1, std::uint32_t y1, std::uint32_t x2,
              std::uint32_t y2, Colour c) {
  Wide l = std::min(x1, x2), r = std::max(x1, x2), t = std::min(y1, y2), b = std::max(y1, y2);
  Area a = Clip(p, l, t, r - 1, b - 1);
  Fill(p, a, c);
  return a;
}

Area FrameRect(const Pixels& p, std::uint32_t x1, std::uint32_t y1, std::uint32_t x2,
               std::uint32_t y2, Colour c, LineStyle style) {
  Wide l = std::min(x1, x2), r = Wide{std::max(x1, x2)} - 1, t = std::min(y1, y2),
       b = Wide{std::max(y1, y2)} - 1;
  if (r < l || b < t) return Area{};
  Pen pen(style);
  Tracker tr;
  // Clockwise from the top-left corner, each corner drawn once.
  auto dot = [&](Wide x, Wide y) {
    if (pen.Next() && Inside(p, x, y)) {
      p.at(static_cast<int>(x), static_cast<int>(y)) = c;
      tr.Mark(x, y);
    }
  };
  if (style == LineStyle::Solid) {  // plain outline: four clipped runs
    Area box = Clip(p, l, t, r + 1, b + 1);
    if (box.Empty()) return Area{};
    for (Area side : {Clip(p, l, t, r + 1, t + 1), Clip(p, l, b, r + 1, b + 1),
                      Clip(p, l, t, l + 1, b + 1), Clip(p, r, t, r + 1, b + 1)})
      Fill(p, side, c);
    return box;
  }
  for (Wide x = l; x <= r && x < p.width; ++x) dot(x, t);
  for (Wide y = t + 1; y <= b && y < p.height; ++y) dot(r, y);
  if (b > t)
    for (Wide x = r - 1; x >= l; --x) dot(x, b);
  if (r > l)
    for (Wide y = b - 1; y > t; --y) dot(l, y);
  return tr.Result();
}

Area Text(const Pixels& p, std::uint32_t x, std::uint32_t y, std::string_view text, Colour fg,
          bool opaque, Colour bg) {
  const int w = Font::kCellWidth, h = Font::kCellHeight;
  Area all = Clip(p, x, y, Wide{x} + Wide{w} * static_cast<Wide>(text.size()), Wide{y} + h);
  if (all.Empty()) return Area{};
  for (std::size_t i = 0; i < text.size(); ++i) {
    Wide cx = Wide{x} + Wide{w} * static_cast<Wide>(i);
    if (cx >= p.width) break;
    const std::uint8_t* rows = Font::kGlyphs[static_cast<unsigned char>(text[i])];
    for (int row = 0; row < h; ++row) {
      Wide py = Wide{y} + row;
      if (py >= p.height) break;
      for (int col = 0; col < w; ++col) {
        Wide px = cx + col;
        if (px >= p.width) break;
        bool ink = rows[row] & (0x80 >> col);
        if (ink)
          p.at(static_cast<int>(px), static_cast<int>(py)) = fg;
        else if (opaque)
          p.at(static_cast<int>(px), static_cast<int>(py)) = bg;
      }
    }
  }
  return all;
}

Image Capture(const Pixels& p, int left, int top, int right, int bottom) {
  Image img;
  img.width = std::max(0, right - left);
  img.height = std::max(0, bottom - top);
  img.pixels.assign(static_cast<std::size_t>(img.width) * img.height, 0);
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x)
      if (Inside(p, Wide{left} + x, Wide{top} + y))
        img.pixels[static_cast<std::size_t>(y) * img.width + x] = p.at(left + x, top + y);
  return img;
}

Area Put(const Pixels& p, std::uint32_t x, std::uint32_t y, const Image& image, std::uint32_t op) {
  Area a = Clip(p, x, y, Wide{x} + image.width, Wide{y} + image.height);
  if (a.Empty()) return a;
  for (int py = a.top; py < a.bottom; ++py) {
    const Colour* src =
        &image.pixels[static_cast<std::size_t>(py - y) * image.width + (a.left - x)];
    Colour* dst = &p.at(a.left, py);
    const int n = a.right - a.left;
    switch (op) {
      case kAndNot:
        for (int i = 0; i < n; ++i) dst[i] = src[i] & ~dst[i] & 0xFFFFFF;
        break;
      case kAnd:
        for (int i = 0; i < n; ++i) dst[i] &= src[i];
        break;
      case kOr:
        for (int i = 0; i < n; ++i) dst[i] |= src[i];
        break;
      case kXor:
        for (int i = 0; i < n; ++i) dst[i] ^= src[i];
        break;
      default:
        std::copy(src, src + n, dst);
        break;
    }
  }
  return a;
}

std::uint64_t Fingerprint(const Pixels& p) {
  constexpr std::uint64_t K = 0x9E3779B97F4A7C15u;
  auto step = [](std::uint64_t h, std::uint64_t w) { return std::rotl((h ^ w) * K, 31); };
  const std::size_t count = static_cast<std::size_t>(p.width) * p.height;
  const Colour* c = p.data;
  auto pair = [c](std::size_t i) {  // c[i] | c[i + 1] << 32, in one load
    std::uint64_t w;
    std::memcpy(&w, c + i, sizeof w);
    return std::endian::native == std::endian::little ? w : std::rotl(w, 32);
  };
  auto word = [&](std::size_t i) { return i + 1 < count ? pair(i) : std::uint64_t{c[i]}; };
  // Four chains in plain variables: the processor runs their multiplications side by
  // side (the compiler's own vectorising of an array of lanes only slows them down).
  std::uint64_t l0 = 1, l1 = 2, l2 = 3, l3 = 4;
  std::size_t i = 0;
  for (; i + 8 <= count; i += 8) {
    l0 = step(l0, pair(i));
    l1 = step(l1, pair(i + 2));
    l2 = step(l2, pair(i + 4));
    l3 = step(l3, pair(i + 6));
  }
  if (i < count) l0 = step(l0, word(i));
  if (i + 2 < count) l1 = step(l1, word(i + 2));
  if (i + 4 < count) l2 = step(l2, word(i + 4));
  if (i + 6 < count) l3 = step(l3, word(i + 6));
  std::uint64_t h = count;
  for (std::uint64_t lane : {l0, l1, l2, l3}) h = step(h, lane);
  return h;
}

}  // namespace Graph::Raster
