// Times scheduler-report reading the trace of a large run against the
// simulator writing that trace, side by side in one run, each as a whole
// process, and prints the times, their ratio and the report's peak memory.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

struct Measured {
  double seconds;
  long peakKiB;
};

// Runs `program` with its standard streams on the given files; the fastest of
// `repeats`, and the largest peak memory seen.
Measured timeProcess(const char* program, const char* argument, const char* in, const char* out,
                     int repeats) {
  Measured best{1e30, 0};
  for (int r = 0; r < repeats; ++r) {
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
      const int input = open(in, O_RDONLY);
      const int output = open(out, O_WRONLY | O_CREAT | O_TRUNC, 0644);
      if (input < 0 || output < 0) _exit(127);
      dup2(input, STDIN_FILENO);
      dup2(output, STDOUT_FILENO);
      execl(program, program, argument, static_cast<char*>(nullptr));
      _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      std::fprintf(stderr, "bench_report: %s failed\n", program);
      std::exit(1);
    }
    if (took.count() < best.seconds) best.seconds = took.count();
    if (usage.ru_maxrss > best.peakKiB) best.peakKiB = usage.ru_maxrss;
  }
  return best;
}

}  // namespace

int main() {
  const std::string dir = std::string(P_tmpdir) + "/bench_report_" + std::to_string(getpid());
  const std::string input = dir + ".in";
  const std::string trace = dir + ".trace";
  std::FILE* answers = std::fopen(input.c_str(), "w");
  if (answers == nullptr) return 1;
  std::fputs("4000\n2\n", answers);  // 4000 processes, shortest remaining time first
  std::fclose(answers);

  // The trace itself, then both programs side by side.
  timeProcess(SCHEDULER_PATH, nullptr, input.c_str(), trace.c_str(), 1);
  const Measured write = timeProcess(SCHEDULER_PATH, nullptr, input.c_str(), "/dev/null", 3);
  const Measured read = timeProcess(REPORT_PATH, trace.c_str(), "/dev/null", "/dev/null", 3);
  std::FILE* file = std::fopen(trace.c_str(), "r");
  std::fseek(file, 0, SEEK_END);
  const double megabytes = static_cast<double>(std::ftell(file)) / 1e6;
  std::fclose(file);

  std::printf("trace of 4000 processes, SRTF: %.0f MB\n", megabytes);
  std::printf("%-34s %9s\n", "", "seconds");
  std::printf("%-34s %9.3f\n", "scheduler writing it (/dev/null)", write.seconds);
  std::printf("%-34s %9.3f\n", "scheduler-report reading it", read.seconds);
  std::printf("report / scheduler: %.2f\n", read.seconds / write.seconds);
  std::printf("report's peak memory: %.1f MiB\n", static_cast<double>(read.peakKiB) / 1024);
  std::remove(input.c_str());
  std::remove(trace.c_str());
  return 0;
}
