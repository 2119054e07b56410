// Everything a document holds and its stand file carries.
#pragma once

#include <optional>
#include <vector>

#include "document/carbon_values.h"
#include "document/document_settings.h"
#include "document/table_store.h"

namespace keldovar {

// The document as it stood when one of its tables was stored: everything its stand file keeps
// besides the tables, so that a new document can start from any table.
struct TableState {
  StandSnapshot snapshot;
  DocumentSettings settings;
  RememberedValues remembered;
  bool showFinancial = true;
  bool showBargraph = false;
};

struct DocumentContent {
  TableStore store;
  DocumentSettings settings;
  RememberedValues remembered;
  ViewOptions
      options;  // showAllTables and showCarbon are not saved: they come from the user's settings
  CarbonValues carbon;  // not saved either
  // Per table, the state the document had when the table was stored. Not saved: a table read
  // from a stand file has none, the file keeping only the state after its newest step.
  std::vector<std::optional<TableState>> tableStates;
};

}  // namespace keldovar
