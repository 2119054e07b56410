// The random numbers of one Monte Carlo path: a generator seeded from the run's seed and the
// path's number alone, so a path draws the same numbers on whichever thread runs it.
#pragma once

#include <cmath>
#include <cstdint>
#include <numbers>
#include <utility>

namespace keldovar::econ {

// SplitMix64: each path's starting state is its number hashed with the seed, so the streams of
// neighbouring paths start far apart; a path draws a few dozen numbers at most.
class PathRandom {
 public:
  PathRandom(std::uint64_t seed, std::uint64_t path)
      : state_(mix(seed ^ mix(path + kGoldenGamma))) {}

  std::uint64_t next() {
    state_ += kGoldenGamma;
    return mix(state_);
  }
  // In (0, 1): never 0, so that its logarithm is finite.
  double uniform() { return (static_cast<double>(next() >> 11) + 0.5) * 0x1.0p-53; }
  // Two independent standard normal numbers (Box-Muller).
  std::pair<double, double> normals() {
    double radius = std::sqrt(-2 * std::log(uniform()));
    double angle = 2 * std::numbers::pi * uniform();
    return {radius * std::cos(angle), radius * std::sin(angle)};
  }

 private:
  static constexpr std::uint64_t kGoldenGamma = 0x9e3779b97f4a7c15ULL;
  static std::uint64_t mix(std::uint64_t z) {
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
  }

  std::uint64_t state_;
};

}  // namespace keldovar::econ
