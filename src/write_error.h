#pragma once

#include <stdexcept>

// Thrown when standard output cannot be written (a full disk, a closed file).
// The run stops there: nothing after a lost write could be read as a run.
class WriteError : public std::runtime_error {
 public:
  // `code` is the errno of the failed write; what() names it.
  explicit WriteError(int code);
  int code() const noexcept { return code_; }

 private:
  int code_;
};

// Throws WriteError with the current errno unless `written`. Meant right after
// a write to standard output, while errno still tells why it failed.
void requireWritten(bool written);
