// What Init opens besides the surface: which window system shows it, and how the window
// shows it and what it does with keys. Init hands them to the window as it opens.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "console/KeyEvent.h"
#include "graph/Bindings.h"

namespace Graph {

enum class WindowSystemKind {
  Sdl,   // a real window on the display (the default)
  None,  // the surface alone: tests and --headless runs
};

// The defaults are the window as it always was: 1024 x 700, the keyboard handed back to the
// terminal. The surface, the drawing rules and GetImage never change with them.
struct WindowOptions {
  int scale = 1;            // every surface pixel an N x N block (1 to 8); 0: the largest
                            // N whose window fits the display's usable area
  bool fullscreen = false;  // start full screen; Alt+Enter and F11 toggle at any time
  bool windowKeys = false;  // keys typed in the window and game pad buttons go to the key
                            // sink; the window keeps the keyboard focus
  // The window's icon: iconSize x iconSize pixels, 0xAARRGGBB row by row; none if empty.
  std::vector<std::uint32_t> icon{};
  int iconSize = 0;
  // Where the window's keys go with windowKeys: called on the window thread with each
  // key-down (auto-repeats included) as a console key event. Empty: nowhere.
  std::function<void(const IO::KeyEvent& event)> keySink{};
  // Which window keys and pad buttons give which of the game's keys (with windowKeys), and
  // the window's own keys: the mute key and the screenshot key, in any window.
  Bindings bindings{};
  // Called on the window thread when the mute key silences the sound (TRUE) or gives it
  // back; the window shows a note of it for a moment.
  std::function<void(bool muted)> muteSink{};
  bool keepAbove = true;  // kept above the other windows
  // Called on the window thread when the window closes other than by Exit: its close
  // box, the window manager's close, or another client destroying it. Empty: nothing.
  std::function<void()> closed{};
};

}  // namespace Graph
