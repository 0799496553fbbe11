// The fast ordering against the pairwise exchange it must reproduce exactly.
#include <gtest/gtest.h>

#include <random>

#include "exchange_sort.h"
#include "process_queue.h"
#include "test_support.h"
#include "tick_loop.h"

namespace {

// The contents that `order` leaves in a list built from `values`.
std::vector<Values> orderedBy(void (*order)(), const std::vector<Values>& values) {
  TestList list(values);
  order();
  return TestList::contents();
}

void expectSameOrder(const std::vector<Values>& values) {
  ASSERT_EQ(orderedBy(sort, values), orderedBy(exchangeSort, values))
      << "list: " << ::testing::PrintToString(values);
}

TEST(Ordering, EveryShortSequenceOfFewKeys) {
  // Keys differing in arrival, in burst, or in both; ids tell equal keys apart.
  const std::vector<std::pair<int, int>> keys = {{0, 1}, {0, 2}, {1, 0}, {1, 1}};
  for (std::size_t length = 0; length <= 7; ++length) {
    std::vector<std::size_t> digits(length, 0);
    for (;;) {
      std::vector<Values> values;
      for (std::size_t i = 0; i < length; ++i) {
        values.emplace_back(keys[digits[i]].first, keys[digits[i]].second, static_cast<int>(i) + 1);
      }
      expectSameOrder(values);
      if (HasFatalFailure()) return;
      std::size_t d = 0;
      while (d < length && ++digits[d] == keys.size()) digits[d++] = 0;
      if (d == length) break;
    }
  }
}

TEST(Ordering, RandomListsWithManyTies) {
  std::mt19937 random(2024);
  for (int trial = 0; trial < 300; ++trial) {
    const int length = std::uniform_int_distribution<int>(0, 300)(random);
    const int arrivals = std::uniform_int_distribution<int>(1, 4)(random);
    const int bursts = std::uniform_int_distribution<int>(1, 5)(random);
    std::vector<Values> values;
    for (int i = 0; i < length; ++i) {
      values.emplace_back(std::uniform_int_distribution<int>(0, arrivals - 1)(random),
                          std::uniform_int_distribution<int>(0, bursts - 1)(random), i + 1);
    }
    expectSameOrder(values);
    if (HasFatalFailure()) return;
  }
}

// The bytes of a whole run: the first ordering, then every tick.
std::string wholeRun(void (*order)(), const std::vector<Values>& values, int ticks) {
  TestList list(values);
  order();
  return captureStdout([&] { runTicks(ticks, order); });
}

TEST(Ordering, WholeRunsMatchByteForByte) {
  struct Shape {
    const char* name;
    int maxArrival;
    int maxBurst;
  };
  std::mt19937 random(99);
  for (const Shape& shape : {Shape{"SRTF", 8, 15}, Shape{"SJF", 0, 10}}) {
    for (int length : {1, 2, 5, 17, 60, 200}) {
      std::vector<Values> values;
      int ticks = 0;
      for (int i = 0; i < length; ++i) {
        const int burst = std::uniform_int_distribution<int>(1, shape.maxBurst)(random);
        values.emplace_back(std::uniform_int_distribution<int>(0, shape.maxArrival)(random), burst,
                            i + 1);
        ticks += burst;
      }
      const std::string fast = wholeRun(sort, values, ticks);
      ASSERT_EQ(fast, wholeRun(exchangeSort, values, ticks)) << shape.name << ", " << length;
    }
  }
}

}  // namespace
