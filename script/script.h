// The regime script of the batch runner: one command per line, checked for syntax before any
// of it runs.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "script/regime_steps.h"

namespace keldovar {

// The script's commands are the steps of a regime, plus Reset View.
using CommandKind = StepKind;

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

// Syntax errors listed; a script of nothing but errors says how many more there were instead.
inline constexpr std::size_t kListedErrorCapacity = 100;

struct ParsedScript {
  std::vector<Command> commands;
  std::vector<SyntaxError> errors;  // at most kListedErrorCapacity, the first ones
  std::size_t unlistedErrors = 0;   // errors beyond those

  bool failed() const { return !errors.empty(); }
};

// A UTF-8 byte-order mark at the start is skipped; CR, LF and CR LF all end a line.
ParsedScript parseScript(std::string_view text);

// A grow age written `+N` (N a whole number of at most three digits) means N years after the
// stand's age when the step runs, so that one regime serves stands of any age; the age the
// Grow dialog is given then, else the text as written.
std::string growAgeText(std::string_view written, double standAge);

// A word of the user's as messages echo it: at most 60 characters, control bytes as \xNN.
std::string shownWord(std::string_view word);

}  // namespace keldovar
