#pragma once

#include <cstddef>

// The texts the simulator writes, in the order a run writes them. The report
// reads a run back by these same texts, so writer and reader cannot disagree.
namespace trace {

inline constexpr char kCountPrompt[] = "Enter the no. of processes :";
// Written with puts, so a line break follows.
inline constexpr char kMenu[] = " 1.SJF\n 2.SRTF\n 3.EXIT";
inline constexpr char kChoicePrompt[] = "\n Enter choice";
inline constexpr char kInvalidChoice[] = "\n Enter valid choice";
inline constexpr char kTooManyFormat[] = "\nToo many processes: at most %d can be simulated\n";
// Shortest remaining time first asks for the workload, then draws it at random.
inline constexpr char kSrtfPrompt[] = "Enter the arrival time and burst time of each process ";

inline constexpr char kListingHeader[] = "\nGiven processes with their id";
// One listed process: arrival, burst, id.
inline constexpr char kListingEntryFormat[] = "\n%d %d %d\n";
// Written with puts after the listing, so "\n\n" in all.
inline constexpr char kListingEnd[] = "\n";

// One tick: the running process, then the ones behind it, then an empty line.
inline constexpr char kRunning[] = "Running Process:";
inline constexpr char kReadyQueue[] = "Ready Queue: ";
inline constexpr char kReadyEntryBefore[] = " ";
inline constexpr char kReadyEntryAfter[] = " |";
inline constexpr char kTickEnd[] = "\n\n";

// The lengths of the tick's fixed texts, without their terminating nul.
inline constexpr std::size_t kRunningLength = sizeof kRunning - 1;
inline constexpr std::size_t kReadyQueueLength = sizeof kReadyQueue - 1;
inline constexpr std::size_t kReadyEntryBeforeLength = sizeof kReadyEntryBefore - 1;
inline constexpr std::size_t kReadyEntryAfterLength = sizeof kReadyEntryAfter - 1;
inline constexpr std::size_t kTickEndLength = sizeof kTickEnd - 1;

// Not part of a run: written on standard error when standard output cannot be
// written, followed by the reason.
inline constexpr char kWriteErrorFormat[] = "scheduler: write error: %s\n";

}  // namespace trace
