#include "tick_loop.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

#include "process_queue.h"
#include "trace_format.h"
#include "write_error.h"

namespace {

// Characters of the widest int, "-2147483648".
constexpr std::size_t kWidestNumber = 11;
// Widest " <id> |" a tick lists.
constexpr std::size_t kWidestEntry =
    trace::kReadyEntryBeforeLength + kWidestNumber + trace::kReadyEntryAfterLength;

// One id's ready-queue text, " <id> |", padded to a fixed size so that it is
// copied in one move; the last byte holds the text's length. A tick is written
// by copying these instead of formatting numbers: only for speed.
struct IdText {
  static constexpr std::size_t kSize = 16;
  static_assert(kWidestEntry < kSize, "the length byte must fit after the widest text");
  char bytes[kSize];

  explicit IdText(int id) : bytes{} {
    char* out = bytes;
    out = std::copy_n(trace::kReadyEntryBefore, trace::kReadyEntryBeforeLength, out);
    out = std::to_chars(out, out + kWidestNumber, id).ptr;
    out = std::copy_n(trace::kReadyEntryAfter, trace::kReadyEntryAfterLength, out);
    bytes[kSize - 1] = static_cast<char>(out - bytes);
  }
  std::size_t size() const { return static_cast<std::size_t>(bytes[kSize - 1]); }
};

// The texts of every id from 0 up to the largest in the list, made once a run.
// Ids outside that range (none in the program's own runs) are formatted when
// written.
class IdTexts {
 public:
  explicit IdTexts(std::size_t count) {
    int largest = -1;
    for (const process* p = queue; p != nullptr; p = p->next) {
      largest = std::max(largest, p->id);
    }
    // A few stray large ids in a short list must not make a huge table.
    const std::size_t size =
        largest < 0 ? 0 : std::min(static_cast<std::size_t>(largest) + 1, 2 * count + 64);
    texts_.reserve(size);
    for (std::size_t id = 0; id < size; ++id) {
      texts_.emplace_back(static_cast<int>(id));
    }
  }

  // Writes " <id> |" at `out`, returns its end. Writes up to IdText::kSize bytes.
  char* putEntry(char* out, int id) const {
    const IdText& text = find(id);
    std::memcpy(out, text.bytes, IdText::kSize);
    return out + text.size();
  }

  // Writes the id's number alone at `out`, returns its end. Writes up to
  // IdText::kSize bytes.
  char* putNumber(char* out, int id) const {
    const IdText& text = find(id);
    std::memcpy(out, text.bytes + trace::kReadyEntryBeforeLength,
                IdText::kSize - trace::kReadyEntryBeforeLength);
    return out + text.size() - trace::kReadyEntryBeforeLength - trace::kReadyEntryAfterLength;
  }

 private:
  const IdText& find(int id) const {
    const auto index = static_cast<std::size_t>(id);
    if (index < texts_.size()) {
      return texts_[index];
    }
    spare_ = IdText(id);
    return spare_;
  }

  std::vector<IdText> texts_;
  mutable IdText spare_{0};
};

char* putText(char* out, std::string_view text) {
  std::memcpy(out, text.data(), text.size());
  return out + text.size();
}

// Moves the record's arrival to the next tick if it has arrived by `tick`, so
// that the following ordering ranks the arrived ones by remaining burst alone.
void age(process& p, int tick) {
  if (p.arrival <= tick) {
    ++p.arrival;
  }
}

}  // namespace

void runTicks(int ticks, void (*order)()) {
  // One tick's text is built here and written in one call: a tick lists every
  // waiting process, and a formatted write per id would cost more than the
  // simulation itself.
  std::size_t count = 0;
  std::size_t unfinished = 0;  // records with work left; ordering never changes it
  for (const process* p = queue; p != nullptr; p = p->next) {
    ++count;
    unfinished += p->burst != 0 ? 1 : 0;
  }
  const IdTexts ids(count);
  // Widest tick, plus room for the fixed-size copy of the last id's text.
  const std::size_t widestTick = trace::kRunningLength + kWidestNumber + 1 +
                                 trace::kReadyQueueLength + count * kWidestEntry +
                                 trace::kTickEndLength;
  std::vector<char> text(widestTick + IdText::kSize);

  for (int tick = 0; tick < ticks && unfinished > 0; ++tick) {
    // Some record has work left, so the search needs no end-of-list test.
    process* running = queue;
    while (running->burst == 0) {
      running = running->next;
    }

    char* out = putText(text.data(), trace::kRunning);
    out = ids.putNumber(out, running->id);
    *out++ = '\n';
    // Ageing touches the running record and every record behind it, the ones
    // the ready queue lists; it is done while listing them, to walk them once
    // (only for speed). The finished records ahead of the running one keep
    // their arrival.
    age(*running, tick);
    if (running->next != nullptr) {
      out = putText(out, trace::kReadyQueue);
      for (process* p = running->next; p != nullptr; p = p->next) {
        out = ids.putEntry(out, p->id);
        age(*p, tick);
      }
    }
    out = putText(out, trace::kTickEnd);
    const auto size = static_cast<std::size_t>(out - text.data());
    requireWritten(std::fwrite(text.data(), 1, size, stdout) == size);

    if (--running->burst == 0) {
      --unfinished;
    }
    order();
  }
}

void readyRT(int ticks) { runTicks(ticks, sort); }

void readyJF(int ticks) { runTicks(ticks, sort); }
