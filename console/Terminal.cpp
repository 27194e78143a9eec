// Placeholder until the terminal decoder lands: reads nothing, ends like closed input.
#include "console/Terminal.h"

namespace IO::detail {
namespace {
class ClosedSource final : public KeyEventSource {
 public:
  bool Peek(KeyEvent& e) override {
    e = EscapeEvent();
    return true;
  }
  KeyEvent Read() override { return EscapeEvent(); }
};
}  // namespace
KeyEventSource& TerminalSource() {
  static ClosedSource s;
  return s;
}
void EnterRawMode() {}
void RestoreTerminal() {}
void SetFatalHook(void (*)(int)) {}
}  // namespace IO::detail
