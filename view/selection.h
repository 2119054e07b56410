// The report view's selection: which stock cells the mouse or the keys picked, or Select All;
// the hit test that turns a page position into a cell; and what Copy puts on the clipboard.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "document/table_store.h"
#include "view/copy_text.h"
#include "view/layout.h"

namespace keldovar {

// A stock cell: the table's store index, the row (the last is the totals row) and the column.
struct CellAddress {
  int table = -1;
  int row = -1;
  int column = -1;
  friend bool operator==(const CellAddress&, const CellAddress&) = default;
};

// The cell under a point of the report page (logical units, y from the top); none between
// tables, outside a stock table's rows or right of its last column. The window turns its pixels
// into page units and answers points outside its client area itself.
std::optional<CellAddress> hitTest(const ReportLayout& layout, int x, int y);

// Every command returns true when the window must repaint.
class Selection {
 public:
  int selTable() const { return selTable_; }
  int anchorRow() const { return anchorRow_; }
  int anchorCol() const { return anchorCol_; }
  int extentRow() const { return extentRow_; }  // -1 while a single cell is selected
  int extentCol() const { return extentCol_; }
  bool selectAll() const { return selectAll_; }
  bool dragging() const { return dragging_; }
  bool hasAnchor() const { return anchorRow_ >= 0; }
  bool isSelected(int table, int row, int column) const;

  // The full clear after every stored step and option toggle: bits, anchor and extent.
  // Select All stays.
  void clear();
  // Reset View: nothing selected, no Select All, no drag.
  void reset();

  // A press with the left button on `hit` (or on no cell). True when the mouse is to be captured.
  bool mouseDown(std::optional<CellAddress> hit);
  // A move while dragging: extends the rectangle within the table the drag began in.
  bool mouseMove(std::optional<CellAddress> hit);
  // Ends a drag; true when the capture is to be released.
  bool mouseUp();

  // Shift + arrow: grow or shrink the rectangle.
  bool extendUp(const TableStore& store);
  bool extendDown(const TableStore& store);
  bool extendLeft(const TableStore& store);
  bool extendRight(const TableStore& store);
  // Ctrl + Shift + arrow: move the single selected cell; up and down cross into the neighbouring
  // tables.
  bool moveUp(const TableStore& store);
  bool moveDown(const TableStore& store);
  bool moveLeft(const TableStore& store);
  bool moveRight(const TableStore& store);

  bool selectAllTables(const TableStore& store);

  // Copy is enabled with a table in the store and a cell selected or Select All on.
  bool copyEnabled(const TableStore& store) const;
  // Select All's whole report, the rectangle's tab-separated cells, or the single cell.
  std::string copyText(const TableStore& store, bool showFinancial,
                       std::string_view lineEnd = kWindowsLineEnd,
                       const CarbonOptions& carbon = {}) const;
  // The selected cells for spreadsheets (text/csv), with the columns' headings; empty with
  // Select All or nothing selected.
  std::string copyCsv(const TableStore& store, UnitSystem units = UnitSystem::Imperial) const;
  // Copy under every report option, the units and the metric view's money included.
  std::string copyText(const TableStore& store, const ReportOptions& options,
                       std::string_view lineEnd = kWindowsLineEnd) const;

 private:
  void clearBits();
  void fill();
  void selectOnly(int table, int row, int column);
  bool startAtFirst(const TableStore& store);
  bool step(const TableStore& store, int rowStep, int columnStep);

  int selTable_ = -1;
  int anchorRow_ = -1;
  int anchorCol_ = -1;
  int extentRow_ = -1;
  int extentCol_ = -1;
  std::array<std::uint32_t, kStockRowCapacity> cellBits_{};
  bool selectAll_ = false;
  bool dragging_ = false;
};

}  // namespace keldovar
