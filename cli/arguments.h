// keldovar-cli's command line, read by CLI11: the commands, their options, their help pages and
// the shell completion, and the usage errors in the batch runner's own words.
#pragma once

#include <string>
#include <vector>

#include "cli/batch.h"
#include "cli/compare_command.h"
#include "cli/inventory_options.h"
#include "cli/optimize.h"
#include "cli/sensitivity_command.h"

namespace keldovar::cli {

// The whole program's usage, shown by --help and after every usage error.
std::string usage();

struct CommandLine {
  enum class Action {
    Run,
    Report,
    Optimize,
    Sensitivity,
    Risk,
    Inventory,
    Compare,
    Print,
    UsageError
  };
  Action action = Action::UsageError;
  RunOptions run;         // run's; report's format, view options and PDF
  std::string standFile;  // report's; the stand file or script of sensitivity and risk
  OptimizeOptions optimize;
  GivenOptions values;  // sensitivity's and risk's options, checked as they run
  InventoryOptions inventory;
  CompareOptions compare;
  std::string text;  // what Print prints (help, version, completion), or the usage error
};

// `environment` gives inventory --shard auto its job array.
CommandLine readCommandLine(const std::vector<std::string>& args, const Environment& environment);

}  // namespace keldovar::cli
