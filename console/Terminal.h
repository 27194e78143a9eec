// The terminal as a key source: standard input read through TermDecoder, and the clock
// whose pauses go on reading it.
#pragma once

#include "console/IO.h"
#include "console/Lib.h"

namespace IO {

// The key source over standard input (one per process, made on first use). Its start puts
// the terminal (standard input, else /dev/tty) into raw mode, restored on every exit; where
// standard input is the terminal and the terminal confirms the kitty keyboard protocol,
// that protocol is used (NOVA_LEGACY_KEYS=1 keeps to legacy sequences).
KeySource& TerminalKeys();

// Pauses that read the terminal's input as it comes, so that what is typed during a pause
// keeps its arrival time; before TerminalKeys has started they only sleep.
Lib::Clock& TerminalClock();

}  // namespace IO
