// The batch runner as a forester's shell script meets it: `keldovar-cli run` of each example
// regime and of a six-table regime as a whole process, started, run to its exit and waited for,
// its report sent to /dev/null; a run of 1,000 regimes in one process, as text and as JSON; and
// a `--version` run of the same program, the cost of the process alone.
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
#include <fstream>
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

// `regimes`: the scripts the run holds, for their rate per processor second (0: no rate).
void runBenchmark(benchmark::State& state, const std::vector<std::string>& args, int regimes = 1) {
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
  double runs = static_cast<double>(state.iterations());
  if (regimes > 0 && childSeconds > 0)
    state.counters["regimesPerCpuSecond"] = regimes * runs / childSeconds;
}

// The scripts written for the benchmarks, in a folder of their own that goes with the program.
class ScriptFolder {
 public:
  ScriptFolder()
      : dir_(std::filesystem::temp_directory_path() /
             ("keldovar-bench-cli-" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(dir_);
  }
  ~ScriptFolder() {
    std::error_code error;
    std::filesystem::remove_all(dir_, error);
  }
  ScriptFolder(const ScriptFolder&) = delete;
  ScriptFolder& operator=(const ScriptFolder&) = delete;

  std::string write(const std::string& name, const std::string& text) const {
    std::filesystem::path path = dir_ / name;
    std::ofstream(path) << text;
    return path.string();
  }

 private:
  std::filesystem::path dir_;
};

// A regime of six tables: planted, grown to 16, row-and-low thinned, grown to 26, thinned by
// Thinomatic, grown to 32.
constexpr const char* kSixTables =
    "plantation si=65 trees=600 survival=85 control=herbwoody\n"
    "grow 16\n"
    "thin rowlow ba=75 row=33\n"
    "grow 26\n"
    "thin thinomatic ba=90\n"
    "grow 32\n";

// Five steps, each storing a table: planted, grown, thinned, grown, harvested; the site index
// of the i-th of them varies so that no two are alike.
std::string fiveStepRegime(int i) {
  return "plantation si=" + std::to_string(55 + i % 20) +
         " trees=600 survival=85\ngrow 16\nthin thinomatic ba=70\ngrow 28\nharvest\n";
}

constexpr int kBatchRegimes = 1000;

void BM_CliVersion(benchmark::State& state) {
  runBenchmark(state, {KELDOVAR_CLI_PATH, "--version"}, 0);
}

void registerBenchmarks(const ScriptFolder& scripts) {
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
  examples.emplace_back(scripts.write("six-tables.kdr", kSixTables));
  for (const auto& example : examples) {
    std::vector<std::string> args = {KELDOVAR_CLI_PATH, "run", example.string(), "--clock", kClock};
    benchmark::RegisterBenchmark(("BM_CliRun/" + example.stem().string()).c_str(),
                                 [args](benchmark::State& state) { runBenchmark(state, args); })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
  }

  std::vector<std::string> batch = {KELDOVAR_CLI_PATH, "run", "--clock", kClock, "--jobs", "1"};
  for (int i = 0; i < kBatchRegimes; ++i) {
    batch.push_back(scripts.write("regime-" + std::to_string(i) + ".kdr", fiveStepRegime(i)));
  }
  for (const char* jobs : {"1", "2"}) {
    batch[5] = jobs;
    benchmark::RegisterBenchmark(
        (std::string("BM_CliBatch1000FiveStepRegimes/jobs:") + jobs).c_str(),
        [batch](benchmark::State& state) { runBenchmark(state, batch, kBatchRegimes); })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
  }
  // The same as JSON Lines, one process, one job.
  batch[5] = "1";
  batch.insert(batch.begin() + 2, {"--format", "json"});
  benchmark::RegisterBenchmark(
      "BM_CliBatch1000FiveStepRegimes/json/jobs:1",
      [batch](benchmark::State& state) { runBenchmark(state, batch, kBatchRegimes); })
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
}

// The scripts stay until the program ends; the benchmarks are registered before the shared
// main runs them.
const ScriptFolder kScripts;
[[maybe_unused]] const bool kRegistered = (registerBenchmarks(kScripts), true);

}  // namespace
}  // namespace keldovar::bench
