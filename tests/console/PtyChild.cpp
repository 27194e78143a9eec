// Runs on a pseudo-terminal for the console tests: echoes each key code as [n], and
// on request crashes, throws or exits, so the terminal's restore can be checked. With
// the argument "slow" it only echoes, and pauses 2 ms after each of its first 400 codes
// so that a flood of input piles up and is read in partial chunks.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string_view>

#include "console/IO.h"
#include "console/Lib.h"

namespace {
void Hook(int signal) {
  char text[] = "HOOK00\n";
  text[4] = static_cast<char>('0' + signal / 10);
  text[5] = static_cast<char>('0' + signal % 10);
  ssize_t ignored = ::write(STDOUT_FILENO, text, sizeof text - 1);
  (void)ignored;
}
}  // namespace

int main(int argc, char** argv) {
  const bool slow = argc > 1 && std::string_view(argv[1]) == "slow";
  int count = 0;
  IO::SetFatalSignalHook(Hook);
  IO::Init();
  IO::WrStr("READY");
  IO::WrLn();
  IO::CHAR previous = 1;
  for (;;) {
    const IO::CHAR c = IO::RdKey();
    const bool second = previous == 0;  // the second code of a two-code key is no command
    previous = c;
    IO::WrChar('[');
    IO::WrCard(c, 0);
    IO::WrChar(']');
    if (slow) {
      if (++count <= 400) Lib::Delay(2);
      continue;
    }
    if (second) continue;
    if (c == 'q' || c == 27) break;
    // A real fault at a tiny address (a null pointer would be caught by UBSan first).
    if (c == 's') {
      volatile std::uintptr_t address = 8;
      *reinterpret_cast<volatile int*>(address) = 1;
    }
    if (c == 'x') throw std::runtime_error("uncaught on purpose");
    if (c == 'e') std::exit(3);
    if (c == 'd') Lib::Delay(300);
  }
  IO::WrStr("BYE");
  IO::WrLn();
  return 0;
}
