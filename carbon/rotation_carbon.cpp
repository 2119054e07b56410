// A rotation's carbon on the stump from the tables of its steps.
#include "carbon/rotation_carbon.h"

#include <cmath>
#include <cstring>

namespace keldovar::carbon {
namespace {

std::string labelOf(const HistoryRecord& record) {
  return {record.label, strnlen(record.label, kLabelLength)};
}

double integral(const std::vector<StumpPoint>& points) {
  double area = 0;
  for (std::size_t i = 1; i < points.size(); ++i) {
    area += (points[i].age - points[i - 1].age) * (points[i].carbon + points[i - 1].carbon) / 2;
  }
  return area;
}

}  // namespace

double RotationCarbon::carbonAt(double age) const {
  if (points.empty()) return 0;
  if (age <= points.front().age) return points.front().carbon;
  std::size_t j = 0;
  while (j + 1 < points.size() && points[j + 1].age <= age) ++j;
  if (j + 1 == points.size()) return points.back().carbon;
  const StumpPoint& a = points[j];
  const StumpPoint& b = points[j + 1];
  return a.carbon + (b.carbon - a.carbon) * (age - a.age) / (b.age - a.age);
}

std::optional<RotationCarbon> rotationCarbon(const TableStore& store, int harvestIndex) {
  if (harvestIndex < 0 || harvestIndex > store.lastIndex || harvestIndex >= kTableCapacity) {
    return std::nullopt;
  }
  const ReportTable& harvest = store.tables[static_cast<std::size_t>(harvestIndex)];
  std::optional<Removal> cut = harvestRemoval(harvest);
  if (!cut) return std::nullopt;
  std::vector<const HistoryRecord*> states;
  for (int r = 1; r < harvest.historyLast; ++r) {
    const HistoryRecord& record = harvest.history[static_cast<std::size_t>(r)];
    if (record.basal_area > 0) states.push_back(&record);
  }
  int first = harvestIndex - static_cast<int>(states.size());
  if (states.empty() || first < 0) return std::nullopt;

  RotationCarbon rotation;
  rotation.newPlantation = labelOf(harvest.history[1]) == "Initialized Plantation";
  if (rotation.newPlantation) rotation.points.push_back({0, labelOf(harvest.history[0]), 0});
  for (std::size_t i = 0; i < states.size(); ++i) {
    int index = first + static_cast<int>(i);
    const ReportTable& table = store.tables[static_cast<std::size_t>(index)];
    if (table.bar.barAge != static_cast<int>(states[i]->age)) return std::nullopt;
    rotation.points.push_back(
        {states[i]->age, labelOf(*states[i]), carbonOf(standBiomass(table).tree())});
    if (i > 0) {
      const ReportTable& before = store.tables[static_cast<std::size_t>(index - 1)];
      if (std::optional<Removal> thinned = thinningRemoval(before, table)) {
        rotation.removals.push_back(*thinned);
      }
    }
  }
  rotation.removals.push_back(*cut);
  rotation.points.push_back({cut->age, "Harvest", 0});
  double years = rotation.harvestAge() - rotation.startAge();
  rotation.average = years > 0 ? integral(rotation.points) / years : rotation.points.front().carbon;
  return rotation;
}

}  // namespace keldovar::carbon
