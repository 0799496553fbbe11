#pragma once

#include <fmt/format.h>

#include <cstdio>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>

namespace report {

// Where a renderer writes: a file, written in large pieces as the text grows,
// or, without a file, a string kept whole (as the tests read it).
class Output {
 public:
  explicit Output(std::FILE* file = nullptr) : file_(file) {}
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;
  ~Output() = default;

  template <class... Args>
  void print(fmt::format_string<Args...> format, Args&&... args) {
    fmt::format_to(std::back_inserter(text_), format, std::forward<Args>(args)...);
    spill();
  }
  void write(std::string_view text) {
    text_.append(text);
    spill();
  }
  void put(char c, std::size_t count = 1) {
    text_.append(count, c);
    spill();
  }

  // Writes out what is held. Throws std::system_error when the file cannot
  // be written.
  void flush();

  const std::string& text() const { return text_; }

 private:
  void spill() {
    if (file_ != nullptr && text_.size() >= kSpillAt) flush();
  }

  static constexpr std::size_t kSpillAt = std::size_t{1} << 16;
  std::FILE* file_;
  std::string text_;
};

}  // namespace report
