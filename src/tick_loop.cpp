#include "tick_loop.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

#include "process_queue.h"
#include "trace_format.h"
#include "write_error.h"

namespace {

// Writes `value` in decimal at `out` and returns the end of what it wrote.
char* putNumber(char* out, int value) { return std::to_chars(out, out + 11, value).ptr; }

char* putText(char* out, std::string_view text) {
  std::memcpy(out, text.data(), text.size());
  return out + text.size();
}

}  // namespace

void runTicks(int ticks, void (*order)()) {
  // One tick's text is built here and written in one call: a tick lists every
  // waiting process, and a formatted write per id would cost more than the
  // simulation itself.
  std::vector<char> text;
  std::size_t count = 0;
  for (const process* p = queue; p != nullptr; p = p->next) {
    ++count;
  }
  // Widest tick: the two fixed texts, "\n\n" and " <id> |" per process.
  text.resize(64 + 14 * count);

  for (int tick = 0; tick < ticks; ++tick) {
    process* running = queue;
    while (running != nullptr && running->burst == 0) {
      running = running->next;
    }
    if (running == nullptr) {
      return;  // everything has finished: no tick is left to show
    }

    char* out = putText(text.data(), trace::kRunning);
    out = putNumber(out, running->id);
    *out++ = '\n';
    if (running->next != nullptr) {
      out = putText(out, trace::kReadyQueue);
      for (const process* p = running->next; p != nullptr; p = p->next) {
        out = putText(out, trace::kReadyEntryBefore);
        out = putNumber(out, p->id);
        out = putText(out, trace::kReadyEntryAfter);
      }
    }
    out = putText(out, trace::kTickEnd);
    const auto size = static_cast<std::size_t>(out - text.data());
    requireWritten(std::fwrite(text.data(), 1, size, stdout) == size);

    --running->burst;
    // Every process that has arrived moves its key to the next tick, so the
    // following ordering ranks the arrived ones by remaining burst alone.
    for (process* p = running; p != nullptr; p = p->next) {
      if (p->arrival <= tick) {
        ++p->arrival;
      }
    }
    order();
  }
}

void readyRT(int ticks) { runTicks(ticks, sort); }

void readyJF(int ticks) { runTicks(ticks, sort); }
