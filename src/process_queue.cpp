#include "process_queue.h"

#include <cstdio>
#include <utility>

process* queue = nullptr;

void display() {
  for (const process* p = queue; p != nullptr; p = p->next) {
    std::printf("\n%d %d %d\n", p->arrival, p->burst, p->id);
  }
}

// Compares every position with every position, the inner pass always starting
// at the head and exchanging on equal keys too. That exact sequence of
// exchanges decides the order of tied records, and with it which process runs.
void sort() {
  for (process* p = queue; p != nullptr; p = p->next) {
    for (process* q = queue; q != nullptr; q = q->next) {
      if (p->arrival < q->arrival || (p->arrival == q->arrival && p->burst <= q->burst)) {
        std::swap(p->arrival, q->arrival);
        std::swap(p->burst, q->burst);
        std::swap(p->id, q->id);
      }
    }
  }
}
