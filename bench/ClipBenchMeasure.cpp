// clip_bench_measure: runs one command and reports its wall time and peak memory.
// Usage: clip_bench_measure RESULT_FILE command [arguments...]
// Appends "seconds peak_kib exit_status" to RESULT_FILE: wall time from start to exit on the
// steady clock, the child's peak resident set size (getrusage of the waited-for child, KiB).

#include <sys/resource.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

int main(int IntArgs, char** ChrArgs) {
  if (IntArgs < 3) {
    std::fputs("Usage: clip_bench_measure RESULT_FILE command [arguments...]\n", stderr);
    return 2;
  }
  const auto Start = std::chrono::steady_clock::now();
  const pid_t Child = fork();
  if (Child < 0) {
    std::perror("clip_bench_measure: fork");
    return 1;
  }
  if (Child == 0) {
    execvp(ChrArgs[2], ChrArgs + 2);
    std::perror("clip_bench_measure: exec");
    _exit(127);
  }
  int IntStatus = 0;
  struct rusage Usage {};
  if (wait4(Child, &IntStatus, 0, &Usage) != Child) {
    std::perror("clip_bench_measure: wait4");
    return 1;
  }
  const std::chrono::duration<double> Elapsed = std::chrono::steady_clock::now() - Start;
  const int IntExit = WIFEXITED(IntStatus) ? WEXITSTATUS(IntStatus) : 128 + WTERMSIG(IntStatus);
  std::FILE* PtrResult = std::fopen(ChrArgs[1], "a");
  if (PtrResult == nullptr) {
    std::perror("clip_bench_measure: result file");
    return 1;
  }
  std::fprintf(PtrResult, "%.4f %ld %d\n", Elapsed.count(), Usage.ru_maxrss, IntExit);
  std::fclose(PtrResult);
  return IntExit;
}
