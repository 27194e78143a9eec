// --pause: p, or the window's Pause key, holds the play between two ticks.
#pragma once

namespace NovaGunner {

// Between two ticks: takes a waiting p (or Pause) out of the keys before the game could
// read it, and then holds: the game reads nothing and draws nothing until the key comes
// again; keys typed meanwhile wait in their order. So a paused play records and replays
// like any other.
void PauseOnKey();

}  // namespace NovaGunner
