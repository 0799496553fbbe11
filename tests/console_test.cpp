#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include "console.h"
#include "process_queue.h"
#include "test_support.h"
#include "tick_loop.h"

namespace {

const std::string kMenu = "Enter the no. of processes : 1.SJF\n 2.SRTF\n 3.EXIT\n\n Enter choice";
const std::string kSrtfPrompt = "Enter the arrival time and burst time of each process ";
const std::string kListingHeader = "\nGiven processes with their id";

struct Result {
  std::string out;
  std::string err;
  int status;
};

// Replaces every `{name}` in `text` with `value`.
std::string fill(std::string text, const std::string& name, const std::string& value) {
  const std::string key = "{" + name + "}";
  for (std::size_t at = text.find(key); at != std::string::npos; at = text.find(key, at)) {
    text.replace(at, key.size(), value);
    at += value.size();
  }
  return text;
}

std::string readFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

// Runs the shell command `shell`, where {prog} is the program and {in}, {out}
// and {err} are files: {in} holds `input`, {out} and {err} are read back. The
// files are named after the process and the test, so that several build trees
// can run these tests at the same time.
Result runShell(const std::string& input, const std::string& shell) {
  const std::string base = ::testing::TempDir() + "scheduler_" + std::to_string(getpid()) + "_" +
                           ::testing::UnitTest::GetInstance()->current_test_info()->name();
  const std::string in = base + ".in";
  const std::string out = base + ".out";
  const std::string err = base + ".err";
  std::ofstream(in, std::ios::binary) << input;
  std::remove(out.c_str());
  std::remove(err.c_str());
  std::string command = fill(shell, "prog", std::string("'") + SCHEDULER_PATH + "'");
  command = fill(fill(fill(command, "in", "'" + in + "'"), "out", "'" + out + "'"), "err",
                 "'" + err + "'");
  const int raw = std::system(command.c_str());
  Result result{readFile(out), readFile(err), WIFEXITED(raw) ? WEXITSTATUS(raw) : -1};
  std::remove(in.c_str());
  std::remove(out.c_str());
  std::remove(err.c_str());
  return result;
}

// Runs the program with `input` on standard input.
Result runProgram(const std::string& input) {
  return runShell(input, "{prog} < {in} > {out} 2> {err}");
}

TEST(Console, MenuChoicesThatSimulateNothing) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"5\n3\n", kMenu},
      {"5\n0\n", kMenu + "\n Enter valid choice"},
      {"5\n4\n", kMenu + "\n Enter valid choice"},
      {"5\n-2\n", kMenu + "\n Enter valid choice"},
      // What cannot be read as a number reads as 0, and so does all after it.
      {"abc\n2\n", kMenu + "\n Enter valid choice"},
      {"2.5\n1\n", kMenu + "\n Enter valid choice"},
      {"", kMenu + "\n Enter valid choice"},
      {"3\n", kMenu + "\n Enter valid choice"},
      {"3\nx\n", kMenu + "\n Enter valid choice"},
      {"2147483648\n2\n", kMenu + "\n Enter valid choice"},
      {"4\n99999999999999999999\n", kMenu + "\n Enter valid choice"},
      // A count that is too large only matters when there is something to simulate.
      {"100001\n3\n", kMenu},
      {"100001\n7\n", kMenu + "\n Enter valid choice"},
  };
  for (const auto& [input, expected] : cases) {
    const Result result = runProgram(input);
    EXPECT_EQ(result.out, expected) << "input: " << ::testing::PrintToString(input);
    EXPECT_EQ(result.status, 0) << "input: " << ::testing::PrintToString(input);
  }
}

TEST(Console, CountBeyondTheMaximumIsRefusedWithOneLine) {
  const std::string line =
      "\nToo many processes: at most " + std::to_string(kMaxProcesses) + " can be simulated\n";
  for (const char* mode : {"1", "2"}) {
    const Result result = runProgram(std::to_string(kMaxProcesses + 1) + "\n" + mode + "\n");
    EXPECT_EQ(result.out, kMenu + line) << "mode " << mode;
    EXPECT_EQ(result.status, 0);
  }
  const Result huge = runProgram("2147483647 2");
  EXPECT_EQ(huge.out, kMenu + line);
}

TEST(Console, CountOfExactlyTheMaximumIsSimulated) {
  // The whole run would be hundreds of gigabytes: its first bytes tell enough.
  const std::vector<std::pair<std::string, std::string>> modes = {{"1", ""}, {"2", kSrtfPrompt}};
  for (const auto& [choice, prompt] : modes) {
    const Result result = runShell(std::to_string(kMaxProcesses) + "\n" + choice + "\n",
                                   "{prog} < {in} 2> /dev/null | head -c 4096 > {out}");
    const std::string start = kMenu + prompt + kListingHeader + "\n";
    ASSERT_EQ(result.out.size(), 4096U) << "choice " << choice;
    EXPECT_EQ(result.out.substr(0, start.size()), start) << "choice " << choice;
    EXPECT_EQ(result.out.find("Too many"), std::string::npos) << "choice " << choice;
  }
}

TEST(Console, CountBelowOneListsNothingAndRunsNoTick) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"0\n2\n", kMenu + kSrtfPrompt + kListingHeader + "\n\n"},
      {"-4\n2\n", kMenu + kSrtfPrompt + kListingHeader + "\n\n"},
      {"0\n1\n", kMenu + kListingHeader + "\n\n"},
      {"-2147483648\n1\n", kMenu + kListingHeader + "\n\n"},
  };
  for (const auto& [input, expected] : cases) {
    const Result result = runProgram(input);
    EXPECT_EQ(result.out, expected) << "input: " << ::testing::PrintToString(input);
    EXPECT_EQ(result.status, 0);
  }
}

struct ModeCase {
  const char* choice;
  int maxArrival;
  int maxBurst;
};

// Checks what holds whatever numbers the C library's generator gives.
void checkRandomRun(const ModeCase& mode, int count) {
  SCOPED_TRACE(std::string("choice ") + mode.choice + ", count " + std::to_string(count));
  const Result result = runProgram(std::to_string(count) + "\n" + mode.choice + "\n");
  EXPECT_EQ(result.status, 0);
  const std::string start =
      kMenu + (mode.choice == std::string("2") ? kSrtfPrompt : "") + kListingHeader;
  ASSERT_EQ(result.out.substr(0, start.size()), start);
  const ParsedRun run = parseRun(result.out.substr(start.size()));

  ASSERT_EQ(run.listed.size(), static_cast<std::size_t>(count));
  std::map<int, int> burstOf;
  int total = 0;
  for (int i = 0; i < count; ++i) {
    const auto [arrival, burst, id] = run.listed[static_cast<std::size_t>(i)];
    EXPECT_EQ(id, i + 1);
    EXPECT_GE(arrival, 0);
    EXPECT_LE(arrival, mode.maxArrival);
    EXPECT_GE(burst, 1);
    EXPECT_LE(burst, mode.maxBurst);
    burstOf[id] = burst;
    total += burst;
  }

  ASSERT_EQ(run.running.size(), static_cast<std::size_t>(total));
  std::map<int, int> ranFor;
  for (std::size_t t = 0; t < run.running.size(); ++t) {
    ++ranFor[run.running[t]];
    // Nobody waits behind itself, and every process is either running or listed.
    std::vector<int> everyone = run.ready[t];
    everyone.push_back(run.running[t]);
    std::sort(everyone.begin(), everyone.end());
    EXPECT_TRUE(std::adjacent_find(everyone.begin(), everyone.end()) == everyone.end());
  }
  EXPECT_EQ(ranFor, burstOf);
  if (count == 1) {
    EXPECT_EQ(result.out.find("Ready Queue"), std::string::npos);
  }
}

TEST(Console, RandomWorkloadsRunEveryProcessForItsWholeBurst) {
  for (const ModeCase& mode : {ModeCase{"2", 8, 15}, ModeCase{"1", 0, 10}}) {
    for (int count : {1, 2, 7, 40}) checkRandomRun(mode, count);
  }
}

TEST(Console, ShortestJobFirstRunsEachJobToTheEndShortestFirst) {
  const Result result = runProgram("30\n1\n");
  const ParsedRun run = parseRun(result.out);
  std::map<int, int> burstOf;
  for (const auto& [arrival, burst, id] : run.listed) burstOf[id] = burst;
  // Once a process stops running it has finished, and bursts never go down.
  std::vector<int> order;
  for (int id : run.running) {
    if (order.empty() || order.back() != id) order.push_back(id);
  }
  ASSERT_EQ(order.size(), burstOf.size());
  for (std::size_t i = 1; i < order.size(); ++i) {
    EXPECT_LE(burstOf[order[i - 1]], burstOf[order[i]]);
  }
}

// With the same unseeded generator, this process draws what the program draws,
// so the whole run can be rebuilt here and compared byte for byte.
std::string rebuildRun(int count, bool srtf) {
  std::srand(1);  // the state of a generator that was never seeded
  std::vector<Values> records;
  int ticks = 0;
  for (int i = 0; i < count; ++i) {
    const int first = std::rand();
    const int second = std::rand();
    const int arrival = srtf ? first % 9 : 0;
    const int burst = srtf ? second % 15 + 1 : second % 10 + 1;
    records.emplace_back(arrival, burst, i + 1);
    ticks += burst;
  }
  TestList list(records);
  return captureStdout([&] {
    std::printf("%s%s", kMenu.c_str(), srtf ? kSrtfPrompt.c_str() : "");
    std::printf("%s", kListingHeader.c_str());
    display();
    std::puts("\n");
    sort();
    srtf ? readyRT(ticks) : readyJF(ticks);
  });
}

TEST(Console, WholeRunMatchesTheDrawsOfTheGenerator) {
  for (bool srtf : {true, false}) {
    const Result result = runProgram(srtf ? " +12\n\t2 trailing" : "12\n1\n");
    EXPECT_EQ(result.out, rebuildRun(12, srtf)) << (srtf ? "SRTF" : "SJF");
    EXPECT_EQ(result.status, 0);
  }
}

// Whole runs as the program writes them, byte for byte: a change to the draws,
// their order or the texts shows here without restating how they are made.
TEST(Console, FixedRunsAreWrittenExactly) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      // One process: it arrives at 1 but runs from tick 0, as nothing else can.
      {"1\n2\n",
       "Enter the no. of processes : 1.SJF\n"
       " 2.SRTF\n"
       " 3.EXIT\n\n"
       " Enter choiceEnter the arrival time and burst time of each process \n"
       "Given processes with their id\n"
       "1 2 1\n\n\n"
       "Running Process:1\n\n\n"
       "Running Process:1\n\n\n"},
      // Five jobs, the README's session: 2 and 3 tie and swap places while waiting.
      {"5\n1\n",
       "Enter the no. of processes : 1.SJF\n"
       " 2.SRTF\n"
       " 3.EXIT\n\n"
       " Enter choice\n"
       "Given processes with their id\n"
       "0 7 1\n\n"
       "0 6 2\n\n"
       "0 6 3\n\n"
       "0 3 4\n\n"
       "0 2 5\n\n\n"
       "Running Process:5\n"
       "Ready Queue:  4 | 3 | 2 | 1 |\n\n"
       "Running Process:5\n"
       "Ready Queue:  4 | 2 | 3 | 1 |\n\n"
       "Running Process:4\n"
       "Ready Queue:  3 | 2 | 1 |\n\n"
       "Running Process:4\n"
       "Ready Queue:  2 | 3 | 1 |\n\n"
       "Running Process:4\n"
       "Ready Queue:  3 | 2 | 1 |\n\n"
       "Running Process:2\n"
       "Ready Queue:  3 | 1 |\n\n"
       "Running Process:2\n"
       "Ready Queue:  3 | 1 |\n\n"
       "Running Process:2\n"
       "Ready Queue:  3 | 1 |\n\n"
       "Running Process:2\n"
       "Ready Queue:  3 | 1 |\n\n"
       "Running Process:2\n"
       "Ready Queue:  3 | 1 |\n\n"
       "Running Process:2\n"
       "Ready Queue:  3 | 1 |\n\n"
       "Running Process:3\n"
       "Ready Queue:  1 |\n\n"
       "Running Process:3\n"
       "Ready Queue:  1 |\n\n"
       "Running Process:3\n"
       "Ready Queue:  1 |\n\n"
       "Running Process:3\n"
       "Ready Queue:  1 |\n\n"
       "Running Process:3\n"
       "Ready Queue:  1 |\n\n"
       "Running Process:3\n"
       "Ready Queue:  1 |\n\n"
       "Running Process:1\n\n\n"
       "Running Process:1\n\n\n"
       "Running Process:1\n\n\n"
       "Running Process:1\n\n\n"
       "Running Process:1\n\n\n"
       "Running Process:1\n\n\n"
       "Running Process:1\n\n\n"},
  };
  for (const auto& [input, expected] : cases) {
    const Result result = runProgram(input);
    EXPECT_EQ(result.out, expected) << "input: " << ::testing::PrintToString(input);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.status, 0);
  }
}

// A write that fails stops the run: one line on standard error and status 1.
TEST(Console, WriteErrorsEndTheRunWithOneLineAndStatusOne) {
  struct WriteCase {
    const char* input;
    const char* shell;
    const char* reason;
  };
  // The limit on file size (in blocks) makes a write fail part way: within the
  // listing of 2000 processes, or within the ticks after the listing of 300.
  const char* const limited = "ulimit -f 8; trap '' XFSZ; {prog} < {in} > {out} 2> {err}";
  const std::vector<WriteCase> cases = {
      // The first prompt is flushed before the count is read, so it fails there.
      {"40\n2\n", "{prog} < {in} > /dev/full 2> {err}", "No space left on device"},
      {"5\n3\n", "{prog} < {in} > /dev/full 2> {err}", "No space left on device"},
      {"40\n2\n", "{prog} < {in} >&- 2> {err}", "Bad file descriptor"},
      {"2000\n2\n", limited, "File too large"},
      {"300\n1\n", limited, "File too large"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.shell) + " with input " + ::testing::PrintToString(c.input));
    const Result result = runShell(c.input, c.shell);
    EXPECT_EQ(result.err, std::string("scheduler: write error: ") + c.reason + "\n");
    EXPECT_EQ(result.status, 1);
    // What did get written is the start of the run, and the run goes on past it.
    const std::string start =
        runShell(c.input, "{prog} < {in} 2> /dev/null | head -c " +
                              std::to_string(result.out.size() + 1) + " > {out}")
            .out;
    EXPECT_EQ(start.size(), result.out.size() + 1);
    EXPECT_EQ(result.out, start.substr(0, result.out.size()));
  }
}

struct NumberCase {
  const char* input;
  std::vector<int> values;  // what successive reads give
  bool failed;
};

TEST(ReadNumber, ReadsLikeADecimalConversion) {
  const std::vector<NumberCase> cases = {
      {"42", {42, 0}, true},
      {"  \n\t-17 5", {-17, 5}, false},
      {"+8\n", {8}, false},
      {"2.5", {2, 0, 0}, true},
      {"7abc 9", {7, 0, 0}, true},
      {"abc 9", {0, 0}, true},
      {"", {0}, true},
      {"-", {0}, true},
      {"2147483647 -2147483648", {2147483647, -2147483648}, false},
      {"2147483648 1", {0, 0}, true},
      {"-2147483649 1", {0, 0}, true},
      {"000000000000000000000012", {12}, false},
  };
  for (const auto& c : cases) {
    std::FILE* in = std::tmpfile();
    std::fputs(c.input, in);
    std::rewind(in);
    bool failed = false;
    std::vector<int> got;
    for (std::size_t i = 0; i < c.values.size(); ++i) got.push_back(readNumber(in, failed));
    EXPECT_EQ(got, c.values) << "input: " << ::testing::PrintToString(std::string(c.input));
    EXPECT_EQ(failed, c.failed) << "input: " << ::testing::PrintToString(std::string(c.input));
    std::fclose(in);
  }
}

}  // namespace
