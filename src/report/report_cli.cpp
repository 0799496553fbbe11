#include "report/report_cli.h"

#include <fmt/format.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <system_error>

#include "report/metrics.h"
#include "report/render.h"
#include "report/trace_reader.h"

namespace {

constexpr int kReportFailed = 1;
constexpr int kUsage = 2;
constexpr int kDefaultWidth = 80;

// The terminal's width when standard output is one, else the default.
int defaultWidth() {
  winsize size{};
  if (isatty(STDOUT_FILENO) != 0 && ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 &&
      size.ws_col > 0) {
    return size.ws_col;
  }
  return kDefaultWidth;
}

void complain(const std::string& message) {
  std::fflush(stdout);
  std::fprintf(stderr, "scheduler-report: %s\n", message.c_str());
}

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

// Draws the run into the file at `path`; says why on standard error when it
// cannot.
bool writeSvg(const std::string& path, const report::RunSummary& run,
              const report::Figures& figures) {
  File svg(std::fopen(path.c_str(), "wb"), std::fclose);
  bool written = svg != nullptr;
  if (written) {
    try {
      report::Output picture(svg.get());
      report::renderSvg(picture, run, figures);
      picture.flush();
    } catch (const std::system_error&) {
      written = false;
    }
    written = std::fclose(svg.release()) == 0 && written;
  }
  if (!written) complain(fmt::format("cannot write {}: {}", path, std::strerror(errno)));
  return written;
}

}  // namespace

int runReport(int argc, char** argv) {
  CLI::App app{
      "Reads the output of a run of the scheduler (its trace) and reports it: a Gantt\n"
      "chart and, for each process, the completion, turnaround, waiting and response\n"
      "times, with their averages. Reads standard input when FILE is - or missing.",
      "scheduler-report"};
  std::string input = "-";
  std::string format = "text";
  int width = 0;
  bool withTimeline = false;
  std::string svgPath;
  app.add_option("FILE", input, "The trace: the whole output of one run");
  app.add_option("--format", format, "text (default), csv or json")
      ->check(CLI::IsMember({"text", "csv", "json"}));
  auto* widthOption = app.add_option("--width", width,
                                     "Columns to fold the text report to (default: the "
                                     "terminal's width, or 80)")
                          ->check(CLI::Range(20, 100000));
  app.add_flag("--timeline", withTimeline,
               "Add a row per process and a column per tick to the text report");
  app.add_option("--svg", svgPath, "Also draw the Gantt chart as an SVG picture in this file");
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    if (e.get_exit_code() == 0) return app.exit(e);  // --help
    complain(e.what());
    std::fputs("Run with --help for more information.\n", stderr);
    return kUsage;
  }
  if (format != "text" && (withTimeline || widthOption->count() > 0)) {
    complain("--timeline and --width go with --format text");
    return kUsage;
  }

  const std::string inputName = input == "-" ? "standard input" : input;
  try {
    File file(nullptr, std::fclose);
    std::FILE* in = stdin;
    if (input != "-") {
      file.reset(std::fopen(input.c_str(), "rb"));
      if (!file) {
        complain(fmt::format("cannot open {}: {}", input, std::strerror(errno)));
        return kReportFailed;
      }
      in = file.get();
    }
    const report::RunSummary run = report::readTrace(in);
    const report::Figures figures = report::computeFigures(run);

    // The picture is written whole before anything goes to standard output.
    if (!svgPath.empty() && !writeSvg(svgPath, run, figures)) return kReportFailed;

    const std::string warning = report::stopsEarlyWarning(run);
    if (!warning.empty()) complain("warning: " + warning);

    try {
      report::Output out(stdout);
      if (format == "csv") {
        report::renderCsv(out, figures);
      } else if (format == "json") {
        report::renderJson(out, run, figures);
      } else {
        report::renderText(out, run, figures,
                           {widthOption->count() > 0 ? width : defaultWidth(), withTimeline});
      }
      out.flush();
    } catch (const std::system_error& e) {
      complain(fmt::format("write error: {}", e.code().message()));
      return kReportFailed;
    }
  } catch (const report::TraceError& e) {
    complain(e.line() > 0 ? fmt::format("line {}: {}", e.line(), e.what()) : e.what());
    return kReportFailed;
  } catch (const std::system_error& e) {
    // Writing has its own handlers above: this is the reading.
    complain(fmt::format("cannot read {}: {}", inputName, e.code().message()));
    return kReportFailed;
  }
  return 0;
}
