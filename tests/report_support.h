#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "process_queue.h"
#include "test_support.h"
#include "tick_loop.h"
#include "trace_format.h"

// The whole output of a run over `records` ((arrival, burst, id) in creation
// order), made by the simulator's own listing, ordering and tick loop.
inline std::string traceOf(const std::vector<Values>& records, bool srtf = true) {
  std::string out = std::string(trace::kCountPrompt) + trace::kMenu + "\n" + trace::kChoicePrompt;
  if (srtf) out += trace::kSrtfPrompt;
  out += trace::kListingHeader;
  int ticks = 0;
  for (const auto& [arrival, burst, id] : records) ticks += burst;
  TestList list(records);
  out += captureStdout([&] {
    display();
    std::puts(trace::kListingEnd);
    sort();
    readyRT(ticks);
  });
  return out;
}

// A path for a scratch file that no other test process uses at the same time.
inline std::string scratchPath(const std::string& name) {
  return ::testing::TempDir() + "scheduler_" + std::to_string(getpid()) + "_" + name;
}

inline std::string readFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream out;
  out << file.rdbuf();
  return out.str();
}

inline void writeFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}
