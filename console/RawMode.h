// Raw mode on the terminal and its restore on every way out: normal exit, std::terminate,
// fatal signals, Ctrl+Z and fg. Everything reached from a signal handler is
// async-signal-safe: atomics, write(2), tcsetattr, sigaction, raise.
#pragma once

#include "console/KeyEvent.h"

namespace IO::detail {

// Raw mode on standard input if it is a terminal, else on /dev/tty; installs the restore
// for normal exit, std::terminate and signals. TRUE when raw mode was set now on standard
// input itself (where the terminal's answers to a query arrive); later calls do nothing.
bool EnterRawMode();

// The terminal speaks the kitty keyboard protocol: switched on now, and again after each
// Ctrl+Z and fg; switched off with raw mode.
void KittyOn();

// The signal a terminal makes of Ctrl+C, Ctrl+Z or Ctrl+\ (0 for any other key).
int SignalOf(const KeyEvent& e);

}  // namespace IO::detail
