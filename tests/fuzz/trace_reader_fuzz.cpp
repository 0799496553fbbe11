// Feeds arbitrary bytes to the trace reader, in two pieces split where the
// input says, and renders every format of whatever it accepts. Only a
// TraceError may come out of a bad trace.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "report/metrics.h"
#include "report/render.h"
#include "report/trace_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::size_t split = size > 0 ? data[0] % (size + 1) : 0;
  report::RunSummary run;
  try {
    report::TraceReader reader;
    reader.feed(bytes.substr(0, split));
    reader.feed(bytes.substr(split));
    run = reader.finish();
  } catch (const report::TraceError&) {
    return 0;
  }
  const report::Figures figures = report::computeFigures(run);
  report::Output out;
  report::renderText(out, run, figures, {20 + static_cast<int>(split % 100), true});
  report::renderCsv(out, figures);
  report::renderJson(out, run, figures);
  report::renderSvg(out, run, figures);
  return 0;
}
