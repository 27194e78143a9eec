#include "console/KeyQueue.h"

#include <algorithm>

namespace IO {

void KeyQueue::SetBacklog(bool on) {
  std::lock_guard guard(lock_);
  backlog_ = on;
}

bool KeyQueue::Joins(const KeyEvent& event) const {
  if (events_.size() >= kCapacity) return false;
  return backlog_ || std::none_of(events_.begin(), events_.end(),
                                  [&event](const KeyEvent& e) { return SameKey(e, event); });
}

bool KeyQueue::Push(const KeyEvent& event) {
  std::lock_guard guard(lock_);
  if (!Joins(event)) return false;
  events_.push_back(event);
  return true;
}

void KeyQueue::Hold() {
  std::lock_guard guard(lock_);
  if (!held_) seen_ = events_.size();
  held_ = true;
}

bool KeyQueue::PushAhead(const KeyEvent& event) {
  std::lock_guard guard(lock_);
  if (!Joins(event)) return false;
  if (!held_) {
    events_.push_back(event);
  } else {
    events_.insert(events_.begin() + static_cast<std::ptrdiff_t>(seen_++), event);
  }
  return true;
}

void KeyQueue::Release() {
  std::lock_guard guard(lock_);
  held_ = false;
}

bool KeyQueue::Peek(KeyEvent& event) const {
  std::lock_guard guard(lock_);
  if (Seen() == 0) return false;
  event = events_.front();
  return true;
}

bool KeyQueue::Pop(KeyEvent& event) {
  std::lock_guard guard(lock_);
  if (Seen() == 0) return false;
  event = events_.front();
  events_.pop_front();
  if (held_) --seen_;
  return true;
}

bool KeyQueue::Take(bool (*match)(const KeyEvent& event)) {
  std::lock_guard guard(lock_);
  const auto end = events_.begin() + static_cast<std::ptrdiff_t>(Seen());
  const auto it = std::find_if(events_.begin(), end, [match](const KeyEvent& e) {
    return e.isKey && e.keyDown && match(e);
  });
  if (it == end) return false;
  events_.erase(it);
  if (held_) --seen_;
  return true;
}

void KeyQueue::Clear() {
  std::lock_guard guard(lock_);
  events_.clear();
  seen_ = 0;
}

std::size_t KeyQueue::Size() const {
  std::lock_guard guard(lock_);
  return Seen();
}

}  // namespace IO
