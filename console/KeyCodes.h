// The one-byte key codes RdKey gives for console key events: a character key gives its
// character; a key without one gives 0 and then a second code (its scan code, or its
// entry in the Ctrl or Alt table).
#pragma once

#include "console/KeyEvent.h"

namespace IO {

struct KeyCodes {
  int first = -1;   // -1: RdKey skips the event (a modifier alone, Shift with a non-character)
  CHAR second = 0;  // given by the next RdKey when first is 0; 0 when there is none
};

// The codes of one key-down event.
KeyCodes CodesOf(const KeyEvent& e);

// The other way: a key-down whose codes are code and then, for code 0, second. Code 0
// with second 0 is a key that gives a lone 0 (Ctrl+A).
KeyEvent EventFor(CHAR code, CHAR second = 0);

}  // namespace IO
