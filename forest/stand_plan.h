// What every stand of an inventory runs: a regime template (a script without its
// initialization, the stand's own going in after the template's leading settings lines) or a
// search space whose start the stand gives.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "econ/regime_search.h"

namespace keldovar::forest {

struct RegimeTemplate {
  std::string name;                  // as messages name it
  std::vector<std::string> lines;    // as written
  std::size_t initializationAt = 0;  // the stand's initialization goes before this line
  std::string error;                 // why the template cannot be used (its messages, a line each)
};

// The template read from its text: syntax errors, an initialization line or Reset View make
// it unusable.
RegimeTemplate readTemplate(std::string_view text, const std::string& name);

struct SpacePlan {
  econ::SearchSpace space;              // its start holds the settings lines only
  std::vector<std::string> startLines;  // as written; the stand's initialization follows them
};

// Where a stand's regime comes from.
struct Plan {
  const RegimeTemplate* regime = nullptr;              // the run's template
  const SpacePlan* space = nullptr;                    // or its search space
  std::map<std::string, RegimeTemplate> standRegimes;  // by the regime column's text
};

// The stand's script: the template with the stand's initialization line put in.
std::string composedScript(const RegimeTemplate& regime, const std::string& initialization);

}  // namespace keldovar::forest
