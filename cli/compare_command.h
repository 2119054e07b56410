// keldovar-cli compare: the harvested regimes of several stand files or scripts side by side.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "cli/input.h"
#include "cli/output.h"
#include "view/print_defaults.h"

namespace keldovar::cli {

extern const char* const kCompareUsage;

struct CompareOptions {
  std::vector<std::string> inputs;  // stand files or scripts; - reads standard input
  OutputFormat format = OutputFormat::Text;
  std::optional<std::string> pdf;  // also the table and the charts as a PDF
  std::optional<Paper> page;
  UnitSystem units = UnitSystem::Imperial;  // of the table, its CSV and JSON
};

// Two to 32 inputs, - once, --page only with --pdf: nothing, or the usage error.
std::optional<std::string> compareUsageError(const CompareOptions& options);

// Exit status as for sensitivity: 1 a document could not be had or holds no harvest, or the
// output or the PDF could not be written; 2 a --pdf that is no regular file or an input's.
int runCompare(const CompareOptions& options, const InputReader& standardInput, std::ostream& out,
               std::ostream& err);

}  // namespace keldovar::cli
