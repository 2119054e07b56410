// Reading the stand file a run continues and branching it at the chosen table.
#include "cli/from_stand.h"

#include <algorithm>
#include <charconv>
#include <ostream>

#include "app/stand_file.h"
#include "document/branch.h"
#include "document/settings.h"
#include "script/script.h"

namespace keldovar::cli {

std::optional<std::string> parseFrom(const std::string& text, FromStand& from) {
  from = FromStand{text, std::nullopt};
  std::size_t colon = text.rfind(':');
  if (colon == std::string::npos) return std::nullopt;
  std::string tail = text.substr(colon + 1);
  if (tail.empty() ||
      !std::all_of(tail.begin(), tail.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  int table = 0;
  auto [end, error] = std::from_chars(tail.data(), tail.data() + tail.size(), table);
  if (error != std::errc() || end != tail.data() + tail.size() || colon == 0) {
    return "--from takes FILE.kdv or FILE.kdv:TABLE, not '" + shownWord(text) + "'";
  }
  from = FromStand{text.substr(0, colon), table};
  return std::nullopt;
}

std::optional<DocumentContent> startingDocument(const FromStand& from, bool showAllTables,
                                                std::ostream& err) {
  DocumentContent source = builtInDocument();
  StandFileResult opened = openStandFile(from.path, source);
  if (!opened.ok()) {
    err << "keldovar-cli: " << from.path << ": " << opened.message << "\n";
    return std::nullopt;
  }
  if (source.store.lastIndex < 0) {
    err << "keldovar-cli: " << from.path << ": the stand file holds no table to continue\n";
    return std::nullopt;
  }
  source.options.showAllTables = showAllTables;
  BranchResult branch = branchDocument(source, from.table.value_or(source.store.lastIndex));
  if (!branch.content) {
    err << "keldovar-cli: " << from.path << ": " << branch.error << "\n";
    return std::nullopt;
  }
  return std::move(*branch.content);
}

}  // namespace keldovar::cli
