// Times a whole simulated run (listing, first ordering, every tick, output to
// /dev/null) with the program's ordering and with the pairwise exchange, side
// by side, and prints the times and their ratios.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "exchange_sort.h"
#include "process_queue.h"
#include "tick_loop.h"

namespace {

// A fresh workload of `count` processes, drawn the way shortest remaining time
// first draws them, held in `records` and linked as `queue`. Returns the ticks.
int makeWorkload(std::vector<process>& records, int count) {
  std::srand(1);
  records.assign(static_cast<std::size_t>(count), process{});
  int ticks = 0;
  for (std::size_t i = 0; i < records.size(); ++i) {
    const int arrival = std::rand() % 9;
    const int burst = std::rand() % 15 + 1;
    records[i] = process{arrival, burst, static_cast<int>(i) + 1,
                         i + 1 < records.size() ? &records[i + 1] : nullptr};
    ticks += burst;
  }
  queue = records.empty() ? nullptr : records.data();
  return ticks;
}

// Seconds for one whole run, the fastest of `repeats`.
double timeRun(int count, void (*order)(), int repeats) {
  std::vector<process> records;
  double best = 0;
  for (int r = 0; r < repeats; ++r) {
    const int ticks = makeWorkload(records, count);
    const auto start = std::chrono::steady_clock::now();
    display();
    std::puts("\n");
    order();
    runTicks(ticks, order);
    std::fflush(stdout);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    best = r == 0 ? took.count() : std::min(best, took.count());
  }
  queue = nullptr;
  return best;
}

}  // namespace

int main() {
  // The table goes to where standard output pointed; the runs write to /dev/null.
  std::FILE* report = fdopen(dup(STDOUT_FILENO), "w");
  if (report == nullptr || std::freopen("/dev/null", "w", stdout) == nullptr) {
    std::perror("bench_scheduler");
    return 1;
  }

  std::fprintf(report, "%9s %12s %14s %10s\n", "processes", "ordering s", "exchange s", "speed-up");
  double at1000 = 0;
  for (int count : {250, 500, 700, 1000, 2000, 4000}) {
    const double fast = timeRun(count, sort, 5);
    if (count == 1000) at1000 = fast;
    if (count <= 1000) {
      const double slow = timeRun(count, exchangeSort, 1);
      std::fprintf(report, "%9d %12.4f %14.3f %9.0fx\n", count, fast, slow, slow / fast);
    } else {
      std::fprintf(report, "%9d %12.4f %14s %10s\n", count, fast, "-", "-");
    }
    if (count == 4000) {
      std::fprintf(report, "time for 4000 / time for 1000: %.1f\n", fast / at1000);
    }
    std::fflush(report);
  }
  std::fclose(report);
  return 0;
}
