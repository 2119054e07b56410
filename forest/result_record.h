// A stand's results as the outputs hold them: cells in the columns every format shares (a
// row a stand, a row a table, a row a cash flow), and the forest's years likewise. Writers,
// the forest's totals, the merge of shards and a resumed run all read these records, so that
// each number is written once and reads back the same.
#pragma once

#include <array>
#include <optional>
#include <string_view>
#include <vector>

#include "forest/forest_totals.h"
#include "forest/inventory.h"
#include "forest/stand_result.h"

namespace keldovar::forest {

enum StandColumn {
  kStandRow,
  kStandId,
  kStandKind,
  kStandAcres,
  kStandStatus,
  kStandMessages,
  kStandTables,
  kStandRotation,
  kStandInterest,
  kStandNpvPulpwood,
  kStandNpvSawtimber,
  kStandLevPulpwood,
  kStandLevSawtimber,
  kStandIrrPulpwood,
  kStandIrrSawtimber,
  kStandHarvestPulp,
  kStandHarvestIUPulp,
  kStandHarvestSaw,
  kStandCandidates,
  kStandRefused,
  kStandScript,
  kStandColumnCount
};
inline constexpr std::array<std::string_view, kStandColumnCount> kStandColumns = {
    "row",
    "stand",
    "kind",
    "acres",
    "status",
    "messages",
    "tables",
    "rotation",
    "interest",
    "npv_pulpwood",
    "npv_sawtimber",
    "lev_pulpwood",
    "lev_sawtimber",
    "irr_pulpwood",
    "irr_sawtimber",
    "harvest_pulp_tons",
    "harvest_iu_pulp_tons",
    "harvest_saw_tons",
    "candidates",
    "refused",
    "script"};

enum TableColumn {
  kTableRow,
  kTableStand,
  kTableIndex,
  kTableYear,
  kTableAge,
  kTableLabel,
  kTableStanding,
  kTableRemoved = kTableStanding + 6,
  kTableCo2e = kTableRemoved + 6,
  kTableColumnCount
};
inline constexpr std::array<std::string_view, kTableColumnCount> kTableColumns = {
    "row",
    "stand",
    "table",
    "year",
    "age",
    "label",
    "trees",
    "basal_area",
    "volume",
    "pulp_tons",
    "iu_pulp_tons",
    "saw_tons",
    "removed_trees",
    "removed_basal_area",
    "removed_volume",
    "removed_pulp_tons",
    "removed_iu_pulp_tons",
    "removed_saw_tons",
    "co2e"};

enum FlowColumn {
  kFlowRow,
  kFlowStand,
  kFlowYear,
  kFlowPulpwood,
  kFlowSawtimber,
  kFlowColumnCount
};
inline constexpr std::array<std::string_view, kFlowColumnCount> kFlowColumns = {
    "row", "stand", "year", "pulpwood", "sawtimber"};

inline constexpr std::array<std::string_view, 27> kForestColumns = {"year",
                                                                    "stands",
                                                                    "acres",
                                                                    "trees",
                                                                    "basal_area",
                                                                    "volume",
                                                                    "pulp_tons",
                                                                    "iu_pulp_tons",
                                                                    "saw_tons",
                                                                    "co2e",
                                                                    "trees_per_acre",
                                                                    "basal_area_per_acre",
                                                                    "volume_per_acre",
                                                                    "pulp_tons_per_acre",
                                                                    "iu_pulp_tons_per_acre",
                                                                    "saw_tons_per_acre",
                                                                    "co2e_per_acre",
                                                                    "removed_trees",
                                                                    "removed_basal_area",
                                                                    "removed_volume",
                                                                    "removed_pulp_tons",
                                                                    "removed_iu_pulp_tons",
                                                                    "removed_saw_tons",
                                                                    "cash_pulpwood",
                                                                    "cash_sawtimber",
                                                                    "pv_pulpwood",
                                                                    "pv_sawtimber"};

using CellRow = std::vector<Cell>;

struct StandRecord {
  CellRow stand;                // kStandColumns
  std::vector<CellRow> tables;  // kTableColumns
  std::vector<CellRow> flows;   // kFlowColumns
  CellRow passThrough;          // the inventory's carried columns
};

StandRecord recordOf(const StandResult& result);
CellRow forestRow(const ForestYear& year);

// A number cell's value (integers too); nothing for an empty one.
std::optional<double> numberOf(const Cell& cell);
Cell realCell(std::optional<double> value);
Cell integerCell(std::int64_t value);

// "ok" when every step ran.
inline constexpr std::string_view kStatusOk = "ok";
inline constexpr std::string_view kStatusFailed = "failed";

}  // namespace keldovar::forest
