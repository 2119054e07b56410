// Script lines of a regime and the per-thread document that runs them.
#include "script/regime_steps.h"

#include "document/settings.h"
#include "script/dialog_checks.h"

namespace keldovar {
namespace {

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
  DiscardingHost host;
  std::string title;
  CommandTarget target{controller, host, title};
  return perform(documentCommand(kind), target);
}

std::string scriptLine(const Step& step) {
  std::string line = documentCommand(step.kind).words;
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

StepDocument::StepDocument() : StepDocument(fixedClock_) {}

StepDocument::StepDocument(const Clock& clock)
    : fixedClock_(searchTime()),
      session_(&clock),
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

std::vector<Step> settingsSteps(const DocumentSettings& settings) {
  FinanceTexts finance = openFinance(settings.financial);
  Step financial{StepKind::Financial, {}};
  for (std::size_t i = 0; i < kFinanceFieldCount; ++i) {
    financial.fields[kFinanceFields[i].key] = finance.fields[i];
  }
  MerchTexts merch = openMerchLimits(settings);
  Step limits{StepKind::Merch, {}};
  for (const auto& row : kMerchFields) limits.fields[row.spec.key] = merch.*row.text;
  return {financial, limits};
}

std::optional<DocumentContent> runSteps(const std::vector<Step>& steps, const Clock& clock) {
  StepDocument doc(clock);
  for (const Step& step : steps) {
    if (!doc.run(step)) return std::nullopt;
  }
  return doc.content();
}

}  // namespace keldovar
