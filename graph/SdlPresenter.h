// The window's picture shown in SDL's window surface by the plan of Present: the changed
// areas as the server reports them, the whole picture again after an expose, and the overlay
// text over it. Window thread only, but for the locks it takes.
#pragma once

#include <SDL2/SDL.h>

#include <cstdint>
#include <vector>

#include "graph/Present.h"
#include "graph/WindowSystem.h"

namespace Graph::detail {

class SdlPresenter {
 public:
  explicit SdlPresenter(WindowShared& shared) : shared_(shared) {}

  // Shows what the server drew since the last present, and a new overlay text. The window
  // shows the picture at `scale`, or full screen (see Present::ViewOf).
  void PresentChanges(SDL_Window* window, int scale, bool fullscreen);
  // The whole window again from the surface, black around the picture.
  void Repaint(SDL_Window* window, int scale, bool fullscreen);

 private:
  Present::Size Picture() const { return {shared_.width, shared_.depth}; }
  // Under the lock: a new overlay text made into overlay_. The area where the window must
  // show it or the picture again (empty when the text did not change).
  Raster::Area TakeOverlay();
  // Under the lock: block r of a picture into the surface, plainly at scale 1; scaled, the
  // changed parts taken into shown_, for Finish to widen after the lock.
  void Take(SDL_Surface* s, const Raster::Colour* from, const Present::Rect& r,
            const Present::View& v, bool whole);
  // Then the window's changed parts are in changed_, and the overlay is over them.
  void Finish(SDL_Surface* s, const Present::View& v);
  void ShowBlock(SDL_Surface* to, const Raster::Colour* from, int stride, const Present::Rect& b,
                 const Present::View& v);

  WindowShared& shared_;
  Present::Shown shown_;               // the picture as the surface shows it, when scaled
  std::vector<Present::Rect> blocks_;  // its changed parts, in picture pixels
  std::vector<SDL_Rect> changed_;      // the same in the window's pixels
  std::vector<Uint8> converted_;       // a row in a surface format other than 0xRRGGBB
  std::uint64_t overlayVersion_ = 0;   // of the text in overlay_
  Present::Overlay overlay_;
};

}  // namespace Graph::detail
