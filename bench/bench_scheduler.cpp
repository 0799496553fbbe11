// Times a whole simulated run (listing, first ordering, every tick, output to
// /dev/null) with the program's ordering and with the pairwise exchange, side
// by side, and the floor: writing the same bytes from memory. Prints the times
// and their ratios.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

#include "exchange_sort.h"
#include "process_queue.h"
#include "tick_loop.h"
#include "trace_format.h"

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

// Runs one whole run: listing, first ordering, every tick.
void run(int count, void (*order)(), std::vector<process>& records) {
  const int ticks = makeWorkload(records, count);
  display();
  std::puts("\n");
  order();
  runTicks(ticks, order);
  std::fflush(stdout);
}

// Seconds for one whole run, the fastest of `repeats`.
double timeRun(int count, void (*order)(), int repeats) {
  std::vector<process> records;
  double best = 0;
  for (int r = 0; r < repeats; ++r) {
    const auto start = std::chrono::steady_clock::now();
    run(count, order, records);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    best = r == 0 ? took.count() : std::min(best, took.count());
  }
  queue = nullptr;
  return best;
}

// The bytes one whole run writes.
std::vector<char> runBytes(int count) {
  std::fflush(stdout);
  std::FILE* file = std::tmpfile();
  const int saved = dup(STDOUT_FILENO);
  if (file == nullptr || saved < 0 || dup2(fileno(file), STDOUT_FILENO) < 0) {
    std::perror("bench_scheduler");
    std::exit(1);
  }
  std::vector<process> records;
  run(count, sort, records);
  queue = nullptr;
  dup2(saved, STDOUT_FILENO);
  close(saved);

  std::vector<char> bytes(static_cast<std::size_t>(std::ftell(file)));
  std::rewind(file);
  if (std::fread(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
    std::perror("bench_scheduler");
    std::exit(1);
  }
  std::fclose(file);
  return bytes;
}

// The floor: seconds to write `bytes` the way a run writes them, each tick
// copied from one buffer to another and handed to one fwrite call, without
// working anything out; the fastest of `repeats`. A tick starts at each
// "Running Process:", which no other text a run writes contains.
double timeFloor(const std::vector<char>& bytes, int repeats) {
  const std::string_view all(bytes.data(), bytes.size());
  std::vector<std::string_view> pieces;
  std::size_t start = all.find(trace::kRunning);
  pieces.push_back(all.substr(0, start));
  while (start != std::string_view::npos) {
    const std::size_t next = all.find(trace::kRunning, start + trace::kRunningLength);
    pieces.push_back(all.substr(start, next == std::string_view::npos ? next : next - start));
    start = next;
  }
  std::vector<char> tick(bytes.size());
  double best = 0;
  for (int r = 0; r < repeats; ++r) {
    const auto begin = std::chrono::steady_clock::now();
    for (const std::string_view piece : pieces) {
      std::memcpy(tick.data(), piece.data(), piece.size());
      std::fwrite(tick.data(), 1, piece.size(), stdout);
    }
    std::fflush(stdout);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - begin;
    best = r == 0 ? took.count() : std::min(best, took.count());
  }
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

  std::fprintf(report, "%9s %10s %9s %10s %8s %11s %9s %9s\n", "processes", "MB written", "floor s",
               "program s", "x floor", "exchange s", "x floor", "speed-up");
  double at1000 = 0;
  std::size_t bytesAt1000 = 0;
  for (int count : {250, 500, 700, 1000, 2000, 4000}) {
    const std::vector<char> bytes = runBytes(count);
    const double floor = timeFloor(bytes, 10);
    const double fast = timeRun(count, sort, 5);
    std::fprintf(report, "%9d %10.2f %9.4f %10.4f %7.1fx", count, 1e-6 * double(bytes.size()),
                 floor, fast, fast / floor);
    if (count <= 1000) {
      const double slow = timeRun(count, exchangeSort, 1);
      std::fprintf(report, " %11.3f %8.0fx %8.0fx\n", slow, slow / floor, slow / fast);
    } else {
      std::fprintf(report, " %11s %9s %9s\n", "-", "-", "-");
    }
    if (count == 1000) {
      at1000 = fast;
      bytesAt1000 = bytes.size();
    }
    if (count == 4000) {
      std::fprintf(report,
                   "4000 against 1000 processes: %.1f times the time, %.1f times the bytes\n",
                   fast / at1000, double(bytes.size()) / double(bytesAt1000));
    }
    std::fflush(report);
  }
  std::fclose(report);
  return 0;
}
