// Everything a document holds and its stand file carries.
#pragma once

#include "document/carbon_values.h"
#include "document/document_settings.h"
#include "document/table_store.h"

namespace keldovar {

struct DocumentContent {
  TableStore store;
  DocumentSettings settings;
  RememberedValues remembered;
  ViewOptions
      options;  // showAllTables and showCarbon are not saved: they come from the user's settings
  CarbonValues carbon;  // not saved either
};

}  // namespace keldovar
