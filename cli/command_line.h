// keldovar-cli's command line: run a regime script, or report a stand file.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "keldovar_version.h"

namespace keldovar::cli {

inline constexpr const char* kVersion = kFullVersion;

// Exit statuses: 0 every step succeeded; 1 a step failed or a stand file could not be read or
// written; 2 a usage or script syntax error, in which case nothing ran.
int runCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
           std::ostream& err);

}  // namespace keldovar::cli
