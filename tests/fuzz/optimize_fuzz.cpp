// libFuzzer target for optimize's two readers: any search-space file parses or is refused line
// by line, and any text given to --merge either is a search result, which then writes back as
// JSON that reads back the same, or is refused.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "cli/optimize.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace keldovar;
  if (size > 8192) return 0;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  cli::parseSearchSpace(text);
  std::optional<cli::SearchReport> report = cli::readSearchJson(text);
  if (!report) return 0;
  std::string json = cli::searchJson(*report);
  std::optional<cli::SearchReport> again = cli::readSearchJson(json);
  if (!again || cli::searchJson(*again) != json) std::abort();
  cli::searchText(*report);
  cli::searchCsv(*report);
  return 0;
}
