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

}  // namespace IO
