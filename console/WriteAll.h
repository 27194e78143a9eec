// Writing a whole buffer to a file descriptor: the console text, the terminal's mode
// switches and the demo recorder all write this way.
#pragma once

#include <cstddef>

namespace IO {

// Writes all size bytes, going on after partial writes and interruptions. FALSE with
// errno set when the descriptor takes no more (a write that takes nothing counts as
// ENOSPC). Async-signal-safe: the terminal's restore writes from signal handlers.
bool WriteAll(int fd, const char* data, std::size_t size);

}  // namespace IO
