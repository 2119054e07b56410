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
  DiscardingHost host;
  controller_.resetView(host, "");
}

bool StepDocument::run(const Step& step) {
  source_.current = &step;
  bool ok = false;
  switch (step.kind) {
    case StepKind::Unthinned:
      ok = controller_.initialize(kExistingUnthinned);
      break;
    case StepKind::Thinned:
      ok = controller_.initialize(kExistingThinned);
      break;
    case StepKind::Plantation:
      ok = controller_.initialize(kNewPlantation);
      break;
    case StepKind::Grow:
      ok = controller_.grow();
      break;
    case StepKind::Fertilize:
      ok = controller_.fertilize();
      break;
    case StepKind::ThinRow:
      ok = controller_.treat(kRowThin);
      break;
    case StepKind::ThinThinomatic:
      ok = controller_.treat(kThinomatic);
      break;
    case StepKind::ThinLow:
      ok = controller_.treat(kLowThin);
      break;
    case StepKind::ThinRowLow:
      ok = controller_.treat(kRowAndLowThin);
      break;
    case StepKind::Harvest:
      ok = controller_.treat(kHarvest);
      break;
    case StepKind::Financial:
      ok = controller_.financialValues();
      break;
    case StepKind::Merch:
      ok = controller_.merchLimits();
      break;
  }
  source_.current = nullptr;
  return ok;
}

}  // namespace keldovar::econ
