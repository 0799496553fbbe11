#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <map>
#include <random>

#include <limits>

#include "process_queue.h"
#include "test_support.h"
#include "tick_loop.h"
#include "write_error.h"

namespace {

// The bytes of one tick: the running process, the ids behind it, two breaks.
std::string tickText(int running, const std::vector<int>& ready) {
  std::string out = "Running Process:" + std::to_string(running) + "\n";
  if (!ready.empty()) {
    out += "Ready Queue: ";
    for (int id : ready) out += " " + std::to_string(id) + " |";
  }
  return out + "\n\n";
}

struct TickRun {
  std::vector<Values> records;  // in creation order
  int ticks;
  std::vector<int> running;             // id that runs, tick by tick
  std::vector<std::vector<int>> ready;  // ids behind it, tick by tick
};

std::string expectedText(const TickRun& run) {
  std::string out;
  for (std::size_t t = 0; t < run.running.size(); ++t)
    out += tickText(run.running[t], run.ready[t]);
  return out;
}

// Orders once, as the program does before the first tick, then runs the loop.
std::string simulate(const TickRun& run, void (*loop)(int)) {
  TestList list(run.records);
  sort();
  return captureStdout([&] { loop(run.ticks); });
}

const std::vector<TickRun>& workedRuns() {
  static const std::vector<TickRun> runs = {
      {{{2, 3, 1}, {0, 4, 2}, {1, 1, 3}},
       8,
       {2, 3, 1, 1, 1, 2, 2, 2},
       {{3, 1}, {2, 1}, {2}, {2}, {2}, {}, {}, {}}},
      {{{0, 3, 1}, {0, 1, 2}, {0, 2, 3}}, 6, {2, 3, 3, 1, 1, 1}, {{3, 1}, {1}, {1}, {}, {}, {}}},
      {{{0, 2, 1}, {0, 2, 2}, {0, 2, 3}},
       6,
       {3, 3, 1, 1, 2, 2},
       {{1, 2}, {2, 1}, {2}, {2}, {}, {}}},
      {{{0, 2, 1}, {0, 2, 2}}, 4, {1, 1, 2, 2}, {{2}, {2}, {}, {}}},
      {{{3, 1, 1}, {3, 1, 2}}, 2, {1, 2}, {{2}, {}}},
      // Runs although it has not arrived yet: there are no idle ticks.
      {{{5, 2, 1}}, 2, {1, 1}, {{}, {}}},
      {{{2, 3, 1}, {0, 4, 2}}, 0, {}, {}},
  };
  return runs;
}

TEST(TickLoop, WorkedRunsPrintTheExpectedTicks) {
  for (const auto& run : workedRuns()) {
    EXPECT_EQ(simulate(run, readyRT), expectedText(run)) << "ticks " << run.ticks;
    EXPECT_EQ(simulate(run, readyJF), expectedText(run)) << "ticks " << run.ticks;
  }
}

TEST(TickLoop, OneTickIsExactBytes) {
  TestList list({{2, 3, 1}, {0, 4, 2}, {1, 1, 3}});
  sort();
  EXPECT_EQ(captureStdout([] { readyRT(1); }), "Running Process:2\nReady Queue:  3 | 1 |\n\n");
}

TEST(TickLoop, IdsOfEveryWidthAreWrittenInFull) {
  // Ids far from 1..n, negative or the widest ints, as well as ordinary ones.
  TestList list({{0, 1, std::numeric_limits<int>::min()},
                 {0, 2, std::numeric_limits<int>::max()},
                 {0, 3, 0},
                 {0, 4, -7},
                 {0, 5, 123456789},
                 {0, 6, 3}});
  sort();
  std::vector<int> order;
  for (const auto& record : TestList::contents()) order.push_back(std::get<2>(record));
  const std::string text = captureStdout([] { readyRT(1); });
  EXPECT_EQ(text, tickText(order[0], std::vector<int>(order.begin() + 1, order.end())));
}

TEST(TickLoop, EveryProcessFinishesAfterItsWholeBurst) {
  TestList list({{2, 3, 1}, {0, 4, 2}, {1, 1, 3}});
  sort();
  captureStdout([] { readyRT(8); });
  for (const auto& [arrival, burst, id] : TestList::contents()) {
    EXPECT_EQ(burst, 0) << "process " << id;
  }
}

TEST(TickLoop, NoTicksLeaveTheQueueUnchanged) {
  TestList list({{2, 3, 1}, {0, 4, 2}});
  const auto before = TestList::contents();
  EXPECT_EQ(captureStdout([] { readyRT(0); }), "");
  EXPECT_EQ(captureStdout([] { readyJF(-3); }), "");
  EXPECT_EQ(TestList::contents(), before);
}

TEST(TickLoop, StopsOnceEveryProcessHasFinished) {
  // Five ticks asked for, three units of work: the last two write nothing.
  const TickRun run{{{0, 2, 1}, {0, 1, 2}}, 5, {2, 1, 1}, {{1}, {}, {}}};
  EXPECT_EQ(simulate(run, readyJF), expectedText(run));

  TestList empty({});
  EXPECT_EQ(captureStdout([] { readyRT(4); }), "");
}

// Shortest remaining time first, on random workloads: at every tick where some
// unfinished process has arrived, the one that runs is among them and has the
// least time left of them all.
TEST(TickLoop, RunningProcessHasTheLeastRemainingTimeOfThoseArrived) {
  std::mt19937 random(31);
  const auto draw = [&random](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  for (int trial = 0; trial < 150; ++trial) {
    const int count = draw(1, 25);
    std::vector<Values> records;
    std::map<int, int> arrival;
    std::map<int, int> left;
    int ticks = 0;
    for (int id = 1; id <= count; ++id) {
      records.emplace_back(draw(0, 8), draw(1, 15), id);
      arrival[id] = std::get<0>(records.back());
      left[id] = std::get<1>(records.back());
      ticks += left[id];
    }
    TestList list(records);
    sort();
    const ParsedRun run = parseRun(captureStdout([ticks] { readyRT(ticks); }));
    ASSERT_EQ(run.running.size(), static_cast<std::size_t>(ticks)) << "trial " << trial;
    for (int tick = 0; tick < ticks; ++tick) {
      int least = INT_MAX;
      for (const auto& [id, time] : left) {
        if (time > 0 && arrival[id] <= tick) least = std::min(least, time);
      }
      const int id = run.running[static_cast<std::size_t>(tick)];
      if (least != INT_MAX) {
        EXPECT_LE(arrival[id], tick) << "trial " << trial << ", tick " << tick;
        EXPECT_EQ(left[id], least) << "trial " << trial << ", tick " << tick;
      }
      --left[id];
    }
  }
}

// With standard output on a full device, the write that fails throws and
// names the reason. Enough is written to fill any stdio buffer first.
TEST(TickLoop, WritesToAFullDeviceThrow) {
  std::vector<Values> records;
  for (int id = 1; id <= 3000; ++id) records.emplace_back(id % 9, id % 15 + 1, id);
  const int full = open("/dev/full", O_WRONLY);
  ASSERT_GE(full, 0) << std::strerror(errno);
  const std::vector<std::pair<const char*, void (*)()>> bodies = {
      {"listing", display}, {"ticks", [] { runTicks(50, sort); }}};
  for (const auto& [name, body] : bodies) {
    TestList list(records);
    const StdoutRedirect redirect(full);
    try {
      body();
      ADD_FAILURE() << name << ": no error";
    } catch (const WriteError& error) {
      EXPECT_EQ(error.code(), ENOSPC) << name;
    }
  }
  close(full);
}

}  // namespace
