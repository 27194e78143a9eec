// Positions of the big title letters and the helpers the screens share. Only the
// letters, screens and program start use these; the rest of the game never needs them.
#pragma once

#include "game/NovaGunner.h"

namespace NovaGunner {

// One position object per letter that some title draws; only x and y are used, and
// each screen sets them right before drawing.
extern Object a, e, g, i, m, y, w, n, o, r, v, u, nn, nnn, ee;

// The last key read on the help page.
extern unsigned char z;

// The reply to a key the menu or the help page does not know: shown for ms, then
// painted over with the background colour.
void WrongKeyReply(CARDINAL ms);

// Everything of one run after the window has opened: sound, sprites, the story, the
// menu and, when chosen, one play with its result screen and the credits.
void Session();

}  // namespace NovaGunner
