// The metric view's lines and rows: each stored format read and printed again in metric with the
// decimals that keep the round trip, the locale's money, and lines of no known format as stored.
#include "view/metric_lines.h"

#include <gtest/gtest.h>

#include "engine/report_text.h"
#include "tests/view/report_fixture.h"
#include "view/copy_text.h"
#include "view/report_model.h"

namespace keldovar::testing {
namespace {

TEST(MetricLines, EachFormatIsPrintedAgainInMetric) {
  const ShownUnits metric{UnitSystem::Metric};
  const ShownUnits local{UnitSystem::Metric, "R$", ','};
  struct Case {
    LineGroup group;
    const char* stored;
    const ShownUnits& style;
    const char* shown;
  };
  const Case cases[] = {
      {LineGroup::Summary, " Site Index(Base Age 25 years)  65 feet", metric,
       " Site Index(Base Age 25 years)  19.8 m"},
      {LineGroup::Summary, " Trees Per Acre                 600  ( 600 Trees Planted)", metric,
       " Trees Per Hectare              1483  ( 1483 Trees Planted)"},
      {LineGroup::Thinning, " Cut        172 trees per acre.", metric,
       " Cut        425 trees per hectare."},
      // A label's digits are the label's: the four figures are the last four numbers.
      {LineGroup::Financial,
       "   30   Thin 2 rows                  632.60        795.06   146.37      183.96", metric,
       "   30   Thin 2 rows                 1563.19       1964.64   361.69      454.58"},
      {LineGroup::Financial, "     Net Present Value (Pulpwood Management):            $  269.68",
       local, "     Net Present Value (Pulpwood Management):            R$  666,39"},
      // Shown as stored: no known format, or a format of another section.
      {LineGroup::Summary, "         STAND SUMMARY THINNED ", metric,
       "         STAND SUMMARY THINNED "},
      {LineGroup::Stock, " Basal Area                     122 sq.ft", metric,
       " Basal Area                     122 sq.ft"},
      {LineGroup::Thinning, " Cut     lots trees per acre.", metric,
       " Cut     lots trees per acre."},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(metricLine(c.group, c.stored, c.style), c.shown) << c.stored;
  }
}

TEST(MetricLines, CopyGivesTheCellsAsTheMetricViewShowsThem) {
  auto store = makeStore({TableShape{3, 0, false, 0, 0}});
  const StockRow& stored = store->tables[0].stock[0];
  ClassBounds cm = classBoundsCm(static_cast<int>(stored[0]));
  struct Case {
    int column;
    std::string text;
  };
  const Case cases[] = {
      {0, formatText("%.1f-%.1f", cm.low, cm.high)},
      {1, formatText("%.1f", static_cast<double>(stored[1]) / kHectaresPerAcre)},
      {2, formatText("%.2f", static_cast<double>(stored[2]) * kMetresPerFoot)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(singleCellText(*store, 0, 0, c.column, UnitSystem::Metric), c.text) << c.column;
  }
  std::string csv = rectangleCsvText(*store, 0, 0, 0, 0, 1, "\n", UnitSystem::Metric);
  EXPECT_EQ(csv, "DBH cm,Trees per ha\n" + cases[0].text + "," + cases[1].text);
}

}  // namespace
}  // namespace keldovar::testing
