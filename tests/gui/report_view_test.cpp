// The report widget: what it draws (checked by structure, not pixels), its keys and mouse, Copy
// and the font file.
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QImage>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

#include "engine/clock.h"
#include "tests/gui/gui_test_registry.h"
#include "tests/gui/report_document.h"
#include "view/qt/keldovar_view.h"
#include "view/qt/qt_text.h"
#include "view/qt/qt_text_metrics.h"
#include "view/qt/report_painter.h"
#include "view/qt/view_font.h"

namespace keldovar::test {
namespace {

const QColor kGreen(22, 220, 22);

// The report drawn whole onto an image at 50 dots per inch: two page units a pixel.
struct Rendered {
  static constexpr int kDpi = 50;
  QImage image;

  Rendered(const ReportLayout& layout, const TableStore& store, const Selection& selection,
           const QFont& font, int width = 0, int height = 0) {
    int w = width > 0 ? width : layout.docWidth() * kDpi / 100 + 1;
    int h = height > 0 ? height : layout.docHeight() * kDpi / 100 + 1;
    image = QImage(w, h, QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(kDpi / 0.0254));
    image.setDotsPerMeterY(qRound(kDpi / 0.0254));
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setTransform(pageTransform(image, QPointF(0, 0)));
    DrawOptions options;
    options.font = font;
    options.windowWidth = w * 100 / kDpi;
    drawReport(painter, layout, store, selection, options);
  }
  QColor at(double pageX, double pageY) const {
    return image.pixelColor(static_cast<int>(pageX * kDpi / 100),
                            static_cast<int>(pageY * kDpi / 100));
  }
  // How many pixels of a page rectangle have the colour.
  int count(const QRectF& page, const QColor& colour) const {
    int n = 0;
    QRect r(static_cast<int>(page.left() * kDpi / 100), static_cast<int>(page.top() * kDpi / 100),
            static_cast<int>(page.width() * kDpi / 100),
            static_cast<int>(page.height() * kDpi / 100));
    r = r.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y) {
      for (int x = r.left(); x <= r.right(); ++x) n += image.pixelColor(x, y) == colour ? 1 : 0;
    }
    return n;
  }
};

ReportLayout layOut(const DocumentController& controller, const QFont& font) {
  LayoutParams params;
  params.showFinancial = controller.options().showFinancial;
  params.showBargraph = controller.options().showBargraph;
  return ReportLayout(controller.store(), QtTextMetrics(font), params);
}

QRectF cellBox(const ReportLayout& layout, int table, int row, int column) {
  const TableLayout& t = *layout.table(table);
  auto c = static_cast<std::size_t>(column);
  return QRectF(t.colLeft[c], t.positions.firstRowY + row * layout.lineHeight(), t.colWidth[c],
                layout.lineHeight());
}

bool showAtTop(CKELDOVARView& view, int width, int height) {
  view.resize(width, height);
  view.show();
  view.resetShown();
  return QTest::qWaitForWindowExposed(&view);
}

}  // namespace

class ReportViewTest : public QObject {
  Q_OBJECT

  QFont font = reportFont(FontDescription{});

 private Q_SLOTS:
  void emptyStoreDrawsTheBannerCentred() {
    ReportDocument doc;
    ReportLayout layout = layOut(doc.controller, font);
    Rendered wide(layout, doc.controller.store(), Selection{}, font, 500, 200);
    BannerBox box = bannerBox(QtTextMetrics(font), 1000);
    QVERIFY(box.x > 0);
    // Text inside the box, nothing below it, and the raised edge: light above, dark below.
    QVERIFY(wide.count(QRectF(box.x, box.y, box.width, box.height), Qt::black) > 100);
    QCOMPARE(wide.count(QRectF(0, box.y + box.height + 10, 1000, 100), Qt::black), 0);
    QCOMPARE(wide.count(QRectF(0, 0, box.x - 4, 400), Qt::black), 0);
    QRectF bottomEdge(box.x, box.y + box.height - 4, box.width, 8);
    QVERIFY(wide.count(bottomEdge, QColor(105, 105, 105)) > box.width / 2 / 2);
    // A window narrower than the banner puts it at the left edge.
    Rendered narrow(layout, doc.controller.store(), Selection{}, font, 100, 200);
    QVERIFY(narrow.count(bottomEdge.translated(-box.x, 0).adjusted(0, 0, 40 - box.width, 0),
                         QColor(105, 105, 105)) > 0);
  }

  void drawsTablesGraphsAndTheSelection() {
    ReportDocument doc(true);
    QVERIFY(doc.threeSteps());
    const TableStore& store = doc.controller.store();
    ReportLayout layout = layOut(doc.controller, font);
    QCOMPARE(static_cast<int>(layout.tables().size()), 3);
    Selection selection;
    selection.mouseDown(CellAddress{1, 2, 3});
    Rendered r(layout, store, selection, font);
    // The selected cell is inverted to its edges; its neighbour is not.
    QRectF cell = cellBox(layout, 1, 2, 3);
    QCOMPARE(r.at(cell.left() + 2, cell.top() + 2), QColor(Qt::black));
    QRectF next = cellBox(layout, 1, 2, 4);
    QCOMPARE(r.at(next.left() + 2, next.top() + 2), QColor(Qt::white));
    // The peak class's column is green in its middle, in every table.
    for (const TableLayout& t : layout.tables()) {
      const BarGraph& g = store.tables[static_cast<std::size_t>(t.index)].bar;
      QVERIFY(t.graphShown);
      int peak = 0;
      for (int n = 0; n <= g.barLast; ++n) peak = g.barValue[n] > g.barValue[peak] ? n : peak;
      const GraphGeometry& geometry = layout.graph();
      double x =
          (g.bars[peak].left + g.bars[peak].right) / 2.0 * static_cast<double>(geometry.scale) +
          geometry.x;
      double y = t.positions.graphBaseY + 300 - (g.bars[peak].top + 300) / 2.0;
      QCOMPARE(r.at(x, y), kGreen);
      // A class that holds no whole tree is drawn flat: no green above its base line.
      for (int n = 0; n <= g.barLast; ++n) {
        if (g.barValue[n] != 0) continue;
        double left = g.bars[n].left * static_cast<double>(geometry.scale) + geometry.x;
        QCOMPARE(r.count(QRectF(left + 4, t.positions.graphBaseY, 10, 296), kGreen), 0);
      }
    }
    // Without the option nothing is green, and the tables close up.
    doc.controller.toggleBargraph();
    ReportLayout plain = layOut(doc.controller, font);
    QVERIFY(plain.docHeight() < layout.docHeight() - 3 * 300);
    Rendered without(plain, store, selection, font);
    QCOMPARE(without.count(QRectF(0, 0, plain.docWidth(), plain.docHeight()), kGreen), 0);
  }

  void selectAllInvertsEveryText() {
    ReportDocument doc;
    QVERIFY(doc.threeSteps());
    ReportLayout layout = layOut(doc.controller, font);
    Selection selection;
    QVERIFY(selection.selectAllTables(doc.controller.store()));
    Rendered r(layout, doc.controller.store(), selection, font);
    const TableLayout& t = layout.tables()[2];
    const LayoutItem& title = t.items.front();
    QRectF line(title.x, title.y, title.width, title.height);
    QVERIFY(r.count(line, Qt::black) > r.count(line, Qt::white));
    // Between the lines the page stays white.
    QCOMPARE(r.at(cellBox(layout, 2, 0, 1).left() + 2, t.positions.firstRowY + 5),
             QColor(Qt::white));
  }

  void keysScrollAndMoveTheSelection() {
    ReportDocument doc;
    QVERIFY(doc.threeSteps());
    CKELDOVARView view(doc.controller);
    QVERIFY(showAtTop(view, 500, 400));
    QSignalSpy changed(&view, &CKELDOVARView::selectionChanged);
    QTest::keyClick(&view, Qt::Key_Down);
    QTest::keyClick(&view, Qt::Key_Down);
    QTest::keyClick(&view, Qt::Key_Right);
    QCOMPARE(view.scrollPosition(), QPoint(5, 10));
    QTest::keyClick(&view, Qt::Key_Left, Qt::ControlModifier);
    QCOMPARE(view.scrollPosition().x(), 0);
    int page = view.viewport()->height() - 20;
    QTest::keyClick(&view, Qt::Key_PageDown);
    QCOMPARE(view.scrollPosition().y(), 10 + page);
    QTest::keyClick(&view, Qt::Key_PageUp);
    QCOMPARE(view.scrollPosition().y(), 10);
    // Without a selection, Ctrl+Shift+Down does nothing and Shift+Right starts at (0, 0).
    const Qt::KeyboardModifiers move = Qt::ControlModifier | Qt::ShiftModifier;
    QTest::keyClick(&view, Qt::Key_Down, move);
    QCOMPARE(view.selection().selTable(), -1);
    QCOMPARE(changed.count(), 0);
    QTest::keyClick(&view, Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(view.selection().anchorRow(), 0);
    QCOMPARE(view.selection().extentRow(), -1);
    for (int i = 0; i < 9; ++i) QTest::keyClick(&view, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(&view, Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(view.selection().extentCol(), 7);
    QCOMPARE(view.selection().extentRow(), 1);
    QVERIFY(view.selection().isSelected(0, 1, 3));
    // Ctrl+Shift+Down from the totals row goes on into the next table.
    int totals = doc.controller.store().tables[0].stockLast;
    for (int i = 0; i <= totals; ++i) QTest::keyClick(&view, Qt::Key_Down, move);
    QCOMPARE(view.selection().selTable(), 1);
    QCOMPARE(view.selection().anchorRow(), 0);
    QCOMPARE(view.selection().anchorCol(), 0);
    QTest::keyClick(&view, Qt::Key_Up, move);
    QCOMPARE(view.selection().selTable(), 0);
    QCOMPARE(view.selection().anchorRow(), totals);
    QVERIFY(changed.count() > 0);
  }

  void mouseSelectsInsideOneTable() {
    ReportDocument doc;
    QVERIFY(doc.threeSteps());
    CKELDOVARView view(doc.controller);
    QVERIFY(showAtTop(view, 900, 700));
    const ReportLayout& layout = view.reportLayout();
    auto pixel = [&](int table, int row, int column) {
      QPointF page = cellBox(layout, table, row, column).center() - QPointF(view.scrollPosition());
      double scale = view.viewport()->logicalDpiX() / 100.0;
      return (page * scale).toPoint();
    };
    QWidget* surface = view.viewport();
    QTest::mousePress(surface, Qt::LeftButton, {}, pixel(0, 1, 1));
    QVERIFY(view.selection().dragging());
    QTest::mouseMove(surface, pixel(0, 3, 2));
    QTest::mouseRelease(surface, Qt::LeftButton, {}, pixel(0, 3, 2));
    QVERIFY(!view.selection().dragging());
    QCOMPARE(view.selection().extentRow(), 3);
    QCOMPARE(view.selection().extentCol(), 2);
    QVERIFY(view.selection().isSelected(0, 2, 1));
    QVERIFY(view.canCopy());
    // A click beside the stock table clears the selection.
    QTest::mouseClick(surface, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(view.selection().selTable(), -1);
    QVERIFY(!view.canCopy());
    // After a step the newest table's summary is at the top.
    doc.prompts.growAge = 40;
    QVERIFY(doc.controller.grow());
    view.refresh(true);
    const TableLayout* newest = view.reportLayout().table(3);
    int top = std::min(newest->positions.titleY, view.verticalScrollBar()->maximum());
    QCOMPARE(view.scrollPosition().y(), top);
  }

  void copyPutsTheTextsOnTheClipboard() {
    ReportDocument doc;
    QVERIFY(doc.threeSteps());
    CKELDOVARView view(doc.controller);
    const TableStore& store = doc.controller.store();
    QClipboard* clipboard = QApplication::clipboard();
    const Qt::KeyboardModifiers move = Qt::ControlModifier | Qt::ShiftModifier;
    QTest::keyClick(&view, Qt::Key_Right, move);  // cell (0, 0) of the first table
    QTest::keyClick(&view, Qt::Key_Down, move);
    QTest::keyClick(&view, Qt::Key_Right, move);
    view.copy();
    QCOMPARE(clipboard->text(), QString::fromStdString(singleCellText(store, 0, 1, 1)));
    QCOMPARE(clipboard->mimeData()->data("text/csv"),
             QByteArray("Number Trees\r\n") +
                 QByteArray::fromStdString(rectangleText(store, 0, 1, 1, 1, 1)));
    QTest::keyClick(&view, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(&view, Qt::Key_Right, Qt::ShiftModifier);
    view.copy();
    std::string cells = rectangleText(store, 0, 1, 1, 2, 2);
    QCOMPARE(clipboard->text(), QString::fromStdString(cells));
    QVERIFY(clipboard->text().contains("\r\n") && clipboard->text().contains('\t'));
    std::replace(cells.begin(), cells.end(), '\t', ',');
    QCOMPARE(clipboard->mimeData()->data("text/csv"),
             QByteArray::fromStdString("Number Trees,Average Height\r\n" + cells));
    view.selectAll();
    view.copy();
    QCOMPARE(clipboard->text(), fromLatin1(selectAllText(store, true)));
    QVERIFY(!clipboard->mimeData()->hasFormat("text/csv"));
  }

  void metricUnitsReachTheLayoutCopyAndMoney() {
    ReportDocument doc;
    ViewOptions metric = ReportDocument::options(true);
    metric.units = UnitSystem::Metric;
    doc.controller.startOver(DocumentSettings{}, metric);
    QVERIFY(doc.threeSteps());
    CKELDOVARView view(doc.controller);
    view.resize(900, 700);
    view.setMoneyStyle("R$", ',');
    bool commaCells = false;
    for (const LayoutItem& item : view.reportLayout().tables()[0].items) {
      commaCells |= item.kind == ItemKind::Cell && item.text.find(',') != std::string::npos;
    }
    QVERIFY(commaCells);
    view.selectAll();
    view.copy();
    QString text = QApplication::clipboard()->text();
    QVERIFY(text.contains(QStringLiteral("STAND/STOCK TABLE(Hectare)")));
    QVERIFY(text.contains(QStringLiteral(" m2/ha")));
  }

  void fontFileIsReadAndRewritten() {
    QTemporaryDir dir;
    QString path = dir.filePath("def_Font.bin");
    ReportDocument doc;
    CKELDOVARView view(doc.controller);
    view.setFontFilePath(path);  // missing: the default font stays
    QCOMPARE(view.fontDescription().height, 28);
    // "Courier New" or its metric twin, its cell 28 units high and its characters 16 wide.
    QVERIFY(QFontInfo(view.reportFont()).fixedPitch());
    int h28 = view.reportLayout().lineHeight();
    QVERIFY(std::abs(h28 - 28) <= 1);
    QVERIFY(std::abs(view.reportLayout().charWidth() - 16) <= 1);
    view.changeFontSize(2);
    QCOMPARE(view.fontDescription().height, 30);
    QVERIFY(view.reportLayout().lineHeight() > h28);
    QCOMPARE(QFile(path).size(), 60);
    CKELDOVARView reopened(doc.controller);
    reopened.setFontFilePath(path);
    QCOMPARE(reopened.fontDescription().height, 30);
    QCOMPARE(reopened.fontDescription().faceName, std::string("Courier New"));
    // Down to the smallest size and no further.
    reopened.changeFontSize(-20);
    QCOMPARE(reopened.fontDescription().height, 18);
    reopened.changeFontSize(-1);
    QCOMPARE(reopened.fontDescription().height, 18);
    // A damaged file is passed over like a missing one.
    QFile damaged(path);
    QVERIFY(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
    damaged.write("not a font");
    damaged.close();
    CKELDOVARView third(doc.controller);
    third.setFontFilePath(path);
    QCOMPARE(third.fontDescription().height, 28);
    // A FIFO (whose opening would wait for a writer) or a folder in its place: the same.
    QVERIFY(QFile::remove(path));
    QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
    CKELDOVARView fourth(doc.controller);
    fourth.setFontFilePath(path);
    QCOMPARE(fourth.fontDescription().height, 28);
    QVERIFY(QFile::remove(path) && QDir(dir.path()).mkdir("def_Font.bin"));
    fourth.setFontFilePath(path);
    QCOMPARE(fourth.fontDescription().height, 28);
  }
};
KELDOVAR_GUI_TEST(ReportViewTest);

}  // namespace keldovar::test

#include "report_view_test.moc"
