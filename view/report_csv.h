// The report's tables as comma-separated values, one line per stock row: the batch runner's
// `--format csv` and the desktop program's File > Export Tables as CSV write the same lines.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "document/table_store.h"

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
    "lev_pulpwood,lev_sawtimber,irr_pulpwood,irr_sawtimber\n";

// The header, then one line per stock row of every table with stock rows, and one "Harvest" line
// with the LEV and IRR (percent) of every harvest table. Single-precision numbers are written
// with 9 significant digits and doubles with 17, so that they read back exactly.
std::string reportCsv(const TableStore& store, const HarvestValuation& valuation,
                      const CsvPart& part = {});

}  // namespace keldovar
