// Kept plays: the folder, the notes, and the file of each finished play.
#include "game/KeptPlays.h"

#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "console/WriteAll.h"
#include "game/DemoFile.h"

namespace NovaGunner::KeptPlays {

namespace {

constexpr std::string_view kOutcome = "# outcome: ", kDate = "# date: ", kVersion = "# version: ";

std::string Home() {
  const char* home = std::getenv("HOME");
  if (home != nullptr && *home == '/') return home;
  const passwd* user = ::getpwuid(::getuid());
  return user != nullptr && user->pw_dir != nullptr ? user->pw_dir : "/";
}

// The value of the note line that starts with key, without its line end.
std::string_view Note(std::string_view text, std::string_view key) {
  for (std::size_t at = 0; at < text.size();) {
    std::size_t end = text.find('\n', at);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(at, end - at);
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (line.starts_with(key)) return line.substr(key.size());
    at = end + 1;
  }
  return {};
}

}  // namespace

std::string Folder() {
  const char* data = std::getenv("XDG_DATA_HOME");
  const std::string base =
      data != nullptr && *data == '/' ? std::string(data) : Home() + "/.local/share";
  return base + "/nova-gunner/plays";
}

bool ParseOutcome(std::string_view line, Outcome& outcome) {
  char word[8] = "";
  long long ticks = 0;
  unsigned long score = 0;
  const std::string text(line);
  if (std::sscanf(text.c_str(), "outcome: %7s ticks=%lld score=%lu", word, &ticks, &score) != 3 ||
      ticks < 0 || score > UINT32_MAX) {
    return false;
  }
  const std::string_view w = word;
  if (w != "won" && w != "lost") return false;
  outcome = {w == "won", ticks, static_cast<std::uint32_t>(score)};
  return true;
}

bool ReadNotes(std::string_view text, Notes& notes, std::string& fault) {
  const std::string_view outcome = Note(text, kOutcome);
  if (outcome.empty()) {
    fault = "no outcome note";
    return false;
  }
  if (!ParseOutcome(std::string("outcome: ").append(outcome), notes.outcome)) {
    fault = "a bad outcome note";
    return false;
  }
  notes.date = Note(text, kDate);
  notes.version = Note(text, kVersion);
  return true;
}

bool Keeper::Start(const std::string& folder) {
  folder_ = folder;
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (!error && ::access(folder.c_str(), W_OK | X_OK) != 0) {
    error = std::error_code(errno, std::generic_category());
  }
  if (error) {
    std::fprintf(stderr, "nova-gunner: cannot keep plays in '%s': %s; the game goes on\n",
                 folder.c_str(), error.message().c_str());
  }
  on_ = !error;
  return on_;
}

void Keeper::Begin() {
  keys_.clear();
  ++plays_;
}

void Keeper::Add(const World::TickInput& input) {
  if (on_ && input.count > 0) keys_ += Demo::Line(input);
}

void Keeper::End(std::int64_t ticks, const std::string& outcomeLine) {
  if (!on_ || ticks <= 1) return;
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  ::localtime_r(&now, &local);
  char date[40], stamp[24];
  std::strftime(date, sizeof date, "%Y-%m-%d %H:%M:%S %z", &local);
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  const std::string text = Demo::Header() + std::string(kOutcome) +
                           outcomeLine.substr(outcomeLine.find(' ') + 1) + std::string(kDate) +
                           date + "\n" + std::string(kVersion) + NOVA_VERSION + "\n" + keys_;
  // The time, the process and the play's number name it; O_EXCL makes sure no file is
  // ever overwritten, whatever else runs.
  const std::string name =
      folder_ + "/" + stamp + "-" + std::to_string(::getpid()) + "-" + std::to_string(plays_);
  std::string path = name + ".demo";
  int fd = -1;
  for (int k = 2; (fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644)) < 0 &&
                  errno == EEXIST && k < 100;
       ++k) {
    path = name + "-" + std::to_string(k) + ".demo";
  }
  bool written = fd >= 0 && IO::WriteAll(fd, text.data(), text.size());
  int error = errno;
  if (fd >= 0 && ::close(fd) != 0 && written) written = false, error = errno;
  if (fd >= 0 && !written) ::unlink(path.c_str());  // half a play would be listed as broken
  if (!written) {
    std::fprintf(stderr, "nova-gunner: cannot keep this play in '%s': %s; the game goes on\n",
                 path.c_str(), std::strerror(error));
    on_ = false;  // one line per run
  }
}

}  // namespace NovaGunner::KeptPlays
