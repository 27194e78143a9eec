// The demo recorder: plain write(2) per tick, nothing kept back in a buffer.
#include "game/Recorder.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "console/WriteAll.h"

namespace NovaGunner {

Recorder::~Recorder() {
  Close();
}

bool Recorder::Open(const std::string& path, std::string& error) {
  Close();
  if (path.empty()) {
    error = "--record needs a file name";
    return false;
  }
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) {
    error = "cannot create recording '" + path + "': " + std::strerror(errno);
    return false;
  }
  fd_ = fd;
  path_ = path;
  whole_ = 0;
  failed_ = false;
  if (!WriteText(Demo::Header())) {
    error = "cannot write recording '" + path + "': " + std::strerror(errno);
    ::close(fd_);
    fd_ = -1;
    return false;
  }
  return true;
}

void Recorder::Write(const Demo::TickInput& input) {
  if (input.count == 0 || fd_ < 0 || failed_) return;
  if (!WriteText(Demo::Line(input))) {
    failed_ = lost_ = true;
    std::fprintf(stderr,
                 "nova-gunner: cannot write recording '%s': %s; the play goes on, unrecorded "
                 "from here\n",
                 path_.c_str(), std::strerror(errno));
  }
}

bool Recorder::WriteText(const std::string& text) {
  if (IO::WriteAll(fd_, text.data(), text.size())) {
    whole_ += static_cast<off_t>(text.size());
    return true;
  }
  // A write cut short (a size limit, a full disk) leaves half a line, which a replay would
  // read as another key: back to the last whole line. A pipe keeps what it took (EINVAL).
  const int error = errno;
  if (::ftruncate(fd_, whole_) != 0 && errno != EINVAL) {
    std::fprintf(stderr, "nova-gunner: cannot cut recording '%s' back to its last whole line: %s\n",
                 path_.c_str(), std::strerror(errno));
  }
  errno = error;
  return false;
}

bool Recorder::Close() {
  if (fd_ < 0) return !lost_;
  if (::close(fd_) != 0 && !failed_) {
    failed_ = lost_ = true;
    std::fprintf(stderr, "nova-gunner: cannot write recording '%s': %s\n", path_.c_str(),
                 std::strerror(errno));
  }
  fd_ = -1;
  return !lost_;
}

}  // namespace NovaGunner
