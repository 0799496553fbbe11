#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <regex>
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
  int status;
};

// Runs the program with `input` on standard input.
Result runProgram(const std::string& input) {
  const std::string base = ::testing::TempDir() + "scheduler_" +
                           ::testing::UnitTest::GetInstance()->current_test_info()->name();
  std::ofstream(base + ".in", std::ios::binary) << input;
  const std::string command =
      std::string("'") + SCHEDULER_PATH + "' < '" + base + ".in' > '" + base + ".out'";
  const int raw = std::system(command.c_str());
  std::ifstream file(base + ".out", std::ios::binary);
  std::stringstream out;
  out << file.rdbuf();
  return {out.str(), WIFEXITED(raw) ? WEXITSTATUS(raw) : -1};
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

// What a run writes after the menu, split into its parts.
struct Parsed {
  std::vector<Values> listed;  // (arrival, burst, id) in listing order
  std::vector<int> running;    // one id per tick
  std::vector<std::vector<int>> ready;
};

Parsed parseRun(const std::string& body) {
  Parsed parsed;
  const std::regex entry(R"(^(\d+) (\d+) (\d+)$)");
  const std::regex tick(R"(^Running Process:(\d+)$)");
  std::istringstream lines(body);
  std::string line;
  std::smatch m;
  while (std::getline(lines, line)) {
    if (std::regex_match(line, m, entry)) {
      parsed.listed.emplace_back(std::stoi(m[1]), std::stoi(m[2]), std::stoi(m[3]));
    } else if (std::regex_match(line, m, tick)) {
      parsed.running.push_back(std::stoi(m[1]));
      parsed.ready.emplace_back();
    } else if (line.rfind("Ready Queue: ", 0) == 0) {
      std::istringstream ids(line.substr(13));
      std::string word;
      while (ids >> word) {
        if (word != "|") parsed.ready.back().push_back(std::stoi(word));
      }
    }
  }
  return parsed;
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
  const Parsed run = parseRun(result.out.substr(start.size()));

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
  const Parsed run = parseRun(result.out);
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
