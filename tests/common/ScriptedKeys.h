// A key source fed from a script: for tests and benches that must not wait on a real
// keyboard.
#pragma once

#include <functional>
#include <string_view>
#include <vector>

#include "console/IO.h"
#include "console/KeyCodes.h"

namespace IO {

// Each event pushed joins IO's queue at once, as a key arrives (those pushed before the
// source's first start join at its start). When the queue is empty a read gives Escape at
// once instead of waiting: a program reading past the end of its script ends the way it
// does on closed input, never hangs. EmptyReads counts those Escapes. After Close an empty
// queue also polls as an Escape.
class ScriptedKeySource final : public KeySource {
 public:
  void Start(KeyQueue& queue) override {
    queue_ = &queue;
    for (const KeyEvent& e : early_) queue.Push(e);
    early_.clear();
  }
  bool Wait() override {
    ++emptyReads_;
    return false;
  }
  // A key loop is waiting for a key (empty polls have gone on for a moment): the moment a
  // test types its next keys, through onIdle.
  void Idle() override {
    if (onIdle) onIdle();
  }
  std::function<void()> onIdle;
  bool PollToTake() override { return true; }
  bool Ended() const override { return closed_; }

  void PushEvent(const KeyEvent& event) {
    if (queue_ != nullptr) {
      queue_->Push(event);
    } else {
      early_.push_back(event);
    }
  }
  // One key-down that RdKey turns into exactly the code c (for c != 0).
  void PushCode(CHAR c) { PushEvent(EventFor(c)); }
  void PushText(std::string_view text) {
    for (char c : text) PushCode(static_cast<CHAR>(c));
  }
  // A key without a character: RdKey gives 0, then scanCode (e.g. 72 for Up).
  void PushExtended(std::uint16_t scanCode, std::uint16_t virtualKey = 0) {
    PushEvent(KeyEvent{true, true, virtualKey, scanCode, 0, ENHANCED_KEY});
  }
  void PushUp() { PushExtended(72, 0x26); }
  void PushLeft() { PushExtended(75, 0x25); }
  void PushRight() { PushExtended(77, 0x27); }

  // Marks the end of input.
  void Close() { closed_ = true; }
  std::size_t Size() const { return queue_ != nullptr ? queue_->Size() : early_.size(); }
  std::size_t EmptyReads() const { return emptyReads_; }

 private:
  KeyQueue* queue_ = nullptr;
  std::vector<KeyEvent> early_;
  bool closed_ = false;
  std::size_t emptyReads_ = 0;
};

}  // namespace IO
