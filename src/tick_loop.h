#pragma once

// Simulates `ticks` ticks of one processor over `queue`, which must already be
// in scheduling order. Each tick prints the running process and the processes
// behind it. The loop stops early once every process has finished. Throws
// WriteError, with the tick unfinished, when standard output cannot be written.
//
// The running process is the first record with work left. The loop assumes,
// and the ordering guarantees, that a record with no work left never sits
// behind the running one: the ready queue lists every record behind it, and
// only those records (and the running one) are aged.
void readyRT(int ticks);  // shortest remaining time first
void readyJF(int ticks);  // shortest job first: the same loop

// The loop behind both, reordering the queue with `order` after every tick.
// The program always passes `sort`; another ordering can be measured or
// compared against it.
void runTicks(int ticks, void (*order)());
