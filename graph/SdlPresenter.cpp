#include "graph/SdlPresenter.h"

#include <chrono>
#include <cstring>
#include <mutex>

namespace Graph::detail {

namespace {

Present::View ViewIn(const SDL_Surface* s, Present::Size picture, int scale, bool fullscreen) {
  return Present::ViewOf({s->w, s->h}, picture, scale, fullscreen);
}

}  // namespace

void SdlPresenter::PresentChanges(SDL_Window* window, int scale, bool fullscreen) {
  auto start = std::chrono::steady_clock::now();
  SDL_Surface* s = SDL_GetWindowSurface(window);
  Present::Rect r;
  Present::View v;
  {
    std::lock_guard lock(shared_.windowLock);
    shared_.wakePending = false;
    if (shared_.held) return;  // the changes wait, kept in dirty, for the letting go
    Raster::Area area = shared_.dirty;
    const Raster::Area overlay = TakeOverlay();
    area.Add(overlay);
    if (s) {
      v = ViewIn(s, Picture(), scale, fullscreen);
      r = Present::Visible(v, {s->w, s->h}, Picture(), area);
    }
    shared_.dirty = Raster::Area{};
    // Where the overlay came or went the picture is shown again, changed or not.
    if (!r.Empty()) Take(s, shared_.window.data(), r, v, !overlay.Empty());
  }
  if (!r.Empty()) {
    Finish(s, v);
    if (!changed_.empty())
      SDL_UpdateWindowSurfaceRects(window, changed_.data(), static_cast<int>(changed_.size()));
  }
  shared_.presentNanoseconds += static_cast<std::uint64_t>(
      std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() - start)
          .count());
  shared_.presents++;
}

// Window lock, then surface lock.
void SdlPresenter::Repaint(SDL_Window* window, int scale, bool fullscreen) {
  SDL_Surface* s = SDL_GetWindowSurface(window);
  if (!s) return;
  Present::Rect r;
  const Present::View v = ViewIn(s, Picture(), scale, fullscreen);
  {
    std::lock_guard windowLock(shared_.windowLock);
    std::lock_guard surfaceLock(shared_.surfaceLock);
    TakeOverlay();
    r = Present::Visible(v, {s->w, s->h}, Picture(),
                         Raster::Area{0, 0, shared_.width, shared_.depth});
    if (!r.Empty()) Take(s, shared_.surface.data(), r, v, true);
  }
  if (!r.Empty()) Finish(s, v);
  if (fullscreen || scale != 1)
    for (const Present::Rect& b : Present::Around(v, {s->w, s->h}, Picture())) {
      SDL_Rect band{b.x, b.y, b.w, b.h};
      if (!b.Empty()) SDL_FillRect(s, &band, 0);
    }
  SDL_UpdateWindowSurface(window);
}

Raster::Area SdlPresenter::TakeOverlay() {
  if (shared_.overlayVersion == overlayVersion_) return Raster::Area{};
  overlayVersion_ = shared_.overlayVersion;
  Raster::Area changed = overlay_.box;
  const bool note = !shared_.noteText.empty();  // the window's own note hides the bar
  overlay_ = Present::OverlayOf(note ? shared_.noteText : shared_.overlayText, Picture(),
                                note ? -1 : shared_.overlayBar);
  changed.Add(overlay_.box);
  return changed;
}

void SdlPresenter::Take(SDL_Surface* s, const Raster::Colour* from, const Present::Rect& r,
                        const Present::View& v, bool whole) {
  if (v.n != 1) return shown_.Take(from, Picture(), r, whole, blocks_);
  const int stride = shared_.width;
  SDL_ConvertPixels(
      r.w, r.h, SDL_PIXELFORMAT_RGB888, from + static_cast<std::size_t>(r.y) * stride + r.x,
      stride * 4, s->format->format,
      static_cast<Uint8*>(s->pixels) + static_cast<std::size_t>(v.y + r.y) * s->pitch +
          (v.x + r.x) * s->format->BytesPerPixel,
      s->pitch);
  shown_.Forget();  // the next scaled view starts whole
  blocks_.assign(1, r);
}

void SdlPresenter::Finish(SDL_Surface* s, const Present::View& v) {
  changed_.clear();
  for (const Present::Rect& b : blocks_) {
    if (v.n != 1) ShowBlock(s, shown_.At(b.x, b.y), shared_.width, b, v);
    changed_.push_back(SDL_Rect{v.x + b.x * v.n, v.y + b.y * v.n, b.w * v.n, b.h * v.n});
  }
  // The overlay over the parts of it just written from the picture.
  for (const Present::Rect& b : blocks_) {
    const Present::Rect o = Present::Overlap(b, overlay_.box);
    if (o.Empty()) continue;
    const std::size_t at = static_cast<std::size_t>(o.y - overlay_.box.top) * overlay_.Width() +
                           (o.x - overlay_.box.left);
    ShowBlock(s, &overlay_.pixels[at], overlay_.Width(), o, v);
  }
}

// 0xRRGGBB is the surface's own format on a 24-bit display; any other goes through SDL's
// conversion row by row.
void SdlPresenter::ShowBlock(SDL_Surface* to, const Raster::Colour* from, int stride,
                             const Present::Rect& b, const Present::View& v) {
  const SDL_PixelFormat& f = *to->format;
  if (f.BytesPerPixel == 4 && f.Rmask == 0xFF0000 && f.Gmask == 0xFF00 && f.Bmask == 0xFF)
    return Present::Widen({static_cast<std::uint8_t*>(to->pixels), to->pitch}, from, stride, b, v);
  const int n = v.n, bpp = f.BytesPerPixel;
  const std::size_t rowBytes = static_cast<std::size_t>(b.w) * n * bpp;
  converted_.resize(static_cast<std::size_t>(b.w) * bpp);
  for (int row = 0; row < b.h; ++row, from += stride) {
    Uint8* first = static_cast<Uint8*>(to->pixels) +
                   static_cast<std::size_t>(v.y + (b.y + row) * n) * to->pitch +
                   static_cast<std::size_t>(v.x + b.x * n) * bpp;
    SDL_ConvertPixels(b.w, 1, SDL_PIXELFORMAT_RGB888, from, b.w * 4, f.format, converted_.data(),
                      b.w * bpp);
    Uint8* out = first;
    for (int i = 0; i < b.w; ++i)
      for (int j = 0; j < n; ++j, out += bpp)
        std::memcpy(out, &converted_[static_cast<std::size_t>(i) * bpp], bpp);
    for (int copy = 1; copy < n; ++copy)
      std::memcpy(first + static_cast<std::size_t>(copy) * to->pitch, first, rowBytes);
  }
}

}  // namespace Graph::detail
