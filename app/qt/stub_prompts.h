// A stand-in for the dialogs until they arrive: every dialog is cancelled, messages are shown.
#pragma once

#include <QMessageBox>
#include <QPointer>
#include <QWidget>

#include "view/prompts.h"
#include "view/qt/qt_text.h"

namespace keldovar {

class QtPrompts final : public Prompts {
 public:
  explicit QtPrompts(QWidget* parentWindow) : parent_(parentWindow) {}
  void setParentWindow(QWidget* parentWindow) { parent_ = parentWindow; }

  void showMessage(const Message& message) override {
    QString caption = message.caption.empty() ? QString("KELDOVAR") : fromLatin1(message.caption);
    QMessageBox box(
        message.icon == MessageIcon::Information ? QMessageBox::Information : QMessageBox::Warning,
        caption, fromLatin1(message.text), QMessageBox::Ok, parent_);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
  }
  std::optional<UnthinnedEntry> askUnthinned(const RememberedValues&) override { return {}; }
  std::optional<ThinnedEntry> askThinned(const RememberedValues&) override { return {}; }
  std::optional<PercentRemovedEntry> askPercentRemoved(const RememberedValues&) override {
    return {};
  }
  std::optional<PlantationEntry> askPlantation(const RememberedValues&) override { return {}; }
  std::optional<int> askGrowAge(const StandFacts&) override { return {}; }
  std::optional<float> askResidualBA(const RememberedValues&, const StandFacts&) override {
    return {};
  }
  std::optional<float> askThinToDBH(const RememberedValues&, const StandFacts&) override {
    return {};
  }
  int askLowThinMethod() override { return 0; }
  std::optional<RowLowEntry> askRowLow(const RememberedValues&, const StandFacts&) override {
    return {};
  }
  std::optional<FertilizeEntry> askFertilize() override { return {}; }
  std::optional<FinanceEntry> askFinance(const FinancialValues&) override { return {}; }
  std::optional<MerchEntry> askMerchLimits(const DocumentSettings&) override { return {}; }

 private:
  QPointer<QWidget> parent_;
};

}  // namespace keldovar
