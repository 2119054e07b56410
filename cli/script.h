// The regime script of the batch runner: one command per line, checked for syntax before any
// of it runs.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "econ/regime_steps.h"

namespace keldovar::cli {

// The script's commands are the steps of a regime, plus Reset View.
using CommandKind = econ::StepKind;

struct Command {
  CommandKind kind = CommandKind::Harvest;
  int line = 0;
  // The dialog fields this command fills, by their script key names; `grow AGE` fills "age"
  // and `thin low` also "method" ("dbh" or "ba").
  std::map<std::string, std::string> fields;
};

struct SyntaxError {
  int line = 0;
  std::string message;
};

struct ParsedScript {
  std::vector<Command> commands;
  std::vector<SyntaxError> errors;
};

ParsedScript parseScript(std::string_view text);

}  // namespace keldovar::cli
