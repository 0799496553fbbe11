#pragma once

#include <cstdint>
#include <cstdio>
#include <limits>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "report/run_summary.h"

namespace report {

// A trace that is not what the simulator writes. `line` is the 1-based input
// line the problem is on, or 0 when it concerns the trace as a whole.
class TraceError : public std::runtime_error {
 public:
  TraceError(std::int64_t line, const std::string& message)
      : std::runtime_error(message), line_(line) {}
  std::int64_t line() const { return line_; }

 private:
  std::int64_t line_;
};

// Reads a run's standard output piece by piece, checking every line as it
// comes, and keeps only what the report needs. Pieces may split lines
// anywhere; the result does not depend on where.
class TraceReader {
 public:
  TraceReader() = default;

  // Throws TraceError at the first line that breaks the trace's form.
  void feed(std::string_view bytes);

  // Ends the input: checks what is left and returns the run. A trace that
  // stops early is returned as far as it goes (see RunSummary::complete).
  RunSummary finish();

 private:
  enum class Expect {
    kPreamble,           // prompts and menu, up to the listing
    kListingEntryOrEnd,  // "<arrival> <burst> <id>", or the empty line that ends the listing
    kListingGap,         // the empty line between two entries
    kRunning,            // "Running Process:<id>"
    kReadyOrEmpty,       // the ready queue, or the first of two empty lines
    kEmptyEndingTick,    // the empty line that ends a tick
    kEnd,                // nothing: the run is over
  };

  void line(std::string_view text);
  void checkPartialLine(std::string_view text) const;
  void preambleLine(std::string_view text);
  static const std::vector<std::string>& promptLines();
  std::string noSimulation(std::string_view partial) const;
  void listingEntry(std::string_view text);
  void runningLine(std::string_view text);
  void readyLine(std::string_view text);
  void endOfListing();
  void endOfTick();
  [[noreturn]] void wrongReadyEntry(std::int64_t id) const;
  [[noreturn]] void fail(const std::string& message) const;
  std::size_t longestLine() const;

  RunSummary run_;
  Expect expect_ = Expect::kPreamble;
  std::int64_t lineNumber_ = 0;  // of the last complete line
  std::string carry_;            // a line split across pieces
  bool finished_ = false;

  bool anyInput_ = false;
  std::size_t promptsSeen_ = 0;  // lines of prompts and menu read before the listing

  // The tick being read.
  int running_ = 0;              // id of the process that runs it
  std::int64_t othersLeft_ = 0;  // unfinished processes besides it
  std::int64_t unfinished_ = 0;  // processes with work left, after the ticks read
  // Per process, the last tick whose ready queue may not name it: the last one
  // that did, or that it ran in; kNever once it has finished. One test then
  // catches every wrong entry (only for speed).
  static constexpr std::int64_t kNever = std::numeric_limits<std::int64_t>::max();
  std::vector<std::int64_t> namedAt_;
};

// Reads a whole trace from `in`. Throws TraceError for a malformed trace and
// std::system_error when the input cannot be read.
RunSummary readTrace(std::FILE* in);

// Shows a piece of the input inside a message: quoted, shortened, and with
// anything unprintable written as an escape.
std::string quoted(std::string_view text);

}  // namespace report
