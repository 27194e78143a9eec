// A run as a desktop game: the window's close seen at every wait of the game thread.
#include "game/Desktop.h"

#include <algorithm>
#include <chrono>

namespace NovaGunner {

namespace {

// A pause is cut into slices this long, so that a close ends it soon enough.
constexpr Lib::CARDINAL kSliceMs = 50;

}  // namespace

DesktopRun::DesktopRun(IO::KeySource& keys, Lib::Clock& clock)
    : keys_(*this, keys), clock_(*this, clock) {
  signal_->inner = &keys;
}

std::function<void()> DesktopRun::OnClose() const {
  return [signal = signal_] { signal->Wake(true); };
}

void DesktopRun::EndIfClosed() const {
  if (!inTick_ && signal_->Closed()) throw WindowClosed{};
}

void DesktopRun::Signal::Wake(bool close) {
  {
    std::lock_guard hold(lock);
    woken = true;
    closed = closed || close;
  }
  changed.notify_all();
  if (close) inner->Wake();  // a terminal waiting for input stops waiting
}

void DesktopRun::Signal::Wait(int ms) {
  std::unique_lock hold(lock);
  const auto done = [this] { return woken || closed; };
  if (ms < 0) {
    changed.wait(hold, done);
  } else {
    changed.wait_for(hold, std::chrono::milliseconds(ms), done);
  }
  woken = false;
}

bool DesktopRun::Signal::Closed() {
  std::lock_guard hold(lock);
  return closed;
}

void DesktopRun::DesktopKeys::Start(IO::KeyQueue& queue) {
  inner_.Start(queue);
}

void DesktopRun::DesktopKeys::Poll() {
  run_.EndIfClosed();
  inner_.Poll();
}

bool DesktopRun::DesktopKeys::Wait() {
  run_.EndIfClosed();
  if (!inner_.Ended() && inner_.Wait()) {
    run_.EndIfClosed();
    return true;
  }
  // The source has nothing more: a key from the window, or the close.
  if (run_.signal_->Closed()) return false;  // within a tick: nothing more comes
  run_.signal_->Wait(-1);
  run_.EndIfClosed();
  return true;
}

void DesktopRun::DesktopKeys::Idle() {
  run_.EndIfClosed();
  if (inner_.Ended()) {
    run_.signal_->Wait(1);  // the window's keys wake it
  } else {
    inner_.Idle();
  }
}

bool DesktopRun::DesktopKeys::PollToTake() {
  run_.EndIfClosed();
  return inner_.PollToTake();
}

void DesktopRun::DesktopKeys::Wake() {
  inner_.Wake();
  run_.signal_->Wake(false);
}

void DesktopRun::DesktopPauses::Sleep(Lib::CARDINAL ms) {
  const std::uint64_t end = inner_.NowMs() + ms;
  for (;;) {
    run_.EndIfClosed();
    const std::uint64_t now = inner_.NowMs();
    if (now >= end || run_.signal_->Closed()) return;  // closed within a tick: no pause
    inner_.Sleep(static_cast<Lib::CARDINAL>(std::min<std::uint64_t>(end - now, kSliceMs)));
  }
}

}  // namespace NovaGunner
