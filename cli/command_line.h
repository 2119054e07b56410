// keldovar-cli: runs regime scripts, reports stand files and searches for the best regime, as
// its command line asks.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "cli/input.h"
#include "keldovar_version.h"

namespace keldovar::cli {

inline constexpr const char* kVersion = kFullVersion;

// Exit statuses: 0 every step succeeded; 1 a step failed, a stand file could not be read or
// written, or the report could not be written; 2 a usage or script syntax error, or an input
// that cannot be read, in which case nothing ran; 3 an unexpected internal error.
inline constexpr int kExitFailedStep = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitInternal = 3;

// `standardInput` is what SCRIPT `-` reads. Every write to `out` is flushed and checked.
int runCli(const std::vector<std::string>& args, const InputReader& standardInput,
           std::ostream& out, std::ostream& err);

// The same, with standard input read from `in`.
int runCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
           std::ostream& err);

}  // namespace keldovar::cli
