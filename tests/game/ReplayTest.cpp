// Demo files, their key source, and the built program replaying and recording plays.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <sstream>

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

// The trace and outcome lines of a headless timedemo of the demo file.
std::vector<std::string> Trace(const std::string& demo, const std::string& more = "") {
  const Outcome o = Program("--timedemo " + demo + " --headless --trace --nosound " + more);
  EXPECT_EQ(o.status, 0) << o.out.substr(0, 500);
  std::vector<std::string> lines;
  std::istringstream in(o.out);
  for (std::string line; std::getline(in, line);)
    if (line.starts_with("tick ") || line.starts_with("outcome: ")) lines.push_back(line);
  return lines;
}

const std::string kLongPlay = std::string(NOVA_TEST_DATA) + "/long-play.demo";

// A demo file is refused at its first faulty line; its keys reach the loop in their tick.
TEST_F(GameTest, DemoLinesFollowTheRulesAndTheirKeysComeOnlyInTheirTick) {
  std::vector<Replay::DemoLine> lines;
  int at = 0;
  std::string fault;
  ASSERT_TRUE(Replay::ParseDemo("# head\n\n1 0 80\r\n2\t32\n  \n9 27\n", lines, at, fault))
      << fault;
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].count, 2);
  EXPECT_EQ(lines[0].codes[1], 80);
  EXPECT_EQ(lines[2].tick, 9);
  const std::pair<const char*, int> bad[] = {
      {"1 32\n1 32\n", 2},  {"5 32\n3 32\n", 2},    {"0 32\n", 1},  {"1 256\n", 1},
      {"1 0\n", 1},         {"1 32 80\n", 1},       {"1 0 0\n", 1}, {"1\n", 1},
      {"1 0 80 80\n", 1},   {"#\n1 -3\n", 2},       {"1 x\n", 1},   {"99999999999 32\n", 1},
      {"1 32 # note\n", 1}, {"2 32\n\n\n1 32\n", 4}};
  for (const auto& [text, line] : bad) {
    EXPECT_FALSE(Replay::ParseDemo(text, lines, at, fault)) << text;
    EXPECT_EQ(at, line) << text;
    EXPECT_FALSE(fault.empty());
  }

  ASSERT_TRUE(Replay::ParseDemo("1 0 72\n2 13\n3 27\n5 32\n7 104\n", lines, at, fault));
  Replay::DemoKeySource source(lines);
  IO::SetKeySource(&source);
  std::string read;  // tick by tick: the codes IO.RdKey gives while KeyPressed says so
  for (S().tick = 0; S().tick < 7; ++S().tick) {
    if (S().tick == 4) continue;  // tick 5 is never polled: its key is gone afterwards
    while (IO::KeyPressed()) {
      const IO::CHAR c = IO::RdKey();
      read += std::to_string(c) + (c == 0 ? "," + std::to_string(IO::RdKey()) : "") + ",";
    }
    read += "|";
  }
  EXPECT_EQ(read, "0,72,|13,|27,|||104,|");
}

// The predicted trace, line by line and every time; one changed key changes the play from
// its tick on, and a recording of that play replays the same.
TEST(ReplayProgram, LongPlayTraceIsPredictedAndRecordingsReplayTheSame) {
  const std::vector<std::string> original = Trace(kLongPlay);
  std::istringstream in(ReadFile(std::string(NOVA_TEST_DATA) + "/long-play.trace"));
  std::vector<std::string> expected;
  for (std::string line; std::getline(in, line);) expected.push_back(line);
  ASSERT_FALSE(expected.empty());
  for (std::size_t i = 0; i < std::min(original.size(), expected.size()); ++i)
    ASSERT_EQ(original[i], expected[i]) << "first difference on line " << i + 1;
  EXPECT_EQ(original.size(), expected.size());
  EXPECT_EQ(Trace(kLongPlay), original);

  ScratchDir scratch;
  std::string demo = ReadFile(kLongPlay);
  const std::size_t at = demo.find("\n766 32\n");
  ASSERT_NE(at, std::string::npos);
  demo.replace(at, 8, "\n766 48\n");  // a bomb instead of a bullet
  const std::string recorded = scratch.File("recorded.demo");
  const std::vector<std::string> trace =
      Trace(scratch.File("changed.demo", demo), "--record " + recorded);
  ASSERT_GT(trace.size(), 766u);
  EXPECT_TRUE(std::equal(trace.begin(), trace.begin() + 765, original.begin()));
  EXPECT_NE(trace[765], original[765]);
  const std::string text = ReadFile(recorded);
  EXPECT_EQ(text.rfind("#", 0), 0u);
  EXPECT_NE(text.find("\n766 48\n"), std::string::npos);
  EXPECT_EQ(Trace(recorded), trace);
}

TEST(ReplayProgram, ARecordingSurvivesAFatalSignal) {
  ScratchDir scratch;
  const std::string recorded = scratch.File("killed.demo");
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, 1);
    ::execl(NOVA_GUNNER_PATH, NOVA_GUNNER_PATH, "--replay", kLongPlay.c_str(), "--headless",
            "--nosound", "--record", recorded.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  // Nothing reaches the file before the play ends or the program dies; the play is past
  // tick 12 after start-up, the 4.5 s pause and 60 ms per tick.
  ::sleep(2);
  EXPECT_TRUE(ReadFile(recorded).empty());
  ::usleep(10500 * 1000);
  ::kill(child, SIGTERM);
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
  const std::string text = ReadFile(recorded);
  EXPECT_EQ(text.rfind("#", 0), 0u);
  EXPECT_NE(text.find("\n1 0 80\n"), std::string::npos);
  EXPECT_NE(text.find("\n12 0 80\n"), std::string::npos) << text;
}

TEST(ReplayProgram, BadInputIsRefusedWithAClearMessage) {
  ScratchDir scratch;
  const std::string bad = scratch.File("bad.demo", "# x\n1 32\n1 32\n");
  const std::string good = scratch.File("good.demo", "1 32\n");
  const std::pair<std::string, std::string> cases[] = {
      {"--timedemo " + bad + " --headless", bad + ":3:"},
      {"--replay " + scratch.File("missing.demo"), "missing.demo"},
      {"--replay " + scratch.path().string(), ""},  // a directory is no demo
      {"--timedemo " + bad + " --record " + bad, ""},
      {"--timedemo " + good + " --headless --record " + good, ""},
      {"--fast", "--fast"}};
  std::vector<std::string> outs;
  for (const auto& [args, text] : cases) {
    const Outcome o = Program(args);
    EXPECT_EQ(o.status, 2) << args;
    EXPECT_NE(o.out.find(text), std::string::npos) << o.out;
    outs.push_back(o.out);
  }
  EXPECT_EQ(std::count(outs[0].begin(), outs[0].end(), '\n'), 1);  // one line says it all
  EXPECT_EQ(ReadFile(bad), "# x\n1 32\n1 32\n");                   // nothing overwritten
  EXPECT_EQ(ReadFile(good), "1 32\n");
  const Outcome help = Program("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("--timedemo"), std::string::npos);
}

}  // namespace
