// Prompts answered from fixed values, for the report core tests.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "document/prompts.h"

namespace keldovar::testing {

class ScriptedPrompts : public Prompts {
 public:
  std::optional<UnthinnedEntry> unthinned;
  std::optional<ThinnedEntry> thinned;
  std::optional<PercentRemovedEntry> percentRemoved;
  std::optional<PlantationEntry> plantation;
  std::optional<int> growAge;
  std::optional<float> residualBA;
  std::optional<float> thinToDBH;
  int lowThinMethod = 2;
  std::optional<RowLowEntry> rowLow;
  std::optional<FertilizeEntry> fertilize;
  std::optional<FinanceEntry> finance;
  std::optional<MerchEntry> merch;

  std::vector<Message> messages;
  RememberedValues lastRemembered;
  StandFacts lastFacts;

  void showMessage(const Message& message) override { messages.push_back(message); }
  std::optional<UnthinnedEntry> askUnthinned(const RememberedValues& r) override {
    lastRemembered = r;
    return unthinned;
  }
  std::optional<ThinnedEntry> askThinned(const RememberedValues& r) override {
    lastRemembered = r;
    return thinned;
  }
  std::optional<PercentRemovedEntry> askPercentRemoved(const RememberedValues& r) override {
    lastRemembered = r;
    return percentRemoved;
  }
  std::optional<PlantationEntry> askPlantation(const RememberedValues& r) override {
    lastRemembered = r;
    return plantation;
  }
  std::optional<int> askGrowAge(const StandFacts& facts) override {
    lastFacts = facts;
    return growAge;
  }
  std::optional<float> askResidualBA(const RememberedValues& r, const StandFacts& facts) override {
    lastRemembered = r;
    lastFacts = facts;
    return residualBA;
  }
  std::optional<float> askThinToDBH(const RememberedValues& r, const StandFacts& facts) override {
    lastRemembered = r;
    lastFacts = facts;
    return thinToDBH;
  }
  int askLowThinMethod() override { return lowThinMethod; }
  std::optional<RowLowEntry> askRowLow(const RememberedValues& r,
                                       const StandFacts& facts) override {
    lastRemembered = r;
    lastFacts = facts;
    return rowLow;
  }
  std::optional<FertilizeEntry> askFertilize() override { return fertilize; }
  std::optional<FinanceEntry> askFinance(const FinancialValues&) override { return finance; }
  std::optional<MerchEntry> askMerchLimits(const DocumentSettings&) override { return merch; }

  std::string lastText() const { return messages.empty() ? std::string() : messages.back().text; }
};

}  // namespace keldovar::testing
