#include "report/output.h"

#include <cerrno>
#include <system_error>

namespace report {

void Output::flush() {
  if (file_ == nullptr) return;
  if (!text_.empty() && std::fwrite(text_.data(), 1, text_.size(), file_) != text_.size()) {
    throw std::system_error(errno, std::generic_category());
  }
  text_.clear();
  if (std::fflush(file_) != 0) {
    throw std::system_error(errno, std::generic_category());
  }
}

}  // namespace report
