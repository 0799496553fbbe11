#include "report/trace_reader.h"

#include <fmt/format.h>

#include <cerrno>
#include <cstring>
#include <limits>
#include <system_error>

#include "trace_format.h"

namespace report {

namespace {

using std::string_view;

constexpr string_view kEntrySeparator = trace::kReadyEntryBefore;
constexpr string_view kEntryEnd = trace::kReadyEntryAfter;
constexpr std::size_t kWidestId = 10;  // digits of the largest 32-bit id

// The fixed start of the refusal of a count that is too large.
string_view tooManyText() {
  const string_view format = trace::kTooManyFormat;
  return format.substr(1, format.find('%') - 1);
}

string_view withoutLineBreaks(string_view text) {
  while (!text.empty() && text.front() == '\n') text.remove_prefix(1);
  while (!text.empty() && text.back() == '\n') text.remove_suffix(1);
  return text;
}

bool startsWith(string_view text, string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Digits from the input, shortened when there are very many.
std::string shownNumber(string_view digits) {
  constexpr std::size_t kShown = 20;
  return digits.size() <= kShown ? std::string(digits)
                                 : std::string(digits.substr(0, kShown)) + "...";
}

// Reads a decimal number that must fit a signed 32-bit integer: an optional
// minus sign, then digits. Advances `at` past it. `tooLarge` tells a number
// that is well formed but out of range.
bool readInt(string_view text, std::size_t& at, std::int64_t& value, bool& tooLarge) {
  std::size_t i = at;
  const bool negative = i < text.size() && text[i] == '-';
  if (negative) ++i;
  const std::size_t digitsStart = i;
  // Past the limit the value only has to stay known to be out of range.
  constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<int>::max()} + 1;
  std::int64_t magnitude = 0;
  for (; i < text.size() && isDigit(text[i]); ++i) {
    if (magnitude <= kLimit) magnitude = magnitude * 10 + (text[i] - '0');
  }
  // Plain decimal only, as the simulator writes it: no leading zero, no "-0".
  if (i == digitsStart || (text[digitsStart] == '0' && (i - digitsStart > 1 || negative))) {
    return false;
  }
  value = negative ? -magnitude : magnitude;
  tooLarge = value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min();
  at = i;
  return true;
}

}  // namespace

std::string quoted(string_view text) {
  constexpr std::size_t kShown = 40;
  std::string out = "\"";
  for (std::size_t i = 0; i < text.size() && i < kShown; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c >= 0x20 && c < 0x7f) {
      out += static_cast<char>(c);
    } else {
      out += fmt::format("\\x{:02x}", c);
    }
  }
  out += text.size() > kShown ? "\"..." : "\"";
  return out;
}

void TraceReader::fail(const std::string& message) const { throw TraceError(lineNumber_, message); }

// A line longer than any the simulator writes at this point is refused as
// soon as it is seen, so that a broken input cannot fill memory.
std::size_t TraceReader::longestLine() const {
  constexpr std::size_t kFixed = 1 << 16;
  if (expect_ == Expect::kReadyOrEmpty) {
    // " <id> |" for every process, ids at most 10 digits.
    return kFixed + 13 * run_.processes.size();
  }
  return kFixed;
}

void TraceReader::feed(string_view bytes) {
  while (!bytes.empty()) {
    const void* found = std::memchr(bytes.data(), '\n', bytes.size());
    if (found == nullptr) {
      carry_.append(bytes);
      if (carry_.size() > longestLine()) {
        ++lineNumber_;
        fail(fmt::format("line is too long ({} bytes and no line break)", carry_.size()));
      }
      return;
    }
    const auto length = static_cast<std::size_t>(static_cast<const char*>(found) - bytes.data());
    if (carry_.empty()) {
      line(bytes.substr(0, length));
    } else {
      carry_.append(bytes.substr(0, length));
      line(carry_);
      carry_.clear();
    }
    bytes.remove_prefix(length + 1);
  }
}

void TraceReader::line(string_view text) {
  ++lineNumber_;
  anyInput_ = true;
  if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
  switch (expect_) {
    case Expect::kPreamble:
      preambleLine(text);
      return;
    case Expect::kListingEntryOrEnd:
      if (text.empty()) {
        endOfListing();
      } else {
        listingEntry(text);
        expect_ = Expect::kListingGap;
      }
      return;
    case Expect::kListingGap:
      if (!text.empty()) {
        fail(fmt::format("expected an empty line after a listed process, found {}", quoted(text)));
      }
      expect_ = Expect::kListingEntryOrEnd;
      return;
    case Expect::kRunning:
      runningLine(text);
      return;
    case Expect::kReadyOrEmpty:
      if (othersLeft_ > 0) {
        readyLine(text);
      } else if (!text.empty()) {
        fail(fmt::format("expected an empty line: no process but {} has work left, found {}",
                         running_, quoted(text)));
      }
      expect_ = Expect::kEmptyEndingTick;
      return;
    case Expect::kEmptyEndingTick:
      if (!text.empty()) {
        fail(fmt::format("expected the empty line that ends tick {}, found {}", run_.ticks - 1,
                         quoted(text)));
      }
      endOfTick();
      return;
    case Expect::kEnd:
      fail(
          fmt::format("expected the end of the trace after its last tick, found {}", quoted(text)));
  }
}

// Before the listing a run writes its prompts and menu, always the same lines:
// the count's prompt with the menu's first entry, the other entries, an empty
// line, then the choice's prompt. For shortest remaining time first the
// choice's line goes on with that policy's own prompt.
void TraceReader::preambleLine(string_view text) {
  const std::vector<std::string>& prompts = promptLines();
  const std::size_t choiceLine = prompts.size() - 1;
  const string_view header = withoutLineBreaks(trace::kListingHeader);
  if (promptsSeen_ == 0 && text == header) {  // a trace that starts at the listing
    run_.policy = Policy::kUnknown;
    expect_ = Expect::kListingEntryOrEnd;
    return;
  }
  if (promptsSeen_ == 0 && text.empty() && lineNumber_ == 1) return;  // the header's break
  if (promptsSeen_ < choiceLine) {
    if (promptsSeen_ == 0 && lineNumber_ > 1) {  // after the header's break
      fail(fmt::format("expected the listing {}, found {}", quoted(header), quoted(text)));
    }
    if (text != prompts[promptsSeen_]) {
      fail(fmt::format("expected {}{}, found {}", quoted(prompts[promptsSeen_]),
                       promptsSeen_ == 0 ? fmt::format(" or the listing {}", quoted(header)) : "",
                       quoted(text)));
    }
  } else if (promptsSeen_ == choiceLine) {
    const std::string srtf = prompts[choiceLine] + trace::kSrtfPrompt;
    if (text != prompts[choiceLine] && text != srtf) {
      fail(fmt::format("expected {} or {}, found {}", quoted(prompts[choiceLine]), quoted(srtf),
                       quoted(text)));
    }
    run_.policy = text == srtf ? Policy::kSrtf : Policy::kSjf;
  } else if (promptsSeen_ == choiceLine + 1) {
    if (text == header) {
      expect_ = Expect::kListingEntryOrEnd;
      return;
    }
    if (run_.policy == Policy::kSrtf || !startsWith(text, tooManyText())) {
      fail(fmt::format("expected the listing {}, found {}", quoted(header), quoted(text)));
    }
  } else {
    fail(fmt::format("expected the end of the trace after the refused count, found {}",
                     quoted(text)));
  }
  ++promptsSeen_;
}

const std::vector<std::string>& TraceReader::promptLines() {
  static const std::vector<std::string> lines = [] {
    std::vector<std::string> out;
    const std::string text =
        std::string(trace::kCountPrompt) + trace::kMenu + "\n" + trace::kChoicePrompt;
    std::size_t from = 0;
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', from)) {
      out.push_back(text.substr(from, at - from));
      from = at + 1;
    }
    out.push_back(text.substr(from));
    return out;
  }();
  return lines;
}

// Why a trace that stops before its listing has no simulation; `partial` is
// its last line if that has no line break.
std::string TraceReader::noSimulation(string_view partial) const {
  const std::vector<std::string>& prompts = promptLines();
  const std::size_t choiceLine = prompts.size() - 1;
  const string_view invalid = withoutLineBreaks(trace::kInvalidChoice);
  if (promptsSeen_ == choiceLine && partial == prompts[choiceLine]) {
    return "the run ended at the menu (EXIT)";
  }
  if (promptsSeen_ == choiceLine + 1 && run_.policy == Policy::kSjf && partial == invalid) {
    return "the run ended at an invalid menu choice";
  }
  if (promptsSeen_ == choiceLine + 2 && partial.empty()) {
    return "the run refused the process count as too large";
  }
  // Anything else must be the start of a line the run could write next.
  bool fits = false;
  if (promptsSeen_ < choiceLine) {
    fits = startsWith(prompts[promptsSeen_], partial) ||
           (promptsSeen_ == 0 && startsWith(withoutLineBreaks(trace::kListingHeader), partial));
  } else if (promptsSeen_ == choiceLine) {
    fits = startsWith(prompts[choiceLine] + trace::kSrtfPrompt, partial);
  } else if (promptsSeen_ == choiceLine + 1) {
    fits = startsWith(withoutLineBreaks(trace::kListingHeader), partial) ||
           (run_.policy == Policy::kSjf &&
            (startsWith(invalid, partial) || startsWith(partial, tooManyText()) ||
             startsWith(tooManyText(), partial)));
  } else {
    fits = partial.empty();
  }
  if (!fits) {
    throw TraceError(lineNumber_ + 1, fmt::format("the trace ends inside a line that does not "
                                                  "fit it: {}",
                                                  quoted(partial)));
  }
  return "the trace stops before the listing of processes";
}

void TraceReader::listingEntry(string_view text) {
  const auto malformed = [this, text] {
    fail(fmt::format("expected a listed process \"<arrival> <burst> <id>\", found {}",
                     quoted(text)));
  };
  std::int64_t values[3] = {};
  std::size_t at = 0;
  for (std::int64_t& value : values) {
    if (at > 0) {
      if (at >= text.size() || text[at] != ' ') malformed();
      ++at;
    }
    bool tooLarge = false;
    if (!readInt(text, at, value, tooLarge)) malformed();
    if (tooLarge) fail(fmt::format("number out of the 32-bit range in {}", quoted(text)));
  }
  if (at != text.size()) malformed();
  const auto expectedId = static_cast<std::int64_t>(run_.processes.size()) + 1;
  if (values[2] != expectedId) {
    fail(fmt::format("expected process {} to be listed next, found id {}", expectedId, values[2]));
  }
  if (values[0] < 0)
    fail(fmt::format("process {} has a negative arrival {}", values[2], values[0]));
  if (values[1] < 1)
    fail(fmt::format("process {} has a burst of {}, below 1", values[2], values[1]));
  ProcessRun process;
  process.id = static_cast<int>(values[2]);
  process.arrival = static_cast<int>(values[0]);
  process.burst = static_cast<int>(values[1]);
  process.remaining = process.burst;
  run_.processes.push_back(process);
  run_.expectedTicks += process.burst;
}

void TraceReader::endOfListing() {
  unfinished_ = static_cast<std::int64_t>(run_.processes.size());
  namedAt_.assign(run_.processes.size(), -1);
  expect_ = run_.expectedTicks == 0 ? Expect::kEnd : Expect::kRunning;
}

void TraceReader::runningLine(string_view text) {
  const string_view prefix = trace::kRunning;
  std::size_t at = prefix.size();
  std::int64_t id = 0;
  bool tooLarge = false;
  if (!startsWith(text, prefix) || at >= text.size() || !isDigit(text[at]) ||
      !readInt(text, at, id, tooLarge) || at != text.size()) {
    fail(
        fmt::format("expected \"{}<id>\" for tick {}, found {}", prefix, run_.ticks, quoted(text)));
  }
  if (tooLarge || id < 1 || id > static_cast<std::int64_t>(run_.processes.size())) {
    fail(fmt::format("tick {} runs process {}, which is not listed", run_.ticks,
                     shownNumber(text.substr(prefix.size()))));
  }
  ProcessRun& process = run_.processes[static_cast<std::size_t>(id - 1)];
  if (process.remaining == 0) {
    fail(fmt::format("tick {} runs process {}, which has no work left (its burst of {} is used up)",
                     run_.ticks, id, process.burst));
  }

  const std::int64_t tick = run_.ticks++;
  if (process.firstRun < 0) process.firstRun = tick;
  if (!run_.segments.empty() && run_.segments.back().id == process.id) {
    run_.segments.back().end = tick + 1;
  } else {
    run_.segments.push_back(Segment{process.id, tick, tick + 1});
  }
  othersLeft_ = unfinished_ - 1;
  std::int64_t& named = namedAt_[static_cast<std::size_t>(id - 1)];
  named = tick;
  if (--process.remaining == 0) {
    process.completion = tick + 1;
    --unfinished_;
    named = kNever;
  }
  running_ = process.id;
  expect_ = Expect::kReadyOrEmpty;
}

// " <id> |" once for every other process with work left, in any order.
void TraceReader::readyLine(string_view text) {
  const string_view prefix = trace::kReadyQueue;
  if (!startsWith(text, prefix)) {
    fail(
        fmt::format("expected the ready queue \"{}...\" ({} other processes have work left), "
                    "found {}",
                    prefix, othersLeft_, quoted(text)));
  }
  const std::int64_t tick = run_.ticks - 1;
  const std::uint64_t processes = run_.processes.size();
  const char* p = text.data() + prefix.size();
  const char* const end = text.data() + text.size();
  const auto malformed = [this, end](const char* entry) {
    fail(fmt::format("expected \" <id> |\" in the ready queue, found {}",
                     quoted(string_view(entry, static_cast<std::size_t>(end - entry)))));
  };
  // A line is always followed in memory by a byte that is none of ' ', '|'
  // or a digit (its line break, carriage return, or a string's final nul), so
  // the scan may look one byte past the text and needs no test of its end in
  // the inner steps (only for speed).
  std::int64_t listed = 0;
  while (p != end) {
    const char* const entry = p;
    if (p[0] != kEntrySeparator[0] || p[1] < '1' || p[1] > '9') malformed(entry);
    const char* const digits = ++p;
    std::uint64_t id = 0;  // wraps harmlessly for absurdly long numbers, refused below
    for (unsigned d = 0; (d = static_cast<unsigned char>(*p) - unsigned{'0'}) <= 9; ++p) {
      id = id * 10 + d;
    }
    const auto length = static_cast<std::size_t>(p - digits);
    if (p[0] != kEntryEnd[0] || p[1] != kEntryEnd[1]) malformed(entry);
    p += 2;
    if (length > kWidestId || id < 1 || id > processes) {
      fail(fmt::format("the ready queue lists process {}, which is not listed",
                       shownNumber(string_view(digits, length))));
    }
    std::int64_t& seen = namedAt_[id - 1];
    if (seen >= tick) wrongReadyEntry(static_cast<std::int64_t>(id));
    seen = tick;
    ++listed;
  }
  if (listed != othersLeft_) {
    fail(fmt::format("the ready queue lists {} processes, but {} other processes have work left",
                     listed, othersLeft_));
  }
}

// Why process `id` may not stand in this tick's ready queue.
void TraceReader::wrongReadyEntry(std::int64_t id) const {
  if (id == running_) fail(fmt::format("the ready queue lists process {}, which is running", id));
  if (run_.processes[static_cast<std::size_t>(id - 1)].remaining == 0) {
    fail(fmt::format("the ready queue lists process {}, which has finished", id));
  }
  fail(fmt::format("the ready queue lists process {} twice", id));
}

void TraceReader::endOfTick() {
  expect_ = run_.ticks == run_.expectedTicks ? Expect::kEnd : Expect::kRunning;
}

// The last piece of input, when it has no line break: a cut trace may stop in
// the middle of a line, but what is there must still fit the line expected.
void TraceReader::checkPartialLine(string_view text) const {
  if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
  const auto fits = [&text](string_view fixed, string_view rest) {
    const std::size_t shared = std::min(text.size(), fixed.size());
    if (text.substr(0, shared) != fixed.substr(0, shared)) return false;
    return text.size() <= fixed.size() ||
           text.find_first_not_of(rest, fixed.size()) == string_view::npos;
  };
  bool ok = true;
  switch (expect_) {
    case Expect::kPreamble:
      return;  // judged with the rest of the prompts
    case Expect::kListingEntryOrEnd:
      ok = fits("", "-0123456789 ");
      break;
    case Expect::kRunning:
      ok = fits(trace::kRunning, "0123456789");
      break;
    case Expect::kReadyOrEmpty:
      ok = othersLeft_ > 0 ? fits(trace::kReadyQueue, " 0123456789|") : text.empty();
      break;
    case Expect::kListingGap:
    case Expect::kEmptyEndingTick:
    case Expect::kEnd:
      ok = text.empty();
      break;
  }
  if (!ok) {
    throw TraceError(
        lineNumber_ + 1,
        fmt::format("the trace ends inside a line that does not fit it: {}", quoted(text)));
  }
}

RunSummary TraceReader::finish() {
  if (finished_) throw std::logic_error("TraceReader::finish called twice");
  finished_ = true;
  checkPartialLine(carry_);
  if (!carry_.empty()) anyInput_ = true;

  if (expect_ == Expect::kPreamble) {
    if (!anyInput_) throw TraceError(0, "the input is empty: there is no trace to report");
    string_view partial = carry_;
    if (!partial.empty() && partial.back() == '\r') partial.remove_suffix(1);
    throw TraceError(0, fmt::format("no simulation in this trace: {}", noSimulation(partial)));
  }
  if (expect_ == Expect::kListingEntryOrEnd || expect_ == Expect::kListingGap) {
    // Stopped inside the listing: the processes so far, and no tick.
    run_.listingComplete = false;
  }
  return std::move(run_);
}

RunSummary readTrace(std::FILE* in) {
  TraceReader reader;
  std::vector<char> buffer(std::size_t{1} << 20);
  for (;;) {
    const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), in);
    if (got > 0) reader.feed(string_view(buffer.data(), got));
    if (got < buffer.size()) {
      if (std::ferror(in) != 0) {
        throw std::system_error(errno, std::generic_category());
      }
      if (std::feof(in) != 0) break;
    }
  }
  return reader.finish();
}

}  // namespace report
