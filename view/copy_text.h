// The text that Copy puts on the clipboard: one cell, a rectangle of cells, or the whole report.
#pragma once

#include <string>
#include <string_view>

#include "document/table_store.h"
#include "view/report_model.h"

namespace keldovar {

inline constexpr std::string_view kWindowsLineEnd = "\r\n";
inline constexpr std::string_view kUnixLineEnd = "\n";

// One stock cell: "%d" of the DBH class, "%.1f" of any other column; no line end.
// In metric (here and below) a cell is as the metric view draws it: the class by its bounds in
// cm, the rest converted with their metric decimals.
std::string singleCellText(const TableStore& store, int table, int row, int column,
                           UnitSystem units = UnitSystem::Imperial);

// The cells of rows row0..row1 and columns col0..col1 (either order) of one stock table:
// tab-separated, rows separated by the line end, none after the last. The totals row is copied
// as numbers.
std::string rectangleText(const TableStore& store, int table, int row0, int col0, int row1,
                          int col1, std::string_view lineEnd = kWindowsLineEnd,
                          UnitSystem units = UnitSystem::Imperial);

// The same cells for spreadsheets, comma-separated, under a first line with the headings of the
// selected columns ("DBH Class", ..., "Utilization Sawtimber Tons").
std::string rectangleCsvText(const TableStore& store, int table, int row0, int col0, int row1,
                             int col1, std::string_view lineEnd = kWindowsLineEnd,
                             UnitSystem units = UnitSystem::Imperial);

// Every shown table (from firstShown to the newest) as report text.
std::string selectAllText(const TableStore& store, bool showFinancial,
                          std::string_view lineEnd = kWindowsLineEnd,
                          const CarbonOptions& carbon = {});
// The same from table `first` on; the Carbon section follows a table's financial lines.
std::string selectAllText(const TableStore& store, int first, bool showFinancial,
                          std::string_view lineEnd, const CarbonOptions& carbon = {});
// The same under every report option: the first table, the sections shown, the units.
std::string selectAllText(const TableStore& store, const ReportOptions& options,
                          std::string_view lineEnd);

}  // namespace keldovar
