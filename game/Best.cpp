// The best kept plays: the folder read, each candidate re-simulated in a process of its
// own, the list printed, and "best:N" resolved to a file.
#include "game/Best.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string_view>

#include "game/DemoFile.h"

extern char** environ;

namespace NovaGunner::Best {

namespace {

namespace fs = std::filesystem;
constexpr std::uintmax_t kMaxBytes = 64u << 20;  // as a replay reads at most

// What program prints as the outcome of a headless timedemo of file; "" when it prints
// none (it refused the file, or did not end well).
std::string Resimulate(const std::string& program, const std::string& file) {
  int out[2];
  if (::pipe2(out, O_CLOEXEC) != 0) return {};
  posix_spawn_file_actions_t actions;
  ::posix_spawn_file_actions_init(&actions);
  ::posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  ::posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  ::posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  const char* argv[] = {program.c_str(), "--timedemo", file.c_str(),
                        "--headless",    "--nosound",  nullptr};
  pid_t pid = 0;
  const int spawned =
      ::posix_spawn(&pid, program.c_str(), &actions, nullptr, const_cast<char**>(argv), environ);
  ::posix_spawn_file_actions_destroy(&actions);
  ::close(out[1]);
  std::string text;
  char buffer[4096];
  for (ssize_t n; spawned == 0 &&
                  ((n = ::read(out[0], buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR));) {
    if (n > 0) text.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(out[0]);
  int status = -1;
  while (spawned == 0 && ::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  const std::size_t at = text.rfind("outcome: ");
  if (spawned != 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0 || at == std::string::npos)
    return {};
  return text.substr(at, text.find('\n', at) - at);
}

// The file read and its notes; Broken with the fault when it cannot be a kept play.
Entry Read(const fs::path& path) {
  Entry e;
  e.file = path.filename().string();
  std::error_code error;
  std::string text;
  if (fs::file_size(path, error) > kMaxBytes && !error) {
    e.why = "too large";
    return e;
  }
  std::ifstream in(path, std::ios::binary);
  text.assign(std::istreambuf_iterator<char>(in), {});
  std::vector<Demo::TickInput> ticks;
  int line = 0;
  if (!in.good() && !in.eof()) {
    e.why = "cannot be read";
  } else if (!Demo::Parse(text, ticks, line, e.why)) {
    e.why = "line " + std::to_string(line) + ": " + e.why;
  } else if (KeptPlays::ReadNotes(text, e.notes, e.why)) {
    e.state = Entry::State::NotProven;  // until it is re-simulated
    e.why.clear();
    if (!ticks.empty() && ticks.back().tick > e.notes.outcome.ticks) {
      e.why = "keys after its noted last tick";  // would play on past its end
    }
  }
  return e;
}

bool Better(const Entry& a, const Entry& b) {
  const KeptPlays::Outcome &x = a.notes.outcome, &y = b.notes.outcome;
  if (x.score != y.score) return x.score > y.score;
  if (x.ticks != y.ticks) return x.ticks < y.ticks;
  return a.file < b.file;
}

std::string Describe(const KeptPlays::Outcome& o) {
  return std::string(o.won ? "won" : "lost") + ", score " + std::to_string(o.score) + ", " +
         std::to_string(o.ticks) + " ticks";
}

std::string Row(const char* rank, const Entry& e) {
  char text[400];
  std::snprintf(text, sizeof text, "%5s %7u  %-7s %6lld  %-16.16s  %s\n", rank,
                e.notes.outcome.score, e.notes.outcome.won ? "won" : "lost",
                static_cast<long long>(e.notes.outcome.ticks), e.notes.date.c_str(),
                e.file.c_str());
  return text;
}

}  // namespace

std::vector<Entry> Plays(const std::string& folder, const std::string& program, int proven) {
  std::vector<Entry> candidates, plays, others;
  std::error_code error;
  for (const fs::directory_entry& f : fs::directory_iterator(folder, error)) {
    if (f.path().extension() != ".demo" || !f.is_regular_file(error)) continue;
    Entry e = Read(f.path());
    (e.state == Entry::State::Broken ? others : candidates).push_back(std::move(e));
  }
  std::ranges::sort(candidates, Better);
  int found = 0;
  for (Entry& e : candidates) {
    if (found == proven) break;
    if (e.why.empty()) {
      const std::string line = Resimulate(program, folder + "/" + e.file);
      KeptPlays::Outcome again;
      if (!KeptPlays::ParseOutcome(line, again)) {
        e.why = "its replay gives no outcome";
      } else if (again.won != e.notes.outcome.won || again.score != e.notes.outcome.score ||
                 again.ticks != e.notes.outcome.ticks) {
        e.why = "its replay gives " + Describe(again);
      } else {
        e.state = Entry::State::Proven;
        ++found;
      }
    }
    (e.state == Entry::State::Proven ? plays : others).push_back(std::move(e));
  }
  std::ranges::stable_sort(others, {}, [](const Entry& e) { return e.state; });
  std::ranges::move(others, std::back_inserter(plays));
  return plays;
}

int List(const std::string& folder, const std::string& program) {
  const std::vector<Entry> plays = Plays(folder, program, kRanks);
  std::string text;
  int rank = 0;
  Entry::State section = Entry::State::Proven;
  for (const Entry& e : plays) {
    if (e.state == Entry::State::Proven && rank++ == 0) {
      text += "The best kept plays in " + folder + ", each proven by its replay:\n" +
              " rank   score  outcome  ticks  date              file\n";
    }
    if (e.state != section && e.state == Entry::State::NotProven) {
      text += "Not proven (their replays do not give their noted outcome; never ranked):\n";
    } else if (e.state != section) {
      text += "Broken (files that cannot be read as kept plays):\n";
    }
    section = e.state;
    if (e.state == Entry::State::Broken) {
      text += "      " + e.file + ": " + e.why + "\n";
    } else {
      text += Row(e.state == Entry::State::Proven ? std::to_string(rank).c_str() : "", e);
      if (!e.why.empty()) text += "      (" + e.why + ")\n";
    }
  }
  if (plays.empty()) {
    text =
        "No kept plays in " + folder + " (with --keep-plays every finished play is kept there).\n";
  } else if (rank == 0) {
    text.insert(0, "No proven kept plays in " + folder + ".\n");
  }
  std::fputs(text.c_str(), stdout);
  if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return 0;
  std::fprintf(stderr, "nova-gunner: the list could not all be written to standard output\n");
  return 3;
}

bool IsBestName(const std::string& word) {
  return word == "best" || word.starts_with("best:");
}

bool Resolve(const std::string& word, const std::string& folder, const std::string& program,
             std::string& path, std::string& error) {
  const std::string_view n = std::string_view(word).substr(std::min<std::size_t>(5, word.size()));
  const int rank = word == "best" ? 1 : n.size() == 1 ? n[0] - '0' : n == "10" ? 10 : 0;
  if (rank < 1 || rank > kRanks) {
    error = "'" + word + "': best:N takes N from 1 to " + std::to_string(kRanks);
    return false;
  }
  const std::vector<Entry> plays = Plays(folder, program, rank);
  if (plays.size() < static_cast<std::size_t>(rank) ||
      plays[rank - 1].state != Entry::State::Proven) {
    error = "no proven kept play ranks " + std::to_string(rank) + " in " + folder +
            " (--best lists them)";
    return false;
  }
  path = folder + "/" + plays[rank - 1].file;
  return true;
}

}  // namespace NovaGunner::Best
