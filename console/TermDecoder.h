// Turns the bytes a terminal sends into console key events: legacy xterm, rxvt and Linux
// console sequences, the kitty keyboard protocol, Alt as an ESC prefix, UTF-8 text.
// Pure: bytes and the time they arrived go in, events come out; no IO of its own. Time
// counts only through Advance, so the events are the same however the bytes are split
// into Feeds as long as no Advance comes between them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <span>

#include "console/KeyEvent.h"

namespace IO {

class TermDecoder {
 public:
  // A lone ESC is the Escape key once this long passes with no further byte, arrived or
  // waiting; an unfinished sequence is settled after the same time. An ESC followed by a
  // byte sooner is Alt with that key, as terminals send Alt+key.
  static constexpr std::uint64_t kSettleMs = 50;
  // Longest control sequence kept; longer ones are skipped to their end and dropped.
  static constexpr std::size_t kMaxSequence = 48;

  // Bytes that arrived at nowMs (milliseconds on any steady scale). Feed never settles
  // anything, however late the bytes: they join what waits exactly as if all had come
  // at once. A read can stop inside a sequence while the rest still waits in the
  // terminal; such bytes must never be split into an Escape.
  void Feed(std::span<const std::uint8_t> bytes, std::uint64_t nowMs);
  // The only way time settles anything: the caller has just seen that no byte waits in
  // the terminal. Settles a lone ESC or an unfinished sequence whose last byte came
  // kSettleMs or more before nowMs.
  void Advance(std::uint64_t nowMs);
  // The input has ended: settles everything at once.
  void Finish();
  // Milliseconds from nowMs until Advance has something to settle; -1 when nothing waits.
  std::int64_t MsUntilSettle(std::uint64_t nowMs) const;
  // No byte waits to be decoded: every key fed so far has come out.
  bool Settled() const { return len_ == 0 && !skipping_; }

  bool HasEvent() const { return !events_.empty(); }
  std::size_t EventCount() const { return events_.size(); }
  const KeyEvent& Front() const { return events_.front(); }
  KeyEvent Pop();

  // Answers to the start-up queries: the kitty flags report (CSI ? flags u) and the
  // primary device attributes (CSI ? ... c). Neither ever becomes a key.
  bool KittyReplySeen() const { return kittyReply_; }
  bool DeviceAttributesSeen() const { return deviceAttributes_; }

 private:
  struct Sequence;
  void Take(std::uint8_t byte);
  void Parse(bool settle);
  std::size_t ParseOne(bool settle);  // bytes consumed, 0 = wait for more
  std::size_t ParseUtf8(std::size_t at, std::uint32_t mods, bool settle);
  std::size_t ParseCsi(std::size_t at, std::uint32_t mods, bool settle);
  std::size_t ParseSs3(std::size_t at, std::uint32_t mods, bool settle);
  void DispatchCsi(const Sequence& s, std::uint32_t alt);
  void DispatchKitty(const Sequence& s, std::uint32_t alt);
  void Emit(const KeyEvent& e) { events_.push_back(e); }

  std::array<std::uint8_t, kMaxSequence + 8> buf_{};
  std::size_t len_ = 0;
  bool skipping_ = false;  // inside an overlong sequence, dropping up to its end
  std::uint64_t lastByteMs_ = 0;
  std::deque<KeyEvent> events_;
  bool kittyReply_ = false;
  bool deviceAttributes_ = false;
};

}  // namespace IO
