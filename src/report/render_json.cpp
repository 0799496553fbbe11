#include <nlohmann/json.hpp>

#include "report/render.h"

namespace report {

namespace {

using Json = nlohmann::ordered_json;

Json figure(const std::optional<std::int64_t>& value) { return value ? Json(*value) : Json(); }

Json average(const Average& a) {
  const std::optional<double> value = a.value();
  return value ? Json(*value) : Json();
}

}  // namespace

void renderJson(Output& out, const RunSummary& run, const Figures& figures) {
  Json doc;
  doc["policy"] = run.policy == Policy::kUnknown ? Json() : Json(policyName(run.policy));
  doc["ticks"] = run.ticks;
  doc["complete"] = run.complete();
  doc["context_switches"] = figures.contextSwitches;
  doc["preemptions"] = figures.preemptions;
  Json processes = Json::array();
  for (const ProcessFigures& f : figures.processes) {
    processes.push_back({{"id", f.id},
                         {"arrival", f.arrival},
                         {"burst", f.burst},
                         {"first_run", figure(f.firstRun)},
                         {"completion", figure(f.completion)},
                         {"turnaround", figure(f.turnaround)},
                         {"waiting", figure(f.waiting)},
                         {"response", figure(f.response)}});
  }
  doc["processes"] = std::move(processes);
  doc["averages"] = {{"turnaround", average(figures.turnaround)},
                     {"waiting", average(figures.waiting)},
                     {"response", average(figures.response)}};
  Json segments = Json::array();
  for (const Segment& s : run.segments) {
    segments.push_back({{"id", s.id}, {"start", s.start}, {"end", s.end}});
  }
  doc["segments"] = std::move(segments);
  doc["ran_before_arrival"] = figures.ranBeforeArrival;
  out.write(doc.dump(2));
  out.write("\n");
}

}  // namespace report
