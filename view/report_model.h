// What a shown report holds, in order: per table the sections present under the view options,
// their lines and rows, and the fixed texts and row formats of the stock and history tables.
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

#include <vector>

#include "document/table_store.h"
#include "view/carbon_section.h"
#include "view/metric_lines.h"

namespace keldovar {

// The sections of a table, in the order they are drawn and copied.
enum class SectionKind { Summary, Stock, BarGraph, Thinning, History, Financial, Carbon };
inline constexpr int kSectionKinds = 7;

// One present section: the lines above its rows, the number of rows, the lines below them.
// Summary, Thinning and Financial are lines only; Stock has its title line, its rows (the last
// is the totals row) and the conversion line; History its five heading lines, its records and
// its three footing lines (the ninth history line is stored but never shown); BarGraph has one
// row per bar and no lines.
struct ReportSection {
  SectionKind kind = SectionKind::Summary;
  std::span<const TableLine> heading;
  int rowCount = 0;
  std::span<const TableLine> footing;
};

// One shown table. Each section is present as the stored table says: Summary when the step wrote
// the stand summary, Stock with stock rows, BarGraph with bars and the graph option on, Thinning
// with a thinning report, History with history rows, Financial with lines and the financial
// option on, Carbon (lines only, worked out from the stock rows) with stock rows and the carbon
// option on. Counts are clamped to the table's capacities.
struct ShownTable {
  int index = 0;  // in the store
  const ReportTable* table = nullptr;
  std::array<ReportSection, kSectionKinds> sections{};
  int sectionCount = 0;
  // In metric, `table` and the lines are the converted ones, and its stock and history rows
  // are written with the metric formats (see appendStockRow).
  UnitSystem units = UnitSystem::Imperial;
  char decimalSeparator = '.';

  std::span<const ReportSection> present() const {
    return {sections.data(), static_cast<std::size_t>(sectionCount)};
  }
  const ReportSection* find(SectionKind kind) const;
  // The line below the stock table. Select All writes it even for a table without stock rows.
  const TableLine& conversionLine() const { return table->afterStockLines[0]; }
};

struct ReportOptions {
  int first = 0;  // the first table shown; clamped into the store
  bool showFinancial = true;
  bool showBargraph = true;
  CarbonOptions carbon{};
  UnitSystem units = UnitSystem::Imperial;  // the stored values are imperial
  // Only the metric view's shown text writes these; machine outputs keep "$" and '.'.
  std::string currency = "$";
  char decimalSeparator = '.';
};

// A view of the store: it must not outlive the store or a change to it.
class ReportModel {
 public:
  ReportModel(const TableStore& store, const ReportOptions& options);
  // The tables from the store's firstShown on, under the view's options.
  ReportModel(const TableStore& store, const ViewOptions& options);

  int size() const { return count_; }
  bool empty() const { return count_ == 0; }
  ShownTable table(int position) const;  // 0 <= position < size()
  int firstIndex() const { return first_; }

 private:
  const TableStore& store_;
  ReportOptions options_;
  int first_ = 0;
  int count_ = 0;
  std::vector<std::vector<TableLine>> carbonLines_;  // by position, with the carbon option
  std::vector<ReportTable> metric_;                  // by position, in metric only
};

// The stock table's columns: the word a column is measured with, its two-line head and the
// group heading above it.
struct StockColumnFace {
  std::string_view measure;
  std::string_view headTop;
  std::string_view headBottom;
  std::string_view group;
};
inline constexpr int kStockTableColumns = 8;
inline constexpr std::array<StockColumnFace, kStockTableColumns> kStockColumnFaces{{
    {"Class", "DBH", "Class", ""},
    {"Number", "Number", "Trees", ""},
    {"Average", "Average", "Height", ""},
    {"Basal", "Basal", "Area", ""},
    {"Volume", "OB", "Volume", "Total"},
    {"Volume", "Pulp", "Tons", "Total"},
    {"Integrated -", "Pulp", "Tons", "Integrated -"},
    {"Utilization", "Sawtimber", "Tons", "Utilization"},
}};

inline constexpr std::array<StockColumnFace, kStockTableColumns> kMetricStockColumnFaces{{
    {"Class", "DBH", "cm", ""},
    {"Number", "Trees", "per ha", ""},
    {"Average", "Height", "m", ""},
    {"Basal", "Basal Area", "m2/ha", ""},
    {"Volume", "OB Volume", "m3/ha", "Total"},
    {"Volume", "Pulp", "t/ha", "Total"},
    {"Integrated -", "Pulp", "t/ha", "Integrated -"},
    {"Utilization", "Sawtimber", "t/ha", "Utilization"},
}};
const std::array<StockColumnFace, kStockTableColumns>& stockColumnFaces(UnitSystem units);

// The column heads of the stock table as Select All writes them.
inline constexpr std::array<std::string_view, 3> kStockTextHeading{
    "   -          -         -         -     Total     Total    Integrated-  Utilization",
    " DBH      Number   Average     Basal       OB      Pulp      Pulp       Sawtimber",
    " Class     Trees    Height      Area   Volume      Tons      Tons       Tons"};
// And in metric, where the class takes 10 characters for its bounds.
inline constexpr std::array<std::string_view, 3> kMetricStockTextHeading{
    "         -         -         -         -     Total     Total    Integrated-  Utilization",
    "       DBH    Number   Average     Basal        OB      Pulp      Pulp       Sawtimber",
    "        cm  Trees/ha  Height m     m2/ha     m3/ha      t/ha      t/ha       t/ha"};
const std::array<std::string_view, 3>& stockTextHeading(UnitSystem units);

// How a shown table writes its numbers: its units and, in metric, its decimal separator.
struct RowStyle {
  UnitSystem units = UnitSystem::Imperial;
  char decimalSeparator = '.';
};
inline RowStyle rowStyleOf(const ShownTable& shown) {
  return {shown.units, shown.decimalSeparator};
}

// A stock cell as the view draws it, right-aligned in `width` characters: "%d" of the DBH class,
// "%.1f" of the other columns; on the totals row "Total" for the class and nothing for the
// height. In metric (the table's values already converted) the class is its centimetre bounds
// "low-high" and each column has the decimals that keep its round trip.
std::string stockCellText(const ReportTable& table, int row, int column, int width,
                          RowStyle style = {});
void appendStockCell(std::string& out, const ReportTable& table, int row, int column, int width,
                     RowStyle style = {});
// A stock row as Select All writes it: the class in 5 characters (10 in metric), the rest in 10
// each.
std::string stockRowText(const ReportTable& table, int row, RowStyle style = {});
void appendStockRow(std::string& out, const ReportTable& table, int row, RowStyle style = {});

// One stand history row as Select All writes it and the view measures it; a metric record's
// figures are written with the decimals that keep their round trip, in the same fields.
std::string historyRowText(const HistoryRecord& record, RowStyle style = {});
void appendHistoryRow(std::string& out, const HistoryRecord& record, RowStyle style = {});
// The same row as the view draws it, with a label one character narrower.
std::string historyRowDrawnText(const HistoryRecord& record, RowStyle style = {});
// The widest history row the view makes room for.
std::string historySampleRowText(RowStyle style = {});

}  // namespace keldovar
