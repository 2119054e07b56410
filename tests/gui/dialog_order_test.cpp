// All twelve input dialogs against their tables: the fields are the table's keys, each shows its
// range, the focus opens on the first field as laid out, and Tab follows the reading order.
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <algorithm>
#include <functional>

#include "desktop/dialogs/qt_prompts.h"
#include "script/dialog_fields.h"
#include "tests/gui/gui_test_registry.h"
#include "tests/gui/modal_script.h"

namespace keldovar::test {
namespace {

// What Tab stops at, top to bottom and left to right as the dialog is laid out on the screen;
// a radio group is one stop, its chosen button.
QList<QWidget*> readingOrder(QWidget* dialog) {
  QList<QWidget*> stops;
  for (QWidget* w : dialog->findChildren<QWidget*>()) {
    auto* radio = qobject_cast<QRadioButton*>(w);
    bool input = qobject_cast<QLineEdit*>(w) || qobject_cast<QCheckBox*>(w) ||
                 (radio != nullptr && radio->isChecked());
    if (input && w->isEnabled() && w->isVisible()) stops.append(w);
  }
  std::sort(stops.begin(), stops.end(), [dialog](QWidget* a, QWidget* b) {
    QPoint pa = a->mapTo(dialog, QPoint(0, 0));
    QPoint pb = b->mapTo(dialog, QPoint(0, 0));
    return pa.y() != pb.y() ? pa.y() < pb.y() : pa.x() < pb.x();
  });
  return stops;
}

// Whatever differs from the table and the reading order, as "dialog: what".
QStringList differences(QWidget* dialog, DialogId id) {
  QStringList found;
  QString name = dialog->objectName();
  QStringList keys;
  for (const DialogField* field : dialogFields(id).texts) keys << QString::fromLatin1(field->key);
  QStringList edits;
  for (auto* edit : dialog->findChildren<QLineEdit*>()) {
    edits << edit->objectName();
    if (edit->placeholderText().isEmpty() || !edit->toolTip().contains(edit->placeholderText())) {
      found << name + QStringLiteral(": no range on ") + edit->objectName();
    }
  }
  keys.sort();
  edits.sort();
  if (keys != edits) found << name + QStringLiteral(": fields ") + edits.join(QLatin1Char(' '));
  QList<QWidget*> stops = readingOrder(dialog);
  for (qsizetype i = 0; i < stops.size(); ++i) {
    if (dialog->focusWidget() != stops[i]) {
      found << name + QStringLiteral(": stop %1 is not ").arg(i) + stops[i]->objectName();
      break;
    }
    QTest::keyClick(stops[i], Qt::Key_Tab);
  }
  return found;
}

}  // namespace

class DialogOrderTest : public QObject {
  Q_OBJECT

  QWidget window;
  QtPrompts prompts{&window};
  RememberedValues memory;
  StandFacts stand{20, 120, 500, 4, 0, 1};  // AG, BA, TPA, minClass, truncationDBH, unthinned

 private Q_SLOTS:
  void everyDialogOpensOnItsFirstFieldAndTabsInReadingOrder() {
    struct Dialog {
      const char* className;
      DialogId id;
      std::function<void()> ask;
    };
    const Dialog dialogs[] = {
        {"initDlg", DialogId::Unthinned, [&] { prompts.askUnthinned(memory); }},
        {"initThinDlg", DialogId::Thinned, [&] { prompts.askThinned(memory); }},
        {"initPlantDlg", DialogId::Plantation, [&] { prompts.askPlantation(memory); }},
        {"growDlg", DialogId::Grow, [&] { prompts.askGrowAge(stand); }},
        {"pcntRemDlg", DialogId::PercentRemoved, [&] { prompts.askPercentRemoved(memory); }},
        {"resBasalDlg", DialogId::ResidualBA, [&] { prompts.askResidualBA(memory, stand); }},
        {"rowLowThinDlg", DialogId::RowLow, [&] { prompts.askRowLow(memory, stand); }},
        {"thinParamDlg", DialogId::LowThinMethod, [&] { prompts.askLowThinMethod(); }},
        {"thintoDBHdlg", DialogId::ThinToDBH, [&] { prompts.askThinToDBH(memory, stand); }},
        {"dlgFertilize", DialogId::Fertilize, [&] { prompts.askFertilize(); }},
        {"financeDlg", DialogId::Finance, [&] { prompts.askFinance(FinancialValues{}); }},
        {"merchLimitDlg", DialogId::MerchLimits,
         [&] { prompts.askMerchLimits(DocumentSettings{}); }},
    };
    QStringList found;
    for (const Dialog& d : dialogs) {
      QString name = QString::fromLatin1(d.className);
      ModalScript script;
      script.on(name, [&](QWidget* w) { found << differences(w, d.id); });
      // The method dialog ends only with OK.
      name == QStringLiteral("thinParamDlg") ? script.ok(name) : script.cancel(name);
      d.ask();
      QVERIFY2(script.finished(), d.className);
    }
    QCOMPARE(found, QStringList());
  }
};
KELDOVAR_GUI_TEST(DialogOrderTest);

}  // namespace keldovar::test

#include "dialog_order_test.moc"
