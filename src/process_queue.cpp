#include "process_queue.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
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

// How `sort` reproduces the pairwise exchange.
//
// The exchange runs one pass per position i, from the head: position i is
// compared with every position q from the head and the two values are
// exchanged whenever i's key is at most q's. Let M be the largest key.
//
// Pass 0 (the head's pass) carries the head's value down the list: at every
// value whose key is at least the carried one's the two change places. So
// position 0 ends with the last value of key M, and every other position keeps
// its own value or takes the one carried into it.
//
// Invariant: after pass i (i >= 1), positions 0..i hold keys in ascending
// order, ending in M; every position past i holds what pass 0 left there,
// except that the values of key M among them have been exchanged with each
// other. Pass i keeps it true in two moves:
// - the value at position i goes ahead of the first of positions 0..i-1 whose
//   key is at least its own, which puts it ahead of its equals, and everything
//   from there on moves one place along, so the last M of 0..i-1 lands at i;
// - that M is then carried past position i, changing places with every later
//   value of key M.
// So each group of equal keys below M comes out in the reverse of the order
// pass 0 left it in. The values of key M turn like a ring: the last M of
// positions 0..i together with the M values past i, in list order, turn by one
// place on every pass; a pass that starts on an M value first takes it out of
// the ring and puts it ahead of every M placed so far.
//
// Worked example, keys 1..3 with ids a..e (key M = 3):
//   list          2a 3b 1c 3d 1e
//   after pass 0  3d 2a 1c 3b 1e   ring 3d 3b (from positions 0 and 3)
//   after pass 1  2a 3b 1c 3d 1e   2a goes first; the ring turns: 3b 3d
//   after pass 2  1c 2a 3d 3b 1e   1c goes first; the ring turns: 3d 3b
//   after pass 3  1c 2a 3b 3d 1e   3b, at position 3, leaves the ring
//   after pass 4  1e 1c 2a 3b 3d   1e goes ahead of its equal 1c
// Below M: 1e 1c (1c, 1e reversed), then 2a; then the M values taken out,
// latest first (3b), then what is left of the ring (3d).
//
// `sort` computes that order without the exchange, in time close to linear.

namespace {

// The ordering fields of a record in one integer that compares like the pair
// (arrival, burst), so that every comparison is one step: only for speed.
using Key = std::uint64_t;

constexpr std::uint32_t kSignBit = 0x80000000u;

// Flipping the sign bits maps the int range in order onto the unsigned one.
// Both fields come from one load: only for speed.
static_assert(offsetof(process, burst) == offsetof(process, arrival) + sizeof(int),
              "arrival and burst must be adjacent");
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "the load puts burst in the high half");
Key keyOf(const process& p) {
  Key both = 0;  // burst << 32 | arrival
  std::memcpy(&both, reinterpret_cast<const char*>(&p) + offsetof(process, arrival), sizeof both);
  constexpr Key kSignBits = static_cast<Key>(kSignBit) << 32 | kSignBit;
  return (both << 32 | both >> 32) ^ kSignBits;
}

int arrivalOf(Key key) {
  return static_cast<int>(static_cast<std::uint32_t>(key >> 32) ^ kSignBit);
}

int burstOf(Key key) { return static_cast<int>(static_cast<std::uint32_t>(key) ^ kSignBit); }

// The values one list position holds.
struct Value {
  Key key;
  int id;
};

Value valueOf(const process& p) { return {keyOf(p), p.id}; }

// Positions [first, last) of the list.
struct Span {
  std::size_t first;
  std::size_t last;
};

// Scratch space kept between calls, as the tick loop orders the queue every
// tick: only for speed.
std::vector<process*> places;            // the records, in list order
std::vector<Span> tiedGroups;            // groups of two or more equal keys
std::vector<Value> passed;               // what pass 0 leaves at each position
std::vector<Value> ring;                 // the values of key M, see `orderLargest`
std::vector<std::size_t> ringPositions;  // where those past position 0 stand
std::vector<Value> taken;                // the group of key M in its final order

struct ListShape {
  std::size_t count;      // records in the list
  bool inOrder;           // keys ascending from head to tail
  std::size_t lastGroup;  // where the last group of equal keys starts
};

// Leaves every record in `places`. Where the keys are ascending, also leaves
// in `tiedGroups` every group of equal keys but the last that has more than
// one record.
ListShape readList() {
  tiedGroups.clear();
  // Raw pointers and locals, so that the loop keeps them in registers: only
  // for speed.
  process** place = places.data();
  std::size_t room = places.size();
  bool inOrder = true;
  std::size_t lastGroup = 0;
  Key previous = keyOf(*queue);
  std::size_t at = 0;
  for (process* p = queue; p != nullptr; p = p->next, ++at) {
    if (at == room) {
      room = 2 * room + 64;
      places.resize(room);
      place = places.data();
    }
    place[at] = p;
    const Key here = keyOf(*p);
    if (here > previous) {
      if (at - lastGroup > 1) {
        tiedGroups.push_back({lastGroup, at});
      }
      lastGroup = at;
    } else if (here < previous) {
      inOrder = false;
    }
    previous = here;
  }
  return {at, inOrder, lastGroup};
}

// Replays pass 0 over the records. Leaves in `passed` what it leaves at each
// position; `passed[0]` is the carried value, of key M. Returns where the
// carried value first reached key M: before it every key is below M.
std::size_t replayHeadPass(std::size_t count) {
  passed.resize(count);
  Value carried = valueOf(*places[0]);
  std::size_t reached = 0;
  for (std::size_t at = 1; at < count; ++at) {
    Value here = valueOf(*places[at]);
    if (here.key >= carried.key) {
      if (here.key > carried.key) {
        reached = at;
      }
      std::swap(here, carried);
    }
    passed[at] = here;
  }
  passed[0] = carried;
  return reached;
}

// Splits off the values of key M: `passed[0]` and those past `reached` with
// that key go to `ring`, in list order, with their positions in
// `ringPositions`. The others close up, in order, in `passed[1..end)`; returns
// `end`.
std::size_t splitLargest(std::size_t reached, std::size_t count) {
  const Key largest = passed[0].key;
  ring.assign(1, passed[0]);
  ringPositions.clear();
  std::size_t end = reached + 1;
  for (std::size_t at = reached + 1; at < count; ++at) {
    if (passed[at].key == largest) {
      ring.push_back(passed[at]);
      ringPositions.push_back(at);
    } else {
      passed[end++] = passed[at];
    }
  }
  return end;
}

// A ring of values kept in a fixed array: `size` values from `front` on,
// wrapping round. Values only ever leave it.
class Ring {
 public:
  explicit Ring(std::vector<Value>& values) : values_(values), size_(values.size()) {}

  // Turns the ring by `turns` places: each turn moves the last value to the
  // front.
  void turn(std::size_t turns) {
    for (turns %= size_; turns > 0; --turns) {
      front_ = wrap(front_ + slots() - 1);
      values_[front_] = values_[wrap(front_ + size_)];
    }
  }

  // Takes out the value after the front and returns it.
  Value takeSecond() {
    const std::size_t second = wrap(front_ + 1);
    const Value out = values_[second];
    values_[second] = values_[front_];
    front_ = second;
    --size_;
    return out;
  }

  const Value& front() const { return values_[front_]; }

 private:
  std::size_t slots() const { return values_.size(); }
  std::size_t wrap(std::size_t index) const { return index >= slots() ? index - slots() : index; }

  std::vector<Value>& values_;
  std::size_t size_;
  std::size_t front_ = 0;
};

// Replays passes 1..n-1 on the values of key M. The ring starts as `ring`
// (position 0's value after pass 0, then those at `ringPositions`). Every pass
// turns it by one place; a pass at one of `ringPositions` starts on the value
// after the front, which first leaves the ring. Leaves the group's final order
// in `taken`: the latest to leave first, the one left in the ring last.
void orderLargest() {
  Ring turning(ring);
  taken.clear();
  std::size_t pass = 1;
  for (const std::size_t position : ringPositions) {
    turning.turn(position - pass);  // the passes before it
    taken.push_back(turning.takeSecond());
    turning.turn(1);
    pass = position + 1;
  }
  // Past the last of them the ring holds one value: turning changes nothing.
  const Value last = turning.front();
  std::reverse(taken.begin(), taken.end());
  taken.push_back(last);
}

bool before(const Value& x, const Value& y) { return x.key < y.key; }

// Puts `passed[1..end)` in ascending order of key, keeping equal keys in the
// order they stand. It is nearly in order on every call but the first, so an
// insertion sort does little work; past a budget of moves a merge sort takes
// over, which keeps equal keys in place all the same.
void orderRest(std::size_t end) {
  Value* const values = passed.data() + 1;
  const std::size_t size = end - 1;
  std::size_t budget = 8 * size + 64;
  for (std::size_t i = 1; i < size; ++i) {
    if (!before(values[i], values[i - 1])) {
      continue;
    }
    const Value moving = values[i];
    std::size_t j = i;
    while (j > 0 && before(moving, values[j - 1])) {
      values[j] = values[j - 1];
      --j;
      if (--budget == 0) {
        values[j] = moving;
        std::stable_sort(values, values + size, before);
        return;
      }
    }
    values[j] = moving;
  }
}

// Writes the final order into the records, from the head: `passed[1..end)`
// with each group of equal keys reversed, then `taken`.
void writeBack(std::size_t end) {
  process* const* place = places.data();
  const auto store = [&place](const Value& v) {
    process* p = *place++;
    p->arrival = arrivalOf(v.key);
    p->burst = burstOf(v.key);
    p->id = v.id;
  };
  for (std::size_t first = 1; first < end;) {
    std::size_t last = first + 1;
    while (last < end && passed[last].key == passed[first].key) {
      ++last;
    }
    for (std::size_t i = last; i > first; --i) {
      store(passed[i - 1]);
    }
    first = last;
  }
  std::for_each(taken.begin(), taken.end(), store);
}

// The same order for a list whose keys are ascending already, which is what
// the tick loop passes on all but its first few ticks: only for speed. Then
// every position keeps its key and only ids change:
// - pass 0 moves every value one place along and the last one to the head, so
//   each tied group below M is reversed where it stands;
// - the group of key M, g[0..m) from position `lastGroup` on, starts as the
//   ring g[m-1], g[0], ..., g[m-2] with positions lastGroup+1..count-1, all
//   consecutive. Turned by `lastGroup` passes to r[0..m), its values leave
//   in the order r[1], r[0], r[m-1], r[m-2], ..., r[3] and r[2] is left, so the
//   group comes out as r read from r[3] round: g read from g[(2 - lastGroup)
//   mod m] round.
void orderInOrderList(const ListShape& shape) {
  for (const Span& group : tiedGroups) {
    for (std::size_t i = group.first, j = group.last - 1; i < j; ++i, --j) {
      std::swap(places[i]->id, places[j]->id);
    }
  }
  const std::size_t size = shape.count - shape.lastGroup;
  process* const* group = places.data() + shape.lastGroup;
  taken.resize(size);
  for (std::size_t i = 0; i < size; ++i) {
    taken[i].id = group[i]->id;
  }
  std::size_t from = (2 + size - shape.lastGroup % size) % size;
  for (std::size_t i = 0; i < size; ++i) {
    group[i]->id = taken[from].id;
    from = from + 1 == size ? 0 : from + 1;
  }
}

}  // namespace

// Gives exactly the order of the pairwise exchange; see the comment above.
void sort() {
  if (queue == nullptr) {
    return;
  }
  const ListShape shape = readList();
  if (shape.inOrder) {
    orderInOrderList(shape);  // only for speed: the steps below give the same
    return;
  }
  const std::size_t reached = replayHeadPass(shape.count);
  const std::size_t end = splitLargest(reached, shape.count);
  orderLargest();  // the group of key M
  orderRest(end);  // the values below M, nearly in order already
  writeBack(end);  // each group below M reversed, then the group of key M
}
