// The regime script of the batch runner: one command per line, checked for syntax before any
// of it runs.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace keldovar::cli {

enum class CommandKind {
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
  Reset
};

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
