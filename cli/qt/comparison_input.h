// keldovar-pdf --compare's input: the regimes of stand files, or of the stream keldovar-cli
// compare --pdf writes, each summarized as the comparison shows it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "econ/comparison_table.h"

namespace keldovar {

// The regimes of the stream: lines "LENGTH NAME", each followed by LENGTH bytes of stand file.
// The error's text when the stream is cut short, a document cannot be read or holds no harvest.
std::optional<std::string> readComparisonStream(std::span<const std::uint8_t> bytes,
                                                std::vector<econ::ComparedRegime>& regimes);

// The regime of the stand file at `path`, named by the file's name without its extension.
std::optional<std::string> readComparisonFile(const std::string& path,
                                              std::vector<econ::ComparedRegime>& regimes);

}  // namespace keldovar
