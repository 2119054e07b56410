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
  EXPECT_EQ(two.pageCount(), 2 * one.down());
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

}  // namespace
}  // namespace keldovar::testing
