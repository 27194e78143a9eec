// RdKey's rules over synthetic console events, KeyPressed, and the text output rules.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "console/IO.h"
#include "console/KeyCodes.h"
#include "console/Lib.h"
#include "console/WholeStr.h"
#include "tests/common/Io.h"
#include "tests/common/ScriptedKeys.h"

namespace {

using namespace IO;

KeyEvent Ev(std::uint16_t vk, std::uint16_t sc, CHAR ch, std::uint32_t state, bool down = true) {
  return KeyEvent{true, down, vk, sc, ch, state};
}

class KeyCodes : public ::testing::Test {
 protected:
  void SetUp() override { Init(keys_); }
  ScriptedKeySource keys_;
};

// A representative key or two for each rule: characters, keys without one (0, then a
// second code), lock flags ignored, the skipped events, the Ctrl and Alt tables.
TEST_F(KeyCodes, EachEventGivesItsCodesOrIsSkipped) {
  const std::pair<KeyEvent, std::vector<int>> cases[] = {
      {Ev('H', 35, 'h', 0), {'h'}},
      {Ev('H', 35, 'H', SHIFT | CAPSLOCK_ON), {'H'}},
      {Ev(0x0D, 28, 10, 0), {13}},                            // Enter, whatever its character
      {Ev(0x0D, 28, 13, ENHANCED_KEY), {13}},                 // keypad Enter
      {Ev(0x1B, 1, 0, 0), {27}},                              // Escape without a character
      {Ev(0x26, 72, 0, ENHANCED_KEY), {0, 72}},               // Up
      {Ev(0x25, 75, 0, ENHANCED_KEY | NUMLOCK_ON), {0, 75}},  // Left
      {Ev(0x70, 59, 0, 0), {0, 59}},                          // F1
      {Ev(0x10, 42, 0, SHIFT), {}},                           // Shift alone
      {Ev(0x26, 72, 0, SHIFT | ENHANCED_KEY), {}},            // Shift+Up
      {Ev('A', 30, 'a', 0, false), {}},                       // a release
      {KeyEvent{false, true, 0, 0, 'x', 0}, {}},              // not a key
      {Ev(0x11, 29, 0, LEFT_CTRL), {}},                       // Ctrl alone
      {Ev(0x09, 15, 9, RIGHT_CTRL), {0, 148}},                // Ctrl+Tab
      {Ev('C', 46, 3, LEFT_CTRL), {0}},                       // Ctrl+C: a single 0
      {Ev(0x71, 60, 0, LEFT_CTRL), {0, 95}},                  // Ctrl+F2 to Ctrl+F9
      {Ev(0x78, 67, 0, RIGHT_CTRL), {0, 102}},
      {Ev(0x12, 56, 0, LEFT_ALT), {}},                       // Alt alone
      {Ev(0x24, 71, 0, LEFT_ALT | ENHANCED_KEY), {0, 151}},  // Alt+Home
      {Ev(0x78, 67, 0, RIGHT_ALT), {0, 112}},                // Alt+F9
      {Ev('X', 45, 'x', LEFT_ALT), {0}},                     // Alt+x: a single 0
      {Ev('X', 45, 'x', LEFT_ALT | LEFT_CTRL), {'x'}},       // Ctrl+Alt: the character, if any
      {Ev('X', 45, 0, LEFT_ALT | LEFT_CTRL), {}},
  };
  for (const auto& [event, expected] : cases) {
    keys_.PushEvent(event);
    const std::size_t dry = keys_.EmptyReads();
    std::vector<int> codes;  // every code until the script runs dry (its Escape left out)
    for (int c = RdKey(); keys_.EmptyReads() == dry; c = RdKey()) codes.push_back(c);
    EXPECT_EQ(codes, expected) << "vk " << event.virtualKey << " state " << event.state;
  }
}

TEST_F(KeyCodes, KeyPressedLooksAtTheQueueOnly) {
  EXPECT_FALSE(KeyPressed());
  keys_.PushEvent(Ev('A', 30, 'a', 0, false));
  keys_.PushEvent(Ev(0x10, 42, 0, SHIFT));
  keys_.PushUp();
  EXPECT_FALSE(KeyPressed());  // the release is dropped
  EXPECT_EQ(keys_.Size(), 2u);
  EXPECT_TRUE(KeyPressed());   // Shift alone counts as a key here...
  EXPECT_EQ(RdKey(), 0);       // ...but RdKey skips it and reads Up
  EXPECT_FALSE(KeyPressed());  // the pending 72 is not in the queue
  EXPECT_EQ(RdKey(), 72);
  keys_.PushLeft();  // a new start clears the pending key
  EXPECT_EQ(RdKey(), 0);
  Init(keys_);
  keys_.PushCode('h');
  PushKey(EventFor('w'));  // a window's key joins behind
  EXPECT_EQ(RdKey(), 'h');
  EXPECT_EQ(RdKey(), 'w');
  // The end of a script reads as Escape instead of hanging; after Close it also polls so.
  EXPECT_EQ(RdKey(), 27);
  EXPECT_FALSE(KeyPressed());
  Init(keys_, {.pushedKeys = false});  // a demo's run: none joins
  PushKey(EventFor('w'));
  EXPECT_FALSE(KeyPressed());
  keys_.Close();
  EXPECT_TRUE(KeyPressed());
  EXPECT_EQ(RdKey(), 27);
}

// EventFor, as demos and scripts type keys, gives back every code and every pair.
TEST_F(KeyCodes, EventForGivesEachCodeBack) {
  for (int c = 1; c < 256; ++c) {
    keys_.PushEvent(EventFor(static_cast<CHAR>(c)));
    EXPECT_EQ(RdKey(), c);
  }
  for (int s = 0; s < 256; ++s) {
    keys_.PushEvent(EventFor(0, static_cast<CHAR>(s))), keys_.PushCode('z');
    EXPECT_EQ(RdKey(), 0);
    EXPECT_EQ(s != 0 ? RdKey() : 0, s);
    EXPECT_EQ(RdKey(), 'z') << s;  // with 0, 0 nothing else is pending
  }
}

// Without the backlog a key waits once while unread: repeats of it are dropped, other keys
// keep their order, an arrow is one key (also while its second code is pending). TakeKey
// takes the first matching key-down from behind the others and leaves them in order.
TEST_F(KeyCodes, WithoutTheBacklogAKeyWaitsOnceAndTakeKeyTakesOneFromAnywhere) {
  Init(keys_, {.backlog = false});
  keys_.PushText("abab");
  for (int i = 0; i < 3; ++i) keys_.PushUp();
  EXPECT_EQ(RdKey(), 'a');
  keys_.PushText("ba");  // b still waits, a was read
  for (int c : {int{'b'}, 0}) EXPECT_EQ(RdKey(), c);
  keys_.PushUp(), keys_.PushUp();  // the Up read half waits again, once
  for (int c : {72, int{'a'}, 0, 72}) EXPECT_EQ(RdKey(), c);
  EXPECT_FALSE(KeyPressed());
  Init(keys_);
  auto isP = [](const KeyEvent& e) { return e.character == 'p'; };
  EXPECT_FALSE(TakeKey(isP));
  keys_.PushEvent(Ev('P', 25, 'p', 0, false));  // a release is no key to take
  keys_.PushUp(), keys_.PushText("xpyp");
  EXPECT_TRUE(TakeKey(isP));
  for (int c : {0, 72, int{'x'}, int{'y'}, int{'p'}}) EXPECT_EQ(RdKey(), c);
  EXPECT_FALSE(TakeKey(isP));
  keys_.Close();  // ended input ends a loop waiting for the key
  EXPECT_TRUE(TakeKey(isP));
}

TEST_F(KeyCodes, KeyPressedWaitsOnlyOnARepeatedEmptyPoll) {
  int idles = 0;
  keys_.onIdle = [&idles] { ++idles; };
  Lib::VirtualClock clock;
  Lib::Init(clock);
  for (int tick = 0; tick < 5; ++tick) KeyPressed(), Lib::Delay(60);  // the game: no wait
  EXPECT_EQ(idles, 0);
  // The menu, poll after poll: the run spins for a moment, then every poll waits.
  for (int polls = 0; idles < 3 && polls < 100000000; ++polls) KeyPressed();
  WrStr("");  // any other call in between ends the run: no wait
  KeyPressed();
  EXPECT_EQ(idles, 3);
  static Lib::RealClock real;
  Lib::Init(real);
}

TEST(TextOutput, WidthsLongTextAndTruncation) {
  const std::pair<std::function<void()>, std::string> cases[] = {
      {[] { WrCard(7, 3); }, "  7"},
      {[] { WrCard(7, -3); }, "7  "},
      {[] { WrCard(4294967295u, 2); }, "4294967295"},
      {[] { WrStr(std::string_view("ab\0cd", 5)); }, "ab"},
      {[] { WrCharRep('x', 600); }, std::string(600, 'x')}};
  for (const auto& [write, text] : cases) EXPECT_EQ(CaptureStdout(write), text);
  std::array<char, 6> six;  // the status panel's numbers go into such arrays
  WholeStr::CardToStr(1234567, six);
  EXPECT_EQ(std::string(six.data(), 6), "123456");  // no room for a NUL
  WholeStr::CardToStr(95, six);
  EXPECT_STREQ(six.data(), "95");
  WholeStr::CardToStr(1, std::span<char>(six.data(), 0));  // no room at all: nothing written
  EXPECT_STREQ(six.data(), "95");
}

}  // namespace
