// IO: keys from the console as one-byte codes, and text to the console.
#pragma once

#include <cstdint>
#include <string_view>

#include "console/KeyEvent.h"
#include "console/KeyQueue.h"

namespace IO {

using CARDINAL = std::uint32_t;
using INTEGER = std::int32_t;

extern char PrefixChar;
extern char SuffixChar;
extern bool ChopOff;
extern bool RdLnOnWr;
extern bool OK;

// What brings key events into the queue that IO reads from (the terminal, a demo, a test's
// script). A source only produces events: it pushes them into the queue it is started
// with; the queue keeps their order and its rules, IO turns them into codes.
class KeySource {
 public:
  virtual ~KeySource() = default;
  // IO::Init hands over the queue the source's events go into from now on.
  virtual void Start(KeyQueue& queue) = 0;
  // Brings in the input that is ready, without waiting.
  virtual void Poll() {}
  // Waits until some input has been brought in. FALSE at once when none will come (the
  // input has ended, a script or a demo's tick is read out): the read then gives Escape
  // instead of waiting for ever.
  virtual bool Wait() = 0;
  // Called before a poll once a run of empty polls has lasted 2 ms: a source that can
  // wait for input waits here briefly (1 ms, 2 ms after a second of nothing), returning
  // at once when input arrives.
  virtual void Idle() {}
  // For TakeKey: brings in the input that is ready, reading on even behind many waiting
  // keys (the key to take may be behind them). FALSE for a source whose keys must all
  // reach the game (a demo's are what the game read): nothing is taken then.
  virtual bool PollToTake() { return false; }
  // TRUE once the input has ended: an empty queue then polls as an Escape, for ever.
  virtual bool Ended() const { return false; }
  // Any thread, after a key was pushed: a source waiting for input stops waiting.
  virtual void Wake() {}
};

struct KeyOptions {
  // Off: a key does not join the waiting keys while the same event still waits unread (a
  // held key acts at most once per read and stops when it is let go; an arrow read half,
  // its second code pending, no longer waits).
  bool backlog = true;
  // Keys from PushKey join the waiting keys. Off for a demo, whose keys are the recorded
  // ones alone; Ctrl+C, Ctrl+Z and Ctrl+\ pushed still raise their signals.
  bool pushedKeys = true;
  // On: a screen that waits for a key drops the keys typed before it showed (NewPrompt).
  bool freshAnswers = false;
};

// Starts the module on source, which must outlive its use: the waiting keys and a pending
// second code are dropped, then the source is started (the terminal's goes into raw mode).
void Init(KeySource& source, const KeyOptions& options = {});

// A key from elsewhere than the source (the window's keys, a game pad), from any thread:
// it joins the waiting keys in the order it came, wakes a read or a pause waiting for
// input, and is read like any other key. Ctrl+C, Ctrl+Z and Ctrl+\ raise their signals at
// once, as a terminal does.
void PushKey(const KeyEvent& event);

// Whether a key-down event waits (a release or non-key event at the head is dropped).
// Never waits, except that once empty polls with no other IO call and no Lib.Delay between have
// gone on for 2 ms, each further poll first waits up to 1 ms (2 ms after a second of
// nothing) for input, returning as soon as some arrives: a polling loop then sleeps,
// not spins.
// Once the input has ended every poll reports a key.
bool KeyPressed();
// The next key code, waiting for a key; once the input has ended it returns Escape (27)
// every time instead of waiting for ever.
CHAR RdKey();
// Reads the input that is ready, as KeyPressed does, and takes out the first waiting
// key-down for which match is TRUE, wherever it waits, so that the game never reads it;
// every other event keeps its place. TRUE when one was taken, and once the input has
// ended (nothing taken then, as KeyPressed then reports a key forever), so that a loop
// waiting for a key ends. Never waits: a loop over it pauses (Lib.Delay) between calls.
bool TakeKey(bool (*match)(const KeyEvent& event));
// A screen that waits for a key has just shown: with KeyOptions::freshAnswers the keys
// that wait, typed before it showed, are dropped (those ready at the source too), so that
// it needs a key typed after it appeared. Without, nothing changes.
void NewPrompt();
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
