// The prompts of a step, asked through the document's Prompts.
#include "document/prompt_hooks.h"

#include <string>

#include "document/dialog_memory.h"
#include "engine/numeric.h"

namespace keldovar {

void PromptHooks::showMessage(const char* caption, const char* line1, const char* line2) {
  prompts_.showMessage({caption, std::string(line1) + "\n" + line2, MessageIcon::Exclamation});
}

std::optional<UnthinnedEntry> PromptHooks::askUnthinned() {
  auto entry = prompts_.askUnthinned(remembered_);
  if (entry) remember(remembered_, *entry, kUnthinnedMemory);
  return entry;
}

std::optional<ThinnedEntry> PromptHooks::askThinned() {
  auto entry = prompts_.askThinned(remembered_);
  if (entry) remember(remembered_, *entry, kThinnedMemory);
  return entry;
}

std::optional<PercentRemovedEntry> PromptHooks::askPercentRemoved() {
  auto entry = prompts_.askPercentRemoved(remembered_);
  if (entry) remember(remembered_, *entry, kPercentRemovedMemory);
  return entry;
}

std::optional<PlantationEntry> PromptHooks::askPlantation() {
  auto entry = prompts_.askPlantation(remembered_);
  if (entry) remember(remembered_, *entry, kPlantationMemory);
  return entry;
}

std::optional<int> PromptHooks::askGrowAge() {
  auto age = prompts_.askGrowAge(facts());
  if (age) remembered_.*kGrowMemory = *age;
  return age;
}

std::optional<double> PromptHooks::askResidualBA() {
  auto value = prompts_.askResidualBA(remembered_, facts());
  if (!value) return std::nullopt;
  remembered_.*kResidualBAMemory = *value;
  return *value;
}

std::optional<double> PromptHooks::askThinToDBH() {
  auto value = prompts_.askThinToDBH(remembered_, facts());
  if (!value) return std::nullopt;
  remembered_.*kThinToDBHMemory = *value;
  return *value;
}

LowThinChoice PromptHooks::askLowThinMethod() {
  int method = prompts_.askLowThinMethod();
  if (method == 1) return LowThinChoice::ByDBH;
  if (method == 2) return LowThinChoice::ByBasalArea;
  return LowThinChoice::Neither;
}

std::optional<RowLowEntry> PromptHooks::askRowLow() {
  auto entry = prompts_.askRowLow(remembered_, facts());
  if (entry) remember(remembered_, *entry, kRowLowMemory);
  return entry;
}

int PromptHooks::buildBarGraph(int first) {
  if (graph_ == nullptr) return truncToInt(engine_.state().AG);
  return keldovar::buildBarGraph(*graph_, engine_.state(), first);
}

}  // namespace keldovar
