// Runs the benchmarks of a bench_* program with the project's default options; a program that
// needs something set up first (the Qt ones) calls it from its own main.
#pragma once

namespace keldovar::bench {

int runBenchmarks(int argc, char** argv);

}  // namespace keldovar::bench
