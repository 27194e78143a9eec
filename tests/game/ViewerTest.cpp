// The replay viewer: exact seeks, --from and taking over, in process on stand-in services.
#include <functional>
#include <map>
#include <sstream>

#include "game/Program.h"
#include "game/Viewer.h"
#include "tests/common/Io.h"
#include "tests/game/GameFixture.h"

namespace {

using namespace NovaGunner;
using gametest::GameTest;

const std::string kData = NOVA_TEST_DATA;
const std::string kLongPlay = kData + "/long-play.demo";

std::vector<std::string> LinesOf(const std::string& text, std::string_view prefix = "") {
  std::istringstream in(text);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);)
    if (line.starts_with(prefix)) lines.push_back(line);
  return lines;
}

// After seeks, steps and speed changes the viewer shows at tick N the whole surface a
// straight replay has after tick N (the overlay set all along, which the surface never
// shows); the seeks' re-simulated ticks play no sound.
TEST_F(GameTest, ViewerSeeksAndStepsShowTheStraightReplaysPictureAtEveryStop) {
  std::vector<Demo::TickInput> ticks;
  std::string error;
  ASSERT_TRUE(Replay::ReadDemo(kLongPlay, ticks, error)) << error;
  Replay::DemoKeySource demo(ticks);
  IO::Init(demo);
  IO::ScriptedKeySource player;
  Viewer viewer(player, demo, clock, sounds);
  std::map<std::int64_t, std::vector<std::uint32_t>> straight;  // after the stops' ticks
  viewer.KeepStart();
  Background();
  World::StartRun();
  for (straight[0] = Graph::ReadSurface(); !S().exit;) {
    demo.BeginTick(S().tick + 1);
    World::Tick();
    if (S().tick <= 2 || S().tick % 167 <= 1) straight[S().tick] = Graph::ReadSurface();
  }
  const std::int64_t last = S().tick;
  straight[last] = Graph::ReadSurface();

  viewer.StartKeys();
  Lib::Init(viewer.Clock());
  StandardSound::Init(viewer.Sounds());
  // Each key (an arrow's scan code negated), and the tick the viewer holds at after it
  // (paused from the start).
  constexpr int kLeft = -75, kRight = -77, kHome = -71, kEnd = -79;
  const std::vector<std::pair<int, std::int64_t>> script = {
      {kRight, 167},  {kRight, 334}, {'.', 335}, {kLeft, 168}, {kLeft, 1}, {kLeft, 0}, {kEnd, last},
      {kRight, last}, {'-', last},   {kHome, 0}, {'.', 1},     {'+', 1},   {'.', 2},   {27, 2}};
  std::size_t next = 0;
  clock.onSleep = [&](Lib::CARDINAL ms) {
    if (ms != 20) return;  // the viewer's hold while paused
    ASSERT_EQ(S().tick, next == 0 ? 0 : script[next - 1].second) << "after key " << next;
    EXPECT_TRUE(Graph::ReadSurface() == straight[S().tick]) << "the picture at tick " << S().tick;
    const int k = script.at(next++).first;
    k < 0 ? player.PushExtended(static_cast<std::uint16_t>(-k)) : player.PushCode(char(k));
  };
  const std::size_t sounded = sounds.calls.size();
  player.PushCode(' ');
  player.PushExtended(-kHome);
  for (Viewer::Next n; (n = viewer.Between()) == Viewer::Next::Tick;) {
    demo.BeginTick(S().tick + 1);
    World::Tick();
  }
  clock.onSleep = nullptr;
  EXPECT_EQ(next, script.size());
  EXPECT_LT(sounds.calls.size() - sounded, 10u);  // the three steps' at most
}

// The program's own run of --replay on stand-in services (keys all typed at once, then
// their end; pauses that take no time): its status and standard output.
Options From(std::int64_t n) {
  Options options;
  options.from = n;
  options.tracePictures = options.trace = true;
  return options;
}

std::pair<int, std::string> View(Options options,
                                 const std::function<void(IO::ScriptedKeySource&)>& type) {
  IO::ScriptedKeySource keys;
  Lib::VirtualClock clock;
  StandardSound::RecordingPlayer sounds;
  type(keys);
  keys.Close();
  options.demo = Options::Demo::Replay;
  options.demoPath = kLongPlay;
  options.nosound = true;
  Graph::Exit();  // a test before may have started it
  testing::internal::CaptureStdout();
  const int status =
      Program::Main(options, {&keys, &clock, &sounds, Graph::WindowSystemKind::None});
  return {status, testing::internal::GetCapturedStdout()};
}

// --from N opens on the picture after tick N (its golden fingerprint) and says so; with
// the player's input ended the viewing stops there. Beyond the file's last tick: refused.
TEST(ReplayProgram, FromOpensPausedOnTheStraightReplaysPicture) {
  const std::vector<std::string> golden = LinesOf(ReadFile(kData + "/long-play.pictures"));
  for (const std::int64_t n : {1, 777, 5000}) {
    const auto [status, out] = View(From(n), [](auto&) {});
    EXPECT_EQ(status, 0);
    EXPECT_EQ(out, golden[n - 1] + "\npaused at tick " + std::to_string(n) + "\nstopped at tick " +
                       std::to_string(n) + "\n");
  }
  testing::internal::CaptureStderr();
  EXPECT_EQ(View(From(5022), [](auto&) {}).first, kExitBadInput);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("beyond the last tick"), std::string::npos);
}

// Enter hands the play to the player at the tick shown; the recording holds the demo's
// lines to that tick and the player's after, and replays to the trace the live play printed.
TEST(ReplayProgram, ATakeOverRecordedReplaysToTheLivePlaysTrace) {
  ScratchDir scratch;
  const std::string recorded = scratch.File("taken.demo");
  // Enter, then two shots, a step left, a bomb; the input's end is Escape.
  Options options = From(300);
  options.recordPath = recorded;
  options.recording = true;
  const auto [status, out] = View(options, [](auto& keys) {
    for (const char c : {'\r', ' ', ' '}) keys.PushCode(c);
    keys.PushLeft();
    keys.PushCode('0');
  });
  ASSERT_EQ(status, 0) << out.substr(0, 400);
  const std::vector<std::string> live = LinesOf(out, "tick ");
  ASSERT_EQ(live.size(), 5u) << out.substr(0, 400);
  EXPECT_TRUE(live.front().starts_with("tick 301 ")) << live.front();
  EXPECT_NE(out.find("You lose"), std::string::npos);  // the play's end as any play's

  std::string upTo300 = Demo::Header();
  for (const std::string& line : LinesOf(ReadFile(kLongPlay)))
    if (!line.empty() && line[0] != '#' && std::stoll(line) <= 300) upTo300 += line + "\n";
  EXPECT_EQ(ReadFile(recorded), upTo300 + "301 32\n302 32\n303 0 75\n304 48\n305 27\n");
  Options replay = From(-1);
  replay.demo = Options::Demo::Timedemo;
  replay.demoPath = recorded;
  testing::internal::CaptureStdout();
  Graph::Exit();
  Program::Main(replay, {&gametest::Idle().keys, &gametest::Idle().clock, &gametest::Idle().sounds,
                         Graph::WindowSystemKind::None});
  const std::vector<std::string> replayed =
      LinesOf(testing::internal::GetCapturedStdout(), "tick ");
  const std::vector<std::string> golden = LinesOf(ReadFile(kData + "/long-play.trace"), "tick ");
  ASSERT_EQ(replayed.size(), 305u);
  EXPECT_TRUE(std::equal(golden.begin(), golden.begin() + 300, replayed.begin()));
  EXPECT_TRUE(std::equal(live.begin(), live.end(), replayed.begin() + 300));
}

}  // namespace
