// The fast ordering against the pairwise exchange it must reproduce exactly.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
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

// Lists already in order take their own path, where the group of the largest
// key turns by an amount that depends on how many records stand before it.
TEST(Ordering, ListsInOrderWithTiedGroupsOfEverySize) {
  for (int below = 0; below <= 9; ++below) {
    for (int largest = 1; largest <= 9; ++largest) {
      for (int tieEvery = 1; tieEvery <= 3; ++tieEvery) {
        std::vector<Values> values;
        for (int i = 0; i < below; ++i) {
          values.emplace_back(0, i / tieEvery, static_cast<int>(values.size()) + 1);
        }
        for (int i = 0; i < largest; ++i) {
          values.emplace_back(1, 0, static_cast<int>(values.size()) + 1);
        }
        expectSameOrder(values);
        if (HasFatalFailure()) return;
      }
    }
  }
}

// Nearly in order, as between ticks: one record out of place, in every place.
TEST(Ordering, ListsInOrderButForOneRecord) {
  std::mt19937 random(5);
  for (int trial = 0; trial < 40; ++trial) {
    const auto length = std::uniform_int_distribution<std::size_t>(2, 60)(random);
    std::vector<std::pair<int, int>> keys;
    for (std::size_t i = 0; i < length; ++i) {
      keys.emplace_back(std::uniform_int_distribution<int>(0, 2)(random),
                        std::uniform_int_distribution<int>(0, 3)(random));
    }
    std::sort(keys.begin(), keys.end());
    std::vector<Values> inOrder;
    for (std::size_t i = 0; i < length; ++i) {
      inOrder.emplace_back(keys[i].first, keys[i].second, static_cast<int>(i) + 1);
    }
    for (std::size_t moved = 0; moved < inOrder.size(); ++moved) {
      std::vector<Values> values = inOrder;
      std::get<1>(values[moved]) += std::uniform_int_distribution<int>(-2, 2)(random);
      expectSameOrder(values);
      if (HasFatalFailure()) return;
    }
  }
}

// Keys near the ends of the int range, where a sign must not be lost.
TEST(Ordering, KeysAtTheEndsOfTheIntRange) {
  const int low = std::numeric_limits<int>::min();
  const int high = std::numeric_limits<int>::max();
  const std::vector<std::vector<Values>> lists = {
      {{high, 0, 1}, {low, 0, 2}, {0, high, 3}, {0, low, 4}, {-1, -1, 5}, {0, 0, 6}},
      {{low, low, 1}, {low, high, 2}, {high, low, 3}, {high, high, 4}, {high, high, 5}},
      {{high, high, 1}, {high, high, 2}, {low, low, 3}, {low, low, 4}, {-1, high, 5}},
  };
  for (const auto& values : lists) {
    expectSameOrder(values);
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
