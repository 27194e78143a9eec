#include "graph/WindowPlace.h"

#include <algorithm>

namespace Graph::detail {

int WindowPlace::Made(int scale) {
  scale_ = scale == 0 ? FittingScale(nullptr, 0, 0, 0, 0) : scale;
  return scale_;
}

void WindowPlace::Place(SDL_Window* window, int scale, bool managed) {
  int top = 0, left = 0, bottom = 0, right = 0;
  if (scale == 1) {
    if (!WaitForFrame(window, managed, top, left, bottom, right)) return;
    SDL_SetWindowSize(window, std::max(1, picture_.w - left - right),
                      std::max(1, picture_.h - top - bottom));
    SDL_SetWindowPosition(window, x_ + left, y_ + top);
    return;
  }
  WaitForFrame(window, managed, top, left, bottom, right);
  if (scale == 0) {
    int n = FittingScale(window, top, left, bottom, right);
    if (n != scale_) {
      scale_ = n;
      SDL_SetWindowSize(window, picture_.w * n, picture_.h * n);
    }
  }
  SDL_Rect usable{x_, y_, 0, 0};
  SDL_GetDisplayUsableBounds(std::max(0, SDL_GetWindowDisplayIndex(window)), &usable);
  int outerW = picture_.w * scale_ + left + right;
  int outerH = picture_.h * scale_ + top + bottom;
  int x = std::clamp(x_, usable.x, std::max(usable.x, usable.x + usable.w - outerW));
  int y = std::clamp(y_, usable.y, std::max(usable.y, usable.y + usable.h - outerH));
  SDL_SetWindowPosition(window, x + left, y + top);
}

void WindowPlace::SetFullscreen(SDL_Window* window, bool on, bool ownSize) {
  if (on == fullscreen_) return;
  if (!ownSize) {
    if (SDL_SetWindowFullscreen(window, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) return;
  } else if (on) {
    SDL_Rect bounds;
    if (SDL_GetDisplayBounds(std::max(0, SDL_GetWindowDisplayIndex(window)), &bounds) != 0) return;
    SDL_GetWindowPosition(window, &windowed_.x, &windowed_.y);
    SDL_GetWindowSize(window, &windowed_.w, &windowed_.h);
    SDL_SetWindowPosition(window, bounds.x, bounds.y);
    SDL_SetWindowSize(window, bounds.w, bounds.h);
    SDL_RaiseWindow(window);
  } else {
    SDL_SetWindowSize(window, windowed_.w, windowed_.h);
    SDL_SetWindowPosition(window, windowed_.x, windowed_.y);
  }
  fullscreen_ = on;
}

int WindowPlace::FittingScale(SDL_Window* window, int top, int left, int bottom, int right) const {
  SDL_Rect usable;
  int display = window ? std::max(0, SDL_GetWindowDisplayIndex(window)) : 0;
  if (SDL_GetDisplayUsableBounds(display, &usable) != 0) return 1;
  return Present::FittingScale({usable.w, usable.h}, {left + right, top + bottom}, picture_);
}

// A window manager tells the frame's size a moment after the window is mapped.
bool WindowPlace::WaitForFrame(SDL_Window* window, bool managed, int& top, int& left, int& bottom,
                               int& right) const {
  auto framed = [&] {
    return SDL_GetWindowBordersSize(window, &top, &left, &bottom, &right) == 0 &&
           (top || left || bottom || right);
  };
  if (!managed) return false;
  for (int waited = 0; !framed() && waited < 1000; waited += 10) {
    SDL_PumpEvents();
    SDL_Delay(10);
  }
  return framed();
}

}  // namespace Graph::detail
