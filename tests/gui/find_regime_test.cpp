// Stand > Find Best Regime through its own widgets: a small search listed and drawn, Cancel, and
// the chosen regime opened as the document the batch runner makes of its script.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include "desktop/compare_window.h"
#include "desktop/find_regime_dlg.h"
#include "document/settings.h"
#include "tests/gui/gui_helpers.h"
#include "tests/gui/gui_test_registry.h"

using namespace keldovar;
using namespace keldovar::test;
namespace cmd = keldovar::command_ids;

namespace {

void setSpin(QWidget* dialog, const char* name, int value) {
  dialog->findChild<QSpinBox*>(name)->setValue(value);
}

void check(QWidget* dialog, const char* name, bool checked) {
  dialog->findChild<QCheckBox*>(name)->setChecked(checked);
}

QPushButton* button(QWidget* dialog, const char* name) {
  return dialog->findChild<QPushButton*>(name);
}

// Rotations 20 to 24; no thinning, or one at 12 or 14 by Low or Thinomatic to 70 or 90.
void smallSpace(QWidget* dialog) {
  setSpin(dialog, "rotationFrom", 20);
  setSpin(dialog, "rotationTo", 24);
  setSpin(dialog, "thinFrom", 12);
  setSpin(dialog, "thinTo", 14);
  setSpin(dialog, "baFrom", 70);
  setSpin(dialog, "baTo", 90);
  setSpin(dialog, "baStep", 20);
  check(dialog, "Row", false);
  check(dialog, "Row and low", false);
  setSpin(dialog, "best", 6);
}

QString cell(const QTableWidget* table, int row, int column) {
  return table->item(row, column)->text();
}

}  // namespace

class FindRegimeTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void init() { clearScratchSettings(); }

  void describesTheTreatments() {
    using keldovar::StepKind;
    std::vector<Step> steps = {{StepKind::Grow, {{"age", "12"}}},
                               {StepKind::ThinLow, {{"ba", "90"}, {"method", "ba"}}},
                               {StepKind::Fertilize, {{"n", "200"}, {"p", "yes"}}},
                               {StepKind::Grow, {{"age", "18"}}},
                               {StepKind::ThinRowLow, {{"ba", "70"}, {"row", "33"}}},
                               {StepKind::Grow, {{"age", "30"}}},
                               {StepKind::Harvest, {}}};
    QCOMPARE(describeTreatments(steps, 0),
             "Low to 90 at 12; Fertilize at 12; Row 33 % and low to 70 at 18");
    QCOMPARE(describeTreatments({steps[5], steps[6]}, 0), "none");
  }

  // The search runs on its worker and lists the best regimes, best first; the plot has one
  // point for each rotation, at the score of that rotation's best regime.
  void listsTheBestAndDrawsEachRotation() {
    FindRegimeDlg dialog(nullptr, builtInDefaults().settings);
    smallSpace(&dialog);
    QSignalSpy finished(&dialog, &FindRegimeDlg::searchFinished);
    button(&dialog, "search")->click();
    QVERIFY(dialog.searching());
    QVERIFY(!button(&dialog, "search")->isEnabled());
    QVERIFY(finished.wait(120000));
    const econ::SearchResult& result = dialog.result();
    QCOMPARE(result.error, std::string());
    QVERIFY(!result.cancelled);
    QVERIFY(result.newPlantation);
    auto* table = dialog.findChild<QTableWidget*>();
    QCOMPARE(table->rowCount(), 6);
    QCOMPARE(dialog.findChild<QProgressBar*>()->value(), 1000);
    QCOMPARE(dialog.findChild<QLabel*>("summary")->text(),
             QString("%1 regimes: %2 valued, %3 refused by the growth model")
                 .arg(result.candidates)
                 .arg(result.valued)
                 .arg(result.refused));
    for (int row = 0; row < 6; ++row) {
      const econ::RankedRegime& r = result.best[static_cast<std::size_t>(row)];
      QCOMPARE(cell(table, row, 0), QString::number(r.rotation));
      QCOMPARE(cell(table, row, 3), QString::asprintf("%.2f", *r.sawtimber.lev));
      QVERIFY(cell(table, row, 1) == "none" || cell(table, row, 1).contains(" at 1"));
      QVERIFY(cell(table, row, 4).endsWith(" %"));
    }
    const auto& points = dialog.findChild<RotationPlot*>()->points();
    QCOMPARE(points.size(), std::size_t{5});
    double top = -1e300;
    for (std::size_t i = 0; i < points.size(); ++i) {
      QCOMPARE(points[i].x(), 20.0 + static_cast<double>(i));
      QCOMPARE(points[i].y(), result.bestByRotation[i].score);
      top = std::max(top, points[i].y());
    }
    QCOMPARE(top, result.best[0].score);
    QVERIFY(!dialog.grab().isNull());  // the plot paints
    QVERIFY(button(&dialog, "open")->isEnabled());
    QCOMPARE(dialog.chosenSteps().front().kind, StepKind::Plantation);
  }

  // Mistakes in the fields are named before any search starts.
  void refusesABrokenSpace() {
    FindRegimeDlg dialog(nullptr, builtInDefaults().settings);
    for (const char* name : {"thinnings0", "thinnings1", "thinnings2"}) check(&dialog, name, false);
    QString text;
    answerMessageBox(QMessageBox::Ok, &text);
    button(&dialog, "search")->click();
    QCOMPARE(text, "thinnings: give counts of 0, 1 or 2");
    check(&dialog, "thinnings0", true);
    setSpin(&dialog, "rotationFrom", 50);
    answerMessageBox(QMessageBox::Ok, &text);
    button(&dialog, "search")->click();
    QCOMPARE(text, "Each range must run from a smaller number to a larger one.");
    setSpin(&dialog, "rotationFrom", 20);
    dialog.findChild<QLineEdit*>("fertilizeAges")->setText("12, x");
    answerMessageBox(QMessageBox::Ok, &text);
    button(&dialog, "search")->click();
    QVERIFY(text.startsWith("Fertilize at ages:"));
    QVERIFY(!dialog.searching());
  }

  // A start the plantation dialog refuses is told in that dialog's words on its own field, no
  // icon for a text that is no number; the control is chosen by the radio buttons' labels.
  void refusesABadStartOnItsField() {
    FindRegimeDlg dialog(nullptr, builtInDefaults().settings);
    auto* control = dialog.findChild<QComboBox*>("control");
    QCOMPARE(control->currentText(), QString("Herb and Woody Chemical Control"));
    QCOMPARE(control->itemText(0), QString("No Chemical Control"));
    struct Case {
      const char* field;
      const char* text;
      const char* message;
      QMessageBox::Icon icon;
    };
    const Case cases[] = {
        {"si", "abc", "Enter an integer.", QMessageBox::NoIcon},
        {"si", "30", "Enter an integer between 39 and 95.", QMessageBox::Warning},
        {"survival", "0", "Enter a number between 1 and 100.", QMessageBox::Warning}};
    for (const Case& c : cases) {
      auto* field = dialog.findChild<QLineEdit*>(c.field);
      QString before = field->text();
      field->setText(c.text);
      dialog.findChild<QLineEdit*>("trees")->setFocus();
      QString text;
      QMessageBox::Icon icon = QMessageBox::NoIcon;
      whenModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        text = box->text();
        icon = box->icon();
        box->button(QMessageBox::Ok)->click();
      });
      button(&dialog, "search")->click();
      QCOMPARE(text, QString(c.message));
      QCOMPARE(icon, c.icon);
      QCOMPARE(dialog.focusWidget(), field);
      QVERIFY(!dialog.searching());
      field->setText(before);
    }
  }

  // Cancel stops the whole default space early; closing the dialog mid-search is safe.
  void cancelStopsTheSearch() {
    FindRegimeDlg dialog(nullptr, builtInDefaults().settings);
    QSignalSpy finished(&dialog, &FindRegimeDlg::searchFinished);
    button(&dialog, "search")->click();
    QVERIFY(button(&dialog, "cancel")->isEnabled());
    button(&dialog, "cancel")->click();
    QVERIFY(finished.wait(120000));
    QVERIFY(dialog.result().cancelled);
    QVERIFY(dialog.findChild<QLabel*>("summary")->text().startsWith("Cancelled after "));
    QVERIFY(dialog.findChild<QProgressBar*>()->value() < 1000);
    QVERIFY(button(&dialog, "search")->isEnabled());
    QVERIFY(!button(&dialog, "cancel")->isEnabled());
    auto closing = std::make_unique<FindRegimeDlg>(nullptr, builtInDefaults().settings);
    button(closing.get(), "search")->click();
    closing.reset();
  }

  // Open: a new, modified, untitled window holding what `keldovar-cli run` of the regime's script
  // stores, with the same clock; the document it was asked from is untouched.
  void opensTheBatchRunnersDocument() {
    TestProgram program;
    program.app->start({});
    CMainFrame& frame = program.frame();
    CChildFrame* asking = frame.activeChild();
    std::vector<Step> chosen;
    whenModal([&chosen](QWidget* modal) {
      auto* dialog = qobject_cast<FindRegimeDlg*>(modal);
      if (dialog == nullptr) return;
      smallSpace(dialog);
      QObject::connect(dialog, &FindRegimeDlg::searchFinished, dialog, [dialog, &chosen] {
        dialog->findChild<QTableWidget*>()->selectRow(1);
        chosen = dialog->chosenSteps();
        button(dialog, "open")->click();
      });
      button(dialog, "search")->click();
    });
    frame.runCommand(cmd::kFindRegime);
    QVERIFY(!chosen.empty());
    QCOMPARE(frame.children().size(), 2);
    CChildFrame& opened = program.active();
    QVERIFY(&opened != asking);
    QVERIFY(opened.controller().modified());
    QVERIFY(opened.document().path().isEmpty());
    QCOMPARE(asking->controller().store().lastIndex, -1);

    QTemporaryDir folder;
    QFile script(folder.filePath("regime.kdr"));
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write(regimeScript(chosen).c_str());
    script.close();
    QProcess cli;
    cli.start(KELDOVAR_CLI_PATH, {"run", script.fileName(), "--clock", "2024-03-05 14:07:09",
                                  "--out", folder.filePath("cli.kdv")});
    QVERIFY(cli.waitForFinished());
    QCOMPARE(cli.exitCode(), 0);
    QString path = folder.filePath("desktop.kdv");
    QVERIFY(opened.document().saveTo(path).ok());
    QByteArray batch = fileBytes(folder.filePath("cli.kdv"));
    QVERIFY(!batch.isEmpty());
    QCOMPARE(fileBytes(path), batch);
  }

  // Compare Top 3: the three best regimes open as documents and are compared alone, best first,
  // with the figures the search ranked them by.
  void comparesTheTopRegimes() {
    TestProgram program;
    program.app->start({});
    CMainFrame& frame = program.frame();
    std::vector<econ::RankedRegime> best;
    whenModal([&best](QWidget* modal) {
      auto* dialog = qobject_cast<FindRegimeDlg*>(modal);
      if (dialog == nullptr) return;
      smallSpace(dialog);
      QObject::connect(dialog, &FindRegimeDlg::searchFinished, dialog, [dialog, &best] {
        best = dialog->result().best;
        button(dialog, "compareTop")->click();
      });
      button(dialog, "search")->click();
    });
    frame.runCommand(cmd::kFindRegime);
    QVERIFY(best.size() >= 3);
    QCOMPARE(frame.children().size(), 4);
    auto* window = frame.findChild<CompareWindow*>();
    QVERIFY(window != nullptr && window->isVisible());
    QCOMPARE(window->regimes().size(), std::size_t{3});
    for (std::size_t i = 0; i < 3; ++i) {
      const econ::RegimeSummary& s = window->regimes()[i].summary;
      QCOMPARE(s.rotation, best[i].rotation);
      QCOMPARE(s.sawtimber.npv, best[i].sawtimber.npv);
      QCOMPARE(s.pulpwood.npv, best[i].pulpwood.npv);
    }
  }
};
KELDOVAR_GUI_TEST(FindRegimeTest);

#include "find_regime_test.moc"
