// Which display the window goes to: SDL's video started on the first display server that
// can show a window, and what that start needs from the session around it.
#pragma once

namespace Graph::detail {

enum class VideoDriver { None, X11, Wayland };

// SDL's video start connects to the session bus. Where there is none, says so (see the
// definition); called before any other thread of the program reads the environment.
void NoBusAutolaunch();
// Starts SDL's video on a real display: X11 or Wayland (None, the video not started, when
// there is no such display or none works).
VideoDriver StartVideo();

}  // namespace Graph::detail
