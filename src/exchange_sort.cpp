#include "exchange_sort.h"

#include <utility>

#include "process_queue.h"

// For every position P, the inner pass starts again at the head and exchanges
// on equal keys too. That exact sequence of exchanges decides the order of
// tied records.
void exchangeSort() {
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
