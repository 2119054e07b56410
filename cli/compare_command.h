// keldovar-cli compare: the harvested regimes of several stand files or scripts side by side.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "cli/input.h"

namespace keldovar::cli {

extern const char* const kCompareUsage;

// `args` starts with "compare". Exit status as for sensitivity: 1 a document could not be had or
// holds no harvest, or the output or the PDF could not be written; 2 a usage error.
int runCompare(const std::vector<std::string>& args, const InputReader& standardInput,
               std::ostream& out, std::ostream& err);

}  // namespace keldovar::cli
