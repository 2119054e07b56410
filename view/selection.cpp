// Hit test, the selection's state changes, and the text Copy takes from them.
#include "view/selection.h"

#include <algorithm>

#include "view/report_model.h"

namespace keldovar {
namespace {

constexpr int kLastColumn = kStockTableColumns - 1;

// The rows a table offers for selection: none when it is not stored or has no stock table.
int stockRows(const TableStore& store, int table) {
  if (table < 0 || table > std::min(store.lastIndex, kTableCapacity - 1)) return 0;
  int last = store.tables[static_cast<std::size_t>(table)].stockLast;
  return std::clamp(last, -1, kStockRowCapacity - 1) + 1;
}

// The first table shown, kept inside the store as the report model keeps it.
int firstShown(const TableStore& store) {
  return ReportModel(store, ReportOptions{store.firstShown}).firstIndex();
}

bool inRange(const CellAddress& cell) {
  return cell.table >= 0 && cell.table < kTableCapacity && cell.row >= 0 &&
         cell.row < kStockRowCapacity && cell.column >= 0 && cell.column <= kLastColumn;
}

}  // namespace

std::optional<CellAddress> hitTest(const ReportLayout& layout, int x, int y) {
  auto tables = layout.tables();
  if (tables.empty()) return std::nullopt;
  std::size_t i = 0;
  while (tables[i].positions.rowsEndY < y && i + 1 < tables.size()) ++i;
  const TableLayout& t = tables[i];
  const int h = layout.lineHeight();
  int top = t.positions.firstRowY;
  if (t.stockRows == 0 || y < top || x < 0 || x > t.colLeft[kStockTableColumns] ||
      y > top + t.stockRows * h) {
    return std::nullopt;
  }
  for (int c = 0; c < kStockTableColumns; ++c) {
    auto col = static_cast<std::size_t>(c);
    if (x >= t.colLeft[col] && x < t.colLeft[col + 1]) {
      return CellAddress{t.index, std::clamp((y - top) / h, 0, t.stockRows - 1), c};
    }
  }
  return std::nullopt;
}

bool Selection::isSelected(int table, int row, int column) const {
  if (table != selTable_ || row < 0 || row >= kStockRowCapacity || column < 0 ||
      column > kLastColumn) {
    return false;
  }
  return (cellBits_[static_cast<std::size_t>(row)] >> column & 1u) != 0;
}

void Selection::clearBits() {
  cellBits_.fill(0);
}

void Selection::clear() {
  clearBits();
  anchorRow_ = anchorCol_ = extentRow_ = extentCol_ = -1;
}

void Selection::reset() {
  clear();
  selTable_ = -1;
  selectAll_ = false;
  dragging_ = false;
}

void Selection::fill() {
  clearBits();
  int row1 = extentRow_ < 0 ? anchorRow_ : extentRow_;
  int col1 = extentCol_ < 0 ? anchorCol_ : extentCol_;
  int rowFrom = std::clamp(std::min(anchorRow_, row1), 0, kStockRowCapacity - 1);
  int rowTo = std::clamp(std::max(anchorRow_, row1), 0, kStockRowCapacity - 1);
  int colFrom = std::clamp(std::min(anchorCol_, col1), 0, kLastColumn);
  int colTo = std::clamp(std::max(anchorCol_, col1), 0, kLastColumn);
  std::uint32_t mask = ((1u << (colTo - colFrom + 1)) - 1u) << colFrom;
  for (int r = rowFrom; r <= rowTo; ++r) cellBits_[static_cast<std::size_t>(r)] = mask;
}

void Selection::selectOnly(int table, int row, int column) {
  selTable_ = table;
  anchorRow_ = row;
  anchorCol_ = column;
  extentRow_ = extentCol_ = -1;
  clearBits();
  cellBits_[static_cast<std::size_t>(row)] = 1u << column;
}

// Cell (0, 0) of the first table shown, where the keys start without a selection.
bool Selection::startAtFirst(const TableStore& store) {
  int first = firstShown(store);
  if (stockRows(store, first) == 0) return false;
  selectOnly(first, 0, 0);
  return true;
}

bool Selection::mouseDown(std::optional<CellAddress> hit) {
  selectAll_ = false;
  clear();
  selTable_ = -1;
  if (!hit || !inRange(*hit)) return false;
  selectOnly(hit->table, hit->row, hit->column);
  dragging_ = true;
  return true;
}

bool Selection::mouseMove(std::optional<CellAddress> hit) {
  if (!dragging_ || !hit || !inRange(*hit) || hit->table != selTable_) return false;
  bool hasExtent = extentRow_ >= 0;
  if (hasExtent && hit->row == extentRow_ && hit->column == extentCol_) return false;
  if (!hasExtent && hit->row == anchorRow_ && hit->column == anchorCol_) return false;
  extentRow_ = hit->row;
  extentCol_ = hit->column;
  fill();
  return true;
}

bool Selection::mouseUp() {
  bool captured = dragging_;
  dragging_ = false;
  return captured;
}

// Moves the extent one step within the table's stock rows and columns, starting it at the anchor.
bool Selection::step(const TableStore& store, int rowStep, int columnStep) {
  int rows = stockRows(store, selTable_);
  if (rows == 0) return false;
  if (extentRow_ < 0) {
    extentRow_ = anchorRow_;
    extentCol_ = anchorCol_;
  }
  extentRow_ = std::clamp(extentRow_ + rowStep, 0, rows - 1);
  extentCol_ = std::clamp(extentCol_ + columnStep, 0, kLastColumn);
  fill();
  return true;
}

bool Selection::extendUp(const TableStore& store) {
  return hasAnchor() && step(store, -1, 0);
}

bool Selection::extendLeft(const TableStore& store) {
  return hasAnchor() && step(store, 0, -1);
}

bool Selection::extendDown(const TableStore& store) {
  if (selTable_ < 0) return false;
  if (!hasAnchor()) return startAtFirst(store);
  return step(store, 1, 0);
}

bool Selection::extendRight(const TableStore& store) {
  if (store.lastIndex < 0) return false;
  if (!hasAnchor()) return startAtFirst(store);
  return step(store, 0, 1);
}

bool Selection::moveDown(const TableStore& store) {
  if (selTable_ < 0) return false;
  if (!hasAnchor()) return startAtFirst(store);
  int column = std::max(anchorCol_, 0);
  if (anchorRow_ + 1 < stockRows(store, selTable_)) {
    selectOnly(selTable_, anchorRow_ + 1, column);
    return true;
  }
  // Past the totals row into the next table that has a stock table; on the newest, stay.
  for (int t = selTable_ + 1; t <= std::min(store.lastIndex, kTableCapacity - 1); ++t) {
    if (stockRows(store, t) > 0) {
      selectOnly(t, 0, column);
      return true;
    }
  }
  return false;
}

bool Selection::moveUp(const TableStore& store) {
  if (!hasAnchor()) return false;
  int column = std::max(anchorCol_, 0);
  if (anchorRow_ > 0) {
    selectOnly(selTable_, std::min(anchorRow_ - 1, kStockRowCapacity - 1), column);
    return true;
  }
  // From row 0 to the totals row of the table above, but never above the first table shown.
  for (int t = selTable_ - 1; t >= firstShown(store); --t) {
    if (int rows = stockRows(store, t); rows > 0) {
      selectOnly(t, rows - 1, column);
      return true;
    }
  }
  return false;
}

bool Selection::moveLeft(const TableStore&) {
  if (!hasAnchor()) return false;
  selectOnly(selTable_, anchorRow_, std::max(anchorCol_ - 1, 0));
  return true;
}

bool Selection::moveRight(const TableStore& store) {
  if (store.lastIndex < 0) return false;
  if (!hasAnchor()) return startAtFirst(store);
  selectOnly(selTable_, anchorRow_, std::min(anchorCol_ + 1, kLastColumn));
  return true;
}

bool Selection::selectAllTables(const TableStore& store) {
  if (store.lastIndex < 0) return false;
  selectAll_ = true;
  return true;
}

bool Selection::copyEnabled(const TableStore& store) const {
  return store.lastIndex >= 0 && (hasAnchor() || selectAll_);
}

std::string Selection::copyText(const TableStore& store, bool showFinancial,
                                std::string_view lineEnd, const CarbonOptions& carbon) const {
  if (store.lastIndex < 0) return {};
  if (selectAll_) return selectAllText(store, showFinancial, lineEnd, carbon);
  if (!hasAnchor()) return {};
  if (extentRow_ < 0) return singleCellText(store, selTable_, anchorRow_, anchorCol_);
  return rectangleText(store, selTable_, anchorRow_, anchorCol_, extentRow_, extentCol_, lineEnd);
}

std::string Selection::copyText(const TableStore& store, const ReportOptions& options,
                                std::string_view lineEnd) const {
  if (store.lastIndex < 0) return {};
  if (selectAll_) {
    ReportOptions shown = options;
    shown.first = store.firstShown;
    return selectAllText(store, shown, lineEnd);
  }
  if (!hasAnchor()) return {};
  if (extentRow_ < 0)
    return singleCellText(store, selTable_, anchorRow_, anchorCol_, options.units);
  return rectangleText(store, selTable_, anchorRow_, anchorCol_, extentRow_, extentCol_, lineEnd,
                       options.units);
}

std::string Selection::copyCsv(const TableStore& store, UnitSystem units) const {
  if (selectAll_ || !hasAnchor()) return {};
  int row1 = extentRow_ < 0 ? anchorRow_ : extentRow_;
  int col1 = extentCol_ < 0 ? anchorCol_ : extentCol_;
  return rectangleCsvText(store, selTable_, anchorRow_, anchorCol_, row1, col1, kWindowsLineEnd,
                          units);
}

}  // namespace keldovar
