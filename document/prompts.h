// The user side of a document: message boxes and the input dialogs. The desktop program answers
// with its dialogs, the batch runner with its script.
#pragma once

#include <optional>
#include <string>

#include "document/dialog_values.h"
#include "document/document_settings.h"

namespace keldovar {

// A text that could not be read as a number is told without an icon; range failures warn.
enum class MessageIcon { Exclamation, Information, None };

// A modal message box. An empty caption means the program's own title.
struct Message {
  std::string caption;
  std::string text;
  MessageIcon icon = MessageIcon::Exclamation;
};

// Each ask returns the accepted values, or nothing when the dialog was cancelled (or, for the
// batch runner, when a check refused a value). Accepted values have passed the dialog's checks.
class Prompts {
 public:
  virtual ~Prompts() = default;
  virtual void showMessage(const Message& message) = 0;

  virtual std::optional<UnthinnedEntry> askUnthinned(const RememberedValues& remembered) = 0;
  virtual std::optional<ThinnedEntry> askThinned(const RememberedValues& remembered) = 0;
  virtual std::optional<PercentRemovedEntry> askPercentRemoved(
      const RememberedValues& remembered) = 0;
  virtual std::optional<PlantationEntry> askPlantation(const RememberedValues& remembered) = 0;
  virtual std::optional<int> askGrowAge(const StandFacts& stand) = 0;
  virtual std::optional<float> askResidualBA(const RememberedValues& remembered,
                                             const StandFacts& stand) = 0;
  virtual std::optional<float> askThinToDBH(const RememberedValues& remembered,
                                            const StandFacts& stand) = 0;
  // 1 = "Specify DBH", 2 = "Specify Basal Area", 0 = neither; cannot be cancelled.
  virtual int askLowThinMethod() = 0;
  virtual std::optional<RowLowEntry> askRowLow(const RememberedValues& remembered,
                                               const StandFacts& stand) = 0;
  virtual std::optional<FertilizeEntry> askFertilize() = 0;
  virtual std::optional<FinanceEntry> askFinance(const FinancialValues& current) = 0;
  virtual std::optional<MerchEntry> askMerchLimits(const DocumentSettings& current) = 0;
};

}  // namespace keldovar
