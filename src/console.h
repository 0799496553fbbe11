#pragma once

#include <cstdio>

struct process;

// Largest process count the program simulates. Far below what would overflow
// the tick count (at most 15 ticks a process) or strain memory; at this size a
// single run already writes hundreds of gigabytes.
constexpr int kMaxProcesses = 100000;

// Reads one decimal integer the way "%d" does: leading white space skipped, an
// optional sign, then digits up to the first other character, which is left
// unread. Where no number can be read (no digits, end of input, a value beyond
// the int range) it returns 0 and sets `failed`; once `failed` is set, every
// later read returns 0 without consuming anything.
int readNumber(std::FILE* in, bool& failed);

// Links a new record after `tail` (or makes it the head of `queue` when `tail`
// is null) and returns it as the new tail.
process* appendProcess(process* tail, int arrival, int burst, int id);

// The whole interactive session on standard input and output. Returns the
// exit status: 0, or 1 when standard output could not be written, which it
// reports in one line on standard error.
int runConsole();
