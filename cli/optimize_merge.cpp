// optimize --merge: what makes results the shards of one search, the checks that each regime is
// what the search wrote, and the merge itself.
#include <algorithm>
#include <charconv>
#include <map>
#include <set>

#include "cli/optimize.h"
#include "engine/report_text.h"
#include "script/script.h"

namespace keldovar::cli {
namespace {

using econ::Management;

std::string numbers(const std::vector<int>& list) {
  std::string text;
  for (int n : list) text += (text.empty() ? "" : ", ") + std::to_string(n);
  return text;
}

std::string methodWords(const std::vector<econ::ThinChoice>& methods) {
  static constexpr const char* kWords[] = {"row", "low", "rowlow", "thinomatic"};
  std::string text;
  for (const econ::ThinChoice& m : methods) {
    text += (text.empty() ? "" : ", ") + std::string(kWords[static_cast<int>(m.method)]);
    if (m.method == econ::ThinMethod::RowLow) text += " " + std::to_string(m.rowPercent);
  }
  return text;
}

// The figure a regime is ranked by, as the search works it out from the regime's measures.
double ownScore(const SearchReport& report, const ReportedRegime& r) {
  const ReportedMeasures& m = report.management == Management::Pulpwood ? r.pulpwood : r.sawtimber;
  if (report.newPlantation && m.lev) return *m.lev;
  return static_cast<double>(m.npv);
}

std::optional<int> wholeText(const std::string& text) {
  int value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// Why the regime is not one the search could have written, or nothing.
std::optional<std::string> foreignRegime(const SearchReport& report, const ReportedRegime& r) {
  std::string name = "regime " + std::to_string(r.ordinal) + ": ";
  if (r.score != ownScore(report, r)) {
    return name + formatText("its score %.17g is not its %s %.17g", r.score,
                             report.newPlantation ? "LEV" : "NPV", ownScore(report, r));
  }
  std::vector<Command> commands;
  for (std::size_t i = 0; i < r.script.size(); ++i) {
    // The line must read back as the one command it stands for, and nothing more.
    ParsedScript parsed = parseScript(r.script[i]);
    if (parsed.failed() || parsed.commands.size() != 1) {
      return name + "script line " + std::to_string(i + 1) + " is not one script command" +
             (parsed.failed() ? ": " + parsed.errors.front().message : std::string());
    }
    commands.push_back(parsed.commands.front());
  }
  const std::vector<std::string>* start = report.search ? &report.search->start : nullptr;
  if (start != nullptr && (r.script.size() < start->size() ||
                           !std::equal(start->begin(), start->end(), r.script.begin()))) {
    return name + "its script does not begin with the search's start";
  }
  std::size_t n = commands.size();
  if (n < 2 || commands[n - 1].kind != StepKind::Harvest ||
      commands[n - 2].kind != StepKind::Grow ||
      wholeText(commands[n - 2].fields["age"]) != r.rotation) {
    return name + "its script does not grow to the rotation " + std::to_string(r.rotation) +
           " and harvest";
  }
  return std::nullopt;
}

// Why `other` is not a shard of the search `first` belongs to, or nothing.
std::optional<std::string> otherSearch(const SearchReport& first, const SearchReport& other,
                                       const std::string& firstFile) {
  if (other.newPlantation != first.newPlantation || other.management != first.management) {
    return "ranked otherwise than " + firstFile;
  }
  if (other.best != first.best) {
    return "keeps the best " + std::to_string(other.best) + ", " + firstFile + " the best " +
           std::to_string(first.best);
  }
  if (!first.search || !other.search) return std::nullopt;  // written without its search
  if (other.search->start != first.search->start) {
    return "searched from another start than " + firstFile;
  }
  if (other.search->space != first.search->space || other.search->shards != first.search->shards) {
    return "a shard of another search than " + firstFile;
  }
  return std::nullopt;
}

}  // namespace

std::string spaceText(const econ::SearchSpace& space) {
  std::string fertilizer;
  for (const auto& [key, value] : space.fertilizer) {
    fertilizer += (fertilizer.empty() ? "" : " ") + key + "=" + value;
  }
  return "rotations = " + numbers(space.rotations) +
         "; thinnings = " + numbers(space.thinningCounts) +
         "; thin_ages = " + numbers(space.thinAges) + "; methods = " + methodWords(space.methods) +
         "; residual_ba = " + numbers(space.residualBA) +
         "; fertilize_ages = " + numbers(space.fertilizeAges) + "; fertilizer = " + fertilizer +
         "; management = " + (space.management == Management::Pulpwood ? "pulpwood" : "sawtimber");
}

std::optional<std::string> refusedMerge(const std::vector<std::string>& files,
                                        const std::vector<SearchReport>& shards) {
  std::map<std::int64_t, std::size_t> ordinals;  // -> the result it came from
  std::map<int, std::size_t> searched;
  for (std::size_t i = 0; i < shards.size(); ++i) {
    const SearchReport& shard = shards[i];
    if (i > 0) {
      if (auto reason = otherSearch(shards.front(), shard, files.front())) {
        return files[i] + ": " + *reason;
      }
    }
    for (int k : shard.search ? shard.search->searched : std::vector<int>{}) {
      auto [at, added] = searched.emplace(k, i);
      if (!added) {
        return files[i] + ": shard " + std::to_string(k) + " is also in " + files[at->second];
      }
    }
    for (const ReportedRegime& r : shard.regimes) {
      if (auto reason = foreignRegime(shard, r)) return files[i] + ": " + *reason;
      auto [at, added] = ordinals.emplace(r.ordinal, i);
      if (!added) {
        return files[i] + ": regime " + std::to_string(r.ordinal) + " is also in " +
               files[at->second];
      }
    }
  }
  return std::nullopt;
}

SearchReport mergeReports(const std::vector<SearchReport>& shards) {
  SearchReport merged;
  if (!shards.empty()) merged = shards.front();
  merged.candidates = merged.valued = merged.refused = 0;
  merged.regimes.clear();
  std::set<int> searched;
  for (const SearchReport& s : shards) {
    merged.candidates += s.candidates;
    merged.valued += s.valued;
    merged.refused += s.refused;
    merged.regimes.insert(merged.regimes.end(), s.regimes.begin(), s.regimes.end());
    if (s.search) searched.insert(s.search->searched.begin(), s.search->searched.end());
  }
  if (merged.search) {
    merged.search->searched.assign(searched.begin(), searched.end());
    // Every shard of the search: the answer of the whole search, as an unsharded run gives it.
    if (searched.size() == static_cast<std::size_t>(merged.search->shards)) {
      merged.search->shards = 1;
      merged.search->searched = {1};
    }
  }
  std::sort(merged.regimes.begin(), merged.regimes.end(),
            [](const ReportedRegime& a, const ReportedRegime& b) {
              return a.score != b.score ? a.score > b.score : a.ordinal < b.ordinal;
            });
  if (merged.regimes.size() > static_cast<std::size_t>(merged.best)) {
    merged.regimes.resize(static_cast<std::size_t>(merged.best));
  }
  return merged;
}

}  // namespace keldovar::cli
