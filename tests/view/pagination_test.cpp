// Page size, page count, page order, footer and the print layout, with fixed printer metrics.
#include "view/pagination.h"

#include <gtest/gtest.h>

#include "tests/view/report_fixture.h"

namespace keldovar::testing {
namespace {

const FixedPitchMetrics kPrinter{20, 10};

TEST(Pagination, PageSizeFromThePrintableArea) {
  PageSetup setup = pageSetup(800, 1000, kPrinter);
  EXPECT_EQ(std::make_tuple(setup.pageWidth, setup.pageHeight, setup.paperHeight),
            std::make_tuple(790, 960, 1000));
  // A printable area smaller than a character still gives a page.
  PageSetup tiny = pageSetup(5, 30, kPrinter);
  EXPECT_EQ(std::make_tuple(tiny.pageWidth, tiny.pageHeight), std::make_tuple(1, 1));
}

TEST(Pagination, PagesRunLeftToRightThenDown) {
  auto store = makeStore({TableShape{}, TableShape{}, TableShape{}, TableShape{}});
  PageSetup setup = pageSetup(900, 1000, kPrinter);
  ReportLayout narrow = printLayout(*store, kPrinter, setup, true, false);
  ASSERT_LT(narrow.docWidth(), 890);
  Pagination one(narrow, setup);
  EXPECT_EQ(std::make_tuple(one.across(), one.down()),
            std::make_tuple(1, (narrow.docHeight() + 959) / 960));
  EXPECT_EQ(one.pageCount(), one.down());
  EXPECT_EQ(one.origin(2).y, 960);

  store->tables[0].titleLines[3] = std::string(100, 'x');  // 1020 wide: two page columns
  ReportLayout wide = printLayout(*store, kPrinter, setup, true, false);
  EXPECT_EQ(wide.docWidth(), 1020);
  Pagination two(wide, setup);
  EXPECT_EQ(two.across(), 2);
  // Only the top strip reaches into the second page column: the strip below has nothing there
  // but blanks, and that page is not printed.
  EXPECT_EQ(two.pageCount(), 2 * one.down() - 1);
  EXPECT_EQ(std::make_tuple(two.origin(2).x, two.origin(2).y), std::make_tuple(890, 0));
  EXPECT_EQ(std::make_tuple(two.origin(3).x, two.origin(3).y), std::make_tuple(0, 960));
  EXPECT_EQ(two.origin(0).x, 0);  // outside 1..count: the nearest page
  EXPECT_EQ(two.origin(99).y, (one.down() - 1) * 960);
}

TEST(Pagination, AGraphThatWouldCrossABreakStartsTheNextPage) {
  auto store = makeStore({TableShape{3, 4, true}, TableShape{}});
  PageSetup setup = pageSetup(2000, 640, kPrinter);  // 600 usable
  ReportLayout paper = printLayout(*store, kPrinter, setup, true, true);
  // Laid out as on screen the graph would run from 372 to 772, across the break at 600; on
  // paper it starts 20 units into the second page.
  const SectionPositions& p = paper.tables()[0].positions;
  EXPECT_EQ(p.graphTitleY, 620);
  EXPECT_EQ(p.graphBaseY, 660);
  EXPECT_EQ(p.thinningY, 660 + 60 + 300 + 20);
  EXPECT_GT(Pagination(paper, setup).down(), 2);
}

TEST(Pagination, FooterBandAndText) {
  auto store = makeStore({TableShape{}});
  PageSetup setup = pageSetup(800, 1000, kPrinter);
  Pagination pages(printLayout(*store, kPrinter, setup, true, true), setup);
  FooterBand band = pages.footer(2, "Stand 7.kdv");
  EXPECT_EQ(band.text, "       Stand 7.kdv      page  2");
  EXPECT_EQ(std::make_tuple(band.top, band.bottom, band.width, band.ruleLength),
            std::make_tuple(980, 1100, 790, 300));
  EXPECT_EQ(pages.footer(1, "100%").text, "       100%      page  1");
}

TEST(Pagination, PageCountIsBounded) {
  auto store = makeStore({TableShape{}});
  PageSetup tiny = pageSetup(5, 30, kPrinter);
  Pagination pages(printLayout(*store, kPrinter, tiny, true, true), tiny);
  EXPECT_EQ(pages.pageCount(), Pagination::kMaxPages);
  auto empty = makeStore({});
  PageSetup setup = pageSetup(800, 1000, kPrinter);
  EXPECT_EQ(Pagination(printLayout(*empty, kPrinter, setup, true, true), setup).pageCount(), 1);
}

// Which pages of the grid hold ink: a line's blanks and the blank tail of a wide summary line
// print nothing, a word or a graph does; the pages printed are numbered without a gap.
TEST(Pagination, PagesOfNothingButBlanksAreNotPrinted) {
  PageSetup setup = pageSetup(910, 1000, kPrinter);  // 900 wide, 960 high
  struct Case {
    const char* name;
    std::string line3;  // the first table's fourth summary line
    std::vector<std::pair<int, int>> origins;
  };
  const Case cases[] = {
      {"blanks past the first page column", "x" + std::string(120, ' '), {{0, 0}, {0, 960}}},
      {"a word in the second column", std::string(95, ' ') + "word", {{0, 0}, {900, 0}, {0, 960}}},
      {"a word in the third column only",
       std::string(185, ' ') + "w",
       {{0, 0}, {1800, 0}, {0, 960}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto store = makeStore({TableShape{30}, TableShape{30}});
    store->tables[0].titleLines[3] = c.line3;
    ReportLayout layout = printLayout(*store, kPrinter, setup, true, false);
    ASSERT_LT(layout.docHeight(), 2 * 960);
    Pagination pages(layout, setup);
    std::vector<std::pair<int, int>> origins;
    for (int n = 1; n <= pages.pageCount(); ++n) {
      origins.emplace_back(pages.origin(n).x, pages.origin(n).y);
      EXPECT_EQ(pages.footer(n, "T").text, "       T      page  " + std::to_string(n));
    }
    EXPECT_EQ(origins, c.origins);
  }
}

// Fit to page width: the report shrunk so that its width is one page's, laid out for the taller
// page the scale gives; a report that fits keeps its size.
TEST(Pagination, FitToPageWidth) {
  auto store = makeStore({TableShape{3, 4, true}, TableShape{}});
  store->tables[0].titleLines[3] = std::string(150, 'x');  // 1520 wide
  PageSetup setup = pageSetup(800, 1000, kPrinter);
  ReportLayout wide = printLayout(*store, kPrinter, setup, true, true);
  ASSERT_EQ(wide.docWidth(), 1520);
  setup.scale = fitWidthScale(setup, wide.docWidth());
  EXPECT_DOUBLE_EQ(setup.scale, 790.0 / 1520.0);
  EXPECT_GE(setup.reportPageWidth(), 1519);
  EXPECT_EQ(setup.reportPageHeight(), static_cast<int>(960 / setup.scale));
  Pagination pages(printLayout(*store, kPrinter, setup, true, true), setup);
  EXPECT_EQ(pages.across(), 1);
  EXPECT_EQ(pages.footer(1, "").top, 980);  // the footer keeps its place on the paper
  PageSetup fits = pageSetup(800, 1000, kPrinter);
  EXPECT_EQ(fitWidthScale(fits, 700), 1.0);
}

// The page number stays on the paper however long the title.
TEST(Pagination, ALongTitleIsCutShortInTheFooter) {
  auto store = makeStore({TableShape{}});
  PageSetup setup = pageSetup(400, 1000, kPrinter);  // 40 characters
  Pagination pages(printLayout(*store, kPrinter, setup, true, true), setup);
  EXPECT_EQ(pages.footer(3, "a stand of loblolly pine").text,
            "       a stand of loblol...      page  3");
  EXPECT_EQ(pages.footer(3, "short").text, "       short      page  3");
}

}  // namespace
}  // namespace keldovar::testing
