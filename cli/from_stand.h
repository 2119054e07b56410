// run --from FILE.kdv[:TABLE]: the scripts continue a stand file's document from one of its
// tables instead of starting an empty one.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>

#include "document/document_content.h"

namespace keldovar::cli {

struct FromStand {
  std::string path;
  std::optional<int> table;  // the newest when not given
};

// FILE.kdv or FILE.kdv:TABLE (TABLE counted from 0, as the CSV's table column counts); a path
// may hold colons of its own, so only digits after the last one make a table. The usage
// error's text when TABLE is no table number.
std::optional<std::string> parseFrom(const std::string& text, FromStand& from);

// The document the scripts continue: the stand file's, branched at the table, showing all its
// tables or the newest step's as `showAllTables` says. Nothing after `err` says why.
std::optional<DocumentContent> startingDocument(const FromStand& from, bool showAllTables,
                                                std::ostream& err);

}  // namespace keldovar::cli
