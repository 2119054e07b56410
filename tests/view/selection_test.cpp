// Hit test, mouse and key selection, Select All and the copied text.
#include "view/selection.h"

#include <gtest/gtest.h>

#include "tests/view/report_fixture.h"

namespace keldovar::testing {
namespace {

class SelectionTest : public ::testing::Test {
 protected:
  void layOut() { layout = ReportLayout(*store, FixedPitchMetrics{10, 5}, LayoutParams{}); }
  // A point inside the cell, as the window hands it over after its own conversion.
  std::optional<CellAddress> at(int table, int row, int column) const {
    const TableLayout& t = *layout.table(table);
    return hitTest(layout, t.colLeft[static_cast<std::size_t>(column)] + 1,
                   t.positions.firstRowY + row * layout.lineHeight() + 1);
  }
  CellAddress anchor() const { return {sel.selTable(), sel.anchorRow(), sel.anchorCol()}; }
  CellAddress extent() const { return {sel.selTable(), sel.extentRow(), sel.extentCol()}; }

  std::unique_ptr<TableStore> store = makeStore({TableShape{}, TableShape{}, TableShape{}});
  ReportLayout layout;
  Selection sel;
  void SetUp() override { layOut(); }
};

TEST_F(SelectionTest, HitTestFindsCellsOnlyInsideStockTables) {
  const TableLayout& t0 = *layout.table(0);
  const TableLayout& t1 = *layout.table(1);
  EXPECT_EQ(at(1, 2, 5), (CellAddress{1, 2, 5}));
  int right = t0.colLeft[8];
  EXPECT_EQ(hitTest(layout, right - 1, t0.positions.firstRowY), (CellAddress{0, 0, 7}));
  EXPECT_EQ(hitTest(layout, right, t0.positions.firstRowY), std::nullopt);  // right of column 7
  EXPECT_EQ(hitTest(layout, -1, t0.positions.firstRowY), std::nullopt);
  // The bottom edge of the rows still belongs to the totals row.
  EXPECT_EQ(hitTest(layout, 1, t0.positions.rowsEndY), (CellAddress{0, 2, 0}));
  EXPECT_EQ(hitTest(layout, 1, t0.positions.afterStockY), std::nullopt);  // between tables
  EXPECT_EQ(hitTest(layout, 1, t1.positions.titleY + 5), std::nullopt);   // a summary line
  EXPECT_EQ(hitTest(layout, 1, t1.positions.headTopY), std::nullopt);     // the column heads
  EXPECT_EQ(hitTest(layout, 1, layout.docHeight()), std::nullopt);
  EXPECT_EQ(hitTest(ReportLayout(), 1, 1), std::nullopt);
}

TEST_F(SelectionTest, DraggingStaysInTheTableItBeganIn) {
  EXPECT_TRUE(sel.mouseDown(at(1, 0, 1)));
  EXPECT_TRUE(sel.dragging());
  EXPECT_EQ(anchor(), (CellAddress{1, 0, 1}));
  EXPECT_FALSE(sel.mouseMove(at(1, 0, 1)));  // still on the anchor
  EXPECT_TRUE(sel.mouseMove(at(1, 1, 3)));
  EXPECT_FALSE(sel.mouseMove(at(2, 2, 4)));  // into another table: no change
  EXPECT_EQ(extent(), (CellAddress{1, 1, 3}));
  EXPECT_TRUE(sel.mouseMove(at(1, 2, 2)));  // back into the first: it goes on
  EXPECT_TRUE(sel.isSelected(1, 2, 1) && sel.isSelected(1, 0, 2) && !sel.isSelected(1, 0, 3));
  EXPECT_FALSE(sel.isSelected(2, 2, 2));
  EXPECT_TRUE(sel.mouseUp());
  EXPECT_FALSE(sel.mouseUp());
  EXPECT_FALSE(sel.mouseMove(at(1, 0, 0)));  // no drag without the button

  // A click anywhere but a cell clears everything.
  EXPECT_FALSE(sel.mouseDown(hitTest(layout, 1, layout.table(0)->positions.afterStockY)));
  EXPECT_EQ(anchor(), (CellAddress{-1, -1, -1}));
  EXPECT_FALSE(sel.isSelected(1, 0, 1));
  EXPECT_FALSE(sel.copyEnabled(*store));
}

TEST_F(SelectionTest, ShiftArrowsGrowTheRectangleWithinTheTable) {
  EXPECT_FALSE(sel.extendUp(*store));  // no anchor
  EXPECT_FALSE(sel.extendLeft(*store));
  EXPECT_FALSE(sel.extendDown(*store));  // no table selected yet
  auto empty = makeStore({});
  EXPECT_FALSE(sel.extendRight(*empty));

  store->firstShown = 1;
  EXPECT_TRUE(sel.extendRight(*store));  // starts at (0, 0) of the first table shown
  EXPECT_EQ(anchor(), (CellAddress{1, 0, 0}));
  EXPECT_EQ(sel.extentRow(), -1);
  for (int i = 0; i < 10; ++i) sel.extendRight(*store);
  for (int i = 0; i < 10; ++i) sel.extendDown(*store);
  EXPECT_EQ(extent(), (CellAddress{1, 2, 7}));  // column 7 and the totals row hold it
  sel.extendLeft(*store);
  sel.extendUp(*store);
  EXPECT_EQ(sel.copyText(*store, true, "\n"),
            "2\t10.5\t40.0\t2.5\t70.4\t1.0\t1.0\n3\t10.5\t40.0\t2.5\t70.4\t1.0\t1.0");
  sel.extendLeft(*store);
  sel.extendLeft(*store);
  sel.extendLeft(*store);
  sel.extendLeft(*store);
  EXPECT_EQ(sel.copyCsv(*store),
            "DBH Class,Number Trees,Average Height\r\n2,10.5,40.0\r\n3,10.5,40.0");
  EXPECT_EQ(sel.copyText(*store, true), "2\t10.5\t40.0\r\n3\t10.5\t40.0");

  sel.clear();  // as after a step: the table stays, so Shift+Down starts again
  EXPECT_TRUE(sel.extendDown(*store));
  EXPECT_EQ(anchor(), (CellAddress{1, 0, 0}));
}

TEST_F(SelectionTest, CtrlShiftArrowsMoveOneCellAcrossTables) {
  EXPECT_FALSE(sel.moveDown(*store));  // no table selected
  EXPECT_FALSE(sel.moveUp(*store));
  EXPECT_TRUE(sel.moveRight(*store));
  EXPECT_EQ(anchor(), (CellAddress{0, 0, 0}));
  EXPECT_TRUE(sel.moveLeft(*store));
  EXPECT_EQ(anchor(), (CellAddress{0, 0, 0}));
  EXPECT_FALSE(sel.moveUp(*store));  // row 0 of the first table shown
  for (int i = 0; i < 9; ++i) sel.moveRight(*store);
  EXPECT_EQ(sel.anchorCol(), 7);
  sel.moveDown(*store);
  sel.moveDown(*store);
  EXPECT_TRUE(sel.moveDown(*store));  // from the totals row into the next table
  EXPECT_EQ(anchor(), (CellAddress{1, 0, 7}));
  EXPECT_TRUE(sel.moveUp(*store));  // and back to the totals row above
  EXPECT_EQ(anchor(), (CellAddress{0, 2, 7}));
  for (int i = 0; i < 9; ++i) sel.moveLeft(*store);
  EXPECT_EQ(sel.anchorCol(), 0);
  EXPECT_EQ(sel.copyText(*store, true), "4");  // the totals row's class as a number

  sel.mouseDown(at(2, 2, 3));
  EXPECT_FALSE(sel.moveDown(*store));  // the totals row of the newest table
  EXPECT_EQ(anchor(), (CellAddress{2, 2, 3}));
  EXPECT_TRUE(sel.isSelected(2, 2, 3));

  store->firstShown = 2;
  sel.mouseDown(at(2, 0, 3));
  EXPECT_FALSE(sel.moveUp(*store));  // the table above is not shown
}

TEST_F(SelectionTest, MovesSkipTablesWithoutStockRows) {
  store->tables[1].stockLast = -1;
  layOut();
  sel.mouseDown(at(0, 2, 1));
  EXPECT_TRUE(sel.moveDown(*store));
  EXPECT_EQ(anchor(), (CellAddress{2, 0, 1}));
  EXPECT_TRUE(sel.moveUp(*store));
  EXPECT_EQ(anchor(), (CellAddress{0, 2, 1}));
  // A foreign first table beyond the newest: the keys start in the newest.
  store->firstShown = 40;
  sel.reset();
  EXPECT_TRUE(sel.moveRight(*store));
  EXPECT_EQ(anchor(), (CellAddress{2, 0, 0}));
}

TEST_F(SelectionTest, SelectAllLastsUntilAPressOrResetView) {
  auto empty = makeStore({});
  EXPECT_FALSE(sel.selectAllTables(*empty));
  EXPECT_FALSE(sel.copyEnabled(*empty));

  sel.mouseDown(at(0, 1, 1));
  EXPECT_TRUE(sel.selectAllTables(*store));
  EXPECT_EQ(sel.copyText(*store, false), selectAllText(*store, false));
  sel.clear();  // a step or an option toggle
  sel.moveDown(*store);
  EXPECT_TRUE(sel.selectAll());
  EXPECT_TRUE(sel.copyEnabled(*store));

  sel.mouseDown(std::nullopt);
  EXPECT_FALSE(sel.selectAll());
  EXPECT_FALSE(sel.copyEnabled(*store));
  EXPECT_EQ(sel.copyText(*store, true), "");

  sel.selectAllTables(*store);
  sel.mouseDown(at(0, 0, 0));
  sel.reset();
  EXPECT_FALSE(sel.selectAll() || sel.dragging() || sel.isSelected(0, 0, 0));
  EXPECT_EQ(sel.selTable(), -1);
}

}  // namespace
}  // namespace keldovar::testing
