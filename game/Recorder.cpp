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
    failed_ = true;
    std::fprintf(stderr,
                 "nova-gunner: cannot write recording '%s': %s; the play goes on, unrecorded "
                 "from here\n",
                 path_.c_str(), std::strerror(errno));
  }
}

bool Recorder::WriteText(const std::string& text) {
  return IO::WriteAll(fd_, text.data(), text.size());
}

bool Recorder::Close() {
  if (fd_ < 0) return !failed_;
  if (::close(fd_) != 0 && !failed_) {
    failed_ = true;
    std::fprintf(stderr, "nova-gunner: cannot write recording '%s': %s\n", path_.c_str(),
                 std::strerror(errno));
  }
  fd_ = -1;
  return !failed_;
}

}  // namespace NovaGunner
