// Stand > Sensitivity and Risk through its own widgets: enabled by a harvest, one window a
// document, fields typed into recompute at once, a break-even typed back gives NPV 0, and the
// Risk page's paths follow its fields.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>

#include "desktop/sensitivity_window.h"
#include "tests/gui/gui_helpers.h"
#include "tests/gui/gui_test_registry.h"
#include "units/units.h"

using namespace keldovar;
using namespace keldovar::test;
namespace cmd = keldovar::command_ids;

namespace {

void retype(QWidget* window, const char* field, const QString& text) {
  auto* edit = window->findChild<QLineEdit*>(field);
  edit->selectAll();
  QTest::keyClicks(edit, text);
}

QString figure(QWidget* window, int row, int management) {
  return window->findChild<QLabel*>(QString("figure%1_%2").arg(row).arg(management))->text();
}

}  // namespace

class SensitivityWindowTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void init() { clearScratchSettings(); }

  void followsTheFieldsAndTheDocument() {
    TestProgram program;
    program.app->start({});
    CMainFrame& frame = program.frame();
    QAction* command = frame.action(cmd::kSensitivity);
    program.source.answer(
        {{"si", "65"}, {"trees", "600"}, {"survival", "85"}, {"control", "none"}});
    frame.runCommand(cmd::kInitPlantation);
    program.source.answer({{"age", "25"}});
    frame.runCommand(cmd::kGrow);
    QVERIFY(!command->isEnabled());
    frame.runCommand(cmd::kHarvest);
    QVERIFY(command->isEnabled());

    command->trigger();
    auto* window = frame.findChild<SensitivityWindow*>();
    QVERIFY(window != nullptr && window->isVisible());
    command->trigger();
    QCOMPARE(frame.findChildren<SensitivityWindow*>().size(), 1);
    // The figures are the harvest's own: its last financial line ends with the sawtimber NPV.
    const ReportTable& harvest = *program.active().controller().store().newest();
    QVERIFY(fromLatin1(harvest.financialLines[static_cast<std::size_t>(harvest.financialLast)])
                .endsWith("$" + figure(window, 0, 1)));

    // The establishment cost at which LEV is 0, typed back to the cent, leaves NPV 0.
    QString breakEven = figure(window, 5, 0);
    retype(window, "establishment_cost", breakEven);
    QVERIFY(figure(window, 0, 0) == "0.00" || figure(window, 0, 0) == "-0.00");
    QVERIFY(!window->grab().isNull());

    retype(window, "harvest_saw", "35");
    const econ::Sensitivity& s = *window->sensitivity();
    QCOMPARE(figure(window, 0, 1), QString::asprintf("%.2f", static_cast<double>(s.base[1].npv)));
    QVERIFY(figure(window, 0, 1) != figure(window, 0, 0));
    QCOMPARE(window->findChild<TornadoChart*>()->rows().size(), std::size_t{9});
    QCOMPARE(window->findChild<RateCurveChart*>()->npvPoints().size(), std::size_t{21});

    QVERIFY(!window->grab().isNull());

    retype(window, "harvest_saw", "abc");
    QCOMPARE(window->status(), "Harvest sawtimber: Enter a number.");
    QCOMPARE(figure(window, 0, 1), "-");
    retype(window, "ratesStep", "0");
    retype(window, "harvest_saw", "25");
    QVERIFY(window->status().startsWith("rates: give FROM:TO:STEP"));

    // A new rotation harvested in the document is what the window shows next.
    retype(window, "ratesStep", "0.5");
    retype(window, "establishment_cost", "250");
    QString before = figure(window, 0, 1);
    program.source.answer(
        {{"si", "70"}, {"trees", "700"}, {"survival", "90"}, {"control", "none"}});
    frame.runCommand(cmd::kInitPlantation);
    program.source.answer({{"age", "30"}});
    frame.runCommand(cmd::kGrow);
    frame.runCommand(cmd::kHarvest);
    const ReportTable& second = *program.active().controller().store().newest();
    QVERIFY(figure(window, 0, 1) != before);
    QVERIFY(fromLatin1(second.financialLines[static_cast<std::size_t>(second.financialLast)])
                .endsWith("$" + figure(window, 0, 1)));
    // The management chooses whose NPV the curve draws.
    window->findChild<QComboBox*>("management")->setCurrentIndex(0);
    QCOMPARE(QString::asprintf("%.2f", window->findChild<RateCurveChart*>()->npvPoints()[6].y()),
             figure(window, 0, 0));

    QPointer<SensitivityWindow> closing(window);
    answerMessageBox(QMessageBox::No);  // the unsaved regime
    program.active().close();
    QTRY_VERIFY_WITH_TIMEOUT(closing.isNull(), kEventWait);
  }

  void followsMetricUnits() {
    TestProgram program;
    program.app->start({});
    CMainFrame& frame = program.frame();
    program.source.answer(
        {{"si", "65"}, {"trees", "600"}, {"survival", "85"}, {"control", "none"}});
    frame.runCommand(cmd::kInitPlantation);
    program.source.answer({{"age", "25"}});
    frame.runCommand(cmd::kGrow);
    frame.runCommand(cmd::kHarvest);
    frame.runCommand(cmd::kSensitivity);
    auto* window = frame.findChild<SensitivityWindow*>();
    auto* saw = window->findChild<QLineEdit*>("harvest_saw");
    QString sawTyped = saw->text();
    QString npv = figure(window, 0, 1);
    struct Shown {
      int row;
      Quantity quantity;
    };
    const Shown rows[] = {{0, Quantity::MoneyPerArea},
                          {1, Quantity::MoneyPerArea},
                          {3, Quantity::MoneyPerMass},
                          {5, Quantity::MoneyPerArea}};
    QStringList imperial;
    for (Shown r : rows) imperial << figure(window, r.row, 1);

    // Switched while open: the figures and the typed value move by their factors.
    frame.runCommand(cmd::kMetricUnits);
    for (std::size_t i = 0; i < std::size(rows); ++i) {
      double expected = toMetric(rows[i].quantity, imperial[int(i)].toDouble());
      QVERIFY2(std::abs(figure(window, rows[i].row, 1).toDouble() - expected) < 0.02,
               qPrintable(figure(window, rows[i].row, 1)));
    }
    QVERIFY(std::abs(saw->text().toDouble() -
                     toMetric(Quantity::MoneyPerMass, sawTyped.toDouble())) < 0.01);
    QCOMPARE(window->findChild<QLabel*>("figureName0")->text(), "NPV ($/ha)");
    auto* risk = window->riskPage().findChild<QTableWidget*>("riskFigures");
    QCOMPARE(risk->horizontalHeaderItem(1)->text(), "LEV ($/ha)");
    // A break-even typed in $/ha reaches the model per acre: NPV 0 again.
    retype(window, "establishment_cost", figure(window, 5, 0));
    QVERIFY(std::abs(figure(window, 0, 0).toDouble()) < 0.02);
    // A metric refusal speaks metric.
    retype(window, "harvest_saw", "-5");
    QCOMPARE(window->status(), "Harvest sawtimber: Enter a number between 0 and 330.6.");

    retype(window, "harvest_saw", "30");
    frame.runCommand(cmd::kMetricUnits);
    QVERIFY(std::abs(saw->text().toDouble() - 30 * kTonnesPerShortTon) < 0.01);
    QCOMPARE(window->findChild<QLabel*>("figureName5")->text(), "Establishment at LEV 0 ($/ac)");
    QVERIFY(npv != figure(window, 0, 1));  // the establishment cost typed above is kept
  }

  void riskPageRunsItsPaths() {
    TestProgram program;
    program.app->start({});
    CMainFrame& frame = program.frame();
    program.source.answer({{"age", "15"}, {"trees", "500"}, {"ba", "0"}, {"si", "60"}});
    frame.runCommand(cmd::kInitUnthinned);
    program.source.answer({{"age", "30"}});
    frame.runCommand(cmd::kGrow);
    frame.runCommand(cmd::kHarvest);
    frame.runCommand(cmd::kSensitivity);
    auto* window = frame.findChild<SensitivityWindow*>();
    RiskPage& page = window->riskPage();
    QSignalSpy ran(&page, &RiskPage::pathsRun);
    retype(&page, "volatility", "0");
    retype(&page, "lossProbability", "0");
    QVERIFY(ran.wait(5000));
    auto* figures = page.findChild<QTableWidget*>("riskFigures");
    // Steady prices and no loss: every path earns the analysis's NPV.
    QCOMPARE(figures->item(0, 0)->text(), figure(window, 0, 1));
    QCOMPARE(figures->item(1, 0)->text(), "0.00");
    retype(&page, "lossProbability", "10");
    retype(&page, "salvage", "0");
    QVERIFY(ran.wait(5000));
    QVERIFY(page.summary()->lostShare > 0.5);
    QVERIFY(page.findChild<HistogramChart*>()->histogram().counts.size() == 40);
    retype(&page, "paths", "20000000");
    QVERIFY(ran.wait(5000));
    QCOMPARE(page.fieldError(), "paths: give 1 to 10000000");
    QVERIFY(!page.summary());
  }
};
KELDOVAR_GUI_TEST(SensitivityWindowTest);

#include "sensitivity_window_test.moc"
