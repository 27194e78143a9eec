// Replays, timedemos and recordings of plays (options of the program).
#include "game/Replay.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>

#include "console/Lib.h"
#include "game/NovaGunner.h"
#include "graph/Graph.h"
#include "support/StandardSound.h"

namespace NovaGunner::Replay {

namespace {

constexpr std::int64_t kMaxTick = 2147483647;
constexpr std::size_t kMaxDemoBytes = 64u << 20;

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// Digits only (checked by the caller); FALSE when above limit.
bool ToNumber(std::string_view digits, std::int64_t limit, std::int64_t& value) {
  value = 0;
  for (char c : digits) {
    value = value * 10 + (c - '0');
    if (value > limit) return false;
  }
  return true;
}

std::string Describe(char c) {
  char text[32];
  const auto u = static_cast<unsigned char>(c);
  if (u >= 0x21 && u < 0x7F) {
    std::snprintf(text, sizeof text, "unexpected character '%c'", c);
  } else {
    std::snprintf(text, sizeof text, "unexpected byte 0x%02X", u);
  }
  return text;
}

}  // namespace

bool ParseDemo(std::string_view text, std::vector<DemoLine>& lines, int& faultLine,
               std::string& fault) {
  lines.clear();
  std::int64_t lastTick = 0;
  int lineNo = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    ++lineNo;
    faultLine = lineNo;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;

    std::string_view fields[4];
    int count = 0;
    for (std::size_t i = 0; i < line.size();) {
      if (IsBlank(line[i])) {
        ++i;
        continue;
      }
      std::size_t j = i;
      while (j < line.size() && !IsBlank(line[j])) {
        if (line[j] < '0' || line[j] > '9') {
          fault = Describe(line[j]);
          return false;
        }
        ++j;
      }
      if (count == 4) break;
      fields[count++] = line.substr(i, j - i);
      i = j;
    }
    if (count == 0) continue;  // blanks only: as good as empty
    if (count == 1) {
      fault = "a tick number needs a key code after it";
      return false;
    }
    if (count > 3) {
      fault = "more than two key codes in one tick";
      return false;
    }

    DemoLine d;
    if (!ToNumber(fields[0], kMaxTick, d.tick)) {
      fault = "tick number " + std::string(fields[0]) + " is too large";
      return false;
    }
    if (d.tick == 0) {
      fault = "tick numbers start at 1";
      return false;
    }
    if (d.tick <= lastTick) {
      fault = "tick " + std::to_string(d.tick) + " does not come after tick " +
              std::to_string(lastTick);
      return false;
    }
    for (int k = 1; k < count; ++k) {
      std::int64_t code = 0;
      if (!ToNumber(fields[k], 255, code)) {
        fault = "key code " + std::string(fields[k]) + " is not in 0-255";
        return false;
      }
      d.codes[k - 1] = static_cast<std::uint8_t>(code);
    }
    d.count = count - 1;
    if (d.codes[0] == 0 && d.count == 1) {
      fault = "key code 0 must be followed by the second code of its key";
      return false;
    }
    if (d.codes[0] != 0 && d.count == 2) {
      fault = "a second key code may only follow the code 0";
      return false;
    }
    if (d.count == 2 && d.codes[1] == 0) {
      fault = "the second code of a key cannot be 0";
      return false;
    }
    lastTick = d.tick;
    lines.push_back(d);
  }
  return true;
}

IO::KeyEvent EventFor(std::uint8_t code, std::uint8_t second) {
  IO::KeyEvent e;
  if (code == 0) {
    e.scanCode = second;
    e.state = IO::ENHANCED_KEY;
  } else if (code == 13) {
    e.character = 13;
    e.scanCode = 28;
  } else if (code == 27) {
    e.character = 27;
    e.scanCode = 1;
  } else {
    e.character = code;
  }
  return e;
}

bool DemoKeySource::Current(IO::KeyEvent& event) {
  const std::int64_t tick = World::State().tick + 1;                   // the tick the loop is in
  while (next_ < lines_.size() && lines_[next_].tick < tick) ++next_;  // missed: gone
  if (next_ >= lines_.size() || lines_[next_].tick != tick) return false;
  event = EventFor(lines_[next_].codes[0], lines_[next_].codes[1]);
  return true;
}

bool DemoKeySource::Peek(IO::KeyEvent& event) {
  return Current(event);
}

IO::KeyEvent DemoKeySource::Read() {
  IO::KeyEvent event;
  if (Current(event)) {
    ++next_;
    return event;
  }
  // Only reached if a reader asks beyond what KeyPressed offered; a demo never lets the
  // loop wait, so end the play as Escape would rather than hang.
  return EventFor(27, 0);
}

std::string TraceLine(const World::TickReport& r) {
  char text[256];
  std::snprintf(text, sizeof text, "tick %lld %d %d %d %u %d %d %d %d %d %lld %lld %d\n",
                static_cast<long long>(r.tick), r.x, r.y, r.hitpoints, r.score, r.kogelsover,
                r.rakettenover, r.aantalvijanden, r.alive, r.aantalbox,
                static_cast<long long>(r.fired), static_cast<long long>(r.shots), r.bosshitpoints);
  return text;
}

std::string OutcomeLine() {
  const World::TickReport r = World::Report();
  const bool won = !gameover && win;
  char text[200];
  std::snprintf(text, sizeof text,
                "outcome: %s ticks=%lld score=%u hitpoints=%d bullets=%d bombs=%d\n",
                won ? "won" : "lost", static_cast<long long>(r.tick), r.score, r.hitpoints,
                r.kogelsover, r.rakettenover);
  return text;
}

namespace {

// ---- Recording: the text is kept ready in a fixed buffer so that a fatal signal can
// still write it with write(2) alone.
constexpr std::size_t kRecordBytes = 32u << 20;
char recordText[kRecordBytes];
std::atomic<std::size_t> recordLength{0};
std::atomic<int> recordFd{-1};
bool recordOverflow = false;
std::int64_t lineTick = 0;
std::uint8_t lineCodes[3];
int lineCount = 0;

void Append(const char* text, std::size_t n) {
  const std::size_t len = recordLength.load();
  if (len + n > kRecordBytes) {
    recordOverflow = true;
    return;
  }
  std::memcpy(recordText + len, text, n);
  recordLength.store(len + n);  // only whole lines become visible to the signal path
}

void FlushLine() {
  if (lineCount == 0) return;
  char text[96];
  int n;
  if (lineCount == 1) {
    n = std::snprintf(text, sizeof text, "%lld %u\n", static_cast<long long>(lineTick),
                      lineCodes[0]);
  } else if (lineCount == 2 && lineCodes[0] == 0 && lineCodes[1] != 0) {
    n = std::snprintf(text, sizeof text, "%lld %u %u\n", static_cast<long long>(lineTick),
                      lineCodes[0], lineCodes[1]);
  } else {
    // A key the demo format cannot hold (a scan code 0): kept as a note, not replayed.
    n = std::snprintf(text, sizeof text, "# tick %lld read %d codes that cannot be replayed\n",
                      static_cast<long long>(lineTick), lineCount);
  }
  Append(text, static_cast<std::size_t>(n));
  lineCount = 0;
}

void WriteAll(int fd, const char* text, std::size_t n) {
  while (n > 0) {
    const ssize_t w = ::write(fd, text, n);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) return;
    text += w;
    n -= static_cast<std::size_t>(w);
  }
}

void OnFatalSignal(int) {
  const int fd = recordFd.exchange(-1);
  if (fd < 0) return;
  WriteAll(fd, recordText, recordLength.load());
  ::close(fd);
}

void RecordKey(std::uint8_t code) {
  const std::int64_t tick = World::State().tick + 1;
  if (tick != lineTick) FlushLine();
  lineTick = tick;
  if (lineCount < 3) lineCodes[lineCount] = code;
  ++lineCount;
}

void FinishRecording() {
  FlushLine();
  const int fd = recordFd.exchange(-1);
  if (fd < 0) return;
  WriteAll(fd, recordText, recordLength.load());
  ::close(fd);
  if (recordOverflow) {
    IO::WrStr("nova-gunner: the recording grew too long; its end is missing");
    IO::WrLn();
  }
}

bool StartRecording(const char* path) {
  const int fd = ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) {
    std::fprintf(stderr, "nova-gunner: cannot write recording '%s': %s\n", path,
                 std::strerror(errno));
    return false;
  }
  recordLength.store(0);
  lineCount = 0;
  lineTick = 0;
  const char header[] = "# nova-gunner demo: tick, then the key codes the game loop read\n";
  Append(header, sizeof header - 1);
  recordFd.store(fd);
  IO::SetFatalSignalHook(OnFatalSignal);
  return true;
}

// ---- Observers of Run.
bool tracing = false;
bool recording = false;

void OnTick(const World::TickReport& r) {
  if (recording) FlushLine();
  if (tracing) IO::WrStr(TraceLine(r));
}

void OnKey(std::uint8_t code) {
  if (recording) RecordKey(code);
}

void OnEnd() {
  if (recording) FinishRecording();
}

void Usage(std::FILE* out) {
  std::fputs(
      "Usage: nova-gunner [options]\n"
      "Without options: the game, from its introduction to the credits.\n"
      "  --record FILE     play as usual and write the keys of the play to FILE\n"
      "  --replay FILE     play the keys of demo FILE at the normal pace, then print the "
      "outcome\n"
      "  --timedemo FILE   as --replay, without waiting between ticks; prints ticks per "
      "second\n"
      "  --headless        with --replay or --timedemo: no window, drawing off-screen only\n"
      "  --trace           print one line of figures after every tick of the play\n"
      "  --nosound         play no sounds\n"
      "  --help            show this text\n",
      out);
}

int Refuse(const std::string& message) {
  std::fprintf(stderr, "nova-gunner: %s\n", message.c_str());
  return 2;
}

bool ReadFile(const std::string& path, std::string& text, std::string& error) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat st {};
  if (fd < 0 || ::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    error = "cannot read demo file '" + path +
            "': " + (fd >= 0 ? std::string("it is a directory") : std::strerror(errno));
    if (fd >= 0) ::close(fd);
    return false;
  }
  text.clear();
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) error = "cannot read demo file '" + path + "': " + std::strerror(errno);
    if (n <= 0) break;
    text.append(buffer, static_cast<std::size_t>(n));
    if (text.size() > kMaxDemoBytes) error = "demo file '" + path + "' is too large";
    if (!error.empty()) break;
  }
  ::close(fd);
  return error.empty();
}

}  // namespace

int Main(int argc, char** argv) {
  std::string recordPath, demoPath;
  bool replay = false, timedemo = false, headless = false, nosound = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    auto value = [&](std::string& into) {
      if (i + 1 >= argc) return false;
      into = argv[++i];
      return true;
    };
    if (arg == "--help" || arg == "-h") {
      Usage(stdout);
      return 0;
    } else if (arg == "--record") {
      if (!value(recordPath)) return Refuse("--record needs a file name");
    } else if (arg == "--replay" || arg == "--timedemo") {
      if (replay || timedemo) return Refuse("give only one of --replay and --timedemo");
      if (!value(demoPath)) return Refuse(std::string(arg) + " needs a demo file name");
      (arg == "--replay" ? replay : timedemo) = true;
    } else if (arg == "--headless") {
      headless = true;
    } else if (arg == "--trace") {
      tracing = true;
    } else if (arg == "--nosound") {
      nosound = true;
    } else {
      return Refuse("unknown option '" + std::string(arg) + "' (see --help)");
    }
  }
  if (headless && !replay && !timedemo) return Refuse("--headless needs --replay or --timedemo");

  // Everything about the demo is checked before anything is drawn.
  std::vector<DemoLine> lines;
  if (replay || timedemo) {
    std::string text, error, fault;
    int faultLine = 0;
    if (!ReadFile(demoPath, text, error)) return Refuse(error);
    if (!ParseDemo(text, lines, faultLine, fault)) {
      return Refuse(demoPath + ":" + std::to_string(faultLine) + ": " + fault);
    }
  }
  if (!recordPath.empty()) {
    struct stat demoStat {
    }, recordStat{};
    if ((replay || timedemo) && ::stat(demoPath.c_str(), &demoStat) == 0 &&
        ::stat(recordPath.c_str(), &recordStat) == 0 && demoStat.st_dev == recordStat.st_dev &&
        demoStat.st_ino == recordStat.st_ino) {
      return Refuse("--record would overwrite the demo file being replayed");
    }
    if (!StartRecording(recordPath.c_str())) return 2;
    recording = true;
  }

  World::SetTickObserver(OnTick);
  World::SetKeyObserver(OnKey);
  World::SetEndObserver(OnEnd);
  if (nosound) StandardSound::Silence();

  if (!replay && !timedemo) {
    const int status = Body();
    if (recording) FinishRecording();  // left from the menu: the file still gets its header
    return status;
  }

  static DemoKeySource source(std::move(lines));
  static Lib::VirtualClock virtualClock;
  IO::SetKeySource(&source);
  if (timedemo) Lib::SetClock(&virtualClock);
  if (headless) Graph::UseWindowSystem(Graph::WindowSystemKind::None);

  StartModules();
  InitObjects();
  if (!OpenWindow()) return 1;
  if (!nosound) StandardSound::InitSound(true);
  BuildSprites();
  Background();

  const auto start = std::chrono::steady_clock::now();
  Run();
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  IO::WrStr(OutcomeLine());
  if (timedemo) {
    const std::int64_t ticks = World::State().tick;
    char text[160];
    std::snprintf(text, sizeof text, "timedemo: %lld ticks in %.3f s (%.0f ticks/s)\n",
                  static_cast<long long>(ticks), seconds,
                  seconds > 0 ? static_cast<double>(ticks) / seconds : 0.0);
    IO::WrStr(text);
  }
  return 0;
}

}  // namespace NovaGunner::Replay
