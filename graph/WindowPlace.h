// Where the window goes on the display and how large it is: its frame, the scale that
// fits, full screen. Window thread only.
#pragma once

#include <SDL2/SDL.h>

#include "graph/Present.h"

namespace Graph::detail {

class WindowPlace {
 public:
  // The picture's size, and (x, y), where the frame's corner goes.
  WindowPlace(Present::Size picture, int x, int y) : picture_(picture), x_(x), y_(y) {}

  // The scale to make the window at: 0 is taken as the largest that fits until the frame
  // is known.
  int Made(int scale);
  // Once the window is shown: its size and place as the scale asked (`managed`: a window
  // manager runs, and frames it). Scale 1: the outer size, frame included, is the picture's
  // size, the frame's corner at (x, y). Scaled: the whole client area, scale x the
  // picture, the frame's corner at (x, y), moved into the usable area where it fits there.
  void Place(SDL_Window* window, int scale, bool managed);
  // Full screen on or off. `ownSize`: no window manager on X11, where SDL would only
  // believe the window full screen (the X window keeps its size), so the window itself is
  // moved over the whole display and put back afterwards.
  void SetFullscreen(SDL_Window* window, bool on, bool ownSize);

  int Scale() const { return scale_; }  // when not full screen
  bool Fullscreen() const { return fullscreen_; }

 private:
  // The largest scale whose window, with a frame of these sizes, fits the usable area.
  int FittingScale(SDL_Window* window, int top, int left, int bottom, int right) const;
  // The frame's sizes; FALSE when there is no frame or none came.
  bool WaitForFrame(SDL_Window* window, bool managed, int& top, int& left, int& bottom,
                    int& right) const;

  Present::Size picture_;
  int x_, y_;
  int scale_ = 1;
  bool fullscreen_ = false;
  SDL_Rect windowed_{};  // the window's place before full screen of its own size
};

}  // namespace Graph::detail
