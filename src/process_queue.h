#pragma once

// One simulated process. Records form a singly linked list headed by `queue`;
// the list owns them for the whole run and its links never change once built.
struct process {
  int arrival;  // ordering key; the tick loop raises it while the process waits or runs
  int burst;    // remaining run time in ticks; 0 once the process has finished
  int id;       // the number every line of output names the process by
  process* next;
};

// First record of the list, or null while no process exists.
extern process* queue;

// Writes every record, head to tail, as "\n<arrival> <burst> <id>\n".
// Throws WriteError when standard output cannot be written.
void display();

// Puts the records in scheduling order: ascending by arrival, then remaining
// burst. Records with equal keys take the fixed order of a pairwise exchange,
// which decides ties. Only the values move between list positions; the links
// stay as they are.
void sort();
