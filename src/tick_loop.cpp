#include "tick_loop.h"

#include <cstdio>

#include "process_queue.h"

namespace {

void runTicks(int ticks) {
  for (int tick = 0; tick < ticks; ++tick) {
    process* running = queue;
    while (running != nullptr && running->burst == 0) {
      running = running->next;
    }
    if (running == nullptr) {
      return;  // everything has finished: no tick is left to show
    }

    std::printf("Running Process:%d\n", running->id);
    if (running->next != nullptr) {
      std::fputs("Ready Queue: ", stdout);
      for (const process* p = running->next; p != nullptr; p = p->next) {
        std::printf(" %d |", p->id);
      }
    }
    std::puts("\n");

    --running->burst;
    // Every process that has arrived moves its key to the next tick, so the
    // following sort ranks the arrived ones by remaining burst alone.
    for (process* p = running; p != nullptr; p = p->next) {
      if (p->arrival <= tick) {
        ++p->arrival;
      }
    }
    sort();
  }
}

}  // namespace

void readyRT(int ticks) { runTicks(ticks); }

void readyJF(int ticks) { runTicks(ticks); }
