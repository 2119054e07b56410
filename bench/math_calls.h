// The math-library calls a piece of code makes, recorded while it runs and replayed alone: the
// floor under its time. bench_core is linked with --wrap for pow, exp, log and log10.
#pragma once

#include <cstddef>
#include <vector>

namespace keldovar::bench {

struct MathCalls {
  std::vector<double> powBase, powExponent, exp, log, log10;

  std::size_t size() const { return powBase.size() + exp.size() + log.size() + log10.size(); }
};

// Records every call of this thread's code to the four functions until the recorder is dropped.
class MathRecorder {
 public:
  MathRecorder();
  ~MathRecorder();
  MathRecorder(const MathRecorder&) = delete;
  MathRecorder& operator=(const MathRecorder&) = delete;

  const MathCalls& calls() const { return calls_; }

 private:
  MathCalls calls_;
};

// Makes the recorded calls again with the same arguments; returns the sum of the results.
double replayMathCalls(const MathCalls& calls);

}  // namespace keldovar::bench
