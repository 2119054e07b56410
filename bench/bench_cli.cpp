// The batch runner as a forester's shell script meets it: `keldovar-cli run` of each example
// regime as a whole process, started, run to its exit and waited for, its report sent to
// /dev/null. A `--version` run of the same program gives the cost of the process alone.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#ifndef KELDOVAR_CLI_PATH
#error "KELDOVAR_CLI_PATH must name the built keldovar-cli"
#endif
#ifndef KELDOVAR_EXAMPLES_DIR
#error "KELDOVAR_EXAMPLES_DIR must name the examples folder"
#endif

namespace keldovar::bench {
namespace {

constexpr const char* kClock = "2026-12-07 10:00:00";

struct ProcessRun {
  bool ok = false;          // started, and exited with status 0
  double childSeconds = 0;  // user and system time of the child
};

double seconds(const timeval& t) {
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
}

// Runs the program with standard input, output and error on /dev/null, and waits for it.
ProcessRun runProcess(const std::vector<std::string>& args) {
  std::vector<std::string> copies = args;
  std::vector<char*> argv;
  argv.reserve(copies.size() + 1);
  for (std::string& arg : copies) argv.push_back(arg.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  int error = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ProcessRun run;
  if (error != 0) return run;

  int status = 0;
  rusage usage{};
  pid_t waited = 0;
  do {
    waited = ::wait4(pid, &status, 0, &usage);
  } while (waited < 0 && errno == EINTR);
  run.ok = waited == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  run.childSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
  return run;
}

void runBenchmark(benchmark::State& state, const std::vector<std::string>& args) {
  bool ok = true;
  double childSeconds = 0;
  for (auto _ : state) {
    ProcessRun run = runProcess(args);
    ok = ok && run.ok;
    childSeconds += run.childSeconds;
  }
  if (!ok) state.SkipWithError("keldovar-cli did not exit with status 0");
  // The child's own processor time, in milliseconds per run.
  state.counters["childCpu_ms"] =
      benchmark::Counter(childSeconds * 1e3, benchmark::Counter::kAvgIterations);
}

void BM_CliVersion(benchmark::State& state) {
  runBenchmark(state, {KELDOVAR_CLI_PATH, "--version"});
}

void registerBenchmarks() {
  benchmark::RegisterBenchmark("BM_CliVersion", BM_CliVersion)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();

  std::vector<std::filesystem::path> examples;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(KELDOVAR_EXAMPLES_DIR, error)) {
    if (entry.path().extension() == ".kdr") examples.push_back(entry.path());
  }
  std::sort(examples.begin(), examples.end());
  if (examples.empty()) {
    std::fprintf(stderr, "bench_cli: no examples (*.kdr) in %s\n", KELDOVAR_EXAMPLES_DIR);
  }
  for (const auto& example : examples) {
    std::vector<std::string> args = {KELDOVAR_CLI_PATH, "run", example.string(), "--clock", kClock};
    benchmark::RegisterBenchmark(("BM_CliRun/" + example.stem().string()).c_str(),
                                 [args](benchmark::State& state) { runBenchmark(state, args); })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
  }
}

// Registers the benchmarks before the shared main runs them.
[[maybe_unused]] const bool kRegistered = (registerBenchmarks(), true);

}  // namespace
}  // namespace keldovar::bench
