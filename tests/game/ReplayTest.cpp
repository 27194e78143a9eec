// Demo files, their key source, and the built program replaying and recording plays.
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "game/Program.h"
#include "game/Recorder.h"
#include "game/Replay.h"
#include "tests/common/Io.h"
#include "tests/game/GameFixture.h"

namespace {

using namespace NovaGunner;
using gametest::GameTest;

struct Outcome {
  int status = -1;
  std::string out;
};

// Runs the program with args (already quoted), stdout captured, stderr into stdout.
Outcome Program(const std::string& args) {
  Outcome o;
  const std::string command = std::string(NOVA_GUNNER_PATH) + " " + args + " 2>&1";
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return o;
  char buf[65536];
  for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, pipe)) > 0;) o.out.append(buf, n);
  const int status = ::pclose(pipe);
  o.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return o;
}

std::vector<std::string> LinesOf(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Equal line by line; else the first difference.
void ExpectLines(const std::vector<std::string>& got, const std::string& golden) {
  const std::vector<std::string> expected = LinesOf(ReadFile(golden));
  ASSERT_FALSE(expected.empty()) << golden;
  const auto [g, e] = std::ranges::mismatch(got, expected);
  EXPECT_TRUE(g == got.end() && e == expected.end())
      << golden << ": first difference on line " << (g - got.begin()) + 1 << ": '"
      << (g != got.end() ? *g : "(none)") << "' instead of '"
      << (e != expected.end() ? *e : "(none)") << "'";
}

const std::string kData = NOVA_TEST_DATA;
const std::string kLongPlay = kData + "/long-play.demo";

// Runs fn under a file size limit (on this process and the programs it starts), SIGXFSZ
// ignored: a write past it is cut short, then fails, as on a full disk.
template <typename Fn>
void WithFileSizeLimit(rlim_t bytes, Fn fn) {
  rlimit saved{};
  ::getrlimit(RLIMIT_FSIZE, &saved);
  const rlimit limit{bytes, saved.rlim_max};
  const sighandler_t xfsz = ::signal(SIGXFSZ, SIG_IGN);
  ::setrlimit(RLIMIT_FSIZE, &limit);
  fn();
  ::setrlimit(RLIMIT_FSIZE, &saved), ::signal(SIGXFSZ, xfsz);
}

// A demo file is refused at its first faulty line, with what is wrong there.
TEST_F(GameTest, DemoLinesFollowTheRules) {
  std::vector<Demo::TickInput> lines;
  int at = 0;
  std::string fault;
  ASSERT_TRUE(Demo::Parse("# head\n\n1 0 80\r\n2\t32\n  \n9 27\n", lines, at, fault)) << fault;
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].count, 2);
  EXPECT_EQ(lines[0].codes[1], 80);
  EXPECT_EQ(lines[2].tick, 9);
  // A version this program writes, and recordings older than the version line.
  for (const char* text :
       {"# nova-gunner demo 1 \t\n1 0 0\n2147483647 255\n", "# nova-gunner demo: x\n1 32\n"})
    EXPECT_TRUE(Demo::Parse(text, lines, at, fault)) << text << fault;
  const struct {
    const char* text;
    int line;
    const char* says;  // which rule the line broke
  } bad[] = {{"1 32\n1 32\n", 2, "tick 1 does not come after tick 1"},
             {"5 32\n3 32\n", 2, "tick 3 does not come after tick 5"},
             {"0 32\n", 1, "start at 1"},
             {"1 256\n", 1, "key code 256 is not in 0-255"},
             {"1 0\n", 1, "0 must be followed by the second code"},
             {"1 32 80\n", 1, "second key code may only follow the code 0"},
             {"1\n", 1, "needs a key code"},
             {"# nova-gunner demo 2\n1 32\n", 1, "version '2' is not one this program reads"},
             {"1 0 80 80\n", 1, "more than two key codes"},
             {"#\n1 -3\n", 2, "unexpected character '-'"},
             {"1 3\x01\n", 1, "unexpected byte 0x01"},
             {"1 32 # note\n", 1, "unexpected character '#'"},
             {"2 32\n\n\n1 32\n", 4, "tick 1 does not come after tick 2"},
             {"1 3\x7f\n", 1, "unexpected byte 0x7F"},
             {"2147483648 32\n", 1, "tick number 2147483648 is too large"}};
  for (const auto& [text, line, says] : bad) {
    EXPECT_FALSE(Demo::Parse(text, lines, at, fault)) << text;
    EXPECT_EQ(at, line) << text;
    EXPECT_NE(fault.find(says), std::string::npos) << text << ": " << fault;
  }
}

// Ctrl with a letter reads a lone 0, so the arrow reader may take a second 0, or an
// arrow whose code stays pending into a later tick. Recorded live, the play replays the same.
TEST_F(GameTest, CtrlLetterKeysRecordAndReplayToTheSamePlay) {
  static Recorder recorder;
  ScratchDir scratch;
  std::string error;
  ASSERT_TRUE(recorder.Open(scratch.File("ctrl.demo", std::string(500, 'x')), error)) << error;
  constexpr IO::KeyEvent kCtrlA{true, true, 'A', 30, 1, IO::LEFT_CTRL};
  auto playTicks = [&](Replay::DemoKeySource* demo) {
    World::StartRun();
    std::vector<std::string> trace;
    for (int t = 1; t <= 10; ++t) {
      if (demo != nullptr) demo->BeginTick(t);
      if (!demo && t == 3) keys.PushEvent(kCtrlA), keys.PushEvent(kCtrlA);
      if (!demo && t == 5) keys.PushEvent(kCtrlA), keys.PushRight();
      if (!demo && t == 7) keys.PushCode(' '), keys.PushLeft();
      Ticks(1);
      recorder.Write(S().input);
      trace.push_back(Replay::TraceLine(World::Report()));
    }
    return trace;
  };
  const std::vector<std::string> live = playTicks(nullptr);
  ASSERT_TRUE(recorder.Close());
  const std::string text = ReadFile(scratch.File("ctrl.demo"));
  EXPECT_NE(text.find("\n3 0 0\n5 0 0\n7 77\n8 32\n9 0 75\n"), std::string::npos) << text;

  std::vector<Demo::TickInput> ticks;
  int at = 0;
  ASSERT_TRUE(Demo::Parse(text, ticks, at, error)) << error;
  Replay::DemoKeySource source(ticks);
  IO::Init(source);
  NewPlay();
  EXPECT_EQ(playTicks(&source), live);
}

// Each demo of tests/data replays to its golden trace (.trace: the figures and the outcome)
// and its golden pictures (.pictures: the fingerprint of the whole picture after every tick),
// which pin every pixel of every tick. Asked for together, neither changes the other.
TEST(ReplayProgram, EveryDemoReplaysToItsGoldenTraceAndPictures) {
  for (const char* name : {"long-play", "lost-to-shots", "lost-by-crash", "boxes-and-bombs"}) {
    SCOPED_TRACE(name);
    const std::string demo = kData + "/" + name;
    const Outcome o =
        Program("--timedemo " + demo + ".demo --headless --nosound --trace " + "--trace-pictures");
    EXPECT_EQ(o.status, 0) << o.out.substr(0, 500);
    std::vector<std::string> trace, pictures;
    for (const std::string& line : LinesOf(o.out))
      if (line.starts_with("picture "))
        pictures.push_back(line);
      else if (line.starts_with("tick ") || line.starts_with("outcome: "))
        trace.push_back(line);
    ExpectLines(trace, demo + ".trace");
    ExpectLines(pictures, demo + ".pictures");
  }
}

// Each tick's line is in the file when the tick ends: even a program killed loses none of
// them. SIGTERM ends it with sound on any audio driver, whose library must not take the
// signal over.
TEST(ReplayProgram, ARecordingHoldsEveryTickPlayedWhenTheProgramIsKilled) {
  ScratchDir scratch;
  const std::string recorded = scratch.File("killed.demo");
  for (const std::string driver : {"dummy", "disk"}) {
    // timeout hands SIGTERM on, and ends a program that would not end.
    FILE* out = ::popen(
        ("echo $$; export SDL_AUDIODRIVER=" + driver +
         " SDL_DISKAUDIOFILE=" + scratch.File("audio.raw") + "; exec timeout -s KILL 30 " +
         NOVA_GUNNER_PATH + " --replay " + kLongPlay + " --headless --trace --record " + recorded)
            .c_str(),
        "r");
    ASSERT_NE(out, nullptr);
    char line[256];
    const pid_t pid = std::fgets(line, sizeof line, out) ? std::atoi(line) : 0;
    while (std::fgets(line, sizeof line, out) && !std::string_view(line).starts_with("tick 12 ")) {
    }
    ASSERT_GT(pid, 0);
    ::kill(pid, SIGTERM);
    const int status = ::pclose(out);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << driver;
    const std::string text = ReadFile(recorded);
    EXPECT_NE(text.find("\n12 0 80\n"), std::string::npos) << text;
    EXPECT_TRUE(text.ends_with("\n")) << text;
  }
}

// A write cut short (a size limit, a full disk) leaves the file at its last whole line: half
// a line would replay another key. It is said once, and the loss stays reported through the
// next play's file: the run ends with status 3.
TEST(ReplayProgram, ARecordingCutShortKeepsWholeLinesSaysSoOnceAndTheStatusSaysSo) {
  ScratchDir scratch;
  Recorder recorder;
  std::string error, said;
  WithFileSizeLimit(200, [&] {
    ASSERT_TRUE(recorder.Open(scratch.File("cut.demo"), error)) << error;
    testing::internal::CaptureStderr();
    for (std::int64_t t = 1; t <= 50; ++t) recorder.Write({t, 1, {32, 0}});
    said = testing::internal::GetCapturedStderr();
    ASSERT_TRUE(recorder.Open(scratch.File("next.demo"), error)) << error;  // --again
    recorder.Write({1, 1, {27, 0}});
  });
  EXPECT_FALSE(recorder.Close());
  EXPECT_EQ(said.find("cannot write recording"), said.rfind("cannot write recording")) << said;
  EXPECT_NE(said.find(scratch.File("cut.demo")), std::string::npos) << said;
  EXPECT_EQ(ReadFile(scratch.File("next.demo")), Demo::Header() + "1 27\n");
  std::string whole = Demo::Header();
  for (int t = 1; whole.size() + std::to_string(t).size() + 4 <= 200; ++t)
    whole += std::to_string(t) + " 32\n";
  EXPECT_EQ(ReadFile(scratch.File("cut.demo")), whole);

  Outcome o;
  WithFileSizeLimit(1024, [&] {
    ::signal(SIGXFSZ, SIG_DFL);  // the program itself must not die of it
    o = Program("--timedemo " + kLongPlay + " --headless --nosound --record " +
                scratch.File("cut.demo"));
    ::signal(SIGXFSZ, SIG_IGN);
  });
  EXPECT_EQ(o.status, 3) << o.out;
  const std::string cut = ReadFile(scratch.File("cut.demo"));
  EXPECT_TRUE(cut.size() > 1000 && cut.ends_with("\n")) << cut;
  const std::string demo = ReadFile(kLongPlay);
  EXPECT_EQ(demo.find(cut.substr(Demo::Header().size() - 1)), demo.find('\n'));
}

// A later play of --again whose file cannot be made goes on unrecorded, and the run's
// status says so though every write that was made went well. In a child: a run starts
// the modules once.
TEST(ReplayProgram, AnAgainPlayWhoseFileCannotBeMadeGivesStatusThree) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  ScratchDir scratch;
  std::filesystem::create_directory(scratch.File("rec-2.demo"));  // in the second file's way
  auto run = [&] {
    static IO::ScriptedKeySource keys;  // an empty script reads as Escape: each play gives up
    static Lib::VirtualClock clock;
    static StandardSound::RecordingPlayer quiet;
    int menus = 0;
    keys.onIdle = [&] {  // the menu waits: two plays, then Escape leaves; a key elsewhere
      const bool menu = Graph::ReadPixel(10, 10) == Graph::kStdPalette[7];
      keys.PushCode(!menu ? ' ' : ++menus <= 2 ? 13 : 27);
    };
    Options options;
    options.again = options.recording = options.nosound = true;
    options.recordPath = scratch.File("rec.demo");
    const int status =
        Program::Main(options, {&keys, &clock, &quiet, Graph::WindowSystemKind::None});
    const bool kept = ReadFile(scratch.File("rec.demo")).starts_with(Demo::Header());
    std::filesystem::remove_all(scratch.path());  // std::exit leaves it otherwise
    std::exit(kept ? status : 0);                 // the first play's file is there all the same
  };
  EXPECT_EXIT(run(), testing::ExitedWithCode(3), "rec-2.demo.*this play goes on unrecorded");
}

// --best ranks only the kept plays whose replays give their noted outcome again: an edited
// score is listed as not proven, a broken file as broken, and best:N replays the N-th.
TEST(ReplayProgram, BestRanksProvenPlaysAloneAndBestNReplaysTheNthOne) {
  ScratchDir home;
  ::setenv("XDG_DATA_HOME", home.path().c_str(), 1);  // the programs run here take it
  const std::string plays = home.path() / "nova-gunner/plays";
  EXPECT_EQ(Program("--best").out, "No kept plays in " + plays +
                                       " (with --keep-plays every finished play is "
                                       "kept there).\n");
  std::filesystem::create_directories(plays);
  // A demo of tests/data kept with the outcome its golden trace ends with, or another.
  const auto keep = [&](const std::string& name, const char* demo, std::string outcome = "") {
    if (outcome.empty()) outcome = LinesOf(ReadFile(kData + "/" + demo + ".trace")).back();
    std::ofstream(plays + "/" + name) << "# " << outcome << "\n# date: 2025-06-01 12:00:00 +0000\n"
                                      << ReadFile(kData + "/" + demo + ".demo");
  };
  keep("low.demo", "lost-to-shots");     // score 5
  keep("high.demo", "boxes-and-bombs");  // score 25
  keep("edited.demo", "lost-by-crash", "outcome: lost ticks=385 score=500");
  std::ofstream(plays + "/broken.demo") << "# outcome: won ticks=9 score=9\n1 32\n1 32\n";
  const Outcome best = Program("--best");
  EXPECT_EQ(best.status, 0);
  const std::string ranked =
      " rank   score  outcome  ticks  date              file\n"
      "    1      25  lost      1662  2025-06-01 12:00  high.demo\n"
      "    2       5  lost       855  2025-06-01 12:00  low.demo\n"
      "Not proven (their replays do not give their noted outcome; never ranked):\n"
      "          500  lost       385  2025-06-01 12:00  edited.demo\n"
      "      (its replay gives lost, score 10, 385 ticks)\n"
      "Broken (files that cannot be read as kept plays):\n"
      "      broken.demo: line 3: tick 1 does not come after tick 1\n";
  EXPECT_TRUE(best.out.ends_with(ranked)) << best.out;
  const Outcome second = Program("--timedemo best:2 --headless --nosound");
  EXPECT_EQ(second.status, 0);
  EXPECT_TRUE(second.out.starts_with(LinesOf(ReadFile(kData + "/lost-to-shots.trace")).back()))
      << second.out;
  for (const std::string word : {"best:3", "best:x"}) {
    const Outcome none = Program("--replay " + word + " --headless");
    EXPECT_EQ(none.status, 2) << word;
    EXPECT_EQ(std::count(none.out.begin(), none.out.end(), '\n'), 1) << none.out;
  }
  ::unsetenv("XDG_DATA_HOME");
}

TEST(ReplayProgram, BadInputIsRefusedWithAClearMessage) {
  ScratchDir scratch;
  const std::string bad = scratch.File("bad.demo", "# x\n1 32\n1 32\n");
  const std::string good = scratch.File("good.demo", "1 32\n");
  const std::pair<std::string, std::string> cases[] = {
      {"--timedemo " + bad + " --headless", bad + ":3:"},
      {"--replay " + scratch.File("missing.demo"), "missing.demo"},
      {"--replay " + scratch.path().string(), "it is a directory"},
      {"--timedemo " + bad + " --record " + bad, bad + ":3:"},
      {"--timedemo " + good + " --headless --record " + good, "would overwrite the demo file"},
      {"--timedemo " + good + " --headless --record /dev/full", "/dev/full"},
      {"--fast", "--fast"}};
  for (const auto& [args, text] : cases) {
    const Outcome o = Program(args);
    EXPECT_EQ(o.status, 2) << args;
    EXPECT_NE(o.out.find(text), std::string::npos) << o.out;
    EXPECT_EQ(std::ranges::count(o.out, '\n'), 1) << o.out;  // one line says it all
  }
  EXPECT_EQ(ReadFile(bad), "# x\n1 32\n1 32\n");  // nothing overwritten
  EXPECT_EQ(ReadFile(good), "1 32\n");
  // Results that went nowhere: the run is over, but says so in its status.
  EXPECT_EQ(Program("--timedemo " + good + " --headless --nosound >/dev/full").status, 3);
  EXPECT_EQ(Program("--help >/dev/full").status, 3);
  EXPECT_EQ(Program("--help").status, 0);  // the text itself: OptionsTest
}

}  // namespace
