// The input dialogs driven as a user drives them: what they open with, the message, focus and
// rewrites of a refused field, the dialog staying open, Cancel, and a real document's steps.
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include "app/dialog_checks.h"
#include "app/qt/dialogs/qt_prompts.h"
#include "engine/engine.h"
#include "tests/gui/gui_test_registry.h"
#include "tests/gui/modal_script.h"
#include "view/document_controller.h"

namespace keldovar::test {
namespace {

const QString kTitle = QStringLiteral("KELDOVAR");

QString textOf(QWidget* dialog, const char* field) {
  return fieldOf(dialog, QString::fromLatin1(field))->text();
}
bool isChecked(QWidget* dialog, const char* name) {
  auto* button = dialog->findChild<QAbstractButton*>(QString::fromLatin1(name));
  return button && button->isChecked();
}

}  // namespace

class DialogsTest : public QObject {
  Q_OBJECT

  QWidget window;
  QtPrompts prompts{&window};
  RememberedValues memory;
  StandFacts stand{20, 120, 500, 4, 0, 1};  // AG, BA, TPA, minClass, truncationDBH, unthinned

 private slots:
  void unthinnedOpensRememberedFollowsAgeAndChecksInOrder() {
    memory.unthinnedTrees = 500;
    memory.unthinnedHeight = 65;
    ModalScript script;
    QStringList opened;
    bool enabledAt5 = true, enabledAt12 = false;
    script.on("initDlg", [&](QWidget* w) {
      opened = {textOf(w, "trees"), textOf(w, "age"), textOf(w, "ba"), textOf(w, "height"),
                textOf(w, "si")};
      fieldOf(w, "age")->setText("5");
      enabledAt5 = fieldOf(w, "ba")->isEnabled();
      fieldOf(w, "age")->setText("12");
      enabledAt12 = fieldOf(w, "ba")->isEnabled();
    });
    script.noteFocus("initDlg").ok("initDlg", {{"trees", "50"}}).box().noteFocus("initDlg");
    script.ok("initDlg", {{"trees", "500"}, {"si", "60"}}).box();
    script.ok("initDlg", {{"si", ""}, {"height", "95"}}).box().noteFocus("initDlg");
    script.ok("initDlg", {{"height", "70"}, {"ba", "110"}});
    std::optional<UnthinnedEntry> entry = prompts.askUnthinned(memory);

    QVERIFY(script.finished());
    QCOMPARE(opened, QStringList({"500", "", "", "65.0", ""}));
    QVERIFY(!enabledAt5);
    QVERIFY(enabledAt12);
    QCOMPARE(script.focus[0].field, QString("age"));
    QCOMPARE(script.boxes[0].caption, kTitle);
    QCOMPARE(script.boxes[0].text, QString("Enter an integer between 80 and 1500."));
    QCOMPARE(script.boxes[0].icon, QMessageBox::Warning);
    QCOMPARE(script.focus[1].field, QString("trees"));
    QCOMPARE(script.focus[1].selected, QString("50"));
    QCOMPARE(script.boxes[1].text,
             QString("Please specify either Site Index or Dominant Height, not both."));
    QCOMPARE(script.boxes[2].text, QString("Please specify Dominant Height between\n20 and 90"));
    QCOMPARE(script.focus[2].field, QString("height"));
    QVERIFY(entry);
    QCOMPARE(entry->age, 12.0f);
    QCOMPARE(entry->height, 70.0f);
    QCOMPARE(entry->basalArea, 110.0f);
  }

  void thinnedNamesTheThinningAgeBound() {
    ModalScript script;
    Texts valid{{"age", "30"}, {"ba", "95"}, {"trees", "400"}, {"thinage", "15"}, {"si", "60"}};
    script.noteFocus("initThinDlg").ok("initThinDlg", {{"age", "50"}}).box();
    script.noteFocus("initThinDlg");
    Texts late = valid;
    late["thinage"] = "35";
    script.ok("initThinDlg", late).box().noteFocus("initThinDlg");
    script.ok("initThinDlg", valid);
    std::optional<ThinnedEntry> entry = prompts.askThinned(memory);

    QVERIFY(script.finished());
    QCOMPARE(script.focus[0].field, QString("age"));
    QCOMPARE(script.boxes[0].text, QString("Enter an integer between 8 and 45."));
    QCOMPARE(script.focus[1].field, QString("age"));
    QCOMPARE(script.boxes[1].text, QString("Please specify the Thinning age\nbetween 8 and 30"));
    QCOMPARE(script.focus[2].field, QString("thinage"));
    QVERIFY(entry);
    QCOMPARE(entry->thinAge, 15);
  }

  void percentRemovedWantsExactlyOne() {
    ModalScript script;
    QStringList afterEither;
    script.ok("pcntRemDlg").box().on("pcntRemDlg", [&](QWidget* w) {
      afterEither = {textOf(w, "pcttrees"), textOf(w, "pctba")};
    });
    script.ok("pcntRemDlg", {{"pcttrees", "100"}}).box().noteFocus("pcntRemDlg");
    script.ok("pcntRemDlg", {{"pcttrees", ""}, {"pctba", "30"}});
    std::optional<PercentRemovedEntry> entry = prompts.askPercentRemoved(memory);

    QVERIFY(script.finished());
    QCOMPARE(script.boxes[0].text,
             QString("Please specify either percent of Basal Area or percent of Trees"));
    QCOMPARE(afterEither, QStringList({"", ""}));
    QCOMPARE(script.boxes[1].text,
             QString("Please specify the percent of Trees removed at thinning\n between 1 and 99"));
    QCOMPARE(script.focus[0].field, QString("pcttrees"));
    QVERIFY(entry);
    QCOMPARE(entry->basalArea, 30);
    QCOMPARE(entry->trees, 0);
  }

  void plantationStartsWithoutControlAndFocusOnTrees() {
    ModalScript script;
    bool noneSelected = false;
    script.noteFocus("initPlantDlg").on("initPlantDlg", [&](QWidget* w) {
      noneSelected = isChecked(w, "none");
      w->findChild<QRadioButton*>("woody")->setChecked(true);
    });
    script.ok("initPlantDlg", {{"si", "30"}, {"trees", "600"}, {"survival", "90"}}).box();
    script.noteFocus("initPlantDlg").ok("initPlantDlg", {{"si", "60"}});
    std::optional<PlantationEntry> entry = prompts.askPlantation(memory);

    QVERIFY(script.finished());
    QVERIFY(noneSelected);
    QCOMPARE(script.focus[0].field, QString("trees"));
    QCOMPARE(script.boxes[0].text, QString("Enter an integer between 39 and 95."));
    QCOMPARE(script.focus[1].field, QString("si"));
    QVERIFY(entry);
    QCOMPARE(entry->control, VegetationControl::Woody);
    QCOMPARE(entry->trees, 600);
  }

  void growPutsSixtyInTheFieldAndNamesTheCurrentAge() {
    ModalScript script;
    QString opened = "unset";
    script.on("growDlg", [&](QWidget* w) { opened = textOf(w, "grow"); });
    script.ok("growDlg", {{"grow", "45"}}).box().noteFocus("growDlg");
    script.ok("growDlg", {{"grow", "20"}}).box().noteFocus("growDlg");
    script.cancel("growDlg");
    QVERIFY(!prompts.askGrowAge(stand));

    QVERIFY(script.finished());
    QCOMPARE(opened, QString(""));
    QCOMPARE(script.boxes[0].text,
             QString("The projection age must be between \n 8 and 40 \nfor unthinned stands. "));
    QCOMPARE(script.focus[0].field, QString("grow"));
    QCOMPARE(script.focus[0].selected, QString("60"));
    QCOMPARE(script.boxes[1].text,
             QString("The projection age must be greater than the current stand age which is 20"));
    QCOMPARE(script.focus[1].selected, QString("20"));

    StandFacts thinned = stand;
    thinned.unthinned = 0;
    ModalScript accepts;
    accepts.ok("growDlg", {{"grow", "45"}});
    std::optional<int> age = prompts.askGrowAge(thinned);
    QVERIFY(age);
    QCOMPARE(*age, 45);
    QVERIFY(accepts.finished());
  }

  void thinningDialogsRefuseAThinStandAndAcceptTheirBounds() {
    StandFacts thin = stand;
    thin.BA = 19.5;
    ModalScript refused;
    refused.box().box();
    QVERIFY(!prompts.askResidualBA(memory, thin));
    QVERIFY(!prompts.askRowLow(memory, thin));
    QVERIFY(refused.finished());
    QCOMPARE(refused.boxes.size(), std::size_t{2});
    for (const ShownBox& shown : refused.boxes) {
      QCOMPARE(shown.text,
               QString("Unable to Thin.  The current Basal Area (19.5) is less than 20"));
    }

    memory.residualBA = 80;
    ModalScript script;
    QString opened;
    script.on("resBasalDlg", [&](QWidget* w) { opened = textOf(w, "residual"); });
    script.ok("resBasalDlg", {{"residual", "19.9"}}).box().noteFocus("resBasalDlg");
    script.ok("resBasalDlg", {{"residual", "120"}});
    script.ok("resBasalDlg", {{"residual", "20"}});
    std::optional<float> whole = prompts.askResidualBA(memory, stand);
    std::optional<float> least = prompts.askResidualBA(memory, stand);
    QVERIFY(script.finished());
    QCOMPARE(opened, QString("80"));
    QVERIFY(whole && least);
    QCOMPARE(*whole, 120.0f);
    QCOMPARE(*least, 20.0f);
    QCOMPARE(script.boxes[0].text,
             QString("Please enter a Residual Basal Area in the range\n 20.0 - 120.0"));
    QCOMPARE(script.focus[0].field, QString("residual"));

    ModalScript rowLow;
    rowLow.ok("rowLowThinDlg", {{"residual", "130"}, {"row", "25"}}).box();
    rowLow.noteFocus("rowLowThinDlg").ok("rowLowThinDlg", {{"residual", "70"}});
    std::optional<RowLowEntry> entry = prompts.askRowLow(memory, stand);
    QVERIFY(rowLow.finished());
    QCOMPARE(rowLow.boxes[0].text, QString("Please choose a Basal Area between\n 20 - 120.0"));
    QCOMPARE(rowLow.focus[0].field, QString("residual"));
    QVERIFY(entry);
    QCOMPARE(entry->rowPercent, 25.0f);

    DBHBounds bounds = thinToDBHBounds(stand);
    ModalScript dbh;
    dbh.ok("thintoDBHdlg", {{"dbh", QString::number(bounds.upper + 1)}}).box();
    dbh.ok("thintoDBHdlg", {{"dbh", QString::number(bounds.lower)}});
    std::optional<float> diameter = prompts.askThinToDBH(memory, stand);
    QVERIFY(dbh.finished());
    QVERIFY(diameter);
    QCOMPARE(*diameter, static_cast<float>(bounds.lower));
    QCOMPARE(dbh.boxes[0].text,
             QString("The diameter you want to thin to must be in the range\n%1 - %2")
                 .arg(bounds.lower)
                 .arg(bounds.upper));
  }

  void lowThinMethodEndsOnlyWithOk() {
    ModalScript script;
    bool byBasalArea = false, stillOpen = false;
    script.on("thinParamDlg", [&](QWidget* w) {
      byBasalArea = isChecked(w, "byba");
      QTest::keyClick(w, Qt::Key_Escape);
      w->close();
    });
    script.on("thinParamDlg", [&](QWidget* w) {
      stillOpen = w->isVisible();
      w->findChild<QRadioButton*>("bydbh")->setChecked(true);
      pressLater(w, QMessageBox::Ok);
    });
    QCOMPARE(prompts.askLowThinMethod(), 1);
    QVERIFY(script.finished());
    QVERIFY(byBasalArea);
    QVERIFY(stillOpen);
  }

  void fertilizeOpensWithZeroAndPhosphorus() {
    ModalScript script;
    QString opened;
    bool phosphorus = false;
    script.on("dlgFertilize", [&](QWidget* w) {
      opened = textOf(w, "nitrogen");
      phosphorus = isChecked(w, "phosphorus");
    });
    script.ok("dlgFertilize").box().noteFocus("dlgFertilize");
    script.on("dlgFertilize", [](QWidget* w) {
      w->findChild<QCheckBox*>("phosphorus")->setChecked(false);
      fieldOf(w, "nitrogen")->setText("150");
      pressLater(w, QMessageBox::Ok);
    });
    std::optional<FertilizeEntry> entry = prompts.askFertilize();
    QVERIFY(script.finished());
    QCOMPARE(opened, QString("0"));
    QVERIFY(phosphorus);
    QCOMPARE(script.boxes[0].text, QString("Enter a number between 50 and 300."));
    QCOMPARE(script.focus[0].selected, QString("0"));
    QVERIFY(entry);
    QCOMPARE(entry->nitrogen, 150.0f);
    QVERIFY(!entry->phosphorus);
  }

  void financeShowsTheDocumentsValuesAndHandsBackMakeDefault() {
    FinancialValues current;
    current.harvestSaw = 27.5f;
    ModalScript script;
    QString opened;
    script.on("financeDlg", [&](QWidget* w) { opened = textOf(w, "harvest_saw"); });
    script.noteFocus("financeDlg").ok("financeDlg", {{"next_thin_saw", "151"}}).box();
    script.noteFocus("financeDlg").on("financeDlg", [](QWidget* w) {
      w->findChild<QCheckBox*>("makedefault")->setChecked(true);
      fieldOf(w, "next_thin_saw")->setText("150");
      fieldOf(w, "interest")->setText("6.25");
      pressLater(w, QMessageBox::Ok);
    });
    std::optional<FinanceEntry> entry = prompts.askFinance(current);
    QVERIFY(script.finished());
    QCOMPARE(opened, QString("27.5"));
    QCOMPARE(script.focus[0].field, QString("interest"));
    QCOMPARE(script.focus[0].selected, QString("5"));
    QCOMPARE(script.boxes[0].text, QString("Enter a number between 0 and 150."));
    QCOMPARE(script.focus[1].field, QString("next_thin_saw"));
    QVERIFY(entry);
    QVERIFY(entry->makeDefault);
    QCOMPARE(entry->values.interestRate, 6.25f);
    QCOMPARE(entry->values.harvestSaw, 27.5f);
  }

  void merchLimitsCheckTopAgainstThresholds() {
    DocumentSettings current;
    current.merchLimitShown = -1;
    ModalScript script;
    QString opened = "unset";
    QString afterEmpty = "unset";
    script.on("merchLimitDlg", [&](QWidget* w) { opened = textOf(w, "top"); });
    script.ok("merchLimitDlg").box().on("merchLimitDlg", [&](QWidget* w) {
      afterEmpty = textOf(w, "top");
    });
    script.ok("merchLimitDlg", {{"top", "4"}, {"pulp", "4"}}).box().noteFocus("merchLimitDlg");
    script.ok("merchLimitDlg", {{"pulp", "8"}}).box().noteFocus("merchLimitDlg");
    script.cancel("merchLimitDlg");
    QVERIFY(!prompts.askMerchLimits(current));
    QVERIFY(script.finished());
    QCOMPARE(opened, QString(""));
    QCOMPARE(script.boxes[0].text, QString("Please specify Outside bark top diameter."));
    QCOMPARE(afterEmpty, QString(""));
    QCOMPARE(script.boxes[1].text,
             QString("Please specify the Threshold Pulpwood greater than Outside Bark"));
    QCOMPARE(script.focus[0].field, QString("pulp"));
    QCOMPARE(script.boxes[2].text,
             QString("Please specify the Threshold Pulpwood between 4 and (Threshold Sawtimber - "
                     "1)"));
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

  // The seam: a document's steps run through the real dialogs.
  void aDocumentInitializesAndGrowsThroughTheDialogs() {
    Session session;
    MemorySettingsStore settings;
    DocumentController document(session, prompts, settings, DocumentSettings{}, ViewOptions{});
    ModalScript script;
    script.ok("initPlantDlg", {{"si", "60"}, {"trees", "600"}, {"survival", "90"}});
    script.ok("growDlg", {{"grow", "20"}});
    script.cancel("growDlg").box();
    QVERIFY(document.initialize(kNewPlantation));
    QVERIFY(document.grow());
    QVERIFY(!document.grow());
    QVERIFY(script.finished());
    QCOMPARE(document.store().lastIndex, 1);
    QCOMPARE(document.store().snapshot.AG, 20.0);
    QCOMPARE(document.content().remembered.plantTrees, 600);
    QCOMPARE(script.boxes[0].text, QString("Returning to previous conditions. Function aborted."));
    QCOMPARE(script.boxes[0].icon, QMessageBox::Information);
    QCOMPARE(script.boxes[0].caption, kTitle);

    // The settings commands: the ticked box makes the document's controller write the defaults.
    auto tickDefault = [](const Texts& texts) {
      return [texts](QWidget* w) {
        for (const auto& [name, text] : texts) fieldOf(w, name)->setText(text);
        w->findChild<QCheckBox*>("makedefault")->setChecked(true);
        pressLater(w, QMessageBox::Ok);
      };
    };
    ModalScript settingsScript;
    settingsScript.on("financeDlg", tickDefault({{"interest", "2.5"}}));
    settingsScript.on("merchLimitDlg", tickDefault({{"top", "4"}, {"saw", "10"}, {"pulp", "6"}}));
    settingsScript.box();
    QVERIFY(document.financialValues());
    QVERIFY(document.merchLimits());
    QVERIFY(settingsScript.finished());
    QCOMPARE(settings.readString("Options", "interest_rate"), std::optional<std::string>("2.50"));
    QCOMPARE(settings.readString("Options", "Merch_limit"), std::optional<std::string>("4.00"));
    QCOMPARE(settings.readInt("Options", "threshold_saw"), std::optional<int>(10));
    QCOMPARE(settingsScript.boxes[0].text,
             QString("Warning: due to Merchantability Limit changes the current output data is "
                     "invalid.  Please generate data again."));
  }
};
KELDOVAR_GUI_TEST(DialogsTest);

}  // namespace keldovar::test

#include "dialogs_test.moc"
