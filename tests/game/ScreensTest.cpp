// The screens around the play in process (scripted keys, a clock that records every pause,
// the off-screen surface): their flow, and the picture at each settled moment against its
// golden fingerprint in tests/data/screens.pictures.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "game/Session.h"
#include "tests/game/GameFixture.h"

namespace {

using namespace NovaGunner;

// The golden file: a name and 16 hex digits a line; '#' lines are notes.
const std::map<std::string, std::string>& Golden() {
  static const std::map<std::string, std::string> golden = [] {
    std::map<std::string, std::string> g;
    std::ifstream in(std::string(NOVA_TEST_DATA) + "/screens.pictures");
    for (std::string name, rest; in >> name;)
      name[0] == '#' ? std::getline(in, rest) : in >> g[name];
    return g;
  }();
  return golden;
}

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

  // The picture now against its golden fingerprint. One that differs is written as a PPM
  // file to look at; the failure, with its line for the golden file, comes at the end (the
  // console may be captured meanwhile).
  void Pin(const std::string& name) {
    pinned.push_back(name);
    char got[17];
    std::snprintf(got, sizeof got, "%016llx",
                  static_cast<unsigned long long>(Graph::SurfaceFingerprint()));
    const auto it = Golden().find(name);
    if (it != Golden().end() && it->second == got) return;
    const std::string ppm = testing::TempDir() + "screens-" + name + ".ppm";
    std::ofstream out(ppm, std::ios::binary);
    out << "P6\n1024 700\n255\n";
    for (std::uint32_t p : Graph::ReadSurface()) out << char(p >> 16) << char(p >> 8) << char(p);
    differing.push_back(name + " " + got + " (golden: " +
                        (it != Golden().end() ? it->second : "none") + "), in " + ppm);
  }
  void TearDown() override {
    for (const std::string& d : differing) ADD_FAILURE() << "the picture differs: " << d;
    GameTest::TearDown();
  }

  // Starts the play from the menu's wait (the first waiting screen with the grey panel;
  // the skipped story polls too), then ends the input.
  void PlayFromTheMenu(int spaces) {
    keys.onIdle = [this, spaces] {
      if (Graph::ReadPixel(10, 10) != Graph::kStdPalette[7]) return;
      keys.PushCode(13);
      for (int k = 0; k < spaces; ++k) keys.PushCode(' ');
      keys.Close();
    };
  }

  std::vector<CARDINAL> pauses;  // every pause, in order
  std::function<void(CARDINAL)> onPause;
  std::vector<std::string> pinned;  // the moments pinned, in order
  std::vector<std::string> differing;
};

TEST_F(ScreensTest, StorySkippedByEscapeDrawsNoFrameOtherwiseCrawlsAndWaits) {
  keys.PushCode(27);
  Intro();
  EXPECT_EQ(pauses, (std::vector<CARDINAL>{750, 1500}));
  EXPECT_EQ(sounds.Count("intro.wav"), 1);
  Pin("story-skipped");

  pauses.clear();
  onPause = [&](CARDINAL ms) {
    if (ms != 40) return;
    const int frame = Count(40);
    if (frame % 140 == 1 || frame == 700) Pin("story-frame-" + std::to_string(frame));
    if (frame == 700) keys.PushCode(13);  // typed after the last frame
  };
  keys.PushText("x");
  Intro();
  EXPECT_EQ(Count(40), 700);
  EXPECT_EQ(keys.Size(), 0u);
  EXPECT_EQ(keys.EmptyReads(), 0u);  // x was dropped, Enter ended the wait
  Pin("story-end");
  EXPECT_EQ(pinned.size(), 8u);  // the skipped story, six frames, the end
}

// At each wait the picture, then the next keys: capital H and an arrow (two codes) are
// wrong keys in the menu; h opens the help, where every key but Escape gets the reply, an
// arrow twice; Escape leaves, Escape again quits. After a reply the screen is as before it;
// the menu after the help differs from the first one in column 249 alone, which no screen
// paints.
TEST_F(ScreensTest, MenuAndHelpReplyToWrongKeysAndComeBackAsTheyWere) {
  const std::vector<std::pair<std::string, std::function<void()>>> waits = {
      {"menu", [&] { keys.PushCode('H'); }},
      {"menu", [&] { keys.PushUp(); }},
      {"menu", [&] { keys.PushCode('h'); }},
      {"help", [&] { keys.PushText(" x\r"); }},
      {"help", [&] { keys.PushLeft(); }},
      {"help", [&] { keys.PushCode(27); }},
      {"menu-after-help", [&] { keys.PushCode(27); }}};
  std::size_t next = 0;
  keys.onIdle = [&] {
    if (next == waits.size()) return keys.Close();  // the flow went astray: end it
    Pin(waits[next].first);
    waits[next++].second();
  };
  onPause = [&](CARDINAL ms) { Pin(ms == 1000 ? "menu-wrong-key" : "help-wrong-key"); };
  Hoofd();
  EXPECT_TRUE(quit);
  EXPECT_EQ(next, waits.size());
  EXPECT_EQ(Count(1000), 3);
  EXPECT_EQ(Count(1500), 5);
  EXPECT_EQ(pauses.size(), 8u);
  EXPECT_EQ(sounds.calls.size(), 0u);
}

// The boss enters on the second tick right above the ship, standing still and weak.
TEST_F(ScreensTest, AWonPlayEndsWithTheWinScreenAndTheCredits) {
  PlayFromTheMenu(60);
  onPause = [&](CARDINAL ms) {
    if (ms == 4500) bigboss.showtime = 2, bigboss.hitpoints = 50, bigboss.step = 0, bigboss.x = 580;
    const int n = Count(ms);
    if (ms == 1900) Pin("you-win");
    if (ms == 2000) Pin("credits-score");
    if (ms == 40 && (n == 50 || n == 120 || n == 190 || n == 234))
      Pin("credits-frame-" + std::to_string(n));
    if (ms == 40 && n == 235) Pin("credits-cleared");
    if (ms == 750 && n >= 2) Pin(n == 2 ? "farewell" : "farewell-erased");
    if (ms == 4000 && n == 2) Pin("farewell");
  };
  keys.PushCode(27);  // skips the story; the rest is typed once the menu waits
  testing::internal::CaptureStdout();
  Session();
  const std::string console = testing::internal::GetCapturedStdout();
  Pin("goodbye");
  EXPECT_TRUE(win);
  EXPECT_FALSE(gameover);
  EXPECT_GE(score, 5u);
  EXPECT_EQ(console, "\nYou win!!!Press any key 3 times to finish the program\n\n\n");
  EXPECT_EQ(sounds.Count("start.wav"), 1);
  EXPECT_EQ(sounds.Count("outro.wav"), 1);
  EXPECT_EQ(pinned.size(), 11u);  // every moment above, the farewell twice
}

// Escape in the play gives up: GAME OVER. With --desktop keys typed just before the loss
// answer neither GAME OVER nor the closing prompt; each waits for a key typed after it
// showed (none comes here: each read finds none).
TEST_F(ScreensTest, ALostPlayEndsWithGameOverAndWithFreshAnswersKeysTypedBeforePassNoScreen) {
  IO::Init(keys, {.freshAnswers = true});
  bool played = false;
  keys.onIdle = [&] {
    if (!played && Graph::ReadPixel(10, 10) == Graph::kStdPalette[7])
      played = true, keys.PushCode(13);
  };
  onPause = [&](CARDINAL ms) {
    if (ms == 4500) keys.PushText("\x1b    ");  // Escape gives up; four keys follow it
    if (ms == 1900) Pin("game-over");
  };
  keys.PushCode(27);
  testing::internal::CaptureStdout();
  Session();
  const std::string console = testing::internal::GetCapturedStdout();
  EXPECT_TRUE(gameover);
  EXPECT_EQ(keys.EmptyReads(), 4u);  // GAME OVER's and the prompt's three
  EXPECT_EQ(console, "\nYou losePress any key 3 times to finish the program\n\n\n");
  EXPECT_EQ(pinned, std::vector<std::string>{"game-over"});
}

}  // namespace
