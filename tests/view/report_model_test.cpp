// Which sections a shown report holds, and the stock row formats.
#include "view/report_model.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/view/report_fixture.h"
#include "view/copy_text.h"

namespace keldovar::testing {
namespace {

std::vector<SectionKind> kinds(const ShownTable& shown) {
  std::vector<SectionKind> out;
  for (const ReportSection& s : shown.present()) out.push_back(s.kind);
  return out;
}

TEST(ReportModel, SectionsInOrderUnderTheViewOptions) {
  auto store = makeStore({TableShape{3, 4, true, 2, 4}});
  using K = SectionKind;
  ShownTable all = ReportModel(*store, ReportOptions{0, true, true}).table(0);
  EXPECT_EQ(kinds(all), (std::vector{K::Summary, K::Stock, K::BarGraph, K::Thinning, K::History,
                                     K::Financial}));
  const ReportSection& stock = *all.find(K::Stock);
  EXPECT_EQ(std::make_tuple(stock.heading.size(), stock.rowCount, stock.footing.size()),
            std::make_tuple(1u, 3, 1u));
  EXPECT_EQ(stock.heading[0], "stock title");
  const ReportSection& history = *all.find(K::History);
  EXPECT_EQ(std::make_tuple(history.heading.size(), history.rowCount, history.footing.size()),
            std::make_tuple(5u, 2, 3u));
  EXPECT_EQ(&history.footing[0], &store->tables[0].historyText[5]);
  EXPECT_EQ(all.find(K::BarGraph)->rowCount, 4);
  EXPECT_EQ(all.find(K::Financial)->heading.size(), 4u);

  ShownTable plain = ReportModel(*store, ReportOptions{0, false, false}).table(0);
  EXPECT_EQ(kinds(plain), (std::vector{K::Summary, K::Stock, K::Thinning, K::History}));
}

TEST(ReportModel, TheFirstTableShownStaysInsideTheStore) {
  auto store = makeStore({TableShape{}, TableShape{4}});
  store->firstShown = 12;  // from a foreign file
  ReportModel model(*store, ViewOptions{});
  EXPECT_EQ(std::make_tuple(model.size(), model.firstIndex()), std::make_tuple(1, 1));
  EXPECT_NE(selectAllText(*store, true, "\n"), "");
  EXPECT_EQ(ReportModel(*store, ReportOptions{-3}).size(), 2);
  auto empty = makeStore({});
  EXPECT_TRUE(ReportModel(*empty, ReportOptions{}).empty());
}

TEST(ReportModel, StockRowsAsCopiedAndDrawn) {
  ReportTable t = makeTable(TableShape{});
  EXPECT_EQ(stockRowText(t, 0),
            "    2      10.5      40.0       2.5      70.4       1.0       1.0       0.0");
  EXPECT_EQ(stockRowText(t, 2),
            "Total      10.5                 2.5      70.4       1.0       1.0       0.0");
  EXPECT_EQ(stockCellText(t, 2, 0, 2), "Total");
  EXPECT_EQ(stockCellText(t, 1, 1, 6), "  10.5");
  EXPECT_EQ(stockCellText(t, 1, 8, 6), "");  // the spare ninth value is never shown
}

}  // namespace
}  // namespace keldovar::testing
