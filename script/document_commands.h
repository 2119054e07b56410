// The commands that act on a document, each written once: its script words, its menu command,
// the controller call it makes and the dialogs whose keys its script line may give. The desktop
// program's menus, the script reader and the step runner all read this table.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "document/document_controller.h"
#include "script/dialog_fields.h"

namespace keldovar {

enum class StepKind {
  Unthinned,
  Thinned,
  Plantation,
  Grow,
  Fertilize,
  ThinRow,
  ThinThinomatic,
  ThinLow,
  ThinRowLow,
  Harvest,
  Financial,
  Merch,
  Reset,
  Carbon,  // the carbon price and baseline: set by the runner, never a stored step
  // Menu commands only: the view options and the trace.
  ToggleFinancial,
  ToggleBargraph,
  ToggleCarbon,
  ToggleAllTables,
  TraceOff,
};

// Where a command runs: the document, and who answers Reset View's save question about it.
struct CommandTarget {
  DocumentController& controller;
  DocumentHost& host;
  const std::string& title;
};

struct DocumentCommand {
  StepKind kind;
  const char* words;  // the script's ("thin rowlow"); empty for a menu command only
  int menuId;         // command_ids
  bool (*call)(CommandTarget& target, int argument);
  int argument;  // the stand kind of an initialization, the engine's action of a treatment
  // The dialogs whose field keys the script line may give.
  std::span<const DialogId> dialogs;
};

std::span<const DocumentCommand> documentCommands();
const DocumentCommand& documentCommand(StepKind kind);
const DocumentCommand* commandOfMenu(int menuId);
// Words as the table writes them, in lower case.
const DocumentCommand* commandOfWords(std::string_view words);
// The engine's treatment action of a thinning or harvest, else 0.
int treatmentOf(const DocumentCommand& command);
// Runs the command; false when it stored nothing (refused, cancelled, or a dialog said no).
bool perform(const DocumentCommand& command, CommandTarget& target);

}  // namespace keldovar
