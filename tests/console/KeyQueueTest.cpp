// The key queue alone: arrival order across sources (a key still being decoded holds what
// others push behind it), the backlog rule, capacity, clearing, threads. Taking a key out
// without a hold is tested through IO (KeyCodesTest).
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "console/KeyCodes.h"
#include "console/KeyQueue.h"

namespace {

using namespace IO;

KeyEvent K(char c, bool down = true) {
  KeyEvent e = EventFor(static_cast<CHAR>(c));
  e.keyDown = down;
  return e;
}

// What waits, taken out in order: a key-down as its character, a release as ^.
std::string Drain(KeyQueue& q) {
  std::string out;
  for (KeyEvent e; q.Pop(e);) out += e.keyDown ? static_cast<char>(e.character) : '^';
  return out;
}

TEST(KeyQueue, ArrivalOrderAndAKeyStillBeingDecodedHoldingLaterPushes) {
  KeyQueue q;
  q.Push(K('a'));  // the window's
  q.Hold();        // the terminal has begun a key (an ESC not yet settled)
  q.Push(K('b'));  // pushed meanwhile: unseen, behind that key
  EXPECT_EQ(q.Size(), 1u);
  KeyEvent e;
  ASSERT_TRUE(q.Pop(e));
  EXPECT_EQ(e.character, 'a');
  EXPECT_FALSE(q.Peek(e));
  EXPECT_FALSE(q.Take([](const KeyEvent&) { return true; }));
  q.Hold();  // still the same hold
  q.PushAhead(K('c')), q.PushAhead(K('d'));
  q.Push(K('e'));
  EXPECT_TRUE(q.Take([](const KeyEvent& e) { return e.character == 'd'; }));   // from behind c
  EXPECT_FALSE(q.Take([](const KeyEvent& e) { return e.character == 'e'; }));  // not seen yet
  EXPECT_EQ(Drain(q), "c");
  q.Release();
  q.PushAhead(K('f'));  // no hold: behind all
  EXPECT_EQ(Drain(q), "bef");
}

TEST(KeyQueue, WithoutTheBacklogAnEventWaitsOnce) {
  KeyQueue q;
  for (char c : std::string("aab")) EXPECT_TRUE(q.Push(K(c)));
  q.SetBacklog(false);
  EXPECT_FALSE(q.Push(K('a')));
  EXPECT_TRUE(q.Push(K('a', false)));  // a release is another event
  q.Hold();
  EXPECT_TRUE(q.Push(K('c')));
  EXPECT_FALSE(q.Push(K('c')));  // held ones wait too
  EXPECT_FALSE(q.PushAhead(K('b')));
  q.Release();
  EXPECT_EQ(Drain(q), "aab^c");
  EXPECT_TRUE(q.Push(K('a')));  // read, it may wait again
}

TEST(KeyQueue, AFullQueueDropsWhatComesAndClearDropsEverything) {
  KeyQueue q;
  for (std::size_t i = 0; i < KeyQueue::kCapacity; ++i) ASSERT_TRUE(q.Push(K('a')));
  EXPECT_FALSE(q.Push(K('b')));
  q.Hold();
  EXPECT_FALSE(q.PushAhead(K('b')));
  KeyEvent e;
  q.Pop(e);
  EXPECT_TRUE(q.PushAhead(K('b')));
  q.Push(K('c'));  // dropped: full again
  q.Clear();
  EXPECT_EQ(q.Size(), 0u);
  q.Push(K('c'));  // the hold stays
  q.PushAhead(K('d'));
  q.Release();
  EXPECT_EQ(Drain(q), "dc");
}

TEST(KeyQueue, PushesFromTwoThreadsKeepEachThreadsOrderAndLoseNothing) {
  KeyQueue q;
  constexpr int kEach = 1500;
  auto push = [&q](char c) {
    for (int i = 0; i < kEach; ++i) q.Push(KeyEvent{true, true, 0, std::uint16_t(i), CHAR(c), 0});
  };
  std::thread a(push, 'a'), b(push, 'b');
  int next[2] = {0, 0};
  for (int got = 0; got < 2 * kEach;) {
    KeyEvent e;
    if (!q.Pop(e)) continue;
    EXPECT_EQ(e.scanCode, next[e.character - 'a']++);
    ++got;
  }
  a.join(), b.join();
}

}  // namespace
