// A document made step by step without dialogs, for the recovery tests: fixed answers, a fixed
// report clock, and the calls a document window makes to the recovery manager.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "app/stand_file.h"
#include "desktop/recovery_manager.h"
#include "document/document_controller.h"
#include "document/settings_store.h"
#include "engine/clock.h"

namespace keldovar::test {

class FixedPrompts final : public Prompts {
 public:
  int growAge = 0;
  int messages = 0;

  void showMessage(const Message&) override { ++messages; }
  std::optional<UnthinnedEntry> askUnthinned(const RememberedValues&) override { return {}; }
  std::optional<ThinnedEntry> askThinned(const RememberedValues&) override { return {}; }
  std::optional<PercentRemovedEntry> askPercentRemoved(const RememberedValues&) override {
    return {};
  }
  std::optional<PlantationEntry> askPlantation(const RememberedValues&) override {
    return PlantationEntry{65, 600, 85, VegetationControl::HerbAndWoody};
  }
  std::optional<int> askGrowAge(const StandFacts&) override { return growAge; }
  std::optional<float> askResidualBA(const RememberedValues&, const StandFacts&) override {
    return 90.0f;
  }
  std::optional<float> askThinToDBH(const RememberedValues&, const StandFacts&) override {
    return {};
  }
  int askLowThinMethod() override { return 2; }
  std::optional<RowLowEntry> askRowLow(const RememberedValues&, const StandFacts&) override {
    return RowLowEntry{75, 33};
  }
  std::optional<FertilizeEntry> askFertilize() override { return FertilizeEntry{200, true}; }
  std::optional<FinanceEntry> askFinance(const FinancialValues&) override { return {}; }
  std::optional<MerchEntry> askMerchLimits(const DocumentSettings&) override { return {}; }
};

// What a document window does with its listener calls: tells the manager.
class RecoveryForwarder final : public DocumentListener {
 public:
  RecoveryForwarder(RecoveryManager& manager, int id, RecoveryOrigin origin,
                    const DocumentController& controller)
      : manager_(manager), id_(id), origin_(std::move(origin)), controller_(controller) {}
  void contentChanged() override { manager_.documentChanged(id_, origin_, controller_); }
  void documentReset() override { manager_.documentChanged(id_, origin_, controller_); }

 private:
  RecoveryManager& manager_;
  int id_;
  RecoveryOrigin origin_;
  const DocumentController& controller_;
};

// One document with its own engine; step(n) is the n-th step of an endless sawtimber regime:
// plant, grow to 12 and 16, row-and-low thin, grow to 20 and 26, Thinomatic, grow to 30 and 32,
// harvest, and plant again.
class SteppedDocument {
 public:
  SteppedDocument()
      : clock_(LocalTime{2026, 12, 7, 10, 0, 0, 1}),
        session_(&clock_),
        controller_(std::make_unique<DocumentController>(session_, prompts_, settings_,
                                                         DocumentSettings{}, ViewOptions{})) {}

  DocumentController& controller() { return *controller_; }

  bool step(int n) {
    static constexpr int kAges[10] = {0, 12, 16, 0, 20, 26, 0, 30, 32, 0};
    DocumentController& c = *controller_;
    switch (n % 10) {
      case 0:
        return c.initialize(kNewPlantation);
      case 3:
        return c.treat(kRowAndLowThin);
      case 6:
        return c.treat(kThinomatic);
      case 9:
        return c.treat(kHarvest);
      default:
        prompts_.growAge = kAges[n % 10];
        return c.grow();
    }
  }

  std::vector<std::uint8_t> bytes() const { return writeStandFile(controller_->content()); }

 private:
  FixedClock clock_;
  Session session_;
  FixedPrompts prompts_;
  MemorySettingsStore settings_;
  std::unique_ptr<DocumentController> controller_;
};

}  // namespace keldovar::test
