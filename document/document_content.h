// Everything a document holds and its stand file carries.
#pragma once

#include "document/document_settings.h"
#include "document/table_store.h"

namespace keldovar {

struct DocumentContent {
  TableStore store;
  DocumentSettings settings;
  RememberedValues remembered;
  ViewOptions options;  // showAllTables is not saved: it comes from the user's settings
};

}  // namespace keldovar
