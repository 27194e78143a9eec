// The terminal behind IO: raw mode with its restore on every exit, and the key source
// that reads standard input through TermDecoder.
#pragma once

#include <time.h>

#include "console/IO.h"

namespace IO::detail {

// The key source over standard input (made on first use).
KeyEventSource& TerminalSource();

// Raw mode on standard input if it is a terminal, else on /dev/tty; installs the
// restore for normal exit, std::terminate and signals. Later calls do nothing.
void EnterRawMode();

void SetFatalHook(void (*hook)(int signal));

// Sleeps to the absolute CLOCK_MONOTONIC deadline while reading terminal input.
void SleepReadingInput(const timespec& deadline);

// IO::PushKey: the event joins the terminal source's keys; any thread.
void PushKey(const KeyEvent& event);

}  // namespace IO::detail
