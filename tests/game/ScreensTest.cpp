// The menu, the help page, the story and a whole won session, in
// process: scripted keys, a clock that records every pause, the off-screen surface.
#include <algorithm>
#include <functional>
#include <map>
#include <vector>

#include "game/Letters.h"
#include "tests/game/GameFixture.h"

namespace {

using namespace NovaGunner;

class ScreensTest : public gametest::GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    clock.onSleep = [this](CARDINAL ms) {
      pauses.push_back(ms);
      if (onPause) onPause(ms);
    };
  }
  int Count(CARDINAL ms) const { return static_cast<int>(std::ranges::count(pauses, ms)); }
  // Every pixel of the letter cell at (x, y) has colour stroke or ground; both occur.
  void ExpectGlyph(int x, int y, CARDINAL ground) {
    const int strokes = CountColour(x + 1, y + 1, x + 38, y + 38, 4);
    const int grounds = CountColour(x + 1, y + 1, x + 38, y + 38, ground);
    EXPECT_TRUE(strokes > 200 && grounds > 100 && strokes + grounds == 38 * 38)
        << "letter at " << x << "," << y << ": " << strokes << " strokes, " << grounds;
  }
  std::vector<CARDINAL> pauses;  // every pause, in order
  std::function<void(CARDINAL)> onPause;
};

TEST_F(ScreensTest, MenuRepliesToWrongKeysHelpReturnsToAFullyRedrawnMenu) {
  keys.PushCode(27);
  keys.Close();
  Hoofd();
  const std::vector<std::uint32_t> menu = Graph::ReadSurface();
  EXPECT_TRUE(quit);

  // Capital H and an arrow (two codes) are wrong keys; h opens the help, where every
  // key but Escape gets the reply, an arrow twice; Escape leaves, Escape again quits.
  ResetState();
  keys.PushCode('H');
  keys.PushUp();
  keys.PushCode('h');
  keys.PushText(" x\r");
  keys.PushLeft();
  keys.PushCode(27);
  keys.PushCode(27);
  int replyPixels = -1;
  onPause = [&](CARDINAL ms) {
    if (ms == 1500 && replyPixels < 0) replyPixels = CountColour(450, 310, 729, 323, 9);
  };
  Hoofd();
  EXPECT_TRUE(quit);
  EXPECT_EQ(Count(1000), 3);
  EXPECT_EQ(Count(1500), 5);
  EXPECT_GT(replyPixels, 100);  // the reply's letters, blue on their black cells
  // Redrawn in full; only column 249, which no screen paints, keeps a trace of the help.
  std::vector<std::uint32_t> now = Graph::ReadSurface();
  for (int y = 0; y < 700; ++y) now[y * 1024 + 249] = menu[y * 1024 + 249];
  EXPECT_TRUE(now == menu);
  EXPECT_EQ(sounds.calls.size(), 0u);
}

TEST_F(ScreensTest, StorySkippedByEscapeDrawsNoFrameOtherwiseCrawlsAndWaits) {
  keys.PushCode(27);
  Intro();
  EXPECT_EQ(pauses, (std::vector<CARDINAL>{750, 1500}));
  EXPECT_EQ(sounds.Count("intro.wav"), 1);
  EXPECT_EQ(Pixel(600, 300), Palette(0));

  pauses.clear();
  std::map<int, int> whiteAtFrame;
  onPause = [&](CARDINAL ms) {
    if (ms != 40) return;
    const int frame = Count(40);
    if (frame % 100 == 1) whiteAtFrame[frame] = CountColour(215, 0, 1022, 698, 15);
    if (frame == 700) keys.PushCode(13);  // typed after the last frame
  };
  keys.PushText("x");
  Intro();
  EXPECT_EQ(Count(40), 700);
  EXPECT_EQ(keys.Size(), 0u);
  EXPECT_EQ(keys.EmptyReads(), 0u);  // x was dropped, Enter ended the wait
  EXPECT_EQ(whiteAtFrame[1], 0);     // the story starts below the window
  EXPECT_GT(whiteAtFrame[601], 1000);
  EXPECT_EQ(CountColour(0, 0, 1022, 698, 9), 1023 * 699);
}

TEST_F(ScreensTest, AWonPlayEndsWithTheWinScreenAndTheCredits) {
  // The boss enters on the second tick right above the ship, standing still and weak.
  // The skipped story keeps polling too; the menu is the first waiting screen with the
  // grey panel.
  keys.onIdle = [&] {
    if (Pixel(10, 10) == Palette(7)) {
      keys.PushCode(13);
      for (int k = 0; k < 60; ++k) keys.PushCode(' ');
      keys.Close();
    }
  };
  onPause = [&](CARDINAL ms) {
    if (ms == 4500) bigboss.showtime = 2, bigboss.hitpoints = 50, bigboss.step = 0, bigboss.x = 580;
    if (ms == 1900) {
      for (int x : {460, 500, 540, 660, 700, 740}) ExpectGlyph(x, 320, 0);
      EXPECT_EQ(CountColour(0, 0, 248, 698, 7), 249 * 699);
    }
  };
  keys.PushCode(27);  // skips the story; the rest is typed once the menu waits
  InitObjects();
  testing::internal::CaptureStdout();
  Session();
  const std::string console = testing::internal::GetCapturedStdout();
  EXPECT_TRUE(win);
  EXPECT_FALSE(gameover);
  EXPECT_GE(score, 5u);
  EXPECT_EQ(console, "\nYou win!!!Press any key 3 times to finish the program\n\n\n");
  EXPECT_EQ(sounds.Count("start.wav"), 1);
  EXPECT_EQ(sounds.Count("outro.wav"), 1);
  EXPECT_EQ(Count(40), 234 + 1);  // the credits roll, and the rest before the farewell
}

}  // namespace
