// The pause between two ticks, shown over the picture by the window.
#include "game/Pause.h"

#include "console/IO.h"
#include "console/Lib.h"
#include "graph/Graph.h"

namespace NovaGunner {

namespace {

// p, or the Pause key of the window.
bool IsPauseKey(const IO::KeyEvent& e) {
  constexpr std::uint32_t kCtrlAlt = IO::LEFT_CTRL | IO::RIGHT_CTRL | IO::LEFT_ALT | IO::RIGHT_ALT;
  return e.virtualKey == 0x13 || (e.character == 'p' && (e.state & kCtrlAlt) == 0);
}

}  // namespace

void PauseOnKey() {
  if (!IO::TakeKey(IsPauseKey)) return;
  Graph::SetOverlayText("PAUSED");
  do {
    Lib::Delay(20);
  } while (!IO::TakeKey(IsPauseKey));
  Graph::SetOverlayText("");
}

}  // namespace NovaGunner
