// IO: keys from the console as one-byte codes, and text to the console.
#pragma once

#include <cstdint>
#include <string_view>

#include "console/KeyEvent.h"

namespace IO {

using CARDINAL = std::uint32_t;
using INTEGER = std::int32_t;

extern char PrefixChar;
extern char SuffixChar;
extern bool ChopOff;
extern bool RdLnOnWr;
extern bool OK;

// Where key events come from: the terminal, or a script in tests and replays.
class KeyEventSource {
 public:
  virtual ~KeyEventSource() = default;
  // The first waiting event without removing it; FALSE when none waits.
  virtual bool Peek(KeyEvent& event) = 0;
  // Removes and returns the first waiting event, waiting for one when none waits.
  virtual KeyEvent Read() = 0;
  // Called before a poll once a run of empty polls has lasted 2 ms: a source that can
  // wait for input waits here briefly (1 ms, 2 ms after a second of nothing), returning
  // at once when input arrives.
  virtual void Idle() {}
  // Without waiting, reads the input that is ready and removes the first waiting key-down
  // for which match is TRUE, leaving the other events in their order; TRUE when one was
  // taken, and also, with nothing taken, once the input has ended (as Peek then reports
  // a key), so that a loop waiting for a key ends. A source without the means says FALSE.
  virtual bool Take(bool (*match)(const KeyEvent& event)) {
    (void)match;
    return false;
  }
};

// Uses source for all later key reads (nullptr: back to the terminal). The pending
// key is cleared. The source must outlive its use.
void SetKeySource(KeyEventSource* source);

// A key from elsewhere than the terminal (the window's keys, a game pad), from any thread:
// it joins the keys typed in the terminal in the order they came, wakes a read or a pause
// waiting for input, and is read like any terminal key. Ctrl+C, Ctrl+Z and Ctrl+\ raise
// their signals at once, as a terminal does. While keys come from a source set with
// SetKeySource the pushed keys wait for the terminal's turn.
void PushKey(const KeyEvent& event);

// With the backlog off (on is the default), a key event does not join the waiting keys
// while the same event (SameKey) still waits unread: a held key acts at most once per
// read and stops when it is let go, and different keys keep their order. It holds for
// the keys that arrive from then on, from the terminal, PushKey and the scripted source;
// an arrow read half (its second code pending) no longer waits.
void SetKeyBacklog(bool on);
bool KeyBacklog();

// Starts the module: unless a key source was set, puts the terminal (standard input,
// else /dev/tty) into raw mode, restored on every exit. Keys are always read from
// standard input; where it is the terminal and the terminal confirms the kitty keyboard
// protocol, that protocol is used (set NOVA_LEGACY_KEYS=1 to keep to legacy sequences).
void Init();

// The hook is called once from the fatal-signal path (SIGINT, SIGTERM, SIGHUP, SIGQUIT,
// crash signals and every other signal that ends the program), before the terminal is restored and
// the signal raised again. It runs inside a signal handler: it must be async-signal-safe (write(2),
// no malloc, no stdio, no locks). nullptr removes it.
void SetFatalSignalHook(void (*hook)(int signal));

// Whether a key-down event waits (a release or non-key event at the head is dropped).
// Never waits, except that once empty polls with no other IO call and no Lib.Delay between have
// gone on for 2 ms, each further poll first waits up to 1 ms (2 ms after a second of
// nothing) for input, returning as soon as some arrives: a polling loop then sleeps,
// not spins.
// Once standard input has ended every poll reports a key.
bool KeyPressed();
// The next key code, waiting for a key; once standard input has ended it returns
// Escape (27) every time instead of waiting for ever.
CHAR RdKey();
// Reads the input that is ready, as KeyPressed does, and takes out the first waiting
// key-down for which match is TRUE, wherever it waits, so that the game never reads it;
// every other event keeps its place. TRUE when one was taken, and once standard input has
// ended (nothing taken then, as KeyPressed then reports a key forever), so that a loop
// waiting for a key ends. Never waits: a loop over it pauses (Lib.Delay) between calls.
bool TakeKey(bool (*match)(const KeyEvent& event));
void RdLn();
void WrStr(std::string_view s);  // up to the first NUL
void WrLn();
void WrCard(CARDINAL value, INTEGER width);
void WrChar(char c);
void WrCharRep(char c, CARDINAL n);
void WrStrAdj(std::string_view s, INTEGER width);

// TRUE once console text could not be written (a full disk, a closed pipe). The text is
// dropped and the program goes on; callers whose output matters report it at the end.
bool WriteFailed();

}  // namespace IO
