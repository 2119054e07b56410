// The clipboard text of single cells, rectangles and the whole report.
#include <gtest/gtest.h>

#include "document/document_controller.h"
#include "tests/document/scripted_prompts.h"
#include "view/copy_text.h"

namespace keldovar::testing {
namespace {

class CopyTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    prompts.unthinned = UnthinnedEntry{500, 20, 0, 0, 60};
    ASSERT_TRUE(controller.initialize(kExistingUnthinned));
  }
  void thinAndHarvest() {
    prompts.residualBA = 100;
    ASSERT_TRUE(controller.treat(kRowThin));
    ASSERT_TRUE(controller.treat(kHarvest));
  }
  const TableStore& store() const { return controller.store(); }

  FixedClock clock{LocalTime{2026, 12, 7, 10, 0, 0, 1}};
  Session session{&clock};
  MemorySettingsStore settings;
  ScriptedPrompts prompts;
  DocumentController controller{session, prompts, settings, DocumentSettings{}, ViewOptions{}};
};

constexpr const char* kInitialTable =
    "         STAND SUMMARY \n"
    " Age                            20 years\n"
    " Site Index(Base Age 25 years)  60 feet\n"
    " Basal Area                     133 sq.ft\n"
    " Trees Per Acre                 500 \n"
    " Dom./Codom. Height             51 feet\n"
    " Quadratic Mean D.B.H.          7.0 inches\n"
    " TOTAL OB YIELD                 3164.7 cubic feet\n"
    "\n"
    "\n"
    "         STAND/STOCK TABLE(Acre) at Age 20   Mon Dec 07 10:00:00 AM\n"
    "   -          -         -         -     Total     Total    Integrated-  Utilization\n"
    " DBH      Number   Average     Basal       OB      Pulp      Pulp       Sawtimber\n"
    " Class     Trees    Height      Area   Volume      Tons      Tons       Tons\n"
    "    2       2.2      22.0       0.0       2.4       0.0       0.0       0.0\n"
    "    3      10.0      31.9       0.5      17.2       0.0       0.0       0.0\n"
    "    4      29.0      38.4       2.5      70.4       0.0       0.0       0.0\n"
    "    5      61.8      43.0       8.4     205.1       6.1       6.1       0.0\n"
    "    6     100.9      46.3      19.8     455.0      13.3      13.3       0.0\n"
    "    7     122.3      48.8      32.7     755.9      21.6      21.6       0.0\n"
    "    8     102.7      50.8      35.9     865.1      23.9      17.7       6.2\n"
    "    9      53.6      52.4      23.7     585.2      16.0       9.6       6.4\n"
    "   10      15.1      53.7       8.3     186.9       5.1       2.6       2.4\n"
    "   11       1.9      54.8       1.3      20.8       0.6       0.3       0.3\n"
    "Total     499.7               133.1    3164.1      86.5      71.2      15.3\n"
    "\n"
    "    Volume Conversions: cords = tons/2.575 ; MBF (Int1/4) ~ tons/6\n"
    "\n"
    "\n"
    "\n"
    "\n";

TEST_F(CopyTextTest, SelectAllOfAnInitializationTable) {
  EXPECT_EQ(selectAllText(store(), true, kUnixLineEnd), kInitialTable);
  std::string windows = selectAllText(store(), true);
  EXPECT_EQ(windows.find("\r\n"), 23u);
  EXPECT_EQ(windows.size(), std::string(kInitialTable).size() + 31);  // one \r per line end
}

TEST_F(CopyTextTest, SelectAllWithAndWithoutTheFinancialLines) {
  thinAndHarvest();
  std::string with = selectAllText(store(), true, kUnixLineEnd);
  std::string without = selectAllText(store(), false, kUnixLineEnd);
  const ReportTable& harvest = *store().newest();
  EXPECT_EQ(with.size() - without.size(), [&] {
    std::size_t n = 0;
    for (int i = 0; i <= harvest.financialLast; ++i)
      n += harvest.financialLines[static_cast<std::size_t>(i)].size() + 1;
    return n;
  }());
  EXPECT_EQ(without.find("FINANCIAL ANALYSIS"), std::string::npos);
  // Each table's financial lines follow its history.
  std::size_t history = with.find("         STAND HISTORY(Acre)");
  std::size_t financial = with.find("         FINANCIAL ANALYSIS(Acre)");
  ASSERT_NE(history, std::string::npos);
  EXPECT_LT(history, financial);
  EXPECT_NE(with.find("\n 20 Row Thinning              -123.9  -32.9    -783.9     -21.4      "
                      "-17.6      -3.8\n"),
            std::string::npos);
  EXPECT_NE(with.find("\n         ROW THINNING-LEAVING 100 SQ. FT. BASAL AREA \n"),
            std::string::npos);
  std::string last =
      "     Net Present Value (Sawtimber+Pulpwood Management):             $   395.74\n";
  EXPECT_EQ(with.substr(with.size() - last.size()), last);
}

TEST_F(CopyTextTest, SelectAllCopiesTheShownTablesOnly) {
  thinAndHarvest();
  controller.toggleAllTables();
  std::string current = selectAllText(store(), true, kUnixLineEnd);
  EXPECT_EQ(current.find("         STAND SUMMARY \n"), std::string::npos);
  EXPECT_EQ(current.rfind("         STAND SUMMARY THINNED \n"), 0u);
  EXPECT_NE(current.find("STAND HISTORY"), std::string::npos);
}

TEST_F(CopyTextTest, CellsAndRectangles) {
  const ReportTable& table = *store().newest();
  int totals = table.stockLast;
  EXPECT_EQ(singleCellText(store(), 0, 0, 0), "2");
  EXPECT_EQ(singleCellText(store(), 0, 4, 1), "100.9");
  // The totals row's DBH cell is the stored class value, not "Total".
  EXPECT_EQ(singleCellText(store(), 0, totals, 0), "0");
  EXPECT_EQ(singleCellText(store(), 1, 0, 0), "");  // no such table
  EXPECT_EQ(rectangleText(store(), 0, 4, 0, 4, 3), "6\t100.9\t46.3\t19.8");
  EXPECT_EQ(rectangleText(store(), 0, 5, 1, 4, 1), "100.9\r\n122.3");
  EXPECT_EQ(rectangleText(store(), 0, 4, 1, 5, 1, kUnixLineEnd), "100.9\n122.3");
  EXPECT_EQ(rectangleText(store(), 0, totals, 0, totals, 2), "0\t499.7\t0.0");
}

}  // namespace
}  // namespace keldovar::testing
