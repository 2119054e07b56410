// The document commands' table.
#include "script/document_commands.h"

#include <algorithm>
#include <iterator>

#include "script/commands.h"

namespace keldovar {
namespace {

namespace cmd = command_ids;

bool initialize(CommandTarget& t, int kind) {
  return t.controller.initialize(kind);
}
bool treat(CommandTarget& t, int action) {
  return t.controller.treat(action);
}
bool grow(CommandTarget& t, int) {
  return t.controller.grow();
}
bool fertilize(CommandTarget& t, int) {
  return t.controller.fertilize();
}
bool financialValues(CommandTarget& t, int) {
  return t.controller.financialValues();
}
bool merchLimits(CommandTarget& t, int) {
  return t.controller.merchLimits();
}
bool resetView(CommandTarget& t, int) {
  return t.controller.resetView(t.host, t.title);
}
bool toggleFinancial(CommandTarget& t, int) {
  t.controller.toggleFinancial();
  return true;
}
bool toggleBargraph(CommandTarget& t, int) {
  t.controller.toggleBargraph();
  return true;
}
bool toggleCarbon(CommandTarget& t, int) {
  t.controller.toggleCarbon();
  return true;
}
// The document holds the carbon values but asks for none: the script's runner and the
// desktop's Carbon Values command set them.
bool keepCarbon(CommandTarget&, int) {
  return true;
}
bool toggleAllTables(CommandTarget& t, int) {
  t.controller.toggleAllTables();
  return true;
}
bool traceOff(CommandTarget& t, int) {
  t.controller.switchTraceOff();
  return true;
}

constexpr DialogId kUnthinnedDialogs[] = {DialogId::Unthinned};
constexpr DialogId kThinnedDialogs[] = {DialogId::Thinned, DialogId::PercentRemoved};
constexpr DialogId kPlantationDialogs[] = {DialogId::Plantation};
constexpr DialogId kGrowDialogs[] = {DialogId::Grow};
constexpr DialogId kFertilizeDialogs[] = {DialogId::Fertilize};
constexpr DialogId kResidualDialogs[] = {DialogId::ResidualBA};
// The method is the key given: the script has no word for the method dialog itself.
constexpr DialogId kLowThinDialogs[] = {DialogId::ResidualBA, DialogId::ThinToDBH};
constexpr DialogId kRowLowDialogs[] = {DialogId::RowLow};
constexpr DialogId kFinanceDialogs[] = {DialogId::Finance};
constexpr DialogId kMerchDialogs[] = {DialogId::MerchLimits};
constexpr DialogId kCarbonDialogs[] = {DialogId::Carbon};

// In the order of StepKind; the thinning methods in the order the script's help names them.
constexpr DocumentCommand kCommands[] = {
    {StepKind::Unthinned, "unthinned", cmd::kInitUnthinned, initialize, kExistingUnthinned,
     kUnthinnedDialogs},
    {StepKind::Thinned, "thinned", cmd::kInitThinned, initialize, kExistingThinned,
     kThinnedDialogs},
    {StepKind::Plantation, "plantation", cmd::kInitPlantation, initialize, kNewPlantation,
     kPlantationDialogs},
    {StepKind::Grow, "grow", cmd::kGrow, grow, 0, kGrowDialogs},
    {StepKind::Fertilize, "fertilize", cmd::kFertilize, fertilize, 0, kFertilizeDialogs},
    {StepKind::ThinRow, "thin row", cmd::kRowThin, treat, kRowThin, kResidualDialogs},
    {StepKind::ThinThinomatic, "thin thinomatic", cmd::kThinomatic, treat, kThinomatic,
     kResidualDialogs},
    {StepKind::ThinLow, "thin low", cmd::kLowThin, treat, kLowThin, kLowThinDialogs},
    {StepKind::ThinRowLow, "thin rowlow", cmd::kRowLowThin, treat, kRowAndLowThin, kRowLowDialogs},
    {StepKind::Harvest, "harvest", cmd::kHarvest, treat, kHarvest, {}},
    {StepKind::Financial, "financial", cmd::kFinancialValues, financialValues, 0, kFinanceDialogs},
    {StepKind::Merch, "merch", cmd::kMerchLimits, merchLimits, 0, kMerchDialogs},
    {StepKind::Reset, "reset", cmd::kResetView, resetView, 0, {}},
    // Carbon Values on the menu is the desktop's own dialog, which also keeps the defaults.
    {StepKind::Carbon, "carbon", 0, keepCarbon, 0, kCarbonDialogs},
    {StepKind::ToggleFinancial, "", cmd::kIncludeFinancial, toggleFinancial, 0, {}},
    {StepKind::ToggleBargraph, "", cmd::kIncludeBargraph, toggleBargraph, 0, {}},
    {StepKind::ToggleCarbon, "", cmd::kIncludeCarbon, toggleCarbon, 0, {}},
    {StepKind::ToggleAllTables, "", cmd::kAllTables, toggleAllTables, 0, {}},
    {StepKind::TraceOff, "", cmd::kTraceOff, traceOff, 0, {}},
};

constexpr bool inKindOrder() {
  for (std::size_t i = 0; i < std::size(kCommands); ++i) {
    if (static_cast<std::size_t>(kCommands[i].kind) != i) return false;
  }
  return true;
}
static_assert(inKindOrder());

}  // namespace

std::span<const DocumentCommand> documentCommands() {
  return kCommands;
}

const DocumentCommand& documentCommand(StepKind kind) {
  return kCommands[static_cast<std::size_t>(kind)];
}

const DocumentCommand* commandOfMenu(int menuId) {
  const auto* found =
      std::find_if(std::begin(kCommands), std::end(kCommands),
                   [menuId](const DocumentCommand& c) { return c.menuId == menuId; });
  return found == std::end(kCommands) ? nullptr : found;
}

const DocumentCommand* commandOfWords(std::string_view words) {
  if (words.empty()) return nullptr;
  const auto* found = std::find_if(std::begin(kCommands), std::end(kCommands),
                                   [words](const DocumentCommand& c) { return c.words == words; });
  return found == std::end(kCommands) ? nullptr : found;
}

int treatmentOf(const DocumentCommand& command) {
  return command.call == treat ? command.argument : 0;
}

bool perform(const DocumentCommand& command, CommandTarget& target) {
  return command.call(target, command.argument);
}

}  // namespace keldovar
