// The bash completion script of keldovar-cli: `source <(keldovar-cli completion)`.
#pragma once

#include <string>

namespace CLI {
class App;
}

namespace keldovar::cli {

// Completes the commands, their options, the values of options that name their choices
// (`--format text|json|csv`), folders for --out-dir and file names elsewhere.
std::string bashCompletion(const CLI::App& app);

}  // namespace keldovar::cli
