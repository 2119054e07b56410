// The diameter-distribution bar graph built from the engine's class arrays after every step.
#pragma once

#include <array>

#include "engine/stand_state.h"

namespace keldovar {

inline constexpr int kBarCapacity = 101;

// A bar outline in graph units: x from 1 to about 650, y from -300 (base line) upwards.
struct BarRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

struct BarGraph {
  float barMax = 0;  // the peak class value: the trees axis runs from 0 to it
  int barAge = 0;
  std::array<BarRect, kBarCapacity> bars{};
  int barLast = -1;                          // -1: no graph
  std::array<int, kBarCapacity> barValue{};  // trees per acre, rounded half up
  std::array<int, kBarCapacity> barClass{};  // DBH class, inches
};

// The trees axis: a tick every `step` trees, `count` ticks from 0.
struct AxisTicks {
  int step = 10;
  int count = 1;
};
AxisTicks treesAxis(float barMax);

// Rebuilds the graph from class index `first` of the stand's classes; returns the stand age.
int buildBarGraph(BarGraph& graph, const StandState& stand, int first);

}  // namespace keldovar
