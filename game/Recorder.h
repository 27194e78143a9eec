// Writes a play's keys to a demo file as the play goes: each tick's line is written when
// the tick ends, so however the program ends the file holds every tick already played,
// and only whole lines: a write cut short is cut back to the last whole line.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>

#include "game/DemoFile.h"

namespace NovaGunner {

class Recorder {
 public:
  Recorder() = default;
  Recorder(const Recorder&) = delete;
  Recorder& operator=(const Recorder&) = delete;
  ~Recorder();

  // Creates the file and writes its header. FALSE, with the reason in error, when the
  // file cannot be created or the header not written (a full disk, /dev/full). A file
  // still open (the previous play's) is closed first; its losses stay counted.
  bool Open(const std::string& path, std::string& error);
  bool IsOpen() const { return fd_ >= 0; }
  // A tick has ended: its line is written, if it read a key.
  void Write(const Demo::TickInput& input);
  // Closes the file. FALSE when a write to it or to any file opened before it failed
  // (already reported on standard error).
  bool Close();

 private:
  bool WriteText(const std::string& text);  // FALSE with errno set

  int fd_ = -1;
  std::string path_;
  off_t whole_ = 0;      // the file's length up to its last whole line
  bool failed_ = false;  // this file: nothing more is written to it
  bool lost_ = false;    // this file or an earlier one lost lines
};

}  // namespace NovaGunner
