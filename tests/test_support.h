#pragma once

#include <unistd.h>

#include <cstdio>
#include <string>
#include <tuple>
#include <vector>

#include "process_queue.h"

// (arrival, burst, id) of one record.
using Values = std::tuple<int, int, int>;

// Owns a list of records built from values and makes it the global `queue`.
// The records live in a vector that is never resized, so the links stay valid.
class TestList {
 public:
  explicit TestList(const std::vector<Values>& values) : records_(values.size()) {
    for (std::size_t i = 0; i < values.size(); ++i) {
      auto [arrival, burst, id] = values[i];
      records_[i] = process{arrival, burst, id, i + 1 < values.size() ? &records_[i + 1] : nullptr};
    }
    queue = records_.empty() ? nullptr : records_.data();
  }
  ~TestList() { queue = nullptr; }
  TestList(const TestList&) = delete;
  TestList& operator=(const TestList&) = delete;

  // The values from the head to the tail, following the links.
  static std::vector<Values> contents() {
    std::vector<Values> out;
    for (const process* p = queue; p != nullptr; p = p->next) {
      out.emplace_back(p->arrival, p->burst, p->id);
    }
    return out;
  }

  const process* head() const { return records_.empty() ? nullptr : records_.data(); }

 private:
  std::vector<process> records_;
};

// Runs `body` with standard output pointed at a temporary file and returns the
// bytes it wrote.
template <class Body>
std::string captureStdout(Body&& body) {
  std::fflush(stdout);
  std::FILE* file = std::tmpfile();
  const int saved = dup(STDOUT_FILENO);
  dup2(fileno(file), STDOUT_FILENO);
  body();
  std::fflush(stdout);
  dup2(saved, STDOUT_FILENO);
  close(saved);

  std::string out;
  std::rewind(file);
  char buffer[4096];
  std::size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
    out.append(buffer, n);
  }
  std::fclose(file);
  return out;
}
