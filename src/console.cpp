#include "console.h"

#include <cctype>
#include <climits>
#include <cstdlib>

#include "process_queue.h"
#include "tick_loop.h"
#include "trace_format.h"
#include "write_error.h"

int readNumber(std::FILE* in, bool& failed) {
  if (failed) {
    return 0;
  }
  int c = std::fgetc(in);
  while (c != EOF && std::isspace(c) != 0) {
    c = std::fgetc(in);
  }
  bool negative = false;
  if (c == '+' || c == '-') {
    negative = c == '-';
    c = std::fgetc(in);
  }
  bool anyDigit = false;
  long long value = 0;
  bool outOfRange = false;
  while (c != EOF && std::isdigit(c) != 0) {
    anyDigit = true;
    if (!outOfRange) {
      value = value * 10 + (c - '0');
      outOfRange = value > static_cast<long long>(INT_MAX) + 1;
    }
    c = std::fgetc(in);
  }
  if (c != EOF) {
    std::ungetc(c, in);
  }
  if (negative) {
    value = -value;
  }
  if (!anyDigit || outOfRange || value > INT_MAX || value < INT_MIN) {
    failed = true;
    return 0;
  }
  return static_cast<int>(value);
}

process* appendProcess(process* tail, int arrival, int burst, int id) {
  auto* record = new process{arrival, burst, id, nullptr};
  if (tail == nullptr) {
    queue = record;
  } else {
    tail->next = record;
  }
  return record;
}

namespace {

enum Choice { kSjf = 1, kSrtf = 2, kExit = 3 };

// Generates `count` processes for the chosen policy, lists them, orders them
// and runs the tick loop over them.
void simulate(int count, int choice) {
  if (choice == kSrtf) {
    requireWritten(std::fputs(trace::kSrtfPrompt, stdout) != EOF);
  }
  int ticks = 0;
  process* tail = nullptr;
  for (int i = 0; i < count; ++i) {
    int arrival = 0;
    int burst = 0;
    if (choice == kSrtf) {
      arrival = std::rand() % 9;
      burst = std::rand() % 15 + 1;
    } else {
      // Shortest job first has every process ready from the start. This draw
      // is still made, so that the bursts come from the same places in the
      // random sequence as always.
      (void)std::rand();
      burst = std::rand() % 10 + 1;
    }
    tail = appendProcess(tail, arrival, burst, i + 1);
    ticks += burst;
  }

  requireWritten(std::fputs(trace::kListingHeader, stdout) != EOF);
  display();
  requireWritten(std::puts(trace::kListingEnd) != EOF);
  sort();
  if (choice == kSrtf) {
    readyRT(ticks);
  } else {
    readyJF(ticks);
  }
}

// The prompts are flushed before each read, so that they show before the
// program waits, and a full disk is noticed at the first of them.
void converse() {
  bool failed = false;
  requireWritten(std::fputs(trace::kCountPrompt, stdout) != EOF);
  requireWritten(std::fflush(stdout) == 0);
  const int count = readNumber(stdin, failed);
  requireWritten(std::puts(trace::kMenu) != EOF);
  requireWritten(std::fputs(trace::kChoicePrompt, stdout) != EOF);
  requireWritten(std::fflush(stdout) == 0);
  const int choice = readNumber(stdin, failed);

  if (choice == kSjf || choice == kSrtf) {
    if (count > kMaxProcesses) {
      requireWritten(std::printf(trace::kTooManyFormat, kMaxProcesses) >= 0);
    } else {
      simulate(count, choice);
    }
  } else if (choice != kExit) {
    requireWritten(std::fputs(trace::kInvalidChoice, stdout) != EOF);
  }
  // What is still buffered would otherwise fail unseen when the program exits.
  requireWritten(std::fflush(stdout) == 0);
}

}  // namespace

int runConsole() {
  try {
    converse();
  } catch (const WriteError& error) {
    std::fprintf(stderr, trace::kWriteErrorFormat, error.what());
    return 1;
  }
  return 0;
}
