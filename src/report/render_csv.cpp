#include "report/render.h"

namespace report {

namespace {

std::string field(const std::optional<std::int64_t>& value) {
  return value ? fmt::format("{}", *value) : std::string();
}

}  // namespace

void renderCsv(Output& out, const Figures& figures) {
  out.write("id,arrival,burst,first_run,completion,turnaround,waiting,response\n");
  for (const ProcessFigures& f : figures.processes) {
    out.print("{},{},{},{},{},{},{},{}\n", f.id, f.arrival, f.burst, field(f.firstRun),
              field(f.completion), field(f.turnaround), field(f.waiting), field(f.response));
  }
}

}  // namespace report
