// The report's tables as comma-separated values, one line per stock row: the batch runner's
// `--format csv` and the desktop program's File > Export Tables as CSV write the same lines.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "document/table_store.h"
#include "units/units.h"

namespace keldovar {

// A harvest table's land expectation values (dollars) and rates of return (fractions) under
// pulpwood and under sawtimber management; a value the table's figures do not give stays empty.
struct HarvestCells {
  std::optional<double> levPulpwood;
  std::optional<double> levSawtimber;
  std::optional<double> irrPulpwood;
  std::optional<double> irrSawtimber;
};
// Values a table's harvest, or gives nothing for a table without one.
using HarvestValuation = std::function<std::optional<HarvestCells>(const ReportTable&)>;

// What goes out: every table from `firstTable` on, or, when `rowsOfTable` is a table, only its
// stock rows `firstRow` to `lastRow` (either order) and no harvest line.
struct CsvPart {
  int firstTable = 0;
  int rowsOfTable = -1;
  int firstRow = 0;
  int lastRow = 0;
};

inline constexpr const char* kCsvHeader =
    "table,age,dbh,trees,height,basal_area,ob_volume,pulp_tons,iu_pulp_tons,saw_tons,"
    "lev_pulpwood,lev_sawtimber,irr_pulpwood,irr_sawtimber,biomass_tons,carbon_tons,co2e_tons,"
    "removed_carbon_tons,pulpwood_carbon_tons,sawtimber_carbon_tons,stored_100_carbon_tons\n";

// The header, then one line per stock row of every table with stock rows, and one "Harvest" line
// with the LEV and IRR (percent) of every harvest table. Single-precision numbers are written
// with 9 significant digits and doubles with 17, so that they read back exactly. The carbon
// columns come last, added after the others so that a reader of the older lines finds them in
// place: a stock row's live tree biomass, carbon and CO2e (short tons per acre), and on the
// totals row of a thinning or harvest table the carbon it removed, in pulpwood and sawtimber,
// and what of it products still keep after 100 years; empty on a harvest line.
std::string reportCsv(const TableStore& store, const HarvestValuation& valuation,
                      const CsvPart& part = {}, UnitSystem units = UnitSystem::Imperial);

// The metric CSV's header: the same columns in the same places, named in metric units (per
// hectare, metres, tonnes, money per hectare), and two more at the end, the class's bounds in
// centimetres (the dbh column keeps the inch class).
inline constexpr const char* kMetricCsvHeader =
    "table,age,dbh,trees_per_ha,height_m,basal_area_m2_ha,ob_volume_m3_ha,pulp_t_ha,"
    "iu_pulp_t_ha,saw_t_ha,lev_pulpwood_ha,lev_sawtimber_ha,irr_pulpwood,irr_sawtimber,"
    "biomass_t_ha,carbon_t_ha,co2e_t_ha,removed_carbon_t_ha,pulpwood_carbon_t_ha,"
    "sawtimber_carbon_t_ha,stored_100_carbon_t_ha,dbh_low_cm,dbh_high_cm\n";

}  // namespace keldovar
