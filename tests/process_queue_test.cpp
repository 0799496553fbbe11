#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "process_queue.h"
#include "test_support.h"

namespace {

std::vector<int> ids(const std::vector<Values>& values) {
  std::vector<int> out;
  for (const auto& v : values) out.push_back(std::get<2>(v));
  return out;
}

struct TieCase {
  std::vector<Values> before;
  std::vector<Values> after;
};

TEST(Sort, TiedAndMixedRecordsTakeTheExchangeOrder) {
  const std::vector<TieCase> cases = {
      {{{0, 5, 1}, {0, 5, 2}}, {{0, 5, 1}, {0, 5, 2}}},
      {{{0, 5, 1}, {0, 5, 2}, {0, 5, 3}}, {{0, 5, 3}, {0, 5, 1}, {0, 5, 2}}},
      {{{0, 5, 1}, {0, 5, 2}, {0, 5, 3}, {0, 5, 4}}, {{0, 5, 3}, {0, 5, 4}, {0, 5, 1}, {0, 5, 2}}},
      {{{3, 2, 1}, {0, 5, 2}, {0, 5, 3}, {1, 1, 4}}, {{0, 5, 3}, {0, 5, 2}, {1, 1, 4}, {3, 2, 1}}},
      {{{2, 0, 3}, {2, 3, 2}, {2, 3, 1}}, {{2, 0, 3}, {2, 3, 1}, {2, 3, 2}}},
      // A finished record goes ahead of unfinished ones with the same arrival.
      {{{4, 2, 1}, {4, 0, 2}, {4, 1, 3}}, {{4, 0, 2}, {4, 1, 3}, {4, 2, 1}}},
      {{{7, 3, 1}}, {{7, 3, 1}}},
  };
  for (const auto& c : cases) {
    TestList list(c.before);
    sort();
    EXPECT_EQ(TestList::contents(), c.after)
        << "ids before: " << ::testing::PrintToString(ids(c.before));
  }
}

TEST(Sort, DistinctKeysComeOutAscendingAndTheListKeepsItsShape) {
  std::mt19937 random(7);
  std::vector<Values> values;
  for (int arrival = 0; arrival < 5; ++arrival) {
    for (int burst = 0; burst < 6; ++burst) {
      values.emplace_back(arrival, burst, static_cast<int>(values.size()) + 1);
    }
  }
  for (int round = 0; round < 20; ++round) {
    std::shuffle(values.begin(), values.end(), random);
    TestList list(values);
    sort();
    EXPECT_EQ(queue, list.head());
    auto got = TestList::contents();
    ASSERT_EQ(got.size(), values.size());
    for (std::size_t i = 1; i < got.size(); ++i) {
      const auto key = [](const Values& v) {
        return std::make_pair(std::get<0>(v), std::get<1>(v));
      };
      EXPECT_LT(key(got[i - 1]), key(got[i]));
    }
    // Values travel together: every record keeps its own arrival and burst.
    auto sortedIn = values;
    std::sort(sortedIn.begin(), sortedIn.end());
    std::sort(got.begin(), got.end());
    EXPECT_EQ(got, sortedIn);
  }
}

TEST(Sort, EmptyListIsLeftAlone) {
  TestList list({});
  sort();
  EXPECT_EQ(queue, nullptr);
}

TEST(Display, WritesOneEntryPerRecordInListOrder) {
  TestList list({{2, 3, 1}, {0, 4, 2}, {1, 1, 3}});
  EXPECT_EQ(captureStdout(display), "\n2 3 1\n\n0 4 2\n\n1 1 3\n");
}

TEST(Display, SingleAndEmptyLists) {
  {
    TestList list({{8, 15, 12}});
    EXPECT_EQ(captureStdout(display), "\n8 15 12\n");
  }
  TestList empty({});
  EXPECT_EQ(captureStdout(display), "");
}

}  // namespace
