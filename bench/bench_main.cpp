// The main of every bench_* program: Google Benchmark with repeated runs by default, so that a
// plain run (as `make bench` does it) prints the median of several repetitions.
#include "bench/bench_main.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

bool hasFlag(int argc, char** argv, const char* name) {
  std::size_t length = std::strlen(name);
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], name, length) == 0) return true;
  }
  return false;
}

}  // namespace

namespace keldovar::bench {

int runBenchmarks(int argc, char** argv) {
  std::vector<std::string> args(argv, argv + argc);
  // Defaults that any flag of the same name given on the command line replaces.
  if (!hasFlag(argc, argv, "--benchmark_repetitions")) {
    args.emplace_back("--benchmark_repetitions=5");
  }
  if (!hasFlag(argc, argv, "--benchmark_display_aggregates_only") &&
      !hasFlag(argc, argv, "--benchmark_report_aggregates_only")) {
    args.emplace_back("--benchmark_display_aggregates_only=true");
  }
  std::vector<char*> pointers;
  pointers.reserve(args.size() + 1);
  for (std::string& arg : args) pointers.push_back(arg.data());
  pointers.push_back(nullptr);
  int count = static_cast<int>(args.size());

  benchmark::Initialize(&count, pointers.data());
  if (benchmark::ReportUnrecognizedArguments(count, pointers.data())) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

}  // namespace keldovar::bench

#ifndef KELDOVAR_BENCH_OWN_MAIN
int main(int argc, char** argv) {
  return keldovar::bench::runBenchmarks(argc, argv);
}
#endif
