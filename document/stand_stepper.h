// A stand's steps without report text or tables, for valuing regimes by the thousand: the
// engine's own step calls on the stand it holds, each dialog answered through the prompts. The
// stand values, history records and messages are those a document's steps give.
#pragma once

#include "document/prompt_hooks.h"
#include "document/prompts.h"
#include "engine/engine.h"

namespace keldovar {

class StandStepper {
 public:
  // The engine is the stepper's own: its report text is switched off.
  StandStepper(Engine& engine, Prompts& prompts);
  StandStepper(const StandStepper&) = delete;
  StandStepper& operator=(const StandStepper&) = delete;

  // The stand to go on from, whole: one copied from the engine after a step, or the stand of a
  // document restored for its next step.
  void load(const StandState& stand) { engine_.state() = stand; }
  const StandState& stand() const { return engine_.state(); }
  // The stand history's last record after a harvest, else -1.
  int historyLast() const { return engine_.output().historyLast; }

  // As the document's steps; true when the step completed.
  bool grow();
  bool treat(int action);
  bool fertilize();

 private:
  Engine& engine_;
  Prompts& prompts_;
  RememberedValues remembered_;
  PromptHooks hooks_;
};

// The Fertilize command on a stand: refused with its message before initialization, else the
// request asked for and recorded; true when one was recorded.
bool askFertilization(Prompts& prompts, CarriedState& stand);

}  // namespace keldovar
