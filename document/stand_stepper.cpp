// The steps of a stand alone: the engine's step calls with the document's prompts installed.
#include "document/stand_stepper.h"

namespace keldovar {

StandStepper::StandStepper(Engine& engine, Prompts& prompts)
    : engine_(engine), prompts_(prompts), hooks_(prompts, remembered_, engine, nullptr) {
  engine_.setReportText(false);
}

bool StandStepper::grow() {
  HooksScope scope(engine_, &hooks_);
  return engine_.growStep() == StepResult::Stored;
}

bool StandStepper::treat(int action) {
  HooksScope scope(engine_, &hooks_);
  return engine_.treatStep(action) == StepResult::Stored;
}

bool StandStepper::fertilize() {
  return askFertilization(prompts_, engine_.state());
}

bool askFertilization(Prompts& prompts, CarriedState& stand) {
  if (stand.initialized == 0) {
    prompts.showMessage(
        {"", "The stand must have been initialized first.", MessageIcon::Exclamation});
    return false;
  }
  auto entry = prompts.askFertilize();
  if (!entry) return false;
  stand.requestFertilization(*entry);
  return true;
}

}  // namespace keldovar
