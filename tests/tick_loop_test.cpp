#include <gtest/gtest.h>

#include <limits>

#include "process_queue.h"
#include "test_support.h"
#include "tick_loop.h"

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

}  // namespace
