// Measuring the shown tables: column widths, section positions, the graph and the page size.
#include "view/layout.h"

#include <algorithm>
#include <cstdio>

#include "engine/numeric.h"

namespace keldovar {
namespace {

// Room around the sections and the columns, in logical units.
constexpr int kColumnPad = 25;
constexpr int kSectionGap = 13;
constexpr int kThinningGap = 20;
constexpr int kHistoryGap = 33;
constexpr int kLinePad = 20;
constexpr int kPageEndPad = 13;
constexpr int kGraphHeight = 300;
constexpr int kGraphTitleGap = 20;
constexpr int kGraphPad = 20;
constexpr int kGraphMarginChars = 6;
constexpr int kGraphUnits = 650;
constexpr int kDisplayMargin = 100;
constexpr int kPageTopGap = 20;
constexpr int kSummaryLines = kSummaryLineCount;
constexpr int kThinningLines = kThinLineCount;
constexpr int kHistoryHeadLines = 5;
constexpr int kHistoryFootLines = 4;  // the three footing lines and one blank

// Metrics of a foreign device or font may be anything; within these the page arithmetic of 100
// tables of 101 rows stays far inside int.
constexpr int kMaxLineHeight = 10000;
constexpr int kMaxTextWidth = 1000000;
constexpr int kMaxPageHeight = 100000000;
constexpr int kTotalsHeightColumn = 2;

class Measure {
 public:
  explicit Measure(const TextMetrics& metrics) : metrics_(metrics) {}
  int operator()(std::string_view text) const {
    return std::clamp(metrics_.textWidth(text), 0, kMaxTextWidth);
  }

 private:
  const TextMetrics& metrics_;
};

// The value as the field width is found from it: the class as "%d", the others "%.1f"; the
// totals row's height is empty, but its class is still the stored number here.
std::string plainValue(const ReportTable& table, int row, int column, RowStyle style) {
  if (row == table.stockLast && column == kTotalsHeightColumn) return {};
  if (style.units == UnitSystem::Metric) {
    return row == table.stockLast && column == 0 ? "Total"
                                                 : stockCellText(table, row, column, 0, style);
  }
  float value = table.stock[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
  char text[64];
  if (column == 0) {
    std::snprintf(text, sizeof text, "%d", truncToInt(static_cast<double>(value)));
  } else {
    std::snprintf(text, sizeof text, "%.1f", static_cast<double>(value));
  }
  return text;
}

// The drawn cell: what "%*d" or "%*.1f" with the column's field width gives, with "Total" and the
// empty height on the totals row.
std::string drawnCell(const ReportTable& table, int row, int column, std::string plain, int chars) {
  if (row == table.stockLast && column == 0) plain = "Total";
  auto pad = static_cast<std::size_t>(std::max(chars, 0));
  if (plain.size() < pad) plain.insert(0, pad - plain.size(), ' ');
  return plain;
}

struct Context {
  Measure measure;
  int h = 1;
  LayoutParams params;
  GraphGeometry graph;
};

// Column widths of one table, and the texts of its stock cells, which are formatted once for
// both (row by row).
std::vector<std::string> measureColumns(const ShownTable& shown, int rows, const Measure& measure,
                                        TableLayout& out) {
  const ReportTable& table = *shown.table;
  RowStyle style = rowStyleOf(shown);
  const auto& faces = stockColumnFaces(shown.units);
  std::vector<std::string> cells(static_cast<std::size_t>(rows * kStockTableColumns));
  auto at = [&](int r, int c) -> std::string& {
    return cells[static_cast<std::size_t>(r * kStockTableColumns + c)];
  };
  for (int c = 0; c < kStockTableColumns; ++c) {
    auto col = static_cast<std::size_t>(c);
    out.colWidth[col] = measure(faces[col].measure) + kColumnPad;
    if (shown.units == UnitSystem::Metric) {
      out.colWidth[col] = std::max(out.colWidth[col], measure(faces[col].headTop) + kColumnPad);
      out.colWidth[col] = std::max(out.colWidth[col], measure(faces[col].headBottom) + kColumnPad);
    }
    out.colChars[col] = 0;
    for (int r = 0; r < rows; ++r) {
      at(r, c) = plainValue(table, r, c, style);
      out.colChars[col] = std::max(out.colChars[col], static_cast<int>(at(r, c).size()));
    }
    for (int r = 0; r < rows; ++r) {
      at(r, c) = drawnCell(table, r, c, std::move(at(r, c)), out.colChars[col]);
      out.colWidth[col] = std::max(out.colWidth[col], measure(at(r, c)) + kColumnPad);
    }
    out.colLeft[col + 1] = out.colLeft[col] + out.colWidth[col];
  }
  return cells;
}

// The bar graph below position p; on paper it starts on the next page rather than cross a break.
int placeGraph(int p, const Context& ctx, SectionPositions& pos) {
  auto place = [&](int titleY) {
    pos.graphTitleY = titleY;
    pos.graphBaseY = titleY + ctx.h + kGraphTitleGap;
    return pos.graphBaseY + 3 * ctx.h + kGraphHeight;
  };
  int end = place(p + kSectionGap);
  int page = std::min(ctx.params.pageHeight, kMaxPageHeight);
  if (ctx.params.forPrint && page > 0 && pos.graphTitleY / page != end / page) {
    end = place((pos.graphTitleY / page + 1) * page + kPageTopGap);
  }
  return end;
}

// Section positions from y down; returns where the next table starts.
int placeSections(const ShownTable& shown, int y, const Context& ctx, TableLayout& out) {
  const ReportTable& t = *shown.table;
  SectionPositions& pos = out.positions;
  const int h = ctx.h;
  pos.titleY = y + kSectionGap;
  int p = pos.titleY + kSummaryLines * h;
  pos.firstRowY = pos.rowsEndY = p;
  if (out.stockRows > 0) {
    pos.beforeStockY = p + kSectionGap;
    pos.groupTopY = pos.beforeStockY + h;
    pos.headTopY = pos.beforeStockY + 2 * h;
    pos.firstRowY = pos.headTopY + 2 * h;
    pos.rowsEndY = pos.firstRowY + out.stockRows * h;
    pos.afterStockY = pos.rowsEndY + kSectionGap;
    p = pos.afterStockY + h;
  }
  if (out.graphShown) p = placeGraph(p, ctx, pos);
  if (t.hasThinningReport != 0) {
    pos.thinningY = p + kThinningGap;
    p = pos.thinningY + kThinningLines * h;
  }
  if (const ReportSection* history = shown.find(SectionKind::History)) {
    pos.historyHeadY = p + kHistoryGap;
    pos.historyRowsY = pos.historyHeadY + kHistoryHeadLines * h;
    pos.historyFootY = pos.historyRowsY + history->rowCount * h;
    p = pos.historyFootY + kHistoryFootLines * h;
  }
  if (const ReportSection* financial = shown.find(SectionKind::Financial)) {
    pos.financialY = p + kHistoryGap;
    p = pos.financialY + static_cast<int>(financial->heading.size()) * h;
  }
  if (const ReportSection* carbonSection = shown.find(SectionKind::Carbon)) {
    out.carbonY = p + kHistoryGap;
    p = out.carbonY + static_cast<int>(carbonSection->heading.size()) * h;
  }
  return p;
}

void addLines(std::span<const TableLine> lines, int y, const Context& ctx, TableLayout& out) {
  for (const TableLine& line : lines) {
    out.items.push_back({ItemKind::Line, 0, y, ctx.measure(line), ctx.h, std::string(line)});
    y += ctx.h;
  }
}

void addBox(ItemKind kind, const TableLayout& t, int column, int y, int h, std::string text,
            TableLayout& out) {
  auto c = static_cast<std::size_t>(column);
  out.items.push_back({kind, t.colLeft[c], y, t.colWidth[c], h, std::move(text)});
}

void addStockTable(const ShownTable& shown, std::vector<std::string>& cells, const Context& ctx,
                   TableLayout& out) {
  const SectionPositions& pos = out.positions;
  const int h = ctx.h;
  addLines(shown.find(SectionKind::Stock)->heading, pos.beforeStockY, ctx, out);
  const auto& faces = stockColumnFaces(shown.units);
  for (int c = 0; c < kStockTableColumns; ++c) {
    const StockColumnFace& face = faces[static_cast<std::size_t>(c)];
    if (!face.group.empty()) {
      addBox(ItemKind::Heading, out, c, pos.groupTopY, h, std::string(face.group), out);
    }
  }
  for (int c = 0; c < kStockTableColumns; ++c) {
    std::string_view top = faces[static_cast<std::size_t>(c)].headTop;
    addBox(ItemKind::Heading, out, c, pos.headTopY, h, std::string(top), out);
  }
  for (int c = 0; c < kStockTableColumns; ++c) {
    std::string_view bottom = faces[static_cast<std::size_t>(c)].headBottom;
    addBox(ItemKind::Heading, out, c, pos.headTopY + h, h, std::string(bottom), out);
  }
  for (std::size_t i = 0; i < cells.size(); ++i) {
    int row = static_cast<int>(i) / kStockTableColumns;
    int column = static_cast<int>(i) % kStockTableColumns;
    addBox(ItemKind::Cell, out, column, pos.firstRowY + row * h, h, std::move(cells[i]), out);
    out.items.back().row = row;
    out.items.back().column = column;
  }
  addLines(shown.find(SectionKind::Stock)->footing, pos.afterStockY, ctx, out);
}

void addItems(const ShownTable& shown, std::vector<std::string>& cells, const Context& ctx,
              TableLayout& out) {
  const ReportTable& t = *shown.table;
  const SectionPositions& pos = out.positions;
  if (t.hasStandTable != 0 || out.stockRows > 0) addLines(t.titleLines, pos.titleY, ctx, out);
  if (out.stockRows > 0) addStockTable(shown, cells, ctx, out);
  if (out.graphShown) {
    int height = pos.graphBaseY + 3 * ctx.h + kGraphHeight - pos.graphTitleY;
    out.items.push_back({ItemKind::BarGraph,
                         0,
                         pos.graphTitleY,
                         ctx.graph.x + ctx.graph.width + kGraphPad,
                         height,
                         {}});
  }
  if (const ReportSection* thinning = shown.find(SectionKind::Thinning)) {
    addLines(thinning->heading, pos.thinningY, ctx, out);
  }
  if (const ReportSection* history = shown.find(SectionKind::History)) {
    addLines(history->heading, pos.historyHeadY, ctx, out);
    for (int r = 0; r < history->rowCount; ++r) {
      std::string row =
          historyRowDrawnText(t.history[static_cast<std::size_t>(r)], rowStyleOf(shown));
      int width = ctx.measure(row);
      out.items.push_back({ItemKind::Line, 0, pos.historyRowsY + r * ctx.h, width, ctx.h, row});
    }
    addLines(history->footing, pos.historyFootY, ctx, out);
  }
  if (const ReportSection* financial = shown.find(SectionKind::Financial)) {
    addLines(financial->heading, pos.financialY, ctx, out);
  }
  if (const ReportSection* carbonSection = shown.find(SectionKind::Carbon)) {
    addLines(carbonSection->heading, out.carbonY, ctx, out);
  }
}

// The page width this table needs beyond its stock columns.
int tableWidth(const ShownTable& shown, const TableLayout& out, const Context& ctx) {
  const ReportTable& t = *shown.table;
  int width = 0;
  auto widen = [&](std::span<const TableLine> lines) {
    for (const TableLine& line : lines) width = std::max(width, ctx.measure(line) + kLinePad);
  };
  if (out.graphShown) width = ctx.graph.x + ctx.graph.width + kGraphPad;
  widen(t.beforeStockLines);
  widen(t.afterStockLines);
  if (const ReportSection* financial = shown.find(SectionKind::Financial))
    widen(financial->heading);
  if (const ReportSection* carbonSection = shown.find(SectionKind::Carbon))
    widen(carbonSection->heading);
  widen(t.titleLines);
  if (shown.find(SectionKind::History) != nullptr) {
    widen(t.historyText);
    width = std::max(width, ctx.measure(historySampleRowText(rowStyleOf(shown))) + kLinePad);
  }
  return width;
}

GraphGeometry graphGeometry(const Context& ctx, int charWidth) {
  GraphGeometry graph;
  graph.x = kGraphMarginChars * charWidth;
  const LayoutParams& params = ctx.params;
  if (params.forPrint || params.displayWidth <= 0) return graph;
  // The display's pixels less the margins, as logical units.
  long long pixels = std::min(params.displayWidth, kMaxTextWidth) - graph.x - kDisplayMargin;
  long long width = pixels * 100 / std::max(params.logicalDpi, 1);
  float scale = static_cast<float>(width) / static_cast<float>(kGraphUnits);
  if (scale < 1.0f) return graph;
  graph.width = static_cast<int>(width);
  graph.scale = scale;
  return graph;
}

}  // namespace

ReportLayout::ReportLayout(const TableStore& store, const TextMetrics& metrics,
                           const LayoutParams& params)
    : forPrint_(params.forPrint), units_(params.units) {
  Context ctx{Measure(metrics), std::clamp(metrics.lineHeight(), 1, kMaxLineHeight), params, {}};
  lineHeight_ = ctx.h;
  charWidth_ = std::clamp(ctx.measure("W"), 1, kMaxLineHeight);
  ctx.graph = graph_ = graphGeometry(ctx, charWidth_);
  ReportModel model(
      store, ReportOptions{store.firstShown, params.showFinancial, params.showBargraph,
                           params.carbon, params.units, params.currency, params.decimalSeparator});
  tables_.reserve(static_cast<std::size_t>(model.size()));
  int y = 0;
  int columnsRight = 0;
  int width = 0;
  for (int position = 0; position < model.size(); ++position) {
    ShownTable shown = model.table(position);
    TableLayout& out = tables_.emplace_back();
    out.index = shown.index;
    out.top = y;
    const ReportSection* stock = shown.find(SectionKind::Stock);
    out.stockRows = stock != nullptr ? stock->rowCount : 0;
    out.graphShown = shown.find(SectionKind::BarGraph) != nullptr;
    std::vector<std::string> cells = measureColumns(shown, out.stockRows, ctx.measure, out);
    y = out.bottom = placeSections(shown, y, ctx, out);
    addItems(shown, cells, ctx, out);
    columnsRight = std::max(columnsRight, out.colLeft[kStockTableColumns]);
    width = std::max(width, tableWidth(shown, out, ctx));
  }
  docHeight_ = y + kPageEndPad;
  docWidth_ = std::max(columnsRight + kPageEndPad, width);
}

const TableLayout* ReportLayout::table(int index) const {
  for (const TableLayout& t : tables_) {
    if (t.index == index) return &t;
  }
  return nullptr;
}

int ReportLayout::tableAt(int y) const {
  if (tables_.empty()) return -1;
  for (const TableLayout& t : tables_) {
    if (y < t.bottom) return t.index;
  }
  return tables_.back().index;
}

BannerBox bannerBox(const TextMetrics& metrics, int windowWidth) {
  constexpr std::string_view kWidest = "for Predicting Thinned and UnthinnedXXXX";
  constexpr int kBannerLines = 6;
  constexpr int kBannerTop = 20;
  constexpr int kBannerBottomPad = 32;
  Measure measure(metrics);
  BannerBox box;
  box.width = measure(kWidest);
  int h = std::clamp(metrics.lineHeight(), 1, kMaxLineHeight);
  box.height = kBannerLines * h + kBannerBottomPad - kBannerTop;
  int room = windowWidth - box.width;
  box.x = room > 0 ? (room + 1) / 2 : 0;
  return box;
}

}  // namespace keldovar
