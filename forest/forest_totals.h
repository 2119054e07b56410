// The forest by year: each stand's tables and cash flows weighted by its acres and added up,
// stand after stand in the inventory's order, so that every run of the same stands (one
// process, shards merged, a resumed run) gives the same sums to the bit.
#pragma once

#include <map>
#include <optional>
#include <vector>

#include "forest/stand_result.h"

namespace keldovar::forest {

struct ForestYear {
  double year = 0;
  int stands = 0;    // the stands with a table in this year
  double acres = 0;  // their area
  Figures standing;  // after the year's last step of each stand, times its acres
  double co2e = 0;
  Figures removed;          // by the year's thinnings and harvests
  double cashPulpwood = 0;  // every stand's cash flows of the year, times its acres
  double cashSawtimber = 0;
  double pvPulpwood = 0;  // the same at the inventory's date, at each stand's interest rate
  double pvSawtimber = 0;
};

// A total per acre of the year's stands; nothing in a year of cash flows alone.
std::optional<double> perAcre(double total, const ForestYear& year);

struct StandRecord;

class ForestTotals {
 public:
  // Counts the stands that ran through; a stand that failed is left out.
  void add(const StandRecord& stand);
  std::vector<ForestYear> years() const;
  int stands() const { return stands_; }
  double acres() const { return acres_; }

 private:
  std::map<double, ForestYear> years_;
  int stands_ = 0;
  double acres_ = 0;

  ForestYear& yearAt(double year);
};

}  // namespace keldovar::forest
