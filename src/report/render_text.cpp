#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "report/render.h"

namespace report {

namespace {

std::size_t digits(std::int64_t value) { return fmt::formatted_size("{}", value); }

std::string label(int id) { return fmt::format("P{}", id); }

// "1, 4 and 7", or the first few and how many there are in all.
std::string idList(const std::vector<int>& ids) {
  constexpr std::size_t kShown = 8;
  std::string out;
  for (std::size_t i = 0; i < ids.size() && i < kShown; ++i) {
    if (i > 0) out += i + 1 == ids.size() ? " and " : ", ";
    out += label(ids[i]);
  }
  if (ids.size() > kShown) out += fmt::format(", ... ({} in all)", ids.size());
  return out;
}

void heading(Output& out, const RunSummary& run) {
  switch (run.policy) {
    case Policy::kSrtf:
      out.write("SRTF (shortest remaining time first)");
      break;
    case Policy::kSjf:
      out.write("SJF (shortest job first)");
      break;
    case Policy::kUnknown:
      out.write("Policy unknown (the trace starts at the listing)");
      break;
  }
  out.print(": {} process{}, ", run.processes.size(), run.processes.size() == 1 ? "" : "es");
  if (run.complete()) {
    out.print("{} ticks\n", run.ticks);
  } else if (!run.listingComplete) {
    out.write("the trace stops inside the listing\n");
  } else {
    out.print("{} of {} ticks (the trace stops early)\n", run.ticks, run.expectedTicks);
  }
}

// The textbook chart: a box per run segment, the tick at each boundary under
// it, folded into rows that fit the width.
void ganttChart(Output& out, const RunSummary& run, std::size_t width) {
  out.write("\nGantt chart\n\n");
  if (run.segments.empty()) {
    out.write("(no ticks)\n");
    return;
  }
  // From one box's left edge to the next: the label with a space on each side,
  // and room for the boundary's tick number.
  const auto span = [](const Segment& s) {
    return std::max(label(s.id).size() + 3, digits(s.start) + 1);
  };
  std::size_t first = 0;
  while (first < run.segments.size()) {
    std::size_t last = first;
    std::size_t used = 0;
    while (last < run.segments.size()) {
      const std::size_t next = span(run.segments[last]);
      const std::size_t closing = std::max<std::size_t>(1, digits(run.segments[last].end));
      if (last > first && used + next + closing > width) break;
      used += next;
      ++last;
    }
    std::string border;
    std::string boxes;
    std::string ticks;
    for (std::size_t i = first; i < last; ++i) {
      const Segment& s = run.segments[i];
      const std::size_t w = span(s);
      border += '+';
      border.append(w - 1, '-');
      const std::string name = label(s.id);
      boxes += "| " + name;
      boxes.append(w - 2 - name.size(), ' ');
      const std::string tick = fmt::format("{}", s.start);
      ticks += tick;
      ticks.append(w - tick.size(), ' ');
    }
    out.print("{0}+\n{1}|\n{0}+\n{2}{3}\n", border, boxes, ticks, run.segments[last - 1].end);
    first = last;
    if (first < run.segments.size()) out.write("\n");
  }
}

// One row per process, one column per tick, folded into blocks of columns.
void timeline(Output& out, const RunSummary& run, std::size_t width) {
  out.write(
      "\nTimeline (# running, . waiting: arrived and in the ready queue,\n"
      "blank: not there, before its arrival or after it finished)\n");
  if (run.ticks == 0) {
    out.write("\n(no ticks)\n");
    return;
  }
  std::size_t labelWidth = 0;
  for (const ProcessRun& p : run.processes) labelWidth = std::max(labelWidth, label(p.id).size());
  labelWidth += 2;
  constexpr std::int64_t kStep = 10;  // a tick number every ten columns
  const auto room = static_cast<std::int64_t>(width > labelWidth ? width - labelWidth : 0);
  const std::int64_t perBlock = std::max<std::int64_t>(kStep, room / kStep * kStep);

  // The segments of each process, in time order, and how far each row has got.
  std::vector<std::vector<Segment>> runs(run.processes.size());
  for (const Segment& s : run.segments) runs[static_cast<std::size_t>(s.id - 1)].push_back(s);
  std::vector<std::size_t> cursor(run.processes.size(), 0);

  for (std::int64_t from = 0; from < run.ticks; from += perBlock) {
    const std::int64_t to = std::min(run.ticks, from + perBlock);
    std::string axis(labelWidth, ' ');
    for (std::int64_t t = from; t < to; t += kStep) {
      std::string number = fmt::format("{}", t);
      axis.resize(labelWidth + static_cast<std::size_t>(t - from), ' ');
      axis += number;
    }
    out.print("\n{}\n", axis);
    std::string row;
    for (std::size_t i = 0; i < run.processes.size(); ++i) {
      const ProcessRun& p = run.processes[i];
      const std::int64_t gone = p.completion >= 0 ? p.completion : run.ticks;
      row.assign(labelWidth, ' ');
      row.replace(0, label(p.id).size(), label(p.id));
      for (std::int64_t t = from; t < to; ++t) row += t >= p.arrival && t < gone ? '.' : ' ';
      for (std::size_t& k = cursor[i]; k < runs[i].size() && runs[i][k].start < to; ++k) {
        const Segment& s = runs[i][k];
        for (std::int64_t t = std::max(s.start, from); t < std::min(s.end, to); ++t) {
          row[labelWidth + static_cast<std::size_t>(t - from)] = '#';
        }
        if (s.end > to) break;  // goes on in the next block
      }
      while (!row.empty() && row.back() == ' ') row.pop_back();
      out.print("{}\n", row);
    }
  }
}

// A figure as the table shows it: "-" when unknown, "*" after a figure that
// is measured from an arrival the process ran before.
std::string cell(const std::optional<std::int64_t>& value, bool marked, bool anyMarked) {
  std::string text = value ? fmt::format("{}", *value) : "-";
  if (anyMarked) text += marked && value ? '*' : ' ';
  return text;
}

void table(Output& out, const Figures& figures) {
  constexpr std::size_t kColumns = 8;
  const bool anyMarked = !figures.ranBeforeArrival.empty();
  std::array<std::string, kColumns> names = {"id",         "arrival",    "burst",   "first run",
                                             "completion", "turnaround", "waiting", "response"};
  // Headings line up with the figures, which leave a column for the mark.
  if (anyMarked) {
    for (std::size_t c = 1; c < kColumns; ++c) names[c] += ' ';
  }
  std::vector<std::array<std::string, kColumns>> rows;
  for (const ProcessFigures& f : figures.processes) {
    const bool m = f.ranBeforeArrival;
    rows.push_back({label(f.id), cell(f.arrival, false, anyMarked), cell(f.burst, false, anyMarked),
                    cell(f.firstRun, false, anyMarked), cell(f.completion, false, anyMarked),
                    cell(f.turnaround, m, anyMarked), cell(f.waiting, m, anyMarked),
                    cell(f.response, m, anyMarked)});
  }
  std::array<std::size_t, kColumns> widths{};
  for (std::size_t c = 0; c < kColumns; ++c) {
    widths[c] = names[c].size();
    for (const auto& row : rows) widths[c] = std::max(widths[c], row[c].size());
  }
  const auto printRow = [&](const std::array<std::string, kColumns>& row) {
    std::string line = fmt::format("{:<{}}", row[0], widths[0]);
    for (std::size_t c = 1; c < kColumns; ++c) line += fmt::format("  {:>{}}", row[c], widths[c]);
    while (line.back() == ' ') line.pop_back();
    out.print("{}\n", line);
  };
  out.write("\nProcesses\n\n");
  printRow(names);
  for (const auto& row : rows) printRow(row);
}

void averages(Output& out, const Figures& figures) {
  if (figures.finished == 0) {
    out.write("\nAverages: no process finished\n");
    return;
  }
  out.print("\nAverages over the {} finished process{}\n\n", figures.finished,
            figures.finished == 1 ? "" : "es");
  const std::array<std::pair<const char*, const Average*>, 3> lines = {
      {{"turnaround", &figures.turnaround},
       {"waiting", &figures.waiting},
       {"response", &figures.response}}};
  std::size_t sumWidth = 0;
  for (const auto& [name, average] : lines) sumWidth = std::max(sumWidth, digits(average->sum));
  for (const auto& [name, average] : lines) {
    out.print("  {:<10}  {:>{}} / {} = {:.2f}\n", name, average->sum, sumWidth, average->count,
              *average->value());
  }
}

void notes(Output& out, const RunSummary& run, const Figures& figures) {
  std::vector<std::string> lines;
  if (!figures.ranBeforeArrival.empty()) {
    lines.push_back(
        fmt::format("* {} ran before arriving. The program has no idle ticks: when no process\n"
                    "  has arrived, it runs the one that arrives first anyway. Figures measured\n"
                    "  from the arrival can then be negative; they are shown as they are.",
                    idList(figures.ranBeforeArrival)));
  }
  if (!run.complete()) {
    std::vector<int> unfinished;
    for (const ProcessRun& p : run.processes) {
      if (p.completion < 0) unfinished.push_back(p.id);
    }
    std::string text = run.listingComplete
                           ? fmt::format("The trace stops early: {} of {} ticks seen.", run.ticks,
                                         run.expectedTicks)
                           : std::string("The trace stops inside the listing of processes.");
    if (!unfinished.empty()) {
      text += fmt::format(
          "\n  Unfinished: {}.\n  They have no completion, turnaround or waiting time, and the\n"
          "  averages leave them out.",
          idList(unfinished));
    }
    lines.push_back(text);
  }
  if (lines.empty()) return;
  out.write("\nNotes\n\n");
  for (const std::string& line : lines) out.print("{}\n", line);
}

}  // namespace

void renderText(Output& out, const RunSummary& run, const Figures& figures,
                const TextOptions& options) {
  const auto width = static_cast<std::size_t>(std::max(options.width, 1));
  heading(out, run);
  ganttChart(out, run, width);
  if (options.timeline) timeline(out, run, width);
  table(out, figures);
  averages(out, figures);
  out.print("\nContext switches: {}   Preemptions: {}\n", figures.contextSwitches,
            figures.preemptions);
  notes(out, run, figures);
  out.write(
      "\nDefinitions (ticks are numbered from 0)\n\n"
      "  first run   the tick of the first \"Running Process\" line naming the process\n"
      "  completion  its last tick + 1\n"
      "  turnaround  completion - arrival\n"
      "  waiting     turnaround - burst\n"
      "  response    first run - arrival\n"
      "  A context switch is a tick whose running process differs from the previous\n"
      "  tick's; a preemption is a switch away from a process that still had work left.\n");
}

}  // namespace report
