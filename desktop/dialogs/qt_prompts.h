// Prompts answered by the input dialogs, each run application-modally over the document's
// window: the engine is shared by every document, so nothing else may start while a step asks.
#pragma once

#include <QPointer>
#include <QWidget>

#include "document/prompts.h"
#include "document/settings_store.h"
#include "units/units.h"

namespace keldovar {

class QtPrompts final : public Prompts {
 public:
  // The dialogs take and show metric values while the settings say Metric Units.
  explicit QtPrompts(QWidget* parentWindow, const SettingsStore* settings = nullptr)
      : parent_(parentWindow), settings_(settings) {}
  void setParentWindow(QWidget* parentWindow) { parent_ = parentWindow; }

  void showMessage(const Message& message) override;

  std::optional<UnthinnedEntry> askUnthinned(const RememberedValues& remembered) override;
  std::optional<ThinnedEntry> askThinned(const RememberedValues& remembered) override;
  std::optional<PercentRemovedEntry> askPercentRemoved(const RememberedValues& remembered) override;
  std::optional<PlantationEntry> askPlantation(const RememberedValues& remembered) override;
  std::optional<int> askGrowAge(const StandFacts& stand) override;
  // A stand too thin to thin gets the refusal message and no dialog.
  std::optional<float> askResidualBA(const RememberedValues& remembered,
                                     const StandFacts& stand) override;
  std::optional<float> askThinToDBH(const RememberedValues& remembered,
                                    const StandFacts& stand) override;
  int askLowThinMethod() override;
  std::optional<RowLowEntry> askRowLow(const RememberedValues& remembered,
                                       const StandFacts& stand) override;
  std::optional<FertilizeEntry> askFertilize() override;
  // The make-default choice is handed back; the document's controller writes the defaults.
  std::optional<FinanceEntry> askFinance(const FinancialValues& current) override;
  std::optional<MerchEntry> askMerchLimits(const DocumentSettings& current) override;

 private:
  UnitSystem units() const;

  // Guarded: a document window may close while its prompts object lives on.
  QPointer<QWidget> parent_;
  const SettingsStore* settings_;
};

}  // namespace keldovar
