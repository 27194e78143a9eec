// The one queue of key events waiting to be read, whatever their source: the terminal's
// decoded bytes, the window's keys and pads (from the window thread), a demo's ticks, a
// test's script. Pure and thread-safe: no terminal, signal or clock of its own.
#pragma once

#include <cstddef>
#include <deque>
#include <mutex>

#include "console/KeyEvent.h"

namespace IO {

class KeyQueue {
 public:
  // As many keys as a held key repeats in two minutes: beyond them nobody is reading, and
  // further keys are dropped, as a full console input buffer drops them.
  static constexpr std::size_t kCapacity = 4096;

  // With the backlog off (on is the default), an event does not join while an equal one
  // (SameKey) still waits: a held key acts at most once per read, different keys keep
  // their order. Holds for the events that arrive from then on.
  void SetBacklog(bool on);

  // An event arrives: it joins behind every event that came before it. FALSE when it was
  // dropped (the queue full, or the backlog rule).
  bool Push(const KeyEvent& event);

  // A source has begun an event it cannot give yet (a terminal sequence still arriving):
  // what others push from now on waits, unseen, behind the events that source gives with
  // PushAhead until it calls Release. Holding again while held changes nothing.
  void Hold();
  // The holding source's event: joins in front of the held ones (behind all when none are).
  bool PushAhead(const KeyEvent& event);
  void Release();

  // The first waiting event, left in place; FALSE when none waits.
  bool Peek(KeyEvent& event) const;
  // Takes out the first waiting event; FALSE when none waits.
  bool Pop(KeyEvent& event);
  // Takes out the first waiting key-down for which match is TRUE, wherever it waits; every
  // other event keeps its place. FALSE when none matches.
  bool Take(bool (*match)(const KeyEvent& event));
  // Drops every waiting event, held ones too (a hold itself stays).
  void Clear();
  // How many events wait where Peek, Pop and Take see them (held ones not counted).
  std::size_t Size() const;

 private:
  // With lock_ held.
  bool Joins(const KeyEvent& event) const;
  std::size_t Seen() const { return held_ ? seen_ : events_.size(); }

  mutable std::mutex lock_;
  std::deque<KeyEvent> events_;  // in arrival order; from seen_ on, held
  std::size_t seen_ = 0;         // while held: how many are in front of the held ones
  bool held_ = false;
  bool backlog_ = true;
};

}  // namespace IO
