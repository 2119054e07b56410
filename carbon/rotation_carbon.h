// The carbon on the stump of one rotation, from its first table to its harvest: the points a
// stand history shows, the removals, and the average a carbon programme's baseline starts from.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "carbon/wood_products.h"

namespace keldovar::carbon {

// The stand's live tree carbon (aboveground and coarse roots), kg per acre, after a step.
struct StumpPoint {
  double age = 0;
  std::string label;  // the history record's
  double carbon = 0;
};

struct RotationCarbon {
  bool newPlantation = false;      // followed from planting: the first point is age 0, no carbon
  std::vector<StumpPoint> points;  // in the history's order; the harvest's point holds 0
  std::vector<Removal> removals;   // the thinnings, then the harvest
  double average = 0;  // kg per acre, averaged over the years from the first point to the harvest

  double startAge() const { return points.empty() ? 0 : points.front().age; }
  double harvestAge() const { return points.empty() ? 0 : points.back().age; }
  // The stump's carbon at `age`: straight lines between the points, the later of two points of
  // one age (after a thinning) from that age on.
  double carbonAt(double age) const;
};

// The rotation that the harvest table at `harvestIndex` closes: the tables of its steps are the
// ones just before it, one for each state record of its history (the initialization, each
// projection, each thinning's residual). Nothing when that table is no harvest or the store's
// tables do not match its history.
std::optional<RotationCarbon> rotationCarbon(const TableStore& store, int harvestIndex);

}  // namespace keldovar::carbon
