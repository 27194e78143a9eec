// Runs on a pseudo-terminal for the console tests: echoes each key code as [n], and on
// request crashes, throws or exits. With "slow" it only echoes, pausing 2 ms after each of
// its first 400 codes so that a flood of input piles up and is read in partial chunks.
// With "push FIFO" a second thread pushes the keys whose bytes come through FIFO.
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <thread>

#include "console/IO.h"
#include "console/Lib.h"
#include "console/TermDecoder.h"
#include "console/Terminal.h"

int main(int argc, char** argv) {
  const bool slow = argc > 1 && std::string(argv[1]) == "slow";
  // A real fault at a tiny address (UBSan would catch a null pointer first).
  volatile std::uintptr_t crashAddress = 8;
  if (argc > 2 && std::string(argv[1]) == "push") {
    std::thread([path = std::string(argv[2])] {
      const int fd = ::open(path.c_str(), O_RDONLY);
      IO::TermDecoder decoder;
      for (std::uint8_t byte; ::read(fd, &byte, 1) == 1;) {
        decoder.Feed({&byte, 1}, 0);
        while (decoder.HasEvent()) IO::PushKey(decoder.Pop());
      }
    }).detach();
  }
  Lib::Init(IO::TerminalClock());
  IO::Init(IO::TerminalKeys());
  IO::WrStr("READY\n");
  for (int count = 0, previous = 1;;) {
    const IO::CHAR c = IO::RdKey();
    const bool second = previous == 0;  // the second code of a two-code key is no command
    previous = c;
    IO::WrStr("[" + std::to_string(c) + "]");
    if (slow) {
      if (++count <= 400) Lib::Delay(2);
      continue;
    }
    if (second) continue;
    if (c == 'q' || c == 27) break;
    if (c == 's') *reinterpret_cast<volatile int*>(crashAddress) = 1;
    if (c == 'x') throw std::runtime_error("uncaught on purpose");
    if (c == 'e') std::exit(3);
    if (c == 'd') Lib::Delay(300);
  }
  IO::WrStr("BYE\n");
  return 0;
}
