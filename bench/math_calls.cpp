// The linker's --wrap hands every call of bench_core's code to pow, exp, log and log10 to the
// functions below, which note the arguments while a recorder is active and call the library.
#include "bench/math_calls.h"

#include <cmath>

extern "C" {
double __real_pow(double x, double y);
double __real_exp(double x);
double __real_log(double x);
double __real_log10(double x);
}

namespace keldovar::bench {
namespace {

// The wrappers are free functions with the library's signatures, so they reach the recorder
// only through a variable; one per thread, so that other threads are never recorded.
thread_local MathCalls* active = nullptr;

}  // namespace

MathRecorder::MathRecorder() {
  active = &calls_;
}

MathRecorder::~MathRecorder() {
  active = nullptr;
}

double replayMathCalls(const MathCalls& calls) {
  double sum = 0;
  for (std::size_t i = 0; i < calls.powBase.size(); ++i) {
    sum += std::pow(calls.powBase[i], calls.powExponent[i]);
  }
  for (double x : calls.exp) sum += std::exp(x);
  for (double x : calls.log) sum += std::log(x);
  for (double x : calls.log10) sum += std::log10(x);
  return sum;
}

}  // namespace keldovar::bench

using keldovar::bench::active;

extern "C" {

double __wrap_pow(double x, double y) {
  if (active != nullptr) [[unlikely]] {
    active->powBase.push_back(x);
    active->powExponent.push_back(y);
  }
  return __real_pow(x, y);
}

double __wrap_exp(double x) {
  if (active != nullptr) [[unlikely]]
    active->exp.push_back(x);
  return __real_exp(x);
}

double __wrap_log(double x) {
  if (active != nullptr) [[unlikely]]
    active->log.push_back(x);
  return __real_log(x);
}

double __wrap_log10(double x) {
  if (active != nullptr) [[unlikely]]
    active->log10.push_back(x);
  return __real_log10(x);
}
}
