#include "write_error.h"

#include <cerrno>
#include <cstring>

WriteError::WriteError(int code) : std::runtime_error(std::strerror(code)), code_(code) {}

void requireWritten(bool written) {
  if (!written) {
    // A stream can fail without a system error behind it; still name a cause.
    throw WriteError(errno != 0 ? errno : EIO);
  }
}
