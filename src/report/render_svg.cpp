#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>

#include "report/render.h"

namespace report {

namespace {

// Sizes in pixels. A run of up to 50 processes and 200 ticks gets rows and
// ticks wide enough to read; larger runs get thinner ones, down to a floor.
constexpr double kLeft = 72;
constexpr double kTop = 60;
constexpr double kRight = 24;
constexpr double kBottom = 44;
constexpr double kPlotWidth = 1000;
constexpr double kPlotHeight = 1200;
constexpr double kMaxRow = 24;
constexpr double kMinRow = 3;
constexpr double kMaxTick = 40;
constexpr double kMinTick = 1;
constexpr double kMinLabelGap = 44;  // between tick numbers on the axis
constexpr double kMinLabelRow = 11;  // row height below which not every row is labelled

std::string escaped(std::string_view text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

// A colour of its own for each process: hues a golden angle apart.
std::string colour(int id) {
  const double hue = std::fmod(static_cast<double>(id) * 137.508, 360.0) / 60.0;
  const double saturation = 0.62;
  const double lightness = 0.52;
  const double chroma = (1 - std::fabs(2 * lightness - 1)) * saturation;
  const double x = chroma * (1 - std::fabs(std::fmod(hue, 2.0) - 1));
  double r = 0;
  double g = 0;
  double b = 0;
  switch (static_cast<int>(hue)) {
    case 0:
      r = chroma, g = x;
      break;
    case 1:
      r = x, g = chroma;
      break;
    case 2:
      g = chroma, b = x;
      break;
    case 3:
      g = x, b = chroma;
      break;
    case 4:
      r = x, b = chroma;
      break;
    default:
      r = chroma, b = x;
  }
  const double m = lightness - chroma / 2;
  const auto byte = [m](double v) { return static_cast<int>(std::lround((v + m) * 255)); };
  return fmt::format("#{:02x}{:02x}{:02x}", byte(r), byte(g), byte(b));
}

// The step between numbered ticks: 1, 2 or 5 times a power of ten, the
// smallest that leaves room for the numbers.
std::int64_t axisStep(double pixelsPerTick) {
  for (std::int64_t scale = 1;; scale *= 10) {
    for (const std::int64_t m : {1, 2, 5}) {
      if (static_cast<double>(m * scale) * pixelsPerTick >= kMinLabelGap) return m * scale;
    }
  }
}

}  // namespace

void renderSvg(Output& out, const RunSummary& run, const Figures& figures) {
  const auto processes = static_cast<double>(run.processes.size());
  const auto ticks = static_cast<double>(std::max<std::int64_t>(run.ticks, 1));
  const double tickWidth = std::clamp(kPlotWidth / ticks, kMinTick, kMaxTick);
  const double rowHeight =
      processes > 0 ? std::clamp(kPlotHeight / processes, kMinRow, kMaxRow) : kMaxRow;
  const double plotWidth = ticks * tickWidth;
  const double plotHeight = std::max(processes, 1.0) * rowHeight;
  const double width = kLeft + plotWidth + kRight;
  const double height = kTop + plotHeight + kBottom;
  const auto x = [tickWidth](std::int64_t tick) {
    return kLeft + static_cast<double>(tick) * tickWidth;
  };
  const auto y = [rowHeight](std::size_t row) {
    return kTop + static_cast<double>(row) * rowHeight;
  };

  out.print(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"{0:.0f}\" height=\"{1:.0f}\" "
      "viewBox=\"0 0 {0:.0f} {1:.0f}\">\n",
      std::ceil(width), std::ceil(height));
  out.write(
      "<style>\n"
      "  text { font-family: sans-serif; font-size: 12px; fill: #222; }\n"
      "  .title { font-size: 16px; font-weight: bold; }\n"
      "  .legend { fill: #555; }\n"
      "  .label { text-anchor: end; dominant-baseline: middle; }\n"
      "  .tick { text-anchor: middle; }\n"
      "  .stripe { fill: #f4f4f4; }\n"
      "  .wait { fill: #dde3ea; }\n"
      "  .grid { stroke: #ccc; stroke-width: 1; }\n"
      "  .axis { stroke: #333; stroke-width: 1; }\n"
      "</style>\n"
      "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n");

  std::string title =
      fmt::format("{}: {} process{}, ",
                  run.policy == Policy::kUnknown ? "Policy unknown" : policyName(run.policy),
                  run.processes.size(), run.processes.size() == 1 ? "" : "es");
  title += run.complete() ? fmt::format("{} ticks", run.ticks)
                          : fmt::format("{} of {} ticks (the trace stops early)", run.ticks,
                                        run.expectedTicks);
  out.print("<text class=\"title\" x=\"{:.0f}\" y=\"24\">{}</text>\n", kLeft, escaped(title));
  out.print(
      "<text class=\"legend\" x=\"{:.0f}\" y=\"44\">A bar for each run of a process; "
      "pale: arrived and waiting. Context switches: {}, preemptions: {}.</text>\n",
      kLeft, figures.contextSwitches, figures.preemptions);

  // Rows: a stripe on every other one, then the time each process waited.
  for (std::size_t i = 0; i < run.processes.size(); ++i) {
    // Stripes help to follow a row across; thin rows are clearer without them.
    if (i % 2 == 1 && rowHeight >= kMinLabelRow) {
      out.print(
          "<rect class=\"stripe\" x=\"{:.2f}\" y=\"{:.2f}\" width=\"{:.2f}\" "
          "height=\"{:.2f}\"/>\n",
          kLeft, y(i), plotWidth, rowHeight);
    }
    const ProcessRun& p = run.processes[i];
    const std::int64_t from = std::min<std::int64_t>(p.arrival, run.ticks);
    const std::int64_t to = p.completion >= 0 ? p.completion : run.ticks;
    if (to > from) {
      out.print(
          "<rect class=\"wait\" x=\"{:.2f}\" y=\"{:.2f}\" width=\"{:.2f}\" "
          "height=\"{:.2f}\"/>\n",
          x(from), y(i) + rowHeight * 0.25, x(to) - x(from), rowHeight * 0.5);
    }
  }

  // The tick axis, with a grid line at each numbered tick.
  const std::int64_t step = axisStep(tickWidth);
  const double bottom = kTop + plotHeight;
  for (std::int64_t t = 0; t <= run.ticks; t += step) {
    out.print(
        "<line class=\"grid\" x1=\"{0:.2f}\" y1=\"{1:.2f}\" x2=\"{0:.2f}\" y2=\"{2:.2f}\"/>\n"
        "<text class=\"tick\" x=\"{0:.2f}\" y=\"{3:.2f}\">{4}</text>\n",
        x(t), kTop, bottom + 4, bottom + 18, t);
  }
  out.print("<line class=\"axis\" x1=\"{0:.2f}\" y1=\"{1:.2f}\" x2=\"{2:.2f}\" y2=\"{1:.2f}\"/>\n",
            kLeft, bottom, kLeft + plotWidth);
  out.print("<text class=\"tick\" x=\"{:.2f}\" y=\"{:.2f}\">tick</text>\n", kLeft + plotWidth / 2,
            bottom + 36);

  // Row labels: all of them while rows are tall enough, else every few.
  const auto every = static_cast<std::size_t>(std::ceil(kMinLabelRow / rowHeight));
  for (std::size_t i = 0; i < run.processes.size(); i += every) {
    out.print("<text class=\"label\" x=\"{:.2f}\" y=\"{:.2f}\">P{}</text>\n", kLeft - 8,
              y(i) + rowHeight / 2, run.processes[i].id);
  }

  const double gap = rowHeight >= 8 ? 3 : 0;
  for (const Segment& s : run.segments) {
    const auto row = static_cast<std::size_t>(s.id - 1);
    out.print(
        "<rect x=\"{:.2f}\" y=\"{:.2f}\" width=\"{:.2f}\" height=\"{:.2f}\" fill=\"{}\">"
        "<title>P{} runs from tick {} to {}</title></rect>\n",
        x(s.start), y(row) + gap, x(s.end) - x(s.start), rowHeight - 2 * gap, colour(s.id), s.id,
        s.start, s.end);
  }
  out.write("</svg>\n");
}

}  // namespace report
