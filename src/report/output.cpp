#include "report/output.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace report {

void Output::flush() {
  if (file_ == nullptr) return;
  if (!text_.empty() && std::fwrite(text_.data(), 1, text_.size(), file_) != text_.size()) {
    throw std::runtime_error(fmt::format("write error: {}", std::strerror(errno)));
  }
  text_.clear();
  if (std::fflush(file_) != 0) {
    throw std::runtime_error(fmt::format("write error: {}", std::strerror(errno)));
  }
}

}  // namespace report
