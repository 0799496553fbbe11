// Reading a run's trace back: what it gives, and what it refuses.
#include <gtest/gtest.h>

#include "report/trace_reader.h"
#include "report_support.h"

namespace {

using report::Policy;
using report::RunSummary;
using report::TraceError;
using report::TraceReader;

RunSummary read(const std::string& text) {
  TraceReader reader;
  reader.feed(text);
  return reader.finish();
}

// Ticks that run each process, as (id, start, end) triples.
std::vector<std::tuple<int, std::int64_t, std::int64_t>> segmentsOf(const RunSummary& run) {
  std::vector<std::tuple<int, std::int64_t, std::int64_t>> out;
  for (const auto& s : run.segments) out.emplace_back(s.id, s.start, s.end);
  return out;
}

// The same text with Windows line endings.
std::string withCrLf(const std::string& text) {
  std::string out;
  for (char c : text) out += c == '\n' ? std::string("\r\n") : std::string(1, c);
  return out;
}

const std::vector<Values> kWorked = {{2, 3, 1}, {0, 4, 2}, {1, 1, 3}};

TEST(TraceReader, ReadsTheListingAndEveryTick) {
  const RunSummary run = read(traceOf(kWorked));
  EXPECT_EQ(run.policy, Policy::kSrtf);
  EXPECT_TRUE(run.complete());
  EXPECT_EQ(run.ticks, 8);
  ASSERT_EQ(run.processes.size(), 3u);
  EXPECT_EQ(run.processes[0].arrival, 2);
  EXPECT_EQ(run.processes[0].burst, 3);
  EXPECT_EQ(run.processes[1].firstRun, 0);
  EXPECT_EQ(run.processes[1].completion, 8);
  EXPECT_EQ(run.processes[2].completion, 2);
  using S = std::tuple<int, std::int64_t, std::int64_t>;
  EXPECT_EQ(segmentsOf(run), (std::vector<S>{{2, 0, 1}, {3, 1, 2}, {1, 2, 5}, {2, 5, 8}}));
}

TEST(TraceReader, PolicyComesFromThePrompts) {
  const std::string srtf = traceOf(kWorked, true);
  const std::string sjf = traceOf({{0, 2, 1}, {0, 1, 2}}, false);
  const std::string listing = "Given processes with their id";
  EXPECT_EQ(read(srtf).policy, Policy::kSrtf);
  EXPECT_EQ(read(sjf).policy, Policy::kSjf);
  // A trace that starts at the listing, with or without the line break before it.
  EXPECT_EQ(read(srtf.substr(srtf.find(listing))).policy, Policy::kUnknown);
  EXPECT_EQ(read(sjf.substr(sjf.find(listing) - 1)).policy, Policy::kUnknown);
}

TEST(TraceReader, WhereThePiecesBreakChangesNothing) {
  const std::string text = traceOf({{0, 2, 1}, {0, 2, 2}, {0, 2, 3}, {1, 3, 4}});
  const RunSummary whole = read(text);
  for (std::size_t piece : {1u, 2u, 3u, 7u, 64u}) {
    TraceReader reader;
    for (std::size_t at = 0; at < text.size(); at += piece) reader.feed(text.substr(at, piece));
    const RunSummary run = reader.finish();
    EXPECT_EQ(segmentsOf(run), segmentsOf(whole)) << "pieces of " << piece;
    EXPECT_TRUE(run.complete());
  }
}

TEST(TraceReader, WindowsLineEndingsReadLikeUnixOnes) {
  std::string text = traceOf(kWorked);
  const std::string crlf = withCrLf(text);
  EXPECT_EQ(segmentsOf(read(crlf)), segmentsOf(read(text)));
  EXPECT_TRUE(read(crlf).complete());
}

TEST(TraceReader, NoProcessesIsAnEmptyRun) {
  const RunSummary run = read(std::string(trace::kCountPrompt) + trace::kMenu + "\n" +
                              trace::kChoicePrompt + trace::kListingHeader + "\n\n");
  EXPECT_TRUE(run.complete());
  EXPECT_TRUE(run.processes.empty());
  EXPECT_EQ(run.ticks, 0);
}

TEST(TraceReader, ATraceThatStopsEarlyKeepsWhatItSaw) {
  const std::string text = traceOf(kWorked);
  // Cut inside tick 3's running line: ticks 0 to 2 count, the partial line not.
  const std::size_t cut = text.find("Running Process:1", text.find("Running Process:1") + 1) + 10;
  const RunSummary run = read(text.substr(0, cut));
  EXPECT_FALSE(run.complete());
  EXPECT_EQ(run.ticks, 3);
  EXPECT_EQ(run.expectedTicks, 8);
  EXPECT_EQ(run.processes[2].completion, 2);
  EXPECT_EQ(run.processes[0].completion, -1);

  // Cut inside the listing: the processes listed so far, no tick.
  const RunSummary listing = read(text.substr(0, text.find("0 4 2") + 3));
  EXPECT_FALSE(listing.listingComplete);
  EXPECT_EQ(listing.processes.size(), 1u);
}

// A trace cut anywhere is still what the simulator wrote, as far as it goes:
// it reads as a run that stops early, or, cut before the listing, as one
// with no simulation; never as a broken line.
TEST(TraceReader, EveryCutOfARealTraceIsAcceptedAsFarAsItGoes) {
  const std::string menu = std::string(trace::kCountPrompt) + trace::kMenu + "\n";
  const std::vector<std::string> traces = {
      traceOf(kWorked), traceOf({{0, 2, 1}, {0, 1, 2}}, false),
      menu + trace::kChoicePrompt + trace::kInvalidChoice,
      menu + trace::kChoicePrompt + "\nToo many processes: at most 100000 can be simulated\n"};
  for (const std::string& whole : traces) {
    for (const std::string& text : {whole, withCrLf(whole)}) {
      for (std::size_t cut = 0; cut <= text.size(); ++cut) {
        try {
          read(text.substr(0, cut));
        } catch (const TraceError& e) {
          EXPECT_EQ(e.line(), 0) << "cut at " << cut << ": " << e.what();
        }
      }
    }
  }
}

struct BadTrace {
  std::string name;
  std::string text;
  std::int64_t line;    // the line the message names; 0 for none
  std::string message;  // a part of the message
};

// Replaces the first `from` in `text`, after `after`.
std::string edited(std::string text, const std::string& from, const std::string& to,
                   const std::string& after = "") {
  const std::size_t at = text.find(from, text.find(after));
  EXPECT_NE(at, std::string::npos) << from;
  return text.replace(at, from.size(), to);
}

TEST(TraceReader, RefusesWhatTheSimulatorNeverWrites) {
  // Lines: 1-4 prompts and menu, 5 the SRTF prompt, 6 the listing header,
  // 7-11 the listing, 12 and 13 its end, ticks from line 14 (three lines each).
  const std::string good = traceOf(kWorked);
  const std::string menu = std::string(trace::kCountPrompt) + trace::kMenu + "\n";
  const std::vector<BadTrace> cases = {
      {"empty", "", 0, "the input is empty"},
      {"exit", menu + trace::kChoicePrompt, 0, "ended at the menu (EXIT)"},
      {"invalid", menu + trace::kChoicePrompt + trace::kInvalidChoice, 0, "invalid menu choice"},
      {"too many",
       menu + trace::kChoicePrompt + "\nToo many processes: at most 100000 can be simulated\n", 0,
       "too large"},
      {"not a trace", "hello\n", 1, "expected \"Enter the no. of processes : 1.SJF\""},
      {"menu line changed", edited(good, " 2.SRTF\n", " 2.SRTF!\n"), 2, "expected \" 2.SRTF\""},
      {"menu lines left out", edited(good, " 2.SRTF\n 3.EXIT\n\n", ""), 2, "expected \" 2.SRTF\""},
      {"a line before the listing", edited(good, "process \nGiven", "process \nhello\nGiven"), 6,
       "expected the listing"},
      {"listing header changed", edited(good, "with their id", "with their ID"), 6,
       "expected the listing"},
      {"first line changed", edited(good, "1.SJF", "1.SJFxyz"), 1, "or the listing"},
      {"leading zero in the listing", edited(good, "0 4 2", "0 04 2"), 9,
       "expected a listed process"},
      {"minus zero in the listing", edited(good, "0 4 2", "-0 4 2"), 9,
       "expected a listed process"},
      {"leading zero in a running id", edited(good, "Running Process:2", "Running Process:02"), 14,
       "Running Process:<id>"},
      {"leading zero in the ready queue",
       edited(good, "Ready Queue:  3 | 1 |", "Ready Queue:  03 | 1 |"), 15, "\" <id> |\""},
      {"ids out of order", edited(good, "0 4 2", "0 4 3"), 9, "expected process 2"},
      {"negative arrival", edited(good, "0 4 2", "-1 4 2"), 9, "negative arrival"},
      {"zero burst", edited(good, "0 4 2", "0 0 2"), 9, "burst of 0"},
      {"beyond 32 bits", edited(good, "0 4 2", "4294967296 4 2"), 9, "32-bit"},
      {"listing gap", edited(good, "2 3 1\n\n", "2 3 1\nx\n"), 8, "empty line"},
      {"unlisted process", edited(good, "Running Process:2", "Running Process:4"), 14,
       "not listed"},
      {"huge id", edited(good, "Running Process:2", "Running Process:99999999999"), 14,
       "not listed"},
      {"finished process runs", edited(good, "Running Process:1", "Running Process:3", "Process:3"),
       20, "no work left"},
      {"no ready queue", edited(good, "Ready Queue:  3 | 1 |", ""), 15, "expected the ready queue"},
      {"ready queue missing one", edited(good, "Ready Queue:  3 | 1 |", "Ready Queue:  3 |"), 15,
       "lists 1 processes, but 2"},
      {"ready queue twice", edited(good, "Ready Queue:  3 | 1 |", "Ready Queue:  3 | 3 |"), 15,
       "process 3 twice"},
      {"ready queue lists the runner",
       edited(good, "Ready Queue:  3 | 1 |", "Ready Queue:  2 | 1 |"), 15, "which is running"},
      {"ready queue lists a finished one",
       edited(good, "Ready Queue:  2 |", "Ready Queue:  3 |", "Running Process:1"), 21,
       "which has finished"},
      {"ready queue malformed", edited(good, "Ready Queue:  3 | 1 |", "Ready Queue:  3 |1 |"), 15,
       "\" <id> |\""},
      {"ready queue ends in a number", edited(good, "Ready Queue:  3 | 1 |", "Ready Queue:  3 | 1"),
       15, "\" <id> |\""},
      {"ready queue id of many digits",
       edited(good, "Ready Queue:  3 | 1 |", "Ready Queue:  3 | 100000000000000000001 |"), 15,
       "lists process 10000000000000000000..., which is not listed"},
      {"ready queue where none belongs", good.substr(0, good.size() - 2) + "Ready Queue:  1 |\n\n",
       36, "expected an empty line"},
      {"running line changed", edited(good, "Running Process:2", "Running process:2"), 14,
       "Running Process:<id>"},
      {"more after the end", good + "Running Process:1\n", 38, "end of the trace"},
      {"cut inside a line that does not fit",
       good.substr(0, good.find("Running Process:3")) + "Runx", 17, "does not fit"},
  };
  for (const BadTrace& c : cases) {
    try {
      read(c.text);
      ADD_FAILURE() << c.name << ": accepted";
    } catch (const TraceError& e) {
      EXPECT_EQ(e.line(), c.line) << c.name << ": " << e.what();
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos)
          << c.name << ": " << e.what();
    }
  }
}

TEST(TraceReader, QuotesInputSafelyInMessages) {
  EXPECT_EQ(report::quoted("a\x1b[2J\"b\\"), "\"a\\x1b[2J\\\"b\\\\\"");
  EXPECT_EQ(report::quoted(std::string(50, 'x')), "\"" + std::string(40, 'x') + "\"...");
}

}  // namespace
