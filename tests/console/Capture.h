// What the code under test writes to standard output (file descriptor 1).
#pragma once

#include <unistd.h>

#include <cstdio>
#include <string>

template <typename Fn>
std::string CaptureStdout(Fn fn) {
  std::fflush(stdout);
  const int saved = dup(1);
  FILE* tmp = std::tmpfile();
  dup2(fileno(tmp), 1);
  fn();
  dup2(saved, 1);
  close(saved);
  std::string text;
  std::rewind(tmp);
  for (int c; (c = std::fgetc(tmp)) != EOF;) text += static_cast<char>(c);
  std::fclose(tmp);
  return text;
}
