// Demo files as text: "# nova-gunner demo 1" first, then one line per tick with keys:
// the tick number and its one or two key codes. Blank lines and '#' lines are notes.
#include "game/DemoFile.h"

#include <cstdio>

namespace NovaGunner::Demo {

namespace {

constexpr std::int64_t kMaxTick = 2147483647;
constexpr std::string_view kMagic = "# nova-gunner demo ";

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

bool IsDigits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
  }
  return true;
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

// The first line names the format: "# nova-gunner demo N". Other first lines (earlier
// recordings began with "# nova-gunner demo:") leave the file at version 1.
bool CheckVersion(std::string_view line, std::string& fault) {
  if (!line.starts_with(kMagic)) return true;
  std::string_view version = line.substr(kMagic.size());
  while (!version.empty() && IsBlank(version.back())) version.remove_suffix(1);
  std::int64_t number = 0;
  if (IsDigits(version) && ToNumber(version, 1000000, number) && number == kVersion) return true;
  fault = "demo format version '" + std::string(version) +
          "' is not one this program reads (it reads version " + std::to_string(kVersion) + ")";
  return false;
}

}  // namespace

std::string Header() {
  return std::string(kMagic) + std::to_string(kVersion) +
         "\n# each line: a tick of the play, then the key codes the game loop read in it\n";
}

std::string Line(const TickInput& input) {
  char text[64];
  if (input.count == 2) {
    std::snprintf(text, sizeof text, "%lld %u %u\n", static_cast<long long>(input.tick),
                  input.codes[0], input.codes[1]);
  } else {
    std::snprintf(text, sizeof text, "%lld %u\n", static_cast<long long>(input.tick),
                  input.codes[0]);
  }
  return text;
}

bool Parse(std::string_view text, std::vector<TickInput>& ticks, int& faultLine,
           std::string& fault) {
  ticks.clear();
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
    if (lineNo == 1 && !CheckVersion(line, fault)) return false;
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

    TickInput d;
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
      fault = "key code 0 must be followed by the second code the arrow reader took";
      return false;
    }
    if (d.codes[0] != 0 && d.count == 2) {
      fault = "a second key code may only follow the code 0";
      return false;
    }
    lastTick = d.tick;
    ticks.push_back(d);
  }
  return true;
}

}  // namespace NovaGunner::Demo
