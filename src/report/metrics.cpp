#include "report/metrics.h"

#include <fmt/format.h>

namespace report {

std::optional<double> Average::value() const {
  if (count == 0) return std::nullopt;
  return static_cast<double>(sum) / static_cast<double>(count);
}

Figures computeFigures(const RunSummary& run) {
  Figures figures;
  for (const ProcessRun& p : run.processes) {
    ProcessFigures f;
    f.id = p.id;
    f.arrival = p.arrival;
    f.burst = p.burst;
    if (p.firstRun >= 0) {
      f.firstRun = p.firstRun;
      f.response = p.firstRun - p.arrival;
      f.ranBeforeArrival = p.firstRun < p.arrival;
    }
    if (p.completion >= 0) {
      f.completion = p.completion;
      f.turnaround = p.completion - p.arrival;
      f.waiting = *f.turnaround - p.burst;
      ++figures.finished;
      figures.turnaround.sum += *f.turnaround;
      figures.waiting.sum += *f.waiting;
      figures.response.sum += *f.response;
    }
    if (f.ranBeforeArrival) figures.ranBeforeArrival.push_back(p.id);
    figures.processes.push_back(f);
  }
  figures.turnaround.count = figures.waiting.count = figures.response.count = figures.finished;

  // Segments break exactly where the running process changes.
  for (std::size_t i = 1; i < run.segments.size(); ++i) {
    ++figures.contextSwitches;
    const Segment& left = run.segments[i - 1];
    const ProcessRun& p = run.processes[static_cast<std::size_t>(left.id - 1)];
    if (p.completion < 0 || p.completion > left.end) ++figures.preemptions;
  }
  return figures;
}

std::string policyName(Policy policy) {
  switch (policy) {
    case Policy::kSjf:
      return "SJF";
    case Policy::kSrtf:
      return "SRTF";
    case Policy::kUnknown:
      break;
  }
  return "unknown";
}

std::string stopsEarlyWarning(const RunSummary& run) {
  if (!run.listingComplete) {
    return fmt::format("the trace stops inside the listing, after {} processes: no tick was seen",
                       run.processes.size());
  }
  if (run.ticks < run.expectedTicks) {
    return fmt::format("the trace stops early: {} of {} ticks seen", run.ticks, run.expectedTicks);
  }
  return {};
}

}  // namespace report
