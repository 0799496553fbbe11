// scheduler-report as a user runs it: after the simulator in a pipe, on
// files, and with options or traces it cannot use.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <map>
#include <nlohmann/json.hpp>

#include "report_support.h"

namespace {

struct Result {
  std::string out;
  std::string err;
  int status;
};

// Runs `command` through the shell with the report's path as $REPORT and the
// simulator's as $SCHEDULER.
Result run(const std::string& command, const std::string& input = "") {
  const std::string in = scratchPath("cli.in");
  const std::string out = scratchPath("cli.out");
  const std::string err = scratchPath("cli.err");
  writeFile(in, input);
  const std::string full = "REPORT='" REPORT_PATH "' SCHEDULER='" SCHEDULER_PATH "'; (" + command +
                           ") < '" + in + "' > '" + out + "' 2> '" + err + "'";
  const int raw = std::system(full.c_str());
  Result result{readFile(out), readFile(err), WIFEXITED(raw) ? WEXITSTATUS(raw) : -1};
  for (const std::string& path : {in, out, err}) std::remove(path.c_str());
  return result;
}

// What must hold of any whole run, whatever the generator drew.
void checkPipeline(const std::string& count, const std::string& choice) {
  SCOPED_TRACE("count " + count + ", choice " + choice);
  const Result result = run("printf '" + count + "\\n" + choice +
                            "\\n' | \"$SCHEDULER\" | \"$REPORT\" --format json");
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  const auto report = nlohmann::json::parse(result.out);
  EXPECT_EQ(report["policy"], choice == "2" ? "SRTF" : "SJF");
  EXPECT_TRUE(report["complete"]);
  std::map<int, std::int64_t> ran;
  std::int64_t covered = 0;
  for (const auto& segment : report["segments"]) {
    EXPECT_EQ(segment["start"], covered);  // no gap, no overlap
    covered = segment["end"];
    ran[segment["id"]] += covered - segment["start"].get<std::int64_t>();
  }
  EXPECT_EQ(covered, report["ticks"]);
  std::int64_t ticks = 0;
  for (const auto& p : report["processes"]) {
    const int id = p["id"];
    const std::int64_t burst = p["burst"];
    ticks += burst;
    EXPECT_EQ(ran[id], burst) << "process " << id;
    EXPECT_EQ(p["waiting"], p["turnaround"].get<std::int64_t>() - burst) << "process " << id;
    EXPECT_EQ(p["turnaround"], p["completion"].get<std::int64_t>() - p["arrival"].get<int>());
    EXPECT_EQ(p["response"], p["first_run"].get<std::int64_t>() - p["arrival"].get<int>());
    if (choice == "1") {
      EXPECT_EQ(p["waiting"], p["response"]) << "shortest job first never preempts";
    }
  }
  EXPECT_EQ(ticks, report["ticks"]);
  EXPECT_EQ(report["processes"].size(), static_cast<std::size_t>(std::stoi(count)));
}

TEST(ReportCommand, PipelineOnRandomRunsOfBothPolicies) {
  for (const char* choice : {"1", "2"}) {
    for (const char* count : {"1", "5", "40", "150"}) checkPipeline(count, choice);
  }
}

TEST(ReportCommand, ReadsAFileOrStandardInputAlike) {
  const std::string trace = traceOf({{2, 3, 1}, {0, 4, 2}, {1, 1, 3}});
  const std::string path = scratchPath("trace.txt");
  writeFile(path, trace);
  const Result fromFile = run("\"$REPORT\" --format csv '" + path + "'");
  const Result fromDash = run("\"$REPORT\" --format csv -", trace);
  const Result fromPipe = run("\"$REPORT\" --format csv", trace);
  EXPECT_EQ(fromFile.status, 0);
  EXPECT_EQ(fromFile.out, readFile(std::string(GOLDEN_DIR) + "/worked.csv"));
  EXPECT_EQ(fromDash.out, fromFile.out);
  EXPECT_EQ(fromPipe.out, fromFile.out);
  // Not a terminal: the text report folds to 80 columns unless told otherwise.
  EXPECT_EQ(run("\"$REPORT\" '" + path + "'").out,
            run("\"$REPORT\" --width 80 '" + path + "'").out);

  const std::string svg = scratchPath("run.svg");
  const Result drawn = run("\"$REPORT\" --svg '" + svg + "' '" + path + "'");
  EXPECT_EQ(drawn.status, 0);
  EXPECT_EQ(drawn.out, run("\"$REPORT\" '" + path + "'").out);
  EXPECT_EQ(readFile(svg).rfind("<?xml", 0), 0u);
  for (const std::string& p : {path, svg}) std::remove(p.c_str());
}

struct Refusal {
  const char* command;
  std::string input;
  int status;
  const char* firstLine;  // the start of what standard error says
};

TEST(ReportCommand, RefusalsSayWhyOnStandardErrorOnly) {
  const std::string good = traceOf({{2, 3, 1}, {0, 4, 2}, {1, 1, 3}});
  std::string bad = good;
  bad.replace(bad.find("Running Process:3"), 17, "Running Process:7");
  const std::vector<Refusal> cases = {
      {"\"$REPORT\"", bad, 1,
       "scheduler-report: line 17: tick 1 runs process 7, which is not listed"},
      {"\"$REPORT\"", "", 1, "scheduler-report: the input is empty"},
      {"printf '4\\n3\\n' | \"$SCHEDULER\" | \"$REPORT\"", "", 1,
       "scheduler-report: no simulation in this trace: the run ended at the menu (EXIT)"},
      {"printf '4\\n9\\n' | \"$SCHEDULER\" | \"$REPORT\"", "", 1,
       "scheduler-report: no simulation in this trace: the run ended at an invalid menu choice"},
      {"printf '100001\\n1\\n' | \"$SCHEDULER\" | \"$REPORT\"", "", 1,
       "scheduler-report: no simulation in this trace: the run refused the process count"},
      {"\"$REPORT\" /nonexistent/trace.txt", "", 1,
       "scheduler-report: cannot open /nonexistent/trace.txt: No such file or directory"},
      {"\"$REPORT\" --svg /nonexistent/run.svg", good, 1, "scheduler-report: cannot write"},
      {"\"$REPORT\" /", "", 1, "scheduler-report: cannot read /: Is a directory"},
      {"\"$REPORT\" --svg /dev/full", good, 1,
       "scheduler-report: cannot write /dev/full: No space left on device"},
      {"\"$REPORT\" > /dev/full", good, 1,
       "scheduler-report: write error: No space left on device"},
      {"\"$REPORT\" --colour", good, 2,
       "scheduler-report: The following argument was not expected: --colour"},
      {"\"$REPORT\" --format xml", good, 2, "scheduler-report: --format: xml not in"},
      {"\"$REPORT\" --width 5", good, 2, "scheduler-report: --width: Value 5 not in range"},
      {"\"$REPORT\" --format csv --timeline", good, 2,
       "scheduler-report: --timeline and --width go with --format text"},
  };
  for (const Refusal& c : cases) {
    const Result result = run(c.command, c.input);
    EXPECT_EQ(result.status, c.status) << c.command << "\n" << result.err;
    EXPECT_EQ(result.out, "") << c.command;
    EXPECT_EQ(result.err.rfind(c.firstLine, 0), 0u) << c.command << "\n" << result.err;
  }
}

TEST(ReportCommand, ATraceCutShortIsReportedWithAWarning) {
  const Result result =
      run("printf '30\\n2\\n' | \"$SCHEDULER\" | head -c 5000 | \"$REPORT\" --format csv");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err.rfind("scheduler-report: warning: the trace stops early: ", 0), 0u)
      << result.err;
  EXPECT_NE(result.out.find(",,,"), std::string::npos) << "unfinished processes have no completion";
}

TEST(ReportCommand, HelpShowsTheUsage) {
  const Result result = run("\"$REPORT\" --help");
  EXPECT_EQ(result.status, 0);
  for (const char* option : {"--format", "--width", "--timeline", "--svg", "FILE"}) {
    EXPECT_NE(result.out.find(option), std::string::npos) << option;
  }
}

}  // namespace
