// keldovar-cli optimize: the regime search from a search-space file, its three output formats,
// and the merge of sharded searches.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/output.h"
#include "econ/regime_search.h"

namespace keldovar::cli {

struct SpaceError {
  int line = 0;
  std::string message;
};

struct ParsedSpace {
  econ::SearchSpace space;
  std::vector<std::string> startLines;  // as written, for the reported scripts
  std::vector<SpaceError> errors;
};

// An inventory's stands give the start's initialization: its space's start lines may only set
// the financial values, merchantability limits and carbon values.
enum class SpaceStart { Required, FromStand };

ParsedSpace parseSearchSpace(std::string_view text, SpaceStart start = SpaceStart::Required);

// One management's figures as reported: the IRR in percent, as it is written and read back.
struct ReportedMeasures {
  float npv = 0;
  std::optional<double> lev;
  std::optional<double> irrPercent;
};

// One ranked regime as reported: its figures and its whole script, start included.
struct ReportedRegime {
  std::int64_t ordinal = 0;
  double score = 0;
  int rotation = 0;
  ReportedMeasures pulpwood;
  ReportedMeasures sawtimber;
  double harvestPulpTons = 0;
  double harvestIUPulpTons = 0;
  double harvestSawTons = 0;
  std::vector<std::string> script;
};

struct SearchReport {
  bool newPlantation = false;
  econ::Management management = econ::Management::Sawtimber;
  std::int64_t candidates = 0;
  std::int64_t valued = 0;
  std::int64_t refused = 0;
  int best = 10;
  std::vector<ReportedRegime> regimes;
};

SearchReport reportOf(const econ::SearchResult& result, const std::vector<std::string>& start,
                      int best);
std::string searchText(const SearchReport& report);
std::string searchJson(const SearchReport& report);
std::string searchCsv(const SearchReport& report);
// A report read back from searchJson's text; nothing when the text is not one.
std::optional<SearchReport> readSearchJson(std::string_view text);
// The shards' counts added and their best regimes ranked together.
SearchReport mergeReports(const std::vector<SearchReport>& shards);

struct OptimizeOptions {
  std::string space;                    // the search-space file
  std::vector<std::string> mergeFiles;  // with --merge: the results to merge
  bool merge = false;
  OutputFormat format = OutputFormat::Text;
  unsigned jobs = 0;  // 0: one per core
  int shard = 1;
  int shards = 1;
};

// "K/N", 1 <= K <= N; the usage error's text otherwise.
std::optional<std::string> parseShard(const std::string& text, OptimizeOptions& options);

// Searches the space, or merges the results. Exit status as for run: 2 for a space-file error.
int runOptimize(const OptimizeOptions& options, std::ostream& out, std::ostream& err);

}  // namespace keldovar::cli
