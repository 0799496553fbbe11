#pragma once

#include "report/metrics.h"
#include "report/output.h"
#include "report/run_summary.h"

namespace report {

struct TextOptions {
  int width = 80;         // columns the Gantt chart and the timeline wrap to
  bool timeline = false;  // add one row per process, one column per tick
};

// For a person at a terminal: heading, Gantt chart, table, averages, notes.
void renderText(Output& out, const RunSummary& run, const Figures& figures,
                const TextOptions& options);

// One row per process in id order under a fixed header; integers only, an
// empty field where a figure is unknown.
void renderCsv(Output& out, const Figures& figures);

void renderJson(Output& out, const RunSummary& run, const Figures& figures);

// The Gantt chart as a picture: a row per process, a bar per run segment.
void renderSvg(Output& out, const RunSummary& run, const Figures& figures);

}  // namespace report
