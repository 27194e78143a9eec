// The replay viewer: its keys, its pace, and seeks by re-simulating the play from its start.
#include "game/Viewer.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <limits>

#include "console/KeyCodes.h"
#include "game/NovaGunner.h"
#include "game/World.h"
#include "graph/Graph.h"

namespace NovaGunner {

namespace {

constexpr int kSpeeds[] = {1, 2, 4, 8, 16, 32, 64};  // in quarters: 1/4x to 16x
constexpr int kNormal = 2;
constexpr int kSpeedCount = static_cast<int>(std::size(kSpeeds));
// A play whose keys have run out goes on until the ship is lost; a play still going this
// long after the file's last line is taken to end there.
constexpr std::int64_t kLongestAfterKeys = 100000;
constexpr Lib::CARDINAL kHoldMs = 20;  // between looks at the keys while paused

// Viewer keys by their codes (an arrow's second code above 255), from any source.
constexpr int kArrow = 256;
enum Key : int {
  kEnter = 13,
  kEscape = 27,
  kSpace = 32,
  kPlus = '+',
  kEquals = '=',
  kMinus = '-',
  kUnderscore = '_',
  kStep = '.',
  kHome = kArrow + 71,
  kLeft = kArrow + 75,
  kRight = kArrow + 77,
  kEnd = kArrow + 79,
};

std::string SpeedText(int quarters) {
  return quarters < 4 ? "1/" + std::to_string(4 / quarters) + "x"
                      : std::to_string(quarters / 4) + "x";
}

}  // namespace

void Viewer::PacedClock::Sleep(Lib::CARDINAL ms) {
  if (skip) return;
  if (quarters == 4) {  // speed 1: the pauses as they are, to the millisecond
    inner.Sleep(ms);
    return;
  }
  carry += static_cast<std::uint64_t>(ms) * 4;
  const std::uint64_t whole = carry / static_cast<std::uint64_t>(quarters);
  carry %= static_cast<std::uint64_t>(quarters);
  if (whole > 0) inner.Sleep(static_cast<Lib::CARDINAL>(whole));
}

bool Viewer::Push(const IO::KeyEvent& event) {
  if (handed_.load()) return false;
  queue_.Push(event);
  player_.Wake();
  return true;
}

Viewer::Next Viewer::Between() {
  for (;;) {
    player_.Poll();
    for (IO::KeyEvent e; queue_.Pop(e);) {
      if (const std::optional<Next> next = Act(e)) return *next;
    }
    const bool over = World::State().exit;
    if (!engaged_) return over ? Next::Quit : Next::Tick;
    if (over) paused_ = true;  // held on the last picture, for a seek back
    ShowOverlay();
    if (!paused_) return Next::Tick;
    if (player_.Ended()) return Next::Quit;  // nothing could go on from the pause
    clock_.inner.Sleep(kHoldMs);
  }
}

std::optional<Viewer::Next> Viewer::Act(const IO::KeyEvent& event) {
  if (!event.isKey || !event.keyDown) return std::nullopt;
  const IO::KeyCodes codes = IO::CodesOf(event);
  const int key = codes.first == 0 ? kArrow + codes.second : codes.first;
  const std::int64_t now = World::State().tick;
  switch (key) {
    case kEnter:
      return Next::TakeOver;
    case kEscape:
      return Next::Quit;
    case kSpace:
      paused_ = !paused_;
      break;
    case kStep:
      engaged_ = true;
      if (paused_ && !World::State().exit) return Next::Tick;  // and paused after it
      break;
    case kPlus:
    case kEquals:
      SetSpeed(std::min(speed_ + 1, kSpeedCount - 1));
      break;
    case kMinus:
    case kUnderscore:
      SetSpeed(std::max(speed_ - 1, 0));
      break;
    case kLeft:
      Seek(now - kSeekTicks);
      break;
    case kRight:
      Seek(now + kSeekTicks);
      break;
    case kHome:
      Seek(0);
      break;
    case kEnd:
      Seek(std::numeric_limits<std::int64_t>::max());
      break;
    default:
      return std::nullopt;
  }
  engaged_ = true;
  return std::nullopt;
}

void Viewer::SetSpeed(int index) {
  speed_ = index;
  clock_.quarters = kSpeeds[index];
  clock_.carry = 0;
  sounds_.on = index == kNormal;
}

void Viewer::KeepStart() {
  Graph::GetImage(0, 0, Graph::Width - 1, Graph::Depth - 1, start_);
}

void Viewer::Resimulate(std::int64_t n) {
  clock_.skip = true;
  sounds_.on = false;
  Graph::HoldWindow(true);
  // As the program's start begins the play: a new play, its background, its start.
  NewPlay();
  Graph::PutImage(0, 0, start_, Graph::_GPSET);
  Background();
  demo_.Rewind();
  World::StartRun();
  while (!World::State().exit && World::State().tick < n) {
    demo_.BeginTick(World::State().tick + 1);
    World::Tick();
  }
  Graph::HoldWindow(false);
  clock_.skip = false;
  sounds_.on = speed_ == kNormal;
}

void Viewer::Seek(std::int64_t n) {
  engaged_ = true;
  if (end_ < 0) FindEnd();  // a seek to the end is then over already
  if (n < end_ || World::State().tick != end_) Resimulate(std::clamp<std::int64_t>(n, 0, end_));
  ShowOverlay();
}

void Viewer::Pause() {
  engaged_ = true;
  paused_ = true;
  ShowOverlay();
}

std::int64_t Viewer::End() {
  if (end_ < 0) {
    const std::int64_t now = World::State().tick;
    FindEnd();
    Resimulate(now);
  }
  return end_;
}

void Viewer::FindEnd() {
  Resimulate(demo_.LastTick() + kLongestAfterKeys);
  end_ = World::State().tick;
}

std::vector<IO::KeyEvent> Viewer::HandOver() {
  handed_.store(true);
  std::vector<IO::KeyEvent> rest;
  for (IO::KeyEvent e; queue_.Pop(e);) rest.push_back(e);
  SetSpeed(kNormal);
  paused_ = false;
  Graph::SetOverlayText("");
  return rest;
}

void Viewer::ShowOverlay() {
  const std::int64_t tick = World::State().tick;
  const std::int64_t ms = tick * World::kTickMs;
  char text[64];
  std::snprintf(text, sizeof text, "%lld %02lld:%02lld.%lld %s%s", static_cast<long long>(tick),
                static_cast<long long>(ms / 60000), static_cast<long long>(ms / 1000 % 60),
                static_cast<long long>(ms / 100 % 10), SpeedText(kSpeeds[speed_]).c_str(),
                paused_ ? " PAUSED" : "");
  const std::int64_t end = End();
  Graph::SetOverlayText(text, end > 0 ? static_cast<double>(tick) / static_cast<double>(end) : 1);
}

}  // namespace NovaGunner
