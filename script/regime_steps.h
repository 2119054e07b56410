// A regime as the batch runner's script lines, and one document of its own that runs them: the
// search's candidates are exactly the scripts it reports.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "document/document_controller.h"
#include "document/settings_store.h"
#include "document/stand_stepper.h"
#include "script/checked_prompts.h"
#include "script/document_commands.h"

namespace keldovar {

// One script command with its dialog fields under the script's key names (`grow` fills "age",
// `thin low` also "method").
struct Step {
  StepKind kind = StepKind::Harvest;
  FieldTexts fields;
  bool operator==(const Step&) const = default;
};

// Runs one command on the document, its dialogs answered by the document's prompts; Reset View
// empties the document without the save question. False when the step was refused.
bool runStep(DocumentController& controller, StepKind kind);

// The script line that runs the step through `keldovar-cli run`.
std::string scriptLine(const Step& step);
std::string regimeScript(const std::vector<Step>& steps);

// The dialogs' answers of the step being run: its fields, whatever the dialog.
class StepSource final : public FieldSource {
 public:
  const Step* current = nullptr;
  std::optional<FieldTexts> fields(DialogId) override;
  void showMessage(const Message&) override {}
};

// A document on an engine of its own, answering its dialogs from the current step: one per
// thread. It starts from the built-in defaults, as the batch runner does.
class StepDocument {
 public:
  StepDocument();
  // Reports stamped by `clock` rather than the search's one fixed time.
  explicit StepDocument(const Clock& clock);
  StepDocument(const StepDocument&) = delete;
  StepDocument& operator=(const StepDocument&) = delete;

  // False when the step was refused (a check, the engine, or a cancelled dialog).
  bool run(const Step& step);
  // For the search's documents, which no one continues from an earlier table.
  void forgetTableStates() { controller_.setKeepsTableStates(false); }
  // Empties the document as Reset View does; its settings stay.
  void reset();
  const DocumentContent& content() const { return controller_.content(); }
  // Replaces the whole document, as opening a stand file does.
  void replaceContent(const DocumentContent& content) { controller_.replaceContent(content); }
  // The stand the document's next step starts from, with the document's settings handed over.
  const StandState& standForNextStep() { return controller_.standForNextStep(); }

 private:
  FixedClock fixedClock_;
  Session session_;
  MemorySettingsStore settings_;
  StepSource source_;
  CheckedPrompts prompts_;
  DocumentController controller_;
};

// The steps of a regime after its start (grow, fertilize, the thinnings, the harvest) on a
// stand alone, without report text or tables, answering the dialogs as StepDocument does: the
// same stand values, history and refusals, for valuing regimes. One per thread.
class StepValuer {
 public:
  StepValuer();
  StepValuer(const StepValuer&) = delete;
  StepValuer& operator=(const StepValuer&) = delete;

  void load(const StandState& stand) { stepper_.load(stand); }
  const StandState& stand() const { return stepper_.stand(); }
  // The stand history's last record after a harvest, else -1.
  int historyLast() const { return stepper_.historyLast(); }
  // False when the step was refused, or is not one of the steps above.
  bool run(const Step& step);

 private:
  Engine engine_;
  StepSource source_;
  CheckedPrompts prompts_;
  StandStepper stepper_;
};

// The Financial Values and Merchantability Limits steps that give a document started from the
// built-in defaults the values of `settings`, as their dialogs show them.
std::vector<Step> settingsSteps(const DocumentSettings& settings);

// The document the steps make from the built-in defaults, as `keldovar-cli run` of their script
// lines makes it with the same clock; nothing when a step is refused.
std::optional<DocumentContent> runSteps(const std::vector<Step>& steps, const Clock& clock);

}  // namespace keldovar
