// The helpers the screens share: titles in big letters, the wrong-key reply and the
// session. Only the letters, screens and program start use these.
#pragma once

#include <span>

#include "game/NovaGunner.h"

namespace NovaGunner {

// One big letter of a title and the column it stands at.
struct TitleLetter {
  void (*draw)(Object, bool);
  INTEGER x;
};

// Draws the letters of a title, in order, on the row at y.
void DrawTitle(std::span<const TitleLetter> title, INTEGER y);

// The reply to a key the menu or the help page does not know: shown for ms, then
// painted over with the background colour.
void WrongKeyReply(CARDINAL ms);

// Everything of one run after the window has opened: sound, sprites, the story, the
// menu and, when chosen, one play with its result screen and the credits. With again,
// the menu comes back after each play's result screen, and leaving it ends with the
// credits once a play was made.
void Session(bool again = false);
// Every piece of game state back at the program's start, the sprite images kept: the
// next play is the same game as the first, as every run's is.
void ResetForAnotherPlay();

}  // namespace NovaGunner
