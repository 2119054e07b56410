// The input dialogs driven as a user drives them: what they open with, the message, focus and
// rewrites of a refused field, the dialog staying open, Cancel, and a real document's steps.
#include <QAbstractButton>
#include <QLineEdit>
#include <QTest>

#include "desktop/dialogs/qt_prompts.h"
#include "document/document_controller.h"
#include "engine/engine.h"
#include "script/dialog_checks.h"
#include "tests/gui/gui_test_registry.h"
#include "tests/gui/modal_script.h"

namespace keldovar::test {

class DialogsTest : public QObject {
  Q_OBJECT

  QWidget window;
  QtPrompts prompts{&window};
  RememberedValues memory;
  StandFacts stand{20, 120, 500, 4, 0, 1};  // AG, BA, TPA, minClass, truncationDBH, unthinned

 private Q_SLOTS:
  void unthinnedOpensRememberedFollowsAgeAndChecksInOrder() {
    memory.unthinnedTrees = 500;
    memory.unthinnedHeight = 65;
    ModalScript script;
    QStringList opened;
    std::vector<bool> basalAreaEnabled;
    script.read("initDlg", {"trees", "age", "ba", "height", "si"}, &opened);
    for (const char* age : {"5", "12"}) {
      script.type("initDlg", {{"age", age}}).on("initDlg", [&](QWidget* w) {
        basalAreaEnabled.push_back(fieldOf(w, "ba")->isEnabled());
      });
    }
    script.noteFocus("initDlg").ok("initDlg", {{"trees", "50"}}).box().noteFocus("initDlg");
    script.ok("initDlg", {{"trees", "500"}, {"si", "60"}}).box();
    script.ok("initDlg", {{"si", ""}, {"height", "95"}}).box().noteFocus("initDlg");
    script.ok("initDlg", {{"height", "70"}, {"ba", "110"}});
    std::optional<UnthinnedEntry> entry = prompts.askUnthinned(memory);

    QVERIFY(script.finished());
    QCOMPARE(opened, QStringList({"500", "", "", "65.0", ""}));
    QCOMPARE(basalAreaEnabled, std::vector<bool>({false, true}));
    QCOMPARE(script.boxTexts(),
             QStringList({"Enter an integer between 80 and 1500.",
                          "Please specify either Site Index or Dominant Height, not both.",
                          "Please specify Dominant Height between\n20 and 90"}));
    QCOMPARE(script.boxes[0].caption, QString("KELDOVAR"));
    QCOMPARE(script.boxes[0].icon, QMessageBox::Warning);
    QCOMPARE(script.focusedFields(), QStringList({"trees", "trees", "height"}));
    QCOMPARE(script.focus[1].selected, QString("50"));
    QVERIFY(entry);
    QCOMPARE(entry->age, 12.0f);
    QCOMPARE(entry->height, 70.0f);
    QCOMPARE(entry->basalArea, 110.0f);
  }

  void thinnedNamesTheThinningAgeBound() {
    ModalScript script;
    Texts valid{{"age", "30"}, {"ba", "95"}, {"trees", "400"}, {"thinage", "15"}, {"si", "60"}};
    Texts late = valid;
    late["thinage"] = "35";
    script.noteFocus("initThinDlg").ok("initThinDlg", {{"age", "50"}}).box();
    script.noteFocus("initThinDlg").ok("initThinDlg", late).box().noteFocus("initThinDlg");
    script.ok("initThinDlg", valid);
    std::optional<ThinnedEntry> entry = prompts.askThinned(memory);

    QVERIFY(script.finished());
    QCOMPARE(script.boxTexts(), QStringList({"Enter an integer between 8 and 45.",
                                             "Please specify the Thinning age\nbetween 8 and 30"}));
    QCOMPARE(script.focusedFields(), QStringList({"age", "age", "thinage"}));
    QVERIFY(entry);
    QCOMPARE(entry->thinAge, 15);
  }

  void percentRemovedWantsExactlyOne() {
    ModalScript script;
    QStringList afterEither;
    script.ok("pcntRemDlg").box().read("pcntRemDlg", {"pcttrees", "pctba"}, &afterEither);
    script.ok("pcntRemDlg", {{"pcttrees", "100"}}).box().noteFocus("pcntRemDlg");
    script.ok("pcntRemDlg", {{"pcttrees", ""}, {"pctba", "30"}});
    std::optional<PercentRemovedEntry> entry = prompts.askPercentRemoved(memory);

    QVERIFY(script.finished());
    QCOMPARE(script.boxTexts(),
             QStringList(
                 {"Please specify either percent of Basal Area or percent of Trees",
                  "Please specify the percent of Trees removed at thinning\n between 1 and 99"}));
    QCOMPARE(afterEither, QStringList({"", ""}));
    QCOMPARE(script.focusedFields(), QStringList({"pcttrees"}));
    QVERIFY(entry);
    QCOMPARE(entry->basalArea, 30);
    QCOMPARE(entry->trees, 0);
  }

  void plantationStartsWithoutControlAndFocusOnSiteIndex() {
    ModalScript script;
    bool noneSelected = false;
    script.noteFocus("initPlantDlg").on("initPlantDlg", [&](QWidget* w) {
      noneSelected = w->findChild<QAbstractButton*>("none")->isChecked();
    });
    script.tick("initPlantDlg", "woody");
    script.ok("initPlantDlg", {{"si", "30"}, {"trees", "600"}, {"survival", "90"}}).box();
    script.noteFocus("initPlantDlg").ok("initPlantDlg", {{"si", "60"}});
    std::optional<PlantationEntry> entry = prompts.askPlantation(memory);

    QVERIFY(script.finished());
    QVERIFY(noneSelected);
    QCOMPARE(script.boxTexts(), QStringList({"Enter an integer between 39 and 95."}));
    QCOMPARE(script.focusedFields(), QStringList({"si", "si"}));
    QVERIFY(entry);
    QCOMPARE(entry->control, VegetationControl::Woody);
  }

  void growPutsSixtyInTheFieldAndNamesTheCurrentAge() {
    ModalScript script;
    QStringList opened;
    script.read("growDlg", {"age"}, &opened);
    script.ok("growDlg", {{"age", "45"}}).box().noteFocus("growDlg");
    script.ok("growDlg", {{"age", "20"}}).box().noteFocus("growDlg").cancel("growDlg");
    QVERIFY(!prompts.askGrowAge(stand));

    QVERIFY(script.finished());
    QCOMPARE(opened, QStringList({""}));
    QCOMPARE(
        script.boxTexts(),
        QStringList({"The projection age must be between \n 8 and 40 \nfor unthinned stands. ",
                     "The projection age must be greater than the current stand age which is 20"}));
    QCOMPARE(script.focusedFields(), QStringList({"age", "age"}));
    QCOMPARE(script.focus[0].selected, QString("60"));
    QCOMPARE(script.focus[1].selected, QString("20"));

    StandFacts thinned = stand;
    thinned.unthinned = 0;
    ModalScript accepts;
    accepts.ok("growDlg", {{"age", "45"}});
    QCOMPARE(prompts.askGrowAge(thinned).value_or(0), 45);
  }

  void thinningDialogsRefuseAThinStandAndAcceptTheirBounds() {
    StandFacts thin = stand;
    thin.BA = 19.5;
    ModalScript refused;
    refused.box().box();
    QVERIFY(!prompts.askResidualBA(memory, thin));
    QVERIFY(!prompts.askRowLow(memory, thin));
    QVERIFY(refused.finished());
    QString unable("Unable to Thin.  The current Basal Area (19.5) is less than 20");
    QCOMPARE(refused.boxTexts(), QStringList({unable, unable}));

    memory.residualBA = 80;
    ModalScript script;
    QStringList opened;
    script.read("resBasalDlg", {"ba"}, &opened);
    script.ok("resBasalDlg", {{"ba", "19.9"}}).box().noteFocus("resBasalDlg");
    script.ok("resBasalDlg", {{"ba", "120"}}).ok("resBasalDlg", {{"ba", "20"}});
    QCOMPARE(prompts.askResidualBA(memory, stand).value_or(0), 120.0f);
    QCOMPARE(prompts.askResidualBA(memory, stand).value_or(0), 20.0f);
    QVERIFY(script.finished());
    QCOMPARE(opened, QStringList({"80"}));
    QCOMPARE(script.boxTexts(),
             QStringList({"Please enter a Residual Basal Area in the range\n 20.0 - 120.0"}));
    QCOMPARE(script.focusedFields(), QStringList({"ba"}));

    ModalScript rowLow;
    rowLow.ok("rowLowThinDlg", {{"ba", "130"}, {"row", "25"}}).box();
    rowLow.noteFocus("rowLowThinDlg").ok("rowLowThinDlg", {{"ba", "70"}});
    QCOMPARE(prompts.askRowLow(memory, stand).value_or(RowLowEntry{}).rowPercent, 25.0f);
    QCOMPARE(rowLow.boxTexts(), QStringList({"Please choose a Basal Area between\n 20 - 120.0"}));
    QCOMPARE(rowLow.focusedFields(), QStringList({"ba"}));

    DBHBounds bounds = thinToDBHBounds(stand);
    ModalScript dbh;
    dbh.ok("thintoDBHdlg", {{"dbh", QString::number(bounds.upper + 1)}}).box();
    dbh.ok("thintoDBHdlg", {{"dbh", QString::number(bounds.lower)}});
    QCOMPARE(prompts.askThinToDBH(memory, stand).value_or(0), static_cast<float>(bounds.lower));
    QCOMPARE(dbh.boxTexts(),
             QStringList({QString("The diameter you want to thin to must be in the range\n%1 - %2")
                              .arg(bounds.lower)
                              .arg(bounds.upper)}));
  }

  void lowThinMethodEndsOnlyWithOk() {
    ModalScript script;
    bool byBasalArea = false, stillOpen = false;
    script.on("thinParamDlg", [&](QWidget* w) {
      byBasalArea = w->findChild<QAbstractButton*>("ba")->isChecked();
      QTest::keyClick(w, Qt::Key_Escape);
      w->close();
    });
    script.on("thinParamDlg", [&](QWidget* w) { stillOpen = w->isVisible(); });
    script.tick("thinParamDlg", "dbh").ok("thinParamDlg");
    QCOMPARE(prompts.askLowThinMethod(), 1);
    QVERIFY(script.finished());
    QVERIFY(byBasalArea);
    QVERIFY(stillOpen);
  }

  void fertilizeOpensWithZeroAndPhosphorus() {
    ModalScript script;
    QStringList opened;
    bool phosphorus = false;
    script.read("dlgFertilize", {"n"}, &opened).on("dlgFertilize", [&](QWidget* w) {
      phosphorus = w->findChild<QAbstractButton*>("p")->isChecked();
    });
    script.ok("dlgFertilize").box().noteFocus("dlgFertilize");
    script.tick("dlgFertilize", "p", false).ok("dlgFertilize", {{"n", "150"}});
    std::optional<FertilizeEntry> entry = prompts.askFertilize();

    QVERIFY(script.finished());
    QCOMPARE(opened, QStringList({"0"}));
    QVERIFY(phosphorus);
    QCOMPARE(script.boxTexts(), QStringList({"Enter a number between 50 and 300."}));
    QCOMPARE(script.focus[0].selected, QString("0"));
    QVERIFY(entry);
    QCOMPARE(entry->nitrogen, 150.0f);
    QVERIFY(!entry->phosphorus);
  }

  void financeShowsTheDocumentsValuesAndHandsBackMakeDefault() {
    FinancialValues current;
    current.harvestSaw = 27.5f;
    ModalScript script;
    QStringList opened;
    script.read("financeDlg", {"interest", "harvest_saw"}, &opened).noteFocus("financeDlg");
    script.ok("financeDlg", {{"next_thin_saw", "151"}}).box().noteFocus("financeDlg");
    script.tick("financeDlg", "makedefault");
    script.ok("financeDlg", {{"next_thin_saw", "150"}, {"interest", "6.25"}});
    std::optional<FinanceEntry> entry = prompts.askFinance(current);

    QVERIFY(script.finished());
    QCOMPARE(opened, QStringList({"5", "27.5"}));
    QCOMPARE(script.focusedFields(), QStringList({"interest", "next_thin_saw"}));
    QCOMPARE(script.boxTexts(), QStringList({"Enter a number between 0 and 150."}));
    QVERIFY(entry);
    QVERIFY(entry->makeDefault);
    QCOMPARE(entry->values.interestRate, 6.25f);
    QCOMPARE(entry->values.harvestSaw, 27.5f);
  }

  void merchLimitsCheckTopAgainstThresholds() {
    DocumentSettings current;
    current.merchLimitShown = -1;
    ModalScript script;
    QStringList tops;
    script.read("merchLimitDlg", {"top"}, &tops);
    script.ok("merchLimitDlg").box().read("merchLimitDlg", {"top"}, &tops);
    script.ok("merchLimitDlg", {{"top", "4"}, {"pulp", "4"}}).box().noteFocus("merchLimitDlg");
    script.ok("merchLimitDlg", {{"pulp", "8"}}).box().cancel("merchLimitDlg");
    QVERIFY(!prompts.askMerchLimits(current));

    QVERIFY(script.finished());
    QCOMPARE(tops, QStringList({"", ""}));
    QCOMPARE(script.boxTexts(),
             QStringList({"Please specify Outside bark top diameter.",
                          "Please specify the Threshold Pulpwood greater than Outside Bark",
                          "Please specify the Threshold Pulpwood between 4 and (Threshold "
                          "Sawtimber - 1)"}));
    QCOMPARE(script.focusedFields(), QStringList({"pulp"}));
  }

  void cancelGivesNothingInEveryDialog() {
    ModalScript script;
    for (const char* name :
         {"initDlg", "initThinDlg", "pcntRemDlg", "initPlantDlg", "growDlg", "resBasalDlg",
          "thintoDBHdlg", "rowLowThinDlg", "dlgFertilize", "financeDlg", "merchLimitDlg"}) {
      script.cancel(name);
    }
    QVERIFY(!prompts.askUnthinned(memory));
    QVERIFY(!prompts.askThinned(memory));
    QVERIFY(!prompts.askPercentRemoved(memory));
    QVERIFY(!prompts.askPlantation(memory));
    QVERIFY(!prompts.askGrowAge(stand));
    QVERIFY(!prompts.askResidualBA(memory, stand));
    QVERIFY(!prompts.askThinToDBH(memory, stand));
    QVERIFY(!prompts.askRowLow(memory, stand));
    QVERIFY(!prompts.askFertilize());
    QVERIFY(!prompts.askFinance(FinancialValues{}));
    QVERIFY(!prompts.askMerchLimits(DocumentSettings{}));
    QVERIFY(script.finished());
    QVERIFY(script.boxes.empty());
  }

  // The seam: a document's steps and settings commands run through the real dialogs.
  void aDocumentRunsItsStepsThroughTheDialogs() {
    Session session;
    MemorySettingsStore settings;
    DocumentController document(session, prompts, settings, DocumentSettings{}, ViewOptions{});
    ModalScript script;
    script.ok("initPlantDlg", {{"si", "60"}, {"trees", "600"}, {"survival", "90"}});
    script.ok("growDlg", {{"age", "20"}}).cancel("growDlg").box();
    script.tick("financeDlg", "makedefault").ok("financeDlg", {{"interest", "2.5"}});
    script.tick("merchLimitDlg", "makedefault");
    script.ok("merchLimitDlg", {{"top", "4"}, {"saw", "10"}, {"pulp", "6"}}).box();
    QVERIFY(document.initialize(kNewPlantation));
    QVERIFY(document.grow());
    QVERIFY(!document.grow());
    QVERIFY(document.financialValues());
    QVERIFY(document.merchLimits());

    QVERIFY(script.finished());
    QCOMPARE(document.store().lastIndex, 1);
    QCOMPARE(document.store().snapshot.AG, 20.0);
    QCOMPARE(document.content().remembered.plantTrees, 600);
    QCOMPARE(script.boxTexts(),
             QStringList({"Returning to previous conditions. Function aborted.",
                          "Warning: due to Merchantability Limit changes the current output data "
                          "is invalid.  Please generate data again."}));
    QCOMPARE(script.boxes[0].icon, QMessageBox::Information);
    QCOMPARE(script.boxes[0].caption, QString("KELDOVAR"));
    QCOMPARE(settings.readString("Options", "interest_rate"), std::optional<std::string>("2.50"));
    QCOMPARE(settings.readString("Options", "Merch_limit"), std::optional<std::string>("4.00"));
    QCOMPARE(settings.readInt("Options", "threshold_saw"), std::optional<int>(10));
  }
};
KELDOVAR_GUI_TEST(DialogsTest);

}  // namespace keldovar::test

#include "dialogs_test.moc"
