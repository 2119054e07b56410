// New Document From Here: a document holding another's tables up to one of them, with the stand,
// the settings, the remembered dialog values and the report options as they were at that table.
#pragma once

#include <optional>
#include <string>

#include "document/document_content.h"

namespace keldovar {

struct BranchResult {
  std::optional<DocumentContent> content;  // nothing when the table's state cannot be had
  std::string error;                       // then why, in the words a message box shows
};

// The branch of `source` at table `table` (0 to its newest). At the newest table the document
// as it stands now; at an earlier one the state recorded when that table was stored, or, for a
// table read from a stand file, the state its steps give when they are taken again from the
// start (each found from its table and checked against it). The tables are the source's own,
// the indices those a document shows after taking the same steps: its newest step's table
// shown, all tables or that one alone as `source.options.showAllTables` says. Nothing of the
// source changes.
BranchResult branchDocument(const DocumentContent& source, int table);

// The stand's age at a table: the harvest's for a harvest table, else the bar graph's.
int tableAge(const ReportTable& table);

// "NAME (from age A)".
std::string branchTitle(const std::string& name, int age);

}  // namespace keldovar
