// The replay viewer: exact seeks in process, --from and taking over in the built program.
#include <sys/wait.h>

#include <cstdio>
#include <functional>
#include <map>
#include <set>
#include <sstream>

#include "game/Replay.h"
#include "game/Viewer.h"
#include "tests/common/Io.h"
#include "tests/game/GameFixture.h"

namespace {

using namespace NovaGunner;
using gametest::GameTest;

const std::string kData = NOVA_TEST_DATA;
const std::string kLongPlay = kData + "/long-play.demo";

using Surface = std::vector<std::uint32_t>;

// After any seeks, steps and speed changes, the viewer shows at tick N the whole surface a
// straight replay has after tick N (its overlay set all along, which the surface never
// shows); no sound plays while it re-simulates.
TEST_F(GameTest, ViewerSeeksAndStepsShowTheStraightReplaysPictureAtEveryStop) {
  std::vector<Demo::TickInput> ticks;
  std::string error;
  ASSERT_TRUE(Replay::ReadDemo(kLongPlay, ticks, error)) << error;
  Replay::DemoKeySource demo(ticks);
  IO::Init(demo);
  IO::ScriptedKeySource player;
  Viewer viewer(player, demo, clock, sounds);
  // The straight replay, as the program plays it.
  std::map<std::int64_t, Surface> straight;
  const std::set<std::int64_t> stops = {1, 2, 167, 168, 334, 335};
  viewer.KeepStart();
  Background();
  World::StartRun();
  straight[0] = Graph::ReadSurface();
  while (!S().exit) {
    demo.BeginTick(S().tick + 1);
    World::Tick();
    if (stops.contains(S().tick)) straight[S().tick] = Graph::ReadSurface();
  }
  const std::int64_t last = S().tick;
  straight[last] = Graph::ReadSurface();
  ASSERT_GT(last, 1000);

  viewer.StartKeys();
  Lib::Init(viewer.Clock());
  StandardSound::Init(viewer.Sounds());
  const auto key = [&](char c) { return [&player, c] { player.PushCode(c); }; };
  const auto arrow = [&](std::uint16_t scan) {
    return [&player, scan] { player.PushExtended(scan); };
  };
  constexpr std::uint16_t kLeft = 75, kRight = 77, kHome = 71, kEnd = 79;
  // Each key, with the tick the viewer holds at after it.
  const std::vector<std::pair<std::function<void()>, std::int64_t>> script = {
      {arrow(kRight), 167}, {arrow(kRight), 334}, {key('.'), 335},     {arrow(kLeft), 168},
      {arrow(kLeft), 1},    {arrow(kLeft), 0},    {arrow(kEnd), last}, {arrow(kRight), last},
      {key('-'), last},     {arrow(kHome), 0},    {key('.'), 1},       {key('+'), 1},
      {key('.'), 2}};
  std::size_t next = 0, checked = 0;
  clock.onSleep = [&](Lib::CARDINAL ms) {
    if (ms != 20) return;  // the viewer's hold while paused
    const std::int64_t at = S().tick;
    ASSERT_TRUE(straight.contains(at)) << at;
    EXPECT_TRUE(Graph::ReadSurface() == straight[at]) << "the picture at tick " << at;
    if (next > 0) {
      EXPECT_EQ(at, script[next - 1].second) << "after key " << next;
    }
    ++checked;
    if (next < script.size()) {
      script[next++].first();
    } else {
      player.PushCode(27);
    }
  };
  const std::size_t sounded = sounds.calls.size();
  player.PushCode(' ');  // pause
  player.PushExtended(kHome);
  for (;;) {
    const Viewer::Next n = viewer.Between();
    if (n == Viewer::Next::Quit) break;
    ASSERT_EQ(n, Viewer::Next::Tick);
    demo.BeginTick(S().tick + 1);
    World::Tick();
  }
  clock.onSleep = nullptr;
  EXPECT_EQ(checked, script.size() + 1);
  EXPECT_EQ(viewer.End(), last);
  // Three steps at speed 1 and 1/2 played their sounds or none; the seeks' thousands of
  // re-simulated ticks none.
  EXPECT_LT(sounds.calls.size() - sounded, 10u);
}

struct Outcome {
  int status = -1;
  std::string out;
};

Outcome Program(const std::string& args) {
  Outcome o;
  FILE* pipe = ::popen((std::string(NOVA_GUNNER_PATH) + " " + args + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return o;
  char buf[65536];
  for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, pipe)) > 0;) o.out.append(buf, n);
  const int status = ::pclose(pipe);
  o.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return o;
}

std::vector<std::string> LinesOf(const std::string& text, std::string_view prefix = "") {
  std::istringstream in(text);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);)
    if (line.starts_with(prefix)) lines.push_back(line);
  return lines;
}

// --from N opens on the straight replay's picture after tick N (its golden fingerprint) and
// says so; with the player's input ended nothing can go on, and the viewing stops there.
// Beyond the file's last tick it is refused.
TEST(ReplayProgram, FromOpensPausedOnTheStraightReplaysPicture) {
  const std::vector<std::string> golden = LinesOf(ReadFile(kData + "/long-play.pictures"));
  const std::vector<Demo::TickInput> ticks = [] {
    std::vector<Demo::TickInput> t;
    std::string error;
    Replay::ReadDemo(kLongPlay, t, error);
    return t;
  }();
  ASSERT_FALSE(ticks.empty());
  const std::int64_t lastLine = ticks.back().tick;
  for (const std::int64_t n : {std::int64_t{1}, std::int64_t{777}, lastLine}) {
    const Outcome o = Program("--replay " + kLongPlay + " --headless --nosound --trace-pictures " +
                              "--from " + std::to_string(n) + " </dev/null");
    EXPECT_EQ(o.status, 0) << o.out;
    // On the last tick the play is over: its outcome, as a replay's.
    EXPECT_EQ(
        o.out,
        golden[n - 1] + "\npaused at tick " + std::to_string(n) + "\n" +
            (n < lastLine ? "stopped at tick " + std::to_string(n) : "outcome: won") +
            (n < lastLine ? "\n" : " ticks=5021 score=40 hitpoints=300 bullets=42 bombs=10\n"));
  }
  const Outcome beyond =
      Program("--replay " + kLongPlay + " --headless --from " + std::to_string(lastLine + 1));
  EXPECT_EQ(beyond.status, 2);
  EXPECT_NE(beyond.out.find("beyond the last tick"), std::string::npos) << beyond.out;
}

// Enter hands the play to the player at the tick shown; the recording holds the demo's
// lines to that tick and the player's after, and replays to the trace the live play printed.
TEST(ReplayProgram, ATakeOverRecordedReplaysToTheLivePlaysTrace) {
  ScratchDir scratch;
  const std::string recorded = scratch.File("taken.demo");
  // Enter, then two shots, a step left, a bomb; the input's end is Escape.
  const std::string typed = scratch.File("typed", "\r  \033[D0");
  const Outcome live =
      Program("--replay " + kLongPlay + " --headless --nosound --trace --from 300 --record " +
              recorded + " <" + typed);
  ASSERT_EQ(live.status, 0) << live.out.substr(0, 400);
  const std::vector<std::string> liveTrace = LinesOf(live.out, "tick ");
  ASSERT_GE(liveTrace.size(), 4u) << live.out.substr(0, 400);
  EXPECT_TRUE(liveTrace.front().starts_with("tick 301 ")) << liveTrace.front();
  EXPECT_NE(live.out.find("You lose"), std::string::npos);

  const std::string text = ReadFile(recorded);
  std::string demoUpTo300;
  for (const std::string& line : LinesOf(ReadFile(kLongPlay)))
    if (!line.starts_with("#") && !line.empty() && std::stoll(line) <= 300)
      demoUpTo300 += line + "\n";
  EXPECT_TRUE(text.starts_with(Demo::Header() + demoUpTo300)) << text.substr(0, 300);
  EXPECT_NE(text.find("\n301 32\n302 32\n303 0 75\n304 48\n305 27\n"), std::string::npos) << text;

  const Outcome again = Program("--timedemo " + recorded + " --headless --nosound --trace");
  ASSERT_EQ(again.status, 0);
  const std::vector<std::string> replayed = LinesOf(again.out, "tick ");
  const std::vector<std::string> golden = LinesOf(ReadFile(kData + "/long-play.trace"), "tick ");
  ASSERT_EQ(replayed.size(), 300 + liveTrace.size());
  EXPECT_TRUE(std::equal(golden.begin(), golden.begin() + 300, replayed.begin()));
  EXPECT_TRUE(std::equal(liveTrace.begin(), liveTrace.end(), replayed.begin() + 300));
}

}  // namespace
