// Prompts answered from field texts instead of a person at a dialog: the batch runner's script
// and the tests. The texts go through the same opening rules and checks as the dialogs.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "document/prompts.h"
#include "script/dialog_fields.h"

namespace keldovar {

// Field texts keyed by the script's key names in lower case, as the dialogs' tables name them
// (script/dialog_fields.h); a radio group or check box gives its choice's word. Keys of no
// meaning to the dialog are ignored.
using FieldTexts = std::map<std::string, std::string>;

class FieldSource {
 public:
  virtual ~FieldSource() = default;
  // The texts typed into the dialog; nothing when the dialog was cancelled.
  virtual std::optional<FieldTexts> fields(DialogId dialog) = 0;
  virtual void showMessage(const Message& message) = 0;
  // A check refused the field of this key; its message follows through showMessage.
  virtual void fieldRefused(const std::string& key) { (void)key; }
};

// A refused value cancels the dialog after its message, since nobody is there to correct the
// field. A key not given is an empty field, except in the financial values and merchantability
// limits dialogs, where it keeps the document's current value.
class CheckedPrompts final : public Prompts {
 public:
  explicit CheckedPrompts(FieldSource& source) : source_(source) {}

  void showMessage(const Message& message) override;

  std::optional<UnthinnedEntry> askUnthinned(const RememberedValues& remembered) override;
  std::optional<ThinnedEntry> askThinned(const RememberedValues& remembered) override;
  std::optional<PercentRemovedEntry> askPercentRemoved(const RememberedValues& remembered) override;
  std::optional<PlantationEntry> askPlantation(const RememberedValues& remembered) override;
  std::optional<int> askGrowAge(const StandFacts& stand) override;
  std::optional<float> askResidualBA(const RememberedValues& remembered,
                                     const StandFacts& stand) override;
  std::optional<float> askThinToDBH(const RememberedValues& remembered,
                                    const StandFacts& stand) override;
  // The dialog cannot be cancelled; a source that gives no texts has chosen neither method.
  int askLowThinMethod() override;
  std::optional<RowLowEntry> askRowLow(const RememberedValues& remembered,
                                       const StandFacts& stand) override;
  std::optional<FertilizeEntry> askFertilize() override;
  std::optional<FinanceEntry> askFinance(const FinancialValues& current) override;
  std::optional<MerchEntry> askMerchLimits(const DocumentSettings& current) override;

 private:
  FieldSource& source_;
};

}  // namespace keldovar
