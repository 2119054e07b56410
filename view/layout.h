// The measuring pass of the report view: column widths, where every section of every shown
// table goes, the bar graph's place, and the size of the whole report page.
#pragma once

#include <array>
#include <span>
#include <string>
#include <vector>

#include "document/table_store.h"
#include "view/report_model.h"
#include "view/text_metrics.h"

namespace keldovar {

// All positions are logical units of 0.01 inch on the report page: x from the left edge, y from
// the top, growing downwards. A layout is a value of its own: the screen keeps one, a print job
// builds another for its page size, and neither touches the store. It copies the texts it shows,
// but a table's index and the bar graph it places refer to the store it was built from, so a
// layout is rebuilt after every change of store, font or option.

// What a painter draws for one item.
enum class ItemKind {
  Line,     // a report line, left-aligned, its top at (x, y)
  Heading,  // a group heading or one line of a column head, centred in its box
  Cell,     // a stock cell, centred in its box; drawn inverted when selected
  // The table's bar graph, its box from the title line to the end of the axis titles. Drawn from
  // the stored graph of the table (store.tables[index].bar) with the table's graphTitleY and
  // graphBaseY and the layout's graph() geometry, lineHeight() and charWidth().
  BarGraph,
};

struct LayoutItem {
  ItemKind kind = ItemKind::Line;
  int x = 0;
  int y = 0;
  int width = 0;   // Line: the measured width of the text; otherwise the box
  int height = 0;  // one line height, or the graph's whole height
  std::string text;
  int row = -1;     // Cell: the stock row (the last is the totals row)
  int column = -1;  // Cell: the column 0-7
};

// The bar graph's horizontal placement, the same for every table of a layout. A bar of the
// stored graph spans x = left * scale + x .. right * scale + x; y is not scaled.
struct GraphGeometry {
  int x = 0;        // the left margin that holds the trees axis labels: 6 character widths
  int width = 650;  // widened to the display on screen
  float scale = 1.0f;
};

struct TableLayout {
  int index = 0;   // the table in the store
  int top = 0;     // where the table starts
  int bottom = 0;  // where the next one starts
  std::array<int, kStockTableColumns> colWidth{};
  std::array<int, kStockTableColumns> colChars{};  // the field width of the column's values
  // Left edge of column c; colLeft[8] is the right edge of column 7.
  std::array<int, kStockTableColumns + 1> colLeft{};
  // Positions of the sections present; firstRowY and rowsEndY of a table without stock rows are
  // both the end of its summary, where its stock table would be.
  SectionPositions positions;
  int stockRows = 0;  // 0: nothing to select
  bool graphShown = false;
  int carbonY = 0;                // the Carbon section's first line, when it is shown
  std::vector<LayoutItem> items;  // in drawing order, top to bottom
};

struct LayoutParams {
  bool showFinancial = true;
  bool showBargraph = false;
  CarbonOptions carbon{};
  // The units the tables are shown in, and the metric view's currency and decimal separator.
  UnitSystem units = UnitSystem::Imperial;
  std::string currency = "$";
  char decimalSeparator = '.';
  // Print: a bar graph that would cross a multiple of pageHeight starts on the next page.
  bool forPrint = false;
  int pageHeight = 0;
  // Screen: the display's width in device pixels, to widen the bar graph to; 0 keeps it at 650.
  int displayWidth = 0;
  int logicalDpi = 100;  // device pixels per inch of the screen
};

class ReportLayout {
 public:
  // Before the first pass: no tables and an 800 x 800 page.
  ReportLayout() = default;
  // Lays out the store's tables from firstShown to the newest.
  ReportLayout(const TableStore& store, const TextMetrics& metrics, const LayoutParams& params);

  int lineHeight() const { return lineHeight_; }
  int charWidth() const { return charWidth_; }
  int docWidth() const { return docWidth_; }
  int docHeight() const { return docHeight_; }
  bool forPrint() const { return forPrint_; }
  UnitSystem units() const { return units_; }
  const GraphGeometry& graph() const { return graph_; }
  std::span<const TableLayout> tables() const { return tables_; }
  // The table with this store index, or null when it is not shown.
  const TableLayout* table(int index) const;
  // The store index of the shown table that spans page line `y`: the first above its top, the
  // last below its end; -1 when none is shown.
  int tableAt(int y) const;

 private:
  int lineHeight_ = 1;
  int charWidth_ = 1;
  int docWidth_ = 800;
  int docHeight_ = 800;
  bool forPrint_ = false;
  UnitSystem units_ = UnitSystem::Imperial;
  GraphGeometry graph_;
  std::vector<TableLayout> tables_;
};

// The start banner's box on an empty store: centred in a window `windowWidth` wide, or at its
// left edge when the window is narrower; the six lines go inside it.
struct BannerBox {
  int x = 0;
  int y = 20;
  int width = 0;
  int height = 0;
};
BannerBox bannerBox(const TextMetrics& metrics, int windowWidth);

}  // namespace keldovar
