// Script lines of a regime and the per-thread document that runs them.
#include "econ/regime_steps.h"

#include "app/settings.h"

namespace keldovar::econ {
namespace {

const char* commandWords(StepKind kind) {
  switch (kind) {
    case StepKind::Unthinned:
      return "unthinned";
    case StepKind::Thinned:
      return "thinned";
    case StepKind::Plantation:
      return "plantation";
    case StepKind::Grow:
      return "grow";
    case StepKind::Fertilize:
      return "fertilize";
    case StepKind::ThinRow:
      return "thin row";
    case StepKind::ThinThinomatic:
      return "thin thinomatic";
    case StepKind::ThinLow:
      return "thin low";
    case StepKind::ThinRowLow:
      return "thin rowlow";
    case StepKind::Harvest:
      return "harvest";
    case StepKind::Financial:
      return "financial";
    case StepKind::Merch:
      return "merch";
    case StepKind::Reset:
      return "reset";
  }
  return "";
}

class DiscardingHost final : public DocumentHost {
 public:
  Answer askSaveBeforeReset(const std::string&) override { return Answer::No; }
  void save() override {}
};

// Every report time stamp of a search is the same, so that nothing depends on the clock.
LocalTime searchTime() {
  LocalTime t;
  t.year = 2000;
  t.month = 1;
  t.day = 1;
  t.weekday = weekdayOf(t.year, t.month, t.day);
  return t;
}

}  // namespace

bool runStep(DocumentController& controller, StepKind kind) {
  switch (kind) {
    case StepKind::Unthinned:
      return controller.initialize(kExistingUnthinned);
    case StepKind::Thinned:
      return controller.initialize(kExistingThinned);
    case StepKind::Plantation:
      return controller.initialize(kNewPlantation);
    case StepKind::Grow:
      return controller.grow();
    case StepKind::Fertilize:
      return controller.fertilize();
    case StepKind::ThinRow:
      return controller.treat(kRowThin);
    case StepKind::ThinThinomatic:
      return controller.treat(kThinomatic);
    case StepKind::ThinLow:
      return controller.treat(kLowThin);
    case StepKind::ThinRowLow:
      return controller.treat(kRowAndLowThin);
    case StepKind::Harvest:
      return controller.treat(kHarvest);
    case StepKind::Financial:
      return controller.financialValues();
    case StepKind::Merch:
      return controller.merchLimits();
    case StepKind::Reset: {
      DiscardingHost host;
      return controller.resetView(host, "");
    }
  }
  return false;
}

std::string scriptLine(const Step& step) {
  std::string line = commandWords(step.kind);
  if (step.kind == StepKind::Grow) {
    auto age = step.fields.find("age");
    return line + " " + (age != step.fields.end() ? age->second : std::string());
  }
  for (const auto& [key, value] : step.fields) {
    if (step.kind == StepKind::ThinLow && key == "method") continue;
    line += " " + key + "=" + value;
  }
  return line;
}

std::string regimeScript(const std::vector<Step>& steps) {
  std::string script;
  for (const Step& step : steps) script += scriptLine(step) + "\n";
  return script;
}

std::optional<FieldTexts> StepDocument::Source::fields(DialogId) {
  if (current == nullptr) return std::nullopt;
  return current->fields;
}

StepDocument::StepDocument()
    : clock_(searchTime()),
      session_(&clock_),
      prompts_(source_),
      controller_(session_, prompts_, settings_, builtInDefaults().settings,
                  builtInDefaults().options) {}

void StepDocument::reset() {
  runStep(controller_, StepKind::Reset);
}

bool StepDocument::run(const Step& step) {
  source_.current = &step;
  bool ok = runStep(controller_, step.kind);
  source_.current = nullptr;
  return ok;
}

}  // namespace keldovar::econ
