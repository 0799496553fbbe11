#pragma once

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <regex>
#include <sstream>
#include <stdexcept>
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

// Throws, naming `what` and errno, unless `ok`. A test that cannot set up its
// own plumbing must fail loudly rather than compare the wrong bytes.
inline void checkSystem(bool ok, const char* what) {
  if (!ok) {
    throw std::runtime_error(std::string(what) + ": " + std::strerror(errno));
  }
}

// Points standard output at `fd` while it lives, and back where it was when it
// ends, even when the body in between throws or fails an assertion.
class StdoutRedirect {
 public:
  explicit StdoutRedirect(int fd) : saved_(dup(STDOUT_FILENO)) {
    checkSystem(saved_ >= 0, "dup of standard output");
    // What the test runner wrote so far still goes to the real output.
    if (std::fflush(stdout) != 0 || dup2(fd, STDOUT_FILENO) < 0) {
      const int code = errno;
      close(saved_);
      errno = code;
      checkSystem(false, "redirecting standard output");
    }
  }
  ~StdoutRedirect() {
    // A failed write (to /dev/full, say) leaves bytes and an error flag behind:
    // neither may reach the real output.
    std::fflush(stdout);
    std::clearerr(stdout);
    if (dup2(saved_, STDOUT_FILENO) < 0) {
      std::perror("restoring standard output");
      std::abort();
    }
    close(saved_);
  }
  StdoutRedirect(const StdoutRedirect&) = delete;
  StdoutRedirect& operator=(const StdoutRedirect&) = delete;

 private:
  int saved_;
};

// Runs `body` with standard output pointed at a temporary file and returns the
// bytes it wrote.
template <class Body>
std::string captureStdout(Body&& body) {
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::tmpfile(), &std::fclose);
  checkSystem(file != nullptr, "tmpfile");
  {
    const StdoutRedirect redirect(fileno(file.get()));
    body();
    checkSystem(std::fflush(stdout) == 0, "flushing captured output");
  }

  std::string out;
  std::rewind(file.get());
  char buffer[4096];
  std::size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
    out.append(buffer, n);
  }
  checkSystem(std::ferror(file.get()) == 0, "reading captured output");
  return out;
}

// What a run writes after the menu, split into its parts.
struct ParsedRun {
  std::vector<Values> listed;  // (arrival, burst, id) in listing order
  std::vector<int> running;    // one id per tick
  std::vector<std::vector<int>> ready;
};

inline ParsedRun parseRun(const std::string& text) {
  ParsedRun parsed;
  const std::regex entry(R"(^(\d+) (\d+) (\d+)$)");
  const std::regex tick(R"(^Running Process:(\d+)$)");
  std::istringstream lines(text);
  std::string line;
  std::smatch m;
  while (std::getline(lines, line)) {
    if (std::regex_match(line, m, entry)) {
      parsed.listed.emplace_back(std::stoi(m[1]), std::stoi(m[2]), std::stoi(m[3]));
    } else if (std::regex_match(line, m, tick)) {
      parsed.running.push_back(std::stoi(m[1]));
      parsed.ready.emplace_back();
    } else if (line.rfind("Ready Queue: ", 0) == 0) {
      std::istringstream ids(line.substr(13));
      std::string word;
      while (ids >> word) {
        if (word != "|") parsed.ready.back().push_back(std::stoi(word));
      }
    }
  }
  return parsed;
}
