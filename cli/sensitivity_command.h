// keldovar-cli sensitivity and risk: the newest harvest of a stand file or of the document a
// script makes, valued at other rates, prices and costs, or under wandering prices and yearly
// losses; risk --search ranks a search space's regimes under risk.
#pragma once

#include <iosfwd>
#include <map>
#include <optional>
#include <string>

#include "cli/input.h"
#include "document/document_content.h"

namespace keldovar::cli {

// The usage lines the command line's help shows.
extern const char* const kSensitivityUsage;
extern const char* const kRiskUsage;

// The stand file (told by its first bytes) or the document a script makes, as `run` runs it
// (- reads standard input); nothing after `err` says why, `status` set to the exit status.
std::optional<DocumentContent> loadDocument(const std::string& input,
                                            const InputReader& standardInput, std::ostream& err,
                                            int& status);

// The options as the command line gave them, by name ("--rates" -> "2:12:0.5"); their values
// are checked here. `input` is the stand file or script, empty when none was given.
using GivenOptions = std::map<std::string, std::string>;

// Exit status as for run: 1 a step failed, the stand file could not be read, there is no
// harvest or the output could not be written; 2 a usage error, or a script or search space that
// cannot be read or has errors.
int runSensitivity(const std::string& input, const GivenOptions& options,
                   const InputReader& standardInput, std::ostream& out, std::ostream& err);
int runRisk(const std::string& input, const GivenOptions& options, const InputReader& standardInput,
            std::ostream& out, std::ostream& err);

}  // namespace keldovar::cli
