// The inventory's results in metric, converted at the writers from the stored imperial records:
// each output column's unit, its metric name, and the cells converted. The SQLite results, the
// state a run resumes and shards merge from, stay imperial.
#pragma once

#include <span>
#include <string_view>

#include "forest/result_record.h"
#include "units/units.h"

namespace keldovar::forest {

// What a column holds: a quantity, or two applied one after the other (a forest's total basal
// area, sq ft, is basal area per acre times acres: m2/ha times ha).
struct ColumnUnit {
  Quantity first = Quantity::Plain;
  Quantity then = Quantity::Plain;
};

// The columns' names in metric, in the order of kStandColumns, kTableColumns, kFlowColumns and
// kForestColumns.
std::span<const std::string_view> standColumns(UnitSystem units);
std::span<const std::string_view> tableColumns(UnitSystem units);
std::span<const std::string_view> flowColumns(UnitSystem units);
std::span<const std::string_view> forestColumns(UnitSystem units);

// The record's and the forest row's cells as the unit system shows them.
StandRecord shownRecord(const StandRecord& record, UnitSystem units);
CellRow shownForestRow(const ForestYear& year, UnitSystem units);

}  // namespace keldovar::forest
