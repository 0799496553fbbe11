// The report's formats on small runs whose schedule is known, against
// reports checked by hand and kept under golden/.
#include <gtest/gtest.h>

#include <cstdlib>
#include <nlohmann/json.hpp>

#include "report/metrics.h"
#include "report/render.h"
#include "report/trace_reader.h"
#include "report_support.h"

namespace {

struct Known {
  const char* name;
  std::vector<Values> records;
  bool srtf;
};

const std::vector<Known>& knownRuns() {
  static const std::vector<Known> runs = {
      // Process 3 arrives with the least work and takes over; a preemption.
      {"worked", {{2, 3, 1}, {0, 4, 2}, {1, 1, 3}}, true},
      // Equal keys: the order of ties decides who runs.
      {"ties", {{0, 2, 1}, {0, 2, 2}, {0, 2, 3}}, true},
      // Nothing has arrived at tick 0, so process 1 runs early: negative figures.
      {"early", {{5, 2, 1}, {7, 1, 2}}, true},
      {"sjf", {{0, 3, 1}, {0, 1, 2}, {0, 2, 3}}, false},
  };
  return runs;
}

struct Rendered {
  std::string text;
  std::string csv;
  std::string json;
  std::string svg;
};

Rendered renderAll(const std::string& trace, int width = 80, bool timeline = true) {
  report::TraceReader reader;
  reader.feed(trace);
  const report::RunSummary run = reader.finish();
  const report::Figures figures = report::computeFigures(run);
  Rendered out;
  report::Output text;
  report::renderText(text, run, figures, {width, timeline});
  out.text = text.text();
  report::Output csv;
  report::renderCsv(csv, figures);
  out.csv = csv.text();
  report::Output json;
  report::renderJson(json, run, figures);
  out.json = json.text();
  report::Output svg;
  report::renderSvg(svg, run, figures);
  out.svg = svg.text();
  return out;
}

// Compares with the kept report; SCHEDULER_UPDATE_GOLDEN=1 writes it anew.
void expectGolden(const std::string& file, const std::string& actual) {
  const std::string path = std::string(GOLDEN_DIR) + "/" + file;
  if (std::getenv("SCHEDULER_UPDATE_GOLDEN") != nullptr) writeFile(path, actual);
  EXPECT_EQ(actual, readFile(path)) << "golden file " << path;
}

TEST(ReportFormats, KnownRunsMatchTheirCheckedReports) {
  for (const Known& known : knownRuns()) {
    SCOPED_TRACE(known.name);
    const Rendered out = renderAll(traceOf(known.records, known.srtf));
    expectGolden(std::string(known.name) + ".txt", out.text);
    expectGolden(std::string(known.name) + ".csv", out.csv);
    expectGolden(std::string(known.name) + ".json", out.json);
  }
}

TEST(ReportFormats, NegativeFiguresAreShownAsTheyAreAndMarked) {
  const Rendered out = renderAll(traceOf({{5, 2, 1}, {7, 1, 2}}));
  EXPECT_NE(out.csv.find("\n1,5,2,0,2,-3,-5,-5\n"), std::string::npos) << out.csv;
  EXPECT_NE(out.text.find("-5*"), std::string::npos);
  const auto json = nlohmann::json::parse(out.json);
  EXPECT_EQ(json["ran_before_arrival"], nlohmann::json::array({1, 2}));
  EXPECT_EQ(json["averages"]["waiting"], -5.0);
}

TEST(ReportFormats, ACutTraceLeavesUnknownFiguresEmpty) {
  const std::string trace = traceOf({{2, 3, 1}, {0, 4, 2}, {1, 1, 3}});
  // The first three ticks only.
  std::size_t cut = 0;
  for (int i = 0; i < 4; ++i) cut = trace.find("Running Process:", cut + 1);
  const Rendered out = renderAll(trace.substr(0, cut));
  EXPECT_EQ(out.csv,
            "id,arrival,burst,first_run,completion,turnaround,waiting,response\n"
            "1,2,3,2,,,,0\n2,0,4,0,,,,0\n3,1,1,1,2,1,0,0\n");
  const auto json = nlohmann::json::parse(out.json);
  EXPECT_FALSE(json["complete"]);
  EXPECT_EQ(json["ticks"], 3);
  EXPECT_TRUE(json["processes"][0]["completion"].is_null());
  EXPECT_EQ(json["averages"]["turnaround"], 1.0);
  EXPECT_NE(out.text.find("3 of 8 ticks"), std::string::npos);
  EXPECT_NE(out.text.find("Unfinished: P1 and P2."), std::string::npos);
}

TEST(ReportFormats, ARunOfNoProcessesIsAnEmptyReport) {
  const std::string trace = std::string(trace::kCountPrompt) + trace::kMenu + "\n" +
                            trace::kChoicePrompt + trace::kSrtfPrompt + trace::kListingHeader +
                            "\n\n";
  const Rendered out = renderAll(trace);
  EXPECT_EQ(out.csv, "id,arrival,burst,first_run,completion,turnaround,waiting,response\n");
  const auto json = nlohmann::json::parse(out.json);
  EXPECT_TRUE(json["complete"]);
  EXPECT_TRUE(json["processes"].empty());
  EXPECT_TRUE(json["averages"]["waiting"].is_null());
  EXPECT_NE(out.text.find("(no ticks)"), std::string::npos);
}

// Every line of the text report fits the width, however long the run.
TEST(ReportFormats, GanttChartAndTimelineFoldToTheWidth) {
  std::vector<Values> records;
  for (int i = 0; i < 60; ++i) records.emplace_back(i % 9, 1 + i % 15, i + 1);
  const std::string trace = traceOf(records);
  for (int width : {20, 37, 80, 200}) {
    const Rendered out = renderAll(trace, width);
    std::istringstream lines(out.text.substr(0, out.text.find("\nProcesses\n")));
    std::string line;
    while (std::getline(lines, line)) {
      EXPECT_LE(line.size(), static_cast<std::size_t>(std::max(width, 80))) << line;
      if (line.rfind("+-", 0) == 0 || line.rfind("| P", 0) == 0) {
        EXPECT_LE(line.size(), static_cast<std::size_t>(width)) << line;
      }
    }
  }
}

TEST(ReportFormats, SvgIsWellFormedWithABarPerSegment) {
  for (const Known& known : knownRuns()) {
    const std::string trace = traceOf(known.records, known.srtf);
    report::TraceReader reader;
    reader.feed(trace);
    const report::RunSummary run = reader.finish();
    const Rendered out = renderAll(trace);
    std::size_t bars = 0;
    for (std::size_t at = out.svg.find("<title>"); at != std::string::npos;
         at = out.svg.find("<title>", at + 1)) {
      ++bars;
    }
    EXPECT_EQ(bars, run.segments.size()) << known.name;
    const std::string path = scratchPath(std::string(known.name) + ".svg");
    writeFile(path, out.svg);
    EXPECT_EQ(std::system(("xmllint --noout '" + path + "'").c_str()), 0) << known.name;
    std::remove(path.c_str());
  }
}

}  // namespace
