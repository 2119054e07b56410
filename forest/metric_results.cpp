// The inventory's columns in metric.
#include "forest/metric_results.h"

#include <array>

namespace keldovar::forest {
namespace {

using Q = Quantity;
constexpr ColumnUnit kPlain{};
constexpr ColumnUnit kHa{Q::Area};
constexpr ColumnUnit kMoney{Q::MoneyPerArea};
constexpr ColumnUnit kTrees{Q::PerArea};
constexpr ColumnUnit kBasal{Q::BasalArea};
constexpr ColumnUnit kVolume{Q::VolumePerArea};
constexpr ColumnUnit kTons{Q::MassPerArea};
constexpr ColumnUnit kBasalTotal{Q::BasalArea, Q::Area};
constexpr ColumnUnit kVolumeTotal{Q::Volume};
constexpr ColumnUnit kTonsTotal{Q::Mass};

constexpr std::array<ColumnUnit, kStandColumnCount> kStandUnits{
    kPlain, kPlain, kPlain, kHa,    kPlain, kPlain, kPlain, kPlain, kPlain, kMoney, kMoney,
    kMoney, kMoney, kPlain, kPlain, kTons,  kTons,  kTons,  kPlain, kPlain, kPlain};
constexpr std::array<std::string_view, kStandColumnCount> kMetricStandColumns = {
    "row",
    "stand",
    "kind",
    "hectares",
    "status",
    "messages",
    "tables",
    "rotation",
    "interest",
    "npv_pulpwood_ha",
    "npv_sawtimber_ha",
    "lev_pulpwood_ha",
    "lev_sawtimber_ha",
    "irr_pulpwood",
    "irr_sawtimber",
    "harvest_pulp_t_ha",
    "harvest_iu_pulp_t_ha",
    "harvest_saw_t_ha",
    "candidates",
    "refused",
    "script"};

constexpr std::array<ColumnUnit, kTableColumnCount> kTableUnits{
    kPlain, kPlain, kPlain, kPlain, kPlain,  kPlain, kTrees, kBasal, kVolume, kTons,
    kTons,  kTons,  kTrees, kBasal, kVolume, kTons,  kTons,  kTons,  kTons};
constexpr std::array<std::string_view, kTableColumnCount> kMetricTableColumns = {
    "row",
    "stand",
    "table",
    "year",
    "age",
    "label",
    "trees_per_ha",
    "basal_area_m2_ha",
    "volume_m3_ha",
    "pulp_t_ha",
    "iu_pulp_t_ha",
    "saw_t_ha",
    "removed_trees_per_ha",
    "removed_basal_area_m2_ha",
    "removed_volume_m3_ha",
    "removed_pulp_t_ha",
    "removed_iu_pulp_t_ha",
    "removed_saw_t_ha",
    "co2e_t_ha"};

constexpr std::array<ColumnUnit, kFlowColumnCount> kFlowUnits{kPlain, kPlain, kPlain, kMoney,
                                                              kMoney};
constexpr std::array<std::string_view, kFlowColumnCount> kMetricFlowColumns = {
    "row", "stand", "year", "pulpwood_ha", "sawtimber_ha"};

constexpr std::array<ColumnUnit, kForestColumns.size()> kForestUnits{
    kPlain,     kPlain,     kHa,        kPlain, kBasalTotal, kVolumeTotal, kTonsTotal,
    kTonsTotal, kTonsTotal, kTonsTotal, kTrees, kBasal,      kVolume,      kTons,
    kTons,      kTons,      kTons,      kPlain, kBasalTotal, kVolumeTotal, kTonsTotal,
    kTonsTotal, kTonsTotal, kPlain,     kPlain, kPlain,      kPlain};
constexpr std::array<std::string_view, kForestColumns.size()> kMetricForestColumns = {
    "year",
    "stands",
    "hectares",
    "trees",
    "basal_area_m2",
    "volume_m3",
    "pulp_t",
    "iu_pulp_t",
    "saw_t",
    "co2e_t",
    "trees_per_ha",
    "basal_area_m2_ha",
    "volume_m3_ha",
    "pulp_t_ha",
    "iu_pulp_t_ha",
    "saw_t_ha",
    "co2e_t_ha",
    "removed_trees",
    "removed_basal_area_m2",
    "removed_volume_m3",
    "removed_pulp_t",
    "removed_iu_pulp_t",
    "removed_saw_t",
    "cash_pulpwood",
    "cash_sawtimber",
    "pv_pulpwood",
    "pv_sawtimber"};

CellRow converted(CellRow row, std::span<const ColumnUnit> units) {
  for (std::size_t c = 0; c < row.size() && c < units.size(); ++c) {
    Cell& cell = row[c];
    if (cell.type != Cell::Type::Real) continue;
    cell.real = toMetric(units[c].then, toMetric(units[c].first, cell.real));
  }
  return row;
}

template <std::size_t N>
std::span<const std::string_view> namesIn(UnitSystem units,
                                          const std::array<std::string_view, N>& imperial,
                                          const std::array<std::string_view, N>& metric) {
  return units == UnitSystem::Metric ? std::span<const std::string_view>(metric)
                                     : std::span<const std::string_view>(imperial);
}

}  // namespace

std::span<const std::string_view> standColumns(UnitSystem units) {
  return namesIn(units, kStandColumns, kMetricStandColumns);
}
std::span<const std::string_view> tableColumns(UnitSystem units) {
  return namesIn(units, kTableColumns, kMetricTableColumns);
}
std::span<const std::string_view> flowColumns(UnitSystem units) {
  return namesIn(units, kFlowColumns, kMetricFlowColumns);
}
std::span<const std::string_view> forestColumns(UnitSystem units) {
  return namesIn(units, kForestColumns, kMetricForestColumns);
}

StandRecord shownRecord(const StandRecord& record, UnitSystem units) {
  if (units != UnitSystem::Metric) return record;
  StandRecord out;
  out.stand = converted(record.stand, kStandUnits);
  for (const CellRow& row : record.tables) out.tables.push_back(converted(row, kTableUnits));
  for (const CellRow& row : record.flows) out.flows.push_back(converted(row, kFlowUnits));
  out.passThrough = record.passThrough;
  return out;
}

CellRow shownForestRow(const ForestYear& year, UnitSystem units) {
  CellRow row = forestRow(year);
  return units == UnitSystem::Metric ? converted(std::move(row), kForestUnits) : row;
}

}  // namespace keldovar::forest
