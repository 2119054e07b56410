// Hand-made report tables and fixed text metrics for the layout, selection and page tests.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "document/table_store.h"
#include "view/text_metrics.h"

namespace keldovar::testing {

// Every character 5 units wide but "T", which is 20, so that "Total" is wider than "Class".
class WideTMetrics final : public TextMetrics {
 public:
  int lineHeight() const override { return 10; }
  int textWidth(std::string_view text) const override {
    int width = 0;
    for (char c : text) width += c == 'T' ? 20 : 5;
    return width;
  }
};

struct TableShape {
  int stockRows = 3;  // the last is the totals row
  int bars = 0;
  bool thinning = false;
  int historyRows = 0;
  int financialLines = 0;
};

inline ReportTable makeTable(const TableShape& shape) {
  ReportTable t;
  t.hasStandTable = 1;
  for (std::size_t i = 0; i < t.titleLines.size(); ++i) t.titleLines[i] = "summary";
  t.stockLast = shape.stockRows - 1;
  for (int r = 0; r < shape.stockRows; ++r) {
    t.stock[static_cast<std::size_t>(r)] = {
        static_cast<float>(r + 2), 10.5f, 40.0f, 2.5f, 70.4f, 1.0f, 1.0f, 0.0f, 0.0f};
  }
  t.beforeStockLines[0] = "stock title";
  t.afterStockLines[0] = "conversions";
  t.bar.barLast = shape.bars - 1;
  t.bar.barMax = 100;
  t.hasThinningReport = shape.thinning ? 1 : 0;
  t.historyLast = shape.historyRows - 1;
  t.financialLast = shape.financialLines - 1;
  for (int i = 0; i < shape.financialLines; ++i)
    t.financialLines[static_cast<std::size_t>(i)] = "financial";
  return t;
}

// A store of the given tables, all shown.
inline std::unique_ptr<TableStore> makeStore(std::initializer_list<TableShape> shapes) {
  auto store = std::make_unique<TableStore>();
  for (const TableShape& shape : shapes) {
    ++store->lastIndex;
    store->tables[static_cast<std::size_t>(store->lastIndex)] = makeTable(shape);
  }
  return store;
}

}  // namespace keldovar::testing
