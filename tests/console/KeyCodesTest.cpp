// RdKey's rules over synthetic console events, KeyPressed, and the text output rules.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <string>
#include <vector>

#include "console/IO.h"
#include "console/Lib.h"
#include "console/ScriptedKeys.h"
#include "console/Strings.h"
#include "console/WholeStr.h"
#include "tests/common/Io.h"

namespace {

using IO::KeyEvent;

KeyEvent Ev(std::uint16_t vk, std::uint16_t sc, IO::CHAR ch, std::uint32_t state,
            bool down = true) {
  return KeyEvent{true, down, vk, sc, ch, state};
}

class KeyCodes : public ::testing::Test {
 protected:
  void SetUp() override { IO::SetKeySource(&keys_); }
  void TearDown() override { IO::SetKeySource(nullptr); }
  // Every code RdKey gives until the script runs dry (its Escape is left out).
  std::vector<int> Drain() {
    std::vector<int> codes;
    for (;;) {
      std::size_t before = keys_.EmptyReads();
      int c = IO::RdKey();
      if (keys_.EmptyReads() != before) break;
      codes.push_back(c);
    }
    return codes;
  }
  IO::ScriptedKeySource keys_;
};

TEST_F(KeyCodes, PlainEnhancedAndShiftedKeys) {
  keys_.PushEvent(Ev('H', 35, 'h', 0));
  keys_.PushEvent(Ev('H', 35, 'H', IO::SHIFT | IO::CAPSLOCK_ON));
  keys_.PushEvent(Ev(0x0D, 28, 10, 0));                 // Enter, whatever its character
  keys_.PushEvent(Ev(0x0D, 28, 13, IO::ENHANCED_KEY));  // keypad Enter
  keys_.PushEvent(Ev(0x0D, 28, 13, IO::SHIFT));         // Shift+Enter gives its character
  keys_.PushEvent(Ev(0x1B, 1, 0, 0));                   // Escape without a character
  keys_.PushEvent(Ev(0x26, 72, 0, IO::ENHANCED_KEY));   // Up
  keys_.PushEvent(Ev(0x25, 75, 0, IO::ENHANCED_KEY | IO::NUMLOCK_ON));
  keys_.PushEvent(Ev(0x27, 77, 0, 0));  // keypad Right, NumLock off
  keys_.PushEvent(Ev(0x28, 80, 0, IO::ENHANCED_KEY));
  keys_.PushEvent(Ev(0x70, 59, 0, 0));                             // F1
  keys_.PushEvent(Ev(0x14, 58, 0, IO::CAPSLOCK_ON));               // a lock key
  keys_.PushEvent(Ev(0x10, 42, 0, IO::SHIFT));                     // Shift alone: skipped
  keys_.PushEvent(Ev(0x26, 72, 0, IO::SHIFT | IO::ENHANCED_KEY));  // Shift+Up: skipped
  keys_.PushEvent(Ev('A', 30, 'a', 0, false));                     // a release: skipped
  keys_.PushEvent(KeyEvent{false, true, 0, 0, 'x', 0});            // not a key: skipped
  keys_.PushEvent(Ev(' ', 57, ' ', 0));
  keys_.PushEvent(Ev('0', 11, '0', IO::NUMLOCK_ON | IO::SCROLLLOCK_ON));
  EXPECT_EQ(Drain(), (std::vector<int>{104, 72, 13, 13, 13, 27, 0, 72, 0,  75,
                                       0,   77, 0,  80, 0,  59, 0, 58, 32, 48}));
}

TEST_F(KeyCodes, CtrlAndAltKeys) {
  keys_.PushEvent(Ev(0x11, 29, 0, IO::LEFT_CTRL));  // Ctrl alone
  keys_.PushEvent(Ev(0x11, 29, 0, IO::RIGHT_CTRL | IO::ENHANCED_KEY));
  keys_.PushEvent(Ev(0x09, 15, 9, IO::RIGHT_CTRL));  // Ctrl+Tab, with its character
  keys_.PushEvent(Ev(0x78, 67, 0, IO::LEFT_CTRL));   // Ctrl+F9
  keys_.PushEvent(Ev('C', 46, 3, IO::LEFT_CTRL));    // Ctrl+C: a single 0
  keys_.PushEvent(Ev(0x12, 56, 0, IO::LEFT_ALT));    // Alt alone
  keys_.PushEvent(Ev(0x24, 71, 0, IO::LEFT_ALT | IO::ENHANCED_KEY));   // Alt+Home
  keys_.PushEvent(Ev(0x2D, 82, 0, IO::RIGHT_ALT | IO::ENHANCED_KEY));  // AltGr+Ins
  keys_.PushEvent(Ev(0x78, 67, 0, IO::LEFT_ALT));                      // Alt+F9
  keys_.PushEvent(Ev('X', 45, 'x', IO::LEFT_ALT));                     // Alt+x: single 0
  keys_.PushEvent(Ev('X', 45, 'x', IO::LEFT_ALT | IO::LEFT_CTRL));     // mixed: character
  keys_.PushEvent(Ev('X', 45, 0, IO::LEFT_ALT | IO::LEFT_CTRL));       // mixed, none: skip
  keys_.PushEvent(Ev('Q', 16, 'q', 0));
  EXPECT_EQ(Drain(), (std::vector<int>{0, 148, 0, 102, 0, 0, 151, 0, 162, 0, 112, 0, 'x', 'q'}));
}

TEST_F(KeyCodes, KeyPressedLooksAtTheQueueOnly) {
  EXPECT_FALSE(IO::KeyPressed());
  keys_.PushEvent(Ev('A', 30, 'a', 0, false));
  keys_.PushEvent(Ev(0x10, 42, 0, IO::SHIFT));
  keys_.PushUp();
  EXPECT_FALSE(IO::KeyPressed());  // the release is dropped
  EXPECT_EQ(keys_.Size(), 2u);
  EXPECT_TRUE(IO::KeyPressed());   // Shift alone counts as a key here...
  EXPECT_EQ(IO::RdKey(), 0);       // ...but RdKey skips it and reads Up
  EXPECT_FALSE(IO::KeyPressed());  // the pending 72 is not in the queue
  EXPECT_EQ(IO::RdKey(), 72);
  // A new source clears the pending key.
  keys_.PushLeft();
  EXPECT_EQ(IO::RdKey(), 0);
  IO::SetKeySource(&keys_);
  keys_.PushCode('h');
  EXPECT_EQ(IO::RdKey(), 'h');
  // The end of a script reads as Escape instead of hanging; after Close it also polls so.
  EXPECT_EQ(IO::RdKey(), 27);
  EXPECT_FALSE(IO::KeyPressed());
  keys_.Close();
  EXPECT_TRUE(IO::KeyPressed());
  EXPECT_EQ(IO::RdKey(), 27);
}

// Counts the waits KeyPressed asks for.
class IdleCounter final : public IO::KeyEventSource {
 public:
  bool Peek(KeyEvent&) override { return false; }
  KeyEvent Read() override { return IO::EscapeEvent(); }
  void Idle() override { ++idles; }
  int idles = 0;
};

TEST(KeyPressed, OnlyARepeatedEmptyPollWaits) {
  IdleCounter source;
  IO::SetKeySource(&source);
  Lib::VirtualClock clock;
  Lib::SetClock(&clock);
  for (int tick = 0; tick < 5; ++tick) {  // the game: one poll, then the tick's delay
    EXPECT_FALSE(IO::KeyPressed());
    Lib::Delay(60);
  }
  EXPECT_EQ(source.idles, 0);
  // The menu: poll after poll. The run spins for a moment, then every poll waits.
  const auto start = std::chrono::steady_clock::now();
  while (source.idles < 3 && std::chrono::steady_clock::now() - start < std::chrono::seconds(5))
    IO::KeyPressed();
  EXPECT_EQ(source.idles, 3);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2));
  IO::WrStr("");  // any other call in between ends the run: no wait
  IO::KeyPressed();
  IO::KeyPressed();
  EXPECT_EQ(source.idles, 3);
  Lib::SetClock(nullptr);
  IO::SetKeySource(nullptr);
}

TEST(TextOutput, WidthsFillsAndLineEnds) {
  EXPECT_EQ(CaptureStdout([] { IO::WrCard(12345, 0); }), "12345");
  EXPECT_EQ(CaptureStdout([] { IO::WrCard(7, 3); }), "  7");
  EXPECT_EQ(CaptureStdout([] { IO::WrCard(7, -3); }), "7  ");
  EXPECT_EQ(CaptureStdout([] { IO::WrCard(0, 0); }), "0");
  EXPECT_EQ(CaptureStdout([] { IO::WrCard(4294967295u, 2); }), "4294967295");
  EXPECT_TRUE(IO::OK);
  EXPECT_EQ(CaptureStdout([] { IO::WrLn(); }), "\n");
  EXPECT_EQ(CaptureStdout([] { IO::WrStr(std::string_view("ab\0cd", 5)); }), "ab");
  EXPECT_EQ(CaptureStdout([] { IO::WrCharRep('x', 600); }), std::string(600, 'x'));
  IO::ChopOff = true;
  EXPECT_EQ(CaptureStdout([] { IO::WrCard(12345, -3); }), "???");
  EXPECT_FALSE(IO::OK);
  IO::ChopOff = false;
  IO::WrCard(1, 0);
  EXPECT_TRUE(IO::OK);
  IO::PrefixChar = '0';
  EXPECT_EQ(CaptureStdout([] { IO::WrStrAdj("42", 4); }), "0042");
  IO::PrefixChar = ' ';
}

TEST(TextOutput, CardToStrAndAssignTruncate) {
  std::array<char, 6> six;
  six.fill('#');
  WholeStr::CardToStr(1234567, six);
  EXPECT_EQ(std::string(six.data(), 6), "123456");  // no room for a NUL
  six.fill('#');
  WholeStr::CardToStr(95, six);
  EXPECT_EQ(std::string(six.data(), 4), std::string("95\0#", 4));
  WholeStr::CardToStr(0, six);
  EXPECT_STREQ(six.data(), "0");
  WholeStr::CardToStr(1, std::span<char>());  // nothing to write into: nothing happens

  std::array<char, 4> four;
  four.fill('#');
  Strings::Assign("ab", four);
  EXPECT_EQ(std::string(four.data(), 4), std::string("ab\0#", 4));
  Strings::Assign("abcdef", four);
  EXPECT_EQ(std::string(four.data(), 4), "abcd");
  Strings::Assign(std::string_view("x\0yz", 4), four);
  EXPECT_STREQ(four.data(), "x");
}

}  // namespace
