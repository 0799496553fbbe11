#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "report/run_summary.h"

namespace report {

// The figures of one process. A figure is empty where the trace does not
// tell it: the process did not run, or did not finish, before the trace ends.
struct ProcessFigures {
  int id = 0;
  int arrival = 0;
  int burst = 0;
  std::optional<std::int64_t> firstRun;
  std::optional<std::int64_t> completion;
  std::optional<std::int64_t> turnaround;  // completion - arrival
  std::optional<std::int64_t> waiting;     // turnaround - burst
  std::optional<std::int64_t> response;    // first run - arrival
  bool ranBeforeArrival = false;           // then waiting and response may be negative
};

// A sum over the finished processes and how many there are.
struct Average {
  std::int64_t sum = 0;
  std::int64_t count = 0;
  std::optional<double> value() const;
};

struct Figures {
  std::vector<ProcessFigures> processes;  // in id order
  Average turnaround;
  Average waiting;
  Average response;
  std::int64_t contextSwitches = 0;   // ticks whose process differs from the previous tick's
  std::int64_t preemptions = 0;       // switches away from a process with work left
  std::vector<int> ranBeforeArrival;  // ids
  std::int64_t finished = 0;
};

Figures computeFigures(const RunSummary& run);

std::string policyName(Policy policy);  // "SJF", "SRTF" or "unknown"

// What to tell a reader about a trace that stops early; empty when it is whole.
std::string stopsEarlyWarning(const RunSummary& run);

}  // namespace report
