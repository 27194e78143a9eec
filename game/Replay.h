// Replays: a demo file read, the key source that gives its keys back tick by tick, and the
// lines a replay prints (the trace, the pictures' fingerprints, the outcome).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "console/IO.h"
#include "game/DemoFile.h"
#include "game/World.h"

namespace NovaGunner::Replay {

// Gives IO the key events that make it return each demo tick's codes, during that tick
// alone: the game loop names each tick as it begins, and what a tick left unread is gone.
// A read beyond them gives Escape. None of its keys can be taken out (TakeKey): they are
// what the game read.
class DemoKeySource final : public IO::KeySource {
 public:
  explicit DemoKeySource(std::vector<Demo::TickInput> ticks) : ticks_(std::move(ticks)) {}
  void BeginTick(std::int64_t tick);
  // Back to the demo's start, for a play started anew (a seek).
  void Rewind() { next_ = 0; }
  const std::vector<Demo::TickInput>& Ticks() const { return ticks_; }
  // The tick of the file's last line (0 for a file of no lines).
  std::int64_t LastTick() const { return ticks_.empty() ? 0 : ticks_.back().tick; }
  void Start(IO::KeyQueue& queue) override { queue_ = &queue; }
  // Empty only if a reader asks beyond what KeyPressed offered; a demo never lets the
  // loop wait, so the play ends as Escape would end it rather than hang.
  bool Wait() override { return false; }

 private:
  std::vector<Demo::TickInput> ticks_;
  std::size_t next_ = 0;  // the first demo tick not yet begun
  IO::KeyQueue* queue_ = nullptr;
};

// "tick T ...": the figures after tick T.
std::string TraceLine(const World::TickReport& r);
// "picture T HASH": the fingerprint of the whole picture after tick T, in 16 hex digits.
std::string PictureLine(std::int64_t tick, std::uint64_t fingerprint);
std::string OutcomeLine();

// Reads and checks the demo file at path. FALSE with the reason in error ("FILE:LINE: ..."
// for a faulty line) when it cannot be read or breaks a rule.
bool ReadDemo(const std::string& path, std::vector<Demo::TickInput>& ticks, std::string& error);

}  // namespace NovaGunner::Replay
