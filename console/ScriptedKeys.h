// A key source fed from a script: for tests, replays and anything that must not wait
// on a real keyboard.
#pragma once

#include <algorithm>
#include <deque>
#include <functional>

#include "console/IO.h"

namespace IO {

// Events come out in the order pushed. When the script is empty, Peek reports nothing
// (or, after Close, an Escape key-down that stays), and Read returns an Escape key-down
// at once instead of waiting: a program reading past the end of its script ends the way
// it does on closed input, never hangs. EmptyReads counts those Escapes.
class ScriptedKeySource final : public KeyEventSource {
 public:
  bool Peek(KeyEvent& event) override {
    if (events_.empty()) {
      if (!closed_) return false;
      event = EscapeEvent();
      return true;
    }
    event = events_.front();
    return true;
  }

  KeyEvent Read() override {
    if (events_.empty()) {
      ++emptyReads_;
      return EscapeEvent();
    }
    KeyEvent e = events_.front();
    events_.pop_front();
    return e;
  }

  // A key loop is waiting for a key (empty polls have gone on for a moment): the moment a test
  // types its next keys, through onIdle.
  void Idle() override {
    if (onIdle) onIdle();
  }
  std::function<void()> onIdle;

  bool Take(bool (*match)(const KeyEvent& event)) override {
    auto it = std::find_if(events_.begin(), events_.end(),
                           [match](const KeyEvent& e) { return e.isKey && e.keyDown && match(e); });
    if (it == events_.end()) return closed_;
    events_.erase(it);
    return true;
  }

  // Pushed as a key arrives: with the key backlog off, not while the same event waits.
  void PushEvent(const KeyEvent& event) {
    if (!KeyBacklog() && std::any_of(events_.begin(), events_.end(),
                                     [&event](const KeyEvent& e) { return SameKey(e, event); }))
      return;
    events_.push_back(event);
  }

  // One key-down that RdKey turns into exactly the code c (for c != 0).
  void PushCode(CHAR c) {
    KeyEvent e;
    if (c == 13) {
      e.character = 13, e.scanCode = 28, e.virtualKey = 0x0D;
    } else if (c == 27) {
      e.character = 27, e.scanCode = 1, e.virtualKey = 0x1B;
    } else {
      e.character = c;
    }
    PushEvent(e);
  }

  void PushText(std::string_view text) {
    for (char c : text) PushCode(static_cast<CHAR>(c));
  }

  // A key without a character: RdKey gives 0, then scanCode (e.g. 72 for Up).
  void PushExtended(std::uint16_t scanCode, std::uint16_t virtualKey = 0) {
    PushEvent(KeyEvent{true, true, virtualKey, scanCode, 0, ENHANCED_KEY});
  }
  void PushUp() { PushExtended(72, 0x26); }
  void PushDown() { PushExtended(80, 0x28); }
  void PushLeft() { PushExtended(75, 0x25); }
  void PushRight() { PushExtended(77, 0x27); }

  // Marks the end of input: an empty script then also polls as an Escape.
  void Close() { closed_ = true; }

  std::size_t Size() const { return events_.size(); }
  std::size_t EmptyReads() const { return emptyReads_; }
  void Clear() {
    events_.clear();
    closed_ = false;
    emptyReads_ = 0;
  }

 private:
  std::deque<KeyEvent> events_;
  bool closed_ = false;
  std::size_t emptyReads_ = 0;
};

}  // namespace IO
