// Section positions, column widths and page size of the report page, with fixed metrics.
#include "view/layout.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/view/report_fixture.h"

namespace keldovar::testing {
namespace {

const FixedPitchMetrics kMetrics{10, 5};
const TableShape kFull{3, 4, true, 2, 4};

LayoutParams shown(bool financial = true, bool graph = true) {
  LayoutParams params;
  params.showFinancial = financial;
  params.showBargraph = graph;
  return params;
}

const LayoutItem* findItem(const TableLayout& t, ItemKind kind, int row = -1, int column = -1) {
  auto it = std::find_if(t.items.begin(), t.items.end(), [&](const LayoutItem& item) {
    return item.kind == kind && item.row == row && item.column == column;
  });
  return it == t.items.end() ? nullptr : &*it;
}

TEST(Layout, EverySectionOfATableInItsPlace) {
  auto store = makeStore({kFull, TableShape{}});
  ReportLayout layout(*store, kMetrics, shown());
  ASSERT_EQ(layout.tables().size(), 2u);
  const TableLayout& t = layout.tables()[0];
  const SectionPositions& p = t.positions;
  EXPECT_EQ(p.titleY, 13);
  EXPECT_EQ(std::tie(p.beforeStockY, p.groupTopY, p.headTopY, p.firstRowY, p.rowsEndY),
            std::make_tuple(106, 116, 126, 146, 176));
  EXPECT_EQ(p.afterStockY, 189);
  EXPECT_EQ(std::tie(p.graphTitleY, p.graphBaseY), std::make_tuple(212, 242));
  EXPECT_EQ(p.thinningY, 592);
  EXPECT_EQ(std::tie(p.historyHeadY, p.historyRowsY, p.historyFootY),
            std::make_tuple(685, 735, 755));
  EXPECT_EQ(p.financialY, 828);
  EXPECT_EQ(t.bottom, 868);
  EXPECT_EQ(layout.tables()[1].top, 868);
  EXPECT_EQ(layout.tables()[1].positions.titleY, 881);
  EXPECT_EQ(layout.docHeight(), 1067 + 13);

  // What a painter gets: the lines, heads, cells and the graph box, top to bottom.
  EXPECT_EQ(t.items.front().y, 13);
  EXPECT_EQ(t.items.front().text, "summary");
  const LayoutItem* cell = findItem(t, ItemKind::Cell, 1, 3);
  ASSERT_NE(cell, nullptr);
  EXPECT_EQ(std::tie(cell->x, cell->y, cell->width, cell->text),
            std::make_tuple(t.colLeft[3], 156, t.colWidth[3], std::string("2.5")));
  const LayoutItem* graph = findItem(t, ItemKind::BarGraph);
  ASSERT_NE(graph, nullptr);
  EXPECT_EQ(std::tie(graph->y, graph->height), std::make_tuple(212, 360));
  EXPECT_EQ(t.items.back().y, 828 + 30);
  EXPECT_TRUE(std::is_sorted(t.items.begin(), t.items.end(),
                             [](const LayoutItem& a, const LayoutItem& b) { return a.y < b.y; }));
}

TEST(Layout, ATableWithoutStockRowsHasNoCellsAndClosesUp) {
  auto store = makeStore({TableShape{0, 0, true}});
  ReportLayout layout(*store, kMetrics, shown());
  const TableLayout& t = layout.tables()[0];
  EXPECT_EQ(t.stockRows, 0);
  EXPECT_EQ(std::tie(t.positions.firstRowY, t.positions.rowsEndY), std::make_tuple(93, 93));
  EXPECT_EQ(t.positions.thinningY, 113);
  EXPECT_EQ(findItem(t, ItemKind::Cell, 0, 0), nullptr);
  // The summary is drawn; no conversion line without a stock table to sit under.
  EXPECT_EQ(std::count_if(t.items.begin(), t.items.end(),
                          [](const LayoutItem& i) { return i.text == "conversions"; }),
            0);
  EXPECT_EQ(t.items.size(), 8u + 6u);
}

TEST(Layout, OptionsOffTakeNoRoom) {
  auto store = makeStore({kFull, TableShape{}});
  ReportLayout all(*store, kMetrics, shown());
  ReportLayout noFinancial(*store, kMetrics, shown(false, true));
  EXPECT_EQ(noFinancial.tables()[0].bottom, 795);
  EXPECT_EQ(all.docHeight() - noFinancial.docHeight(), 868 - 795);
  ReportLayout noGraph(*store, kMetrics, shown(true, false));
  EXPECT_EQ(noGraph.tables()[0].positions.thinningY, 199 + 20);
  EXPECT_EQ(findItem(noGraph.tables()[0], ItemKind::BarGraph), nullptr);
  EXPECT_EQ(all.docHeight() - noGraph.docHeight(), 592 - 219);
}

TEST(Layout, ColumnWidthsMakeRoomForTotalAndTheWidestValue) {
  auto store = makeStore({TableShape{}});
  store->tables[0].stock[0][4] = 123456.7f;
  WideTMetrics metrics;
  ReportLayout layout(*store, metrics, shown());
  const TableLayout& t = layout.tables()[0];
  EXPECT_EQ(t.colWidth[0], 40 + 25);  // "Total" is wider than "Class" and the classes
  EXPECT_EQ(t.colChars[0], 1);
  EXPECT_EQ(t.colWidth[2], 35 + 25);  // the totals row's empty height does not count
  EXPECT_EQ(t.colChars[4], 8);
  EXPECT_EQ(t.colWidth[4], 40 + 25);
  EXPECT_EQ(t.colLeft[1], 65);
  EXPECT_EQ(t.colLeft[8], t.colLeft[7] + t.colWidth[7]);
  EXPECT_EQ(findItem(t, ItemKind::Cell, 2, 0)->text, "Total");
  EXPECT_EQ(findItem(t, ItemKind::Cell, 2, 2)->text.find_first_not_of(' '), std::string::npos);
  EXPECT_EQ(findItem(t, ItemKind::Cell, 0, 4)->text, "123456.7");
  EXPECT_EQ(findItem(t, ItemKind::Cell, 1, 4)->text, "    70.4");
}

TEST(Layout, PageWidthFromColumnsHistoryRowAndGraph) {
  FixedPitchMetrics wide{10, 10};
  auto plain = makeStore({TableShape{}});
  EXPECT_EQ(ReportLayout(*plain, wide, shown()).docWidth(), 580 + 8 * 25 + 13);
  // The sample history row is measured with the copied row's 24-wide label: 90 characters.
  auto history = makeStore({TableShape{3, 0, false, 1}});
  EXPECT_EQ(ReportLayout(*history, wide, shown()).docWidth(), 900 + 20);

  auto graph = makeStore({TableShape{3, 4}});
  LayoutParams screen = shown();
  screen.displayWidth = 1300;
  ReportLayout widened(*graph, kMetrics, screen);
  EXPECT_EQ(widened.graph().x, 30);
  EXPECT_EQ(widened.graph().width, 1170);
  EXPECT_FLOAT_EQ(widened.graph().scale, 1.8f);
  EXPECT_EQ(widened.docWidth(), 30 + 1170 + 20);
  screen.displayWidth = 600;  // narrower than the graph: it keeps its 650 units
  EXPECT_EQ(ReportLayout(*graph, kMetrics, screen).graph().width, 650);
}

TEST(Layout, OnPaperAGraphThatWouldCrossABreakMovesDownWithWhatFollows) {
  auto store = makeStore({TableShape{3, 4, true}, TableShape{}});
  ReportLayout screen(*store, kMetrics, shown());
  LayoutParams print = shown();
  print.forPrint = true;
  print.pageHeight = 400;
  print.displayWidth = 1300;  // paper is not widened
  ReportLayout paper(*store, kMetrics, print);
  const SectionPositions& p = paper.tables()[0].positions;
  EXPECT_EQ(std::tie(p.graphTitleY, p.graphBaseY, p.thinningY), std::make_tuple(420, 450, 800));
  EXPECT_EQ(paper.tables()[1].top - screen.tables()[1].top, 420 - 212);
  EXPECT_EQ(paper.graph().width, 650);
  EXPECT_EQ(screen.tables()[0].positions.graphTitleY, 212);  // the screen's layout is its own

  print.pageHeight = 1000;  // the graph fits on the first page
  EXPECT_EQ(ReportLayout(*store, kMetrics, print).docHeight(), screen.docHeight());
  print.pageHeight = 0;
  EXPECT_EQ(ReportLayout(*store, kMetrics, print).docHeight(), screen.docHeight());
}

TEST(Layout, ForeignValuesAreClamped) {
  auto store = makeStore({TableShape{}, TableShape{}});
  store->firstShown = 7;  // beyond the newest table: the newest is shown
  ReportLayout layout(*store, FixedPitchMetrics{0, 0}, shown());
  ASSERT_EQ(layout.tables().size(), 1u);
  EXPECT_EQ(layout.tables()[0].index, 1);
  EXPECT_EQ(layout.lineHeight(), 1);
  EXPECT_EQ(layout.table(0), nullptr);

  auto empty = makeStore({});
  ReportLayout none(*empty, kMetrics, shown());
  EXPECT_TRUE(none.tables().empty());
  EXPECT_EQ(std::make_tuple(none.docWidth(), none.docHeight()), std::make_tuple(13, 13));
  EXPECT_EQ(ReportLayout().docWidth(), 800);
}

TEST(Layout, BannerCentredOrAtTheLeftEdge) {
  BannerBox box = bannerBox(kMetrics, 1001);
  EXPECT_EQ(std::make_tuple(box.x, box.y, box.width, box.height),
            std::make_tuple(401, 20, 200, 72));
  EXPECT_EQ(bannerBox(kMetrics, 100).x, 0);
}

}  // namespace
}  // namespace keldovar::testing
