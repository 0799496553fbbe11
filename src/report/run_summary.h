#pragma once

#include <cstdint>
#include <vector>

namespace report {

enum class Policy { kUnknown, kSjf, kSrtf };

// One listed process and what the trace showed of it.
struct ProcessRun {
  int id = 0;
  int arrival = 0;               // as listed, before the run
  int burst = 0;                 // as listed
  int remaining = 0;             // ticks of work not yet seen running
  std::int64_t firstRun = -1;    // tick of its first run; -1 while it has not run
  std::int64_t completion = -1;  // its last tick + 1 once it has finished; -1 before
};

// Consecutive ticks that one process ran; `end` is the tick after the last.
struct Segment {
  int id = 0;
  std::int64_t start = 0;
  std::int64_t end = 0;
};

// Everything a trace says about its run. It grows with the processes and the
// run segments, never with ticks.
struct RunSummary {
  Policy policy = Policy::kUnknown;
  std::vector<ProcessRun> processes;  // in id order: process i + 1 at index i
  std::vector<Segment> segments;      // in time order, covering ticks 0 .. ticks
  std::int64_t ticks = 0;             // ticks seen
  std::int64_t expectedTicks = 0;     // ticks the run makes: the listed bursts added up
  bool listingComplete = true;        // false when the trace stops inside the listing

  bool complete() const { return listingComplete && ticks == expectedTicks; }
};

}  // namespace report
