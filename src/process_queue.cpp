#include "process_queue.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <utility>
#include <vector>

#include "trace_format.h"
#include "write_error.h"

process* queue = nullptr;

void display() {
  for (const process* p = queue; p != nullptr; p = p->next) {
    requireWritten(std::printf(trace::kListingEntryFormat, p->arrival, p->burst, p->id) >= 0);
  }
}

namespace {

struct Values {
  int arrival;
  int burst;
  int id;
};

bool before(const Values& x, const Values& y) {
  return x.arrival < y.arrival || (x.arrival == y.arrival && x.burst < y.burst);
}

bool sameKey(const Values& x, const Values& y) {
  return x.arrival == y.arrival && x.burst == y.burst;
}

// Stable ascending order by key. The list is nearly in order on every call
// but the first, so an insertion sort does little work; past a budget of moves
// a merge sort takes over, which keeps equal keys in place all the same.
void stableOrder(std::vector<Values>& values) {
  std::size_t budget = 8 * values.size() + 64;
  for (std::size_t i = 1; i < values.size(); ++i) {
    if (!before(values[i], values[i - 1])) {
      continue;
    }
    const Values moving = values[i];
    std::size_t j = i;
    while (j > 0 && before(moving, values[j - 1])) {
      values[j] = values[j - 1];
      --j;
      if (--budget == 0) {
        values[j] = moving;
        std::stable_sort(values.begin(), values.end(), before);
        return;
      }
    }
    values[j] = moving;
  }
}

std::size_t wrap(std::size_t index, std::size_t size) {
  return index >= size ? index - size : index;
}

// Scratch space kept between calls: the tick loop orders the queue every tick.
std::vector<Values> low;
std::vector<Values> ring;
std::vector<std::size_t> taken;  // where the ring gives up a value
std::vector<Values> pushed;

}  // namespace

// Gives exactly the order of the pairwise exchange (every position P from the
// head, against every position Q from the head, exchanging when P's key is at
// most Q's), computed in near-linear time:
// - While P is the head, the head's values are carried down the list and swap
//   places with every value whose key is at least theirs, so the largest key M
//   ends up at the head and the rest shift along.
// - From then on each value below M stays put until its own pass inserts it
//   ahead of every equal key already placed: values below M come out
//   ascending, each group of equal keys in the reverse of the order the first
//   pass left it in.
// - Values with key M keep being exchanged with each other by the passes that
//   follow, which the ring below replays.
void sort() {
  if (queue == nullptr) {
    return;
  }
  // The first pass. Only values left behind after the carried value last grew
  // can have key M.
  Values carried{queue->arrival, queue->burst, queue->id};
  low.clear();
  std::size_t grown = 0;
  for (const process* p = queue->next; p != nullptr; p = p->next) {
    Values here{p->arrival, p->burst, p->id};
    if (!before(here, carried)) {
      if (before(carried, here)) {
        grown = low.size();
      }
      std::swap(here, carried);
    }
    low.push_back(here);
  }

  // Values with key M: the carried one first, then the others in list order.
  // Every later pass turns them like a ring by one place and, where one of them
  // stood after the first pass, takes the one after the ring's front out to
  // the front of the group.
  ring.assign(1, carried);
  taken.clear();
  std::size_t kept = grown;
  for (std::size_t i = grown; i < low.size(); ++i) {
    if (sameKey(low[i], carried)) {
      ring.push_back(low[i]);
      taken.push_back(i);
    } else {
      low[kept++] = low[i];
    }
  }
  low.resize(kept);

  pushed.clear();
  const std::size_t slots = ring.size();
  std::size_t front = 0;
  std::size_t size = slots;
  std::size_t position = 0;
  for (const std::size_t next : taken) {
    // Turns up to the next position that gives up a value. While the ring is
    // whole a turn is only a move of its front.
    std::size_t turns = next - position;
    if (size == slots) {
      front = (front + slots - turns % slots) % slots;
      turns = 0;
    }
    for (; turns > 0; --turns) {
      front = wrap(front + slots - 1, slots);
      ring[front] = ring[wrap(front + size, slots)];
    }
    const std::size_t second = wrap(front + 1, slots);
    pushed.push_back(ring[second]);
    ring[second] = ring[front];
    front = second;
    --size;
    if (size > 1) {
      front = wrap(front + slots - 1, slots);
      ring[front] = ring[wrap(front + size, slots)];
    }
    position = next + 1;
  }

  stableOrder(low);
  process* p = queue;
  const auto store = [&p](const Values& v) {
    // NOLINTNEXTLINE(clang-analyzer-core.NullDereference): one record per value stored
    p->arrival = v.arrival;
    p->burst = v.burst;
    p->id = v.id;
    p = p->next;
  };
  // Each group of equal keys goes back in reverse.
  for (std::size_t first = 0; first < low.size();) {
    std::size_t last = first + 1;
    while (last < low.size() && sameKey(low[last], low[first])) {
      ++last;
    }
    for (std::size_t i = last; i > first; --i) {
      store(low[i - 1]);
    }
    first = last;
  }
  std::for_each(pushed.rbegin(), pushed.rend(), store);
  store(ring[front]);
}
